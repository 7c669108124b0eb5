// COptionTreeCheckWnd: the owner-drawn check box window that covers the
// value column while a check box row is edited; a click on the box (or on
// its text, when the text is shown) toggles it.
#pragma once

#include "Platform/CString.h"
#include "Platform/Wnd.h"

#define OT_CHECK_SHOWBOX 0x400
#define OT_CHECK_SHOWTEXT 0x40000

class COptionTree;

class COptionTreeCheckWnd : public CWnd {
public:
    void SetCheckText(LPCTSTR lpszChecked, LPCTSTR lpszUnchecked);
    CString GetCheckedText() const { return m_strChecked; }
    CString GetUncheckedText() const { return m_strUnchecked; }
    // Does not repaint.
    void SetCheck(BOOL bCheck) { m_bCheck = bCheck ? 1 : 0; }
    BOOL GetCheck() const { return m_bCheck; }
    void SetOption(DWORD dwOption, BOOL bSet);
    BOOL GetOption(DWORD dwOption) const { return (m_dwOptions & dwOption) != 0; }
    void SetCheckOptionsOwner(COptionTree* otProp) { m_otCheckOption = otProp; }
    // Where a click toggles: the box, and the text when it is shown.
    CRect HitRect() const;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    CString m_strUnchecked = "UnChecked";
    CString m_strChecked = "Checked";
    BOOL m_bCheck = 0;
    COptionTree* m_otCheckOption = nullptr;
    DWORD m_dwOptions = 0;
};
