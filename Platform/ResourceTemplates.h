// The classic binary layouts of menu templates, accelerator tables and
// dialog templates: builders that write them (for the program's own
// resources and for resource libraries) and a reader of dialog templates.
// All words are little-endian; texts are UTF-16 in the bytes, UTF-8 here.
#pragma once

#include "Platform/Geometry.h"

#include <string>
#include <vector>

// Menu template items. Flag values as the template stores them.
#define MENU_TEMPLATE_GRAYED 0x0001
#define MENU_TEMPLATE_CHECKED 0x0008
#define MENU_TEMPLATE_POPUP 0x0010
#define MENU_TEMPLATE_END 0x0080

// One item: `level` 0 for the bar, one more for each popup it sits in; a
// popup's items follow it directly. A null text makes a separator.
struct MenuItemSpec {
    BYTE level;
    WORD flags;
    WORD id;
    const char* text;
};
// Version word, header-size word, then per item its flags word, its id
// word (not for popups) and its text; the last item of each level is
// flagged MENU_TEMPLATE_END.
std::vector<BYTE> BuildMenuTemplate(const MenuItemSpec* items, int count);

// A menu template read back: the items in template order, each with its
// level, its flags as stored (MENU_TEMPLATE_END included) and its text.
struct MenuTemplateItem {
    int level = 0;
    WORD flags = 0;
    WORD id = 0;
    std::string text;
};
// The deepest popup nesting a template may have.
#define MENU_TEMPLATE_MAX_DEPTH 16
// False, with items untouched, unless the bytes hold a whole template: every
// text terminated and every level, the bar's included, closed by an item
// flagged MENU_TEMPLATE_END within size bytes and the depth limit.
bool ReadMenuTemplate(const void* data, DWORD size, std::vector<MenuTemplateItem>* items);

// Toolbar resources: version word 1, button width and height words, the
// count word, then a command word per button (0 for a separator). The
// bitmap of the same id holds the images of the buttons that are not
// separators, in order.
struct ToolBarInfo {
    int width = 0;
    int height = 0;
    std::vector<UINT> ids;
};
std::vector<BYTE> BuildToolBarTemplate(int width, int height, const UINT* ids, int count);
// False for bytes that are not a whole toolbar resource.
bool ReadToolBarTemplate(const void* data, DWORD size, ToolBarInfo* info);
// The toolbar resource id along the resource chain; false when missing or bad.
bool LoadToolBarResource(UINT id, ToolBarInfo* info);

// Accelerator entries: key flags, key (a virtual key with FVIRTKEY), command.
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
// Eight bytes per entry (flags, key, command, padding); the last entry's
// flags carry 0x80.
std::vector<BYTE> BuildAcceleratorTable(const ACCEL* entries, int count);

// Dialog styles the templates use.
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_CENTER 0x0800L
#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define SS_BITMAP 0x000EL
#define SS_NOTIFY 0x0100L
#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_GROUPBOX 0x0007L
#define BS_OWNERDRAW 0x000BL
#define ES_AUTOHSCROLL 0x0080L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_HASSTRINGS 0x0200L
#define CBS_SORT 0x0100L

// Controls by their predefined classes: "BUTTON", "EDIT", "STATIC",
// "LISTBOX", "SCROLLBAR", "COMBOBOX"; any other name is stored as text.
struct DialogItemSpec {
    const char* className;
    const char* text;      // ignored when imageId is set
    WORD imageId;          // a resource id as the text (bitmap statics)
    WORD id;
    DWORD style;
    DWORD exStyle;
    CRect rect;            // dialog units: x, y, x + width, y + height
};

struct DialogSpec {
    DWORD style;
    DWORD exStyle;
    CRect rect;            // dialog units
    const char* title;
    WORD pointSize;        // with DS_SETFONT
    const char* face;
    const DialogItemSpec* items;
    int count;
};
std::vector<BYTE> BuildDialogTemplate(const DialogSpec& layout);

// A dialog template read back.
struct DialogItemInfo {
    std::string className;
    std::string text;
    WORD imageId = 0;
    WORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rect;
};
struct DialogInfo {
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rect;
    std::string title;
    WORD pointSize = 0;
    std::string face;
    std::vector<DialogItemInfo> items;
};
// False for bytes that are not a whole dialog template.
bool ReadDialogTemplate(const void* data, DWORD size, DialogInfo* info);

// The base units of a dialog font in pixels (average character width and
// character cell height); a dialog unit is a quarter of the one and an
// eighth of the other. "System" (or no face) is the classic 8 by 16.
CSize DialogBaseUnits(const char* face, int pointSize);
// Dialog units to pixels with those base units.
void MapDialogRect(CSize baseUnits, LPRECT rect);
