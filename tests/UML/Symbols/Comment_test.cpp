// Comments and constraints: the note's layout around its lines, the colour of
// its text and the label the model tree shows.
#include "SymbolFixture.h"

#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/SymbolText.h"

namespace {

class Comments : public SymbolFixture {};

TEST_F(Comments, AThreeLineNoteIsItsLinesPlus400WithAutolayout)
{
    const char* text = "first line\nthe widest line of the three\nlast";
    const int id = Place("Comment", RECT{1000, 1000, 1100, 1100}, 0, text);
    ASSERT_GT(id, 0);
    int w = 0, h = 0;
    MeasureTextLines(&canvas.dc, w, h, text, 0);
    const int p = DrawResources::PixelSize;
    const SymbolT row = Row(id);
    EXPECT_EQ(row.x2 - row.x1, w + 2 * p + 400);
    EXPECT_EQ(row.y2 - row.y1, h + 400);
    EXPECT_EQ(row.tx1, row.x1 + 200);
    EXPECT_EQ(row.ty1, row.y1 + 200);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("GUID", row.GUID), 0);
    EXPECT_STREQ(c->Name, text);
    EXPECT_STREQ(c->Type, "Comment");
    EXPECT_EQ(c->FID, owner);
}

TEST_F(Comments, WithoutAutolayoutTheNoteOnlyGrows)
{
    SymbolT row;
    row.x1 = row.y1 = 1000;
    row.x2 = row.y2 = 9000;
    row.tx1 = row.ty1 = 1234;
    row.tx2 = row.ty2 = 2345;
    row.Text = "short";
    Prototype("Comment")->Layout(row, &canvas.dc, nullptr);
    EXPECT_EQ(row.x2, 9000);
    EXPECT_EQ(row.y2, 9000);
    EXPECT_EQ(row.tx1, 1234);
    EXPECT_EQ(row.ty2, 2345);
    row.x2 = row.y2 = 1001;
    Prototype("Comment")->Layout(row, &canvas.dc, nullptr);
    EXPECT_GT(row.x2 - row.x1, 400);
    EXPECT_GT(row.y2 - row.y1, 400);
}

TEST_F(Comments, TheWholeTextTakesTheColourOfItsKind)
{
    const struct {
        const char* key;
        COLORREF colour;
    } cases[] = {{"Comment", 0xC02040}, {"Constraint", 0x008000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        SymbolT row;
        row.Text = "a\nb";
        SyntaxRunCodec runs;
        runs.Attach(Prototype(c.key)->MakeSyntax(row, 0));
        int offset = -1, colour = 0;
        ASSERT_TRUE(runs.NextRun(offset, colour));
        EXPECT_EQ(offset, 0);
        EXPECT_EQ(static_cast<COLORREF>(colour), c.colour);
        EXPECT_FALSE(runs.NextRun(offset, colour));
    }
}

TEST_F(Comments, TheLabelIsAtMost63CharactersAndDots)
{
    const std::string hundred(100, 'x');
    std::string accents;
    for (int i = 0; i < 100; ++i)
        accents += "\xC3\xA9";
    const struct {
        std::string name;
        std::string label;
    } cases[] = {
        {"", ""},
        {"Note", "Note..."},
        {hundred, std::string(63, 'x') + "..."},
        {accents, accents.substr(0, 126) + "..."},  // whole characters, not bytes
    };
    for (const auto& c : cases) {
        ModelT element;
        element.Name = c.name.c_str();
        EXPECT_EQ(Prototype("Comment")->GetLabel(element), c.label);
    }
}

TEST_F(Comments, ACommentDroppedInAPackageBelongsToIt)
{
    const int package = Place("Package", RECT{1000, 1000, 8000, 8000}, 0, "Holder");
    const int id = Place("Comment", RECT{2000, 3000, 2100, 3100}, package, "inside");
    ASSERT_GT(id, 0);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("GUID", Row(id).GUID), 0);
    const int commentOwner = c->FID;
    ASSERT_GT(c.SelectByKey("GUID", Row(package).GUID), 0);
    EXPECT_EQ(commentOwner, c->ID);
}

} // namespace
