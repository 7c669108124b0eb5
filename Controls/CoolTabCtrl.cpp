// The tab control: layout of the tabs, painting, selection and slide-in.
#include "Controls/CoolTabCtrl.h"

#include "Platform/Cursor.h"
#include "Platform/Dc.h"
#include "Platform/Icon.h"
#include "Platform/MessageMap.h"
#include "Platform/ResourceId.h"
#include "Platform/SysColors.h"
#include "Platform/TextConv.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CCoolTabCtrl, CWnd)

BEGIN_MESSAGE_MAP(CCoolTabCtrl, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const int kStripHeight = 23;
const int kBorder = 3;  // border style plus 1

} // namespace

CCoolTabCtrl::CCoolTabCtrl() = default;

CCoolTabCtrl::~CCoolTabCtrl()
{
    if (m_hWnd)
        DestroyWindow();
    FreePages();
}

void CCoolTabCtrl::FreePages()
{
    while (!m_pages.IsEmpty()) {
        auto* page = static_cast<TabPage*>(m_pages.RemoveHead());
        if (page->owned && page->window) {
            page->window->DestroyWindow();
            delete page->window;
        }
        if (page->icon)
            DestroyIcon(page->icon);
        delete page;
    }
}

BOOL CCoolTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_tabStyle = (dwStyle & 0x0F) ? (dwStyle & 0x0F) : TCS_COOL_TOP;
    const LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    if (!CWnd::Create(cls, nullptr, (dwStyle & ~DWORD(0x0F)) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect, pParentWnd,
                      nID))
        return FALSE;
    m_font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 134, 3, 2, 1, 2, "\xE5\xAE\x8B\xE4\xBD\x93");
    SetFont(&m_font);
    return TRUE;
}

TabPage* CCoolTabCtrl::Page(int index) const
{
    const POSITION pos = index >= 0 ? m_pages.FindIndex(index) : nullptr;
    return pos ? static_cast<TabPage*>(m_pages.GetAt(pos)) : nullptr;
}

const TabPage* CCoolTabCtrl::GetPage(int index) const { return Page(index); }

CWnd* CCoolTabCtrl::GetPageWindow(int index) const
{
    const TabPage* page = GetPage(index);
    return page ? page->window : nullptr;
}

CRect CCoolTabCtrl::PageArea() const
{
    CRect r;
    GetClientRect(&r);
    if (m_tabStyle & TCS_COOL_BOTTOM) {
        r.DeflateRect(2, 2, 2, kStripHeight);
    } else if (m_tabStyle & TCS_COOL_TOP) {
        r.DeflateRect(2, kStripHeight, 2, 2);
    }
    return r;
}

CRect CCoolTabCtrl::ShrunkPageArea() const
{
    CRect r = PageArea();
    r.DeflateRect(kBorder, kBorder);
    return r;
}

TabPage* CCoolTabCtrl::AddPage(CWnd* window, LPCTSTR title, UINT iconId)
{
    auto* page = new TabPage;
    page->window = window;
    page->title = title ? title : "";
    page->icon = iconId ? LoadIcon(nullptr, MAKEINTRESOURCE(iconId)) : nullptr;
    if (window && window->GetSafeHwnd()) {
        window->MoveWindow(ShrunkPageArea());
        window->ShowWindow(SW_HIDE);
    }
    m_pages.AddTail(page);
    return page;
}

int CCoolTabCtrl::NaturalWidth(CDC* dc, const TabPage& page) const
{
    return dc->GetTextExtent(page.title).cx + (page.icon ? 27 : 9);
}

void CCoolTabCtrl::LayOut(bool repaint)
{
    if (m_pages.IsEmpty() || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    CRect strip;
    if (m_tabStyle & TCS_COOL_BOTTOM)
        strip = CRect(client.left + 6, client.bottom - kStripHeight, client.right - 6, client.bottom - 1);
    else
        strip = CRect(client.left + 2, client.top, client.right - 6, client.top + kStripHeight);
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_font);
    const int n = GetPageCount();
    const bool equal = (m_tabStyle & TCS_COOL_EQUALWIDTHS) != 0;
    int x = strip.left;
    for (int i = 0; i < n; ++i) {
        TabPage* page = Page(i);
        const int w = equal ? strip.Width() / n : NaturalWidth(&dc, *page);
        page->tab = CRect(x, strip.top, x + w - 1, strip.bottom);
        x += w;
        if (page->window && page->window->GetSafeHwnd())
            page->window->MoveWindow(ShrunkPageArea());
    }
    if (!equal && x - strip.left > strip.Width()) {
        x = strip.left;
        for (int i = 0; i < n; ++i) {
            const int natural = NaturalWidth(&dc, *Page(i));
            const CRect& before = Page(i == 0 ? n - 1 : i - 1)->tab;
            const int w = before.Width() < natural ? strip.Width() / n : natural;
            Page(i)->tab = CRect(x, strip.top, x + w, strip.bottom);
            x += w + 1;
        }
    }
    dc.SelectObject(old);
    if (repaint)
        Invalidate();
}

void CCoolTabCtrl::UpdateLayout()
{
    LayOut(false);
    if (!m_pages.IsEmpty())
        SelectPage(m_selected < 0 ? 0 : m_selected);
    Invalidate();
}

void CCoolTabCtrl::SelectPage(int index)
{
    if (index == m_selected)
        return;
    if (CWnd* previous = GetPageWindow(m_selected))
        previous->ShowWindow(SW_HIDE);
    CWnd* next = GetPageWindow(index);
    if (!next)
        return;
    m_selected = index;
    if (m_tabStyle & TCS_COOL_SLIDEIN) {
        // A selection during a slide starts the slide again for the new page.
        m_slideCounter = 10;
        SetTimer(TAB_SLIDE_TIMER, 15);
    } else {
        next->MoveWindow(ShrunkPageArea());
        next->ShowWindow(SW_SHOW);
    }
}

void CCoolTabCtrl::PlaceSlidingPage(int left, int right)
{
    CWnd* window = GetPageWindow(m_selected);
    if (!window)
        return;
    const CRect area = ShrunkPageArea();
    window->MoveWindow(area.left + left, area.top, right - left, area.Height());
    window->RedrawWindow();
}

void CCoolTabCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TAB_SLIDE_TIMER) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    const int W = ShrunkPageArea().Width();
    CWnd* window = GetPageWindow(m_selected);
    if (m_slideCounter == 10) {
        m_slideStep = W / 10;
        m_fillBackground = false;
        PlaceSlidingPage(11 - W, 10);
        if (window)
            window->ShowWindow(SW_SHOW);
        m_slideCounter = 9;
    } else if (m_slideCounter > 0) {
        PlaceSlidingPage(1 - m_slideCounter * m_slideStep, W - m_slideCounter * m_slideStep);
        --m_slideCounter;
    } else {
        m_slideCounter = 10;
        KillTimer(TAB_SLIDE_TIMER);
        m_fillBackground = true;
        if (window)
            window->MoveWindow(ShrunkPageArea());
    }
}

void CCoolTabCtrl::SetSlideIn(BOOL on)
{
    m_tabStyle = on ? (m_tabStyle | TCS_COOL_SLIDEIN) : (m_tabStyle & ~UINT(TCS_COOL_SLIDEIN));
}

void CCoolTabCtrl::SetTabPosition(int position)
{
    if (position == 2)
        m_tabStyle = (m_tabStyle | TCS_COOL_BOTTOM) & ~UINT(TCS_COOL_TOP);
    else
        m_tabStyle = (m_tabStyle | TCS_COOL_TOP) & ~UINT(TCS_COOL_BOTTOM);
    UpdateLayout();
}

void CCoolTabCtrl::SetEqualWidths(BOOL on)
{
    m_tabStyle = on ? (m_tabStyle | TCS_COOL_EQUALWIDTHS) : (m_tabStyle & ~UINT(TCS_COOL_EQUALWIDTHS));
    UpdateLayout();
}

BOOL CCoolTabCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_NOTIFY, wParam, lParam);
    *pResult = 0;
    return TRUE;
}

BOOL CCoolTabCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (m_fillBackground) {
        CRect r;
        GetClientRect(&r);
        pDC->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    }
    return TRUE;
}

void CCoolTabCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    LayOut(true);
}

CString CCoolTabCtrl::FitTitle(CDC* dc, const CString& title, int width) const
{
    std::string text = static_cast<LPCTSTR>(title);
    // Drops the last whole character; never past empty.
    auto dropOne = [&text] {
        size_t end = text.size();
        while (end > 0 && (BYTE(text[end - 1]) & 0xC0) == 0x80)
            --end;
        text.resize(end > 0 ? end - 1 : 0);
    };
    bool cut = false;
    for (int i = 0; i < 10 && !text.empty() && dc->GetTextExtent(text.c_str()).cx > width; ++i) {
        dropOne();
        cut = true;
    }
    if (cut) {
        dropOne();
        text += "...";
    }
    return CString(text.c_str());
}

void CCoolTabCtrl::DrawTab(CDC* dc, TabPage& page, bool selected)
{
    CRect r = page.tab;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CPen white(PS_SOLID, 1, RGB(255, 255, 255)), black(PS_SOLID, 1, RGB(0, 0, 0)),
        shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen* old = dc->SelectObject(&white);
    if (m_tabStyle & TCS_COOL_BOTTOM) {
        if (selected) {
            dc->FillSolidRect(r.left, r.top - 2, r.Width(), r.Height() + 2, face);
            r.top -= 1;
        } else {
            r.bottom -= 1;
        }
        dc->FillSolidRect(&r, face);
        dc->MoveTo(r.left, r.top);
        dc->LineTo(r.left, r.bottom - 1);
        dc->SelectObject(&shadow);
        dc->MoveTo(r.left + 1, r.bottom - 2);
        dc->LineTo(r.left + 1, r.bottom - 1);
        dc->LineTo(r.right - 1, r.bottom - 1);
        dc->MoveTo(r.right - 2, r.bottom - 2);
        dc->LineTo(r.right - 1, r.bottom - 2);
        dc->LineTo(r.right - 1, r.top - 1);
        dc->SelectObject(&black);
        dc->MoveTo(r.left + 2, r.bottom);
        dc->LineTo(r.right - 2, r.bottom);
        dc->LineTo(r.right, r.bottom - 2);
        dc->MoveTo(r.right, r.top);
        dc->LineTo(r.right, r.bottom - 1);
    } else {
        if (selected)
            dc->FillSolidRect(r.left, r.top, r.Width(), r.Height() + 1, face);
        else {
            r.top += 2;
            dc->FillSolidRect(&r, face);
        }
        dc->MoveTo(r.left, r.bottom);
        dc->LineTo(r.left, r.top + 2);
        dc->LineTo(r.left + 2, r.top);
        dc->LineTo(r.right, r.top);
        dc->SelectObject(&shadow);
        dc->MoveTo(r.right - 1, r.top);
        dc->LineTo(r.right - 1, r.bottom);
        dc->SelectObject(&black);
        dc->MoveTo(r.right, r.top + 1);
        dc->LineTo(r.right, r.bottom);
    }
    dc->SelectObject(old);
    CRect text(r.left + 5, r.top, r.right - 2, r.bottom);
    if (text.Width() > 18 && page.icon) {
        DrawIconEx(dc->GetSafeHdc(), text.left, text.top + 2, page.icon, 16, 16, 0, nullptr, DI_NORMAL);
        text.left += 18;
    }
    if (!page.title.IsEmpty()) {
        dc->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        const CString shown = FitTitle(dc, page.title, text.Width());
        dc->TextOut(text.left, text.top + 5, shown);
    }
}

void CCoolTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    CRect area = PageArea();
    dc.Draw3dRect(&area, RGB(0xE6, 0xE6, 0xE6), RGB(0x32, 0x32, 0x32));
    if (m_borderStyle == 2) {
        area.DeflateRect(1, 1);
        dc.Draw3dRect(&area, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
    }
    for (int i = 0; i < GetPageCount(); ++i) {
        if (i != m_selected)
            DrawTab(&dc, *Page(i), false);
    }
    if (TabPage* selected = Page(m_selected))
        DrawTab(&dc, *selected, true);
    dc.SelectObject(oldFont);
}

void CCoolTabCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (Page(i)->tab.PtInRect(point)) {
            SelectPage(i);
            Invalidate();
            break;
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CCoolTabCtrl::OnDestroy()
{
    KillTimer(TAB_SLIDE_TIMER);
    FreePages();
    m_font.DeleteObject();
    CWnd::OnDestroy();
}
