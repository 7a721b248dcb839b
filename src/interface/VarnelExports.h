/* The library's exported functions, as a host sees them: Varnel.dll exports
 * them by their plain names with the ordinals 1-5, in the C calling
 * convention, for hosts written in C or C++. A host loads the library by
 * full path and takes the functions with GetProcAddress (docs/HOSTING.md).
 * Every function but DeleteVNInterface returns -1 for a null interface. */
#ifndef VARNEL_EXPORTS_H
#define VARNEL_EXPORTS_H

#include <windows.h>

#ifdef __cplusplus
class CVNInterface;
extern "C" {
#else
/* Opaque to C: only the library looks inside. */
typedef struct CVNInterface CVNInterface;
#endif

/* CreateVNInterface @1: a new interface object, or NULL. */
typedef CVNInterface*(__cdecl* PFN_CreateVNInterface)(void);
/* DeleteVNInterface @2: destroys the object (and its dialog object); NULL does nothing. */
typedef void(__cdecl* PFN_DeleteVNInterface)(CVNInterface* iface);
/* FreeInterface @3: destroys the dialog object; 0. */
typedef int(__cdecl* PFN_FreeInterface)(CVNInterface* iface);
/* LoadInterface @4: prepares the dialog for the mapping file at path (ANSI
 * code page; "" or NULL for "commands.mapping" in the folder that was current
 * when the library was loaded), owned by hParent; reads nothing yet. 0. */
typedef int(__cdecl* PFN_LoadInterface)(CVNInterface* iface, const char* path, HWND hParent);
/* ShowVarnelDlg @5: runs the dialog modally; 0 once it has closed (saved or
 * cancelled), -1 when nothing was loaded. */
typedef int(__cdecl* PFN_ShowVarnelDlg)(CVNInterface* iface);

#ifdef __cplusplus
}
#endif

#endif /* VARNEL_EXPORTS_H */
