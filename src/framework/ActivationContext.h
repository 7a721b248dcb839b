// Common controls version 6 for the library's windows: the module carries
// its manifest as resource 2, and its activation context is made active
// around everything that creates controls (MinGW has no isolation-aware
// wrappers that would do it for us).
#pragma once

#include "framework/Win32.h"

class CActivationContextScope {
public:
    CActivationContextScope();
    ~CActivationContextScope();
    CActivationContextScope(const CActivationContextScope&) = delete;
    CActivationContextScope& operator=(const CActivationContextScope&) = delete;

private:
    ULONG_PTR m_cookie = 0;
    bool m_bActive = false;
};

// Releases the module's activation context (when the library is unloaded).
void ReleaseModuleActivationContext();
