#include "Controls/OptionTreeIPAddressItem.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

#include <cstdio>

BEGIN_MESSAGE_MAP(COptionTreeIPAddressItem, CIPAddressCtrl)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(OT_IPADDRESS_FOCUSLOST, OnFieldFocusLost)
    ON_MESSAGE(OT_IPADDRESS_NEXTFIELD, OnNextField)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COptionTreeIPAddressItem::COptionTreeIPAddressItem() { SetType(OT_ITEM_IPADDRESS); }

COptionTreeIPAddressItem::~COptionTreeIPAddressItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeIPAddressItem::CreateEditor(DWORD dwStyle)
{
    if (!GetOptionTree() || GetSafeHwnd())
        return FALSE;
    if (!Create(dwStyle | WS_CHILD | WS_VISIBLE, GetValueRect(), GetOptionTree()->GetListWnd(), GetItemID()))
        return FALSE;
    SetFont(COptionTree::GetNormalFont());
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    // The control's first child is its rightmost field.
    COptionTreeIPAddressEdit* fields[4] = { &m_field4, &m_field3, &m_field2, &m_field1 };
    CWnd* child = GetWindow(GW_CHILD);
    for (COptionTreeIPAddressEdit* field : fields) {
        if (!child)
            break;
        const HWND hChild = child->GetSafeHwnd();
        child = child->GetNextWindow(GW_HWNDNEXT);
        field->SubclassWindow(hChild);
        field->SetIPAddressWnd(GetSafeHwnd());
        field->SetFont(COptionTree::GetNormalFont());
    }
    return TRUE;
}

COptionTreeIPAddressEdit* COptionTreeIPAddressItem::GetFieldEdit(int nField)
{
    COptionTreeIPAddressEdit* fields[4] = { &m_field1, &m_field2, &m_field3, &m_field4 };
    return nField >= 1 && nField <= 4 ? fields[nField - 1] : nullptr;
}

int COptionTreeIPAddressItem::FieldWidth() const { return (GetValueRect().Width() - 25) / 4; }

void COptionTreeIPAddressItem::LayoutFields(bool repaint)
{
    const int w = FieldWidth(), h = GetValueRect().Height();
    const COptionTreeIPAddressEdit* fields[4] = { &m_field1, &m_field2, &m_field3, &m_field4 };
    for (int i = 0; i < 4; ++i) {
        auto* field = const_cast<COptionTreeIPAddressEdit*>(fields[i]);
        if (!field->GetSafeHwnd())
            continue;
        field->SetWindowPos(nullptr, 5 + i * (w + 5), 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        if (repaint)
            field->Invalidate();
    }
}

bool COptionTreeIPAddressItem::IsField(HWND hWnd) const
{
    return hWnd && (hWnd == m_field1.GetSafeHwnd() || hWnd == m_field2.GetSafeHwnd() ||
                    hWnd == m_field3.GetSafeHwnd() || hWnd == m_field4.GetSafeHwnd());
}

CString COptionTreeIPAddressItem::GetShownText() const
{
    BYTE b[4] = {};
    GetAddress(b[0], b[1], b[2], b[3]);
    char text[20];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    return text;
}

void COptionTreeIPAddressItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    LayoutFields(false);
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    const bool grey = IsReadOnly() || !GetOptionTree()->IsWindowEnabled();
    pDC->SetTextColor(GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    pDC->DrawText(GetShownText(), &rcValue, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->RestoreDC(saved);
}

void COptionTreeIPAddressItem::ActivateEditor()
{
    if (!GetSafeHwnd())
        return;
    GetAddress(m_dwAddressAtEdit);
    ShowWindow(SW_SHOW);
    PlaceEditor(this);
    LayoutFields(true);
    SetFocus();
}

void COptionTreeIPAddressItem::MoveEditor()
{
    RefreshEditor();
    if (GetSafeHwnd() && !m_bFocus)
        ShowWindow(SW_HIDE);
}

void COptionTreeIPAddressItem::RefreshEditor()
{
    if (!GetSafeHwnd())
        return;
    PlaceEditor(this);
    LayoutFields(false);
}

void COptionTreeIPAddressItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeIPAddressItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeIPAddressItem::OnDeselect() { HideWindowEditor(this); }

void COptionTreeIPAddressItem::CommitOnFocusMove(HWND hNew)
{
    if (!GetOptionTree() || !hNew || IsField(hNew) || hNew == GetSafeHwnd())
        return;
    m_bFocus = FALSE;
    DWORD address = 0;
    GetAddress(address);
    CommitChanges(address != m_dwAddressAtEdit);
}

void COptionTreeIPAddressItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CIPAddressCtrl::OnSetFocus(pOldWnd);
}

void COptionTreeIPAddressItem::OnKillFocus(CWnd* pNewWnd)
{
    CommitOnFocusMove(pNewWnd ? pNewWnd->GetSafeHwnd() : nullptr);
    CIPAddressCtrl::OnKillFocus(pNewWnd);
}

LRESULT COptionTreeIPAddressItem::OnFieldFocusLost(WPARAM wParam, LPARAM)
{
    const HWND hNew = reinterpret_cast<HWND>(wParam);
    if (!GetOptionTree() || !hNew || IsField(hNew))
        return 0;
    CommitOnFocusMove(hNew);
    return 1;
}

LRESULT COptionTreeIPAddressItem::OnNextField(WPARAM wParam, LPARAM)
{
    const HWND sender = reinterpret_cast<HWND>(wParam);
    if (!GetOptionTree() || !sender)
        return 0;
    if (sender == m_field1.GetSafeHwnd())
        m_field2.SetFocus();
    else if (sender == m_field2.GetSafeHwnd())
        m_field3.SetFocus();
    else if (sender == m_field3.GetSafeHwnd())
        m_field4.SetFocus();
    return 1;
}

BOOL COptionTreeIPAddressItem::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeIPAddressItem::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    CFont* old = mem.SelectObject(COptionTree::GetBoldFont());
    mem.SetTextColor(GetValueTextColor());
    mem.SetBkMode(TRANSPARENT);
    const int w = FieldWidth();
    for (int i = 1; i <= 3; ++i)
        mem.TextOut(i * (w + 5), 0, ".");
    mem.SelectObject(old);
}

void COptionTreeIPAddressItem::OnDestroy()
{
    for (COptionTreeIPAddressEdit* field : { &m_field1, &m_field2, &m_field3, &m_field4 })
        if (field->GetSafeHwnd())
            field->UnsubclassWindow();
    CIPAddressCtrl::OnDestroy();
}
