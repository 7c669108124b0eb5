// CView: a child window of a frame that shows its document. It is made by
// the frame from the view class of the creation context, attaches itself to
// the context's document, and lives on the heap: it deletes itself once its
// window is gone. Commands it does not answer go on to its document.
// Invariant: while the view's window exists, its frame's active view is
// this view or another live one; a destroyed view is never left active.
// Printing runs the print loop: OnPreparePrinting (the dialog, through
// DoPreparePrinting), OnBeginPrinting, then for each page of the range
// OnPrepareDC and OnPrint, and OnEndPrinting; no print preview.
#pragma once

#include "Platform/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class CPrintInfo;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // Paints the document; the base draws nothing.
    virtual void OnDraw(CDC* pDC);
    // Readies the context for OnDraw, or with a job for printing its current
    // page (clearing m_bContinuePrinting ends the job); the base leaves it
    // as it is.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    // Called once the frame is shown for a document.
    virtual void OnInitialUpdate();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // A view made without a class of its own takes double clicks and is
    // redrawn whole when its size changes (what it shows may be centred).
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

protected:
    // The Print command: the whole print loop, on the printer the dialog chose.
    void OnFilePrint();
    // Runs the print dialog unless m_bDirect; FALSE when it was cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // The base prepares with DoPreparePrinting.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The base draws with OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
