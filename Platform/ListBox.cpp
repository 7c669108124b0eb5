// The list box: its lines, selection, scrolling and painting, kept by the
// class procedure in a table of list states by window.
#include "Platform/ListBox.h"

#include "Platform/CString.h"
#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {

struct Line {
    std::string text;
    DWORD_PTR data = 0;
    bool selected = false;
};

struct ListState {
    std::vector<Line> lines;
    int top = 0;
    int anchor = -1;
    int caret = -1;
};

std::unordered_map<HWND, ListState>& States()
{
    static auto* states = new std::unordered_map<HWND, ListState>;
    return *states;
}

ListState* StateOf(HWND hWnd)
{
    auto it = States().find(hWnd);
    return it == States().end() ? nullptr : &it->second;
}

int ItemHeight(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* font = wnd->GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    if (old)
        dc.SelectObject(old);
    return std::max(1, int(tm.tmHeight));
}

int VisibleLines(HWND hWnd)
{
    CRect client;
    CWnd::FromHandle(hWnd)->GetClientRect(&client);
    return std::max(1, client.Height() / ItemHeight(hWnd));
}

// Keeps the top index in range and the scroll bar in step with the lines.
void UpdateScroll(HWND hWnd, ListState& s)
{
    const int count = int(s.lines.size());
    const int visible = VisibleLines(hWnd);
    s.top = std::max(0, std::min(s.top, count - visible));
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd->GetStyle() & WS_VSCROLL) {
        SCROLLINFO info = { sizeof(SCROLLINFO), SIF_ALL, 0, std::max(0, count - 1), UINT(visible), s.top, 0 };
        if (wnd->GetStyle() & LBS_DISABLENOSCROLL)
            info.fMask |= SIF_DISABLENOSCROLL;
        wnd->SetScrollInfo(SB_VERT, &info, TRUE);
    }
    wnd->Invalidate();
}

void Paint(HWND hWnd, ListState& s)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    CFont* font = wnd->GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    const int h = ItemHeight(hWnd);
    for (int i = s.top, y = 0; i < int(s.lines.size()) && y < client.bottom; ++i, y += h) {
        const Line& line = s.lines[size_t(i)];
        CRect r(0, y, client.right, y + h);
        if (line.selected)
            dc.FillSolidRect(&r, GetSysColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(GetSysColor(line.selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        r.left += 2;
        dc.DrawText(line.text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (i == s.caret && ::GetFocus() == hWnd)
            dc.DrawFocusRect(CRect(0, y, client.right, y + h));
    }
    if (old)
        dc.SelectObject(old);
}

bool Multiple(HWND hWnd) { return (CWnd::FromHandle(hWnd)->GetStyle() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0; }

void Click(HWND hWnd, ListState& s, WPARAM keys, int y)
{
    const int index = s.top + y / ItemHeight(hWnd);
    if (index < 0 || index >= int(s.lines.size()))
        return;
    if (!Multiple(hWnd) || !(keys & (MK_CONTROL | MK_SHIFT))) {
        for (Line& line : s.lines)
            line.selected = false;
        s.lines[size_t(index)].selected = true;
        s.anchor = index;
    } else if (keys & MK_SHIFT) {
        const int from = std::min(std::max(s.anchor, 0), index), to = std::max(std::max(s.anchor, 0), index);
        for (int i = 0; i < int(s.lines.size()); ++i)
            s.lines[size_t(i)].selected = (i >= from && i <= to) || ((keys & MK_CONTROL) && s.lines[size_t(i)].selected);
    } else {
        s.lines[size_t(index)].selected = !s.lines[size_t(index)].selected;
        s.anchor = index;
    }
    s.caret = index;
    CWnd::FromHandle(hWnd)->Invalidate();
    if (CWnd::FromHandle(hWnd)->GetStyle() & LBS_NOTIFY)
        NotifyParent(hWnd, LBN_SELCHANGE);
}

void Scroll(HWND hWnd, ListState& s, int top)
{
    s.top = top;
    UpdateScroll(hWnd, s);
}

LRESULT Insert(HWND hWnd, ListState& s, int index, LPCTSTR text)
{
    if (index < 0 || index > int(s.lines.size()))
        index = int(s.lines.size());
    Line line;
    line.text = text ? text : "";
    s.lines.insert(s.lines.begin() + index, std::move(line));
    if (s.caret >= index)
        ++s.caret;
    UpdateScroll(hWnd, s);
    return index;
}

LRESULT ListProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        States()[hWnd] = ListState();
    ListState* s = StateOf(hWnd);
    if (!s)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    const int count = int(s->lines.size());
    const int index = int(wParam);
    const bool valid = index >= 0 && index < count;
    switch (message) {
    case WM_NCDESTROY:
        States().erase(hWnd);
        return 0;
    case WM_PAINT:
        Paint(hWnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE:
        UpdateScroll(hWnd, *s);
        return 0;
    case WM_SETFONT:
        ::DefWindowProc(hWnd, message, wParam, lParam);
        UpdateScroll(hWnd, *s);
        return 0;
    case LB_ADDSTRING:
        return Insert(hWnd, *s, -1, reinterpret_cast<LPCTSTR>(lParam));
    case LB_INSERTSTRING:
        return Insert(hWnd, *s, index, reinterpret_cast<LPCTSTR>(lParam));
    case LB_DELETESTRING:
        if (!valid)
            return LB_ERR;
        s->lines.erase(s->lines.begin() + index);
        s->caret = s->caret >= count - 1 ? count - 2 : s->caret;
        s->anchor = std::min(s->anchor, count - 2);
        UpdateScroll(hWnd, *s);
        return count - 1;
    case LB_RESETCONTENT:
        *s = ListState();
        UpdateScroll(hWnd, *s);
        return 0;
    case LB_GETCOUNT:
        return count;
    case LB_GETTEXTLEN:
        return valid ? LRESULT(s->lines[size_t(index)].text.size()) : LB_ERR;
    case LB_GETTEXT:
        if (!valid)
            return LB_ERR;
        std::strcpy(reinterpret_cast<char*>(lParam), s->lines[size_t(index)].text.c_str());
        return LRESULT(s->lines[size_t(index)].text.size());
    case LB_GETITEMDATA:
        return valid ? LRESULT(s->lines[size_t(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!valid)
            return LB_ERR;
        s->lines[size_t(index)].data = DWORD_PTR(lParam);
        return 0;
    case LB_SETSEL: {
        const int which = int(lParam);
        if (which < -1 || which >= count)
            return LB_ERR;
        for (int i = 0; i < count; ++i) {
            if (which == -1 || i == which)
                s->lines[size_t(i)].selected = wParam != 0;
        }
        CWnd::FromHandle(hWnd)->Invalidate();
        return 0;
    }
    case LB_GETSEL:
        return valid ? (s->lines[size_t(index)].selected ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
        return std::count_if(s->lines.begin(), s->lines.end(), [](const Line& l) { return l.selected; });
    case LB_SETCURSEL:
        for (int i = 0; i < count; ++i)
            s->lines[size_t(i)].selected = i == index;
        s->caret = valid ? index : -1;
        CWnd::FromHandle(hWnd)->Invalidate();
        return valid ? index : LB_ERR;
    case LB_GETCURSEL:
        return s->caret;
    case LB_GETTOPINDEX:
        return s->top;
    case LB_SETTOPINDEX:
        if (!valid)
            return LB_ERR;
        Scroll(hWnd, *s, index);
        return 0;
    case LB_GETITEMHEIGHT:
        return ItemHeight(hWnd);
    case WM_LBUTTONDOWN:
        CWnd::FromHandle(hWnd)->SetFocus();
        Click(hWnd, *s, wParam, GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        Scroll(hWnd, *s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case WM_VSCROLL: {
        const int visible = VisibleLines(hWnd);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: Scroll(hWnd, *s, s->top - 1); break;
        case SB_LINEDOWN: Scroll(hWnd, *s, s->top + 1); break;
        case SB_PAGEUP: Scroll(hWnd, *s, s->top - visible); break;
        case SB_PAGEDOWN: Scroll(hWnd, *s, s->top + visible); break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: Scroll(hWnd, *s, int(short(HIWORD(wParam)))); break;
        case SB_TOP: Scroll(hWnd, *s, 0); break;
        case SB_BOTTOM: Scroll(hWnd, *s, count); break;
        default: break;
        }
        return 0;
    }
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterListBoxClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_LISTBOX, ListProc); });
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RegisterListBoxClass();
    if (!CWnd::Create(WC_LISTBOX, nullptr, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    if (ListState* s = StateOf(m_hWnd))
        UpdateScroll(m_hWnd, *s);
    return TRUE;
}

int CListBox::AddString(LPCTSTR lpszItem)
{
    return int(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return int(SendMessage(LB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex) { return int(SendMessage(LB_DELETESTRING, nIndex)); }
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::GetCount() const { return int(::SendMessage(m_hWnd, LB_GETCOUNT)); }

int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    return int(::SendMessage(m_hWnd, LB_GETTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    const int length = GetTextLen(nIndex);
    if (length < 0) {
        rString.Empty();
        return;
    }
    std::string buffer(size_t(length) + 1, '\0');
    GetText(nIndex, buffer.data());
    rString = buffer.c_str();
}

int CListBox::GetTextLen(int nIndex) const { return int(::SendMessage(m_hWnd, LB_GETTEXTLEN, WPARAM(nIndex))); }
int CListBox::SetSel(int nIndex, BOOL bSelect) { return int(SendMessage(LB_SETSEL, WPARAM(bSelect), LPARAM(nIndex))); }
int CListBox::GetSel(int nIndex) const { return int(::SendMessage(m_hWnd, LB_GETSEL, WPARAM(nIndex))); }
int CListBox::GetSelCount() const { return int(::SendMessage(m_hWnd, LB_GETSELCOUNT)); }
int CListBox::GetCurSel() const { return int(::SendMessage(m_hWnd, LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return int(SendMessage(LB_SETCURSEL, WPARAM(nSelect))); }
int CListBox::GetTopIndex() const { return int(::SendMessage(m_hWnd, LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return int(SendMessage(LB_SETTOPINDEX, WPARAM(nIndex))); }
int CListBox::GetItemHeight(int nIndex) const { return int(::SendMessage(m_hWnd, LB_GETITEMHEIGHT, WPARAM(nIndex))); }
DWORD_PTR CListBox::GetItemData(int nIndex) const { return DWORD_PTR(::SendMessage(m_hWnd, LB_GETITEMDATA, WPARAM(nIndex))); }

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(SendMessage(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}
