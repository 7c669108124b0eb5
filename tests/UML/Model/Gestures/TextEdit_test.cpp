#include "ClassDiagram.h"
#include "HostView.h"

#include <gtest/gtest.h>

namespace {

class TextEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        controller = OpenClassDiagram(1);
        ASSERT_NE(controller, nullptr);
        view = std::make_unique<HostView>(controller);
    }
    void TearDown() override
    {
        controller->CommitTextEdit(nullptr);
        view.reset();
        SetZoom(1.0f);
        thePageState.OriginX = thePageState.OriginY = 0;
    }
    CDiagramController* controller = nullptr;
    std::unique_ptr<HostView> view;
};

int Pixels(int pageUnits)
{
    return ZoomScale(MulDiv(pageUnits, 96, 2540));
}

TEST_F(TextEdit, TheEditorCoversTheTextBoxAtEveryZoom)
{
    CSymbol* box = nullptr;
    ASSERT_TRUE(FindMetaclass("Class", box));
    SymbolT row;
    row.ID = 7;
    row.Type = "Class";
    row.Text = "ab";
    row.tx1 = 2540;
    row.ty1 = 5080;
    row.tx2 = 7620;
    row.ty2 = 7620;
    thePageState.OriginX = 30;
    thePageState.OriginY = 40;
    for (float zoom : {1.0f, 2.0f}) {
        SCOPED_TRACE(zoom);
        SetZoom(zoom);
        controller->BeginTextEdit(2, POINT{row.tx2, row.ty1 + 100}, row, view->Dc(), box);
        EXPECT_EQ(controller->EditSymbolId, 7);
        const CRect place = view->EditorRect();
        EXPECT_EQ(place.left, 30 + Pixels(2540));
        EXPECT_EQ(place.top, 40 + Pixels(5080));
        EXPECT_EQ(place.Width(), Pixels(7620) - Pixels(2540));
        EXPECT_EQ(place.Height(), Pixels(7620) - Pixels(5080));
        EXPECT_EQ(view->Editor().GetCaret().column, 2) << "a click at the box's end puts the caret after the text";
        controller->CommitTextEdit(nullptr);
        EXPECT_FALSE(view->Editor().IsWindowEnabled());
    }
}

TEST_F(TextEdit, EnterBreaksLinesOnlyInShapedTexts)
{
    struct Case {
        const char* key;
        bool wantReturn;
    } const cases[] = {{"Class", false}, {"Comment", true}, {"Action", true}, {"Attribute", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CSymbol* prototype = nullptr;
        ASSERT_TRUE(FindMetaclass(c.key, prototype));
        SymbolT row;
        row.ID = 8;
        row.Type = c.key;
        row.Text = "x";
        row.tx2 = row.ty2 = 500;
        controller->BeginTextEdit(2, POINT{0, 0}, row, view->Dc(), prototype);
        EXPECT_EQ(view->Editor().GetWantReturn() != FALSE, c.wantReturn);
        EXPECT_EQ(view->EditorKey(VK_RETURN), !c.wantReturn) << "the view ends the edit on Enter";
        controller->CommitTextEdit(nullptr);
    }
}

} // namespace
