// The colour editor's buffer coloured through the finder the registry installs.
#include "Controls/EditLineBuffer.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorColouring, TheRegistryFinderReachesThePrototypesMakeSyntax)
{
    BuildSymbolRegistry();
    CEditLineBuffer buffer;
    SymbolT row;
    row.Type = "Class";
    buffer.SetSyntaxContext(row);
    ASSERT_TRUE(buffer.HasSyntaxContext());
    buffer.SetJoinedText("Customer");
    buffer.SetColourKey(0);
    ASSERT_TRUE(buffer.Colourize());
    EXPECT_STREQ(buffer.GetRunText(), "0000000"); // the base colours the whole text black

    // The copy survives the next producer's use of the shared writer.
    theSyntaxWriter.Reset();
    theSyntaxWriter.AddRun(3, RGB(255, 0, 0));
    EXPECT_STREQ(buffer.GetRunText(), "0000000");

    SymbolT unknown;
    unknown.Type = "NoSuchMetaclass";
    buffer.SetSyntaxContext(unknown);
    EXPECT_FALSE(buffer.HasSyntaxContext());
}

} // namespace
