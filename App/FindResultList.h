// CFindResultList: the hits of the search dialog. One query over the
// element names (element mode) or the symbol texts (diagram mode) gives the
// hit count; only the hits of the visible page are loaded, one row each
// with its metaclass icon, and scrolling runs the query again from the new
// first hit. Opening a hit locates it (its page, in diagram mode) through
// the main window.
// The search text and the metaclass are bound to the query as values, so
// every character is matched as typed; a query the engine refuses is a
// line in the Messages pane and no hits.
// Invariants: 0 <= selected < rows when there are rows, else 0;
// 0 <= first hit <= max(0, hit count - rows).
#pragma once

#include "Platform/CString.h"
#include "Platform/Wnd.h"

#include <string>
#include <vector>

class CCommandImageList;

class CFindResultList : public CWnd {
    DECLARE_DYNAMIC(CFindResultList)
public:
    CFindResultList();
    ~CFindResultList() override;

    // Without a border, with the vertical scroll bar; the rows per page
    // follow from the rectangle's height.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The number of hits; without force, the same text and metaclass as the
    // last search reload nothing.
    int Search(const char* text, const char* metaclass, bool force);
    // Element mode (element names) or diagram mode (symbol texts), from the
    // next search on.
    void SetMode(bool elementMode) { m_elementMode = elementMode; }
    CCommandImageList* SetImageList(CCommandImageList* icons);
    void SetRowHeight(int pixels) { m_rowHeight = pixels > 0 ? pixels : 1; }
    // The "/"-joined path of the selected hit's element, or of the page of
    // the selected symbol; empty without a selected row.
    CString GetSelectedPath() const;
    // Locates the selected hit; nothing without one or without a main window.
    void OpenHit();
    // The selected row's element or symbol id, 0 without one.
    int GetSelectedId() const;
    int GetHitCount() const { return m_hitCount; }
    int GetFirstHit() const { return m_firstHit; }
    int GetRowsPerPage() const { return m_rowsPerPage; }
    int GetSelectedRow() const { return m_selected; }
    // The ids of the loaded rows, in query order.
    std::vector<int> GetLoadedIds() const;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()

private:
    struct Row {
        int id;
        int icon;  // -1: none
        std::string text;
    };

    void UpdateScrollBar();
    // Moves the first hit (clamped) and reloads the page when it changed.
    void ScrollTo(int position);
    int RowAt(CPoint point) const;
    void Select(int row);
    void TellParent();

    CCommandImageList* m_icons = nullptr;
    std::string m_lastText;
    std::string m_lastMetaclass;
    int m_selected = 0;
    bool m_elementMode = true;
    int m_rowHeight = 16;
    int m_firstHit = 0;
    int m_rowsPerPage = 40;
    int m_hitCount = 0;
    std::vector<Row> m_rows;
};
