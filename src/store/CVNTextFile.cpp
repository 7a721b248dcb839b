#include "store/CVNTextFile.h"

#include "store/FileSystem.h"
#include "store/TextLines.h"

#include <new>

CVNTextFile::CVNTextFile(const CString& extension, const CString& lineEnd)
    : m_strExtension(extension), m_strLineEnd(lineEnd) {}

CVNTextFile::~CVNTextFile() = default;

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
        TextLines::ForEachLine(bytes, [&](std::string_view line) { read.Add(CString::FromLatin1(line)); });
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
    if (!ResolvePath(FALSE, path))
        return FALSE;
    std::string bytes;
    if (!FileSystem::ReadAll(path, FileSystem::Share::DenyRead, bytes, m_strError))
        return FALSE;
    try {
        CString result;
        result.Reserve(int(bytes.size() + m_strLineEnd.GetLength()));
        TextLines::ForEachLine(bytes, [&](std::string_view line) {
            result += CString::FromLatin1(line);
            result += m_strLineEnd;
        });
        text = std::move(result);
    } catch (const std::bad_alloc&) {
        m_strError = CString(u"The file is too large to be read into memory: ") + path;
        return FALSE;
    }
    return TRUE;
}

BOOL CVNTextFile::EncodeLines(const CStringArray& lines, std::string& bytes) {
    TextLines::Encoder encoder;
    int lineNumber = 0;
    try {
        size_t size = 0;
        for (const CString& line : lines)
            size += size_t(line.GetLength() + m_strLineEnd.GetLength());
        encoder.Reserve(size + size / 16);
        for (const CString& line : lines) {
            ++lineNumber;
            if (!encoder.Append(line.View()) || !encoder.Append(m_strLineEnd.View())) {
                ReportUnencodable(lineNumber, encoder.BadChar());
                return FALSE;
            }
        }
    } catch (const std::bad_alloc&) {
        m_strError = u"There is not enough memory to save the file.";
        return FALSE;
    }
    bytes = encoder.Take();
    return TRUE;
}

void CVNTextFile::ReportUnencodable(int lineNumber, char16_t ch) {
    m_strError.Format(u"Line %d holds the character with code %d, which this 8-bit file cannot hold.", lineNumber,
                      int(ch));
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

