// COptionTreeRadioWnd: the window of a radio row, a column of radio marks
// with one 16-pixel line per choice. At most one choice is chosen: adding a
// chosen one or clicking a line clears all others. Each paint records every
// line's hit rectangle, so a click anywhere on a line chooses it.
#pragma once

#include "Platform/CString.h"
#include "Platform/Wnd.h"

#include <vector>

class COptionTree;

#define OT_RADIO_LINEHEIGHT 16

class COptionTreeRadioWnd : public CWnd {
public:
    // Index of the first chosen choice, -1 when none is.
    int GetChosenIndex() const;
    // Index of the first choice with exactly this text, -1 when none has it.
    int FindOption(LPCTSTR lpszText) const;
    int GetOptionCount() const { return int(m_options.size()); }
    CString GetOptionText(int index) const { return m_options[size_t(index)].text; }
    BOOL IsOptionChosen(int index) const { return m_options[size_t(index)].chosen; }

protected:
    struct Option {
        CString text;
        BOOL chosen = FALSE;
        CRect hit;
    };
    void AppendOption(LPCTSTR lpszText, BOOL bChosen);
    // The mark of line `index` of a value area whose top-left is `origin`.
    static CRect MarkRect(CPoint origin, int index);
    static CRect LineRect(const CRect& area, int index);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    std::vector<Option> m_options;
    COptionTree* m_otRadioOption = nullptr;
};
