// CDialog: a window made from a dialog template, with its controls, in the
// template's font; dialog units convert to pixels through that font.
// Modal (DoModal) or modeless (Create). A modal dialog asks the dialog hook
// (Platform/DialogHook.h) once it is initialised: the request is of kind
// Template with the template id, and its data is the CDialog itself, whose
// controls the hook may work as a user would. When the hook ends the dialog
// (EndDialog, directly or through a button), DoModal returns that result;
// otherwise it returns the hook's answer. Without a hook the dialog runs
// modal on a display and is cancelled (IDCANCEL) without one.
// Keys in a dialog: Tab and Shift+Tab move among the WS_TABSTOP controls,
// Enter clicks the focused push button or else the default button (IDOK
// without one), Esc clicks IDCANCEL, each unless the focused control asks
// for the key (WM_GETDLGCODE).
#pragma once

#include "Platform/DialogHook.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // A modeless dialog owned by pParentWnd's top-level window (the main
    // window without one); shown when the template says WS_VISIBLE. False
    // when the template is missing or the dialog destroyed itself while
    // being initialised.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // The owner is disabled while the dialog runs. -1 when the template is
    // missing.
    virtual INT_PTR DoModal();
    // Ends a modal dialog with nResult; hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(LPRECT lpRect) const;
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    // DC_HASDEFID in the high word, the id in the low word.
    DWORD GetDefID() const;

protected:
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    BOOL CreateFromTemplate(UINT nIDTemplate, CWnd* pParentWnd);
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    LRESULT HandleGetDefID(WPARAM, LPARAM);
    LRESULT HandleSetDefID(WPARAM, LPARAM);
    void OnClose();
    // Moves the focus to the next (or previous) tab stop after the focused control.
    void MoveFocus(bool forward) const;
    // Sends the click of button nID to the dialog, as the button itself would.
    void ClickButton(UINT nID);

    CFont m_font;
    CSize m_baseUnits{ 8, 16 };
    UINT m_nDefID = 0;
    bool m_modal = false;
    bool m_ended = false;
    DECLARE_MESSAGE_MAP()
};
