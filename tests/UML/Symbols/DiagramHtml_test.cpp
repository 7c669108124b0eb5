// A diagram's help page: one SVG picture per page in SN order, each named
// after its page and titled with its own diagram, written through a hidden
// main view; the open page stays as it was.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"

#include "Platform/Wnd.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/PageState.h"
#include "UML/Model/ShellHooks.h"

#include <cstring>
#include <filesystem>

namespace {

CWnd* theView = nullptr;

class DiagramHtml : public SymbolFixture {
protected:
    void SetUp() override
    {
        SymbolFixture::SetUp();
        ASSERT_TRUE(view.CreateEx(0, nullptr, "view", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
        theView = &view;
        theShellHooks.GetMainView = [] { return theView; };
        folder = std::string(VEXAL_TEST_OUTPUT) + "/symbols/html-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        theView = nullptr;
        view.DestroyWindow();
    }

    int AddPage(int diagramId, const char* name)
    {
        return Prototype("Page")->CreateElement(diagramId, name, NewGuid(true).c_str(), nullptr);
    }

    std::string Write(int diagramId)
    {
        ModelT element;
        EXPECT_TRUE(FetchElementById(diagramId, element));
        Prototype(element.Type)->WriteHtmlPage(folder.c_str(), element);
        return TestFolder::Read(folder + element.Type + std::to_string(diagramId) + ".htm");
    }

    std::string Picture(int diagramId, int n)
    {
        return "Classdiagram" + std::to_string(diagramId) + "_" + std::to_string(n) + ".svg";
    }

    CWnd view;
    std::string folder;
};

TEST_F(DiagramHtml, ThreePagesGiveThreePicturesInPageOrder)
{
    Place("Package", RECT{1000, 1000, 6000, 4000}, 0, "Shown");
    AddPage(diagram, "Second");
    AddPage(diagram, "Third");
    const std::string text = Write(diagram);
    size_t at = 0;
    for (int n = 0; n < 3; ++n) {
        const std::string row = "<tr><td align='center'><img src=\"" + Picture(diagram, n) + "\"></td></tr>\r\n";
        const size_t found = text.find(row, at);
        ASSERT_NE(found, std::string::npos) << row;
        at = found;
        EXPECT_GT(std::filesystem::file_size(folder + Picture(diagram, n)), 0u);
    }
    EXPECT_NE(TestFolder::Read(folder + Picture(diagram, 0)).find("Shown"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 24), "</table></body></html>\r\n");
}

TEST_F(DiagramHtml, EachPictureCarriesItsOwnDiagramsTitle)
{
    SafeStrCopy(thePageState.Title, "The view's diagram", sizeof thePageState.Title);
    Write(diagram);
    const std::string svg = TestFolder::Read(folder + Picture(diagram, 0));
    EXPECT_NE(svg.find("Classdiagram"), std::string::npos);
    EXPECT_EQ(svg.find("The view"), std::string::npos);
}

TEST_F(DiagramHtml, SameNamedDiagramsGetPicturesOfTheirOwn)
{
    const int twin = Prototype("Classdiagram")->CreateElement(owner, "Classdiagram", NewGuid(true).c_str(), nullptr);
    Write(diagram);
    Write(twin);
    EXPECT_TRUE(std::filesystem::exists(folder + Picture(diagram, 0)));
    EXPECT_TRUE(std::filesystem::exists(folder + Picture(twin, 0)));
}

TEST_F(DiagramHtml, WithoutPagesOnlyHeadAndTail)
{
    Prototype("Page")->DeleteElement(page);
    const std::string text = Write(diagram);
    EXPECT_NE(text.find("<title>Classdiagram[Classdiagram]</title></head>\r\n"), std::string::npos);
    EXPECT_EQ(text.find("<img"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 24), "</table></body></html>\r\n");
}

TEST_F(DiagramHtml, ThePageStateIsLeftAsItWas)
{
    AddPage(diagram, "Second");
    thePageState.DiagramId = 4242;
    thePageState.PageId = 4343;
    thePageState.PageIndex = 0;
    SafeStrCopy(thePageState.Title, "Shown", sizeof thePageState.Title);
    const PageState before = thePageState;
    Write(diagram);
    EXPECT_EQ(std::memcmp(&before, &thePageState, sizeof before), 0);
}

TEST_F(DiagramHtml, WithoutAMainViewNothingIsWritten)
{
    theShellHooks.GetMainView = [] { return static_cast<CWnd*>(nullptr); };
    ModelT element;
    ASSERT_TRUE(FetchElementById(diagram, element));
    EXPECT_FALSE(Prototype("Classdiagram")->WriteHtmlPage(folder.c_str(), element));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
