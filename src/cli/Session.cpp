#include "cli/Session.h"

#include "cli/Console.h"

MappingTables SevenTables::View() {
    MappingTables view;
    for (size_t i = 0; i < tables.size(); ++i)
        view[i] = &tables[i];
    return view;
}

void Session::Print(const CString& text) const {
    m_progress.Clear();
    if (!m_line.quiet)
        Console::Write(Console::Stream::Out, (text + u'\n').View());
}

void Session::Warn(const CString& text) const {
    m_progress.Clear();
    Console::Write(Console::Stream::Err, (text + u'\n').View());
}

void Session::Fail(const CString& text) const { Warn(u"varnel: " + text); }

bool Session::ReadMapping(const CString& path, SevenTables& tables, MappingReadObserver* observer, CString& error) {
    CVNTextFile file(u"mapping", u"\n");
    m_haveReadStamp = MappingFile::Read(&file, path, tables.View(), &m_readStamp, observer);
    if (!m_haveReadStamp)
        error = file.m_strError;
    return m_haveReadStamp;
}

bool Session::SaveMapping(const CString& path, SevenTables& tables, CString& error) {
    CVNTextFile file(u"mapping", u"\n");
    CString target(path);
    const SaveResult result = MappingFile::Save(file, target, tables.View(), m_haveReadStamp ? &m_readStamp : nullptr);
    if (result.fault == SaveFault::None)
        return true;
    error = path + u": " + SaveFaultText(result.fault) + u" Nothing was saved.";
    if (!file.m_strError.IsEmpty())
        error += u" (" + file.m_strError + u")";
    return false;
}

CString SaveFaultText(SaveFault fault) {
    switch (fault) {
    case SaveFault::None: return CString();
    case SaveFault::Cancelled: return u"no file to save to.";
    case SaveFault::Encoding: return u"a character cannot be written in the file's code page.";
    case SaveFault::ChangedSinceRead: return u"another program saved the file after varnel read it.";
    case SaveFault::NotRead: return u"the file could not be read, so its pairs would be lost.";
    case SaveFault::InUse: return u"another program holds the file open.";
    case SaveFault::ReadOnly: return u"the file is read-only.";
    case SaveFault::FolderDenied: return u"the folder allows no new file.";
    case SaveFault::AccessDenied: return u"the file may not be replaced.";
    case SaveFault::DiskFull: return u"the disk is full.";
    case SaveFault::IsFolder: return u"the path names a folder.";
    case SaveFault::PathTooLong: return u"the path is too long.";
    case SaveFault::FolderMissing: return u"the folder does not exist.";
    case SaveFault::Other: break;
    }
    return u"the file could not be saved.";
}

CString AtLine(const CString& file, int line, const CString& message) {
    CString text;
    text.Format(u"%s:%d: %s", file, line, message);
    return text;
}

CString Quoted(const CString& text) { return u"\"" + text + u"\""; }
