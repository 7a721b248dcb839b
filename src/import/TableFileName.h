// Recognises a version 7 MicroStation table by its file name.
#pragma once

#include "framework/CString.h"

// The file name at the end of a path. A path that begins with "/" uses "/" as its
// separator, any other "\". Trailing separators are dropped and the name is
// the text after the last separator; a separator at the first position does
// not count, and a path without one is all name.
CString ExtractFileName(const CString& path);

// The kind of the version 7 table at path, or RemapUnrecognised. The trimmed
// file name must begin with "dwg"; then the first of "level", "color",
// "weight", "line" and "cellname" found in it decides. Case-sensitive.
int RemapKindFromFileName(const CString& path);
