// The print dialog on Qt's, and the print job's page range.
#include "Platform/Print.h"

#include "Platform/DialogHook.h"
#include "Platform/GdiData.h"
#include "Platform/PrinterData.h"
#include "Platform/WinApp.h"
#include "Platform/WndData.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cstring>

CPrintDialog::CPrintDialog(BOOL, DWORD dwFlags, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    const QPrinter* printer = AfxAppPrinter();
    m_devMode = DEVMODE{};
    m_devMode.dmFields = DM_ORIENTATION | DM_PRINTQUALITY;
    m_devMode.dmOrientation =
        printer->pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    m_devMode.dmPrintQuality = short(printer->resolution());
    m_pd = PRINTDLG{};
    m_pd.Flags = dwFlags;
    m_pd.nFromPage = m_pd.nMinPage = 1;
    m_pd.nToPage = m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
    m_pd.pDevMode = &m_devMode;
}

INT_PTR CPrintDialog::DoModal()
{
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    DialogRequest request = { DialogKind::Print, owner, "Print", nullptr, 0, 0, &m_pd };
    const INT_PTR answer = AfxRunModal(request, [this, owner]() -> INT_PTR {
        QPrinter* printer = AfxAppPrinter();
        QPrintDialog dialog(printer, owner ? WndFrameWidget(owner->GetSafeHwnd()) : nullptr);
        dialog.setMinMax(m_pd.nMinPage, m_pd.nMaxPage);
        printer->setFromTo(m_pd.nMinPage, m_pd.nMaxPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(m_pd.Flags & PD_NOPAGENUMS));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, !(m_pd.Flags & PD_NOSELECTION));
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        m_pd.Flags &= ~(PD_PAGENUMS | PD_SELECTION | PD_PRINTTOFILE);
        if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
            m_pd.Flags |= PD_PAGENUMS;
            m_pd.nFromPage = WORD(printer->fromPage());
            m_pd.nToPage = WORD(printer->toPage());
        }
        const QByteArray file = printer->outputFileName().toUtf8();
        if (!file.isEmpty()) {
            m_pd.Flags |= PD_PRINTTOFILE;
            std::strncpy(m_pd.szPrintFile, file.constData(), sizeof m_pd.szPrintFile - 1);
        }
        m_pd.nCopies = WORD(printer->copyCount());
        return IDOK;
    });
    if (answer != IDOK)
        return IDCANCEL;
    QPrinter* printer = AfxAppPrinter();
    if (m_pd.Flags & PD_PRINTTOFILE) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromUtf8(m_pd.szPrintFile));
    } else {
        printer->setOutputFileName(QString());
        printer->setOutputFormat(QPrinter::NativeFormat);
    }
    printer->setCopyCount(std::max<int>(m_pd.nCopies, 1));
    return IDOK;
}

HDC CPrintDialog::CreatePrinterDC()
{
    return CreateDeviceDC(AfxAppPrinter(), DcKind::Printer, false);
}

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE)) {}

CPrintInfo::~CPrintInfo() { delete m_pPD; }

UINT CPrintInfo::GetFromPage() const
{
    return m_pPD->PrintRange() ? std::max<UINT>(m_pPD->m_pd.nFromPage, GetMinPage()) : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return m_pPD->PrintRange() ? std::min<UINT>(m_pPD->m_pd.nToPage, GetMaxPage()) : GetMaxPage();
}
