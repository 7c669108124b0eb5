#include "ClassDiagram.h"
#include "MemDB/FlatImage.h"
#include "MemDB/db.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "Platform/Clipboard.h"
#include "Platform/GlobalMemory.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageCanvas.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolClipboard.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Two pages of one class diagram: a box holding a nested box, a second box
// and a line between them, all selected but the nested one.
class SymbolClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        controller = OpenClassDiagram(2);
        ASSERT_NE(controller, nullptr);
        InsertElement(5, 1, "Class", "C-E1");
        theNextSymbolId = 100;
        Add(1, 0, "Class", "C-S1", "C-E1", RECT{1000, 1000, 5000, 4000}, SYMBOL_CHECKED);
        Add(2, 1, "Class", "C-S2", "", RECT{1500, 2000, 3000, 3000}, 0);
        Add(3, 0, "Class", "C-S3", "", RECT{9000, 1000, 11000, 2000}, SYMBOL_CHECKED);
        Add(4, 0, "Association", "C-S4", "", RECT{5000, 2000, 9000, 1500}, SYMBOL_CHECKED, MSC_LINE);
        controller->SelectionCount = 3;
    }

    static void Add(int id, int fid, const char* type, const char* sguid, const char* guid, RECT r, int state,
                    int msc = MSC_RECTANGLE)
    {
        InsertSymbol({3, id, fid, type, sguid, guid, r, msc, state | SYMBOL_AUTOLAYOUT});
    }
    static std::string Block()
    {
        EXPECT_TRUE(OpenClipboard(nullptr));
        auto* h = static_cast<HGLOBAL>(GetClipboardData(SymbolClipboardFormat()));
        std::string bytes;
        if (h) {
            bytes.assign(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
        return bytes;
    }
    // The images of a block: the symbols' SGUIDs, in order.
    static std::vector<std::string> Images(const std::string& block)
    {
        std::vector<std::string> out;
        for (size_t at = DbNameSize; at < block.size();) {
            SymbolT row;
            const size_t used = MemDbReadImage(&SymbolT::TableInfo, block.data() + at, block.size() - at, &row);
            if (!used)
                break;
            EXPECT_FALSE(row.ItemState & SYMBOL_CHECKED);
            out.push_back(row.SGUID);
            at += used;
        }
        return out;
    }
    static std::vector<SymbolT> Page(int pageId)
    {
        std::vector<SymbolT> rows;
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                rows.push_back(*c.GetRecord());
            while (c.Next());
        return rows;
    }

    CDiagramController* controller = nullptr;
    PageCanvas canvas{40, 40};
};

TEST_F(SymbolClipboard, CopyPutsTheBlockABitmapAndAPicture)
{
    ASSERT_TRUE(CopySymbols(nullptr, &canvas.dc, controller));
    for (UINT format : {SymbolClipboardFormat(), UINT(CF_BITMAP), UINT(CF_ENHMETAFILE)})
        EXPECT_TRUE(IsClipboardFormatAvailable(format)) << format;
    const std::string block = Block();
    ASSERT_GT(block.size(), size_t(DbNameSize));
    EXPECT_EQ(block.compare(0, DbNameSize, std::string(theDbName, DbNameSize)), 0);
    EXPECT_EQ(Images(block), (std::vector<std::string>{"C-S1", "C-S2", "C-S3", "C-S4"}))
        << "each selected top-level symbol, a box followed by its nested ones";
    // The seed of the paste reader's fuzz corpus: the images without the name.
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    std::ofstream(VEXAL_TEST_OUTPUT "/paste_block_seed.bin", std::ios::binary) << block.substr(DbNameSize);

    controller->SetSelection(3, false, -1);
    EmptyClipboard();
    EXPECT_FALSE(CopySymbols(nullptr, &canvas.dc, controller)) << "nothing selected";
    EXPECT_FALSE(Block().empty()) << "the clipboard is left as it was";
}

TEST_F(SymbolClipboard, PasteRoundTripOnTwoPages)
{
    ASSERT_TRUE(CopySymbols(nullptr, &canvas.dc, controller));
    UndoLog::Clear();
    EXPECT_EQ(PasteSymbols(nullptr), 4);
    // Each copy's Text names the symbol it was copied from.
    auto original = [](const SymbolT& copy) {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        EXPECT_GT(c.SelectByKey("SGUID", copy.Text), 0) << copy.Text;
        return *c.GetRecord();
    };
    const std::vector<SymbolT> page = Page(3);
    ASSERT_EQ(page.size(), 8u);
    for (const SymbolT& s : page) {
        if (s.ID <= 100)
            continue;
        EXPECT_EQ(s.FID, 0) << "pasted symbols lie at the top level";
        EXPECT_EQ(std::string(s.SGUID).size(), 22u);
        EXPECT_EQ(s.x1, original(s).x1 + 100) << "moved by 100 on the page they came from";
        EXPECT_EQ(s.y2, original(s).y2 + 100);
    }
    ASSERT_TRUE(controller->GoToPage(1));
    EXPECT_EQ(PasteSymbols(nullptr), 4);
    const std::vector<SymbolT> other = Page(4);
    ASSERT_EQ(other.size(), 4u);
    for (const SymbolT& s : other)
        EXPECT_EQ(s.x1, original(s).x1) << "kept in place on another page";
    UndoLog::Undo();
    EXPECT_TRUE(Page(4).empty()) << "one paste, one undo step";
}

TEST_F(SymbolClipboard, BlocksPasteOnlyWhatIsWholeAndKnown)
{
    ASSERT_TRUE(CopySymbols(nullptr, &canvas.dc, controller));
    const std::string block = Block();
    std::vector<size_t> starts;
    for (size_t at = DbNameSize; at < block.size();) {
        SymbolT row;
        starts.push_back(at);
        at += MemDbReadImage(&SymbolT::TableInfo, block.data() + at, block.size() - at, &row);
    }
    starts.push_back(block.size());
    ASSERT_EQ(starts.size(), 5u);
    // Image 2 (C-S2) with a Type no metaclass has: "Class" is its only text
    // of that name; rename it in place.
    std::string unknown = block;
    const size_t type = unknown.find("Class", starts[1]);
    ASSERT_LT(type, starts[2]);
    unknown[type] = 'X';
    std::string foreign = block;
    foreign[0] = foreign[0] == 'A' ? 'B' : 'A';
    struct Case {
        const char* name;
        std::string bytes;
        int pasted;
    } const cases[] = {
        {"another run's block", foreign, 0},
        {"an unknown kind is skipped whole", unknown, 3},
        {"a cut block stops at its last whole image", block.substr(0, starts[3] + 10), 3},
        {"the name alone", block.substr(0, DbNameSize), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = Page(4).size();
        EXPECT_EQ(PasteSymbolBlock(c.bytes.data(), c.bytes.size(), 4), c.pasted);
        EXPECT_EQ(Page(4).size(), before + size_t(c.pasted));
    }
    // A symbol whose element was deleted since the copy is not pasted.
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        ASSERT_GT(c.SelectByKey("GUID", "C-E1"), 0);
        theModelDb.RemoveRecord(&ModelT::TableInfo, c.GetCurrentOid());
    }
    EXPECT_EQ(PasteSymbolBlock(block.data(), block.size(), 4), 3);
}

} // namespace
