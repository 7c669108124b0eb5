#include "Controls/OptionTreeItem.h"

#include "Controls/OptionTree.h"
#include "Platform/Cursor.h"
#include "Platform/SysColors.h"
#include "Platform/Wnd.h"

#include <algorithm>
#include <cstring>

namespace {

const size_t kKeyMax = 100;

bool IsBlank(const CString& text)
{
    for (const char* p = text; *p; ++p) {
        if (*p != ' ')
            return false;
    }
    return true;
}

// Length of the longest prefix of at most `limit` bytes that ends on a
// character boundary.
int CharBoundary(const char* text, int limit)
{
    while (limit > 0 && (BYTE(text[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

} // namespace

COptionTreeItem::COptionTreeItem()
    : m_crValueBack(GetSysColor(COLOR_WINDOW)),
      m_crValueText(GetSysColor(COLOR_BTNTEXT)),
      m_crCategoryBack(GetSysColor(COLOR_BTNFACE)),
      m_crLabelText(GetSysColor(COLOR_BTNTEXT)),
      m_crLabelBack(GetSysColor(COLOR_WINDOW))
{
}

COptionTreeItem::~COptionTreeItem() = default;

void COptionTreeItem::DrawValue(CDC*, CRect) {}
void COptionTreeItem::ActivateEditor() {}
void COptionTreeItem::MoveEditor() {}
void COptionTreeItem::RefreshEditor() {}
void COptionTreeItem::CommitEditor() {}
void COptionTreeItem::DestroyEditor() {}
void COptionTreeItem::OnDeselect() {}
void COptionTreeItem::OnSelect() {}
void COptionTreeItem::OnExpandChanged(BOOL) {}
int COptionTreeItem::GetValueInt() { return 0; }
LPCTSTR COptionTreeItem::GetValueText() { return ""; }

void COptionTreeItem::SetLabelText(LPCTSTR lpszLabel) { m_strLabel = lpszLabel ? lpszLabel : ""; }
CString COptionTreeItem::GetLabelText() const { return m_strLabel; }
void COptionTreeItem::SetInfoText(LPCTSTR lpszInfo) { m_strInfo = lpszInfo ? lpszInfo : ""; }
CString COptionTreeItem::GetInfoText() const { return m_strInfo; }

void COptionTreeItem::SetKey(LPCTSTR lpszKey)
{
    if (!lpszKey || !*lpszKey)
        return;
    const size_t length = std::strlen(lpszKey);
    const int keep = length > kKeyMax ? CharBoundary(lpszKey, int(kKeyMax)) : int(length);
    m_strKey = CString(lpszKey).Left(keep);
}

LPCTSTR COptionTreeItem::GetKey() const { return m_strKey; }

BOOL COptionTreeItem::IsCategory() const { return m_otOption && m_otiParent == m_otOption->GetRootItem(); }

void COptionTreeItem::SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }

void COptionTreeItem::Select(BOOL bSelect)
{
    m_bSelected = bSelect;
    if (bSelect)
        OnSelect();
    else
        OnDeselect();
}

void COptionTreeItem::Expand(BOOL bExpand)
{
    if (!m_otOption)
        return;
    m_bExpanded = bExpand;
    m_otOption->OnItemExpanded(this, bExpand);
    m_otOption->SendNotify(OTN_EXPANDED, this);
}

void COptionTreeItem::BeginEdit()
{
    m_bEditing = TRUE;
    m_bCommitted = FALSE;
    ActivateEditor();
}

void COptionTreeItem::CommitChanges(BOOL bNotify)
{
    const BOOL committed = m_bCommitted;
    m_bEditing = FALSE;
    if (committed)
        return;
    m_bCommitted = TRUE;
    if (!m_otOption)
        return;
    COptionTree* grid = m_otOption;
    CommitEditor();
    if (bNotify)
        grid->SendNotify(OTN_ITEMCOMMITTED, this);
    grid->RefreshEditors(this);
}

long COptionTreeItem::GetVisibleHeight() const
{
    long height = m_lItemHeight;
    if (m_bExpanded) {
        for (const COptionTreeItem* child = m_otiChild; child; child = child->m_otiSibling)
            height += child->GetVisibleHeight();
    }
    return height;
}

BOOL COptionTreeItem::HitExpandBox(CPoint ptContent) const { return m_rcExpand.PtInRect(ptContent); }

CString COptionTreeItem::FitTextWithEllipsis(CDC* pDC, const CString& text, long width, long margin)
{
    if (text.IsEmpty() || pDC->GetTextExtent(text).cx + margin <= width)
        return text;
    const char* s = text;
    int first = 1;
    while (first < text.GetLength() && (BYTE(s[first]) & 0xC0) == 0x80)
        ++first;
    const long dots = pDC->GetTextExtent("...").cx;
    int keep = CharBoundary(s, text.GetLength() - 1);
    while (keep > first && pDC->GetTextExtent(s, keep).cx + dots + margin > width)
        keep = CharBoundary(s, keep - 1);
    return text.Left(std::max(keep, first)) + "...";
}

COLORREF COptionTreeItem::ValueTextColor() const
{
    if (m_bReadOnly || (m_otOption && !m_otOption->IsWindowEnabled()))
        return GetSysColor(COLOR_GRAYTEXT);
    return m_crValueText;
}

void COptionTreeItem::PlaceEditor(CWnd* editor, long extraHeight) const
{
    if (!editor || !editor->GetSafeHwnd())
        return;
    CRect now;
    editor->GetWindowRect(&now);
    editor->GetParent()->ScreenToClient(&now);
    const CRect wanted(m_rcValue.left, m_rcValue.top, m_rcValue.right, m_rcValue.bottom + extraHeight);
    if (now.left == wanted.left && now.top == wanted.top && now.right == wanted.right && now.bottom == wanted.bottom)
        return;
    editor->SetWindowPos(nullptr, wanted.left, wanted.top, wanted.Width(), wanted.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

void COptionTreeItem::ActivateWindow(CWnd* editor, long extraHeight)
{
    if (!editor->GetSafeHwnd())
        return;
    editor->ShowWindow(SW_SHOW);
    PlaceEditor(editor, extraHeight);
    editor->SetFocus();
}

void COptionTreeItem::MoveWindowEditor(CWnd* editor)
{
    if (!editor->GetSafeHwnd())
        return;
    PlaceEditor(editor);
    if (CWnd::GetFocus() != editor)
        editor->ShowWindow(SW_HIDE);
}

void COptionTreeItem::RefreshWindowEditor(CWnd* editor) { PlaceEditor(editor); }

void COptionTreeItem::HideWindowEditor(CWnd* editor)
{
    if (editor->GetSafeHwnd())
        editor->ShowWindow(SW_HIDE);
}

void COptionTreeItem::DestroyWindowEditor(CWnd* editor)
{
    if (editor->GetSafeHwnd())
        editor->DestroyWindow();
}

BOOL COptionTreeItem::CreateOwnerDrawnEditor(CWnd* editor)
{
    if (!m_otOption)
        return FALSE;
    LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW));
    return editor->CreateEx(0, cls, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, m_rcValue,
                            m_otOption->GetListWnd(), m_uID);
}

void COptionTreeItem::SettleEditor(CWnd* editor)
{
    editor->SetFont(COptionTree::GetNormalFont());
    PlaceEditor(editor);
    editor->ShowWindow(SW_HIDE);
}

void COptionTreeItem::DrawExpandBox(CDC* pDC, long top) const
{
    const CRect box(4, top + 5, 4 + 9, top + 5 + 9);
    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    if (!IsCategory())
        pDC->FillSolidRect(&box, GetSysColor(COLOR_WINDOW));
    CPen* old = pDC->SelectObject(&shadow);
    pDC->MoveTo(box.left, box.top);
    pDC->LineTo(box.right - 1, box.top);
    pDC->LineTo(box.right - 1, box.bottom - 1);
    pDC->LineTo(box.left, box.bottom - 1);
    pDC->LineTo(box.left, box.top);
    pDC->SelectObject(&black);
    pDC->MoveTo(box.left + 2, box.top + 4);
    pDC->LineTo(box.left + 7, box.top + 4);
    if (!m_bExpanded) {
        pDC->MoveTo(box.left + 4, box.top + 2);
        pDC->LineTo(box.left + 4, box.top + 7);
    }
    pDC->SelectObject(old);
}

void COptionTreeItem::DrawLabel(CDC* pDC, const CRect& rcLabel, long top)
{
    if (IsBlank(m_strLabel))
        return;
    const BOOL category = IsCategory();
    CFont* old = pDC->SelectObject(category ? COptionTree::GetBoldFont() : COptionTree::GetNormalFont());
    pDC->SetTextColor(m_crLabelText);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bSelected) {
        pDC->FillSolidRect(CRect(OT_MARGIN, top, rcLabel.right + 5, top + m_lItemHeight), GetSysColor(COLOR_HIGHLIGHT));
        pDC->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (!m_otOption->IsWindowEnabled())
        pDC->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    // The text starts 5 pixels in, so it fits the rest of the column.
    const CString text = FitTextWithEllipsis(pDC, m_strLabel, rcLabel.Width() - 5, 1);
    CRect rc = rcLabel;
    rc.left += 5;
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if (m_bLabelAtTop)
        rc.top += 5;
    else
        format |= DT_VCENTER;
    pDC->DrawText(text, &rc, format);
    CRect extent = rc;
    pDC->DrawText(text, &extent, format | DT_CALCRECT);
    m_rcLabelExtent = extent;
    pDC->SelectObject(old);
}

void COptionTreeItem::DrawGridLines(CDC* pDC, const CRect& rcClient, long top) const
{
    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen* old = pDC->SelectObject(&shadow);
    const long bottom = top + m_lItemHeight - 1;
    pDC->MoveTo(OT_MARGIN, bottom);
    pDC->LineTo(rcClient.right, bottom);
    if (IsCategory()) {
        pDC->MoveTo(OT_MARGIN, top - 1);
        pDC->LineTo(rcClient.right, top - 1);
    }
    pDC->MoveTo(OT_MARGIN, rcClient.top);
    pDC->LineTo(OT_MARGIN, rcClient.bottom);
    if (!IsCategory()) {
        const long divider = m_otOption->GetColumn();
        pDC->MoveTo(divider, top);
        pDC->LineTo(divider, top + m_lItemHeight);
    }
    pDC->SelectObject(old);
}

long COptionTreeItem::DrawRow(CDC* pDC, const CRect& rcClient, long x, long y)
{
    if (!m_otOption)
        return 0;
    COptionTree* grid = m_otOption;
    grid->AppendShown(this);
    m_ptLocation = CPoint(x, y);
    const long divider = grid->GetColumn();
    const long scroll = grid->GetScrollOffset();
    const long h = m_lItemHeight;
    const long top = y - scroll;
    const BOOL category = IsCategory();

    m_rcValue = CRect(divider + 5, top, rcClient.right, top + h - 1);
    const CRect valueBack(divider, top, rcClient.right - 2, top + h - 1);
    const CRect label(x + OT_MARGIN, top, category ? rcClient.right : divider, top + h);

    if (category) {
        const bool fill = (grid->GetOptions() & OT_OPT_SHADECATEGORIES) || !grid->IsWindowEnabled();
        pDC->FillSolidRect(rcClient.left + OT_MARGIN, top, rcClient.Width() + 1, h,
                           fill ? m_crCategoryBack : GetSysColor(COLOR_WINDOW));
    } else {
        pDC->FillSolidRect(&valueBack, m_crValueBack);
    }

    m_rcExpand.SetRectEmpty();
    if (m_otiChild) {
        m_rcExpand = CRect(4, y + 5, 12, y + 13);
        DrawExpandBox(pDC, top);
    }

    pDC->SaveDC();
    if (!category) {
        pDC->IntersectClipRect(&label);
        pDC->FillSolidRect(&label, m_crLabelBack);
    }
    DrawLabel(pDC, label, top);
    pDC->RestoreDC(-1);

    DrawGridLines(pDC, rcClient, top);

    if (!category) {
        pDC->SaveDC();
        pDC->IntersectClipRect(&m_rcValue);
        DrawValue(pDC, m_rcValue);
        pDC->RestoreDC(-1);
    }

    long height = h;
    if (m_otiChild && m_bExpanded) {
        const long childX = category ? x : x + OT_MARGIN;
        for (COptionTreeItem* child = m_otiChild; child; child = child->m_otiSibling)
            height += child->DrawRow(pDC, rcClient, childX, y + height);
    }
    return height;
}
