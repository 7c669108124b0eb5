#include "UML/Model/StereotypeValues.h"

#include "ModelFixture.h"

#include <gtest/gtest.h>

namespace {

class StereotypeValues : public ModelRows {
protected:
    static int Rows(dbTableInfo* table, int owner)
    {
        dbRecordCursor c(table);
        return c.SelectByKey("OID", owner);
    }
    static void Value(int owner, const char* tag, const char* value)
    {
        StereotypeT row{owner, tag, value};
        theModelDb.InsertRecord(&StereotypeT::TableInfo, &row);
    }
};

TEST_F(StereotypeValues, DeletingRemovesLinksAndValuesUndoably)
{
    struct Case {
        int owner;
        bool linked;
    } const cases[] = {
        {7, true},
        {-7, true},
        // The grid sets a stereotype without a link row: the values still go.
        {8, false},
    };
    for (const Case& c : cases) {
        if (c.linked)
            LinkElementStereotype(c.owner, "S1");
        LinkElementStereotype(c.owner, "");
        Value(c.owner, "T1", "a");
        Value(c.owner, "T2", "b");
        Value(c.owner + 100, "T1", "other owner");
        EXPECT_EQ(Rows(&StereotypeObj::TableInfo, c.owner), c.linked ? 1 : 0);
        UndoLog::NewGroup();
        DeleteStereotypeValues(c.owner);
        EXPECT_EQ(Rows(&StereotypeObj::TableInfo, c.owner), 0) << c.owner;
        EXPECT_EQ(Rows(&StereotypeT::TableInfo, c.owner), 0) << c.owner;
        EXPECT_EQ(Rows(&StereotypeT::TableInfo, c.owner + 100), 1) << c.owner;
        ASSERT_EQ(UndoLog::Undo(), 1);
        EXPECT_EQ(Rows(&StereotypeT::TableInfo, c.owner), 2) << c.owner;
        EXPECT_EQ(Rows(&StereotypeObj::TableInfo, c.owner), c.linked ? 1 : 0);
    }
}

} // namespace
