// Some control styles take effect only when the control is created: a list
// view reads LVS_OWNERDATA once, at creation. RecreateDlgItem replaces a
// dialog's child by a new window of the same class, styles (plus
// dwAddStyle), place, font and tab position, so the dialog template keeps
// its own style words and the live control gets what the code needs.
#pragma once

#include "framework/Win32.h"

// The new child, or null when nID is no child of hDialog or the new window
// could not be made (the old one then stays).
HWND RecreateDlgItem(HWND hDialog, int nID, DWORD dwAddStyle);
