// The menus of a window: its menu bar and its window menu.
#include "Platform/MenuData.h"
#include "Platform/MenuTrack.h"
#include "Platform/WndData.h"

#include <unordered_map>

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || d->isChild())
        return FALSE;
    d->menu = pMenu ? pMenu->GetSafeHmenu() : nullptr;
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

CMenu* CWnd::GetMenu() const
{
    WndData* d = WndData::From(m_hWnd);
    return d ? CMenu::FromHandle(d->menu) : nullptr;
}

void CWnd::DrawMenuBar()
{
    if (WndData* d = WndData::From(m_hWnd))
        Wnd::InvalidateFrame(d);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    // Window handles are never reused, so an entry of a window that is gone
    // is never looked up again.
    static auto* menus = new std::unordered_map<HWND, HMENU>;
    if (!IsWindow(m_hWnd))
        return nullptr;
    HMENU& menu = (*menus)[m_hWnd];
    if (bRevert) {
        DestroyMenu(menu);
        menu = nullptr;
        return nullptr;
    }
    if (!IsMenu(menu)) {
        menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }
    return CMenu::FromHandle(menu);
}
