#include "Platform/Object.h"

#include <gtest/gtest.h>

namespace {

class Shape : public CObject {
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, CObject)

class Box : public Shape {
    DECLARE_DYNCREATE(Box)
public:
    int side = 7;
};
IMPLEMENT_DYNCREATE(Box, Shape)

class Line : public Shape {
    DECLARE_DYNCREATE(Line)
};
IMPLEMENT_DYNCREATE(Line, Shape)

TEST(RuntimeClass, KindFollowsTheClassChain)
{
    Box box;
    const CObject& o = box;
    EXPECT_TRUE(o.IsKindOf(RUNTIME_CLASS(Box)));
    EXPECT_TRUE(o.IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(o.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(o.IsKindOf(RUNTIME_CLASS(Line)));
    EXPECT_STREQ("Box", o.GetRuntimeClass()->m_lpszClassName);
}

TEST(RuntimeClass, DynamicCreationMakesTheNamedClass)
{
    CObject* made = RUNTIME_CLASS(Box)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(Box)));
    EXPECT_EQ(7, DYNAMIC_DOWNCAST(Box, made)->side);
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(Line, made));
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(Shape)->CreateObject());
}

} // namespace
