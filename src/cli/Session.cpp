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

bool Session::ReadMapping(const CString& path, SevenTables& tables, MappingReadObserver* observer,
                          CString& error) const {
    CVNTextFile file(u"mapping", u"\n");
    if (MappingFile::Read(&file, path, tables.View(), observer))
        return true;
    error = file.m_strError;
    return false;
}

bool Session::SaveMapping(const CString& path, SevenTables& tables, CString& error) const {
    CVNTextFile file(u"mapping", u"\n");
    if (MappingFile::Write(&file, path, tables.View()))
        return true;
    error = file.m_strError;
    return false;
}

CString AtLine(const CString& file, int line, const CString& message) {
    CString text;
    text.Format(u"%s:%d: %s", file, line, message);
    return text;
}

CString Quoted(const CString& text) { return u"\"" + text + u"\""; }
