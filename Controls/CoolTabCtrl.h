// CCoolTabCtrl: a strip of tabs drawn in the classic 3-D look, above or
// below one page at a time; each page is a child window. A newly selected
// page can slide in from the left. Notifications of the pages go on to the
// control's parent as if the pages were its own children.
// Invariants: m_selected is -1 or the index of the page last selected,
// whose window is the only page window shown (none while an index outside
// the pages was asked for); m_slideCounter is 10 unless a slide runs, and
// then counts the ticks left.
#pragma once

#include "Platform/CString.h"
#include "Platform/Collections.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

// Tab style bits.
#define TCS_COOL_TOP 0x0001
#define TCS_COOL_BOTTOM 0x0002
#define TCS_COOL_EQUALWIDTHS 0x0004
#define TCS_COOL_SLIDEIN 0x0008

struct TabPage {
    CWnd* window = nullptr;
    int owned = 0;  // 1: created here, destroyed and deleted with the control
    CString title;
    HICON icon = nullptr;
    CRect tab;      // client coordinates
};

class CCoolTabCtrl : public CWnd {
    DECLARE_DYNCREATE(CCoolTabCtrl)
public:
    CCoolTabCtrl();
    ~CCoolTabCtrl() override;

    // The low four bits of the style are the tab style (tabs at the top
    // when they are 0).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    TabPage* AddPage(CWnd* window, LPCTSTR title, UINT iconId);
    void UpdateLayout();
    void SelectPage(int index);
    CWnd* GetPageWindow(int index) const;
    int GetSelected() const { return m_selected; }
    int GetPageCount() const { return int(m_pages.GetCount()); }
    const TabPage* GetPage(int index) const;
    void SetTabStyle(UINT style) { m_tabStyle = style; }
    UINT GetTabStyle() const { return m_tabStyle; }
    void SetSlideIn(BOOL on);
    // 2 puts the tabs at the bottom, anything else at the top.
    void SetTabPosition(int position);
    void SetEqualWidths(BOOL on);
    // The text the tab shows for a title in a given width: whole
    // characters, with "..." when cut.
    CString FitTitle(CDC* dc, const CString& title, int width) const;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CRect PageArea() const;
    CRect ShrunkPageArea() const;
    int NaturalWidth(CDC* dc, const TabPage& page) const;
    void LayOut(bool repaint);
    void DrawTab(CDC* dc, TabPage& page, bool selected);
    void PlaceSlidingPage(int left, int right);
    TabPage* Page(int index) const;
    void FreePages();

    bool m_fillBackground = true;
    CFont m_font;
    int m_selected = -1;
    UINT m_tabStyle = TCS_COOL_BOTTOM;
    int m_borderStyle = 2;
    CPtrList m_pages{ 10 };  // of TabPage, owned, in tab order
    int m_slideCounter = 10;
    int m_slideStep = 0;
};

// The timer of the slide-in: 11 ticks of 15 ms.
#define TAB_SLIDE_TIMER 100
