#include "App/ModelBrowser.h"

#include "Platform/Dc.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNAMIC(CModelBrowser, CWnd)

BEGIN_MESSAGE_MAP(CModelBrowser, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CModelBrowser::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CModelBrowser::Refresh(bool) { Invalidate(FALSE); }

int CModelBrowser::GetCheckedModel() const { return m_checked; }

void CModelBrowser::LocateElement(int elementId) { m_checked = elementId > 0 ? elementId : 0; }

BOOL CModelBrowser::OnEraseBkgnd(CDC*) { return TRUE; }

void CModelBrowser::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
}
