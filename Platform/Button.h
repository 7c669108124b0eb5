// CButton: the button control, drawn by the layer in the classic look:
// push and default push buttons, auto check boxes, group boxes, and
// owner-drawn buttons (BS_OWNERDRAW), whose picture the parent is asked
// for with WM_DRAWITEM (reflected back to the button as DrawItem).
// A click (mouse pressed and released over the button, Space, BM_CLICK)
// toggles an auto check box and then sends BN_CLICKED to the parent; a
// group box is never clicked. A pressed button holds the capture until the
// release.
#pragma once

#include "Platform/Wnd.h"

#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_CHECKBOX 0x0002L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_GROUPBOX 0x0007L
#define BS_OWNERDRAW 0x000BL
#define BS_TYPEMASK 0x000FL

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

#define WC_BUTTON "Button"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    // The picture of an owner-drawn button.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    DECLARE_MESSAGE_MAP()
};
