#include "Controls/OptionTreeFontSelColorButton.h"

#include "Platform/Dc.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNCREATE(COptionTreeFontSelColorButton, CButton)

BEGIN_MESSAGE_MAP(COptionTreeFontSelColorButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_MESSAGE(OT_COLOR_CHOSEN, OnColorChosen)
    ON_MESSAGE(OT_COLOR_CANCEL, OnColorCancel)
    ON_MESSAGE(OT_COLOR_HOVER, OnColorHover)
END_MESSAGE_MAP()

COptionTreeFontSelColorButton::COptionTreeFontSelColorButton() : m_crAutomatic(GetSysColor(COLOR_APPWORKSPACE)) {}

void COptionTreeFontSelColorButton::SetColor(COLORREF crColor)
{
    m_crColor = crColor;
    if (GetSafeHwnd())
        RepaintNow();
}

void COptionTreeFontSelColorButton::RepaintNow()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COptionTreeFontSelColorButton::Tell(UINT message, COLORREF crColor)
{
    CWnd* parent = GetParent();
    if (parent && parent->GetSafeHwnd())
        parent->SendMessage(message, WPARAM(crColor), LPARAM(GetDlgCtrlID()));
}

void COptionTreeFontSelColorButton::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void COptionTreeFontSelColorButton::OnClicked()
{
    m_bTracking = TRUE;
    CRect r;
    GetWindowRect(&r);
    new COptionTreeColorPopup(CPoint(r.left, r.bottom), m_crColor, m_crAutomatic, this, m_strAutomatic,
                              m_strCustom);
    Tell(OT_COLOR_POPUPOPEN, m_crColor);
}

LRESULT COptionTreeFontSelColorButton::OnColorChosen(WPARAM wParam, LPARAM)
{
    const COLORREF old = m_crColor;
    m_bTracking = FALSE;
    m_crColor = COLORREF(wParam);
    Tell(OT_COLOR_POPUPCLOSE, m_crColor);
    Tell(OT_COLOR_CHOSEN, m_crColor);
    if (m_crColor != old)
        Tell(OT_COLOR_HOVER, m_crColor);
    if (GetSafeHwnd())
        RepaintNow();
    return 1;
}

LRESULT COptionTreeFontSelColorButton::OnColorCancel(WPARAM wParam, LPARAM)
{
    m_bTracking = FALSE;
    m_crColor = COLORREF(wParam);
    Tell(OT_COLOR_POPUPCLOSE, m_crColor);
    Tell(OT_COLOR_CANCEL, m_crColor);
    if (GetSafeHwnd())
        RepaintNow();
    return 1;
}

LRESULT COptionTreeFontSelColorButton::OnColorHover(WPARAM wParam, LPARAM)
{
    if (m_bTrackSelection)
        m_crColor = COLORREF(wParam);
    RepaintNow();
    Tell(OT_COLOR_HOVER, COLORREF(wParam));
    return 1;
}

void COptionTreeFontSelColorButton::DrawArrow(CDC* pDC, const CRect& rect, int nDirection, COLORREF crColor)
{
    const CPoint mid = rect.CenterPoint();
    POINT corners[3];
    switch (nDirection) {
    case 1: corners[0] = { rect.left, rect.bottom }; corners[1] = { rect.right, rect.bottom }; corners[2] = { mid.x, rect.top }; break;
    case 2: corners[0] = { rect.right, rect.top }; corners[1] = { rect.right, rect.bottom }; corners[2] = { rect.left, mid.y }; break;
    case 3: corners[0] = { rect.left, rect.top }; corners[1] = { rect.left, rect.bottom }; corners[2] = { rect.right, mid.y }; break;
    default: corners[0] = { rect.left, rect.top }; corners[1] = { rect.right, rect.top }; corners[2] = { mid.x, rect.bottom }; break;
    }
    CPen pen(PS_SOLID, 1, crColor);
    CBrush brush(crColor);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    const int oldMode = pDC->SetPolyFillMode(WINDING);
    pDC->Polygon(corners, 3);
    pDC->SetPolyFillMode(oldMode);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void COptionTreeFontSelColorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    UINT state = lpDrawItemStruct->itemState;
    if (m_bTracking)
        state |= ODS_SELECTED | ODS_FOCUS;
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    CRect r = lpDrawItemStruct->rcItem;
    dc->DrawFrameControl(&r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
    if (pressed)
        r.OffsetRect(1, 1);
    if (state & ODS_FOCUS) {
        CRect focus = r;
        focus.right -= 1;
        dc->DrawFocusRect(&focus);
    }
    const int e = GetSystemMetrics(SM_CXEDGE);
    r.DeflateRect(e, GetSystemMetrics(SM_CYEDGE));

    const int x = r.right - e / 2;
    const int m = (r.top + r.bottom) / 2;
    DrawArrow(dc, CRect(x - 4, m - 1, x, m + 1), 0, disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));

    r.right = x - 4 - e / 2;
    dc->DrawEdge(&r, EDGE_ETCHED, BF_RIGHT);
    r.right -= 2 * e + 1;
    if (disabled)
        return;
    const COLORREF shown = m_crColor == OT_COLOR_AUTOMATIC ? m_crAutomatic : m_crColor;
    dc->FillSolidRect(&r, shown);
    dc->FrameRect(&r, CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
}

void DDX_ColorButton(CDataExchange* pDX, int nIDC, COLORREF& crColor)
{
    auto* button = dynamic_cast<COptionTreeFontSelColorButton*>(CWnd::FromHandlePermanent(pDX->PrepareCtrl(nIDC)));
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        crColor = button->GetColor();
    else
        button->SetColor(crColor);
}
