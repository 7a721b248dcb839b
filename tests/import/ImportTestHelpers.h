// Texts of the import tests go in and come out as UTF-8 so that failures
// print readably.
#pragma once

#include "framework/CString.h"

#include <string>
#include <vector>

using Strings = std::vector<std::string>;

inline std::string Utf8(std::u16string_view text) { return CString(text).ToUtf8(); }
