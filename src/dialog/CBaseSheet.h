// CBaseSheet: the property sheet reworked into the frame of the mapping
// dialog: a menu bar, no Help or Apply button, OK shown as "&Save", and a
// description area under the pages that shows the help text of whichever
// control has the keyboard focus, or the note of a control's state (the
// reasons of a list's selected row). It knows nothing of mappings.
#pragma once

#include "framework/CMenu.h"
#include "framework/CPropertySheet.h"
#include "framework/Controls.h"

class CBaseSheet : public CPropertySheet {
public:
    CBaseSheet();
    CBaseSheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CBaseSheet() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    virtual void RegisterButtonHelp();
    // Enlarges the sheet and places the buttons and the description area.
    virtual void LayoutDescriptionArea();

    HWND m_hLastFocus = nullptr;
    CEdit m_editDescription;
    CStatic m_staticDescription;
    CMenu m_menu;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    // The note of hTool's state changed (a list's selected row): the note
    // shows at once, wherever the focus is; without one the description is
    // the focused control's again.
    void OnNoteChanged(HWND hTool);
};
