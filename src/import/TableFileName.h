// Recognises a version 7 MicroStation table by its file name.
#pragma once

#include "framework/CString.h"

// The file name at the end of a path, as the dialog takes it from the file
// dialog. A path that begins with "/" uses "/" as its separator, any other
// "\". Trailing separators are dropped and the name is the text after the
// last separator; a separator at the first position does not count, and a
// path without one is all name.
CString ExtractFileName(const CString& path);

// The text after the last "/" or "\" of a path (all of it without either):
// how varnel finds a table's name on every platform, where either may
// separate folders.
CString NameAfterLastSeparator(const CString& path);

// The kind of the version 7 table with this file name, or
// RemapUnrecognised. The trimmed name must begin with "dwg"; then the first
// of "level", "color", "weight", "line" and "cellname" found in it decides.
// Case-sensitive.
int RemapKindFromName(CString name);

// The kind of the version 7 table at a path the file dialog gave:
// RemapKindFromName of its ExtractFileName.
int RemapKindFromFileName(const CString& path);
