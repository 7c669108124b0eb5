#include "Controls/MsgListBox.h"

#include "Controls/CommandImageList.h"
#include "Controls/ExtMenu.h"
#include "Platform/CString.h"
#include "Platform/Clipboard.h"
#include "Platform/GlobalMemory.h"
#include "Platform/MessageMap.h"

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CMsgListBox, CListBox)

namespace {

const UINT kCopy = 57634, kCut = 57635, kDelete = 32773, kSelectAll = 57642;

} // namespace

BEGIN_MESSAGE_MAP(CMsgListBox, CListBox)
    ON_COMMAND(kCopy, OnCopy)
    ON_COMMAND(kCut, OnCut)
    ON_COMMAND(kDelete, OnDelete)
    ON_COMMAND(kSelectAll, OnSelectAll)
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

BOOL CMsgListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CListBox::Create(dwStyle | LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL, rect, pParentWnd, nID))
        return FALSE;
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    return TRUE;
}

bool CMsgListBox::Copy()
{
    if (!OpenClipboard(m_hWnd))
        return false;
    std::string text;
    for (int i = 0; i < GetCount(); ++i) {
        if (GetSel(i) > 0) {
            CString line;
            GetText(i, line);
            text += static_cast<LPCTSTR>(line);
            text += "\r\n";
        }
    }
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE, text.size() + 1);
    if (!block) {
        CloseClipboard();
        return false;
    }
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    return true;
}

// Backwards, so that the lines still to visit keep their indexes.
void CMsgListBox::DeleteSelected()
{
    LockWindowUpdate();
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (GetSel(i) > 0)
            DeleteString(UINT(i));
    }
    UnlockWindowUpdate();
}

void CMsgListBox::SelectAll()
{
    LockWindowUpdate();
    for (int i = 0; i < GetCount(); ++i)
        SetSel(i, TRUE);
    UnlockWindowUpdate();
}

void CMsgListBox::OnCopy() { Copy(); }

void CMsgListBox::OnCut()
{
    if (Copy())
        DeleteSelected();
}

void CMsgListBox::OnDelete() { DeleteSelected(); }
void CMsgListBox::OnSelectAll() { SelectAll(); }

void CMsgListBox::OnRButtonUp(UINT, CPoint point)
{
    SetFocus();
    ClientToScreen(&point);
    CExtMenu menu;
    menu.CreatePopupMenu();
    CCommandImageList& registry = GetCommandImages();
    for (UINT id : { kCopy, kCut, kDelete, kSelectAll }) {
        CommandImageInfo info{};
        registry.Lookup(id, info);
        menu.AppendItem(info.name, 0, info.id);
    }
    menu.LoadImages(&registry);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, this);
}

BOOL CMsgListBox::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (nFlags & (MK_SHIFT | MK_CONTROL))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    const int visible = client.Height() / std::max(1, GetItemHeight(0));
    if (GetCount() <= visible)
        return FALSE;
    CListBox::OnMouseWheel(nFlags, zDelta, pt);
    return TRUE;
}
