// CCoolDockBar: the main window's docking pane. Its one child fills the
// client area; a caption strip with a double-line gripper and a close
// button runs down its left side when docked at top or bottom, along its
// top otherwise. The close button hides the pane; every notification the
// child sends up goes on to the window that was the pane's parent when it
// was made, as if the child were that window's own.
#pragma once

#include "Controls/SizeControlBar.h"

// The 13 by 13 close button of the caption strip; its origin is in the
// pane's window coordinates.
struct CDockCloseButton {
    BOOL bPushed = FALSE;  // the left button is held over it
    BOOL bHot = FALSE;     // the mouse is over it, the left button up
    CPoint ptOrg;
    static const int kSize = 13;
    CRect GetRect() const { return CRect(ptOrg, CSize(kSize, kSize)); }
    void Paint(CDC* pDC) const;
};

class CCoolDockBar : public CSizeControlBar {
    DECLARE_DYNAMIC(CCoolDockBar)
public:
    CCoolDockBar();

    BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP) override;
    BOOL CreateWithSize(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL bHasGripper, UINT nID,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP) override;
    void SetNotifyWindow(HWND hWnd) { m_hWndNotify = hWnd; }
    // Docks next to a docked bar, one pixel toward the given dock bar side.
    void DockBeside(CControlBar* pOther, UINT nSide);
    // Whether the pane draws its caption strip.
    virtual BOOL HasGripper() const { return TRUE; }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void PaintGripper(CDC* pDC, const CRect& rcClient) override;
    void NcCalcClient(LPRECT pRc, UINT nDockBarID) override;

    int GetCaptionHeight() const { return m_cyCaption; }
    const CDockCloseButton& GetCloseButton() const { return m_btnClose; }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    int m_cyCaption = 12;
    CDockCloseButton m_btnClose;
    HWND m_hWndNotify = nullptr;
};
