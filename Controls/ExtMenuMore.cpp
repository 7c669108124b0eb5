// The further item operations of the owner-drawn menu: inserting, the other
// ways of changing images and texts, removals and searches by text, toolbar
// images, rebuilding the records and the menu-character answer.
#include "Controls/ExtMenu.h"

#include "Controls/ScreenContext.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/TextConv.h"

#include <algorithm>
#include <cwctype>

namespace {

std::u16string Wide(LPCTSTR text) { return text ? Utf8ToUtf16(text) : std::u16string(); }

// The wide form of an optional text: null stays null.
struct WideArg {
    explicit WideArg(LPCTSTR text) : has(text != nullptr), value(Wide(text)) {}
    LPCWSTR get() const { return has ? value.c_str() : nullptr; }
    bool has;
    std::u16string value;
};

CExtMenu* ExtMenuOf(HMENU menu) { return dynamic_cast<CExtMenu*>(CMenu::FromHandlePermanent(menu)); }

char16_t Lower(char16_t c) { return char16_t(std::towlower(wint_t(c))); }

std::u16string Lower(std::u16string text)
{
    for (char16_t& c : text)
        c = Lower(c);
    return text;
}

} // namespace

BOOL CExtMenu::InsertAt(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index,
                        int bitmapId)
{
    const bool listForm = bitmapId == -2;
    if (!(flags & MF_BYPOSITION)) {
        int found = -1;
        CExtMenu* menu = FindItemPosition(position, &found);
        if (!menu)
            return FALSE;
        return menu->InsertAt(UINT(found), text, flags | MF_BYPOSITION, id, list, index, bitmapId);
    }
    flags = id == 0 ? UINT(MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR) : flags | MF_OWNERDRAW;
    RegisterPopup(flags, id);
    if (position == UINT(-1))
        position = UINT(GetMenuItemCount());
    size_t at = position;
    if (!listForm && m_loadedFromResource) {
        const UINT foreign = UINT(GetForeignItemCount());
        if (position >= foreign)
            at = position - foreign;
    }
    at = std::min(at, m_items.size());
    std::unique_ptr<CExtMenuItemData> record = NewRecord(text, flags, id);
    if (!listForm)
        record->sharedIndex = ToolBarSharedImage(id, bitmapId);
    else if (list)
        record->sharedIndex = AddSharedImage(list, index, UINT(id));
    CExtMenuItemData* data = record.get();
    m_items.insert(m_items.begin() + std::ptrdiff_t(at), std::move(record));
    const BOOL ok = CMenu::InsertMenu(position, flags | MF_BYPOSITION, id, reinterpret_cast<LPCTSTR>(data));
    if (!listForm && m_loadedFromResource)
        RestorePopupStrings();
    return ok;
}

BOOL CExtMenu::InsertItem(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return InsertAt(position, text, flags, id, nullptr, 0, std::max(bitmapId, -1));
}

BOOL CExtMenu::InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return InsertItem(position, WideArg(text).get(), flags, id, bitmapId);
}

BOOL CExtMenu::InsertItem(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    return InsertAt(position, text, flags, id, list, index, -2);
}

BOOL CExtMenu::InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    return InsertItem(position, WideArg(text).get(), flags, id, list, index);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int bitmapId)
{
    return InsertItem(position, text, flags, id, bitmapId);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text, int bitmapId)
{
    return InsertItem(position, text, flags, id, bitmapId);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, CImageList* list, int index)
{
    return InsertItem(position, text, flags, id, list, index);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text, CImageList* list, int index)
{
    return InsertItem(position, text, flags, id, list, index);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, CBitmap* bitmap)
{
    if (!bitmap)
        return InsertItem(position, text, flags, id, nullptr, 0);
    CImageList list;
    ImageOfBitmap(bitmap, &list);
    return InsertItem(position, text, flags, id, &list, 0);
}

BOOL CExtMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text, CBitmap* bitmap)
{
    return InsertMenu(position, flags, id, WideArg(text).get(), bitmap);
}

BOOL CExtMenu::ModifyItem(LPCWSTR text, UINT id, int bitmapId)
{
    return ModifyWalk(text, id, nullptr, 0, bitmapId, true);
}

BOOL CExtMenu::ModifyItem(LPCTSTR text, UINT id, int bitmapId) { return ModifyItem(WideArg(text).get(), id, bitmapId); }

BOOL CExtMenu::ModifyItem(LPCWSTR text, UINT id, CBitmap* bitmap)
{
    if (!bitmap)
        return ModifyWalk(text, id, nullptr, 0, -1, false);
    CImageList list;
    ImageOfBitmap(bitmap, &list);
    return ModifyItem(text, id, &list, 0);
}

BOOL CExtMenu::ModifyItem(LPCTSTR text, UINT id, CBitmap* bitmap) { return ModifyItem(WideArg(text).get(), id, bitmap); }

BOOL CExtMenu::ModifyItem(LPCWSTR text, UINT id, COLORREF fill, COLORREF border, int hatch, const CSize* size)
{
    const CSize block = size ? *size : CSize(ImageWidth, ImageHeight);
    ScreenContext screen;
    CBitmap bitmap;
    MakeColourBlock(screen.dc(), &bitmap, block.cx, block.cy, ImageWidth, ImageHeight, fill, border, hatch);
    return ModifyItem(text, id, &bitmap);
}

BOOL CExtMenu::ModifyItem(LPCTSTR text, UINT id, COLORREF fill, COLORREF border, int hatch, const CSize* size)
{
    return ModifyItem(WideArg(text).get(), id, fill, border, hatch, size);
}

BOOL CExtMenu::ModifyItemByText(LPCWSTR newText, LPCWSTR oldText, int bitmapId)
{
    CExtMenuItemData* record = FindItemDataByText(oldText);
    if (!record)
        return FALSE;
    if (newText)
        record->text = newText;
    record->ownIndex = -1;
    record->ownImage = bitmapId;
    if (bitmapId >= 0) {
        record->ownIndex = 0;
        record->ownList = std::make_unique<CImageList>();
        record->ownList->Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
        if (!AddResourceImage(record->ownList.get(), UINT(bitmapId))) {
            record->ownList.reset();
            record->ownImage = -1;
            record->ownIndex = -1;
        }
    }
    return TRUE;
}

BOOL CExtMenu::ModifyItemByText(LPCTSTR newText, LPCTSTR oldText, int bitmapId)
{
    return ModifyItemByText(WideArg(newText).get(), Wide(oldText).c_str(), bitmapId);
}

BOOL CExtMenu::SetMenuText(UINT item, LPCWSTR text, UINT flags)
{
    if (!(flags & MF_BYPOSITION)) {
        int position = -1;
        CExtMenu* menu = FindItemPosition(item, &position);
        return menu ? menu->SetMenuText(UINT(position), text, MF_BYPOSITION) : FALSE;
    }
    if (item >= m_items.size())
        return FALSE;
    m_items[item]->text = text ? text : u"";
    return TRUE;
}

BOOL CExtMenu::SetMenuText(UINT item, LPCTSTR text, UINT flags) { return SetMenuText(item, Wide(text).c_str(), flags); }

int CExtMenu::RemoveByText(LPCWSTR text, int kind, bool destroy)
{
    const int index = FindItemIndexByText(text);
    if (index < 0)
        return -1;
    RemoveOrDelete(UINT(index), MF_BYPOSITION, destroy);
    // Items before the found one, nearest first; none before the first item.
    const int before = kind == 1 || kind == 2 ? 1 : kind == 3 ? 2 : 0;
    for (int k = 1; k <= before && index - k >= 0; ++k)
        RemoveOrDelete(UINT(index - k), MF_BYPOSITION, destroy);
    return index;
}

int CExtMenu::RemoveMenuByText(LPCWSTR text, int kind) { return RemoveByText(text, kind, false); }
int CExtMenu::RemoveMenuByText(LPCTSTR text, int kind) { return RemoveByText(Wide(text).c_str(), kind, false); }
int CExtMenu::DeleteMenuByText(LPCWSTR text, int kind) { return RemoveByText(text, kind, true); }
int CExtMenu::DeleteMenuByText(LPCTSTR text, int kind) { return RemoveByText(Wide(text).c_str(), kind, true); }

BOOL CExtMenu::ApplyToolBarImages(UINT toolBarId)
{
    ToolBarInfo toolBar;
    if (!LoadToolBarResource(toolBarId, &toolBar))
        return FALSE;
    CImageList strip;
    strip.Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 0, 1);
    if (!AddResourceImage(&strip, toolBarId))
        return FALSE;
    int image = 0;
    for (size_t position = 0; position < toolBar.ids.size(); ++position) {
        const UINT id = toolBar.ids[position];
        if (id == 0)
            continue;
        const int index = image > 0 ? image : int(position);
        ++image;
        if (GetMenuState(id, MF_BYCOMMAND) != UINT(-1))
            ModifyItem(static_cast<LPCWSTR>(nullptr), id, &strip, index);
    }
    return TRUE;
}

BOOL CExtMenu::ApplyToolBarImages(const UINT* toolBarIds, int count)
{
    BOOL all = TRUE;
    for (int i = 0; i < count; ++i)
        all = ApplyToolBarImages(toolBarIds[i]) && all;
    return all;
}

CExtMenuItemData* CExtMenu::FindItemDataByText(LPCWSTR text)
{
    const std::u16string wanted = text ? text : u"";
    const int count = GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        if (GetMenuState(UINT(p), MF_BYPOSITION) & MF_POPUP) {
            if (CExtMenu* popup = ExtMenuOf(::GetSubMenu(m_hMenu, p))) {
                if (CExtMenuItemData* found = popup->FindItemDataByText(text))
                    return found;
            }
            continue;
        }
        for (auto& record : m_items) {
            if (record->text == wanted)
                return record.get();
        }
    }
    return nullptr;
}

CExtMenuItemData* CExtMenu::FindItemDataByText(LPCTSTR text) { return FindItemDataByText(Wide(text).c_str()); }

int CExtMenu::FindItemIndexByText(LPCWSTR text)
{
    const std::u16string wanted = text ? text : u"";
    const int count = GetMenuItemCount();
    bool plain = false;
    for (int p = 0; p < count && !plain; ++p)
        plain = !(GetMenuState(UINT(p), MF_BYPOSITION) & MF_POPUP);
    if (!plain)
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->text == wanted)
            return int(i);
    }
    return -1;
}

int CExtMenu::FindItemIndexByText(LPCTSTR text) { return FindItemIndexByText(Wide(text).c_str()); }

CExtMenu* CExtMenu::FindPopup(LPCWSTR text)
{
    CExtMenuItemData* record = FindItemDataByText(text);
    return record ? ExtMenuOf(reinterpret_cast<HMENU>(record->id)) : nullptr;
}

CExtMenu* CExtMenu::FindPopup(LPCTSTR text) { return FindPopup(Wide(text).c_str()); }

CExtMenu* CExtMenu::FindPopupByString(LPCTSTR text)
{
    const int count = GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        CString string;
        GetMenuString(UINT(p), string, MF_BYPOSITION);
        if (_mbscmp(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(string)),
                    reinterpret_cast<const unsigned char*>(text ? text : "")) == 0)
            return ExtMenuOf(::GetSubMenu(m_hMenu, p));
    }
    return nullptr;
}

CExtMenuItemData* CExtMenu::TakeUnusedItemData(UINT_PTR id)
{
    for (auto& record : m_items) {
        if (!record->seen && record->id == id) {
            record->seen = true;
            return record.get();
        }
    }
    return nullptr;
}

CExtMenuItemData* CExtMenu::MakeOwnerDrawn(int position, UINT flags, UINT_PTR id, const std::u16string& text)
{
    std::unique_ptr<CExtMenuItemData> record = NewRecord(text.c_str(), flags, id);
    record->seen = true;
    CExtMenuItemData* data = record.get();
    const std::string narrow = Utf16ToUtf8(text.c_str(), int(text.size()));
    CMenu::ModifyMenu(UINT(position), flags, id,
                      (flags & MF_OWNERDRAW) ? reinterpret_cast<LPCTSTR>(data) : narrow.c_str());
    m_items.push_back(std::move(record));
    return data;
}

void CExtMenu::SynchronizeItems()
{
    for (auto& record : m_items)
        record->seen = false;
    std::vector<CExtMenuItemData*> order;
    const int count = GetMenuItemCount();
    for (int p = 0; p < count; ++p) {
        UINT state = GetMenuState(UINT(p), MF_BYPOSITION);
        CString string;
        GetMenuString(UINT(p), string, MF_BYPOSITION);
        const std::u16string text = Wide(string);
        CExtMenuItemData* record = nullptr;
        if (state & MF_POPUP) {
            state &= 0xFF;
            const HMENU popup = ::GetSubMenu(m_hMenu, p);
            record = TakeUnusedItemData(reinterpret_cast<UINT_PTR>(popup));
            if (record && !text.empty())
                record->text = text;
            else if (!record)
                record = MakeOwnerDrawn(p, (state & ~UINT(MF_POPUP)) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP,
                                        reinterpret_cast<UINT_PTR>(popup), text);
        } else if (state & MF_SEPARATOR) {
            record = TakeUnusedItemData(0);
            if (record)
                CMenu::ModifyMenu(UINT(p), MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0,
                                  reinterpret_cast<LPCTSTR>(record));
            else
                record = MakeOwnerDrawn(p, state | MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0, u"");
        } else {
            const UINT id = GetMenuItemID(p);
            const UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            record = TakeUnusedItemData(id);
            if (record) {
                record->flags = flags;
                if (!text.empty())
                    record->text = text;
                CMenu::ModifyMenu(UINT(p), flags, id, reinterpret_cast<LPCTSTR>(record));
            } else {
                record = MakeOwnerDrawn(p, flags, id, text);
            }
        }
        order.push_back(record);
    }
    // Records no item claimed are destroyed; the rest follow the positions.
    std::vector<std::unique_ptr<CExtMenuItemData>> next;
    for (CExtMenuItemData* record : order) {
        auto it = std::find_if(m_items.begin(), m_items.end(), [record](const auto& r) { return r.get() == record; });
        next.push_back(std::move(*it));
        m_items.erase(it);
    }
    m_items = std::move(next);
}

void CExtMenu::SyncMenu(CMenu* menu)
{
    if (auto* ext = dynamic_cast<CExtMenu*>(menu))
        ext->SynchronizeItems();
}

LRESULT CExtMenu::HandleMenuChar(UINT character, UINT flags, CMenu* menu)
{
    auto* ext = dynamic_cast<CExtMenu*>(menu);
    if (!ext || !(flags & MF_POPUP))
        return 0;
    const std::u16string key = std::u16string(u"&") + Lower(char16_t(character));
    if (ext->GetMenuItemCount() != ext->GetRecordCount())
        ext->SynchronizeItems();
    for (int i = 0; i < ext->GetMenuItemCount(); ++i) {
        std::u16string text;
        if (ext->GetMenuText(UINT(i), text, MF_BYPOSITION) && Lower(text).find(key) != std::u16string::npos)
            return LRESULT(MAKELONG(WORD(i), MNC_EXECUTE));
    }
    return 0;
}

bool CExtMenu::IsRegisteredPopup(HMENU menu)
{
    return std::find(thePopupRegistry.begin(), thePopupRegistry.end(), menu) != thePopupRegistry.end();
}

bool CExtMenu::IsRegisteredPopup(CMenu* menu) { return menu && IsRegisteredPopup(menu->GetSafeHmenu()); }
