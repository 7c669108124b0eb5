// The search dialog and its result list in the running shell: texts that
// find exactly what a substring test over the names finds, whatever their
// characters; the metaclass filter; the history; Enter opening a hit in
// either mode; paging; the count and path labels.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/FindResultList.h"
#include "App/SearchDlg.h"
#include "App/ShellServices.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Playback.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

const UINT kSearch = 32799;

const std::string kLongName = std::string(300, 'L') + "tail";

std::string Elements()
{
    return "<Class Name=\"Alpha\" GUID=\"G1\"/>\r\n"
           "<Class Name=\"it&apos;s\" GUID=\"G2\"/>\r\n"
           "<Class Name=\"back\\slash\" GUID=\"G3\"/>\r\n"
           "<Class Name=\"x&apos; in Name or &apos;1y\" GUID=\"G4\"/>\r\n"
           "<Interface Name=\"" + kLongName + "\" GUID=\"G5\"/>\r\n"
           "<Class Name=\"Gr\xC3\xB6\xC3\x9F" "e\" GUID=\"G6\"/>\r\n"
           "<Interface Name=\"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\" GUID=\"G7\"/>\r\n"
           "<Package Name=\"Alphabet\" GUID=\"G8\">\r\n"
           "<Class Name=\"AlphaInner\" GUID=\"G9\"/>\r\n"
           "</Package>\r\n"
           "<Classdiagram Name=\"D\" GUID=\"GD\">\r\n"
           "<Page Name=\"P1\" GUID=\"GP1\"/>\r\n"
           "<Page Name=\"P2\" GUID=\"GP2\">\r\n"
           "<Class sid=\"S1\" mid=\"G1\" area=\"7D0,7D0,2710,1770\" text=\"Alpha\"/>\r\n"
           "<Initial sid=\"S2\" area=\"2EE0,7D0,3070,960\" text=\"Start&apos;here\"/>\r\n"
           "</Page>\r\n"
           "</Classdiagram>\r\n";
}

bool KnownType(const char* type)
{
    CSymbol* prototype = nullptr;
    return FindMetaclass(type, prototype);
}

// What "in" means: a byte substring of the name; an empty text is in every name.
struct Expected {
    int count = 0;
    std::set<int> listed;  // the hits that have a metaclass and so a row
};

Expected BruteForce(const std::string& text, const std::string& type = "")
{
    Expected e;
    dbQueryText all;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    for (int n = c.Select(all, dbCursorViewOnly); n > 0; --n, c.Next()) {
        const std::string name = c->Name ? c->Name : "";
        if (name.find(text) == std::string::npos || (!type.empty() && type != (c->Type ? c->Type : "")))
            continue;
        ++e.count;
        if (KnownType(c->Type))
            e.listed.insert(c->ID);
    }
    return e;
}

class SearchDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell.Start({ shell.MakeProject("Find", Elements()) }));
        dlg = &shell.Frame()->GetSearchDialog();
        shell.Command(kSearch);
        ASSERT_TRUE(dlg->IsWindowVisible());
    }

    // The text as the program would have it typed, searched at once.
    int Search(const std::string& text)
    {
        dlg->GetSearchText().SetWindowText(text.c_str());
        dlg->RunSearch(false);
        return dlg->GetResultList().GetHitCount();
    }
    // Every listed hit, page after page.
    std::set<int> AllListed()
    {
        CFindResultList& list = dlg->GetResultList();
        list.SendMessage(WM_VSCROLL, SB_TOP);
        std::set<int> ids;
        for (int first = -1; first != list.GetFirstHit();) {
            first = list.GetFirstHit();
            for (int id : list.GetLoadedIds())
                ids.insert(id);
            list.SendMessage(WM_KEYDOWN, VK_NEXT);
        }
        return ids;
    }
    void Check(bool on)
    {
        dlg->GetInDiagram().SetCheck(on ? BST_CHECKED : BST_UNCHECKED);
        dlg->OnSearchInDiagram();
    }
    std::vector<std::string> FilterEntries()
    {
        std::vector<std::string> entries;
        CComboBox& filter = dlg->GetFilter();
        for (int i = 0; i < filter.GetCount(); ++i) {
            CString text;
            filter.GetLBText(i, text);
            entries.push_back(text.GetString());
        }
        return entries;
    }

    ShellHarness shell;
    CSearchDlg* dlg = nullptr;
};

// Quotes, backslashes and text that would read as a condition are matched
// as typed, as are long and multi-byte texts; the empty text finds all.
TEST_F(SearchDialog, EveryTextFindsExactlyTheNamesThatHoldIt)
{
    const std::string texts[] = {
        "'", "\\", "' in Name or '1", "it's", kLongName.substr(100), "\xC3\xB6\xC3\x9F",
        "\xE6\x9C\xAC", "Alpha", "nothing here", "",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE("text \"" + text + "\"");
        const Expected expected = BruteForce(text);
        EXPECT_EQ(Search(text), expected.count);
        EXPECT_EQ(AllListed(), expected.listed);
        EXPECT_EQ(std::string(dlg->GetCountText().GetString()),
                  "Symbol:    " + std::to_string(expected.count) + " symbols");
    }
    EXPECT_EQ(Search("' in Name or '1"), 1);
    EXPECT_TRUE(shell.Messages().empty());
}

TEST_F(SearchDialog, TypingSearchesAsEachCharacterArrives)
{
    PlayText("it'");
    shell.Pump();
    EXPECT_EQ(dlg->GetResultList().GetLoadedIds(), std::vector<int>{ ElementNamed("it's") });
    const std::string path = dlg->GetPathText().GetString();
    EXPECT_EQ(path.substr(path.size() - 5), "/it's") << path;
}

TEST_F(SearchDialog, TheFilterKeepsOneMetaclassAndOffersOnlyThoseThatMakeElements)
{
    std::vector<std::string> entries = FilterEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0], "");
    EXPECT_TRUE(std::is_sorted(entries.begin() + 1, entries.end()));
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Class"), entries.end());
    EXPECT_EQ(std::find(entries.begin(), entries.end(), "Initial"), entries.end());

    CComboBox& filter = dlg->GetFilter();
    filter.SetCurSel(filter.FindStringExact(-1, "Interface"));
    dlg->OnFilterChange();
    EXPECT_EQ(AllListed(), BruteForce("", "Interface").listed);
    EXPECT_EQ(Search("\xE6\x97\xA5"), 1);
    EXPECT_EQ(Search("Alpha"), 0);

    Check(true);
    entries = FilterEntries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Initial"), entries.end());
    Check(false);
    entries = FilterEntries();
    EXPECT_EQ(std::find(entries.begin(), entries.end(), "Initial"), entries.end());

    // Showing again clears the text and the filter, not the mode.
    Check(true);
    shell.Command(kSearch);
    EXPECT_EQ(dlg->GetFilter().GetCurSel(), 0);
    EXPECT_EQ(dlg->GetSearchText().GetWindowTextLength(), 0);
    EXPECT_EQ(dlg->GetInDiagram().GetCheck(), BST_CHECKED);
}

// Enter keeps the text in the history unless it is there in any case; the
// oldest of fifty goes.
TEST_F(SearchDialog, TheHistoryIsCaseBlindAndKeepsFiftyTexts)
{
    auto enter = [this](const std::string& text) {
        shell.Command(kSearch);
        dlg->GetSearchText().SetWindowText(text.c_str());
        shell.Key(VK_RETURN);
        EXPECT_FALSE(dlg->IsWindowVisible());
    };
    CComboBox& history = dlg->GetSearchText();
    enter("Alpha");
    enter("ALPHA");
    ASSERT_EQ(history.GetCount(), 1);
    for (int i = 1; i < 50; ++i)
        enter("text" + std::to_string(i));
    ASSERT_EQ(history.GetCount(), 50);
    enter("one more");
    ASSERT_EQ(history.GetCount(), 50);
    CString first, last;
    history.GetLBText(0, first);
    history.GetLBText(49, last);
    EXPECT_EQ(std::string(first.GetString()), "text1");
    EXPECT_EQ(std::string(last.GetString()), "one more");
}

TEST_F(SearchDialog, EnterOpensTheSelectedHitAndInDiagramModeItsPage)
{
    Search("AlphaInner");
    shell.Key(VK_RETURN);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(GetCheckedModel(), ElementNamed("AlphaInner"));

    shell.Command(kSearch);
    Check(true);
    EXPECT_EQ(Search("'here"), 1);
    EXPECT_EQ(std::string(dlg->GetPathText().GetString()).substr(std::string(dlg->GetPathText().GetString()).size() - 3), "/P2");
    shell.Key(VK_RETURN);
    EXPECT_EQ(GetCheckedModel(), ElementNamed("P2"));

    // Esc hides without opening; Enter without hits opens nothing.
    shell.Command(kSearch);
    EXPECT_EQ(Search("no such text"), 0);
    EXPECT_EQ(std::string(dlg->GetPathText().GetString()), "");
    shell.Key(VK_RETURN);
    EXPECT_EQ(GetCheckedModel(), ElementNamed("P2"));
    shell.Command(kSearch);
    shell.Key(VK_ESCAPE);
    EXPECT_FALSE(dlg->IsWindowVisible());
}

TEST_F(SearchDialog, ShowsItsHits)
{
    Search("Alpha");
    dlg->GetResultList().SendMessage(WM_KEYDOWN, VK_DOWN);
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/";
    std::filesystem::create_directories(dir);
    dlg->UpdateWindow();
    EXPECT_TRUE(SaveWindowPicture(dlg->GetSafeHwnd(), (dir + "SearchDialog.png").c_str()));
    EXPECT_EQ(dlg->GetResultList().GetSelectedRow(), 1);
}

// A hundred hits in a list of twenty rows: a page at a time, a row at a
// time past either end, never beyond the last page.
TEST(SearchResultList, PagesAHundredHitsTwentyAtATime)
{
    ShellHarness shell;
    std::string elements;
    for (int i = 0; i < 100; ++i)
        elements += "<Class Name=\"Hit" + std::to_string(i) + "\" GUID=\"H" + std::to_string(i) + "\"/>\r\n";
    ASSERT_TRUE(shell.Start({ shell.MakeProject("Hundred", elements) }));
    CFindResultList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20 * 16 + 8), shell.Frame(), 1));
    ASSERT_EQ(list.GetRowsPerPage(), 20);
    EXPECT_EQ(list.Search("Hit", "", false), 100);

    std::vector<int> order;
    dbQueryText all;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    for (int n = c.Select(all, dbCursorViewOnly); n > 0; --n, c.Next()) {
        if (std::string(c->Name).rfind("Hit", 0) == 0)
            order.push_back(c->ID);
    }
    ASSERT_EQ(order.size(), 100u);
    auto page = [&order](int first, int count) {
        return std::vector<int>(order.begin() + first, order.begin() + first + count);
    };
    EXPECT_EQ(list.GetLoadedIds(), page(0, 20));
    list.SendMessage(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(list.GetLoadedIds(), page(20, 20));
    list.SendMessage(WM_KEYDOWN, VK_PRIOR);
    list.SendMessage(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(list.GetFirstHit(), 0);

    for (int i = 0; i < 19; ++i)
        list.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(list.GetSelectedRow(), 19);
    EXPECT_EQ(list.GetFirstHit(), 0);
    list.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(list.GetFirstHit(), 1);
    EXPECT_EQ(list.GetSelectedId(), order[20]);
    list.SendMessage(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(list.GetSelectedRow(), 18);

    list.SendMessage(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(list.GetFirstHit(), 79);
    list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 95));
    EXPECT_EQ(list.GetFirstHit(), 80);
    EXPECT_EQ(list.GetLoadedIds(), page(80, 20));
    list.SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(list.GetFirstHit(), 0);

    // The same search again reloads nothing; a double click opens the row.
    list.SendMessage(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(list.Search("Hit", "", false), 100);
    EXPECT_EQ(list.GetFirstHit(), 20);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 3 * 16 + 2));
    EXPECT_EQ(GetCheckedModel(), order[23]);
    list.DestroyWindow();
}

} // namespace
