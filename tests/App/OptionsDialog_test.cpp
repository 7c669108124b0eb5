// The Options dialog in the running shell: its tabs and rows, what OK,
// Cancel and Reset leave in the configuration, and the values it refuses.
#include "ShellHarness.h"

#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "Platform/Playback.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DrawResources.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const UINT kOptions = 32798;

COptionTreeItem* RowLabelled(COptionTree& grid, const char* label)
{
    for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
         category = category->GetNextSibling()) {
        for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling()) {
            if (row->GetLabelText() == label)
                return row;
        }
    }
    return nullptr;
}

std::vector<std::string> Labels(COptionTree& grid)
{
    std::vector<std::string> labels;
    for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
         category = category->GetNextSibling()) {
        labels.push_back(std::string("[") + category->GetLabelText().GetString() + "]");
        for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling())
            labels.push_back(row->GetLabelText().GetString());
    }
    return labels;
}

COLORREF BorderPenColour()
{
    LOGPEN pen;
    DrawResources::BorderPen.GetObject(sizeof pen, &pen);
    return pen.lopnColor;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell.Start());
        dlg = &shell.Frame()->GetOptionsDialog();
        theSysConfig.SetDefaults();
        shell.Command(kOptions);
        ASSERT_TRUE(dlg->IsWindowVisible());
    }
    void TearDown() override { theSysConfig.SetDefaults(); }

    COptionTree& Grid(const char* label)
    {
        return RowLabelled(dlg->GetDiagramGrid(), label) ? dlg->GetDiagramGrid() : dlg->GetHelpGrid();
    }
    void Type(const char* label, int value)
    {
        auto* row = dynamic_cast<COptionTreeEditItem*>(RowLabelled(Grid(label), label));
        ASSERT_NE(row, nullptr) << label;
        row->SetWindowText(std::to_string(value).c_str());
    }
    void SetColour(const char* label, COLORREF colour)
    {
        auto* row = dynamic_cast<COptionTreeColorItem*>(RowLabelled(Grid(label), label));
        ASSERT_NE(row, nullptr) << label;
        row->SetColor(colour);
    }
    void Click(UINT button)
    {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        shell.Pump();
    }

    ShellHarness shell;
    COptionsDlg* dlg = nullptr;
};

TEST_F(OptionsDialog, ShowsTwoTabsOfRowsWithTheConfiguredValues)
{
    CCoolTabCtrl& tabs = dlg->GetTabs();
    ASSERT_EQ(tabs.GetPageCount(), 2);
    EXPECT_EQ(std::string(tabs.GetPage(0)->title.GetString()), "Diagram settings");
    EXPECT_EQ(std::string(tabs.GetPage(1)->title.GetString()), "CHM Settings");
    EXPECT_NE(tabs.GetPage(0)->icon, nullptr);
    EXPECT_NE(tabs.GetPage(1)->icon, nullptr);
    EXPECT_EQ(tabs.GetSelected(), 0);
    EXPECT_EQ(Labels(dlg->GetDiagramGrid()),
              (std::vector<std::string>{ "[Page]", "Default width", "Default height", "Background", "[Symbol]",
                                         "Backgroud", "Border color" }));
    EXPECT_EQ(Labels(dlg->GetHelpGrid()),
              (std::vector<std::string>{ "[Position and size]", "Left", "Top", "Width", "Height", "Board width",
                                         "Record postion", "[Display]", "Display search", "Display bookmark",
                                         "Display plus icon", "Display line", "Hide button title" }));
    EXPECT_EQ(RowLabelled(dlg->GetDiagramGrid(), "Default width")->GetValueInt(), 21000);
    EXPECT_EQ(RowLabelled(dlg->GetHelpGrid(), "Board width")->GetValueInt(), 180);
    EXPECT_TRUE(dlg->GetDiagramGrid().GetRootItem()->GetFirstChild()->IsExpanded());

    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/";
    std::filesystem::create_directories(dir);
    dlg->UpdateWindow();
    EXPECT_TRUE(SaveWindowPicture(dlg->GetSafeHwnd(), (dir + "OptionsDialog.png").c_str()));
}

// Each colour row shows a swatch of its colour, as in the property pane; the
// row editors, hidden until a row is clicked, do not cover it.
TEST_F(OptionsDialog, ColourRowsShowASwatchOfTheirColour)
{
    const struct {
        const char* label;
        COLORREF colour;
    } rows[] = { { "Background", RGB(0xC0, 0x20, 0x20) }, { "Backgroud", RGB(0x20, 0xA0, 0x20) },
                 { "Border color", RGB(0x20, 0x20, 0xC0) } };
    for (const auto& r : rows)
        SetColour(r.label, r.colour);
    COptionTree& grid = dlg->GetDiagramGrid();
    grid.GetListWnd()->Invalidate();
    dlg->UpdateWindow();
    const std::string path = std::string(VEXAL_TEST_OUTPUT) + "/App/OptionsDialog-colours.png";
    ASSERT_TRUE(SaveWindowPicture(dlg->GetSafeHwnd(), path.c_str()));
    const QImage shot(QString::fromStdString(path));
    CRect window;
    dlg->GetWindowRect(&window);
    for (const auto& r : rows) {
        CRect value = RowLabelled(grid, r.label)->GetValueRect();
        grid.GetListWnd()->ClientToScreen(&value);
        const QColor seen = shot.pixelColor(value.left + 8 - window.left, value.top + 10 - window.top);
        EXPECT_EQ(RGB(seen.red(), seen.green(), seen.blue()), r.colour) << r.label;
    }
}

// A page side must leave room inside its edges of 1500; a help window must
// have a size. Each refused value is said in the Messages pane and the old
// one stays; the values beside it are applied.
TEST_F(OptionsDialog, RefusesPageSidesItsEdgesFillAndHelpSizesOfZeroOrLess)
{
    struct Case {
        const char* label;
        int typed;
        int CSysConfig::*value;
        int expected;
        bool refused;
    };
    const Case cases[] = {
        { "Default width", 0, &CSysConfig::m_nPageWidth, 21000, true },
        { "Default width", -21000, &CSysConfig::m_nPageWidth, 21000, true },
        { "Default width", 3000, &CSysConfig::m_nPageWidth, 21000, true },
        { "Default width", 3001, &CSysConfig::m_nPageWidth, 3001, false },
        { "Default height", 2999, &CSysConfig::m_nPageHeight, 29700, true },
        { "Default height", 42000, &CSysConfig::m_nPageHeight, 42000, false },
        { "Width", 0, &CSysConfig::m_nChmWidth, 800, true },
        { "Width", 1, &CSysConfig::m_nChmWidth, 1, false },
        { "Height", -1, &CSysConfig::m_nChmHeight, 600, true },
        { "Board width", 0, &CSysConfig::m_nChmBoardWidth, 180, true },
        { "Left", -10, &CSysConfig::m_nChmLeft, -10, false },
        { "Top", 0, &CSysConfig::m_nChmTop, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " " + std::to_string(c.typed));
        theSysConfig.SetDefaults();
        shell.Command(kOptions);
        Type("Default height", 30000);
        Type(c.label, c.typed);
        const size_t before = shell.Messages().size();
        Click(IDOK);
        EXPECT_FALSE(dlg->IsWindowVisible());
        EXPECT_EQ(theSysConfig.*c.value, c.expected);
        if (c.label != std::string("Default height")) {
            EXPECT_EQ(theSysConfig.m_nPageHeight, 30000) << "the other values are applied";
        }
        const std::vector<std::string> messages = shell.Messages();
        ASSERT_EQ(messages.size(), before + (c.refused ? 1 : 0));
        if (c.refused) {
            EXPECT_EQ(messages.back().find(c.label), 0u) << messages.back();
        }
    }
}

// The drawing resources follow the configuration only when OK changed it.
TEST_F(OptionsDialog, OkRebuildsTheDrawingResourcesOnlyWhenSomethingChanged)
{
    Click(IDOK);
    theSysConfig.m_clrSymbolBorder = RGB(0, 128, 0);
    const COLORREF drawn = BorderPenColour();
    ASSERT_NE(drawn, RGB(0, 128, 0));
    shell.Command(kOptions);
    Click(IDOK);
    EXPECT_EQ(BorderPenColour(), drawn);

    shell.Command(kOptions);
    SetColour("Background", RGB(1, 2, 3));
    Click(IDOK);
    EXPECT_EQ(theSysConfig.m_clrDiagramBg, RGB(1, 2, 3));
    EXPECT_EQ(BorderPenColour(), RGB(0, 128, 0));
}

TEST_F(OptionsDialog, ResetIsInForceEvenWhenCancelled)
{
    theSysConfig.m_nPageWidth = 30000;
    theSysConfig.m_nChmBoardWidth = 99;
    shell.Command(kOptions);
    Type("Default height", 40000);
    Click(3);
    EXPECT_EQ(theSysConfig.m_nPageWidth, 21000);
    EXPECT_EQ(RowLabelled(dlg->GetDiagramGrid(), "Default width")->GetValueInt(), 21000);
    EXPECT_EQ(RowLabelled(dlg->GetDiagramGrid(), "Default height")->GetValueInt(), 29700);
    Click(IDCANCEL);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(theSysConfig.m_nPageWidth, 21000);
    EXPECT_EQ(theSysConfig.m_nChmBoardWidth, 180);
}

TEST_F(OptionsDialog, ShowingAgainDropsWhatWasTypedBeforeACancel)
{
    Type("Default width", 5000);
    Type("Left", 77);
    Click(IDCANCEL);
    EXPECT_EQ(theSysConfig.m_nPageWidth, 21000);
    shell.Command(kOptions);
    EXPECT_EQ(RowLabelled(dlg->GetDiagramGrid(), "Default width")->GetValueInt(), 21000);
    EXPECT_EQ(RowLabelled(dlg->GetHelpGrid(), "Left")->GetValueInt(), 0);
}

} // namespace
