#include "store/platform/CVNTextFile.h"

#include "store/platform/CodePage.h"
#include "store/platform/FileSystem.h"
#include "store/platform/TextLines.h"

#include <cstdio>
#include <new>

CVNTextFile::CVNTextFile(const CString& extension, const CString& lineEnd)
    : m_strExtension(extension), m_strLineEnd(lineEnd) {}

CVNTextFile::~CVNTextFile() = default;

void CVNTextFile::ClearError() {
    m_strError.Empty();
    m_unencodable = Unencodable{};
}

CString CVNTextFile::GetFilter() const {
    if (m_strExtension.IsEmpty())
        return CString();
    const CString& ext = m_strExtension;
    return ext + u"-files (*." + ext + u")|*." + ext + u"|All Files (*.*)|*.*||";
}

BOOL CVNTextFile::PromptForPath(BOOL bSave, CString& path) {
    CString chosen;
    if (!FileSystem::ShowFileDialog(bSave != FALSE, GetFilter(), GetExtension(), chosen))
        return FALSE;
    path = chosen;
    return TRUE;
}

BOOL CVNTextFile::ResolvePath(BOOL bSave, CString& path) {
    return !path.IsEmpty() || PromptForPath(bSave, path);
}

BOOL CVNTextFile::ReadBytes(CString& path, std::string& bytes) {
    ClearError();
    if (!ResolvePath(FALSE, path))
        return FALSE;
    return FileSystem::ReadAll(path, FileSystem::Share::Exclusive, bytes, m_strError);
}

BOOL CVNTextFile::ReadLines(CString& path, CStringArray& lines) {
    std::string bytes;
    if (!ReadBytes(path, bytes))
        return FALSE;
    try {
        CStringArray read;
        TextLines::ForEachDecodedLine(bytes, TextCodec::Active(),
                                      [&](std::u16string_view line) { read.Add(CString(line)); });
        lines = std::move(read);
    } catch (const std::bad_alloc&) {
        m_strError = CString(u"The file is too large to be read into memory: ") + path;
        return FALSE;
    }
    return TRUE;
}

BOOL CVNTextFile::ReadText(CString& path, CString& text) {
    text.Empty();
    ClearError();
    std::string bytes;
    if (!ResolvePath(FALSE, path) || !FileSystem::ReadAll(path, FileSystem::Share::DenyRead, bytes, m_strError))
        return FALSE;
    try {
        std::u16string read;
        TextLines::ForEachDecodedLine(bytes, TextCodec::Active(), [&](std::u16string_view line) {
            read += line;
            read += m_strLineEnd.View();
        });
        text = CString(std::move(read));
    } catch (const std::bad_alloc&) {
        m_strError = CString(u"The file is too large to be read into memory: ") + path;
        return FALSE;
    }
    return TRUE;
}

BOOL CVNTextFile::EncodeLines(const CStringArray& lines, std::string& bytes) {
    TextLines::Encoder encoder;
    try {
        size_t size = 0;
        for (const CString& line : lines)
            size += size_t(line.GetLength() + m_strLineEnd.GetLength());
        encoder.Reserve(size + size / 16);
        for (const CString& line : lines) {
            encoder.AppendLine({line.View()}, m_strLineEnd.View());
            if (encoder.Failed())
                break;
        }
        if (encoder.Take(bytes))
            return TRUE;
    } catch (const std::bad_alloc&) {
        m_strError = u"There is not enough memory to save the file.";
        return FALSE;
    }
    Unencodable what;
    what.line = encoder.BadLine();
    what.ch = encoder.BadChar();
    CString where;
    where.Format(u"Line %d", what.line);
    ReportUnencodable(what, where);
    return FALSE;
}

CString CVNTextFile::CharText(char32_t ch) {
    if (ch < 0x10000)
        return CString(char16_t(ch));
    std::u16string pair{char16_t(0xD800 + ((ch - 0x10000) >> 10)), char16_t(0xDC00 + ((ch - 0x10000) & 0x3FF))};
    return CString(pair);
}

CString CVNTextFile::CodePointText(char32_t ch) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", unsigned(ch));
    return CString::FromLatin1(text);
}

void CVNTextFile::ReportUnencodable(const Unencodable& what, const CString& where) {
    m_unencodable = what;
    CString codePage;
    codePage.Format(u"%d", int(CodePage::Active()));
    m_strError = where + u" holds the character \"" + CharText(what.ch) + u"\" (" + CodePointText(what.ch) +
                 u"), which code page " + codePage + u" cannot hold. Nothing was saved.";
}

BOOL CVNTextFile::WriteLines(CString& path, CStringArray& lines) {
    ClearError();
    if (!ResolvePath(TRUE, path))
        return FALSE;
    std::string bytes;
    if (!EncodeLines(lines, bytes))
        return FALSE;
    return FileSystem::WriteAll(path, bytes, m_strError);
}
