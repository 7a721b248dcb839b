// RemapToken: a view of characters inside the reader's text buffer or a
// static name. It is not terminated at its length. The reader runs over
// UTF-16 text (char16_t) and, for the single-byte code pages, straight over
// the file's bytes (char): the tokens take the buffer's character type.
#pragma once

#include <cstdint>
#include <string_view>

template <class Char>
struct BasicRemapToken {
    const Char* text = nullptr;
    int32_t length = 0;
    // A field that began with a quote, as yet in its written form (quotes
    // and doubled quotes): the row reader turns it into its content.
    bool quoted = false;

    std::basic_string_view<Char> View() const { return {text, size_t(length > 0 ? length : 0)}; }
    bool IsEmpty() const { return length <= 0; }

    static BasicRemapToken Of(std::basic_string_view<Char> name) { return {name.data(), int32_t(name.size())}; }
};

using RemapToken = BasicRemapToken<char16_t>;
