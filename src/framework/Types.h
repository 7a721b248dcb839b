// Integer result type of the framework: nonzero for success, 0 for failure.
// Spelled like <windows.h> so that both headers can meet in one unit.
#pragma once

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
