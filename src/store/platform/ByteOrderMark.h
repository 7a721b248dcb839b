// A byte-order mark at the start of a text file, and the text it marks.
// Spreadsheets write one: "CSV UTF-8" begins with EF BB BF, "Unicode text"
// with FF FE (UTF-16, little-endian); FE FF begins big-endian UTF-16.
// MicroStation tables are read by their mark; the mapping file has none,
// and a mark there is read as the code page's characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ByteOrderMark {

enum class Encoding { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The encoding whose mark the bytes begin with, None without one.
Encoding Of(std::string_view bytes);

// Appends the characters of the bytes after the mark (Utf8 or Utf16...) to
// out. A byte sequence that is no character of the encoding (also an odd
// last byte of UTF-16) becomes U+FFFD. Never fails.
void Decode(std::string_view bytes, Encoding encoding, std::u16string& out);

}  // namespace ByteOrderMark
