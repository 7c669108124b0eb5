// COptionTreeHyperLinkItem: the row whose value is a link, shown in a small
// window of its own that stays visible while the row is shown. The link
// reacts to the mouse (hand cursor, hover colour and underline as the
// options say); a click on its text, or activating a row that is not
// read-only, opens it through the safe-link rule and marks it visited. The
// mouse test uses the text's extent from the window's top-left, polled by
// timer 1000 every 100 ms while hovered.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

#define OT_HYPERLINK_UNDERLINE 0x100
#define OT_HYPERLINK_UNDERLINEHOVER 0x200
#define OT_HYPERLINK_USEVISITED 0x400
#define OT_HYPERLINK_USEHOVER 0x40000

#define OT_HYPERLINK_TIMER 1000

class COptionTreeHyperLinkItem : public CWnd, public COptionTreeItem {
public:
    COptionTreeHyperLinkItem() = default;
    ~COptionTreeHyperLinkItem() override;

    // 1 when the window was made; 0 outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwOptions, LPCTSTR lpszLink, COLORREF crLink, COLORREF crHover, COLORREF crVisited);

    void SetLink(LPCTSTR lpszLink) { m_strLink = lpszLink; }
    CString GetLink() const { return m_strLink; }
    void SetLinkColor(COLORREF c) { m_crLink = c; }
    COLORREF GetLinkColor() const { return m_crLink; }
    void SetHoverColor(COLORREF c) { m_crHover = c; }
    COLORREF GetHoverColor() const { return m_crHover; }
    void SetVisitedColor(COLORREF c) { m_crVisited = c; }
    COLORREF GetVisitedColor() const { return m_crVisited; }
    void SetVisited(BOOL bVisited) { m_bVisited = bVisited; }
    BOOL IsVisited() const { return m_bVisited; }
    BOOL IsHover() const { return m_bHover; }
    BOOL GetOption(DWORD dwBits) const { return (m_dwOptions & dwBits) != 0; }
    void SetOption(DWORD dwBits, BOOL bOn);
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    // Given none, the hand cursor.
    void SetLinkCursor(HCURSOR hCursor);
    // Where the mouse finds the link, in client coordinates, as last painted.
    CRect GetTextRect() const { return m_rcText; }
    // The colour the text is drawn in now.
    COLORREF TextColor() const;

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void DestroyEditor() override;
    void OnExpandChanged(BOOL bExpanded) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Open();
    void Repaint();

    COLORREF m_crLink = RGB(0, 0, 255);
    COLORREF m_crHover = RGB(0, 0, 255);
    COLORREF m_crVisited = RGB(0, 0, 255);
    BOOL m_bVisited = FALSE;
    DWORD m_dwOptions = 0;
    CString m_strLink;
    HCURSOR m_hLinkCursor = nullptr;
    CRect m_rcText;
    BOOL m_bHover = FALSE;
    CFont m_fontUnderline;
};
