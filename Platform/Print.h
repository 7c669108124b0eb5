// Printing: the print dialog and the print job's state. The dialog runs
// through the dialog hook (DialogKind::Print) with its PRINTDLG as the
// request's data, so an answering hook chooses the page range and the output
// as the user would. Pages go to the program's printer (Print Settings), a
// CUPS printer, or with PD_PRINTTOFILE to a PDF file.
#pragma once

#include "Platform/Dc.h"
#include "Platform/Geometry.h"

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_PRINTTOFILE 0x00000020
#define PD_USEDEVMODECOPIES 0x00040000

#define DMRES_DRAFT (-1)
#define DMRES_LOW (-2)
#define DMRES_MEDIUM (-3)
#define DMRES_HIGH (-4)

struct PRINTDLG {
    DWORD Flags;
    WORD nFromPage;   // with PD_PAGENUMS, the range chosen
    WORD nToPage;
    WORD nMinPage;    // the pages there are
    WORD nMaxPage;
    WORD nCopies;
    // The printer's settings; dmPrintQuality is a resolution in dots per
    // inch or a negative DMRES_ code, so it says nothing sure about pixels.
    DEVMODE* pDevMode;
    // With PD_PRINTTOFILE, the PDF file the pages go to.
    char szPrintFile[260];
};

class CWnd;

class CPrintDialog {
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK once the user chose to print; the chosen output becomes the
    // program printer's.
    INT_PTR DoModal();
    // A printer context on the program's printer; the caller deletes it.
    HDC CreatePrinterDC();
    DEVMODE* GetDevMode() { return m_pd.pDevMode; }
    BOOL PrintAll() const { return !(m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLG m_pd;

private:
    DEVMODE m_devMode;
    CWnd* m_pParentWnd;
};

// One print job: the dialog, the page range and the page being printed.
class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = WORD(nMinPage); }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = WORD(nMaxPage); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The range chosen in the dialog, within the pages there are.
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE;           // print without the dialog
    BOOL m_bContinuePrinting = TRUE;  // cleared to end the job after this page
    UINT m_nCurPage = 1;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;                 // the printable area in logical units
};
