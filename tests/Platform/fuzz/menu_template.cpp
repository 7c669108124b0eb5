// Feeds arbitrary bytes to the menu template reader, then builds a menu from
// what it accepted: every level is closed, the depth stays within the limit
// and the menu holds exactly the bar's items.
#include "Platform/Menu.h"
#include "Platform/ResourceTemplates.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<MenuTemplateItem> items;
    if (!ReadMenuTemplate(data, DWORD(size), &items))
        return 0;
    if (items.empty())
        std::abort();
    int bar = 0;
    for (const MenuTemplateItem& item : items) {
        if (item.level < 0 || item.level > MENU_TEMPLATE_MAX_DEPTH)
            std::abort();
        bar += item.level == 0;
    }
    const HMENU menu = LoadMenuIndirect(data, DWORD(size));
    if (!menu || GetMenuItemCount(menu) != bar)
        std::abort();
    DestroyMenu(menu);
    return 0;
}
