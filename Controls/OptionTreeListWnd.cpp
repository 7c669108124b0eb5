#include "Controls/OptionTreeListWnd.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/Cursor.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeListWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

const long kLine = OT_ROW_HEIGHT;
const long kDragMin = 41;
const long kRightGap = 25;

} // namespace

COptionTreeListWnd::COptionTreeListWnd() = default;
COptionTreeListWnd::~COptionTreeListWnd() = default;

BOOL COptionTreeListWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!m_hSplitter)
        m_hSplitter = LoadCursor(nullptr, IDC_SIZEWE);
    m_hHand = LoadCursor(nullptr, IDC_HAND);
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, "", dwStyle | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect, pParentWnd, nID);
}

BOOL COptionTreeListWnd::InputAllowed(bool needGrid) const
{
    if (!m_otOption)
        return !needGrid;
    return !m_otOption->IsInputLocked() && m_otOption->IsWindowEnabled();
}

void COptionTreeListWnd::UpdateResize()
{
    if (!m_otOption || !m_hWnd)
        return;
    long total = 0;
    for (COptionTreeItem* top = m_otOption->GetRootItem()->GetFirstChild(); top; top = top->GetNextSibling())
        total += top->GetVisibleHeight();
    CRect client;
    GetClientRect(&client);
    SCROLLINFO si = { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, int(total), UINT(client.Height() + 1), 0, 0 };
    SetScrollInfo(SB_VERT, &si, TRUE);
    GetClientRect(&client);
    // A shorter tree never leaves the list scrolled past its end.
    const long limit = std::max(0L, total - long(client.Height()));
    if (total < client.Height() + 1)
        m_otOption->SetScrollOffset(0);
    else if (m_otOption->GetScrollOffset() > limit)
        SetScrollPosition(limit);
    m_otOption->ClampColumn(m_otOption->GetColumn());
}

void COptionTreeListWnd::SetScrollPosition(long lOffset)
{
    m_otOption->SetScrollOffset(lOffset);
    SetScrollPos(SB_VERT, int(lOffset), TRUE);
}

void COptionTreeListWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (!m_otOption)
        return;
    SetFocus();
    CRect client;
    GetClientRect(&client);
    const long h = client.Height();
    long offset = m_otOption->GetScrollOffset();
    switch (nSBCode) {
    case SB_LINEUP: offset -= kLine; break;
    case SB_LINEDOWN: offset += kLine; break;
    case SB_PAGEUP: offset -= h; break;
    case SB_PAGEDOWN: offset += h; break;
    case SB_THUMBTRACK: offset = long(nPos); break;
    default: break;
    }
    SCROLLINFO si = { sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0 };
    GetScrollInfo(SB_VERT, &si, SIF_RANGE);
    offset = std::max(long(si.nMin), std::min(offset, long(si.nMax) - h));
    m_otOption->SelectAll(FALSE);
    SetScrollPosition(offset);
    m_otOption->Repaint();
}

void COptionTreeListWnd::ScrollIntoView(long top, long bottom)
{
    if (!m_otOption || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const long h = client.Height();
    const long offset = m_otOption->GetScrollOffset();
    long wanted = offset;
    if (top < offset)
        wanted = top;
    else if (bottom > offset + h)
        wanted = bottom - h;
    if (wanted == offset)
        return;
    SetScrollPosition(std::max(0L, wanted));
    m_otOption->Repaint();
    m_otOption->MoveEditors();
}

void COptionTreeListWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_otOption)
        return;
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    m_otOption->ClearShown();
    m_otOption->EnumItems(m_otOption->GetRootItem(), [](COptionTree*, COptionTreeItem* item, LPARAM) -> BOOL {
        item->SetLabelExtent(CRect());
        return TRUE;
    }, 0);
    const BOOL enabled = m_otOption->IsWindowEnabled();
    mem.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CRect inner = client;
    inner.DeflateRect(2, 2);
    mem.FillSolidRect(&inner, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    const bool shadeMargin = !enabled || (m_otOption->GetOptions() & OT_OPT_SHADEMARGIN);
    mem.FillSolidRect(0, 0, OT_MARGIN, client.Height(), GetSysColor(shadeMargin ? COLOR_BTNFACE : COLOR_WINDOW));

    mem.SaveDC();
    mem.IntersectClipRect(&client);
    long y = 0;
    for (COptionTreeItem* top = m_otOption->GetRootItem()->GetFirstChild(); top; top = top->GetNextSibling())
        y += top->DrawRow(&mem, client, 0, y);
    mem.RestoreDC(-1);

    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen* old = mem.SelectObject(&shadow);
    mem.MoveTo(OT_MARGIN, 0);
    mem.LineTo(OT_MARGIN, client.bottom);
    mem.SelectObject(old);
    mem.DrawEdge(&client, BDR_SUNKENOUTER, BF_RECT);

    if (m_bDragging) {
        static const WORD checker[8] = { 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 };
        CBitmap pattern;
        pattern.CreateBitmap(8, 8, 1, 1, checker);
        CBrush brush;
        brush.CreatePatternBrush(&pattern);
        CBrush* oldBrush = mem.SelectObject(&brush);
        mem.PatBlt(m_lDragX - 2, 0, 4, client.Height(), PATINVERT);
        mem.SelectObject(oldBrush);
    }
}

BOOL COptionTreeListWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeListWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_otOption)
        return;
    UpdateResize();
    m_otOption->MoveEditors();
    m_otOption->Repaint();
}

BOOL COptionTreeListWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_otOption && nHitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        const int hit = m_otOption->HitTest(point);
        if (hit == OT_HIT_DIVIDER && m_hSplitter) {
            ::SetCursor(m_hSplitter);
            return TRUE;
        }
        if (hit == OT_HIT_EXPAND && m_hHand) {
            ::SetCursor(m_hHand);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void COptionTreeListWnd::DropHiddenFocus()
{
    COptionTreeItem* focus = m_otOption->GetFocusedItem();
    if (!focus || m_otOption->IsShown(focus))
        return;
    focus->Select(FALSE);
    m_otOption->SetFocusedItem(nullptr);
    m_otOption->SendNotify(OTN_SELCHANGED, nullptr);
    m_otOption->Repaint();
}

void COptionTreeListWnd::Toggle(COptionTreeItem* otiItem)
{
    if (m_otOption->SendNotify(OTN_EXPANDING, otiItem))
        return;
    otiItem->Expand(!otiItem->IsExpanded());
    UpdateResize();
    m_otOption->Repaint();
    DropHiddenFocus();
}

void COptionTreeListWnd::FocusRow(COptionTreeItem* otiItem)
{
    COptionTreeItem* old = m_otOption->GetFocusedItem();
    m_otOption->SelectAll(FALSE);
    m_otOption->SetFocusedItem(otiItem);
    otiItem->Select(TRUE);
    if (otiItem != old)
        m_otOption->SendNotify(OTN_SELCHANGED, otiItem);
}

void COptionTreeListWnd::AutoFitDivider()
{
    CRect client;
    GetClientRect(&client);
    const long widest = m_otOption->GetWidestLabelExtent().right + 5;
    m_otOption->SetColumn(std::min(widest, long(client.Width()) - kRightGap));
    m_otOption->MoveEditors();
    m_otOption->Repaint();
}

void COptionTreeListWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!InputAllowed()) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    SetFocus();
    const int hit = m_otOption->HitTest(point);
    if (hit == OT_HIT_DIVIDER) {
        if (!m_otOption->SendNotify(OTN_DIVIDERDRAG)) {
            SetCapture();
            m_bDragging = TRUE;
            m_lDragX = m_otOption->GetColumn();
            m_otOption->Repaint();
        }
    } else if (hit == OT_HIT_EXPAND) {
        COptionTreeItem* row = m_otOption->FindItemAtPoint(point);
        if (row && row->GetFirstChild())
            Toggle(row);
    } else {
        m_otOption->SelectAll(FALSE);
        if (COptionTreeItem* row = m_otOption->FindItemAtPoint(point)) {
            COptionTreeItem* old = m_otOption->GetFocusedItem();
            row->Select(TRUE);
            if (row != old)
                m_otOption->SendNotify(OTN_SELCHANGED, row);
            if (hit == OT_HIT_VALUE && !row->IsCategory() && !m_otOption->SendNotify(OTN_VALUECLICK, row) &&
                !row->IsReadOnly())
                row->BeginEdit();
            m_otOption->SetFocusedItem(row);
        } else {
            m_otOption->SetFocusedItem(nullptr);
            m_otOption->SendNotify(OTN_SELCHANGED, nullptr);
        }
        m_otOption->Repaint();
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void COptionTreeListWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (InputAllowed(false) && m_bDragging && m_otOption) {
        m_bDragging = FALSE;
        ReleaseCapture();
        CRect client;
        GetClientRect(&client);
        const long x = std::min(std::max(long(point.x), kDragMin), long(client.Width()) - kRightGap);
        m_otOption->SetColumn(x);
        m_otOption->MoveEditors();
        m_otOption->Repaint();
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void COptionTreeListWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging && m_otOption) {
        m_lDragX = point.x;
        m_otOption->Repaint();
    }
    CWnd::OnMouseMove(nFlags, point);
}

void COptionTreeListWnd::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (InputAllowed()) {
        const int hit = m_otOption->HitTest(point);
        COptionTreeItem* row = m_otOption->FindItemAtPoint(point);
        if (row && row->GetFirstChild()) {
            if (hit == OT_HIT_DIVIDER) {
                AutoFitDivider();
            } else if (hit == OT_HIT_EXPAND) {
                Toggle(row);
            } else if (hit == OT_HIT_LABEL || (hit == OT_HIT_VALUE && row->IsCategory())) {
                FocusRow(row);
                Toggle(row);
            }
        } else if (hit == OT_HIT_DIVIDER) {
            AutoFitDivider();
        }
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

void COptionTreeListWnd::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (InputAllowed()) {
        SetFocus();
        COptionTreeItem* row = m_otOption->FindItemAtPoint(point);
        if (row && m_otOption->HitTest(point) == OT_HIT_LABEL) {
            COptionTreeItem* old = m_otOption->GetFocusedItem();
            m_otOption->SelectAll(FALSE);
            row->Select(TRUE);
            if (row != old)
                m_otOption->SendNotify(OTN_SELCHANGED, row);
            m_otOption->SetFocusedItem(row);
            m_otOption->Repaint();
            m_otOption->SendNotify(OTN_RCLICK, row);
        }
    }
    CWnd::OnRButtonUp(nFlags, point);
}

BOOL COptionTreeListWnd::OnMouseWheel(UINT, short zDelta, CPoint)
{
    SCROLLINFO si = { sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0 };
    GetScrollInfo(SB_VERT, &si, SIF_RANGE);
    CRect client;
    GetClientRect(&client);
    if (m_otOption && si.nMax - si.nMin >= client.Height()) {
        SetFocus();
        OnVScroll(zDelta < 0 ? SB_LINEDOWN : SB_LINEUP, 0, nullptr);
    }
    return TRUE;
}

void COptionTreeListWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!InputAllowed()) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    COptionTree* grid = m_otOption;
    const auto editable = [](COptionTreeItem* row) { return row && !row->IsCategory() && !row->IsReadOnly(); };
    const auto moved = [grid](COptionTreeItem* to) {
        if (to)
            grid->Repaint();
    };
    COptionTreeItem* focus = grid->GetFocusedItem();
    switch (nChar) {
    case VK_TAB:
        if (focus && !focus->IsCategory()) {
            if (GetKeyState(VK_SHIFT) < 0)
                grid->SelectPrevious();
            else
                grid->SelectNext();
        }
        if (editable(grid->GetFocusedItem()))
            grid->GetFocusedItem()->BeginEdit();
        grid->Repaint();
        break;
    case VK_RETURN:
        if (editable(focus))
            focus->BeginEdit();
        break;
    case VK_HOME:
        moved(grid->SelectFirst());
        break;
    case VK_END:
        moved(grid->SelectLast());
        break;
    case VK_UP:
        moved(grid->SelectPrevious());
        break;
    case VK_DOWN:
        moved(grid->SelectNext());
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        if (!focus)
            break;
        const bool right = nChar == VK_RIGHT;
        if (!grid->SendNotify(OTN_EXPANDING, focus) && focus->GetFirstChild() && focus->IsExpanded() != right) {
            focus->Expand(right);
            UpdateResize();
            grid->Repaint();
            DropHiddenFocus();
        } else {
            moved(right ? grid->SelectNext() : grid->SelectPrevious());
        }
        break;
    }
    default:
        break;
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

UINT COptionTreeListWnd::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS; }

void COptionTreeListWnd::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if (m_otOption)
        m_otOption->Repaint();
}
