// The view's print loop.
#include "Platform/View.h"

#include "Platform/Dc.h"
#include "Platform/DialogHook.h"
#include "Platform/Print.h"
#include "Platform/WinApp.h"

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    return pInfo->m_bDirect || pInfo->m_pPD->DoModal() == IDOK;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    CDC printer;
    if (!printer.Attach(info.m_pPD->CreatePrinterDC()))
        return;
    char title[256] = "";
    GetWindowText(title, int(sizeof title));
    if (printer.StartDoc(title) <= 0) {
        printer.DeleteDC();
        return;
    }
    OnBeginPrinting(&printer, &info);
    bool failed = false;
    for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= info.GetToPage(); ++info.m_nCurPage) {
        OnPrepareDC(&printer, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (printer.StartPage() <= 0) {
            failed = true;
            break;
        }
        info.m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(printer.m_hDC, HORZRES), ::GetDeviceCaps(printer.m_hDC, VERTRES));
        printer.DPtoLP(&info.m_rectDraw);
        OnPrint(&printer, &info);
        if (printer.EndPage() <= 0) {
            failed = true;
            break;
        }
    }
    if (failed)
        printer.AbortDoc();
    else
        printer.EndDoc();
    OnEndPrinting(&printer, &info);
    printer.DeleteDC();
}
