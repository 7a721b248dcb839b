// Loading strings from the string table of the module the framework is
// linked into (Varnel.dll's own resources, never the host's).
#include "framework/CWnd.h"

BOOL CString::LoadString(unsigned int nID) {
    const wchar_t* resource = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer to the
    // resource itself: no length limit and no copy through a fixed buffer.
    int length = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        Empty();
        return FALSE;
    }
    *this = CString(reinterpret_cast<const char16_t*>(resource), length);
    return TRUE;
}
