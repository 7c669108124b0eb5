#include "App/VexalView.h"

#include "Platform/Dc.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNCREATE(CVexalView, CView)

BEGIN_MESSAGE_MAP(CVexalView, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

bool CVexalView::OpenDiagram(int diagramId, int)
{
    if (diagramId <= 0)
        return false;
    m_diagramId = diagramId;
    Invalidate(FALSE);
    return true;
}

void CVexalView::CloseDiagram()
{
    m_diagramId = 0;
    Invalidate(FALSE);
}

BOOL CVexalView::OnEraseBkgnd(CDC*) { return TRUE; }

void CVexalView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, GetSysColor(m_diagramId > 0 ? COLOR_WINDOW : COLOR_APPWORKSPACE));
}
