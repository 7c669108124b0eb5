// The link static: its colours through hover, click and leave, a disabled
// link, the notify style it takes, and the link files it saves on the
// desktop without overwriting one.
#include "ShellRecorder.h"

#include "Controls/LinkStatic.h"
#include "Platform/Messages.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct LinkDialog {
    CWnd parent;
    CLinkStatic link;

    explicit LinkDialog(const char* text = "Vexal home")
    {
        EXPECT_TRUE(parent.CreateEx(0, nullptr, "dialog", WS_POPUP | WS_VISIBLE, 100, 100, 300, 100, nullptr, nullptr));
        EXPECT_TRUE(link.Create(text, WS_CHILD | WS_VISIBLE, CRect(10, 10, 150, 30), &parent, 5));
        link.SetLink("https://example.com/vexal");
        parent.UpdateWindow();
        link.UpdateWindow();
    }
    CPoint On() { return CPoint(100 + 20, 100 + 20); }
    CPoint Off() { return CPoint(100 + 250, 100 + 80); }
};

TEST(LinkStatic, HoverClickAndLeaveColourTheLink)
{
    LinkDialog d;
    ShellRecorder shell;
    EXPECT_TRUE(d.link.GetStyle() & SS_NOTIFY);  // taken at the first colouring
    EXPECT_EQ(RGB(0, 0, 255), d.link.TextColor());
    PlayMouse(WM_MOUSEMOVE, d.On());
    EXPECT_EQ(RGB(255, 0, 0), d.link.TextColor());
    EXPECT_EQ(&d.link, CWnd::GetCapture());
    PlayMouse(WM_MOUSEMOVE, d.Off());
    EXPECT_EQ(RGB(0, 0, 255), d.link.TextColor());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    PlayMouse(WM_MOUSEMOVE, d.On());
    PlayMouse(WM_LBUTTONDOWN, d.On());
    PlayMouse(WM_LBUTTONUP, d.On());
    EXPECT_EQ(std::vector<std::string>{ "https://example.com/vexal" }, shell.opened);
    PlayMouse(WM_MOUSEMOVE, d.Off());
    EXPECT_EQ(CLinkStatic::Visited, d.link.GetState());
    EXPECT_EQ(RGB(128, 0, 128), d.link.TextColor());
    PlayMouse(WM_MOUSEMOVE, d.On());
    PlayMouse(WM_MOUSEMOVE, d.Off());
    EXPECT_EQ(CLinkStatic::Visited, d.link.GetState());
}

TEST(LinkStatic, ADisabledOrUnsafeLinkOpensNothing)
{
    struct Case {
        const char* link;
        BOOL enabled;
    };
    for (const Case& c : { Case{ "https://example.com", FALSE }, Case{ "javascript:alert(1)", TRUE },
                           Case{ "smb://server/share", TRUE } }) {
        LinkDialog d;
        ShellRecorder shell;
        d.link.SetLink(c.link);
        d.link.SetLinkEnabled(c.enabled);
        d.link.SetTrackHover(FALSE);
        PlayMouse(WM_LBUTTONDOWN, d.On());
        PlayMouse(WM_LBUTTONUP, d.On());
        EXPECT_EQ(CLinkStatic::Unvisited, d.link.GetState()) << c.link;
        EXPECT_TRUE(shell.opened.empty()) << c.link;
        EXPECT_FALSE(d.link.OpenLink()) << c.link;
    }
}

TEST(LinkStatic, FileNamesAreCleaned)
{
    struct Case {
        const char* text;
        const char* name;
    };
    const Case cases[] = { { "Vexal home", "Vexal home" },   { "../../etc/passwd", "etcpasswd" },
                           { "..hidden", "hidden" },          { "a\\b\tc\nd", "abcd" },
                           { "   ", "Link" },                 { "", "Link" },
                           { "Größe", "Größe" } };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.name), CLinkStatic::CleanFileName(c.text)) << c.text;
}

TEST(LinkStatic, TheDesktopGetsALinkFileAndNoneIsOverwritten)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "vexal_link_static";
    std::filesystem::remove_all(root);
    const std::filesystem::path desktop = root / "Desktop";
    std::filesystem::create_directories(desktop);
    std::filesystem::create_directories(root / "config");
    std::ofstream(root / "config" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << desktop.string() << "\"\n";
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    {
        LinkDialog d("../Vexal home");
        std::ofstream(desktop / "Vexal home.desktop") << "mine";
        EXPECT_TRUE(d.link.SaveToDesktop());
        EXPECT_FALSE(d.link.SaveToFavorites());
        std::stringstream mine, made;
        mine << std::ifstream(desktop / "Vexal home.desktop").rdbuf();
        made << std::ifstream(desktop / "Vexal home (2).desktop").rdbuf();
        EXPECT_EQ("mine", mine.str());
        EXPECT_EQ("[Desktop Entry]\nVersion=1.0\nType=Link\nName=Vexal home\nURL=https://example.com/vexal\n",
                  made.str());
        d.link.SetLink("javascript:alert(1)");
        EXPECT_FALSE(d.link.SaveToDesktop());
    }
    if (oldConfig)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(root);
}

} // namespace
