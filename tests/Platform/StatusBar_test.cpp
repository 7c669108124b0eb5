// The status bar: panes from indicator strings, their places, texts and
// update handlers, and its place at the bottom of the frame.
#include "WndFixture.h"

#include "Platform/FrameWnd.h"
#include "Platform/Resource.h"
#include "Platform/StatusBar.h"
#include "Platform/SysColors.h"

#include <QDir>

namespace {

class StatusFrame : public CFrameWnd {
protected:
    void OnUpdateNum(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateScroll(CCmdUI* ui) { ui->SetText("SCROLLED"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(59138, OnUpdateNum)
    ON_UPDATE_COMMAND_UI(59139, OnUpdateScroll)
END_MESSAGE_MAP()

struct Strings {
    Strings()
    {
        static const ResourceString entries[] = { { 59137, "CAP" }, { 59138, "NUM" }, { 59139, "SCRL" } };
        AfxSetStringTable(Module(), entries, 3);
        AfxSetResourceHandle(Module());
    }
    ~Strings()
    {
        AfxSetResourceHandle(nullptr);
        AfxSetStringTable(Module(), nullptr, 0);
    }
    static HINSTANCE Module()
    {
        static int tag;
        return reinterpret_cast<HINSTANCE>(&tag);
    }
};

} // namespace

TEST(StatusBar, PanesLieFromTheRightAndTheFirstStretches)
{
    Strings strings;
    auto* frame = new StatusFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(10, 10, 310, 130)));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT ids[] = { ID_SEPARATOR, 59137, 59138, 59139 };
    ASSERT_TRUE(bar.SetIndicators(ids, 4));
    frame->RecalcLayout();

    CRect r, client;
    bar.GetWindowRect(&r);
    frame->ScreenToClient(&r);
    frame->GetClientRect(&client);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.Height(), bar.CalcFixedLayout(TRUE, TRUE).cy);
    CRect panes[4];
    for (int i = 0; i < 4; ++i)
        bar.GetItemRect(i, &panes[i]);
    EXPECT_EQ(panes[3].right, r.Width());
    EXPECT_EQ(panes[2].right, panes[3].left - 2);
    EXPECT_EQ(panes[1].right, panes[2].left - 2);
    EXPECT_EQ(panes[0].left, 0);
    EXPECT_EQ(panes[0].right, panes[1].left - 2);
    EXPECT_EQ(bar.CommandToIndex(59138), 2);
    EXPECT_EQ(bar.GetPaneText(1), CString("CAP"));

    // The frame shows a lock indicator while its key is toggled on: Caps
    // Lock pressed once is on, pressed again off.
    bar.SetPaneText(0, "Ready");
    UINT id, style;
    int width;
    for (bool on : { true, false }) {
        SendKey(*frame, Qt::Key_CapsLock, Qt::NoModifier, QString());
        bar.OnUpdateCmdUI(frame, FALSE);
        bar.GetPaneInfo(1, id, style, width);
        EXPECT_EQ((style & SBPS_DISABLED) == 0, on);
    }
    SendKey(*frame, Qt::Key_CapsLock, Qt::NoModifier, QString());
    bar.OnUpdateCmdUI(frame, FALSE);
    bar.GetPaneInfo(2, id, style, width);
    EXPECT_TRUE(style & SBPS_DISABLED);
    EXPECT_EQ(bar.GetPaneText(3), CString("SCROLLED"));
    EXPECT_FALSE(bar.SetPaneText(9, "x"));

    bar.UpdateWindow();
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    WndBackBuffer(bar.m_hWnd)->save(QString(VEXAL_TEST_OUTPUT) + "/status_bar.png");
    const QImage* shot = WndBackBuffer(bar.m_hWnd);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(shot->pixelColor(panes[1].left, panes[1].top + 3), QColor(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)));
    frame->DestroyWindow();
}
