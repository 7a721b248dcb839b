#include "framework/ActivationContext.h"

#include "framework/CWnd.h"

namespace {

HANDLE g_hContext = INVALID_HANDLE_VALUE;
bool g_bTried = false;

HANDLE ModuleContext() {
    if (!g_bTried) {
        g_bTried = true;
        wchar_t path[MAX_PATH];
        if (::GetModuleFileNameW(AfxGetResourceHandle(), path, MAX_PATH)) {
            ACTCTXW context{};
            context.cbSize = sizeof(context);
            context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
            context.lpSource = path;
            context.hModule = AfxGetResourceHandle();
            context.lpResourceName = MAKEINTRESOURCEW(2);
            g_hContext = ::CreateActCtxW(&context);
        }
    }
    return g_hContext;
}

}  // namespace

CActivationContextScope::CActivationContextScope() {
    HANDLE hContext = ModuleContext();
    if (hContext != INVALID_HANDLE_VALUE)
        m_bActive = ::ActivateActCtx(hContext, &m_cookie) != FALSE;
}

CActivationContextScope::~CActivationContextScope() {
    if (m_bActive)
        ::DeactivateActCtx(0, m_cookie);
}

void ReleaseModuleActivationContext() {
    if (g_hContext != INVALID_HANDLE_VALUE)
        ::ReleaseActCtx(g_hContext);
    g_hContext = INVALID_HANDLE_VALUE;
    g_bTried = false;
}
