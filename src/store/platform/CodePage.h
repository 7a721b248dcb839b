// CodePage: the store's door to the platform's text conversion. Text files
// (the mapping file, MicroStation tables) hold text in the code page an
// ANSI host shares with the library: GetACP() on Windows; natively 1252
// unless Select chose another, through glibc's iconv. A POSIX side
// (CodePagePosix.cpp) and a Win32 side (CodePageWin32.cpp, no best-fit
// characters); readers and writers use TextCodec.h above it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace CodePage {

// The code page text files are read and written in: the one Select chose,
// else the system's (SystemDefault).
unsigned Active();

// Makes codePage the one Active() gives, for the whole process; 0 returns
// to the system's. False, and nothing changes, when the platform cannot
// convert that code page.
bool Select(unsigned codePage);

// Windows: GetACP(). Native: 1252.
unsigned SystemDefault();

// What a code page is made of.
struct Info {
    // Longest character in bytes: 1 for single-byte code pages, 2 for the
    // double-byte ones (932, 936, 949, 950), more for UTF-8.
    int maxCharSize = 1;
    // leadByte[b]: b begins a two-byte character. Their trail bytes are
    // never below 0x40: a blank, "=", CR or LF is always a character of
    // its own, while "[", "\" and "]" can be the second half of one.
    bool leadByte[256] = {};
};

// False when the platform has no conversion for codePage.
bool Describe(unsigned codePage, Info& info);

// Appends the characters of bytes to out, in one conversion. A byte
// sequence the code page does not define becomes a replacement character
// the code page can hold (never an error). Callers keep a lead byte away
// from the end of bytes (TextCodec does).
void Decode(unsigned codePage, std::string_view bytes, std::u16string& out);

// Appends text in the code page to out, in one conversion, with no
// best-fit substitution: a character the code page has no exact byte form
// for makes the call return false, with badIndex the position of the
// first such character in text (out is then unspecified).
bool Encode(unsigned codePage, std::u16string_view text, std::string& out, std::size_t& badIndex);

// A single-byte code page's two tables: toChar[b] is the character of byte
// b; toByte[c] the byte of character c, or -1 when c has no exact form.
// False for a code page that is not single-byte.
bool SingleByteTables(unsigned codePage, char16_t toChar[256], short toByte[65536]);

}  // namespace CodePage
