// The program's menus, keyboard tables and dialog templates, written in the
// classic layouts the menu, frame and dialog classes read.
#include "Platform/ProgramResources.h"

#include "Platform/CursorData.h"
#include "Platform/Messages.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/WindowStyles.h"

#include <vector>

namespace {

#include "Platform/ProgramIcons.inc"

const WORD P = MENU_TEMPLATE_POPUP;
const WORD G = MENU_TEMPLATE_GRAYED;

const MenuItemSpec kMainMenu[] = {
    { 0, P, 0, "&File" },
    { 1, 0, 57600, "New\tCtrl+N" },
    { 1, 0, 57601, "Open\tCtrl+O" },
    { 1, 0, 57602, "Close\tCtrl+W" },
    { 1, P, 0, "Recent projects" },
    { 2, G, 32797, "Project list" },
    { 1, 0, 0, nullptr },
    { 1, 0, 32800, "Load library" },
    { 1, 0, 32801, "Remove library" },
    { 1, 0, 0, nullptr },
    { 1, 0, 57603, "Save\tCtrl+S" },
    { 1, 0, 32783, "Sall All\tCtrl+Shift+A" },
    { 1, 0, 0, nullptr },
    { 1, 0, 57607, "Print\tCtrl+P" },
    { 1, 0, 57606, "Print Settings" },
    { 1, 0, 0, nullptr },
    { 1, 0, 57665, "&Exit" },
    { 0, P, 0, "&Edit" },
    { 1, 0, 57643, "Undo\tCtrl+Z" },
    { 1, 0, 57644, "Redo\tCtrl+Y" },
    { 1, 0, 0, nullptr },
    { 1, 0, 57635, "Cut\tCtrl+X" },
    { 1, 0, 57634, "Copy\tCtrl+C" },
    { 1, 0, 57637, "Paste\tCtrl+V" },
    { 1, 0, 32773, "Delete\tDelete" },
    { 1, 0, 57642, "Select All  \tCtrl+A" },
    { 1, 0, 0, nullptr },
    { 1, 0, 32790, "Move Up" },
    { 1, 0, 32791, "Move Down" },
    { 1, 0, 0, nullptr },
    { 1, 0, 32799, "Search\tF7" },
    { 0, P, 0, "&View" },
    { 1, 0, 59392, "Tool Bar" },
    { 1, 0, 59393, "Status Bar" },
    { 1, P, 0, "UML Bar" },
    { 2, 0, 32775, "&Model\tF11" },
    { 2, 0, 32774, "&Properties\tF12" },
    { 2, 0, 32778, "&Symbol" },
    { 2, 0, 32776, "&Messages" },
    { 1, P, 0, "Zoom" },
    { 2, 0, 32787, "Zoom In\tCtrl+Add" },
    { 2, 0, 32788, "Zoom Out\tCtrl+Subtract" },
    { 2, 0, 32789, "Actual Size\tCtrl+Divide" },
    { 1, P, 0, "Page" },
    { 2, 0, 32793, "Next page" },
    { 2, 0, 32794, "Fore page" },
    { 0, P, 0, "&Tools" },
    { 1, 0, 32798, "Options" },
    { 1, 0, 32795, "Run Javascript" },
    { 0, P, 0, "&Window" },
    { 1, 0, 32785, "Close\tAlt+F5" },
    { 1, 0, 32786, "Close All\tAlt+F6" },
    { 0, P, 0, "&Help" },
    { 1, 0, 57667, "Help Topics" },
    { 1, 0, 0, nullptr },
    { 1, 0, 57664, "&About Vexal" },
};

const BYTE K = FVIRTKEY | FNOINVERT;

// Keys of the main window.
const ACCEL kMainKeys[] = {
    { K | FCONTROL, 'N', 57600 }, { K | FCONTROL, 'O', 57601 }, { K | FCONTROL, 'P', 57607 },
    { K | FCONTROL, 'S', 57603 }, { K, VK_F1, 57667 },          { K, VK_F11, 32775 },
    { K, VK_F12, 32774 },         { K, VK_F7, 32799 },          { K | FCONTROL, 'W', 57602 },
};

// Keys of the focused pane.
const ACCEL kPaneKeys[] = {
    { K | FCONTROL, 'A', 57642 },          { K | FCONTROL | FSHIFT, 'A', 32783 }, { K | FCONTROL, 'C', 57634 },
    { K | FCONTROL, 'V', 57637 },          { K | FCONTROL, VK_ADD, 32787 },       { K | FALT, VK_BACK, 57643 },
    { K, VK_DELETE, 32773 },               { K | FSHIFT, VK_DELETE, 57635 },      { K | FCONTROL, VK_DIVIDE, 32789 },
    { K | FALT, VK_F5, 32785 },            { K | FALT, VK_F6, 32786 },            { K | FCONTROL, VK_INSERT, 57634 },
    { K | FSHIFT, VK_INSERT, 57637 },      { K | FCONTROL, VK_SUBTRACT, 32788 },  { K | FCONTROL, 'X', 57635 },
    { K | FCONTROL, 'Y', 57644 },          { K | FCONTROL, 'Z', 57643 },
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kTab = kChild | WS_TABSTOP;
const WORD kNoId = 0xFFFF;

// About: the picture (bitmap 164) is the whole dialog.
const DialogItemSpec kAboutItems[] = {
    { "STATIC", nullptr, 164, kNoId, kChild | SS_BITMAP, 0, CRect(0, 0, 272, 149) },
};

// Search: the controls' positions are laid out again at run time.
const DialogItemSpec kSearchItems[] = {
    { "STATIC", "", 0, 1009, kChild, 0, CRect(4, 4, 150, 14) },
    { "BUTTON", "Search in diagram", 0, 1007, kTab | BS_AUTOCHECKBOX, 0, CRect(200, 4, 284, 14) },
    { "COMBOBOX", "", 0, 1004, kTab | WS_VSCROLL | CBS_DROPDOWN | ES_AUTOHSCROLL, 0, CRect(4, 18, 210, 120) },
    { "COMBOBOX", "", 0, 1014, kTab | WS_VSCROLL | CBS_DROPDOWNLIST, 0, CRect(214, 18, 284, 120) },
    { "STATIC", "", 0, 1008, kChild, 0, CRect(4, 172, 284, 182) },
};

// Options: the tab control and the grids are made at run time.
const DialogItemSpec kOptionsItems[] = {
    { "BUTTON", "OK", 0, 1, kTab | BS_DEFPUSHBUTTON, 0, CRect(141, 130, 175, 141) },
    { "BUTTON", "Cancel", 0, 2, kTab, 0, CRect(181, 130, 215, 141) },
    { "BUTTON", "Reset", 0, 3, kTab, 0, CRect(222, 130, 256, 141) },
};

// Font selection; 157 is the script list, whose selection changes the sample.
const DialogItemSpec kFontItems[] = {
    { "STATIC", "&Font:", 0, kNoId, kChild, 0, CRect(7, 7, 100, 16) },
    { "COMBOBOX", "", 0, 154, kTab | WS_VSCROLL | CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT, 0,
      CRect(7, 17, 105, 110) },
    { "STATIC", "Font st&yle:", 0, kNoId, kChild, 0, CRect(110, 7, 180, 16) },
    { "COMBOBOX", "", 0, 155, kTab | WS_VSCROLL | CBS_DROPDOWN, 0, CRect(110, 17, 184, 110) },
    { "STATIC", "&Size:", 0, kNoId, kChild, 0, CRect(189, 7, 225, 16) },
    { "COMBOBOX", "", 0, 156, kTab | WS_VSCROLL | CBS_DROPDOWN, 0, CRect(189, 17, 225, 110) },
    { "BUTTON", "Effects", 0, kNoId, kChild | BS_GROUPBOX, 0, CRect(7, 36, 105, 98) },
    { "BUTTON", "Stri&keout", 0, 145, kTab | BS_AUTOCHECKBOX, 0, CRect(13, 48, 100, 58) },
    { "BUTTON", "&Underline", 0, 146, kTab | BS_AUTOCHECKBOX, 0, CRect(13, 61, 100, 71) },
    { "STATIC", "&Color:", 0, kNoId, kChild, 0, CRect(13, 75, 100, 84) },
    { "BUTTON", "", 0, 143, kTab | BS_OWNERDRAW, 0, CRect(13, 84, 100, 96) },
    { "BUTTON", "Sample", 0, kNoId, kChild | BS_GROUPBOX, 0, CRect(110, 36, 225, 98) },
    { "STATIC", "", 0, 152, kChild | SS_CENTER, 0, CRect(116, 46, 219, 80) },
    { "STATIC", "Sc&ript:", 0, kNoId, kChild, 0, CRect(116, 82, 150, 91) },
    { "COMBOBOX", "", 0, 157, kTab | WS_VSCROLL | CBS_DROPDOWNLIST, 0, CRect(150, 81, 219, 130) },
    { "BUTTON", "OK", 0, 139, kTab | BS_DEFPUSHBUTTON, 0, CRect(232, 7, 282, 21) },
    { "BUTTON", "Cancel", 0, 140, kTab, 0, CRect(232, 24, 282, 38) },
    { "BUTTON", "&Apply", 0, 141, kTab, 0, CRect(232, 41, 282, 55) },
    { "BUTTON", "&Reset", 0, 142, kTab, 0, CRect(232, 58, 282, 72) },
};

const DWORD kModal = WS_POPUP | DS_MODALFRAME;
const DWORD kCaptioned = kModal | WS_CAPTION | WS_SYSMENU;

template <int N>
DialogSpec Dialog(DWORD style, CRect rect, const char* title, WORD points, const char* face,
                  const DialogItemSpec (&items)[N])
{
    return DialogSpec{ style, 0, rect, title, points, face, items, N };
}

struct Store {
    std::vector<std::vector<BYTE>> blobs;
    std::vector<RESOURCE_ENTRY> entries;

    void Add(LPCTSTR type, WORD id, std::vector<BYTE> bytes)
    {
        blobs.push_back(std::move(bytes));
        entries.push_back({ RESOURCE_ID(type), id, blobs.back().data(), DWORD(blobs.back().size()) });
    }

    Store()
    {
        blobs.reserve(16);
        Add(RT_ICON, 158, std::vector<BYTE>(std::begin(kIcon158), std::end(kIcon158)));
        Add(RT_ICON, 159, std::vector<BYTE>(std::begin(kIcon159), std::end(kIcon159)));
        Add(RT_BITMAP, 164, std::vector<BYTE>(std::begin(kBitmap164), std::end(kBitmap164)));
        Add(RT_MENU, 128, BuildMenuTemplate(kMainMenu, int(std::size(kMainMenu))));
        Add(RT_ACCELERATOR, 128, BuildAcceleratorTable(kMainKeys, int(std::size(kMainKeys))));
        Add(RT_ACCELERATOR, 160, BuildAcceleratorTable(kPaneKeys, int(std::size(kPaneKeys))));
        Add(RT_DIALOG, 100,
            BuildDialogTemplate(Dialog(kModal, CRect(0, 0, 272, 149), "", 9, "\xE5\xAE\x8B\xE4\xBD\x93", kAboutItems)));
        Add(RT_DIALOG, 152,
            BuildDialogTemplate(Dialog(kCaptioned, CRect(0, 0, 288, 188), "", 8, "System", kSearchItems)));
        Add(RT_DIALOG, 156,
            BuildDialogTemplate(Dialog(kCaptioned, CRect(0, 0, 262, 146), "Options", 8, "System", kOptionsItems)));
        Add(RT_BITMAP, 32384, std::vector<BYTE>(std::begin(kBitmap32384), std::end(kBitmap32384)));
        Add(RT_DIALOG, 32000,
            BuildDialogTemplate(Dialog(kCaptioned, CRect(0, 0, 289, 140), "Font", 8, "Arial", kFontItems)));
        int cursors = 0;
        const RESOURCE_ENTRY* cursor = ProgramCursorResources(&cursors);
        entries.insert(entries.end(), cursor, cursor + cursors);
    }
};

Store& Program()
{
    static Store store;
    return store;
}

} // namespace

const RESOURCE_ENTRY* ProgramResources(int* count)
{
    Store& s = Program();
    *count = int(s.entries.size());
    return s.entries.data();
}

void AfxAddProgramResources(const RESOURCE_ENTRY* entries, int count)
{
    Store& s = Program();
    for (int i = 0; i < count; ++i) {
        bool present = false;
        for (const RESOURCE_ENTRY& e : s.entries)
            present = present || (e.type == entries[i].type && e.id == entries[i].id);
        if (!present)
            s.entries.push_back(entries[i]);
    }
}
