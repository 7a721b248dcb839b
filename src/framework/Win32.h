// The one way framework and library code includes the Windows headers.
// <windows.h> defines LoadString as a macro; CString::LoadString must keep its
// plain name in every unit, so the macro is removed right after the include.
#pragma once

#include <windows.h>
#include <commctrl.h>

#undef LoadString
