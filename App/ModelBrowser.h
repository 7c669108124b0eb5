// CModelBrowser: the model tree of the Model pane. It shows the element
// table as a tree, and the element checked (selected) in it is the one
// project commands such as Save act on.
#pragma once

#include "Platform/Wnd.h"

class CCommandImageList;

class CModelBrowser : public CWnd {
    DECLARE_DYNAMIC(CModelBrowser)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The icons of the rows' element kinds.
    void SetImageList(CCommandImageList* icons) { m_icons = icons; }
    // Rebuilds the rows from the element table when asked, and repaints.
    virtual void Refresh(bool rebuild);
    // The first selected element; 0 when none.
    virtual int GetCheckedModel() const;
    // Shows and selects the element.
    virtual void LocateElement(int elementId);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CCommandImageList* m_icons = nullptr;
    int m_checked = 0;
};
