#include "UML/Model/Symbol.h"

#include "HookRecorder.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "ModelRows.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CSymbol* Prototype(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p;
}

void AddSymbol(int id, int fid, const char* type, const char* sguid, const char* guid, int msc = MSC_RECTANGLE,
               const char* src = "", const char* dest = "")
{
    InsertSymbol({1, id, fid, type, sguid, guid, RECT{0, 0, 0, 0}, msc, 0, src, dest});
}

std::string UseOf(int id)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("ID", id) > 0 && c->Use ? c->Use : "";
}

TEST(SymbolRecords, NewRowsTakeTheirNumbersTypesAndEnds)
{
    HitSymbol box;
    box.rec.ID = 77;
    SafeStrCopy(box.sguid, "BOXSGUID", sizeof box.sguid);
    HitSymbol other;
    SafeStrCopy(other.sguid, "OTHERSGUID", sizeof other.sguid);
    struct Case {
        const char* key;
        const char* model;
        int fid, mmc;
        const char* src;
        const char* dest;
    } const cases[] = {
        {"Class", nullptr, 77, MMC_CLASS, nullptr, nullptr},
        {"Association", nullptr, 0, MMC_ATTRIBUTE, "BOXSGUID", "OTHERSGUID"},
        // A Model naming a registered metaclass lends its category.
        {"Initial", "Attribute", 77, MMC_ATTRIBUTE, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CSymbol* p = Prototype(c.key);
        const int before = theNextSymbolId;
        SymbolT row;
        row.Model = c.model;
        p->FillSymbolRecord(row, 1, 2, 3, 4, 9, "text", "G", "S", &box.rec, &other.rec);
        EXPECT_EQ(row.ID, before + 1);
        EXPECT_EQ(row.FID, c.fid);
        EXPECT_EQ(row.MMC, c.mmc);
        EXPECT_EQ(row.ItemState, SYMBOL_AUTOLAYOUT);
        EXPECT_STREQ(row.Type, p->symbolName);
        EXPECT_STREQ(row.SrcID, c.src);
        EXPECT_STREQ(row.DestID, c.dest);
        EXPECT_EQ(row.x2 + row.y2 + row.PID, 3 + 4 + 9);
    }

    HookRecorder hooks;
    const int first = Prototype("Class")->CreateElement(0, "A", "REC-GUID-A", nullptr);
    const int second = Prototype("Attribute")->CreateElement(first, "b", "REC-GUID-B", "REC-GUID-A");
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(hooks.Has("insert " + std::to_string(second) + " " + std::to_string(first)));
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("ID", second), 0);
    EXPECT_EQ(c->SN, second);
    EXPECT_STREQ(c->Type, "Attribute");
    EXPECT_STREQ(c->Use, "REC-GUID-A");
    EXPECT_EQ(c->MMC, MMC_ATTRIBUTE);
}

TEST(SymbolRecords, DeletingAnElementTakesItsTree)
{
    HookRecorder hooks;
    // Class 5001 with a child attribute, an element using it elsewhere, two
    // symbols of it and a line from one of them.
    InsertElement(5001, 0, "Class", "DEL-C");
    InsertElement(5002, 5001, "Attribute", "DEL-A", MMC_ATTRIBUTE);
    InsertElement(5003, 0, "Attribute", "DEL-U", MMC_ATTRIBUTE, 0, "DEL-C");
    AddSymbol(5001, 0, "Class", "DEL-S1", "DEL-C");
    AddSymbol(5002, 0, "Class", "DEL-S2", "DEL-C");
    AddSymbol(5003, 0, "Association", "DEL-L", "", MSC_LINE, "DEL-S1", "DEL-S9");
    UndoLog::NewGroup();
    EXPECT_EQ(DeleteElementTree(5001, false), 4); // two symbols, the child, the class
    EXPECT_FALSE(ElementExists(5001));
    EXPECT_FALSE(ElementExists(5002));
    EXPECT_FALSE(SymbolExists(5002));
    EXPECT_FALSE(SymbolExists(5003)) << "the line goes with its end";
    EXPECT_TRUE(ElementExists(5003));
    EXPECT_EQ(UseOf(5003), "");
    EXPECT_TRUE(hooks.Has("mark 0 1"));
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(UseOf(5003), "DEL-C");
    EXPECT_TRUE(SymbolExists(5003));
}

TEST(SymbolRecords, DeletionRefusalsAndMends)
{
    HookRecorder hooks;
    InsertElement(5101, 0, "Class", "FIX-C", MMC_CLASS, ITEM_FIXED);
    EXPECT_EQ(DeleteElementTree(5101, false), 0);
    EXPECT_TRUE(ElementExists(5101));
    EXPECT_EQ(DeleteElementTree(5101, true), 1);
    EXPECT_FALSE(hooks.Has("mark 0 1")) << "a forced deletion marks no unit";
    EXPECT_EQ(DeleteElementTree(5199, false), 0);
    InsertElement(5102, 0, "Initial", "NONE-C", MMC_NONE);
    EXPECT_EQ(DeleteElementTree(5102, false), 0);

    // An element without a GUID shows no symbol: symbols without an element
    // and elements without a reference stay.
    InsertElement(5103, 0, "Class", "");
    AddSymbol(5103, 0, "Initial", "NOGUID-S", "");
    InsertElement(5104, 0, "Attribute", "NOGUID-U", MMC_ATTRIBUTE, 0, "");
    EXPECT_EQ(DeleteElementTree(5103, false), 1);
    EXPECT_TRUE(SymbolExists(5103));
    EXPECT_TRUE(ElementExists(5104));

    // An owner loop ends.
    InsertElement(5105, 5106, "Class", "LOOP-A");
    InsertElement(5106, 5105, "Class", "LOOP-B");
    EXPECT_EQ(DeleteElementTree(5105, false), 2);
}

TEST(SymbolRecords, ThePasteOwnerMapKeepsTheChosenTarget)
{
    PasteIdMap map(40);
    struct Step {
        int oldId, newId, owner;
    } const steps[] = {{7, 100, 40}, {8, 101, 40}, {7, 102, 40}, {7, 103, 102}};
    // A repeated old ID finds its own pair on top and owns the next row.
    for (const Step& s : steps)
        EXPECT_EQ(RemapPastedId(map, s.oldId, s.newId), s.owner) << s.oldId << "->" << s.newId;
    EXPECT_EQ(map.pairs.front(), std::make_pair(-1, 40));
}

} // namespace
