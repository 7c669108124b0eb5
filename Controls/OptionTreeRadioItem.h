// COptionTreeRadioItem: the row of one choice out of a list of texts, shown
// as a column of radio marks that the row grows to hold (16 pixels a line
// plus 2). Its choice is read with GetChosenIndex, not the value slots.
// Selecting or deselecting the row, or a focus move from its window to
// another window of the program, commits with notification; a click only
// chooses.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Controls/OptionTreeRadioWnd.h"

#define OT_ITEM_RADIO 8

class COptionTreeRadioItem : public COptionTreeRadioWnd, public COptionTreeItem {
public:
    COptionTreeRadioItem();
    ~COptionTreeRadioItem() override;

    // 1 when the window was made; 0 outside a grid or when it exists.
    BOOL CreateEditor();
    // A chosen option clears the others.
    void AddOption(LPCTSTR lpszText, BOOL bChosen);

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;
    void OnSelect() override;

protected:
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateHeight();

    BOOL m_bFocus = FALSE;
};
