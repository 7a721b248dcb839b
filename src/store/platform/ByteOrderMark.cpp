#include "store/platform/ByteOrderMark.h"

#include "framework/CString.h"

namespace ByteOrderMark {

namespace {

constexpr std::string_view kUtf8 = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndian = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndian = "\xFE\xFF";

}  // namespace

Encoding Of(std::string_view bytes) {
    if (bytes.starts_with(kUtf8))
        return Encoding::Utf8;
    if (bytes.starts_with(kUtf16LittleEndian))
        return Encoding::Utf16LittleEndian;
    if (bytes.starts_with(kUtf16BigEndian))
        return Encoding::Utf16BigEndian;
    return Encoding::None;
}

void Decode(std::string_view bytes, Encoding encoding, std::u16string& out) {
    switch (encoding) {
    case Encoding::None:
        return;
    case Encoding::Utf8:
        out += CString::FromUtf8(bytes.substr(kUtf8.size())).View();
        return;
    case Encoding::Utf16LittleEndian:
    case Encoding::Utf16BigEndian: {
        bytes.remove_prefix(kUtf16LittleEndian.size());
        const bool bigEndian = encoding == Encoding::Utf16BigEndian;
        out.reserve(out.size() + bytes.size() / 2 + 1);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
            out += bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
        }
        if (bytes.size() % 2 != 0)
            out += u'\uFFFD';
        return;
    }
    }
}

}  // namespace ByteOrderMark
