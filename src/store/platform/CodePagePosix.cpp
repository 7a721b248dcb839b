// The code page conversions of native builds: glibc's iconv, so that any
// code page number the platform knows ("CP<n>", "WINDOWS-<n>") works as it
// would on Windows. Characters are UTF-16 in the host's byte order.
#include "store/platform/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>

namespace CodePage {

namespace {

static_assert(std::endian::native == std::endian::little, "UTF-16LE is the host's char16_t");
constexpr const char* kUtf16 = "UTF-16LE";
constexpr unsigned kUtf8 = 65001;
constexpr char16_t kReplacement = u'?';

// A conversion between a code page and UTF-16, opened once per code page
// and direction and kept for the life of the process (the store runs on
// one thread); Reset returns it to its initial state before each use.
class Conversion {
public:
    Conversion(unsigned codePage, bool toChars) : m_cd(Open(codePage, toChars)) { Reset(); }
    bool IsOpen() const { return m_cd != iconv_t(-1); }

    // Converts what it can; errno tells why it stopped when it returns -1.
    size_t Run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        return iconv(m_cd, const_cast<char**>(&in), &inLeft, &out, &outLeft);
    }
    void Reset() {
        if (IsOpen())
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }

private:
    // The conversions opened so far, closed when the process ends.
    struct Opened : std::map<std::pair<unsigned, bool>, iconv_t> {
        ~Opened() {
            for (auto& [key, cd] : *this)
                if (cd != iconv_t(-1))
                    iconv_close(cd);
        }
    };

    static iconv_t Open(unsigned codePage, bool toChars) {
        static Opened opened;
        auto found = opened.find({codePage, toChars});
        if (found != opened.end())
            return found->second;
        iconv_t cd = iconv_t(-1);
        for (const std::string& name : Names(codePage)) {
            cd = toChars ? iconv_open(kUtf16, name.c_str()) : iconv_open(name.c_str(), kUtf16);
            if (cd != iconv_t(-1))
                break;
        }
        opened.emplace(std::make_pair(codePage, toChars), cd);
        return cd;
    }
    static std::array<std::string, 2> Names(unsigned codePage) {
        if (codePage == kUtf8)
            return {"UTF-8", "UTF-8"};
        return {"CP" + std::to_string(codePage), "WINDOWS-" + std::to_string(codePage)};
    }

    iconv_t m_cd;
};

// One byte through the conversion: 1 when it is a character of its own
// (ch set), 0 when it begins a longer one, -1 when it is undefined.
int DecodeOneByte(Conversion& conversion, unsigned char byte, char16_t& ch) {
    conversion.Reset();
    const char* in = reinterpret_cast<const char*>(&byte);
    size_t inLeft = 1;
    char16_t chars[2];
    char* out = reinterpret_cast<char*>(chars);
    size_t outLeft = sizeof chars;
    if (conversion.Run(in, inLeft, out, outLeft) != size_t(-1) && outLeft == sizeof chars - 2) {
        ch = chars[0];
        return 1;
    }
    return errno == EINVAL ? 0 : -1;
}

}  // namespace

unsigned SystemDefault() {
    return 1252;
}

bool Describe(unsigned codePage, Info& info) {
    static std::map<unsigned, std::pair<bool, Info>> known;
    auto found = known.find(codePage);
    if (found == known.end()) {
        Info described;
        Conversion conversion(codePage, true);
        bool available = conversion.IsOpen() && Conversion(codePage, false).IsOpen();
        if (available && codePage == kUtf8) {
            described.maxCharSize = 4;  // no ASCII byte is ever in a longer character
        } else if (available) {
            for (int b = 0x80; b < 0x100; ++b) {
                char16_t ch;
                described.leadByte[b] = DecodeOneByte(conversion, static_cast<unsigned char>(b), ch) == 0;
                if (described.leadByte[b])
                    described.maxCharSize = 2;
            }
        }
        found = known.emplace(codePage, std::make_pair(available, described)).first;
    }
    info = found->second.second;
    return found->second.first;
}

void Decode(unsigned codePage, std::string_view bytes, std::u16string& out) {
    Info info;
    Conversion conversion(codePage, true);
    if (!Describe(codePage, info) || !conversion.IsOpen()) {
        for (unsigned char byte : bytes)  // cannot happen for a described code page
            out += char16_t(byte);
        return;
    }
    // Room for two UTF-16 units per byte: no code page needs more.
    const size_t start = out.size();
    const size_t room = (bytes.size() * 2 + 2) * sizeof(char16_t);
    out.resize(start + room / sizeof(char16_t));
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    char* to = reinterpret_cast<char*>(out.data() + start);
    size_t outLeft = room;
    while (inLeft > 0) {
        if (conversion.Run(in, inLeft, to, outLeft) != size_t(-1) || errno == E2BIG)
            break;
        // An undefined byte: in a single-byte code page the character of
        // the same code (as Windows reads it), else a replacement that
        // takes the whole would-be character.
        // (Some converters take the bad sequence before they fail.)
        const auto byte = static_cast<unsigned char>(inLeft > 0 ? *in : 0);
        const char16_t ch = info.maxCharSize == 1 && inLeft > 0 ? char16_t(byte) : kReplacement;
        const size_t skip = std::min(inLeft, (info.leadByte[byte] && inLeft > 1) ? size_t(2) : size_t(1));
        std::memcpy(to, &ch, sizeof ch);
        to += sizeof ch;
        outLeft -= sizeof ch;
        in += skip;
        inLeft -= skip;
        conversion.Reset();
    }
    out.resize(start + (room - outLeft) / sizeof(char16_t));
}

bool Encode(unsigned codePage, std::u16string_view text, std::string& out, std::size_t& badIndex) {
    Conversion conversion(codePage, false);
    if (!conversion.IsOpen()) {
        badIndex = 0;
        return text.empty();
    }
    const size_t start = out.size();
    const size_t room = text.size() * 3;  // a UTF-16 unit never needs more
    out.resize(start + room);
    const char* in = reinterpret_cast<const char*>(text.data());
    size_t inLeft = text.size() * sizeof(char16_t);
    char* to = out.data() + start;
    size_t outLeft = room;
    const bool converted = conversion.Run(in, inLeft, to, outLeft) != size_t(-1) &&
                           conversion.Run(in = nullptr, inLeft, to, outLeft) != size_t(-1);
    if (!converted) {
        badIndex = text.size() - inLeft / sizeof(char16_t);
        return false;
    }
    out.resize(start + room - outLeft);
    return true;
}

bool SingleByteTables(unsigned codePage, char16_t toChar[256], short toByte[65536]) {
    Info info;
    if (!Describe(codePage, info) || info.maxCharSize != 1)
        return false;
    Conversion conversion(codePage, true);
    for (int c = 0; c < 65536; ++c)
        toByte[c] = -1;
    for (int b = 0; b < 256; ++b) {
        char16_t ch = char16_t(b);
        DecodeOneByte(conversion, static_cast<unsigned char>(b), ch);
        toChar[b] = ch;
    }
    // Every character read from a byte is written back as that byte.
    for (int b = 0; b < 256; ++b)
        if (toByte[toChar[b]] < 0)
            toByte[toChar[b]] = short(b);
    return true;
}

}  // namespace CodePage
