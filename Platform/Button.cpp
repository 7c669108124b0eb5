// The button control's class procedure: its state (check, pressed),
// the mouse and Space clicks, and the classic pictures of each kind.
// Invariant: `pressed` is only set while the button holds the capture
// (mouse) or Space is down on it.
#include "Platform/Button.h"

#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <mutex>

IMPLEMENT_DYNAMIC(CButton, CWnd)

namespace {

class ButtonState : public QObject {
public:
    explicit ButtonState(WndData* d) : QObject(d->clientWidget) {}
    static ButtonState* Of(HWND hWnd)
    {
        WndData* d = WndData::From(hWnd);
        if (!d || !d->clientWidget)
            return nullptr;
        auto* s = d->clientWidget->findChild<ButtonState*>(QString(), Qt::FindDirectChildrenOnly);
        return s ? s : new ButtonState(d);
    }
    int check = BST_UNCHECKED;
    bool pressed = false;
    bool captured = false;
};

DWORD Kind(HWND hWnd) { return CWnd::FromHandle(hWnd)->GetStyle() & BS_TYPEMASK; }

bool IsCheckBox(DWORD kind) { return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX; }

void SetPressed(HWND hWnd, ButtonState* s, bool pressed)
{
    if (s->pressed == pressed)
        return;
    s->pressed = pressed;
    CWnd::FromHandle(hWnd)->Invalidate(FALSE);
}

void Click(HWND hWnd)
{
    ButtonState* s = ButtonState::Of(hWnd);
    if (Kind(hWnd) == BS_AUTOCHECKBOX) {
        s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        CWnd::FromHandle(hWnd)->Invalidate(FALSE);
    }
    NotifyParent(hWnd, BN_CLICKED);
}

UINT DialogCode(HWND hWnd)
{
    switch (Kind(hWnd)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

// The background a check box or group box shows: the parent's answer to
// WM_CTLCOLORSTATIC, else the button face.
void FillBackground(CDC& dc, HWND hWnd, const CRect& client)
{
    HBRUSH brush = nullptr;
    if (CWnd* parent = CWnd::FromHandle(hWnd)->GetParent())
        brush = reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                                             reinterpret_cast<LPARAM>(hWnd)));
    if (brush)
        dc.FillRect(&client, CBrush::FromHandle(brush));
    else
        dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
}

std::string TextOf(CWnd* wnd)
{
    std::string text(size_t(wnd->GetWindowTextLength()) + 1, '\0');
    wnd->GetWindowText(text.data(), int(text.size()));
    text.resize(text.size() - 1);
    return text;
}

void PaintPush(CDC& dc, CWnd* wnd, ButtonState* s, const CRect& client, bool focused)
{
    CRect r = client;
    if (Kind(wnd->GetSafeHwnd()) == BS_DEFPUSHBUTTON || focused) {
        dc.FrameRect(&r, CBrush::FromHandle(GetSysColorBrush(COLOR_WINDOWFRAME)));
        r.DeflateRect(1, 1);
    }
    dc.DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | (s->pressed ? DFCS_PUSHED : 0));
    CRect text = r;
    if (s->pressed)
        text.OffsetRect(1, 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(wnd->IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    dc.DrawText(TextOf(wnd).c_str(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        CRect focus = r;
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(&focus);
    }
}

void PaintCheck(CDC& dc, CWnd* wnd, ButtonState* s, const CRect& client, bool focused)
{
    FillBackground(dc, wnd->GetSafeHwnd(), client);
    const int box = 13;
    CRect mark(client.left, client.top, client.left + box, client.bottom);
    UINT state = DFCS_BUTTONCHECK;
    if (s->check == BST_CHECKED)
        state |= DFCS_CHECKED;
    if (s->pressed)
        state |= DFCS_PUSHED;
    if (!wnd->IsWindowEnabled())
        state |= DFCS_INACTIVE;
    dc.DrawFrameControl(&mark, DFC_BUTTON, state);
    const std::string text = TextOf(wnd);
    CRect label(client.left + box + 4, client.top, client.right, client.bottom);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(wnd->IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    dc.DrawText(text.c_str(), &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (focused && !text.empty()) {
        const CSize extent = dc.GetTextExtent(text.c_str());
        const int top = label.top + (label.Height() - extent.cy) / 2;
        CRect focus(label.left - 1, top - 1, label.left + extent.cx + 1, top + extent.cy + 1);
        dc.DrawFocusRect(&focus);
    }
}

void PaintGroup(CDC& dc, CWnd* wnd, const CRect& client)
{
    FillBackground(dc, wnd->GetSafeHwnd(), client);
    const std::string text = TextOf(wnd);
    const CSize extent = dc.GetTextExtent(text.empty() ? "X" : text.c_str());
    CRect frame = client;
    frame.top += extent.cy / 2;
    dc.DrawEdge(&frame, EDGE_ETCHED, BF_RECT);
    if (text.empty())
        return;
    CRect label(client.left + 8, client.top, client.left + 8 + extent.cx + 4, client.top + extent.cy);
    dc.FillSolidRect(&label, dc.GetBkColor());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(wnd->IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    label.left += 2;
    dc.DrawText(text.c_str(), &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void PaintOwnerDrawn(CDC& dc, CWnd* wnd, ButtonState* s, const CRect& client, bool focused)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = UINT(wnd->GetDlgCtrlID());
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (s->pressed ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0) |
                     (wnd->IsWindowEnabled() ? 0 : ODS_DISABLED);
    item.hwndItem = wnd->GetSafeHwnd();
    item.hDC = dc.GetSafeHdc();
    item.rcItem = client;
    if (CWnd* parent = wnd->GetParent())
        parent->SendMessage(WM_DRAWITEM, WPARAM(item.CtlID), reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    ButtonState* s = ButtonState::Of(hWnd);
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    const bool focused = ::GetFocus() == hWnd;
    CFont* oldFont = dc.SelectObject(wnd->GetFont());
    switch (Kind(hWnd)) {
    case BS_OWNERDRAW: PaintOwnerDrawn(dc, wnd, s, client, focused); break;
    case BS_GROUPBOX: PaintGroup(dc, wnd, client); break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: PaintCheck(dc, wnd, s, client, focused); break;
    default: PaintPush(dc, wnd, s, client, focused); break;
    }
    dc.SelectObject(oldFont);
}

LRESULT OnMouse(HWND hWnd, UINT message, LPARAM lParam)
{
    ButtonState* s = ButtonState::Of(hWnd);
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CRect client;
    wnd->GetClientRect(&client);
    const bool inside = client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        wnd->SetFocus();
        s->captured = true;
        wnd->SetCapture();
        SetPressed(hWnd, s, true);
        break;
    case WM_MOUSEMOVE:
        if (s->captured)
            SetPressed(hWnd, s, inside);
        break;
    case WM_LBUTTONUP:
        if (!s->captured)
            break;
        s->captured = false;
        SetPressed(hWnd, s, false);
        ReleaseCapture();
        if (inside)
            Click(hWnd);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT ButtonProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool group = Kind(hWnd) == BS_GROUPBOX;
    switch (message) {
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_GETDLGCODE:
        return DialogCode(hWnd);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return group ? 0 : OnMouse(hWnd, message, lParam);
    case WM_CAPTURECHANGED:
        if (ButtonState* s = ButtonState::Of(hWnd); s->captured && reinterpret_cast<HWND>(lParam) != hWnd) {
            s->captured = false;
            SetPressed(hWnd, s, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !group)
            SetPressed(hWnd, ButtonState::Of(hWnd), true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && ButtonState::Of(hWnd)->pressed) {
            SetPressed(hWnd, ButtonState::Of(hWnd), false);
            Click(hWnd);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_SETTEXT: {
        const LRESULT done = ::DefWindowProc(hWnd, message, wParam, lParam);
        CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        return done;
    }
    case BM_GETCHECK:
        return ButtonState::Of(hWnd)->check;
    case BM_SETCHECK:
        if (IsCheckBox(Kind(hWnd))) {
            ButtonState::Of(hWnd)->check = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
            CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        }
        return 0;
    case BM_GETSTATE: {
        ButtonState* s = ButtonState::Of(hWnd);
        return s->check | (s->pressed ? BST_PUSHED : 0) | (::GetFocus() == hWnd ? BST_FOCUS : 0);
    }
    case BM_SETSTATE:
        SetPressed(hWnd, ButtonState::Of(hWnd), wParam != 0);
        return 0;
    case BM_SETSTYLE:
        CWnd::ModifyStyle(hWnd, BS_TYPEMASK, DWORD(wParam) & BS_TYPEMASK, 0);
        if (lParam)
            CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        return 0;
    case BM_CLICK:
        if (!group && CWnd::FromHandle(hWnd)->IsWindowEnabled())
            Click(hWnd);
        return 0;
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_BUTTON, ButtonProc); });
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RegisterButtonClass();
    return CWnd::Create(WC_BUTTON, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const { return int(::SendMessage(m_hWnd, BM_GETCHECK, 0, 0)); }

void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, WPARAM(nCheck)); }

UINT CButton::GetState() const { return UINT(::SendMessage(m_hWnd, BM_GETSTATE, 0, 0)); }

void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, WPARAM(bHighlight)); }

UINT CButton::GetButtonStyle() const { return UINT(GetStyle() & BS_TYPEMASK); }

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }

void CButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    ::SendMessage(::GetDlgItem(m_hWnd, nIDButton), BM_SETCHECK, nCheck, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    return UINT(::SendMessage(::GetDlgItem(m_hWnd, nIDButton), BM_GETCHECK, 0, 0));
}

BEGIN_MESSAGE_MAP(CButton, CWnd)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()
