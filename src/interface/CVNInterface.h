// The interface object a host drives through the library's exports.
#pragma once

#include "framework/CWnd.h"

class CVNSheet;

class CVNInterface {
public:
    virtual ~CVNInterface() = default;
    // Prepares the dialog for the mapping file at pszPath ("" for the
    // default file in the start directory); opens nothing. 0.
    virtual int Load(LPCWSTR pszPath, CWnd* pParent) = 0;
    // Destroys the dialog object with its tables. 0.
    virtual int Free() = 0;
    // Runs the dialog modally: 0 when it has closed, -1 when not loaded.
    virtual int Show() = 0;
};

class CVNInterfaceImpl : public CVNInterface {
public:
    ~CVNInterfaceImpl() override;
    int Load(LPCWSTR pszPath, CWnd* pParent) override;
    int Free() override;
    int Show() override;

    CVNSheet* m_pSheet = nullptr;
};
