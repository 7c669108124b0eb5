// The layer's side of a menu: what an HMENU names. Private to the menu
// files of Platform/.
// Invariants: a handle is in the table exactly while its menu lives;
// `object` is the permanent CMenu or null, `plain` the object FromHandle
// made when there was none, deleted with the menu.
#pragma once

#include "Platform/Menu.h"

#include <memory>
#include <string>
#include <vector>

struct MenuItem {
    UINT flags = 0;        // MF_... without MF_BYPOSITION
    UINT_PTR id = 0;       // the command, or the submenu's handle
    std::string text;      // string items only
    ULONG_PTR data = 0;    // owner-drawn items only
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;

    bool isPopup() const { return (flags & MF_POPUP) != 0; }
    bool isSeparator() const { return (flags & MF_SEPARATOR) && !isPopup(); }
    HMENU submenu() const { return isPopup() ? reinterpret_cast<HMENU>(id) : nullptr; }
};

struct MenuData {
    bool popup = false;
    std::vector<MenuItem> items;
    CMenu* object = nullptr;
    std::unique_ptr<CMenu> plain;

    // Null unless h names a live menu.
    static MenuData* From(HMENU h);
    // The menu and index of an item by position or (searching submenus
    // depth-first) by command; false when there is none.
    bool Locate(UINT item, UINT flags, MenuData** menu, int* index);
};
