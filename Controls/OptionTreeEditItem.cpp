#include "Controls/OptionTreeEditItem.h"

#include "Controls/CommandImageList.h"
#include "Controls/ExtMenu.h"
#include "Controls/OptionTree.h"

#include <cstdlib>
#include <cstring>

namespace {

// The editing commands the focused pane receives.
enum : UINT {
    kCommandCopy = 57634,
    kCommandCut = 57635,
    kCommandPaste = 57637,
    kCommandDelete = 32773,
    kCommandSelectAll = 57642,
    kCommandUndo = 57643,
};

const char kNotNumeric[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ`~[]{}-_=+\\|'/?>,<";

int CharCount(const char* text)
{
    int n = 0;
    for (; *text; ++text)
        n += (BYTE(*text) & 0xC0) != 0x80;
    return n;
}

} // namespace

BEGIN_MESSAGE_MAP(COptionTreeEditItem, CEdit)
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_RBUTTONUP()
    ON_COMMAND(kCommandCopy, OnEditCopy)
    ON_COMMAND(kCommandCut, OnEditCut)
    ON_COMMAND(kCommandPaste, OnEditPaste)
    ON_COMMAND(kCommandDelete, OnEditDelete)
    ON_COMMAND(kCommandSelectAll, OnEditSelectAll)
    ON_COMMAND(kCommandUndo, OnEditUndo)
END_MESSAGE_MAP()

COptionTreeEditItem::COptionTreeEditItem() { SetType(OT_ITEM_EDIT); }

COptionTreeEditItem::~COptionTreeEditItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeEditItem::CreateEditor(DWORD dwOptions, DWORD dwAddStyle)
{
    COptionTree* grid = GetOptionTree();
    if (!grid || GetSafeHwnd())
        return FALSE;
    DWORD style = WS_CHILD | ES_AUTOHSCROLL | (dwAddStyle & ~WS_VISIBLE);
    if (dwOptions & OT_EDIT_MULTILINE)
        style |= ES_MULTILINE;
    if (dwOptions & OT_EDIT_PASSWORD)
        style |= ES_PASSWORD;
    if (dwOptions & OT_EDIT_NUMERIC)
        style |= ES_NUMBER;
    if (!Create(style, GetValueRect(), grid->GetListWnd(), GetItemID()))
        return FALSE;
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    m_dwOptions = dwOptions;
    SetSel(0, 0);
    if (dwOptions & OT_EDIT_MULTILINE)
        SetHeight(OT_EDIT_MULTILINE_HEIGHT);
    SettleEditor(this);
    return TRUE;
}

CString COptionTreeEditItem::WindowText() const
{
    const int length = GetWindowTextLength();
    CString text;
    GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(length);
    return text;
}

void COptionTreeEditItem::SetValue(int nValue)
{
    CString text;
    text.Format("%d", nValue);
    SetWindowText(text);
}

void COptionTreeEditItem::SetValue(long lValue) { SetValue(int(lValue)); }
void COptionTreeEditItem::SetValue(UINT nValue) { SetValue(int(nValue)); }

void COptionTreeEditItem::SetValue(double dValue)
{
    CString text;
    text.Format("%.0f", dValue);
    SetWindowText(text);
}

void COptionTreeEditItem::SetValue(float fValue) { SetValue(double(fValue)); }

bool COptionTreeEditItem::IsNumericText() const
{
    const CString text = WindowText();
    return std::strpbrk(text, "1234567890") && !std::strpbrk(text, kNotNumeric);
}

namespace {

template <class T, class Convert>
BOOL Numeric(bool ok, const CString& text, T* value, Convert convert)
{
    if (value)
        *value = ok ? T(convert(text)) : T(0);
    return ok;
}

} // namespace

BOOL COptionTreeEditItem::GetValue(int* pValue)
{
    const bool ok = GetSafeHwnd() && GetOption(OT_EDIT_NUMERIC) && IsNumericText();
    return Numeric(ok, WindowText(), pValue, [](const char* s) { return std::atoi(s); });
}

BOOL COptionTreeEditItem::GetValue(long* pValue)
{
    const bool ok = GetSafeHwnd() && GetOption(OT_EDIT_NUMERIC) && IsNumericText();
    return Numeric(ok, WindowText(), pValue, [](const char* s) { return std::atol(s); });
}

BOOL COptionTreeEditItem::GetValue(UINT* pValue)
{
    const bool ok = GetSafeHwnd() && GetOption(OT_EDIT_NUMERIC) && IsNumericText();
    return Numeric(ok, WindowText(), pValue, [](const char* s) { return std::atoi(s); });
}

BOOL COptionTreeEditItem::GetValue(double* pValue)
{
    const bool ok = GetSafeHwnd() && GetOption(OT_EDIT_NUMERIC) && IsNumericText();
    return Numeric(ok, WindowText(), pValue, [](const char* s) { return std::atof(s); });
}

BOOL COptionTreeEditItem::GetValue(float* pValue)
{
    const bool ok = GetSafeHwnd() && GetOption(OT_EDIT_NUMERIC) && IsNumericText();
    return Numeric(ok, WindowText(), pValue, [](const char* s) { return std::atof(s); });
}

void COptionTreeEditItem::SetOption(DWORD dwOption, BOOL bSet)
{
    if (bSet)
        m_dwOptions |= dwOption;
    else
        m_dwOptions &= ~dwOption;
    ApplyOptions();
}

void COptionTreeEditItem::ApplyOptions()
{
    const bool multi = GetOption(OT_EDIT_MULTILINE);
    SetLabelAtTop(multi);
    SetHeight(multi ? OT_EDIT_MULTILINE_HEIGHT : OT_ROW_HEIGHT);
    if (!GetSafeHwnd())
        return;
    const auto style = [this](DWORD option, DWORD bit) {
        if (GetOption(option))
            ModifyStyle(0, bit);
        else
            ModifyStyle(bit, 0);
    };
    style(OT_EDIT_MULTILINE, ES_MULTILINE);
    style(OT_EDIT_PASSWORD, ES_PASSWORD);
    style(OT_EDIT_NUMERIC, ES_NUMBER);
}

int COptionTreeEditItem::GetValueInt() { return GetSafeHwnd() ? std::atoi(WindowText()) : 0; }

LPCTSTR COptionTreeEditItem::GetValueText()
{
    m_strValue = GetSafeHwnd() ? WindowText() : CString();
    return m_strValue;
}

void COptionTreeEditItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    CString text = WindowText();
    if (GetStyle() & ES_PASSWORD)
        text = CString('*', CharCount(text));
    CFont* old = pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    const UINT format = GetOption(OT_EDIT_MULTILINE) ? DT_NOPREFIX
                                                     : DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    pDC->DrawText(text, &rcValue, format);
    pDC->SelectObject(old);
}

void COptionTreeEditItem::ActivateEditor()
{
    if (!GetSafeHwnd())
        return;
    m_strAtBegin = WindowText();
    SetSel(0, 0);
    ActivateWindow(this);
}

void COptionTreeEditItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeEditItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeEditItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeEditItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeEditItem::OnDeselect() { CommitEditor(); }

UINT COptionTreeEditItem::OnGetDlgCode() { return UINT(Default()) | DLGC_WANTALLKEYS; }

void COptionTreeEditItem::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN && !(GetStyle() & ES_WANTRETURN)) {
        CommitChanges(GetModify());
        return;
    }
    if (nChar == VK_ESCAPE) {
        SetWindowText(m_strAtBegin);
        CommitChanges(FALSE);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void COptionTreeEditItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CEdit::OnSetFocus(pOldWnd);
}

void COptionTreeEditItem::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    if (!GetOptionTree() || !pNewWnd)
        return;
    m_bFocus = FALSE;
    CommitChanges(GetModify());
}

void COptionTreeEditItem::OnRButtonUp(UINT, CPoint point)
{
    SetFocus();
    ClientToScreen(&point);
    CExtMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    CCommandImageList& registry = GetCommandImages();
    for (UINT id : { kCommandCopy, kCommandCut, kCommandPaste, kCommandDelete, kCommandSelectAll }) {
        CommandImageInfo info{};
        registry.Lookup(id, info);
        menu.AppendItem(info.name, 0, id, -1);
    }
    menu.LoadImages(&registry);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void COptionTreeEditItem::OnEditCopy() { Copy(); }
void COptionTreeEditItem::OnEditCut() { Cut(); }
void COptionTreeEditItem::OnEditPaste() { Paste(); }

void COptionTreeEditItem::OnEditDelete()
{
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end) {
        const CString text = WindowText();
        int next = end;
        if (next < text.GetLength()) {
            ++next;
            while (next < text.GetLength() && (BYTE(text[next]) & 0xC0) == 0x80)
                ++next;
        }
        SetSel(start, next, TRUE);
    }
    Clear();
}

void COptionTreeEditItem::OnEditSelectAll() { SetSel(0, -1); }

void COptionTreeEditItem::OnEditUndo()
{
    if (CanUndo())
        Undo();
}
