// The library's message boxes: the text given, the caption "Commands
// Mapping" from the string table.
#pragma once

#include "framework/CWnd.h"

// Shows a message box owned by hOwner (may be null); returns the button id.
int VNMessageBox(HWND hOwner, const CString& strText, UINT nType);
