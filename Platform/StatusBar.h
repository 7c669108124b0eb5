// CStatusBar: a bar of text panes along the bottom of its frame. Pane 0 is
// usually the stretching prompt pane; the others are indicators sized to
// the text of their string-table entry. At idle each indicator's update
// handler decides whether its text shows.
// Invariants: m_panes holds one pane per indicator, in display order.
#pragma once

#include "Platform/CString.h"
#include "Platform/ControlBar.h"
#include "Platform/Gdi.h"

#include <vector>

#define ID_SEPARATOR 0
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_OWNERDRAW 0x1000
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = 0xE801);
    // One pane per id; an indicator's text and width come from its string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    int GetCount() const { return int(m_panes.size()); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    int TextHeight() const;
    std::vector<Pane> m_panes;
    CFont m_font;
};
