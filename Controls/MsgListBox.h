// CMsgListBox: the list of messages of the Messages pane. It only shows the
// lines it is given and lets the user select, copy, cut and delete them;
// Copy (57634), Cut (57635), Delete (32773) and Select All (57642) come as
// command messages, from the main window or from its own context menu.
#pragma once

#include "Platform/ListBox.h"

class CMsgListBox : public CListBox {
    DECLARE_DYNAMIC(CMsgListBox)
public:
    // Adds extended selection, a scroll bar that stays shown while every
    // line fits, and the sunken client edge.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // The selected lines, each followed by "\r\n", as CF_TEXT; false, with
    // the clipboard as it was, when it cannot be opened or filled.
    bool Copy();
    void DeleteSelected();
    void SelectAll();

protected:
    void OnCopy();
    void OnCut();
    void OnDelete();
    void OnSelectAll();
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    DECLARE_MESSAGE_MAP()
};
