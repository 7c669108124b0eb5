// The main window's layout: where a first start docks the bars, which
// saved layouts the next run applies, and where a screenshot shows each pane.
#include "ShellHarness.h"

#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/DockState.h"
#include "Platform/Playback.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

TEST(Layout, AFirstStartDocksThePanesAroundTheView)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    const CRect view = shell.RectOf(frame->GetVexalView());
    const CRect model = shell.RectOf(&frame->GetModelBar());
    const CRect properties = shell.RectOf(&frame->GetPropertyBar());
    const CRect messages = shell.RectOf(&frame->GetMessageBar());
    const CRect tools = shell.RectOf(&frame->GetToolBar());
    const CRect status = shell.RectOf(&frame->GetStatusBar());
    CRect client;
    frame->GetClientRect(&client);
    // Docked bars overlap their dock bar's edges by the 2 pixels of the
    // classic layout.
    const int slack = 2;
    EXPECT_NEAR(tools.top, 0, slack);
    EXPECT_NEAR(tools.bottom, view.top, slack);
    EXPECT_NEAR(model.left, 0, slack);
    EXPECT_NEAR(model.right, view.left, slack);
    EXPECT_NEAR(properties.left, view.right, slack);
    EXPECT_NEAR(properties.right, client.right, slack);
    EXPECT_NEAR(messages.top, view.bottom, slack);
    EXPECT_NEAR(messages.left, 0, slack);
    EXPECT_NEAR(messages.right, client.right, slack);
    EXPECT_NEAR(messages.bottom, status.top, slack);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_LT(model.bottom, messages.top + slack);
    EXPECT_LT(properties.bottom, messages.top + slack);
    EXPECT_GT(view.Width(), 0);
    EXPECT_GT(view.Height(), 0);
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());
    for (CControlBar* bar : { static_cast<CControlBar*>(&frame->GetModelBar()),
                              static_cast<CControlBar*>(&frame->GetPropertyBar()),
                              static_cast<CControlBar*>(&frame->GetMessageBar()) })
        EXPECT_TRUE(bar->IsVisible());
    EXPECT_TRUE(shell.Screenshot("layout-first-start"));
}

// A layout is applied only when every bar it names exists; the hidden
// symbol toolbar (32778) exists.
TEST(Layout, ALayoutNamingAMissingBarIsIgnored)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SaveBarState("Saved");
    EXPECT_TRUE(frame->VerifyBarState("Saved"));
    EXPECT_TRUE(frame->VerifyBarState("Nothing saved"));

    CDockState state;
    state.LoadState("Saved");
    bool namesSymbolBar = false;
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
        namesSymbolBar = namesSymbolBar || static_cast<CControlBarInfo*>(state.m_arrBarInfo[i])->m_nBarID == 32778;
    EXPECT_TRUE(namesSymbolBar);

    struct Case {
        const char* name;
        bool dockBar;  // the record edited: a dock bar's, else the Messages bar's
        void (*edit)(CControlBarInfo&);
    };
    const Case cases[] = {
        { "a docked bar that no longer exists", false, [](CControlBarInfo& info) { info.m_nBarID = 32790; } },
        { "a placeholder of a missing bar", true,
          [](CControlBarInfo& info) { info.m_arrBarID.Add(reinterpret_cast<void*>(UINT_PTR(0x10000 + 32790))); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDockState edited;
        edited.LoadState("Saved");
        CControlBarInfo* target = nullptr;
        for (int i = 0; i < edited.m_arrBarInfo.GetSize(); ++i) {
            auto* info = static_cast<CControlBarInfo*>(edited.m_arrBarInfo[i]);
            if (c.dockBar ? info->m_bDockBar != FALSE : info->m_nBarID == 32776)
                target = info;
        }
        ASSERT_NE(target, nullptr);
        c.edit(*target);
        edited.SaveState("Edited");
        EXPECT_FALSE(frame->VerifyBarState("Edited"));
    }
}

namespace {

// Where the bars stand, one line each: the rectangle, or hidden.
std::string Layout(ShellHarness& shell)
{
    CMainFrame* frame = shell.Frame();
    const struct {
        const char* name;
        CControlBar* bar;
    } bars[] = { { "model", &frame->GetModelBar() }, { "properties", &frame->GetPropertyBar() },
                 { "messages", &frame->GetMessageBar() }, { "toolbar", &frame->GetToolBar() } };
    std::ostringstream text;
    for (const auto& b : bars) {
        if (!b.bar->IsVisible()) {
            text << b.name << " hidden\n";
            continue;
        }
        const CRect r = shell.RectOf(b.bar);
        text << b.name << ' ' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '\n';
    }
    return text.str();
}

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs OneRunOfTheProgram in a process of its own on the profile folder;
// what it wrote.
std::string RunOnce(const std::string& profile, const std::string& action)
{
    const std::string out = profile + "-" + action + ".txt";
    std::filesystem::remove(out);
    const std::string command = "VEXAL_LAYOUT_PROFILE=" + profile + " VEXAL_LAYOUT_OUT=" + out +
                                " VEXAL_LAYOUT_ACTION=" + action + " /proc/" + std::to_string(getpid()) +
                                "/exe --gtest_filter=Layout.OneRunOfTheProgram >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << action;
    return ReadText(out);
}

} // namespace

// One run of the program on a profile folder given by the caller: it writes
// the layout it started with, then, as asked, docks the Model pane on the
// right and hides Messages and exits (saving the layout), or makes the
// saved layout name a bar that does not exist and ends without saving.
TEST(Layout, OneRunOfTheProgram)
{
    ShellHarness shell;
    if (!Env("VEXAL_LAYOUT_PROFILE").empty())
        AfxSetProfileFolder(Env("VEXAL_LAYOUT_PROFILE").c_str());
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    const char* profile = AfxGetApp()->m_pszProfileName;
    std::string written = Layout(shell);
    const std::string action = Env("VEXAL_LAYOUT_ACTION");
    if (action == "move") {
        frame->DockControlBar(&frame->GetModelBar(), AFX_IDW_DOCKBAR_RIGHT);
        shell.Command(32776);
        written += "moved\n" + Layout(shell);
        shell.Command(57665);
        ASSERT_EQ(shell.Frame(), nullptr);
    } else if (action == "missing") {
        CDockState state;
        state.LoadState(profile);
        for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
            auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
            if (info->m_nBarID == 32776)
                info->m_nBarID = 32790;
        }
        state.SaveState(profile);
    } else {
        CDockState state;
        state.LoadState(profile);
        for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
            if (static_cast<CControlBarInfo*>(state.m_arrBarInfo[i])->m_nBarID == 32778)
                written += "names the symbol toolbar\n";
    }
    if (!Env("VEXAL_LAYOUT_OUT").empty())
        std::ofstream(Env("VEXAL_LAYOUT_OUT"), std::ios::binary) << written;
}

TEST(Layout, ASavedLayoutComesBackInTheNextRunUnlessItNamesAMissingBar)
{
    const std::string profile = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + "-profile";
    std::filesystem::remove_all(profile);
    const std::string first = RunOnce(profile, "move");
    const size_t moved = first.find("moved\n");
    ASSERT_NE(moved, std::string::npos) << first;
    const std::string firstStart = first.substr(0, moved);
    const std::string changed = first.substr(moved + 6);
    EXPECT_NE(changed, firstStart);
    EXPECT_NE(changed.find("messages hidden"), std::string::npos) << changed;

    // The saved layout names the hidden symbol toolbar, and is applied.
    EXPECT_EQ(RunOnce(profile, "keep"), changed + "names the symbol toolbar\n");
    // One that names a missing bar is left alone: the first start's docking.
    EXPECT_EQ(RunOnce(profile, "missing"), changed);
    EXPECT_EQ(RunOnce(profile, "keep"), firstStart + "names the symbol toolbar\n");
}

namespace {

// A class diagram with two classes, and the classes in the model.
const char* kSample = "<Package Name=\"Shop\" GUID=\"G1\">\r\n"
                      "<Class Name=\"Order\" GUID=\"G2\"/>\r\n"
                      "<Class Name=\"Item\" GUID=\"G3\"/>\r\n"
                      "<Classdiagram Name=\"Overview\" GUID=\"G4\">\r\n"
                      "<Page Name=\"P1\" GUID=\"G5\">\r\n"
                      "<Class sid=\"S1\" mid=\"G2\" area=\"7D0,7D0,1F40,1770\" text=\"Order\"/>\r\n"
                      "<Class sid=\"S2\" mid=\"G3\" area=\"2EE0,7D0,3A98,1770\" text=\"Item\"/>\r\n"
                      "</Page>\r\n"
                      "</Classdiagram>\r\n"
                      "</Package>\r\n";

} // namespace

// The main window with a sample project and its diagram open: in the
// screenshot each pane, bar and the status bar show their own pixels inside
// the rectangle the layout gave them.
TEST(Layout, ASampleProjectShowsEachPaneWhereTheLayoutPutsIt)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start({ shell.MakeProject("Sample", kSample) }));
    CMainFrame* frame = shell.Frame();
    dbTypedCursor<ModelT> diagram(&ModelT::TableInfo);
    ASSERT_GT(diagram.SelectByKey("Name", "Overview"), 0);
    ASSERT_TRUE(OpenDiagram(diagram->ID, 0));
    shell.Pump();
    const std::string name = "layout-sample-project";
    ASSERT_TRUE(shell.Screenshot(name));
    const QImage shot(QString::fromStdString(std::string(VEXAL_TEST_OUTPUT) + "/App/" + name + ".png"));
    ASSERT_FALSE(shot.isNull());
    CRect window;
    frame->GetWindowRect(&window);
    CPoint origin(0, 0);
    frame->ClientToScreen(&origin);
    origin -= window.TopLeft();

    // The Properties bar stands for its pane, which fills it once it shows rows.
    const struct {
        const char* name;
        CWnd* wnd;
    } panes[] = {
        { "model browser", &frame->GetModelBrowser() }, { "properties", &frame->GetPropertyBar() },
        { "messages", &frame->GetMessageList() },       { "view", frame->GetVexalView() },
        { "toolbar", &frame->GetToolBar() },            { "status bar", &frame->GetStatusBar() },
    };
    CRect client;
    frame->GetClientRect(&client);
    for (const auto& pane : panes) {
        SCOPED_TRACE(pane.name);
        CRect r;
        pane.wnd->GetClientRect(&r);
        pane.wnd->ClientToScreen(&r);
        ASSERT_GT(r.Width(), 8);
        ASSERT_GT(r.Height(), 8);
        for (const CPoint p : { CPoint(r.left + 3, r.top + 3), r.CenterPoint(), CPoint(r.right - 4, r.bottom - 4) }) {
            // The window under the point is the pane or one of its own.
            CWnd* under = CWnd::WindowFromPoint(p);
            ASSERT_TRUE(under == pane.wnd || pane.wnd->IsChild(under)) << p.x << "," << p.y;
            under->UpdateWindow();
            CPoint local = p;
            under->ScreenToClient(&local);
            CClientDC own(under);
            CPoint inShot = p;
            frame->ScreenToClient(&inShot);
            EXPECT_TRUE(client.PtInRect(inShot));
            const QRgb shown = shot.pixel(inShot.x + origin.x, inShot.y + origin.y);
            EXPECT_EQ(RGB(qRed(shown), qGreen(shown), qBlue(shown)), own.GetPixel(local.x, local.y)) << p.x << "," << p.y;
        }
    }
    // Where the layout docks them: the view between the Model and
    // Properties panes, Messages under all three, the status bar last.
    const CRect view = shell.RectOf(frame->GetVexalView());
    EXPECT_LE(shell.RectOf(&frame->GetModelBar()).right, view.left + 2);
    EXPECT_GE(shell.RectOf(&frame->GetPropertyBar()).left, view.right - 2);
    EXPECT_GE(shell.RectOf(&frame->GetMessageBar()).top, view.bottom - 2);
    EXPECT_EQ(shell.RectOf(&frame->GetStatusBar()).bottom, client.bottom);
    // The page: white paper on the view's grey.
    CClientDC viewDc(frame->GetVexalView());
    EXPECT_EQ(viewDc.GetPixel(2, 2), RGB(0x96, 0x96, 0x96));
}
