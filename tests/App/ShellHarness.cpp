#include "ShellHarness.h"

#include "Controls/ExtMenu.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "Controls/MsgListBox.h"
#include "Platform/Playback.h"
#include "Platform/ToolBar.h"
#include "Pub/ModuleDir.h"
#include "UML/Model/PageZoom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::string TestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
    for (char& c : name) {
        if (c == '/' || c == ' ')
            c = '_';
    }
    return name;
}

ShellHarness::ShellHarness(bool withMetaModel, bool withSysConfig)
{
    folder_ = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + "-" + std::to_string(getpid()) + "/";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const fs::path source(VEXAL_SOURCE_DIR);
    fs::copy(source / "cfg", fs::path(folder_) / "cfg", fs::copy_options::recursive);
    fs::copy(source / "Img", fs::path(folder_) / "Img", fs::copy_options::recursive);
    if (!withMetaModel)
        fs::remove(fs::path(folder_) / "cfg" / "meta.xml");
    if (!withSysConfig)
        fs::remove(fs::path(folder_) / "cfg" / "sys.xml");
    AfxSetProfileFolder((folder_ + "profile").c_str());
    std::strncpy(theModuleDir, folder_.c_str(), ModuleDirSize - 1);
    AfxSetDialogHook([this](DialogRequest& request, INT_PTR* answer) { return AnswerRequest(request, answer); });
}

ShellHarness::~ShellHarness()
{
    AfxSetDialogHook({});
    if (CMainFrame* frame = Frame())
        frame->DestroyWindow();
    Pump();
    // Each process makes a folder of its own; a failed test keeps it to be
    // looked at, a passed one leaves nothing behind to pile up run by run.
    if (!::testing::Test::HasFailure()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

void ShellHarness::WriteFile(const std::string& relative, const std::string& text) const
{
    const fs::path path = fs::path(folder_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool ShellHarness::Start(const std::vector<std::string>& arguments)
{
    theApp.SetArguments(arguments);
    const bool started = theApp.InitInstance() != FALSE;
    Pump();
    return started;
}

// The next queued answer of the request's kind; anything else is cancelled.
bool ShellHarness::AnswerRequest(DialogRequest& request, INT_PTR* answer)
{
    questions_.push_back({ request.kind, request.text ? request.text : "", request.templateId });
    if (answers_.empty() || answers_.front().kind != request.kind) {
        *answer = request.kind == DialogKind::PopupMenu ? 0 : IDCANCEL;
        return true;
    }
    Answer next = std::move(answers_.front());
    answers_.pop_front();
    if (next.fill)
        next.fill(request);
    *answer = next.result;
    return true;
}

void ShellHarness::Pump()
{
    MSG msg;
    for (int round = 0; round < 4; ++round) {
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg))
                DispatchMessage(&msg);
        }
        Idle();
    }
}

void ShellHarness::Idle()
{
    LONG count = 0;
    while (theApp.OnIdle(count++)) {
    }
}

void ShellHarness::Command(UINT id)
{
    Frame()->PostMessage(WM_COMMAND, id);
    Pump();
}

bool ShellHarness::ClickToolBarButton(UINT id)
{
    CToolBar& bar = Frame()->GetToolBar();
    const int index = bar.CommandToIndex(id);
    if (index < 0)
        return false;
    CRect r;
    bar.GetItemRect(index, &r);
    bar.ClientToScreen(&r);
    const POINT p = r.CenterPoint();
    PlayMouse(WM_MOUSEMOVE, p);
    PlayMouse(WM_LBUTTONDOWN, p);
    PlayMouse(WM_LBUTTONUP, p);
    Pump();
    return true;
}

void ShellHarness::Key(UINT vk, UINT keyFlags)
{
    PlayKey(vk, keyFlags);
    Pump();
}

void ShellHarness::Give(UINT id, Via via, UINT vk, UINT keyFlags)
{
    switch (via) {
    case Via::Menu: Command(id); break;
    case Via::Key: Key(vk, keyFlags); break;
    case Via::ToolBar: ClickToolBarButton(id); break;
    }
}

std::vector<std::string> ShellHarness::Messages() const
{
    std::vector<std::string> lines;
    CMsgListBox& list = Frame()->GetMessageList();
    for (int i = 0; i < list.GetCount(); ++i) {
        CString line;
        list.GetText(i, line);
        lines.push_back(line.GetString());
    }
    return lines;
}

std::vector<MenuItemState> ShellHarness::MenuItems(std::vector<int> path) const
{
    CMenu* menu = Frame()->GetMenu();
    for (int position : path)
        menu = menu ? menu->GetSubMenu(position) : nullptr;
    std::vector<MenuItemState> items;
    auto* ext = DYNAMIC_DOWNCAST(CExtMenu, menu);
    if (!ext)
        return items;
    for (int i = 0; i < ext->GetMenuItemCount(); ++i) {
        CString text;
        ext->GetMenuText(UINT(i), text, MF_BYPOSITION);
        const UINT state = ext->GetMenuState(UINT(i), MF_BYPOSITION);
        items.push_back({ text.GetString(), ext->GetMenuItemID(i), (state & MF_CHECKED) != 0 });
    }
    return items;
}

CRect ShellHarness::RectOf(CWnd* window) const
{
    CRect r;
    window->GetWindowRect(&r);
    Frame()->ScreenToClient(&r);
    return r;
}

bool ShellHarness::Screenshot(const std::string& name) const
{
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/";
    fs::create_directories(dir);
    return SaveWindowPicture(Frame()->GetSafeHwnd(), (dir + name + ".png").c_str()) != FALSE;
}

POINT ShellHarness::PageToClient(POINT page) const
{
    CVexalView* view = GetMainView();
    CClientDC dc(view);
    dc.SetMapMode(MM_HIMETRIC);
    POINT p{ZoomScale(page.x), -ZoomScale(page.y)};
    dc.LPtoDP(&p);
    const CRect usable = view->GetUsableRect();
    return POINT{p.x + usable.left, p.y + usable.top};
}

void ShellHarness::ViewMouse(UINT message, POINT page, UINT keyFlags)
{
    CPoint p = PageToClient(page);
    GetMainView()->ClientToScreen(&p);
    PlayMouse(message, p, keyFlags);
    Pump();
}

void ShellHarness::SizeView(int width, int height)
{
    CVexalView* view = GetMainView();
    for (int round = 0; round < 3; ++round) {
        CRect client, frame;
        view->GetClientRect(&client);
        Frame()->GetWindowRect(&frame);
        Frame()->MoveWindow(frame.left, frame.top, frame.Width() + width - client.Width(),
                            frame.Height() + height - client.Height());
        Pump();
    }
    view->UpdateWindow();
}

COLORREF ShellHarness::ViewPixel(int x, int y) const
{
    CVexalView* view = GetMainView();
    view->UpdateWindow();
    CClientDC dc(view);
    return dc.GetPixel(x, y);
}

bool ShellHarness::ViewScreenshot(const std::string& name) const
{
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/";
    fs::create_directories(dir);
    GetMainView()->UpdateWindow();
    return SaveWindowPicture(GetMainView()->GetSafeHwnd(), (dir + name + ".png").c_str()) != FALSE;
}

std::string ShellHarness::MakeProject(const std::string& name, const std::string& elements)
{
    const std::string header = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    WriteFile(name + "/" + name + ".fup", header + "<Settings/>\r\n<Project tool=\"Vexal 1.10.00\">\r\n<Model file=\"" +
                                              name + ".uml\"/>\r\n</Project>\r\n");
    WriteFile(name + "/" + name + ".uml",
              header + "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n" + elements + "</uml>\r\n");
    return folder_ + name + "/" + name + ".fup";
}
