// CMenu: menus of the layer, kept in a handle table. A handle is a number
// never given to another menu during the run, so a handle kept past its
// menu names nothing and every call on it fails.
// Invariants: an item's flags hold no MF_BYPOSITION; a popup item's id is
// its submenu's handle; an owner-drawn item carries item data instead of a
// text; a menu object that Attach or a Create call bound to a handle is the
// handle's permanent object until DestroyMenu or Detach.
// The menu bar of a frame and the popups are drawn and run by the layer
// (Platform/MenuTrack.cpp); owner-drawn items are measured and drawn by the
// owner window's WM_MEASUREITEM and WM_DRAWITEM, whose default handlers pass
// them to the permanent object of the menu that holds the item.
#pragma once

#include "Platform/CString.h"
#include "Platform/Object.h"
#include "Platform/Gdi.h"
#include "Platform/Geometry.h"
#include "Platform/Messages.h"

class CWnd;

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_END 0x00000080L

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020

#define MFT_STRING MF_STRING
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_SEPARATOR MF_SEPARATOR
#define MFS_GRAYED 0x00000003L
#define MFS_CHECKED MF_CHECKED

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

// Answers to WM_MENUCHAR, in the high word.
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPTSTR dwTypeData;
    UINT cch;
};
typedef MENUITEMINFO* LPMENUITEMINFO;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    // Destroys the menu it holds.
    ~CMenu() override;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    // The permanent object of a handle; FromHandle gives a plain object
    // (living as long as the menu) when there is none, null for no menu.
    static CMenu* FromHandle(HMENU hMenu);
    static CMenu* FromHandlePermanent(HMENU hMenu);

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Loads a menu template from the resource chain; false for a missing or
    // malformed template, with nothing attached.
    BOOL LoadMenu(UINT nIDResource);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    // Destroys the menu and, with it, its popups.
    BOOL DestroyMenu();

    // Text items take a text; MF_OWNERDRAW items take their item data in
    // the same place; MF_POPUP items take the submenu's handle as the id.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    // Removing keeps a popup's submenu alive; deleting destroys it.
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked);

    int GetMenuItemCount() const;
    // -1 for a popup or a missing position, 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    // The item's flags; a popup's item count in the high byte; -1 when missing.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    // The text of a string item (nothing for other kinds); its length.
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    // The permanent object of the popup at a position, or null.
    CMenu* GetSubMenu(int nPos) const;

    // Runs the popup at a screen point for the owner; see TrackPopupMenu below.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

    // Owner-drawn items: their owner passes the requests here.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// A menu template (the classic binary layout) made into a menu; null for a
// template that is not whole.
HMENU LoadMenuIndirect(const void* lpMenuTemplate, DWORD size);

// Runs a popup for its owner, synchronously. The owner first gets
// WM_INITMENUPOPUP, then a WM_MEASUREITEM per owner-drawn item. The dialog
// hook is asked first (DialogKind::PopupMenu, data: a PopupMenuRequest); an
// answer is the command chosen (0: none) and replaces the tracking. Without
// one the popup runs on the real input; with no display it is cancelled.
// With TPM_RETURNCMD the command is returned and nothing is sent; otherwise
// a chosen command reaches the owner as WM_COMMAND, through the input
// filter, and the result is whether one was chosen.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, LPCRECT prcRect);

struct PopupMenuRequest {
    HMENU menu;
    UINT flags;
    POINT point;
};
