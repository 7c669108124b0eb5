// COptionTree: the property grid. A child window showing a tree of rows
// (COptionTreeItem) in a label column and a value column split by a
// draggable divider. It owns its rows, keeps the focused row, the divider
// and the vertical scroll offset, and reports to its notify window through
// WM_NOTIFY (record NMOPTIONTREE), where the owner may veto expanding,
// divider drags and value clicks by answering nonzero.
//
// Children: the list window (COptionTreeListWnd, id 30000) paints the rows
// and takes the input; the description pane (COptionTreeInfoWnd) shows the
// focused row's label and description with OT_OPT_INFOWINDOW.
// Invariants: the root is never drawn nor deleted; ids increase from the
// counter (0 in a new grid, 1 after DeleteAllItems); the shown-row list
// (GetFirstShown, COptionTreeItem::GetNextShown) is rebuilt by every paint
// of the list window, and "repaint" paints at once, so the list and the
// rows' value rectangles are current right after any call that repaints.
#pragma once

#include "Controls/OptionTreeInfoWnd.h"
#include "Controls/OptionTreeItem.h"
#include "Controls/OptionTreeListWnd.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

#define OT_OPT_INFOWINDOW 0x01
#define OT_OPT_NOTIFY 0x02
#define OT_OPT_NOSELTEXT 0x04
#define OT_OPT_SHADEMARGIN 0x08
#define OT_OPT_SHADECATEGORIES 0x10

#define OTN_ITEMINSERTED (-1101)
#define OTN_ITEMDELETED (-1102)
#define OTN_ITEMCOMMITTED (-1105)
#define OTN_SELCHANGED (-1107)
#define OTN_EXPANDING (-1108)
#define OTN_DIVIDERDRAG (-1109)
#define OTN_VALUECLICK (-1110)
#define OTN_RCLICK (-1111)
#define OTN_EXPANDED (-1112)

#define OT_HIT_LABEL 2024
#define OT_HIT_DIVIDER 2025
#define OT_HIT_EXPAND 2026
#define OT_HIT_VALUE 2027
#define OT_HIT_NONE 2028

#define OT_LISTWND_ID 30000
#define OT_INFOWND_ID 0xFFFF
#define OT_INFOWND_HEIGHT 50
#define OT_MARGIN 16
#define OT_ROW_HEIGHT 21
#define OT_DIVIDER_ZONE 5

// The record of every notification; the row concerned, or null.
struct NMOPTIONTREE {
    NMHDR hdr;
    COptionTreeItem* otiItem;
};

class COptionTree : public CWnd {
    DECLARE_DYNAMIC(COptionTree)
public:
    typedef BOOL (*ENUM_OPTIONITEMPROC)(COptionTree* otProp, COptionTreeItem* otiItem, LPARAM lParam);

    COptionTree();
    ~COptionTree() override;

    BOOL Create(DWORD dwStyle, const RECT& rcRect, CWnd* pParentWnd, DWORD dwTreeOptions, UINT nID,
                long lDivider = 90);
    void SetNotify(BOOL bNotify, CWnd* pNotifyWnd);
    void ShowInfoWindow(BOOL bShow);
    void SetNoSelectionText(BOOL bShow);
    void SetShadeMargin(BOOL bShade);
    void SetShadeCategories(BOOL bShade);
    DWORD GetOptions() const { return m_dwOptions; }

    COptionTreeItem* InsertItem(COptionTreeItem* otiItem, COptionTreeItem* otiParent = nullptr);
    void DeleteItem(COptionTreeItem* otiItem);
    void DeleteAllItems();
    void SetAutoRedraw(BOOL bAuto);
    BOOL EnumItems(COptionTreeItem* otiStart, ENUM_OPTIONITEMPROC enumProc, LPARAM lParam);
    COptionTreeItem* GetRootItem() { return &m_otiRoot; }
    COptionTreeItem* GetFocusedItem() const { return m_otiFocus; }
    void SetFocusedItem(COptionTreeItem* otiItem);
    COptionTreeItem* FindItem(UINT uID);
    void ExpandAllItems();
    void SelectAll(BOOL bSelect, COptionTreeItem* otiStart = nullptr);
    COptionTreeItem* SelectFirst();
    COptionTreeItem* SelectLast();
    COptionTreeItem* SelectPrevious();
    COptionTreeItem* SelectNext();
    long GetColumn() const { return m_lColumn; }
    void SetColumn(long lColumn);
    long GetScrollOffset() const { return m_lScrollOffset; }
    // Point in list-window client coordinates.
    int HitTest(const POINT& pt);
    COptionTreeItem* FindItemAtPoint(const POINT& pt);
    BOOL IsShown(const COptionTreeItem* otiItem) const;
    COptionTreeItem* GetFirstShown() const { return m_otiFirstShown; }
    void EnsureVisible(COptionTreeItem* otiItem);
    LRESULT SendNotify(int nNotifyCode, COptionTreeItem* otiItem = nullptr);
    void MoveEditors();
    void RefreshEditors(COptionTreeItem* otiStart = nullptr);
    void UpdateScroll();
    void SetInputLocked(BOOL bLocked);
    BOOL IsInputLocked() const { return m_bLocked; }
    // The expand hook: OnExpandChanged on the row and its descendants.
    virtual void OnItemExpanded(COptionTreeItem* otiItem, BOOL bExpanded);
    CRect GetWidestLabelExtent();
    BOOL IsAutoRedraw() const { return m_bAutoRedraw; }
    COptionTreeListWnd* GetListWnd() { return &m_wndList; }

    static CFont* GetNormalFont();
    static CFont* GetBoldFont();

    // Paints the list window at once (and the description pane).
    void Repaint();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnEnable(BOOL bEnable);
    void OnSysColorChange();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    friend class COptionTreeItem;
    friend class COptionTreeListWnd;
    void Layout();
    void SetOption(DWORD bit, BOOL on);
    void ClearShown();
    void AppendShown(COptionTreeItem* otiItem);
    void DeleteTree(COptionTreeItem* otiItem);
    // Moves the focus as the keys do, reporting OTN_SELCHANGED on a change.
    COptionTreeItem* MoveFocus(COptionTreeItem* otiItem);
    void SetScrollOffset(long lOffset) { m_lScrollOffset = lOffset; }
    // SetColumn without the repaint, for callers that repaint next.
    void ClampColumn(long lColumn);

    CWnd* m_pOwner = nullptr;
    DWORD m_dwOptions = 0;
    COptionTreeInfoWnd m_wndInfo;
    COptionTreeItem m_otiRoot;
    COptionTreeItem* m_otiFirstShown = nullptr;
    COptionTreeItem* m_otiLastShown = nullptr;
    COptionTreeItem* m_otiFocus = nullptr;
    long m_lColumn = 90;
    long m_lScrollOffset = 0;
    COptionTreeListWnd m_wndList;
    BOOL m_bLocked = FALSE;
    UINT m_uIDCounter = 0;
    CWnd* m_pNotify = nullptr;
    BOOL m_bAutoRedraw = TRUE;
};
