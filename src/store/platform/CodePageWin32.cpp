// The code page conversions of the Windows build: the system's ANSI code
// page, MultiByteToWideChar to read and WideCharToMultiByte to write, each
// over a whole text at once. Writing never substitutes a look-alike
// (WC_NO_BEST_FIT_CHARS) and checks whether the default character had to
// stand in for one the code page cannot hold.
#include "store/platform/CodePage.h"

#include "framework/Win32.h"

#include <climits>
#include <utility>

namespace CodePage {

namespace {

// UTF-8 and the other code pages that take no conversion flags.
bool TakesNoFlags(unsigned codePage) {
    return codePage == CP_UTF8 || codePage == 54936 || codePage == 65000 || codePage == 42 ||
           (codePage >= 50220 && codePage <= 50229) || codePage == 52936 || (codePage >= 57002 && codePage <= 57011);
}

// One conversion of text; false when a character had no exact form.
bool EncodeOnce(unsigned codePage, const wchar_t* text, int length, char* out, int& written) {
    BOOL usedDefault = FALSE;
    const bool noFlags = TakesNoFlags(codePage);
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : noFlags ? 0 : WC_NO_BEST_FIT_CHARS;
    written = ::WideCharToMultiByte(codePage, flags, text, length, out, out ? written : 0, nullptr,
                                    noFlags ? nullptr : &usedDefault);
    return (written > 0 || length == 0) && !usedDefault;
}

}  // namespace

unsigned SystemDefault() {
    return ::GetACP();
}

bool Describe(unsigned codePage, Info& info) {
    CPINFO cp{};
    if (!::GetCPInfo(codePage, &cp))
        return false;
    info = Info{};
    info.maxCharSize = int(cp.MaxCharSize);
    if (cp.MaxCharSize == 2)
        for (int i = 0; i + 1 < MAX_LEADBYTES && cp.LeadByte[i]; i += 2)
            for (int b = cp.LeadByte[i]; b <= cp.LeadByte[i + 1]; ++b)
                info.leadByte[b] = true;
    return true;
}

void Decode(unsigned codePage, std::string_view bytes, std::u16string& out) {
    // TextCodec converts at most 64 MB at a time, far below INT_MAX bytes.
    const int length = int(bytes.size() < size_t(INT_MAX) ? bytes.size() : size_t(INT_MAX));
    if (length == 0)
        return;
    const size_t start = out.size();
    out.resize(start + size_t(length));  // no byte gives more than one unit
    int got = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data() + start),
                                    length);
    out.resize(start + size_t(got > 0 ? got : 0));
}

bool Encode(unsigned codePage, std::u16string_view text, std::string& out, std::size_t& badIndex) {
    const auto* chars = reinterpret_cast<const wchar_t*>(text.data());
    const int length = int(text.size() < size_t(INT_MAX / 4) ? text.size() : size_t(INT_MAX / 4));
    int size = 0;
    if (EncodeOnce(codePage, chars, length, nullptr, size)) {
        const size_t start = out.size();
        out.resize(start + size_t(size));
        if (size == 0 || EncodeOnce(codePage, chars, length, out.data() + start, size))
            return true;
    }
    // Which character: one by one, a surrogate pair as one, only now.
    for (size_t i = 0; i < text.size();) {
        const int units = (i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1])) ? 2 : 1;
        int one = 0;
        if (!EncodeOnce(codePage, chars + i, units, nullptr, one)) {
            badIndex = i;
            return false;
        }
        i += size_t(units);
    }
    badIndex = 0;
    return false;
}

bool SingleByteTables(unsigned codePage, char16_t toChar[256], short toByte[65536]) {
    Info info;
    if (!Describe(codePage, info) || info.maxCharSize != 1)
        return false;
    char bytes[256];
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    if (::MultiByteToWideChar(codePage, 0, bytes, 256, reinterpret_cast<wchar_t*>(toChar), 256) != 256)
        return false;
    // Every character but the surrogates, in two conversions: a character
    // without an exact form comes out as the default "?".
    static wchar_t chars[65536];
    static char narrow[65536];
    for (int c = 0; c < 65536; ++c) {
        chars[c] = wchar_t(c);
        toByte[c] = -1;
    }
    const char defaultChar[] = "?";
    for (auto [first, last] : {std::pair{0, 0xD800}, std::pair{0xE000, 0x10000}}) {
        BOOL usedDefault = FALSE;
        if (::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, chars + first, last - first, narrow + first,
                                  last - first, defaultChar, &usedDefault) != last - first)
            return false;
        for (int c = first; c < last; ++c)
            if (narrow[c] != '?' || c == u'?')
                toByte[c] = static_cast<unsigned char>(narrow[c]);
    }
    return true;
}

}  // namespace CodePage
