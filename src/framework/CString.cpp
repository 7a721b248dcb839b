#include "framework/CString.h"

#include <algorithm>

CString CString::FromLatin1(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    return CString(std::move(out));
}

CString CString::FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
        else { out += u'\uFFFD'; ++i; continue; }
        bool ok = i + len <= bytes.size();
        for (size_t k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += len;
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const {
    std::string out;
    out.reserve(m_str.size());
    for (size_t i = 0; i < m_str.size(); ++i) {
        char32_t cp = m_str[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < m_str.size() && m_str[i + 1] >= 0xDC00 &&
            m_str[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (m_str[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int CString::Compare(const CString& other) const {
    int r = m_str.compare(other.m_str);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const CString& other) const {
    const size_t n = std::min(m_str.size(), other.m_str.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t a = FoldAscii(m_str[i]);
        char16_t b = FoldAscii(other.m_str[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (m_str.size() == other.m_str.size()) return 0;
    return m_str.size() < other.m_str.size() ? -1 : 1;
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && IsCWhiteSpace(m_str[i])) ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && IsCWhiteSpace(m_str[n - 1])) --n;
    m_str.resize(n);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(std::u16string_view chars) {
    size_t i = m_str.find_first_not_of(chars);
    m_str.erase(0, i == std::u16string::npos ? m_str.size() : i);
    return *this;
}

CString& CString::TrimRight(std::u16string_view chars) {
    size_t i = m_str.find_last_not_of(chars);
    m_str.resize(i == std::u16string::npos ? 0 : i + 1);
    return *this;
}

CString& CString::Trim(std::u16string_view chars) { return TrimRight(chars).TrimLeft(chars); }

int CString::Find(char16_t ch, int start) const {
    if (start < 0) start = 0;
    size_t i = m_str.find(ch, size_t(start));
    return i == std::u16string::npos ? -1 : int(i);
}

int CString::Find(const CString& sub, int start) const {
    if (start < 0) start = 0;
    if (size_t(start) > m_str.size()) return -1;
    size_t i = m_str.find(sub.m_str, size_t(start));
    return i == std::u16string::npos ? -1 : int(i);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first >= GetLength()) return CString();
    return CString(m_str.substr(size_t(first), size_t(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_str.substr(m_str.size() - size_t(count)));
}

CString& CString::MakeLower() {
    for (auto& ch : m_str) ch = FoldAscii(ch);
    return *this;
}

CString& CString::MakeUpper() {
    for (auto& ch : m_str)
        if (ch >= u'a' && ch <= u'z') ch = char16_t(ch - (u'a' - u'A'));
    return *this;
}

void CString::FormatList(const CString& format, const FormatArg* args, size_t count) {
    std::u16string out;
    size_t next = 0;
    const std::u16string& f = format.m_str;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != u'%' || i + 1 >= f.size()) {
            out += f[i];
            continue;
        }
        char16_t conv = f[i + 1];
        if (conv == u'%') {
            out += u'%';
            ++i;
        } else if (conv == u'd' && next < count && args[next].m_isInt) {
            for (char c : std::to_string(args[next++].m_int)) out += char16_t(c);
            ++i;
        } else if (conv == u's' && next < count && !args[next].m_isInt) {
            out += args[next++].m_text->m_str;
            ++i;
        } else {
            out += f[i];
        }
    }
    m_str = std::move(out);
}
