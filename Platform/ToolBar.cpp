#include "Platform/ToolBar.h"

#include "Platform/CmdTarget.h"
#include "Platform/Dc.h"
#include "Platform/FrameWnd.h"
#include "Platform/Icon.h"
#include "Platform/MessageMap.h"
#include "Platform/ResourceBitmaps.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

const int kSeparatorWidth = 8;

// The update state of one button, for the frame's update handlers.
class ToolCmdUI : public CCmdUI {
public:
    explicit ToolCmdUI(CToolBar* bar) : m_bar(bar) {}
    void Enable(BOOL bOn) override
    {
        m_bar->SendMessage(TB_ENABLEBUTTON, m_nID, bOn);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_checked = nCheck != 0; }
    void SetText(LPCTSTR) override {}
    bool m_checked = false;

private:
    CToolBar* m_bar;
};

} // namespace

CToolBar::CToolBar()
{
    m_cxLeftBorder = m_cxRightBorder = 4;
    m_cyTopBorder = m_cyBottomBorder = 2;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (rcBorders.left || rcBorders.top || rcBorders.right || rcBorders.bottom) {
        m_cxLeftBorder = rcBorders.left;
        m_cyTopBorder = rcBorders.top;
        m_cxRightBorder = rcBorders.right;
        m_cyBottomBorder = rcBorders.bottom;
    }
    const DWORD windowStyle = dwStyle & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_DISABLED);
    if (!CWnd::Create(nullptr, nullptr, windowStyle | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    if (m_dwStyle & CBRS_TOOLTIPS)
        m_tip.Create(this);
    return TRUE;
}

CSize CToolBar::GetButtonSize() const
{
    int cx = 16, cy = 15;
    if (m_images)
        ImageList_GetIconSize(m_images, &cx, &cy);
    return CSize(cx + 7, cy + 6);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CRect inside(0, 0, 32767, 32767);
    CalcInsideRect(inside, TRUE);
    const CSize button = GetButtonSize();
    int x = inside.left;
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        const int w = (m_buttons[size_t(i)].fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : button.cx;
        if (i == nIndex) {
            *lpRect = CRect(x, inside.top, x + w, inside.top + button.cy);
            return;
        }
        x += w;
    }
    *lpRect = CRect();
}

int CToolBar::ButtonAt(CPoint point) const
{
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        CRect r;
        GetItemRect(i, &r);
        if (r.PtInRect(point) && !(m_buttons[size_t(i)].fsStyle & TBSTYLE_SEP))
            return i;
    }
    return -1;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return int(::SendMessage(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(FALSE, bHorz);
    for (const TBBUTTON& button : m_buttons)
        size.cx += (button.fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : GetButtonSize().cx;
    size.cy += GetButtonSize().cy;
    if (bStretch && bHorz)
        size.cx = std::max<LONG>(size.cx, GetSystemMetrics(SM_CXSCREEN));
    return size;
}

void CToolBar::LayOutTips()
{
    if (!m_tip.GetSafeHwnd())
        return;
    for (UINT_PTR id : m_tipIds)
        m_tip.DelTool(this, id);
    m_tipIds.clear();
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        if (m_buttons[size_t(i)].fsStyle & TBSTYLE_SEP)
            continue;
        CRect r;
        GetItemRect(i, &r);
        m_tipIds.push_back(UINT_PTR(m_buttons[size_t(i)].idCommand));
        m_tip.AddTool(this, "", &r, m_tipIds.back());
    }
}

LRESULT CToolBar::OnToolBarMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int count = int(m_buttons.size());
    auto indexOf = [this](int id) {
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            if (m_buttons[i].idCommand == id && !(m_buttons[i].fsStyle & TBSTYLE_SEP))
                return int(i);
        }
        return -1;
    };
    switch (message) {
    case TB_SETIMAGELIST: {
        const HIMAGELIST old = m_images;
        m_images = reinterpret_cast<HIMAGELIST>(lParam);
        Invalidate();
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(m_images);
    case TB_BUTTONCOUNT:
        return count;
    case TB_INSERTBUTTON: {
        const auto* button = reinterpret_cast<const TBBUTTON*>(lParam);
        if (!button)
            return FALSE;
        const int at = int(wParam) < 0 || int(wParam) > count ? count : int(wParam);
        m_buttons.insert(m_buttons.begin() + at, *button);
        LayOutTips();
        Invalidate();
        return TRUE;
    }
    case TB_DELETEBUTTON:
        if (int(wParam) < 0 || int(wParam) >= count)
            return FALSE;
        m_buttons.erase(m_buttons.begin() + int(wParam));
        m_hot = m_pressed = -1;
        LayOutTips();
        Invalidate();
        return TRUE;
    case TB_GETBUTTON:
        if (int(wParam) < 0 || int(wParam) >= count || !lParam)
            return FALSE;
        *reinterpret_cast<TBBUTTON*>(lParam) = m_buttons[wParam];
        return TRUE;
    case TB_COMMANDTOINDEX:
        return indexOf(int(wParam));
    case TB_ENABLEBUTTON:
    case TB_ISBUTTONENABLED: {
        const int i = indexOf(int(wParam));
        if (i < 0)
            return FALSE;
        BYTE& state = m_buttons[size_t(i)].fsState;
        if (message == TB_ISBUTTONENABLED)
            return (state & TBSTATE_ENABLED) != 0;
        const BYTE next = LOWORD(lParam) ? BYTE(state | TBSTATE_ENABLED) : BYTE(state & ~TBSTATE_ENABLED);
        if (next != state) {
            state = next;
            Invalidate();
        }
        return TRUE;
    }
    case TB_GETITEMRECT:
        GetItemRect(int(wParam), reinterpret_cast<LPRECT>(lParam));
        return int(wParam) >= 0 && int(wParam) < count;
    default:
        return 0;
    }
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= TB_ENABLEBUTTON && message <= TB_GETIMAGELIST)
        return OnToolBarMessage(message, wParam, lParam);
    return CControlBar::WindowProc(message, wParam, lParam);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    ToolBarInfo info;
    if (!LoadToolBarResource(nIDResource, &info))
        return FALSE;
    const HINSTANCE module = AfxFindBitmapHandle(nIDResource);
    HBITMAP handle = module ? AfxLoadSysColorBitmap(module, nIDResource) : nullptr;
    if (!handle && module)
        handle = LoadBitmap(module, nIDResource);
    if (!handle)
        return FALSE;
    CBitmap bitmap;
    bitmap.Attach(handle);
    m_ownImages.DeleteImageList();
    m_ownImages.Create(info.width, info.height, ILC_COLORDDB | ILC_MASK, 0, 1);
    m_ownImages.Add(&bitmap, GetSysColor(COLOR_BTNFACE));
    m_images = m_ownImages.GetSafeHandle();
    m_buttons.clear();
    int image = 0;
    for (UINT id : info.ids) {
        TBBUTTON button = { id ? image++ : 0, int(id), TBSTATE_ENABLED, BYTE(id ? TBSTYLE_BUTTON : TBSTYLE_SEP), 0, -1 };
        m_buttons.push_back(button);
    }
    LayOutTips();
    Invalidate();
    return TRUE;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    ToolCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_buttons.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON& button = m_buttons[state.m_nIndex];
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nID = UINT(button.idCommand);
        state.m_checked = (button.fsState & TBSTATE_CHECKED) != 0;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
        const BYTE checked = state.m_checked ? BYTE(TBSTATE_CHECKED) : BYTE(0);
        if ((m_buttons[state.m_nIndex].fsState & TBSTATE_CHECKED) != checked) {
            m_buttons[state.m_nIndex].fsState = BYTE((m_buttons[state.m_nIndex].fsState & ~TBSTATE_CHECKED) | checked);
            Invalidate();
        }
    }
}

void CToolBar::DoPaint(CDC* pDC)
{
    CControlBar::DoPaint(pDC);
    DrawButtons(pDC);
}

void CToolBar::DrawButtons(CDC* pDC)
{
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    int cx = 16, cy = 15;
    if (m_images)
        ImageList_GetIconSize(m_images, &cx, &cy);
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        const TBBUTTON& button = m_buttons[size_t(i)];
        CRect r;
        GetItemRect(i, &r);
        if (button.fsStyle & TBSTYLE_SEP) {
            const int x = r.left + r.Width() / 2 - 1;
            pDC->FillSolidRect(x, r.top, 1, r.Height(), shadow);
            pDC->FillSolidRect(x + 1, r.top, 1, r.Height(), light);
            continue;
        }
        const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        const bool down = (i == m_pressed && i == m_hot) || (button.fsState & TBSTATE_CHECKED);
        CPoint at(r.left + (r.Width() - cx) / 2, r.top + (r.Height() - cy) / 2);
        if (enabled && down) {
            pDC->Draw3dRect(&r, shadow, light);
            at.Offset(1, 1);
        } else if (enabled && i == m_hot) {
            pDC->Draw3dRect(&r, light, shadow);
        }
        if (!m_images)
            continue;
        if (enabled) {
            ImageList_Draw(m_images, button.iBitmap, pDC->GetSafeHdc(), at.x, at.y, ILD_TRANSPARENT);
        } else if (HICON icon = ImageList_GetIcon(m_images, button.iBitmap, 0)) {
            pDC->DrawState(at, CSize(cx, cy), icon, DST_ICON | DSS_DISABLED);
            DestroyIcon(icon);
        }
    }
}

void CToolBar::AskTip(int index)
{
    if (index < 0)
        return;
    const UINT id = UINT(m_buttons[size_t(index)].idCommand);
    TOOLTIPTEXTA tip = {};
    tip.hdr = { m_hWnd, id, TTN_NEEDTEXTA };
    if (CWnd* owner = GetOwner())
        owner->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&tip));
    if (m_tip.GetSafeHwnd())
        m_tip.UpdateTipText(tip.lpszText ? tip.lpszText : tip.szText, this, id);
}

void CToolBar::ShowFlyByPrompt()
{
    CFrameWnd* frame = GetTopLevelFrame();
    if (!(m_dwStyle & CBRS_FLYBY) || !frame)
        return;
    const bool onButton = m_hot >= 0 && size_t(m_hot) < m_buttons.size() && !(m_buttons[size_t(m_hot)].fsStyle & TBSTYLE_SEP);
    frame->SetMessageText(onButton ? UINT(m_buttons[size_t(m_hot)].idCommand) : UINT(AFX_IDS_IDLEMESSAGE));
}

void CToolBar::OnMouseMove(UINT, CPoint point)
{
    const int hot = ButtonAt(point);
    const int enabledHot = hot >= 0 && (m_buttons[size_t(hot)].fsState & TBSTATE_ENABLED) ? hot : -1;
    if (enabledHot != m_hot) {
        m_hot = enabledHot;
        Invalidate();
        AskTip(hot);
        ShowFlyByPrompt();
    }
    if (m_tip.GetSafeHwnd()) {
        MSG msg = { m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(WORD(point.x), WORD(point.y)), 0, {} };
        m_tip.RelayEvent(&msg);
    }
}

void CToolBar::OnLButtonDown(UINT, CPoint point)
{
    const int i = ButtonAt(point);
    if (i < 0) {
        CControlBar::OnLButtonDown(0, point);
        return;
    }
    if (!(m_buttons[size_t(i)].fsState & TBSTATE_ENABLED))
        return;
    m_pressed = m_hot = i;
    SetCapture();
    Invalidate();
}

void CToolBar::OnLButtonUp(UINT, CPoint point)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (GetCapture() == this)
        ReleaseCapture();
    Invalidate();
    if (pressed >= 0 && ButtonAt(point) == pressed) {
        if (CWnd* owner = GetOwner())
            owner->SendMessage(WM_COMMAND, WPARAM(m_buttons[size_t(pressed)].idCommand), 0);
    }
}
