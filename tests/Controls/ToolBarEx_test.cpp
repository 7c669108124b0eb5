// The toolbar with registry icons: adding buttons, layout in its frame,
// clicks, tip requests, update handlers and the painted bar.
#include "Controls/CommandImageList.h"
#include "Controls/ToolBarEx.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"
#include "Platform/Library.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"
#include "PngFile.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const UINT kCopy = 57634, kCut = 57635, kPaste = 57637;

CCommandImageList& Registry()
{
    static CCommandImageList* registry = [] {
        auto* r = new CCommandImageList;
        r->Create(16, 16, ILC_COLORDDB | ILC_MASK, 4, 1);
        r->AddBitmap(WriteIcon("bar_copy.bmp", RGB(0, 0, 200)).c_str(), RGB(255, 255, 255), kCopy, "Copy");
        r->AddBitmap(WriteIcon("bar_cut.bmp", RGB(200, 0, 0)).c_str(), RGB(255, 255, 255), kCut, "Cut");
        r->AddBitmap(WriteIcon("bar_paste.bmp", RGB(0, 150, 0)).c_str(), RGB(255, 255, 255), kPaste, "Paste");
        return r;
    }();
    return *registry;
}

class BarFrame : public CFrameWnd {
public:
    std::vector<std::string> log;
    bool cutEnabled = true;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        log.push_back("command " + std::to_string(LOWORD(wParam)));
        return TRUE;
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(lParam);
        if (tip->hdr.code == TTN_NEEDTEXTA) {
            log.push_back("tip " + std::to_string(tip->hdr.idFrom));
            std::snprintf(tip->szText, sizeof tip->szText, "tip of %u", UINT(tip->hdr.idFrom));
        }
        *pResult = 0;
        return TRUE;
    }
    void OnUpdateCut(CCmdUI* ui) { ui->Enable(cutEnabled); }
    void OnCopyCommand() {}
    void OnPasteCommand() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(kCut, OnUpdateCut)
    ON_COMMAND(kCopy, OnCopyCommand)
    ON_COMMAND(kPaste, OnPasteCommand)
END_MESSAGE_MAP()

struct Bar {
    BarFrame* frame = new BarFrame;
    CToolBarEx bar;
    Bar()
    {
        frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 260, 120));
        bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_BORDER_BOTTOM);
        bar.SetImageList(&Registry());
        bar.AddButton(kCopy);
        bar.AddSeparator();
        bar.AddButton(kCut);
        bar.AddButton(kPaste);
        frame->RecalcLayout();
    }
    ~Bar() { frame->DestroyWindow(); }
    CPoint Centre(int index) const
    {
        CRect r;
        bar.GetItemRect(index, &r);
        return r.CenterPoint();
    }
    void Mouse(UINT message, CPoint p) { bar.SendMessage(message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(WORD(p.x), WORD(p.y))); }
};

} // namespace

TEST(ToolBarEx, AddButtonTakesEachRegistryCommandOnce)
{
    struct Case {
        const char* name;
        std::function<BOOL(CToolBarEx&)> operation;
        BOOL result;
        int count;
    };
    const Case cases[] = {
        { "before the registry", [](CToolBarEx& b) { return b.AddButton(kCopy); }, FALSE, 0 },
        { "a registry command", [](CToolBarEx& b) { b.SetImageList(&Registry()); return b.AddButton(kCopy); }, TRUE, 1 },
        { "the same command twice",
          [](CToolBarEx& b) {
              b.SetImageList(&Registry());
              b.AddButton(kCopy);
              return b.AddButton(kCopy);
          },
          FALSE, 1 },
        { "a command the registry lacks", [](CToolBarEx& b) { b.SetImageList(&Registry()); return b.AddButton(4711); },
          FALSE, 0 },
        { "separators any number", [](CToolBarEx& b) { return b.AddSeparator() && b.AddSeparator(); }, TRUE, 2 },
        { "delete all on an empty bar", [](CToolBarEx& b) { b.DeleteAllButtons(); return TRUE; }, TRUE, 0 },
        { "delete all",
          [](CToolBarEx& b) {
              b.SetImageList(&Registry());
              b.AddButton(kCut);
              b.AddSeparator();
              b.DeleteAllButtons();
              return TRUE;
          },
          TRUE, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWnd parent;
        parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr);
        CToolBarEx bar;
        ASSERT_TRUE(bar.Create(&parent));
        EXPECT_EQ(c.operation(bar), c.result);
        EXPECT_EQ(bar.GetButtonCount(), c.count);
        parent.DestroyWindow();
    }
    Bar b;
    TBBUTTON button{};
    ASSERT_TRUE(b.bar.SendMessage(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button)));
    CommandImageInfo info{};
    Registry().Lookup(kCut, info);
    EXPECT_EQ(button.iBitmap, info.image);
    EXPECT_EQ(button.idCommand, int(kCut));
    EXPECT_EQ(button.fsState, TBSTATE_ENABLED);
    EXPECT_EQ(button.iString, -1);
}

TEST(ToolBarEx, TheFrameLaysItOutAtTheTop)
{
    Bar b;
    CRect r;
    b.bar.GetWindowRect(&r);
    b.frame->ScreenToClient(&r);
    const CSize size = b.bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.Height(), size.cy);
    EXPECT_EQ(size.cy, 22 + 2 + 2 + 2);  // button, top and bottom borders, the bottom line
    CRect first;
    b.bar.GetItemRect(0, &first);
    EXPECT_EQ(first, CRect(4 + 8, 2, 4 + 8 + 23, 2 + 22));  // after the gripper
}

TEST(ToolBarEx, ClicksTipsAndUpdateHandlers)
{
    Bar b;
    b.Mouse(WM_MOUSEMOVE, b.Centre(0));
    b.Mouse(WM_LBUTTONDOWN, b.Centre(0));
    b.Mouse(WM_LBUTTONUP, b.Centre(0));
    // Released elsewhere: no command.
    b.Mouse(WM_LBUTTONDOWN, b.Centre(2));
    b.Mouse(WM_LBUTTONUP, b.Centre(3));
    EXPECT_EQ(b.frame->log, (std::vector<std::string>{ "tip 57634", "command 57634" }));

    b.frame->log.clear();
    b.frame->cutEnabled = false;
    b.bar.OnUpdateCmdUI(b.frame, TRUE);
    EXPECT_FALSE(b.bar.SendMessage(TB_ISBUTTONENABLED, kCut));
    EXPECT_TRUE(b.bar.SendMessage(TB_ISBUTTONENABLED, kCopy));
    b.Mouse(WM_LBUTTONDOWN, b.Centre(2));
    b.Mouse(WM_LBUTTONUP, b.Centre(2));
    EXPECT_TRUE(b.frame->log.empty());
}

TEST(ToolBarEx, PaintsHotPressedDisabledSeparatorAndGripper)
{
    Bar b;
    b.bar.EnableButton(kPaste, FALSE);
    b.Mouse(WM_MOUSEMOVE, b.Centre(0));
    b.bar.UpdateWindow();
    CRect client;
    b.bar.GetClientRect(&client);
    {
        CClientDC dc(&b.bar);
        EXPECT_TRUE(WritePng(dc, client.Width(), client.Height(), "toolbar_hot.png"));
        CRect copy, sep, paste;
        b.bar.GetItemRect(0, &copy);
        b.bar.GetItemRect(1, &sep);
        b.bar.GetItemRect(3, &paste);
        EXPECT_EQ(dc.GetPixel(copy.left, copy.top), GetSysColor(COLOR_BTNHIGHLIGHT));      // raised
        EXPECT_EQ(dc.GetPixel(copy.right - 1, copy.bottom - 1), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(dc.GetPixel(copy.left + 11, copy.top + 11), RGB(0, 0, 200));            // its image
        EXPECT_EQ(dc.GetPixel(sep.left + 3, sep.top + 5), GetSysColor(COLOR_BTNSHADOW));   // etched
        EXPECT_EQ(dc.GetPixel(sep.left + 4, sep.top + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_NE(dc.GetPixel(paste.left + 11, paste.top + 11), RGB(0, 150, 0));         // embossed
        EXPECT_EQ(dc.GetPixel(2, 10), GetSysColor(COLOR_BTNHIGHLIGHT));  // gripper ridge
    }
    b.Mouse(WM_LBUTTONDOWN, b.Centre(2));
    b.bar.UpdateWindow();
    CClientDC dc(&b.bar);
    EXPECT_TRUE(WritePng(dc, client.Width(), client.Height(), "toolbar_pressed.png"));
    CRect cut;
    b.bar.GetItemRect(2, &cut);
    EXPECT_EQ(dc.GetPixel(cut.left, cut.top), GetSysColor(COLOR_BTNSHADOW));  // sunken
    EXPECT_EQ(dc.GetPixel(cut.left + 12, cut.top + 12), RGB(200, 0, 0));     // image one pixel on
    b.Mouse(WM_LBUTTONUP, CPoint(0, 0));
}

TEST(ToolBarEx, LoadsAToolbarResource)
{
    HMODULE library = LoadLibrary("VexalTestRes.dll");
    ASSERT_NE(library, nullptr);
    AfxSetResourceHandle(library);
    CWnd parent;
    parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr);
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&parent));
    ASSERT_TRUE(bar.LoadToolBar(300));
    EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 4);
    EXPECT_EQ(bar.CommandToIndex(kPaste), 3);
    EXPECT_EQ(bar.CommandToIndex(kCopy), 0);
    TBBUTTON button{};
    bar.SendMessage(TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.iBitmap, 2);  // the separator has no image
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST))), 3);
    EXPECT_FALSE(bar.LoadToolBar(399));
    parent.DestroyWindow();
    FreeLibrary(library);
}

TEST(ToolBarEx, DockNextToJoinsTheOtherBarsRowJustToItsRight)
{
    struct Case {
        const char* name;
        UINT side;
    };
    const Case cases[] = { { "docked on top", AFX_IDW_DOCKBAR_TOP }, { "docked left", AFX_IDW_DOCKBAR_LEFT } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarFrame* frame = new BarFrame;
        frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400));
        CToolBarEx main, symbols;
        for (CToolBarEx* bar : { &main, &symbols }) {
            bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER, bar == &main ? 59392 : 32778);
            bar->SetImageList(&Registry());
            bar->AddButton(kCopy);
            bar->AddButton(kCut);
            bar->EnableDocking(CBRS_ALIGN_ANY);
        }
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&main, c.side);
        symbols.DockNextTo(&main);
        frame->RecalcLayout();
        auto* dock = static_cast<CDockBar*>(frame->GetControlBar(c.side));
        ASSERT_NE(dock, nullptr);
        EXPECT_EQ(symbols.m_pDockBar, dock);
        // One row: no row end between the two.
        const int a = dock->FindBar(&main), b = dock->FindBar(&symbols);
        ASSERT_GT(a, 0);
        ASSERT_GT(b, 0);
        for (int i = std::min(a, b); i < std::max(a, b); ++i)
            EXPECT_NE(dock->m_arrBars[i], nullptr);
        CRect first, second;
        main.GetWindowRect(&first);
        symbols.GetWindowRect(&second);
        if (c.side == AFX_IDW_DOCKBAR_TOP) {
            EXPECT_EQ(b, a + 1);
            EXPECT_EQ(second.top, first.top);
            EXPECT_EQ(second.left, first.right - 2);
        } else {
            EXPECT_EQ(second.left, first.left);
        }
        frame->DestroyWindow();
    }
}
