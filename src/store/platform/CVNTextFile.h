// CVNTextFile: whole text files as lines or as one string. The file form is
// text in the system's ANSI code page (CodePage::Active, through
// TextCodec), without byte-order mark; lines end with LF on reading (a CR
// before it is dropped) and every LF written becomes CR LF. Both builds
// handle the bytes alike.
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
    // Each line followed by m_strLineEnd. A character the code page cannot
    // hold fails the call before the file is touched (m_unencodable).
    BOOL WriteLines(CString& path, CStringArray& lines);

    CString GetExtension() const { return m_strExtension; }
    // Empties m_strError and m_unencodable.
    void ClearError();
    // The file dialog's filter for the extension, "" without one.
    CString GetFilter() const;

    // The byte-level steps of the operations above, for callers that parse
    // or write the bytes themselves (the mapping file, the table reader).
    BOOL ReadBytes(CString& path, std::string& bytes);
    BOOL EncodeLines(const CStringArray& lines, std::string& bytes);

    // The character that stopped the last write and where it stood; line
    // 0 when none did. The mapping file adds the pair's kind and key.
    struct Unencodable {
        int line = 0;
        char32_t ch = 0;
        int kind = -1;  // a MappingKind, -1 when not a pair's
        CString key;
    };
    // Records the character and puts a sentence about it in m_strError:
    // where names the place ("Line 4", "The key "x" of the Levels section").
    void ReportUnencodable(const Unencodable& what, const CString& where);
    // The character as text, and its code written "U+20AC".
    static CString CharText(char32_t ch);
    static CString CodePointText(char32_t ch);

    CString m_strError;
    CString m_strExtension;
    CString m_strLineEnd;
    Unencodable m_unencodable;

private:
    BOOL ResolvePath(BOOL bSave, CString& path);
};
