// TextCodec: text of one code page to UTF-16 and back, the way the text
// file, the mapping file and the table reader need it.
//
// Single-byte code pages go through two tables built once from the
// platform's conversion (CodePage.h), so reading and writing stay a table
// look-up per byte. Other code pages convert whole texts at once through
// the platform, cut only between characters; a lead byte whose second
// half is missing (the end of the text, a CR, an LF or any byte below
// 0x40 follows) becomes "?" on its own, so it never takes a line end or a
// separator with it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TextCodec {
public:
    // The codec of CodePage::Active(), built the first time it is asked for.
    // A code page the platform cannot convert falls back to each byte being
    // the character of its code.
    static const TextCodec& Active();
    // The codec of codePage; null when the platform cannot convert it.
    static const TextCodec* For(unsigned codePage);

    unsigned CodePage() const { return m_codePage; }
    bool IsSingleByte() const { return m_singleByte; }

    // Single-byte code pages only: the byte of a character (-1 when it has
    // none).
    int Narrow(char16_t ch) const { return m_toByte[ch]; }
    // Single-byte code pages only: the character of a byte.
    char16_t CharOf(char byte) const { return m_toChar[static_cast<unsigned char>(byte)]; }
    // Appends the characters of bytes (single-byte only: table look-ups).
    void WidenInto(std::string_view bytes, std::u16string& out) const;

    // Appends the characters of bytes to out. Never fails.
    void Decode(std::string_view bytes, std::u16string& out) const;
    // Appends text in the code page to out. False at the first character
    // without an exact form: badIndex is its position in text.
    bool Encode(std::u16string_view text, std::string& out, std::size_t& badIndex) const;

    // The character at text[index] with its low surrogate, when it has one.
    static char32_t CodePointAt(std::u16string_view text, std::size_t index);

    explicit TextCodec(unsigned codePage);  // use Active() or For()

private:
    void DecodeMultiByte(std::string_view bytes, std::u16string& out) const;

    unsigned m_codePage = 0;
    bool m_available = false;
    bool m_singleByte = true;
    bool m_leadByte[256] = {};
    char16_t m_toChar[256] = {};
    std::unique_ptr<short[]> m_toByte;  // 65536 entries, single-byte only
};
