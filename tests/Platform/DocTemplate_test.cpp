// The single-document template: its document, frame and view come and go
// together, so a program started again in the same process gets a new main
// window instead of a document without one.
#include "WndFixture.h"

#include "Platform/DocTemplate.h"
#include "Platform/Document.h"
#include "Platform/FrameWnd.h"
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

} // namespace
