// COptionTreeItem: one row of the property grid (COptionTree). A row is a
// node of the grid's tree with a label, an optional description, a key the
// owner recognises it by, and a value that the row kinds draw and edit.
// Rows whose parent is the grid's root are categories: they span the whole
// width in the bold font and carry no value; all others are properties.
//
// Edit protocol, the one path by which an edited value reaches the owner:
// BeginEdit clears `committed` and opens the editor; CommitChanges(notify)
// commits at most once per BeginEdit (the first call after construction
// commits too), hides the editor and sends OTN_ITEMCOMMITTED when notify is
// true. A windowed row kind is one object whose first base is its window
// and whose second is this row.
//
// Coordinates: content coordinates put the first top-level row at y 0 and
// grow down through the shown rows; client coordinates (of the list
// window) are content coordinates less the grid's scroll offset.
#pragma once

#include "Platform/CString.h"
#include "Platform/Dc.h"

class COptionTree;
class CWnd;

// Row kind codes (GetType).
#define OT_ITEM_PLAIN 1
#define OT_ITEM_CHECKBOX 2
#define OT_ITEM_COLOR 3
#define OT_ITEM_COMBOBOX 4
#define OT_ITEM_EDIT 6

class COptionTreeItem {
public:
    COptionTreeItem();
    virtual ~COptionTreeItem();
    COptionTreeItem(const COptionTreeItem&) = delete;
    COptionTreeItem& operator=(const COptionTreeItem&) = delete;

    // Slots of the row kinds; the base versions do nothing.
    virtual void DrawValue(CDC* pDC, CRect rcValue);
    virtual void ActivateEditor();
    virtual void MoveEditor();
    virtual void RefreshEditor();
    virtual void CommitEditor();
    virtual void DestroyEditor();
    virtual void OnDeselect();
    virtual void OnSelect();
    virtual void OnExpandChanged(BOOL bExpanded);
    virtual int GetValueInt();
    // A text the row holds until its next call or its deletion.
    virtual LPCTSTR GetValueText();

    void SetLabelText(LPCTSTR lpszLabel);
    CString GetLabelText() const;
    void SetInfoText(LPCTSTR lpszInfo);
    CString GetInfoText() const;
    // Keeps at most 100 bytes (never part of a character); ignores an empty text.
    void SetKey(LPCTSTR lpszKey);
    LPCTSTR GetKey() const;
    UINT GetItemID() const { return m_uID; }

    COptionTreeItem* GetParentItem() const { return m_otiParent; }
    COptionTreeItem* GetNextSibling() const { return m_otiSibling; }
    COptionTreeItem* GetFirstChild() const { return m_otiChild; }
    COptionTreeItem* GetNextShown() const { return m_otiNextShown; }
    COptionTree* GetOptionTree() const { return m_otOption; }

    BOOL IsCategory() const;
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL IsSelected() const { return m_bSelected; }
    BOOL IsEditing() const { return m_bEditing; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(BOOL bReadOnly);
    void Select(BOOL bSelect = TRUE);
    // Stores the state and reports it to the grid (expand hook, then
    // OTN_EXPANDED); nothing for a row outside a grid.
    void Expand(BOOL bExpand = TRUE);

    void BeginEdit();
    void CommitChanges(BOOL bNotify);

    long GetHeight() const { return m_lItemHeight; }
    void SetHeight(long lHeight) { m_lItemHeight = lHeight; }
    long GetVisibleHeight() const;
    void SetLabelAtTop(BOOL bTop) { m_bLabelAtTop = bTop; }
    BOOL IsLabelAtTop() const { return m_bLabelAtTop; }
    void SetType(int nType) { m_nType = nType; }
    int GetType() const { return m_nType; }
    CRect GetLabelExtent() const { return m_rcLabelExtent; }
    void SetLabelExtent(const CRect& rc) { m_rcLabelExtent = rc; }
    // The value column in list-window client coordinates, as last painted.
    CRect GetValueRect() const { return m_rcValue; }
    CPoint GetLocation() const { return m_ptLocation; }

    void SetValueBackColor(COLORREF c) { m_crValueBack = c; }
    COLORREF GetValueBackColor() const { return m_crValueBack; }
    void SetValueTextColor(COLORREF c) { m_crValueText = c; }
    COLORREF GetValueTextColor() const { return m_crValueText; }
    void SetCategoryBackColor(COLORREF c) { m_crCategoryBack = c; }
    COLORREF GetCategoryBackColor() const { return m_crCategoryBack; }
    void SetLabelTextColor(COLORREF c) { m_crLabelText = c; }
    COLORREF GetLabelTextColor() const { return m_crLabelText; }
    void SetLabelBackColor(COLORREF c) { m_crLabelBack = c; }
    COLORREF GetLabelBackColor() const { return m_crLabelBack; }

    // Draws the row and its shown subtree; the height drawn.
    long DrawRow(CDC* pDC, const CRect& rcClient, long x, long y);
    BOOL HitExpandBox(CPoint ptContent) const;

    // The text itself when it fits `width` with the margin, else its longest
    // prefix of at least one character that fits with "...", then "...".
    static CString FitTextWithEllipsis(CDC* pDC, const CString& text, long width, long margin);

protected:
    // Value text colour as the row kinds draw it: grey when read-only or the
    // grid is disabled.
    COLORREF ValueTextColor() const;
    // Moves a row's editor window onto the value rectangle (plus extra
    // height), without repainting it.
    void PlaceEditor(CWnd* editor, long extraHeight = 0) const;
    // The slots of a row kind that edits in a window of its own: shown on
    // the value rectangle with the focus; moved, and hidden unless it has
    // the focus; moved; hidden; destroyed. Nothing without the window.
    void ActivateWindow(CWnd* editor, long extraHeight = 0);
    void MoveWindowEditor(CWnd* editor);
    void RefreshWindowEditor(CWnd* editor);
    void HideWindowEditor(CWnd* editor);
    void DestroyWindowEditor(CWnd* editor);
    // Makes an owner-drawn editor window over the value rectangle as a child
    // of the grid's list window, with the row's id; FALSE outside a grid.
    // Editors are made hidden: they show only while their row is edited.
    BOOL CreateOwnerDrawnEditor(CWnd* editor);
    // A made editor takes the grid's font and its place, hidden.
    void SettleEditor(CWnd* editor);

private:
    friend class COptionTree;
    void DrawExpandBox(CDC* pDC, long top) const;
    void DrawLabel(CDC* pDC, const CRect& rcLabel, long top);
    void DrawGridLines(CDC* pDC, const CRect& rcClient, long top) const;

    CString m_strLabel;
    CString m_strInfo;
    CString m_strKey;
    UINT m_uID = 0;
    COptionTreeItem* m_otiParent = nullptr;
    COptionTreeItem* m_otiSibling = nullptr;
    COptionTreeItem* m_otiChild = nullptr;
    COptionTreeItem* m_otiNextShown = nullptr;
    CRect m_rcExpand;
    COptionTree* m_otOption = nullptr;
    CPoint m_ptLocation;
    CRect m_rcValue;
    BOOL m_bCommitted = FALSE;
    long m_lItemHeight = 21;
    CRect m_rcLabelExtent;
    BOOL m_bSelected = FALSE;
    BOOL m_bExpanded = FALSE;
    BOOL m_bEditing = FALSE;
    BOOL m_bReadOnly = FALSE;
    int m_nType = OT_ITEM_PLAIN;
    BOOL m_bLabelAtTop = FALSE;
    COLORREF m_crValueBack;
    COLORREF m_crValueText;
    COLORREF m_crCategoryBack;
    COLORREF m_crLabelText;
    COLORREF m_crLabelBack;
};
