#include "UML/Model/PlacementTool.h"

#include "ModelEnvironment.h"
#include "UML/Model/Symbol.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int IndexOf(const char* key)
{
    CSymbol* p = nullptr;
    return FindMetaclass(key, p) ? p->metaIndex + 1 : 0;
}

// Each row: an event, then the mode, kind, dragged element and name it leaves.
TEST(PlacementTool, StatesFollowTheEvents)
{
    const int classIndex = IndexOf("Class"), lineIndex = IndexOf("Association");
    ASSERT_GT(classIndex, 0);
    ASSERT_GT(lineIndex, 0);
    enum Event { Select, Drag, Advance, Reset };
    struct Case {
        Event event;
        int argument;
        const char* metaclass;
        int mode, kind, dragged;
        const char* name;
    } const cases[] = {
        {Select, classIndex, nullptr, PlacementTool::NodeKind, classIndex, 0, "Class"},
        {Advance, 0, nullptr, PlacementTool::None, 0, 0, ""},
        {Select, lineIndex, nullptr, PlacementTool::LineKind, lineIndex, 0, "Association"},
        {Advance, 0, nullptr, PlacementTool::LineStarted, lineIndex, 0, "Association"},
        {Advance, 0, nullptr, PlacementTool::None, 0, 0, ""},
        {Select, 9999, nullptr, PlacementTool::None, 0, 0, ""},
        {Select, 0, nullptr, PlacementTool::None, 0, 0, ""},
        {Drag, 42, "Class", PlacementTool::Dragging, 0, 42, "Class"},
        {Select, lineIndex, nullptr, PlacementTool::LineKind, lineIndex, 0, "Association"},
        {Drag, 42, "Nothing", PlacementTool::None, 0, 0, ""},
        {Drag, 7, "Attribute", PlacementTool::Dragging, 0, 7, "Attribute"},
        {Reset, 0, nullptr, PlacementTool::None, 0, 0, ""},
    };
    PlacementTool::Reset();
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        switch (c.event) {
        case Select:
            PlacementTool::SelectKind(c.argument);
            break;
        case Drag:
            PlacementTool::BeginDrag(c.argument, c.metaclass);
            break;
        case Advance:
            PlacementTool::Advance();
            break;
        case Reset:
            PlacementTool::Reset();
            break;
        }
        EXPECT_EQ(PlacementTool::GetMode(), c.mode);
        EXPECT_EQ(PlacementTool::GetKind(), c.kind);
        EXPECT_EQ(PlacementTool::GetDraggedElement(), c.dragged);
        EXPECT_STREQ(PlacementTool::GetMetaclassName(), c.name);
    }
    // The rules name what may go where: Class owns Attribute rules.
    PlacementTool::BeginDrag(7, "Attribute");
    EXPECT_TRUE(PlacementTool::IsAllowedIn("Class"));
    EXPECT_FALSE(PlacementTool::IsAllowedIn("Actor"));
    PlacementTool::Reset();
    EXPECT_FALSE(PlacementTool::IsAllowedIn("Class"));
}

} // namespace
