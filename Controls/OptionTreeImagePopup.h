// COptionTreeImagePopup: a borderless popup showing the images of a list in
// a grid of equal cells (10-pixel gaps and margins), each with a tooltip;
// the user picks one with the mouse or the arrow keys. It holds the mouse
// capture while open and reports exactly once, as it closes, with
// OT_IMAGE_PICKED (lParam the index): the picked index after a cell click
// or Enter, the opening index after Esc, a click outside or any other end.
// The object lives as long as its window and deletes itself after it.
#pragma once

#include "Platform/Collections.h"
#include "Platform/ToolTipCtrl.h"
#include "Platform/Wnd.h"

#include <vector>

class CImageList;
class COptionTree;

#define OT_IMAGE_PICKED (WM_USER + 1015)

class COptionTreeImagePopup : public CWnd {
public:
    // Makes and shows the popup with its top-left corner at the screen
    // point; columns below 1 become 3. A popup that could not be made has no
    // window and reports nothing.
    COptionTreeImagePopup(CPoint ptScreen, int nCellWidth, int nCellHeight, int nColumns, CImageList* pImages,
                          COptionTree* pGrid, const CStringArray& strTips, int nSelected, CWnd* pNotifyWnd);

    int GetSelected() const { return m_nSelected; }
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    // Cell i of image i, in client coordinates.
    CRect GetCellRect(int nIndex) const { return m_rcCells[size_t(nIndex)]; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    DECLARE_MESSAGE_MAP()

private:
    int ImageCount() const;
    // The first image cell holding the point, the selected one grown by 3;
    // -1 for none.
    int CellAt(CPoint point, bool growSelected) const;
    void Close(bool picked);
    void DrawCell(CDC* pDC, int nIndex);

    CToolTipCtrl m_tooltip;
    CPoint m_ptHot{ -1, -1 };
    COptionTree* m_pGrid;
    CImageList* m_pImages;
    HWND m_hNotify;
    int m_nCellWidth;
    int m_nCellHeight;
    int m_nColumns;
    int m_nRows = 0;
    CStringArray m_strTips;
    std::vector<CRect> m_rcCells;
    int m_nSelected;
    // What the single report will say: the opening index until a pick.
    int m_nReport;
    bool m_bClosing = false;
};
