// Documents and pages of a printer context.
#include "Platform/GdiData.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

int CDC::StartDoc(LPCTSTR docName)
{
    DOCINFO info{int(sizeof(DOCINFO)), docName, nullptr, nullptr, 0};
    return StartDoc(&info);
}

int CDC::StartDoc(const DOCINFO*)
{
    DcRecord* dc = DcOf(this);
    if (!dc || dc->kind != DcKind::Printer || dc->docStarted)
        return -1;
    dc->docStarted = true;
    dc->pageStarted = false;
    dc->pagesDone = 0;
    return 1;
}

int CDC::StartPage()
{
    DcRecord* dc = DcOf(this);
    if (!dc || dc->kind != DcKind::Printer || !dc->docStarted || dc->pageStarted)
        return -1;
    // The painter opens the first page itself, so it is opened only now:
    // a reset before the first page still turns it. Every later page is
    // asked for.
    dc->pageStarted = true;
    if (!DcPainter(*dc)) {
        dc->pageStarted = false;
        return -1;
    }
    if (dc->pagesDone > 0)
        static_cast<QPagedPaintDevice*>(dc->device)->newPage();
    return 1;
}

int CDC::EndPage()
{
    DcRecord* dc = DcOf(this);
    if (!dc || !dc->pageStarted)
        return -1;
    dc->pageStarted = false;
    ++dc->pagesDone;
    return 1;
}

int CDC::EndDoc()
{
    DcRecord* dc = DcOf(this);
    if (!dc || !dc->docStarted)
        return -1;
    if (dc->painter) {
        dc->painter->end();
        delete dc->painter;
        dc->painter = nullptr;
    }
    dc->docStarted = false;
    return 1;
}

int CDC::AbortDoc() { return EndDoc(); }

BOOL CDC::ResetDC(const DEVMODE* mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc || dc->kind != DcKind::Printer || !mode)
        return FALSE;
    auto* paged = static_cast<QPagedPaintDevice*>(dc->device);
    if (mode->dmFields & DM_ORIENTATION) {
        const QPageLayout::Orientation orientation =
            mode->dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
        paged->setPageOrientation(orientation);
    }
    dc->state.mapMode = MM_TEXT;
    dc->state.windowOrg = dc->state.viewportOrg = QPoint();
    return TRUE;
}
