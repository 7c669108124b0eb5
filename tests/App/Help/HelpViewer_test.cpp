// The help viewer on the program's help file and on a small file of the
// test's own: topics, links, history, pictures, the missing cases, and one
// window for every call.
#include "App/HelpViewer.h"
#include "File/ExportCHM.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string kHelpFile = std::string(VEXAL_TEST_OUTPUT) + "/../bin/help.chm";

void Write(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class HelpViewer : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (CHelpViewer* viewer = CHelpViewer::Get())
            viewer->DestroyWindow();
    }
    static std::string Source() { return CHelpViewer::Get()->Browser().GetSource().GetString(); }
    static std::string Text() { return CHelpViewer::Get()->Browser().GetPlainText().GetString(); }
    static std::string Selected()
    {
        CListBox& contents = CHelpViewer::Get()->Contents();
        CString line;
        if (contents.GetCurSel() >= 0)
            contents.GetText(contents.GetCurSel(), line);
        return line.GetString();
    }
};

TEST_F(HelpViewer, HelpTopicsOpensTheTopicOfTheSelectionOrTheIndex)
{
    // What Help Topics builds with a class selected, and with nothing selected.
    CHelpViewer::ShowTopic((kHelpFile + "::/Class.htm").c_str());
    ASSERT_NE(CHelpViewer::Get(), nullptr);
    EXPECT_EQ(Source(), "/Class.htm");
    EXPECT_NE(Text().find("Where it may stand"), std::string::npos);
    EXPECT_EQ(Selected(), "        Class");
    EXPECT_GT(CHelpViewer::Get()->Contents().GetCount(), 79);
    EXPECT_TRUE(CHelpViewer::Get()->IsWindowVisible());
    EXPECT_EQ(CHelpViewer::Get()->GetParent(), nullptr);
    char title[64];
    CHelpViewer::Get()->GetWindowText(title, sizeof title);
    EXPECT_STREQ(title, "Vexal Help - Class");

    CHelpViewer::ShowTopic((kHelpFile + "::/Index.htm").c_str());
    EXPECT_EQ(Source(), "/Index.htm");
    EXPECT_NE(Text().find("Vexal is a desktop tool"), std::string::npos);
    EXPECT_EQ(Selected(), "Vexal");
}

TEST_F(HelpViewer, ALinkThenBackAndForward)
{
    CHelpViewer::ShowTopic((kHelpFile + "::/Class.htm").c_str());
    CTextBrowser& browser = CHelpViewer::Get()->Browser();
    EXPECT_FALSE(browser.CanGoBack());
    browser.ActivateLink("Attribute.htm");
    EXPECT_EQ(Source(), "/Attribute.htm");
    EXPECT_EQ(Selected(), "        Attribute");
    ASSERT_TRUE(browser.CanGoBack());
    browser.Back();
    EXPECT_EQ(Source(), "/Class.htm");
    ASSERT_TRUE(browser.CanGoForward());
    browser.Forward();
    EXPECT_EQ(Source(), "/Attribute.htm");
    PlayKey(VK_LEFT, MK_ALT);
    EXPECT_EQ(Source(), "/Class.htm");
    PlayKey(VK_RIGHT, MK_ALT);
    EXPECT_EQ(Source(), "/Attribute.htm");
    CHelpViewer::Get()->OpenContentsEntry(0);
    EXPECT_EQ(Source(), "/Index.htm");
    PlayKey(VK_BACK);
    EXPECT_EQ(Source(), "/Attribute.htm");
}

TEST_F(HelpViewer, AMissingTopicOrFileShowsAPageSayingSo)
{
    CHelpViewer::ShowTopic((kHelpFile + "::/NoSuchTopic.htm").c_str());
    EXPECT_NE(Text().find("Topic not found"), std::string::npos);
    EXPECT_NE(Text().find("/NoSuchTopic.htm"), std::string::npos);

    const std::string missing = std::string(VEXAL_TEST_OUTPUT) + "/no-such-help.chm";
    CHelpViewer::ShowTopic((missing + "::/Index.htm").c_str());
    EXPECT_NE(Text().find("Help file not found"), std::string::npos);
    EXPECT_NE(Text().find(missing), std::string::npos);
    EXPECT_EQ(CHelpViewer::Get()->Contents().GetCount(), 0);
}

TEST_F(HelpViewer, EveryCallReusesTheOneWindow)
{
    CHelpViewer::ShowTopic((kHelpFile + "::/Index.htm").c_str());
    CHelpViewer* first = CHelpViewer::Get();
    const HWND handle = first->GetSafeHwnd();
    CHelpViewer::ShowTopic((kHelpFile + "::/Package.htm").c_str());
    EXPECT_EQ(CHelpViewer::Get(), first);
    EXPECT_EQ(CHelpViewer::Get()->GetSafeHwnd(), handle);
    EXPECT_EQ(Source(), "/Package.htm");
    // A closed viewer is made again on the next call.
    first->SendMessage(WM_CLOSE);
    EXPECT_EQ(CHelpViewer::Get(), nullptr);
    CHelpViewer::ShowTopic(kHelpFile.c_str());
    ASSERT_NE(CHelpViewer::Get(), nullptr);
    EXPECT_EQ(Source(), "/Index.htm");
}

TEST_F(HelpViewer, PicturesComeFromTheFileAndTheScreenShowsThem)
{
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/help-viewer/";
    std::filesystem::remove_all(dir);
    Write(dir + "Diagram1.htm", "<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'>"
                                "<title>D</title></head><body><h1>Stra\xC3\xA9 &amp; pictures</h1>"
                                "<table border='1'><tr><td bgcolor='lightgrey'>Name</td><td>&nbsp;</td></tr></table>"
                                "<img src=\"Diagram1/Page_0.svg\"></body></html>");
    Write(dir + "Diagram1/Page_0.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\">"
                                       "<rect x=\"10\" y=\"10\" width=\"180\" height=\"80\" fill=\"#c00000\"/></svg>");
    Write(dir + "d.hhc", "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A &amp; B\">"
                         "<param name=\"Local\" value=\"Diagram1.htm\"></OBJECT></UL>");
    Write(dir + "d.hhp", "[OPTIONS]\r\nCompiled file=d.chm\r\nContents file=d.hhc\r\n[FILES]\r\nDiagram1.htm\r\n"
                         "Diagram1/Page_0.svg\r\n");
    ASSERT_NE(CompileChm((dir + "d.hhp").c_str()), 0);
    CHelpViewer::ShowTopic((dir + "d.chm::Diagram1.htm").c_str());
    EXPECT_EQ(Source(), "/Diagram1.htm");
    EXPECT_EQ(Selected(), "A & B");
    EXPECT_EQ(Text().find("&nbsp"), std::string::npos) << Text();
    EXPECT_TRUE(SaveWindowPicture(CHelpViewer::Get()->GetSafeHwnd(), (dir + "picture.png").c_str()));
    CHelpViewer::ShowTopic((kHelpFile + "::/Class.htm").c_str());
    EXPECT_TRUE(SaveWindowPicture(CHelpViewer::Get()->GetSafeHwnd(),
                                  (std::string(VEXAL_TEST_OUTPUT) + "/help-viewer/class.png").c_str()));
}

} // namespace
