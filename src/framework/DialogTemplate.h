// Dialog templates in memory. Property pages are shown in the sheet's font,
// whatever font their own templates name: the sheet sizes itself from the
// pages' dialog units in its own font, so a page in another font would not
// fit the room the sheet gives it.
#pragma once

#include "framework/Win32.h"

#include <vector>

// The font every page of a property sheet is shown in.
constexpr WORD kSheetFontSize = 8;
constexpr wchar_t kSheetFontFace[] = L"MS Shell Dlg";

// Copies the template (plain or extended) with its font replaced; FALSE and
// an empty copy when the template is malformed.
BOOL CopyTemplateWithFont(const BYTE* pTemplate, size_t size, WORD wPointSize, const wchar_t* pszFace,
                          std::vector<BYTE>& copy);

// Loads template nID of the library's module and copies it with the sheet's
// font; FALSE when there is no such template.
BOOL LoadPageTemplateInSheetFont(UINT nID, std::vector<BYTE>& copy);
