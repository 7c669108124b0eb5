#include "UML/Model/TypeResolution.h"

#include "TypeModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class TypeResolution : public TypeModel {
protected:
    std::set<std::string> Names(int scope, int category, const char* name)
    {
        TypeMatchList list;
        ResolveTypeName(scope, category, nullptr, name, &list);
        std::set<std::string> names;
        for (const TypeMatch& m : list)
            names.insert(m.name);
        return names;
    }
};

TEST_F(TypeResolution, FindsNamesAlongEveryRoad)
{
    struct Case {
        const char* road;
        int scope;
        int category;
        const char* name;
        bool found;
    } const cases[] = {
        {"own member", shape, 0, "area", true},
        {"own private member", shape, 0, "secret", true},
        {"inherited public", circle, 0, "area", true},
        {"inherited protected", circle, 0, "kept", true},
        {"privately realized: public only", hidden, 0, "area", true},
        {"privately realized: protected hidden", hidden, 0, "kept", false},
        {"port's realized interface", widget, 0, "draw", true},
        {"outer scope", shape, 1, "Circle", true},
        {"outer scope, two levels", area, 1, "Widget", true},
        {"enumeration literal of the scope", geo, 0, "Red", true},
        {"import", a, 0, "InD", true},
        {"import of import", a, 1, "InD", true},
        {"access of an import is not transitive", a, 0, "InC", false},
        {"direct access", b, 0, "InC", true},
        {"import shows public members only", b, 0, "PrivateInD", false},
        {"library", shape, 1, "Vector", true},
        {"predefined", area, 1, "Integer", true},
        {"category filters", shape, 2, "area", false},
        {"nowhere", shape, 0, "Nothing", false},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ResolveTypeName(k.scope, k.category, nullptr, k.name, nullptr), k.found) << k.road;
        TypeMatchList list;
        EXPECT_EQ(ResolveTypeName(k.scope, k.category, nullptr, k.name, &list), k.found) << k.road;
        EXPECT_EQ(!list.empty(), k.found) << k.road;
        for (const TypeMatch& m : list)
            EXPECT_STREQ(m.name, k.name) << k.road;
    }
    EXPECT_TRUE(ResolveTypeName(shape, 0, "Attribute", "area", nullptr));
    EXPECT_FALSE(ResolveTypeName(shape, 1, "Operation", "area", nullptr));
}

TEST_F(TypeResolution, AMatchCopiesTheRow)
{
    TypeMatchList list;
    ASSERT_TRUE(ResolveTypeName(shape, 0, nullptr, "area", &list));
    const TypeMatch& m = list.front();
    EXPECT_EQ(m.id, area);
    EXPECT_EQ(m.owner, shape);
    EXPECT_EQ(m.mmc, MMC_ATTRIBUTE);
    EXPECT_EQ(std::string(m.guid), Guid(area));
    EXPECT_EQ(std::string(m.use), Guid(Id("Integer")));
}

TEST_F(TypeResolution, ClassifierListsGatherEveryStep)
{
    const std::set<std::string> names = Names(shape, 1, "");
    for (const char* n : {"Shape", "Circle", "Hidden", "Colour", "Widget", "Vector", "Integer", "String"})
        EXPECT_EQ(names.count(n), 1u) << n;
    EXPECT_EQ(names.count("area"), 0u);
}

TEST_F(TypeResolution, CyclesOfImportsRealizationsAndOwnersEnd)
{
    const int x = Add(project, "Package", "X");
    const int y = Add(project, "Package", "Y");
    Import(x, y, importStereotype);
    Import(y, x, importStereotype);
    Add(y, "Class", "InY", "", VISIBILITY_PUBLIC);
    EXPECT_TRUE(ResolveTypeName(x, 0, nullptr, "InY", nullptr));
    EXPECT_FALSE(ResolveTypeName(x, 0, nullptr, "Nothing", nullptr));

    const int p = Add(geo, "Class", "P");
    const int q = Add(geo, "Class", "Q");
    Add(p, "Realization", "", Guid(q), VISIBILITY_PUBLIC);
    Add(q, "Realization", "", Guid(p), VISIBILITY_PUBLIC);
    Add(q, "Realized", "", Guid(p));
    EXPECT_FALSE(ResolveTypeName(p, 0, nullptr, "Nothing", nullptr));
    EXPECT_TRUE(IsKindOfNamed(Guid(p).c_str(), "Q"));
    EXPECT_FALSE(IsKindOfNamed(Guid(p).c_str(), "Nothing"));
    EXPECT_TRUE(IsKindOfNamed(Guid(circle).c_str(), "Shape"));
    EXPECT_FALSE(IsKindOfNamed(Guid(shape).c_str(), "Circle"));
    EXPECT_FALSE(IsKindOfNamed("", "Shape"));

    // Two elements owning each other, outside the project.
    const int l1 = Add(0, "Package", "L1");
    const int l2 = Add(l1, "Package", "L2");
    ModelT loop = Element(l1);
    loop.FID = l2;
    theModelDb.UpdateRecord(ElementOid(l1), &ModelT::TableInfo, &loop);
    TypeMatchList list;
    EXPECT_FALSE(ResolveTypeName(l2, 0, nullptr, "Nothing", &list));
    EXPECT_TRUE(ResolveTypeName(l2, 0, nullptr, "L2", nullptr));
}

TEST_F(TypeResolution, ListsStopGrowingPastTheCap)
{
    const int many = Add(project, "Package", "Many");
    for (int i = 0; i < 600; ++i)
        Add(many, "Class", ("K" + std::to_string(i)).c_str());
    TypeMatchList list;
    EXPECT_TRUE(FindScopeMembers(many, 1, nullptr, "", 0, &list));
    EXPECT_EQ(list.size(), MaxTypeMatches + 1);
    list.clear();
    EXPECT_TRUE(ResolveTypeName(many, 1, nullptr, "", &list));
    EXPECT_EQ(list.size(), MaxTypeMatches + 1);
}

TEST_F(TypeResolution, ImportStereotypesOfAnEarlierProjectAreForgotten)
{
    EXPECT_TRUE(ResolveTypeName(a, 0, nullptr, "InD", nullptr));
    // A new project whose stereotypes have other identifiers.
    firstId = 1000;
    SetUp();
    EXPECT_TRUE(ResolveTypeName(a, 0, nullptr, "InD", nullptr));
}

TEST_F(TypeResolution, ElementIdsByGuid)
{
    EXPECT_EQ(FindElementIdByGuid(Guid(shape).c_str()), shape);
    EXPECT_EQ(FindElementIdByGuid("missing"), 0);
    EXPECT_EQ(FindElementIdByGuid(""), 0);
    EXPECT_EQ(FindElementIdByGuid(nullptr), 0);
}

} // namespace
