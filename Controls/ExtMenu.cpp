// The owner-drawn menu: records, adding, loading, finding and removing.
#include "Controls/ExtMenu.h"

#include "Controls/CommandImageList.h"
#include "Controls/ScreenContext.h"
#include "Platform/ResourceTable.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/SysColors.h"
#include "Platform/TextConv.h"
#include "Platform/WinApp.h"
#include "Pub/OsVersion.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CExtMenu, CMenu)

std::vector<HMENU> thePopupRegistry;
CImageList theMenuImages;
std::vector<int> theMenuImageIds;
int theMenuOsClass = GetOsVersionClass();
int theMenuClassicTheme = -1;

int CExtMenu::ImageWidth = 16;
int CExtMenu::ImageHeight = 16;
int CExtMenu::GreyDisabledImages = 0;

namespace {

std::u16string Wide(LPCTSTR text) { return text ? Utf8ToUtf16(text) : std::u16string(); }
std::string Narrow(const std::u16string& text) { return Utf16ToUtf8(text.c_str(), int(text.size())); }

void Unregister(HMENU menu)
{
    thePopupRegistry.erase(std::remove(thePopupRegistry.begin(), thePopupRegistry.end(), menu),
                           thePopupRegistry.end());
}

CExtMenu* ExtMenuOf(HMENU menu) { return dynamic_cast<CExtMenu*>(CMenu::FromHandlePermanent(menu)); }

} // namespace

CExtMenu::CExtMenu()
{
    if (theMenuImageIds.capacity() < 100)
        theMenuImageIds.reserve(100);
}

CExtMenu::~CExtMenu() { DestroyMenu(); }

bool CExtMenu::IsWin95Class() { return theMenuOsClass >= 2; }

bool CExtMenu::IsClassicTheme()
{
    if (theMenuClassicTheme < 0) {
        CWinApp* app = AfxGetApp();
        const CString value = app ? app->GetProfileString("Themes", "Current", "") : CString();
        const CString tail = "windows classic.theme";
        CString lower = value;
        lower.MakeLower();
        theMenuClassicTheme = lower.GetLength() >= tail.GetLength() && lower.Right(tail.GetLength()) == tail;
    }
    return theMenuClassicTheme == 1;
}

bool CExtMenu::IsXpThemed() { return theMenuOsClass == 7 && !IsClassicTheme(); }
bool CExtMenu::IsXpLook() { return IsXpThemed() ? XpLookOnXp == 1 : XpLookElsewhere == 1; }
int CExtMenu::GetXpLookSetting() { return IsXpThemed() ? XpLookOnXp : XpLookElsewhere; }
int CExtMenu::GetSelectDisabledSetting() { return IsXpLook() ? SelectDisabledXp : SelectDisabledClassic; }

const CExtMenuItemData* CExtMenu::GetRecord(int index) const
{
    return index >= 0 && size_t(index) < m_items.size() ? m_items[size_t(index)].get() : nullptr;
}

UINT CExtMenu::NewItemFlags(UINT flags, UINT_PTR id, bool byPosition)
{
    if (id == 0)
        return MF_SEPARATOR | MF_OWNERDRAW | (byPosition ? (flags & MF_BYPOSITION) : 0);
    return flags | MF_OWNERDRAW;
}

void CExtMenu::RegisterPopup(UINT flags, UINT_PTR id)
{
    if (!(flags & MF_POPUP) || id == 0)
        return;
    const HMENU popup = reinterpret_cast<HMENU>(id);
    thePopupRegistry.push_back(popup);
    m_popups.push_back(popup);
}

std::unique_ptr<CExtMenuItemData> CExtMenu::NewRecord(LPCWSTR text, UINT flags, UINT_PTR id)
{
    auto record = std::make_unique<CExtMenuItemData>();
    if (text)
        record->text = text;
    record->flags = flags;
    record->id = id;
    return record;
}

int CExtMenu::ToolBarSharedImage(UINT_PTR id, int bitmapId)
{
    if (bitmapId < 0)
        return SharedImageIndexOf(UINT(id));
    int index = 0;
    FindToolBarImage(UINT(id), UINT(bitmapId), &index);
    CImageList strip;
    strip.Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 0, 1);
    return AddResourceImage(&strip, UINT(bitmapId)) ? AddSharedImage(&strip, index, UINT(id)) : -1;
}

BOOL CExtMenu::AppendItem(LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    flags = NewItemFlags(flags, id, true);
    RegisterPopup(flags, id);
    std::unique_ptr<CExtMenuItemData> record = NewRecord(text, flags, id);
    record->sharedIndex = ToolBarSharedImage(id, bitmapId);
    CExtMenuItemData* data = record.get();
    m_items.push_back(std::move(record));
    const BOOL ok = CMenu::AppendMenu(flags, id, reinterpret_cast<LPCTSTR>(data));
    if (m_loadedFromResource)
        RestorePopupStrings();
    return ok;
}

BOOL CExtMenu::AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return AppendItem(text ? Wide(text).c_str() : nullptr, flags, id, bitmapId);
}

BOOL CExtMenu::AppendItem(LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    flags = NewItemFlags(flags, id, true);
    RegisterPopup(flags, id);
    std::unique_ptr<CExtMenuItemData> record = NewRecord(text, flags, id);
    record->sharedIndex = SharedImageIndexOf(UINT(id));
    if (list) {
        record->ownImage = 0;
        record->ownIndex = 0;
        record->ownList = std::make_unique<CImageList>();
        CopyItemImage(list, index, record->ownList.get());
    }
    CExtMenuItemData* data = record.get();
    m_items.push_back(std::move(record));
    return CMenu::AppendMenu(flags, id, reinterpret_cast<LPCTSTR>(data));
}

BOOL CExtMenu::AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    return AppendItem(text ? Wide(text).c_str() : nullptr, flags, id, list, index);
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, int bitmapId)
{
    return AppendItem(text, flags, id, bitmapId);
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text, int bitmapId)
{
    return AppendItem(text, flags, id, bitmapId);
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, CImageList* list, int index)
{
    return AppendItem(text, flags, id, list, index);
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text, CImageList* list, int index)
{
    return AppendItem(text, flags, id, list, index);
}

int CExtMenu::ImageOfBitmap(CBitmap* bitmap, CImageList* list)
{
    list->Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 0, 1);
    return list->Add(bitmap, m_useBitmapBackground ? m_bitmapBackground : GetSysColor(COLOR_BTNFACE));
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, CBitmap* bitmap)
{
    if (!bitmap)
        return AppendItem(text, flags, id, nullptr, 0);
    CImageList list;
    ImageOfBitmap(bitmap, &list);
    return AppendItem(text, flags, id, &list, 0);
}

BOOL CExtMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text, CBitmap* bitmap)
{
    return AppendMenu(flags, id, text ? Wide(text).c_str() : nullptr, bitmap);
}

CExtMenu* CExtMenu::NewPopup()
{
    auto* popup = new CExtMenu;
    popup->m_checkImages = m_checkImages;
    popup->m_checkSelectedId = m_checkSelectedId;
    popup->m_checkUnselectedId = m_checkUnselectedId;
    popup->m_checkImagesShared = true;
    popup->CreatePopupMenu();
    return popup;
}

CExtMenu* CExtMenu::AppendPopup(LPCWSTR text)
{
    CExtMenu* popup = NewPopup();
    AppendItem(text, MF_POPUP, reinterpret_cast<UINT_PTR>(popup->m_hMenu), -1);
    return popup;
}

CExtMenu* CExtMenu::AppendPopup(LPCTSTR text) { return AppendPopup(Wide(text).c_str()); }

BOOL CExtMenu::ModifyWalk(LPCWSTR text, UINT id, CImageList* list, int index, int bitmapId, bool useBitmapId)
{
    std::vector<CExtMenu*> menus;
    std::vector<int> positions;
    int position = -1;
    CExtMenuItemData* last = nullptr;
    for (CExtMenu* menu = FindItemPosition(id, &position); menu;
         menu = FindNextItemPosition(id, &position, menus, positions)) {
        menus.push_back(menu);
        positions.push_back(position);
        if (size_t(position) >= menu->m_items.size())
            continue;
        CExtMenuItemData* record = menu->m_items[size_t(position)].get();
        if (text)
            record->text = text;
        record->ownImage = -1;
        record->ownIndex = -1;
        record->id = id;
        record->flags = (record->flags & ~UINT(MF_BYPOSITION)) | MF_OWNERDRAW;
        if (list) {
            record->ownList.reset();
            record->sharedIndex = AddSharedImage(list, index, id);
        } else if (useBitmapId) {
            if (bitmapId >= 0)
                record->ownList.reset();
            record->sharedIndex = ToolBarSharedImage(id, bitmapId);
        }
        last = record;
    }
    if (!last)
        return FALSE;
    return CMenu::ModifyMenu(id, last->flags & ~UINT(MF_BYPOSITION), id, reinterpret_cast<LPCTSTR>(last));
}

BOOL CExtMenu::ModifyItem(LPCWSTR text, UINT id, CImageList* list, int index)
{
    return ModifyWalk(text, id, list, index, -1, false);
}

BOOL CExtMenu::ModifyItem(LPCTSTR text, UINT id, CImageList* list, int index)
{
    return ModifyItem(text ? Wide(text).c_str() : nullptr, id, list, index);
}

BOOL CExtMenu::LoadImages(CCommandImageList* registry)
{
    if (!registry)
        return FALSE;
    for (int i = 0; i < registry->GetCount(); ++i) {
        CommandImageInfo info{};
        if (registry->GetAt(i, info) && info.id != 0 && GetMenuState(info.id, MF_BYCOMMAND) != UINT(-1))
            ModifyItem(static_cast<LPCWSTR>(nullptr), info.id, registry, i);
    }
    return TRUE;
}

bool CExtMenu::FindToolBarImage(UINT id, UINT toolBarId, int* index)
{
    ToolBarInfo toolBar;
    if (!LoadToolBarResource(toolBarId, &toolBar))
        return false;
    int image = 0;
    for (UINT button : toolBar.ids) {
        if (button == id) {
            if (image > 0)
                *index = image;
            return true;
        }
        if (button != 0)
            ++image;
    }
    return false;
}

CExtMenu* CExtMenu::Find(UINT id, int* position, const std::vector<CExtMenu*>* menus,
                         const std::vector<int>* positions)
{
    const int count = GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        if (GetMenuState(UINT(p), MF_BYPOSITION) & MF_POPUP) {
            if (CExtMenu* popup = ExtMenuOf(::GetSubMenu(m_hMenu, p))) {
                if (CExtMenu* found = popup->Find(id, position, menus, positions))
                    return found;
            }
            continue;
        }
        if (GetMenuItemID(p) != id)
            continue;
        bool visited = false;
        for (size_t k = 0; menus && k < menus->size() && k < positions->size(); ++k)
            visited = visited || ((*menus)[k] == this && (*positions)[k] == p);
        if (!visited) {
            *position = p;
            return this;
        }
    }
    *position = -1;
    return nullptr;
}

CExtMenu* CExtMenu::FindItemPosition(UINT id, int* position) { return Find(id, position, nullptr, nullptr); }

CExtMenu* CExtMenu::FindNextItemPosition(UINT id, int* position, std::vector<CExtMenu*>& menus,
                                         std::vector<int>& positions)
{
    return Find(id, position, &menus, &positions);
}

CExtMenuItemData* CExtMenu::FindItemData(UINT id)
{
    for (auto& record : m_items) {
        if (record->id == id)
            return record.get();
    }
    int position = -1;
    CExtMenu* menu = FindItemPosition(id, &position);
    if (!menu || size_t(position) >= menu->m_items.size())
        return nullptr;
    return menu->m_items[size_t(position)].get();
}

BOOL CExtMenu::GetMenuText(UINT item, std::u16string& text, UINT flags)
{
    if (!(flags & MF_BYPOSITION)) {
        int position = -1;
        CExtMenu* menu = FindItemPosition(item, &position);
        return menu ? menu->GetMenuText(UINT(position), text, MF_BYPOSITION) : FALSE;
    }
    if (item >= m_items.size())
        return FALSE;
    text = m_items[item]->text;
    return TRUE;
}

BOOL CExtMenu::GetMenuText(UINT item, CString& text, UINT flags)
{
    std::u16string wide;
    if (!GetMenuText(item, wide, flags))
        return FALSE;
    text = Narrow(wide).c_str();
    return TRUE;
}

BOOL CExtMenu::RemoveOrDelete(UINT item, UINT flags, bool destroy)
{
    if (!(flags & MF_BYPOSITION)) {
        int position = -1;
        if (CExtMenu* menu = FindItemPosition(item, &position))
            return menu->RemoveOrDelete(UINT(position), MF_BYPOSITION, destroy);
        return destroy ? CMenu::DeleteMenu(item, flags) : CMenu::RemoveMenu(item, flags);
    }
    // A position outside the platform items touches nothing.
    const UINT state = GetMenuState(item, MF_BYPOSITION);
    if (state == UINT(-1))
        return FALSE;
    if ((state & MF_SEPARATOR) && !(state & MF_POPUP)) {
        if (item < m_items.size() && (!destroy || m_items[item]->text.empty()))
            m_items.erase(m_items.begin() + item);
    } else if (state & MF_POPUP) {
        const HMENU popup = ::GetSubMenu(m_hMenu, int(item));
        m_popups.erase(std::remove(m_popups.begin(), m_popups.end(), popup), m_popups.end());
        Unregister(popup);
        CExtMenu* object = ExtMenuOf(popup);
        if (object) {
            for (int i = object->GetMenuItemCount() - 1; i >= 0; --i)
                object->RemoveOrDelete(UINT(i), MF_BYPOSITION, false);
        }
        for (size_t r = m_items.size(); r-- > 0;) {
            if (m_items[r]->id == reinterpret_cast<UINT_PTR>(popup)) {
                m_items.erase(m_items.begin() + r);
                break;
            }
        }
        delete object;
    } else {
        const UINT id = GetMenuItemID(int(item));
        auto it = std::find_if(m_items.begin(), m_items.end(), [id](const auto& r) { return r->id == id; });
        if (it != m_items.end())
            m_items.erase(it);
    }
    return destroy ? CMenu::DeleteMenu(item, MF_BYPOSITION) : CMenu::RemoveMenu(item, MF_BYPOSITION);
}

BOOL CExtMenu::RemoveMenu(UINT item, UINT flags) { return RemoveOrDelete(item, flags, false); }
BOOL CExtMenu::DeleteMenu(UINT item, UINT flags) { return RemoveOrDelete(item, flags, true); }

BOOL CExtMenu::DestroyMenu()
{
    Unregister(m_hMenu);
    for (size_t i = m_popups.size(); i-- > 0;) {
        Unregister(m_popups[i]);
        delete ExtMenuOf(m_popups[i]);
    }
    m_popups.clear();
    m_items.clear();
    if (!m_checkImagesShared)
        delete m_checkImages;
    m_checkImages = nullptr;
    return CMenu::DestroyMenu();
}

BOOL CExtMenu::LoadMenu(UINT nIDResource) { return LoadMenuByName(MAKEINTRESOURCE(LOWORD(nIDResource))); }

BOOL CExtMenu::LoadMenuByName(LPCTSTR lpszResourceName)
{
    const HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    const HRSRC res = module ? FindResource(module, lpszResourceName, RT_MENU) : nullptr;
    if (!res)
        return FALSE;
    // Resource libraries supply templates: the whole template is checked
    // before the menu is touched.
    std::vector<MenuTemplateItem> items;
    if (!ReadMenuTemplate(LockResource(LoadResource(module, res)), SizeofResource(module, res), &items))
        return FALSE;
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;
    std::vector<CExtMenu*> menus{ this };
    std::vector<bool> closed{ false };
    for (const MenuTemplateItem& t : items) {
        const UINT flags = t.flags & ~UINT(MENU_TEMPLATE_END);
        const std::u16string text = Utf8ToUtf16(t.text.c_str());
        if (flags & MENU_TEMPLATE_POPUP) {
            if (t.flags & MENU_TEMPLATE_END)
                closed.back() = true;
            CExtMenu* popup = NewPopup();
            menus.back()->AppendItem(text.c_str(), flags, reinterpret_cast<UINT_PTR>(popup->m_hMenu), -1);
            menus.push_back(popup);
            closed.push_back(false);
            continue;
        }
        menus.back()->AppendItem(text.c_str(), flags, t.id, -1);
        if (t.flags & MENU_TEMPLATE_END)
            closed.back() = true;
        while (!menus.empty() && closed.back()) {
            menus.back()->AlignAccelerators();
            menus.pop_back();
            closed.pop_back();
        }
    }
    // The bar's own items are drawn by the platform: plain strings.
    for (size_t p = 0; p < m_items.size(); ++p) {
        CExtMenuItemData* record = m_items[p].get();
        const std::string text = Narrow(record->text);
        const bool popup = (GetMenuState(UINT(p), MF_BYPOSITION) & MF_POPUP) != 0;
        record->flags = MF_BYPOSITION | (popup ? MF_POPUP : MF_STRING);
        CMenu::ModifyMenu(UINT(p), record->flags, record->id, text.c_str());
    }
    m_loadedFromResource = true;
    return TRUE;
}

void CExtMenu::AlignAccelerators()
{
    if ((IsXpLook() ? AlignAcceleratorsXp : AlignAcceleratorsClassic) != 1)
        return;
    ScreenContext screen;
    CFont font;
    screen.SelectMenuFont(&font);
    auto width = [&](const std::u16string& text) { return screen.dc()->GetTextExtent(Narrow(text).c_str()).cx; };
    int widest = 0;
    for (auto& record : m_items)
        widest = std::max(widest, width(record->text.substr(0, record->text.find(u'\t')) + u" "));
    for (auto& record : m_items) {
        const size_t tab = record->text.find(u'\t');
        if (tab == std::u16string::npos)
            continue;
        std::u16string label = record->text.substr(0, tab);
        // A blank that adds no width would pad forever: stop there.
        for (int w = width(label); w < widest;) {
            const int wider = width(label + u" ");
            if (wider <= w)
                break;
            label += u' ';
            w = wider;
        }
        record->text = label + record->text.substr(tab);
    }
}

void CExtMenu::RestorePopupStrings()
{
    const int start = GetForeignItemCount();
    const int count = GetMenuItemCount();
    for (int i = 0; start + i < count; ++i) {
        if (size_t(i) >= m_items.size() || !(GetMenuState(UINT(start + i), MF_BYPOSITION) & MF_POPUP))
            continue;
        CExtMenuItemData* record = m_items[size_t(i)].get();
        record->flags = MF_BYPOSITION | MF_POPUP;
        CMenu::ModifyMenu(UINT(start + i), MF_BYPOSITION | MF_POPUP,
                          reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, start + i)), Narrow(record->text).c_str());
    }
}

int CExtMenu::GetForeignItemCount()
{
    if (!m_loadedFromResource)
        return 0;
    const int count = GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        CString text;
        GetMenuString(UINT(p), text, MF_BYPOSITION);
        for (size_t r = 0; r < m_items.size(); ++r) {
            if (Narrow(m_items[r]->text) == static_cast<LPCTSTR>(text))
                return p >= int(r) ? p - int(r) : 0;
        }
    }
    return 0;
}
