// RemapToken: a view of characters inside the reader's text buffer or a
// static name. It is not terminated at its length.
#pragma once

#include <cstdint>
#include <string_view>

struct RemapToken {
    const char16_t* text = nullptr;
    int32_t length = 0;

    std::u16string_view View() const { return {text, size_t(length > 0 ? length : 0)}; }
    bool IsEmpty() const { return length <= 0; }

    static RemapToken Of(std::u16string_view name) { return {name.data(), int32_t(name.size())}; }
};
