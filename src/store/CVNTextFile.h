// CVNTextFile: whole text files as lines or as one string. The file form is
// 8-bit (each byte is the character of its code, 0-255), without byte-order
// mark; lines end with LF on reading (a CR before it is dropped) and every
// LF written becomes CR LF. Both builds handle the bytes alike.
#pragma once

#include "framework/CString.h"
#include "framework/CStringArray.h"

#include <string>
#include <string_view>

class CVNTextFile {
public:
    CVNTextFile(const CString& extension, const CString& lineEnd);
    virtual ~CVNTextFile();

    // Asks the user for a path: an Open dialog (bSave FALSE) or a Save
    // dialog. The native build has no dialog and answers FALSE.
    virtual BOOL PromptForPath(BOOL bSave, CString& path);

    // Each operation empties m_strError first, asks for the path when it is
    // empty, and on failure returns FALSE with the reason in m_strError.
    // ReadLines leaves lines untouched when the file cannot be read.
    BOOL ReadLines(CString& path, CStringArray& lines);
    // Every line followed by m_strLineEnd; nobody else may read meanwhile.
    BOOL ReadText(CString& path, CString& text);
    // Each line followed by m_strLineEnd. A character above 255 fails the
    // call before the file is touched.
    BOOL WriteLines(CString& path, CStringArray& lines);

    CString GetExtension() const { return m_strExtension; }
    void ClearError() { m_strError.Empty(); }
    // The file dialog's filter for the extension, "" without one.
    CString GetFilter() const;

    // The byte-level steps of the operations above, for callers that parse
    // or write the bytes themselves (the mapping file).
    BOOL ReadBytes(CString& path, std::string& bytes);
    BOOL EncodeLines(const CStringArray& lines, std::string& bytes);
    // Puts the reason for a character above 255 in line lineNumber (from 1)
    // into m_strError.
    void ReportUnencodable(int lineNumber, char16_t ch);

    CString m_strError;
    CString m_strExtension;
    CString m_strLineEnd;

private:
    BOOL ResolvePath(BOOL bSave, CString& path);
};
