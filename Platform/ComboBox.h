// CComboBox: the drop-down list control (CBS_DROPDOWNLIST) on a Qt combo
// box. The window is only as high as its field: the height asked of it
// (MoveWindow, SetWindowPos) is kept as the height of the dropped list.
// The window text is the selected entry's text. CBN_SELCHANGE goes to the
// parent (and comes back reflected) when the user changes the selection,
// by the keys or from the dropped list; never for CB_SETCURSEL.
// A drop-down (CBS_DROPDOWN) has an edit control (id 1001) in its field
// that takes the focus; the window text is the edit's. Typing in it
// leaves no entry selected and sends CBN_EDITCHANGE; text the program puts
// there (a selection, WM_SETTEXT) does not. Up, Down, Page Up/Down and F4
// in the edit work the list. With CBS_SORT an added entry goes before the
// first greater one, case ignored. With CBS_OWNERDRAWFIXED (and
// CBS_HASSTRINGS) the parent draws the dropped list's entries
// (WM_DRAWITEM, reflected to DrawItem). Every entry removed with nonzero
// item data (deleted, reset, or the window destroyed) is reported to the
// parent with WM_DELETEITEM, reflected to DeleteItem.
#pragma once

#include "Platform/Wnd.h"

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L

#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CB_GETEDITSEL 0x0140
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158

#define WC_COMBOBOX "ComboBox"

class CString;

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int AddString(LPCTSTR lpszString);
    int InsertString(int nIndex, LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    // Searches from the entry after nStartAfter (-1: from the start), wrapping.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    // A drop-down's edit selection; -1 as start removes it, -1 as end runs
    // to the end. A drop-down list has none.
    void SetEditSel(int nStartChar, int nEndChar);
    // Start in the low word, end in the high word.
    DWORD GetEditSel() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    DECLARE_MESSAGE_MAP()
};
