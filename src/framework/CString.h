// CString: the one string type of the library. UTF-16 code units with value
// semantics; lengths and positions count code units. Portable: on Windows it
// also converts to and from wide-character strings (LPCWSTR).
#pragma once

#include "framework/Types.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char16_t* text) : m_str(text ? text : u"") {}
    CString(const char16_t* text, int length) : m_str(text, length > 0 ? size_t(length) : 0) {}
    CString(std::u16string text) : m_str(std::move(text)) {}
    CString(std::u16string_view text) : m_str(text) {}
    CString(char16_t ch, int count = 1) : m_str(count > 0 ? size_t(count) : 0, ch) {}
#ifdef _WIN32
    CString(const wchar_t* text)
        : m_str(text ? reinterpret_cast<const char16_t*>(text) : u"") {}
    operator const wchar_t*() const { return reinterpret_cast<const wchar_t*>(m_str.c_str()); }
    const wchar_t* GetString() const { return reinterpret_cast<const wchar_t*>(m_str.c_str()); }
#else
    const char16_t* GetString() const { return m_str.c_str(); }
#endif

    // ASCII/Latin-1 text: each byte becomes the character of the same code.
    static CString FromLatin1(std::string_view bytes);
    // UTF-8 text (for paths and test output); invalid sequences become U+FFFD.
    static CString FromUtf8(std::string_view bytes);
    std::string ToUtf8() const;

    // Loads string nID from the library's own string table; FALSE (and an
    // empty string) when there is none. Defined only in the Windows build.
    BOOL LoadString(unsigned int nID);

    int GetLength() const { return int(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char16_t GetAt(int index) const { return m_str.at(size_t(index)); }
    char16_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char16_t ch) { m_str.at(size_t(index)) = ch; }

    // Ordinal comparison by UTF-16 code unit: <0, 0 or >0.
    int Compare(const CString& other) const;
    // As Compare, with the ASCII letters A-Z folded to a-z (nothing else).
    int CompareNoCase(const CString& other) const;

    // Removes C-locale white space (blank, tab, LF, VT, FF, CR) from the ends.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    // Removes any of the given characters from the ends.
    CString& Trim(std::u16string_view chars);
    CString& TrimLeft(std::u16string_view chars);
    CString& TrimRight(std::u16string_view chars);

    // Position of the first occurrence at or after start, or -1.
    int Find(char16_t ch, int start = 0) const;
    int Find(const CString& sub, int start = 0) const;
    // Substrings; out-of-range arguments are clamped, never an error.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    CString& MakeLower();
    CString& MakeUpper();

    // printf-like formatting of "%d" (int), "%s" (CString) and "%%". Any
    // other conversion, and a conversion without an argument, is copied
    // as it stands: the format can never read past its arguments.
    class FormatArg {
    public:
        FormatArg(int value) : m_isInt(true), m_int(value) {}
        FormatArg(const CString& text) : m_isInt(false), m_text(&text) {}
        FormatArg(const char16_t* text) = delete;  // pass a CString
        bool m_isInt;
        int m_int = 0;
        const CString* m_text = nullptr;
    };
    template <typename... Args>
    void Format(const CString& format, const Args&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        FormatList(format, list, sizeof...(Args));
    }

    CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }
    CString& operator+=(char16_t ch) { m_str += ch; return *this; }
    friend CString operator+(CString left, const CString& right) { left += right; return left; }
    friend CString operator+(CString left, const char16_t* right) { left += CString(right); return left; }
    friend CString operator+(const char16_t* left, const CString& right) { return CString(left) + right; }
    friend CString operator+(CString left, char16_t ch) { left += ch; return left; }

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_str == (b ? b : u""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_str <=> b.m_str; }

    const std::u16string& Str() const { return m_str; }
    std::u16string_view View() const { return m_str; }
    void Reserve(int length) { m_str.reserve(length > 0 ? size_t(length) : 0); }

private:
    void FormatList(const CString& format, const FormatArg* args, size_t count);

    std::u16string m_str;
};

// Orders CString keys ordinally (the order of the mapping tables).
struct CStringLess {
    bool operator()(const CString& a, const CString& b) const { return a.Compare(b) < 0; }
};

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::u16string>()(s.Str()); }
};

// True for the white space that Trim removes.
inline bool IsCWhiteSpace(char16_t ch) {
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

// ASCII-only case folding, the folding of CompareNoCase.
inline char16_t FoldAscii(char16_t ch) {
    return (ch >= u'A' && ch <= u'Z') ? char16_t(ch + (u'a' - u'A')) : ch;
}
