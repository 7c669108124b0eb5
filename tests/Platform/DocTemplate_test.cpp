// The single-document template: its document, frame and view come and go
// together, so a program started again in the same process gets a new main
// window instead of a document without one. The view it makes takes double
// clicks and is redrawn whole when resized.
#include "WndFixture.h"

#include "Platform/DocTemplate.h"
#include "Platform/Document.h"
#include "Platform/FrameWnd.h"
#include "Platform/Playback.h"
#include "Platform/View.h"
#include "Platform/WinApp.h"

namespace {

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
};
IMPLEMENT_DYNCREATE(PlainView, CView)

CFrameWnd* FrameOf(CDocument* doc)
{
    return doc && doc->GetViewCount() == 1 ? doc->GetView(0)->GetParentFrame() : nullptr;
}

TEST(DocTemplate, TheDocumentEndsWithItsFrameAndTheNextOpenMakesBothAnew)
{
    CWinApp app("Vexal");
    auto* single = new CSingleDocTemplate(128, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CFrameWnd),
                                          RUNTIME_CLASS(PlainView));
    app.AddDocTemplate(single);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        CDocument* doc = single->OpenDocumentFile(nullptr, FALSE);
        CFrameWnd* frame = FrameOf(doc);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(app.m_pMainWnd, frame);
        EXPECT_EQ(single->OpenDocumentFile(nullptr, FALSE), doc) << "a second open reuses both";
        frame->DestroyWindow();
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_EQ(single->GetDocument(), nullptr);
    }
    int code = 0;
    AfxTakeQuitMessage(&code);
}

// Records double clicks and the area each paint was asked for.
class RecordingView : public CView {
    DECLARE_DYNCREATE(RecordingView)
public:
    int doubleClicks = 0;
    CRect painted;

protected:
    void OnLButtonDblClk(UINT, CPoint) { ++doubleClicks; }
    void OnPaint()
    {
        CPaintDC dc(this);
        painted.UnionRect(&painted, &dc.m_ps.rcPaint);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RecordingView, CView)
BEGIN_MESSAGE_MAP(RecordingView, CView)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(DocTemplate, TheViewTakesDoubleClicksAndIsRedrawnWholeWhenItGrows)
{
    CWinApp app("Vexal");
    auto* single = new CSingleDocTemplate(128, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CFrameWnd),
                                          RUNTIME_CLASS(RecordingView));
    app.AddDocTemplate(single);
    CDocument* doc = single->OpenDocumentFile(nullptr, FALSE);
    auto* view = dynamic_cast<RecordingView*>(doc ? doc->GetView(0) : nullptr);
    ASSERT_NE(view, nullptr);
    CFrameWnd* frame = view->GetParentFrame();
    frame->MoveWindow(0, 0, 300, 200);
    frame->ShowWindow(SW_SHOW);
    view->UpdateWindow();

    CPoint p(20, 20);
    view->ClientToScreen(&p);
    PlayMouse(WM_LBUTTONDOWN, p);
    PlayMouse(WM_LBUTTONUP, p);
    PlayMouse(WM_LBUTTONDBLCLK, p);
    PlayMouse(WM_LBUTTONUP, p);
    EXPECT_EQ(view->doubleClicks, 1);

    view->painted.SetRectEmpty();
    frame->MoveWindow(0, 0, 400, 200);
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(view->painted, client);

    frame->DestroyWindow();
    int code = 0;
    AfxTakeQuitMessage(&code);
}

} // namespace
