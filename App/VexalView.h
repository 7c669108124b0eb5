// CVexalView: the diagram view, the main window's client pane. It shows
// one page of one diagram; until one is opened it shows the empty
// workspace.
#pragma once

#include "Platform/View.h"

class CVexalView : public CView {
    DECLARE_DYNCREATE(CVexalView)
public:
    // Shows the page (0: the diagram's first) of the diagram; false when
    // there is no such diagram.
    virtual bool OpenDiagram(int diagramId, int pageId);
    // Drops the diagram shown, if any.
    virtual void CloseDiagram();
    int GetDiagramId() const { return m_diagramId; }

    void OnDraw(CDC* pDC) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    int m_diagramId = 0;
};
