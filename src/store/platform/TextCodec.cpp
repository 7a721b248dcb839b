#include "store/platform/TextCodec.h"

#include "store/platform/CodePage.h"

#include <algorithm>
#include <map>

namespace {

// What one conversion of the platform takes at most: far below what its
// int counts hold.
constexpr std::size_t kMostConverted = std::size_t(1) << 26;
constexpr char16_t kReplacement = u'?';

}  // namespace

TextCodec::TextCodec(unsigned codePage) : m_codePage(codePage), m_toByte(new short[65536]) {
    CodePage::Info info;
    m_available = CodePage::Describe(codePage, info);
    m_singleByte = !m_available || info.maxCharSize == 1;
    for (int b = 0; b < 256; ++b)
        m_leadByte[b] = info.leadByte[b];
    if (m_singleByte && !(m_available && CodePage::SingleByteTables(codePage, m_toChar, m_toByte.get()))) {
        // Each byte the character of its code.
        for (int c = 0; c < 65536; ++c)
            m_toByte[c] = short(c < 256 ? c : -1);
        for (int b = 0; b < 256; ++b)
            m_toChar[b] = char16_t(b);
    }
    if (!m_singleByte)
        m_toByte.reset();
}

const TextCodec* TextCodec::For(unsigned codePage) {
    // Codecs live as long as the process: built once per code page asked for.
    static std::map<unsigned, std::unique_ptr<TextCodec>> codecs;
    auto found = codecs.find(codePage);
    if (found == codecs.end())
        found = codecs.emplace(codePage, std::make_unique<TextCodec>(codePage)).first;
    return found->second->m_available ? found->second.get() : nullptr;
}

const TextCodec& TextCodec::Active() {
    static TextCodec bytesAsCodes(0);
    const TextCodec* codec = For(CodePage::Active());
    return codec ? *codec : bytesAsCodes;
}

void TextCodec::WidenInto(std::string_view bytes, std::u16string& out) const {
    const size_t start = out.size();
    out.resize(start + bytes.size());
    char16_t* to = out.data() + start;
    for (char byte : bytes)
        *to++ = CharOf(byte);
}

void TextCodec::Decode(std::string_view bytes, std::u16string& out) const {
    if (m_singleByte)
        WidenInto(bytes, out);
    else
        DecodeMultiByte(bytes, out);
}

void TextCodec::DecodeMultiByte(std::string_view bytes, std::u16string& out) const {
    out.reserve(out.size() + bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    size_t start = 0;
    for (size_t i = 0; i < size;) {
        if (!m_leadByte[data[i]]) {
            ++i;
        } else if (i + 1 < size && data[i + 1] >= 0x40) {
            i += 2;
        } else {
            // A lead byte without its second half stands alone.
            CodePage::Decode(m_codePage, bytes.substr(start, i - start), out);
            out += kReplacement;
            start = ++i;
            continue;
        }
        if (i - start >= kMostConverted) {
            CodePage::Decode(m_codePage, bytes.substr(start, i - start), out);
            start = i;
        }
    }
    CodePage::Decode(m_codePage, bytes.substr(start), out);
}

bool TextCodec::Encode(std::u16string_view text, std::string& out, std::size_t& badIndex) const {
    if (m_singleByte) {
        const size_t start = out.size();
        out.resize(start + text.size());
        char* to = out.data() + start;
        for (size_t i = 0; i < text.size(); ++i) {
            const int byte = m_toByte[text[i]];
            if (byte < 0) {
                out.resize(start + i);
                badIndex = i;
                return false;
            }
            to[i] = char(byte);
        }
        return true;
    }
    for (size_t start = 0; start < text.size();) {
        size_t count = std::min(kMostConverted, text.size() - start);
        // A surrogate pair stays in one conversion.
        if (start + count < text.size() && text[start + count - 1] >= 0xD800 && text[start + count - 1] < 0xDC00)
            --count;
        if (!CodePage::Encode(m_codePage, text.substr(start, count), out, badIndex)) {
            badIndex += start;
            return false;
        }
        start += count;
    }
    return true;
}

char32_t TextCodec::CodePointAt(std::u16string_view text, std::size_t index) {
    const char32_t high = text[index];
    if (high >= 0xD800 && high < 0xDC00 && index + 1 < text.size() && text[index + 1] >= 0xDC00 &&
        text[index + 1] < 0xE000)
        return 0x10000 + ((high - 0xD800) << 10) + (text[index + 1] - 0xDC00);
    return high;
}
