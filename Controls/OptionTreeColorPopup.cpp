#include "Controls/OptionTreeColorPopup.h"

#include "Platform/CommonDialogs.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(COptionTreeColorPopup, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

namespace {

struct NamedColor {
    COLORREF color;
    const char* name;
};

const NamedColor kColors[] = {
    { RGB(0, 0, 0), "Black" },
    { RGB(165, 42, 0), "Brown" },
    { RGB(0, 64, 64), "Dark Olive Green" },
    { RGB(0, 85, 0), "Dark Green" },
    { RGB(0, 0, 94), "Dark Teal" },
    { RGB(0, 0, 139), "Dark Blue" },
    { RGB(75, 0, 130), "Indigo" },
    { RGB(40, 40, 40), "Gray-80%" },
    { RGB(139, 0, 0), "Dark Red" },
    { RGB(255, 104, 32), "Orange" },
    { RGB(139, 139, 0), "Dark Yellow" },
    { RGB(0, 147, 0), "Green" },
    { RGB(56, 142, 142), "Teal" },
    { RGB(0, 0, 255), "Blue" },
    { RGB(123, 123, 192), "Blue-Gray" },
    { RGB(102, 102, 102), "Gray-50%" },
    { RGB(255, 0, 0), "Red" },
    { RGB(255, 173, 91), "Light Orange" },
    { RGB(50, 205, 50), "Lime" },
    { RGB(60, 179, 113), "Sea Green" },
    { RGB(127, 255, 212), "Aqua" },
    { RGB(125, 158, 192), "Light Blue" },
    { RGB(128, 0, 128), "Violet" },
    { RGB(127, 127, 127), "Gray-40%" },
    { RGB(255, 192, 203), "Pink" },
    { RGB(255, 215, 0), "Gold" },
    { RGB(255, 255, 0), "Yellow" },
    { RGB(0, 255, 0), "Bright Green" },
    { RGB(64, 224, 208), "Turquoise" },
    { RGB(192, 255, 255), "Skyblue" },
    { RGB(72, 0, 72), "Plum" },
    { RGB(192, 192, 192), "Gray-25%" },
    { RGB(255, 228, 225), "Rose" },
    { RGB(210, 180, 140), "Tan" },
    { RGB(255, 255, 224), "Light Yellow" },
    { RGB(152, 251, 152), "Pale Green " },
    { RGB(175, 238, 238), "Pale Turquoise" },
    { RGB(104, 131, 139), "Pale Blue" },
    { RGB(230, 230, 250), "Lavender" },
    { RGB(255, 255, 255), "White" },
};

const int kCount = int(sizeof kColors / sizeof kColors[0]);
const int kNone = -1;
const int kCustom = -2;
const int kAutomatic = -3;
const int kOutside = -4;

} // namespace

int COptionTreeColorPopup::GetColorCount() { return kCount; }
COLORREF COptionTreeColorPopup::GetColor(int nIndex) { return nIndex >= 0 && nIndex < kCount ? kColors[nIndex].color : 0; }
LPCTSTR COptionTreeColorPopup::GetColorName(int nIndex)
{
    return nIndex >= 0 && nIndex < kCount ? kColors[nIndex].name : "";
}

COptionTreeColorPopup::COptionTreeColorPopup() = default;

COptionTreeColorPopup::COptionTreeColorPopup(CPoint ptScreen, COLORREF crInitial, COLORREF crAutomatic,
                                             CWnd* pNotifyWnd, LPCTSTR lpszAutomaticText, LPCTSTR lpszCustomText)
    : m_strAutomatic(lpszAutomaticText ? lpszAutomaticText : ""),
      m_strCustom(lpszCustomText ? lpszCustomText : ""),
      m_crInitial(crInitial),
      m_crCurrent(crInitial),
      m_crAutomatic(crAutomatic),
      m_hNotify(pNotifyWnd ? pNotifyWnd->GetSafeHwnd() : nullptr)
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMessageFont);
    LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, cls, "", WS_POPUP, ptScreen.x, ptScreen.y, 100, 100, m_hNotify, nullptr))
        return;
    Layout(ptScreen);
    MakeTooltips();
    m_nChosen = kNone;
    if (!m_strAutomatic.IsEmpty() && crInitial == crAutomatic) {
        m_nChosen = kAutomatic;
    } else {
        for (int i = 0; i < kCount && m_nChosen == kNone; ++i) {
            if (kColors[i].color == crInitial)
                m_nChosen = i;
        }
        if (m_nChosen == kNone && !m_strCustom.IsEmpty())
            m_nChosen = kCustom;
    }
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    SetCapture();
}

void COptionTreeColorPopup::Layout(CPoint ptScreen)
{
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_font);
    const CSize automatic = dc.GetTextExtent(m_strAutomatic.IsEmpty() ? " " : static_cast<LPCTSTR>(m_strAutomatic));
    const CSize custom = dc.GetTextExtent(m_strCustom.IsEmpty() ? " " : static_cast<LPCTSTR>(m_strCustom));
    dc.SelectObject(old);
    const int textWidth = std::max(automatic.cx, custom.cx) + 2 * m_nMargin;
    const int textHeight = std::max(automatic.cy, custom.cy) + 4 * m_nMargin + 2;
    m_nColumns = 8;
    m_nRows = (kCount + m_nColumns - 1) / m_nColumns;
    int width = m_nColumns * m_nBoxSize + 2 * m_nMargin;
    int height = m_nRows * m_nBoxSize + 2 * m_nMargin;
    m_rcAutomatic.SetRectEmpty();
    m_rcCustom.SetRectEmpty();
    if (!m_strAutomatic.IsEmpty()) {
        width = std::max(width, textWidth);
        m_rcAutomatic = CRect(m_nMargin, m_nMargin, width - m_nMargin, textHeight + 2 * m_nMargin);
        height += textHeight + 3 * m_nMargin;
    }
    if (!m_strCustom.IsEmpty()) {
        width = std::max(width, textWidth);
        m_rcCustom = CRect(m_nMargin, height, width - m_nMargin, height + m_nMargin + textHeight);
        height += textHeight + 3 * m_nMargin;
    }
    CRect window(ptScreen.x, ptScreen.y, ptScreen.x + width, ptScreen.y + height);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (window.right > screenWidth)
        window.OffsetRect(screenWidth - window.right, 0);
    if (window.left < 0)
        window.OffsetRect(-window.left, 0);
    if (window.bottom > screenHeight) {
        CRect notify;
        if (::IsWindow(m_hNotify))
            CWnd::FromHandle(m_hNotify)->GetWindowRect(&notify);
        window.OffsetRect(0, -(window.Height() + notify.Height()));
    }
    m_rcWindow = window;
    SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void COptionTreeColorPopup::MakeTooltips()
{
    if (!m_tooltip.Create(this))
        return;
    for (int i = 0; i < kCount; ++i) {
        const CRect cell = GetCellRect(i);
        m_tooltip.AddTool(this, kColors[i].name, &cell, UINT_PTR(i + 1));
    }
    m_tooltip.Activate(TRUE);
}

CRect COptionTreeColorPopup::GetCellRect(int nIndex) const
{
    const int column = nIndex % m_nColumns, row = nIndex / m_nColumns;
    const int left = column * m_nBoxSize + m_nMargin;
    int top = row * m_nBoxSize + m_nMargin;
    if (!m_rcAutomatic.IsRectEmpty())
        top += m_rcAutomatic.Height() + m_nMargin;
    return CRect(left, top, left + m_nBoxSize, top + m_nBoxSize);
}

CRect COptionTreeColorPopup::BoxOf(int nIndex) const
{
    return nIndex == kCustom ? m_rcCustom : nIndex == kAutomatic ? m_rcAutomatic : nIndex >= 0 ? GetCellRect(nIndex) : CRect();
}

int COptionTreeColorPopup::IndexAt(CPoint point) const
{
    if (!m_rcCustom.IsRectEmpty() && m_rcCustom.PtInRect(point))
        return kCustom;
    if (!m_rcAutomatic.IsRectEmpty() && m_rcAutomatic.PtInRect(point))
        return kAutomatic;
    int y = point.y - m_nMargin;
    if (!m_rcAutomatic.IsRectEmpty())
        y -= m_rcAutomatic.Height() + m_nMargin;
    const int x = point.x - m_nMargin;
    if (x < 0 || y < 0)
        return kOutside;
    const int row = y / m_nBoxSize, column = x / m_nBoxSize;
    if (column >= m_nColumns || row >= m_nRows || row * m_nColumns + column >= kCount)
        return kOutside;
    return row * m_nColumns + column;
}

void COptionTreeColorPopup::Hover(int nIndex)
{
    if (nIndex == m_nHover)
        return;
    m_nHover = nIndex;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (nIndex >= 0)
        m_crCurrent = kColors[nIndex].color;
    else if (nIndex == kAutomatic)
        m_crCurrent = m_crAutomatic;
    Report(OT_COLOR_HOVER, nIndex == kCustom ? m_crInitial : m_crCurrent);
}

void COptionTreeColorPopup::Report(UINT message, COLORREF color)
{
    if (::IsWindow(m_hNotify))
        ::SendMessage(m_hNotify, message, WPARAM(color), 0);
}

BOOL COptionTreeColorPopup::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    if (!m_bEnded && !m_bDialogOpen && GetCapture() != this)
        SetCapture();
    return CWnd::PreTranslateMessage(pMsg);
}

void COptionTreeColorPopup::OnMouseMove(UINT nFlags, CPoint point)
{
    const int index = IndexAt(point);
    if (index != kOutside)
        Hover(index);
    CWnd::OnMouseMove(nFlags, point);
}

void COptionTreeColorPopup::OnLButtonUp(UINT, CPoint point)
{
    ClientToScreen(&point);
    End(m_rcWindow.PtInRect(point) != 0);
}

int COptionTreeColorPopup::KeyTarget(UINT nChar) const
{
    const bool hasAutomatic = !m_rcAutomatic.IsRectEmpty();
    const bool hasCustom = !m_rcCustom.IsRectEmpty();
    const int last = kCount - 1;
    const int customElseAutoElseFirst = hasCustom ? kCustom : hasAutomatic ? kAutomatic : 0;
    const int autoElseCustomElseLast = hasAutomatic ? kAutomatic : hasCustom ? kCustom : last;
    const int h = m_nHover;
    switch (nChar) {
    case VK_DOWN:
        if (h >= 0)
            return h + m_nColumns <= last ? h + m_nColumns : customElseAutoElseFirst;
        if (h == kAutomatic)
            return 0;
        if (h == kCustom)
            return hasAutomatic ? kAutomatic : 0;
        return customElseAutoElseFirst;
    case VK_UP:
        if (h >= 0)
            return h - m_nColumns >= 0 ? h - m_nColumns : autoElseCustomElseLast;
        if (h == kAutomatic)
            return hasCustom ? kCustom : last;
        if (h == kCustom)
            return last;
        return autoElseCustomElseLast;
    case VK_RIGHT:
        if (h >= 0)
            return h < last ? h + 1 : customElseAutoElseFirst;
        if (h == kAutomatic)
            return 0;
        if (h == kCustom)
            return hasAutomatic ? kAutomatic : 0;
        return customElseAutoElseFirst;
    case VK_LEFT:
        if (h >= 0)
            return h > 0 ? h - 1 : autoElseCustomElseLast;
        if (h == kAutomatic)
            return hasCustom ? kCustom : last;
        if (h == kCustom)
            return last;
        return autoElseCustomElseLast;
    default:
        return kOutside;
    }
}

void COptionTreeColorPopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const int target = KeyTarget(nChar);
    if (target != kOutside) {
        Hover(target);
        return;
    }
    if (nChar == VK_RETURN || nChar == VK_SPACE) {
        End(true);
        return;
    }
    if (nChar == VK_ESCAPE) {
        m_crCurrent = m_crInitial;
        End(false);
        return;
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void COptionTreeColorPopup::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    if (GetCapture() == this)
        ReleaseCapture();
}

void COptionTreeColorPopup::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CWnd::OnActivateApp(bActive, dwThreadID);
    if (!bActive)
        End(false);
}

void COptionTreeColorPopup::End(bool chosen)
{
    if (m_bDialogOpen) {
        Report(chosen ? OT_COLOR_CHOSEN : OT_COLOR_CANCEL, m_crCurrent);
        return;
    }
    if (m_bEnded)
        return;
    m_bEnded = true;
    if (GetCapture() == this)
        ReleaseCapture();
    if (!chosen) {
        m_crCurrent = m_crInitial;
    } else if (m_nHover == kCustom) {
        m_bDialogOpen = TRUE;
        CHOOSECOLOR cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = m_hWnd;
        cc.rgbResult = m_crInitial;
        cc.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
        if (ChooseColor(&cc)) {
            m_crCurrent = cc.rgbResult;
        } else {
            chosen = false;
            m_crCurrent = m_crInitial;
        }
        m_bDialogOpen = FALSE;
    }
    const HWND self = m_hWnd;
    Report(chosen ? OT_COLOR_CHOSEN : OT_COLOR_CANCEL, m_crCurrent);
    if (::IsWindow(self))
        DestroyWindow();
}

void COptionTreeColorPopup::PostNcDestroy() { delete this; }

BOOL COptionTreeColorPopup::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeColorPopup::DrawCell(CDC* pDC, int nIndex)
{
    CRect box = GetCellRect(nIndex);
    const bool hovered = nIndex == m_nHover, chosen = nIndex == m_nChosen;
    if (chosen && !hovered) {
        static const WORD halftone[8] = { 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 };
        CBitmap pattern;
        pattern.CreateBitmap(8, 8, 1, 1, halftone);
        CBrush brush;
        brush.CreatePatternBrush(&pattern);
        const COLORREF oldText = pDC->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
        const COLORREF oldBack = pDC->SetBkColor(GetSysColor(COLOR_BTNFACE));
        pDC->FillRect(&box, &brush);
        pDC->SetTextColor(oldText);
        pDC->SetBkColor(oldBack);
    } else {
        pDC->FillSolidRect(&box, GetSysColor(COLOR_BTNFACE));
    }
    if (hovered)
        pDC->DrawEdge(&box, BDR_RAISEDINNER, BF_RECT);
    else if (chosen)
        pDC->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
    box.DeflateRect(m_nMargin + 1, m_nMargin + 1);
    CBrush fill(kColors[nIndex].color);
    CPen outline(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CBrush* oldBrush = pDC->SelectObject(&fill);
    CPen* oldPen = pDC->SelectObject(&outline);
    pDC->Rectangle(&box);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void COptionTreeColorPopup::DrawAutomatic(CDC* pDC)
{
    CRect box = m_rcAutomatic;
    pDC->FillSolidRect(&box, GetSysColor(COLOR_BTNFACE));
    box.DeflateRect(1, 1);
    if (m_nHover == kAutomatic)
        pDC->DrawEdge(&box, BDR_RAISEDINNER, BF_RECT);
    else if (m_nChosen == kAutomatic)
        pDC->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
    CPen outline(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen* oldPen = pDC->SelectObject(&outline);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(box.left + 3, box.top + 2, box.right - 3, box.bottom - 3);
    CRect swatch(box.left + 3, box.top + 2, box.left + 3 + m_nBoxSize, box.top + 2 + m_nBoxSize);
    swatch.DeflateRect(m_nMargin + 1, m_nMargin + 1);
    CBrush fill(m_crAutomatic);
    pDC->SelectObject(&fill);
    pDC->Rectangle(&swatch);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
    CFont* oldFont = pDC->SelectObject(&m_font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    pDC->DrawText(m_strAutomatic, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(oldFont);
}

void COptionTreeColorPopup::DrawCustom(CDC* pDC)
{
    CRect box = m_rcCustom;
    pDC->FillSolidRect(box.left, box.top + 2 * m_nMargin, box.Width(), box.Height() - 2 * m_nMargin,
                       GetSysColor(COLOR_BTNFACE));
    pDC->FillSolidRect(box.left + 2 * m_nMargin, box.top, box.Width() - 4 * m_nMargin, 1, GetSysColor(COLOR_BTNSHADOW));
    pDC->FillSolidRect(box.left + 2 * m_nMargin, box.top + 1, box.Width() - 4 * m_nMargin, 1,
                       GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect inner = box;
    inner.top += 2 * m_nMargin;
    inner.DeflateRect(1, 1);
    const bool hovered = m_nHover == kCustom;
    pDC->FillSolidRect(&inner, GetSysColor(m_nChosen == kCustom && !hovered ? COLOR_3DLIGHT : COLOR_BTNFACE));
    if (hovered)
        pDC->DrawEdge(&inner, BDR_RAISEDINNER, BF_RECT);
    CFont* oldFont = pDC->SelectObject(&m_font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    pDC->DrawText(m_strCustom, &inner, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(oldFont);
}

void COptionTreeColorPopup::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    if (!m_rcAutomatic.IsRectEmpty())
        DrawAutomatic(&dc);
    for (int i = 0; i < kCount; ++i)
        DrawCell(&dc, i);
    if (!m_rcCustom.IsRectEmpty())
        DrawCustom(&dc);
    dc.DrawEdge(&client, EDGE_RAISED, BF_RECT);
}
