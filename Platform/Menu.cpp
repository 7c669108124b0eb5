// The menu handle table and the item operations.
#include "Platform/MenuData.h"

#include "Platform/Gdi.h"
#include "Platform/ResourceTable.h"
#include "Platform/ResourceTemplates.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

// Never destroyed, like the window and drawing tables: menus held by
// static objects are destroyed after the end of main.
std::unordered_map<HMENU, std::unique_ptr<MenuData>>& Table()
{
    static auto* table = new std::unordered_map<HMENU, std::unique_ptr<MenuData>>;
    return *table;
}

HMENU NewMenu(bool popup)
{
    static uintptr_t next = 0x10000;
    next += 4;
    const HMENU h = reinterpret_cast<HMENU>(next);
    auto data = std::make_unique<MenuData>();
    data->popup = popup;
    Table()[h] = std::move(data);
    return h;
}

// An item as the flags and the new-item argument describe it.
MenuItem MakeItem(UINT flags, UINT_PTR id, LPCTSTR newItem)
{
    MenuItem item;
    item.flags = flags & ~UINT(MF_BYPOSITION);
    item.id = id;
    if (flags & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(newItem);
    else if (!(flags & (MF_SEPARATOR | MF_BITMAP)) && newItem)
        item.text = newItem;
    if (item.isSeparator())
        item.id = 0;
    return item;
}

// The item of a menu by position or command, with the menu that holds it
// and its index there; null when there is none.
MenuItem* FindItem(HMENU menu, UINT item, UINT flags, MenuData** holder = nullptr, int* index = nullptr)
{
    MenuData* d = MenuData::From(menu);
    MenuData* m = nullptr;
    int i = 0;
    if (!d || !d->Locate(item, flags, &m, &i))
        return nullptr;
    if (holder)
        *holder = m;
    if (index)
        *index = i;
    return &m->items[size_t(i)];
}

bool BuildFromTemplate(HMENU menu, const std::vector<MenuTemplateItem>& items)
{
    std::vector<HMENU> stack{ menu };
    for (const MenuTemplateItem& t : items) {
        stack.resize(size_t(t.level) + 1);
        const UINT state = t.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        if (t.flags & MENU_TEMPLATE_POPUP) {
            const HMENU sub = CreatePopupMenu();
            AppendMenu(stack.back(), MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), t.text.c_str());
            stack.push_back(sub);
        } else if (t.id == 0 && t.text.empty()) {
            AppendMenu(stack.back(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenu(stack.back(), MF_STRING | state, t.id, t.text.c_str());
        }
    }
    return true;
}

} // namespace

MenuData* MenuData::From(HMENU h)
{
    auto it = Table().find(h);
    return it == Table().end() ? nullptr : it->second.get();
}

bool MenuData::Locate(UINT item, UINT flags, MenuData** menu, int* index)
{
    if (flags & MF_BYPOSITION) {
        if (item >= items.size())
            return false;
        *menu = this;
        *index = int(item);
        return true;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& it = items[i];
        if (it.isPopup()) {
            MenuData* sub = From(it.submenu());
            if (sub && sub != this && sub->Locate(item, flags, menu, index))
                return true;
        }
        if (it.id == item && !it.isSeparator()) {
            *menu = this;
            *index = int(i);
            return true;
        }
    }
    return false;
}

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL IsMenu(HMENU hMenu) { return MenuData::From(hMenu) != nullptr; }

BOOL DestroyMenu(HMENU hMenu)
{
    auto it = Table().find(hMenu);
    if (it == Table().end())
        return FALSE;
    std::unique_ptr<MenuData> data = std::move(it->second);
    Table().erase(it);
    if (data->object)
        data->object->m_hMenu = nullptr;
    for (const MenuItem& item : data->items) {
        if (item.isPopup())
            DestroyMenu(item.submenu());
    }
    return TRUE;
}

int GetMenuItemCount(HMENU hMenu)
{
    MenuData* d = MenuData::From(hMenu);
    return d ? int(d->items.size()) : -1;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    const MenuItem* found = FindItem(hMenu, uId, uFlags);
    if (!found)
        return UINT(-1);
    const MenuItem& item = *found;
    if (!item.isPopup())
        return item.flags;
    const int count = GetMenuItemCount(item.submenu());
    return (UINT(std::max(count, 0)) << 8) | (item.flags & 0xFF);
}

BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem)
{
    MenuData* d = MenuData::From(hMenu);
    if (!d)
        return FALSE;
    d->items.push_back(MakeItem(uFlags, uIDNewItem, lpNewItem));
    return TRUE;
}

BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem)
{
    MenuItem* found = FindItem(hMenu, uPosition, uFlags);
    if (!found)
        return FALSE;
    MenuItem& item = *found;
    const HMENU oldSub = item.submenu();
    MenuItem next = MakeItem(uFlags, uIDNewItem, lpNewItem);
    next.checked = item.checked;
    next.unchecked = item.unchecked;
    item = std::move(next);
    // A popup replaced by anything but itself goes with its item.
    if (oldSub && oldSub != item.submenu())
        DestroyMenu(oldSub);
    return TRUE;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    MenuData* d = MenuData::From(hMenu);
    if (!d || nPos < 0 || size_t(nPos) >= d->items.size())
        return nullptr;
    return d->items[size_t(nPos)].submenu();
}

HMENU LoadMenuIndirect(const void* lpMenuTemplate, DWORD size)
{
    std::vector<MenuTemplateItem> items;
    if (!ReadMenuTemplate(lpMenuTemplate, size, &items))
        return nullptr;
    const HMENU menu = CreateMenu();
    BuildFromTemplate(menu, items);
    return menu;
}

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    MenuData* d = MenuData::From(hMenu);
    return d ? d->object : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    MenuData* d = MenuData::From(hMenu);
    if (!d)
        return nullptr;
    if (d->object)
        return d->object;
    if (!d->plain) {
        d->plain = std::make_unique<CMenu>();
        d->plain->m_hMenu = hMenu;
    }
    return d->plain.get();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    MenuData* d = MenuData::From(hMenu);
    if (!d || m_hMenu || d->object)
        return FALSE;
    m_hMenu = hMenu;
    d->object = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    const HMENU h = m_hMenu;
    if (MenuData* d = MenuData::From(h)) {
        if (d->object == this)
            d->object = nullptr;
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    const LPCTSTR name = MAKEINTRESOURCE(nIDResource);
    const HINSTANCE module = AfxFindResourceHandle(name, RT_MENU);
    const HRSRC res = module ? FindResource(module, name, RT_MENU) : nullptr;
    if (!res)
        return FALSE;
    const HMENU menu = LoadMenuIndirect(LockResource(LoadResource(module, res)), SizeofResource(module, res));
    return menu && Attach(menu);
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    const HMENU h = Detach();
    return ::DestroyMenu(h);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    MenuData* d = MenuData::From(m_hMenu);
    MenuData* m = d;
    int i = d ? int(d->items.size()) : 0;
    if (!d)
        return FALSE;
    // A position past the end appends; a command that is absent appends too.
    if (!d->Locate(nPosition, nFlags, &m, &i)) {
        m = d;
        i = int(d->items.size());
    }
    m->items.insert(m->items.begin() + i, MakeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    MenuData* m = nullptr;
    int i = 0;
    if (!FindItem(m_hMenu, nPosition, nFlags, &m, &i))
        return FALSE;
    m->items.erase(m->items.begin() + i);
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    MenuData* m = nullptr;
    int i = 0;
    if (!FindItem(m_hMenu, nPosition, nFlags, &m, &i))
        return FALSE;
    const HMENU sub = m->items[size_t(i)].submenu();
    m->items.erase(m->items.begin() + i);
    if (sub)
        ::DestroyMenu(sub);
    return TRUE;
}

// Sets the bits of mask in an item's flags as in value; the former bits,
// or -1 without such an item.
static UINT SwapItemState(HMENU menu, UINT item, UINT flags, UINT mask, UINT value)
{
    MenuItem* found = FindItem(menu, item, flags);
    if (!found)
        return UINT(-1);
    const UINT old = found->flags & mask;
    found->flags = (found->flags & ~mask) | (value & mask);
    return old;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return SwapItemState(m_hMenu, nIDCheckItem, nCheck, MF_CHECKED, nCheck);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return SwapItemState(m_hMenu, nIDEnableItem, nEnable, MF_GRAYED | MF_DISABLED, nEnable);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked)
{
    MenuItem* found = FindItem(m_hMenu, nPosition, nFlags);
    if (!found)
        return FALSE;
    MenuItem& item = *found;
    item.unchecked = pBmpUnchecked ? static_cast<HBITMAP>(pBmpUnchecked->m_hObject) : nullptr;
    item.checked = pBmpChecked ? static_cast<HBITMAP>(pBmpChecked->m_hObject) : nullptr;
    return TRUE;
}

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

UINT CMenu::GetMenuItemID(int nPos) const
{
    MenuData* d = MenuData::From(m_hMenu);
    if (!d || nPos < 0 || size_t(nPos) >= d->items.size())
        return UINT(-1);
    const MenuItem& item = d->items[size_t(nPos)];
    return item.isPopup() ? UINT(-1) : UINT(item.id);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    const MenuItem* item = FindItem(m_hMenu, nIDItem, nFlags);
    if (!item)
        return 0;
    const std::string& text = item->text;
    if (!lpString || nMaxCount <= 0)
        return int(text.size());
    const int n = std::min(int(text.size()), nMaxCount - 1);
    std::memcpy(lpString, text.data(), size_t(n));
    lpString[n] = 0;
    return n;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    const MenuItem* item = FindItem(m_hMenu, nIDItem, nFlags);
    if (!item)
        return 0;
    rString = item->text.c_str();
    return rString.GetLength();
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO info, BOOL fByPos)
{
    const MenuItem* found = FindItem(m_hMenu, uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!info || !found)
        return FALSE;
    const MenuItem& item = *found;
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = item.checked;
        info->hbmpUnchecked = item.unchecked;
    }
    if (info->fMask & MIIM_STATE)
        info->fState = item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (info->fMask & MIIM_ID)
        info->wID = UINT(item.id);
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = item.submenu();
    if (info->fMask & MIIM_DATA)
        info->dwItemData = item.data;
    if (info->fMask & MIIM_TYPE) {
        info->fType = item.flags & (MF_OWNERDRAW | MF_SEPARATOR | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK);
        if (info->dwTypeData && info->cch > 0 && !(item.flags & MF_OWNERDRAW)) {
            const UINT n = std::min(UINT(item.text.size()), info->cch - 1);
            std::memcpy(info->dwTypeData, item.text.data(), n);
            info->dwTypeData[n] = 0;
        }
        info->cch = UINT(item.text.size());
    }
    return TRUE;
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
