// CView: a child window of a frame that shows its document. It is made by
// the frame from the view class of the creation context, attaches itself to
// the context's document, and lives on the heap: it deletes itself once its
// window is gone. Commands it does not answer go on to its document.
// Invariant: while the view's window exists, its frame's active view is
// this view or another live one; a destroyed view is never left active.
#pragma once

#include "Platform/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // Paints the document; the base draws nothing.
    virtual void OnDraw(CDC* pDC);
    // Readies the context for OnDraw; the base leaves it as it is.
    virtual void OnPrepareDC(CDC* pDC);
    // Called once the frame is shown for a document.
    virtual void OnInitialUpdate();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
