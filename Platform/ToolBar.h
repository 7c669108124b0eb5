// CToolBar: a control bar of flat buttons, each an image of the bar's image
// list and a command. The button under the mouse is raised, a pressed one
// sunken, a disabled one embossed; separators are etched lines. A click
// sends the command to the owner as WM_COMMAND; resting on a button asks
// the owner for its tip (WM_NOTIFY, TTN_NEEDTEXTA) and shows it in the
// bar's tooltip. At idle the frame's update handlers enable the buttons.
// Invariants: m_buttons is in display order; m_hot and m_pressed are -1 or
// indexes of buttons that are not separators.
#pragma once

#include "Platform/ControlBar.h"
#include "Platform/ImageList.h"
#include "Platform/ToolTipCtrl.h"

#include <vector>

#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08
#define TBSTYLE_BUTTON 0x0000
#define TBSTYLE_SEP 0x0001
#define TBSTYLE_CHECK 0x0002
#define TBSTYLE_TOOLTIPS 0x0100
#define TBSTYLE_WRAPABLE 0x0200
#define TBSTYLE_FLAT 0x0800

#define TB_ENABLEBUTTON 0x0401
#define TB_ISBUTTONENABLED 0x0409
#define TB_INSERTBUTTON 0x0415
#define TB_DELETEBUTTON 0x0416
#define TB_GETBUTTON 0x0417
#define TB_BUTTONCOUNT 0x0418
#define TB_COMMANDTOINDEX 0x0419
#define TB_SETIMAGELIST 0x0430
#define TB_GETIMAGELIST 0x0431
#define TB_GETITEMRECT 0x041D

#define TTN_NEEDTEXTA (0U - 520)

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    DWORD_PTR dwData;
    INT_PTR iString;
};
typedef TBBUTTON* LPTBBUTTON;

struct TOOLTIPTEXTA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 0xE800);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = 0xE800);
    // A toolbar resource and the bitmap of the same id; false when either is missing.
    BOOL LoadToolBar(UINT nIDResource);
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // The size of a button: the image size and 7 by 6 pixels around it.
    CSize GetButtonSize() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;

protected:
    // The buttons and separators, over whatever background is there.
    void DrawButtons(CDC* pDC);
    LRESULT OnToolBarMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    std::vector<TBBUTTON> m_buttons;
    HIMAGELIST m_images = nullptr;
    CImageList m_ownImages;  // from LoadToolBar
    CToolTipCtrl m_tip;
    int m_hot = -1;
    int m_pressed = -1;

private:
    std::vector<UINT_PTR> m_tipIds;
    int ButtonAt(CPoint point) const;
    void LayOutTips();
    void AskTip(int index);
    // With CBRS_FLYBY the frame's status bar shows the hot button's prompt.
    void ShowFlyByPrompt();
};
