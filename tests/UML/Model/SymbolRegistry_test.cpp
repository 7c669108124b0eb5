#include "UML/Model/SymbolRegistry.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "ModelEnvironment.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/Symbol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct RuleRow {
    std::string parent, name, model, symbol;
    int in, out;
};

std::vector<RuleRow> Rules()
{
    std::vector<RuleRow> rows;
    dbQueryText q;
    q.Append(dbFragText, "order by ID");
    dbTypedCursor<MetaEle> c(&MetaEle::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back({c->Parent, c->Name, c->Model, c->Symbol, c->In, c->Out});
        while (c.Next());
    return rows;
}

CSymbol* Prototype(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p;
}

TEST(SymbolRegistry, ReadsTheMetamodelOnceAndRefusesAMissingFile)
{
    EXPECT_TRUE(ModelEnvironment::missingFileRefused);
    EXPECT_TRUE(ModelEnvironment::loaded);
    const std::vector<std::string> expected = {"Class", "Activitydiagram", "Actor", "Activity", "Dependency",
                                               "Association", "Attribute", "Class"};
    EXPECT_EQ(GetMetaclassNames(), expected);
}

TEST(SymbolRegistry, RefusesAFileItCouldNotReadToItsEnd)
{
    ASSERT_EQ(ModelEnvironment::earlyAccepted.size(), std::size(kEarlyMetamodels));
    for (size_t i = 0; i < std::size(kEarlyMetamodels); ++i)
        EXPECT_EQ(ModelEnvironment::earlyAccepted[i], kEarlyMetamodels[i].accepted) << kEarlyMetamodels[i].what;
}

TEST(SymbolRegistry, PaletteIndexesCountFromOne)
{
    const int n = static_cast<int>(GetMetaclassNames().size());
    for (int i = 1; i <= n; ++i) {
        CSymbol* p = nullptr;
        ASSERT_TRUE(FindMetaclassByIndex(i, p)) << i;
        CSymbol* byName = Prototype(GetMetaclassNames()[size_t(i - 1)].c_str());
        EXPECT_EQ(p, byName) << i;
    }
    for (int bad : {0, -1, n + 1}) {
        CSymbol* p = Prototype("Actor");
        EXPECT_FALSE(FindMetaclassByIndex(bad, p)) << bad;
        EXPECT_EQ(p, nullptr);
    }
}

TEST(SymbolRegistry, MetaclassAttributes)
{
    struct Case {
        const char* key;
        int metaIndex;
        const char* model;
        const char* symbol;
        const char* stereotype;
        const char* help;
        int fileUnit;
    } const cases[] = {
        // The second Class element renames it anew and takes the later index.
        {"Class", 7, "Class", "Class", "", "/Second.htm", 0},
        {"Activitydiagram", 1, "Activitydiagram", "Activitydiagram", "", "", 0},
        {"Actor", 2, "Actor", "Actor", "person", "", 1},
        {"Interface", -1, "", "", "", "", 0},
    };
    for (const auto& c : cases) {
        CSymbol* p = Prototype(c.key);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->metaIndex, c.metaIndex) << c.key;
        EXPECT_STREQ(p->modelName, c.model) << c.key;
        EXPECT_STREQ(p->symbolName, c.symbol) << c.key;
        EXPECT_STREQ(p->defaultStereotype, c.stereotype) << c.key;
        EXPECT_STREQ(p->helpTopic, c.help) << c.key;
        EXPECT_EQ(p->fileUnit, c.fileUnit) << c.key;
    }
    // The icon goes into the list under the palette command, named by the key
    // since img stands before symbol; a missing file leaves the index at -1.
    EXPECT_EQ(Prototype("Class")->iconIndex, 0); // kept by the second element, which has no img
    EXPECT_EQ(Prototype("Activitydiagram")->iconIndex, -1);
    ASSERT_EQ(ModelEnvironment::icons.GetCount(), 1);
    CommandImageInfo info{};
    ASSERT_TRUE(ModelEnvironment::icons.Lookup(2024, info));
    EXPECT_EQ(info.image, 0);
    EXPECT_STREQ(info.name, "Class");
    EXPECT_EQ(info.mask, COLORREF(0xFFFFFF));
    EXPECT_FALSE(ModelEnvironment::icons.Lookup(2025, info));
}

TEST(SymbolRegistry, RulesKeepTheirParentEvenUnderAMisspeltKey)
{
    const std::vector<RuleRow> rules = Rules();
    const std::vector<RuleRow> expected = {
        {"Class", "Attribute", "Attribute", "Attribute", -1, -1},
        {"Class", "Dependency", "Dependency", "Dependency", 0, -1},
        {"Class", "Association", "Association", "Association", -1, 2},
        {"Clas", "Operation", "Operation", "Operation", -1, -1},
        {"Activitydiagram", "Class", "", "Class", -1, -1},
        {"Activitydiagram", "Page", "Page", "", -1, -1},
    };
    ASSERT_EQ(rules.size(), expected.size());
    for (size_t i = 0; i < rules.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rules[i].parent, expected[i].parent);
        EXPECT_EQ(rules[i].name, expected[i].name);
        EXPECT_EQ(rules[i].model, expected[i].model);
        EXPECT_EQ(rules[i].symbol, expected[i].symbol);
        EXPECT_EQ(rules[i].in, expected[i].in);
        EXPECT_EQ(rules[i].out, expected[i].out);
    }
}

TEST(SymbolRegistry, LookupsAndSorting)
{
    CSymbol* p = Prototype("Class");
    EXPECT_FALSE(FindMetaclass("", p));
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(FindMetaclass(nullptr, p));
    EXPECT_FALSE(FindMetaclass("class", p)); // keys keep their case
    EXPECT_FALSE(FindMetaclass("Clas", p));

    // Keys sharing a class still get an object each.
    EXPECT_NE(Prototype("Initial"), Prototype("Start"));
    EXPECT_EQ(Prototype("Timestate")->mmc, MMC_COMMENT);
    EXPECT_EQ(Prototype("Page")->msc, static_cast<int8_t>(MSC_NONE));
    EXPECT_EQ(Prototype("Usecase")->secondExtensionTable, &ModelUsecase::TableInfo);

    const std::vector<CSymbol*>& sorted = GetSortedMetaclasses();
    std::vector<std::string> keys;
    for (CSymbol* s : sorted)
        keys.push_back(s->metaName);
    const std::vector<std::string> expected = {"Activity", "Activitydiagram", "Actor", "Association",
                                               "Attribute", "Class", "Class", "Dependency"};
    EXPECT_EQ(keys, expected);
}

TEST(SymbolRegistry, ControllersBindTheirKindPrototype)
{
    struct Case {
        const char* kind;
        const char* prototype;
    } const cases[] = {
        {"Classdiagram", "Classdiagram"},
        {"Sequencediagram", "Sequencediagram"},
        {"Anatomydiagram", "Packagediagram"},
    };
    for (const auto& c : cases) {
        CDiagramController* controller = nullptr;
        ASSERT_TRUE(FindDiagramController(c.kind, controller)) << c.kind;
        EXPECT_EQ(controller->KindPrototype, Prototype(c.prototype)) << c.kind;
    }
    CDiagramController* anatomy = nullptr;
    CDiagramController* package = nullptr;
    FindDiagramController("Anatomydiagram", anatomy);
    FindDiagramController("Packagediagram", package);
    EXPECT_NE(anatomy, package);
    CDiagramController* none = anatomy;
    EXPECT_FALSE(FindDiagramController("Class", none));
    EXPECT_EQ(none, nullptr);
}

class RuleTests : public ::testing::Test {
protected:
    static int AddElement(int id, const char* type)
    {
        ModelT e;
        e.ID = e.SN = id;
        e.Type = type;
        e.Name = type;
        theModelDb.InsertRecord(&ModelT::TableInfo, &e);
        return id;
    }
    static void AddLine(const char* type, const char* src, const char* dest)
    {
        SymbolT s;
        s.ID = ++theNextSymbolId;
        s.Type = type;
        s.SrcID = src;
        s.DestID = dest;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
};

TEST_F(RuleTests, OwnershipFollowsTheModelNames)
{
    const int owner = AddElement(9001, "Class");
    const int diagram = AddElement(9002, "Activitydiagram");
    struct Case {
        const char* child;
        int owner;
        bool allowed;
    } const cases[] = {
        {"Attribute", owner, true},  {"Dependency", owner, true}, {"Actor", owner, false},
        {"Attribute", 987654, false}, // no such owner
        {"Class", diagram, false},    // a placement rule owns nothing
        // Page is not in this metamodel, so its model name is empty; that must
        // not match the empty Model of the diagram's Class placement rule.
        {"Page", diagram, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Prototype(c.child)->CanBeChildOf(c.owner), c.allowed) << c.child << " in " << c.owner;
}

TEST_F(RuleTests, LineEndsWithinTheirLimits)
{
    SymbolT target;
    target.Type = "Class";
    target.SGUID = "TargetSymbol0000000000";
    CSymbol* dependency = Prototype("Dependency");
    CSymbol* association = Prototype("Association");
    EXPECT_TRUE(dependency->CanConnect(target, true));
    EXPECT_FALSE(dependency->CanConnect(target, false)); // in="0"

    // out="2": fewer than two existing lines may start here.
    EXPECT_TRUE(association->CanConnect(target, true));
    AddLine("Association", target.SGUID, "Other0000000000000000");
    EXPECT_TRUE(association->CanConnect(target, true));
    AddLine("Association", target.SGUID, "Other0000000000000001");
    EXPECT_FALSE(association->CanConnect(target, true));
    AddLine("Association", "Other0000000000000002", target.SGUID);
    EXPECT_TRUE(association->CanConnect(target, false));

    SymbolT actor;
    actor.Type = "Actor";
    actor.SGUID = "ActorSymbol00000000000";
    EXPECT_FALSE(dependency->CanConnect(actor, true));
    EXPECT_FALSE(dependency->CanConnect(actor, false));

    // A line kind missing from the metamodel has an empty symbol name, which
    // must not match the empty Symbol of an ownership-only rule.
    SymbolT diagram;
    diagram.Type = "Activitydiagram";
    diagram.SGUID = "DiagramSymbol000000000";
    EXPECT_FALSE(Prototype("Connector")->CanConnect(diagram, true));
    EXPECT_FALSE(Prototype("Connector")->CanConnect(diagram, false));
}

} // namespace
