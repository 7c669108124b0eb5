#include "UML/Model/PropertyRows.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeCheckBoxItem.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "HookRecorder.h"
#include "TypeModel.h"
#include "UML/Model/StereotypeRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A grid in an owner window, as the property pane holds it.
struct Grid {
    CWnd owner;
    COptionTree tree;
    Grid()
    {
        EXPECT_TRUE(owner.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
        EXPECT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &owner, 0, 1, 90));
    }
};

std::vector<COptionTreeItem*> Children(COptionTreeItem* parent)
{
    std::vector<COptionTreeItem*> rows;
    for (COptionTreeItem* r = parent ? parent->GetFirstChild() : nullptr; r; r = r->GetNextSibling())
        rows.push_back(r);
    return rows;
}

std::vector<std::string> Entries(COptionTreeItem* row)
{
    auto* combo = dynamic_cast<COptionTreeComboBoxItem*>(row);
    std::vector<std::string> entries;
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        CString text;
        combo->GetLBText(i, text);
        entries.push_back(text.GetString());
    }
    return entries;
}

std::string Selected(COptionTreeItem* row)
{
    auto* combo = dynamic_cast<COptionTreeComboBoxItem*>(row);
    if (!combo || combo->GetCurSel() < 0)
        return "(none)";
    CString text;
    combo->GetLBText(combo->GetCurSel(), text);
    return text.GetString();
}

COptionTreeComboBoxItem* Combo(COptionTreeItem* row)
{
    return dynamic_cast<COptionTreeComboBoxItem*>(row);
}

// A stereotype «entity» of classes with the tags id and table, and a second
// one, «boundary», with the tag screen.
class PropertyRows : public TypeModel {
protected:
    void SetUp() override
    {
        TypeModel::SetUp();
        thePropertyExpandBits = 0;
        entity = Add(predefined, "Stereotype", "entity", "Class");
        tagTable = Add(entity, "Attribute", "table");
        tagId = Add(entity, "Attribute", "id");
        ModelT first = Element(tagId);
        first.SN = 1;
        theModelDb.UpdateRecord(ElementOid(tagId), &ModelT::TableInfo, &first);
        boundary = Add(predefined, "Stereotype", "boundary", "Class");
        tagScreen = Add(boundary, "Attribute", "screen");
        Add(predefined, "Stereotype", "actorOnly", "Actor");
    }
    static std::string Value(int owner, int tag)
    {
        dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
        if (c.SelectByKey("OID", owner) > 0)
            do
                if (Guid(tag) == c->SSGUID)
                    return c->Value;
            while (c.Next());
        return "(none)";
    }
    static void SetValue(int owner, int tag, const char* value)
    {
        const std::string guid = Guid(tag);
        StereotypeT row{owner, guid.c_str(), value};
        theModelDb.InsertRecord(&StereotypeT::TableInfo, &row);
    }
    static int Links(int owner)
    {
        dbTypedCursor<StereotypeObj> c(&StereotypeObj::TableInfo);
        return c.SelectByKey("OID", owner);
    }
    int entity = 0, tagTable = 0, tagId = 0, boundary = 0, tagScreen = 0;
};

TEST_F(PropertyRows, ElementRowsEditAndApplyByColumnName)
{
    const int order = Add(geo, "Class", "Order", "", VISIBILITY_PACKAGE, Guid(entity).c_str());
    SetValue(order, tagId, "42");
    Grid g;
    ModelT e = Element(order);
    COptionTreeItem* category = Prototype("Class")->AddElementProperties(e, false, &g.tree);
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(std::string(category->GetLabelText()), "Base properties");
    const std::vector<COptionTreeItem*> rows = Children(category);
    ASSERT_EQ(rows.size(), 4u); // Class is not kept in units of its own
    struct Row {
        const char* label;
        const char* key;
        bool readOnly;
    } const expected[] = {
        {"Name", "Name", false}, {"Type", "Type", true}, {"Stereotype", "Stereotype", false},
        {"Visibility", "Visibility", false}};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::string(rows[i]->GetLabelText()), expected[i].label);
        EXPECT_STREQ(rows[i]->GetKey(), expected[i].key);
        EXPECT_EQ(bool(rows[i]->IsReadOnly()), expected[i].readOnly) << expected[i].label;
    }
    EXPECT_STREQ(rows[0]->GetValueText(), "Order");
    EXPECT_STREQ(rows[1]->GetValueText(), "Class");
    EXPECT_EQ(Entries(rows[2]), (std::vector<std::string>{"", "boundary", "entity"}));
    EXPECT_EQ(Selected(rows[2]), "entity");
    EXPECT_EQ(Selected(rows[3]), "package");
    // The value rows of the tags, in SN order, keyed by the tags' GUIDs.
    const std::vector<COptionTreeItem*> values = Children(rows[2]);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(std::string(values[0]->GetLabelText()), "id");
    EXPECT_STREQ(values[0]->GetKey(), Guid(tagId).c_str());
    EXPECT_STREQ(values[0]->GetValueText(), "42");
    EXPECT_STREQ(values[1]->GetValueText(), "");

    dynamic_cast<COptionTreeEditItem*>(rows[0])->SetWindowText("Invoice");
    dynamic_cast<COptionTreeEditItem*>(rows[1])->SetWindowText("Package");
    Combo(rows[3])->SetCurSel(VISIBILITY_PUBLIC);
    UndoLog::NewGroup();
    EXPECT_EQ(Prototype("Class")->ApplyElementProperties(ElementOid(order), e, g.tree.GetRootItem()), 1);
    EXPECT_STREQ(Element(order).Name, "Invoice");
    EXPECT_STREQ(Element(order).Type, "Class");
    EXPECT_EQ(Element(order).Visibility, VISIBILITY_PUBLIC);
    EXPECT_EQ(Element(order).Stereotype, Guid(entity));

    // Nothing selected leaves a field alone.
    Combo(rows[3])->SetCurSel(-1);
    Combo(rows[2])->SetCurSel(-1);
    e = Element(order);
    EXPECT_EQ(Prototype("Class")->ApplyElementProperties(ElementOid(order), e, g.tree.GetRootItem()), 0);
    EXPECT_EQ(Element(order).Visibility, VISIBILITY_PUBLIC);
    EXPECT_EQ(Element(order).Stereotype, Guid(entity));

    Grid empty;
    EXPECT_EQ(Prototype("Class")->ApplyElementProperties(ElementOid(order), e, empty.tree.GetRootItem()), 0);
}

TEST_F(PropertyRows, ValueRowsUpdateInsertAndKeepEmptiedValues)
{
    const int order = Add(geo, "Class", "Order", "", 0, Guid(entity).c_str());
    SetValue(order, tagId, "42");
    Grid g;
    COptionTreeItem* category = AddCategoryRow(&g.tree, "Base properties", PROPERTY_BASE);
    COptionTreeItem* chooser = AddStereotypeRow(category, &g.tree, "Class", order, Guid(entity).c_str(), false);
    std::vector<COptionTreeItem*> values = Children(chooser);
    ASSERT_EQ(values.size(), 2u);
    UndoLog::NewGroup();
    EXPECT_FALSE(ApplyStereotypeRows(order, chooser));
    dynamic_cast<COptionTreeEditItem*>(values[0])->SetWindowText("43");
    dynamic_cast<COptionTreeEditItem*>(values[1])->SetWindowText("orders");
    EXPECT_TRUE(ApplyStereotypeRows(order, chooser));
    EXPECT_EQ(Value(order, tagId), "43");
    EXPECT_EQ(Value(order, tagTable), "orders");
    dynamic_cast<COptionTreeEditItem*>(values[0])->SetWindowText("");
    EXPECT_TRUE(ApplyStereotypeRows(order, chooser));
    EXPECT_EQ(Value(order, tagId), "");
    // Undone as one gesture: the first value back, the inserted one gone.
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(Value(order, tagId), "42");
    EXPECT_EQ(Value(order, tagTable), "(none)");

    thePropertyExpandBits = PROPERTY_STEREOTYPE;
    Grid readOnly;
    category = AddCategoryRow(&readOnly.tree, "Base properties", PROPERTY_BASE);
    chooser = AddStereotypeRow(category, &readOnly.tree, "Class", order, Guid(entity).c_str(), true);
    EXPECT_TRUE(chooser->IsExpanded());
    values = Children(chooser);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_TRUE(values[0]->IsReadOnly());
    dynamic_cast<COptionTreeEditItem*>(values[0])->SetWindowText("99");
    EXPECT_FALSE(ApplyStereotypeRows(order, chooser));
    EXPECT_EQ(Value(order, tagId), "42");
}

TEST_F(PropertyRows, ReadOnlyElementsAndTheFileRow)
{
    const int clerk = Add(geo, "Actor", "Clerk", "", 0, "GONE");
    ModelT e = Element(clerk);
    e.File = "units/clerk.uml";
    Grid g;
    COptionTreeItem* category = Prototype("Actor")->AddElementProperties(e, true, &g.tree);
    const std::vector<COptionTreeItem*> rows = Children(category);
    ASSERT_EQ(rows.size(), 5u);
    for (COptionTreeItem* row : rows)
        EXPECT_TRUE(row->IsReadOnly()) << row->GetLabelText().GetString();
    EXPECT_STREQ(rows[4]->GetKey(), "File");
    EXPECT_STREQ(rows[4]->GetValueText(), "units/clerk.uml");
    // A stereotype that names nothing: no entry selected, no value rows.
    EXPECT_EQ(Entries(rows[2]), (std::vector<std::string>{"", "actorOnly"}));
    EXPECT_EQ(Selected(rows[2]), "(none)");
    EXPECT_TRUE(Children(rows[2]).empty());

    Grid editable;
    Prototype("Actor")->AddElementProperties(e, false, &editable.tree);
    ModelT stored = Element(clerk);
    dynamic_cast<COptionTreeEditItem*>(Children(editable.tree.GetRootItem()->GetFirstChild())[0])
        ->SetWindowText("Teller");
    Prototype("Actor")->ApplyElementProperties(ElementOid(clerk), stored, editable.tree.GetRootItem());
    EXPECT_STREQ(Element(clerk).Name, "Teller");
    EXPECT_STREQ(Element(clerk).Stereotype, "GONE");
}

TEST_F(PropertyRows, RowKindsWriteTheirFieldTypes)
{
    Grid g;
    thePropertyExpandBits = PROPERTY_EXTENDED;
    COptionTreeItem* category = AddCategoryRow(&g.tree, "Extended properties", PROPERTY_EXTENDED);
    EXPECT_TRUE(category->IsExpanded());
    AddNumberRow(category, &g.tree, "EstimatedSize", "Size", 42, false);
    AddNumberRow(category, &g.tree, "ActualSize", "Fixed", 7, true);
    AddEditRow(category, &g.tree, "Author", "Author", "Ann", false, true);
    AddTextRow(category, &g.tree, "Note", "shown only");
    const std::vector<COptionTreeItem*> rows = Children(category);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(rows[0]->GetValueText(), "42");
    EXPECT_TRUE(dynamic_cast<COptionTreeEditItem*>(rows[2])->GetOption(OT_EDIT_MULTILINE));
    dynamic_cast<COptionTreeEditItem*>(rows[0])->SetWindowText("-12");
    dynamic_cast<COptionTreeEditItem*>(rows[1])->SetWindowText("99");
    ModelUsecase usecase{};
    ApplyPropertyRows(&ModelUsecase::TableInfo, &usecase, category);
    EXPECT_EQ(usecase.EstimatedSize, -12);
    EXPECT_EQ(usecase.ActualSize, 0);
    EXPECT_STREQ(usecase.Author, "Ann");

    COptionTreeItem* codes = AddCategoryRow(&g.tree, "Codes", PROPERTY_SYMBOL);
    EXPECT_FALSE(codes->IsExpanded());
    AddVirtualityRow(codes, &g.tree, "Virtuality", 2, false);
    AddDirectionRow(codes, &g.tree, "Direction", 1, false);
    AddAggregationRow(codes, &g.tree, "Associationkind", 3, false);
    AddCheckRow(codes, &g.tree, "Static", "Static", true, false);
    AddColorRow(codes, &g.tree, "Colour", 0x123456, false);
    const std::vector<COptionTreeItem*> coded = Children(codes);
    ASSERT_EQ(coded.size(), 5u);
    EXPECT_EQ(Selected(coded[0]), "finalized");
    EXPECT_EQ(Selected(coded[1]), "in");
    EXPECT_EQ(Selected(coded[2]), "composite");
    EXPECT_EQ(Entries(coded[2]), (std::vector<std::string>{"", "reference", "shared", "composite"}));
    EXPECT_EQ(coded[3]->GetValueInt(), 1);
    EXPECT_EQ(std::string(dynamic_cast<COptionTreeCheckBoxItem*>(coded[3])->GetCheckedText()), "Yes");
    EXPECT_EQ(coded[4]->GetValueInt(), 0x123456);
    EXPECT_STREQ(coded[4]->GetKey(), "");
    Combo(coded[0])->SetCurSel(3);
    dynamic_cast<COptionTreeCheckBoxItem*>(coded[3])->SetCheck(FALSE);
    ModelOperation operation;
    operation.Static = 1;
    ApplyPropertyRows(&ModelOperation::TableInfo, &operation, codes);
    EXPECT_EQ(operation.Virtuality, 3);
    EXPECT_EQ(operation.Static, 0);
    ModelAttribute attribute;
    ApplyPropertyRows(&ModelAttribute::TableInfo, &attribute, codes);
    EXPECT_EQ(attribute.Associationkind, 3);
    ModelParameter parameter;
    ApplyPropertyRows(&ModelParameter::TableInfo, &parameter, codes);
    EXPECT_EQ(parameter.Direction, 1);
}

TEST_F(PropertyRows, TypeChooserListsTheCurrentTypeAlways)
{
    const int elsewhere = Add(0, "Package", "Elsewhere");
    const int hiddenType = Add(elsewhere, "Class", "Far");
    Grid g;
    COptionTreeItem* category = AddCategoryRow(&g.tree, "Base properties", PROPERTY_BASE);
    AddTypeRow(category, &g.tree, "Use", "Type", Guid(circle).c_str(), area, false);
    AddTypeRow(category, &g.tree, "Use", "Type", Guid(hiddenType).c_str(), area, false);
    AddTypeRow(category, &g.tree, "Use", "Type", Guid(circle).c_str(), area, true);
    AddTypeRow(category, &g.tree, "Use", "Type", "", area, true);
    const std::vector<COptionTreeItem*> rows = Children(category);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string> listed = Entries(rows[0]);
    EXPECT_EQ(listed.front(), "");
    for (const char* name : {"Shape", "Circle", "Integer", "Vector"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    EXPECT_EQ(Selected(rows[0]), "Circle");
    EXPECT_STREQ(rows[0]->GetValueText(), Guid(circle).c_str());
    EXPECT_EQ(Selected(rows[1]), "Far");
    EXPECT_EQ(Entries(rows[1]).size(), listed.size() + 1);
    EXPECT_EQ(Entries(rows[2]), (std::vector<std::string>{"Circle"}));
    EXPECT_TRUE(Entries(rows[3]).empty());

    ModelT typed;
    typed.Use = "old";
    ApplyPropertyRows(&ModelT::TableInfo, &typed, category);
    EXPECT_STREQ(typed.Use, Guid(hiddenType).c_str()); // the last editable row wins; read-only rows stay out
}

TEST_F(PropertyRows, SymbolRowsAndTheirStereotypes)
{
    HookRecorder hooks;
    const int box = AddSymbol(5, "Class", "Box");
    SymbolT s = Symbol(box);
    s.ItemState = SYMBOL_AUTOLAYOUT;
    s.Color = 0x00FF00;
    Grid g;
    COptionTreeItem* category = Prototype("Class")->AddSymbolProperties(s, &g.tree);
    EXPECT_EQ(std::string(category->GetLabelText()), "Symbol Property");
    std::vector<COptionTreeItem*> rows = Children(category);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_STREQ(rows[0]->GetKey(), "Autolayout");
    EXPECT_EQ(rows[0]->GetValueInt(), 1);
    EXPECT_EQ(rows[1]->GetValueInt(), 0x00FF00);
    EXPECT_EQ(Entries(rows[2]), (std::vector<std::string>{"", "boundary", "entity"}));

    dynamic_cast<COptionTreeCheckBoxItem*>(rows[0])->SetCheck(FALSE);
    dynamic_cast<COptionTreeColorItem*>(rows[1])->SetColor(0x0000FF);
    Combo(rows[2])->SetCurSel(2);
    UndoLog::NewGroup();
    EXPECT_TRUE(Prototype("Class")->ApplySymbolProperties(box, s, category));
    EXPECT_EQ(s.ItemState & SYMBOL_AUTOLAYOUT, 0);
    EXPECT_EQ(s.Color, 0x0000FF);
    EXPECT_EQ(std::string(s.Stereotype), Guid(entity));
    EXPECT_EQ(Links(-box), 1);
    dbTypedCursor<SymbolT> stored(&SymbolT::TableInfo);
    stored.SelectByKey("ID", box);
    MemDbUpdate(&SymbolT::TableInfo, &s, stored.GetCurrentOid());

    // The grid shown anew: editing only a tag value writes it and marks the page's unit.
    s = Symbol(box);
    Grid again;
    category = Prototype("Class")->AddSymbolProperties(s, &again.tree);
    rows = Children(category);
    std::vector<COptionTreeItem*> values = Children(rows[2]);
    ASSERT_EQ(values.size(), 2u);
    dynamic_cast<COptionTreeEditItem*>(values[1])->SetWindowText("orders");
    EXPECT_FALSE(Prototype("Class")->ApplySymbolProperties(box, s, category));
    EXPECT_EQ(Value(-box, tagTable), "orders");
    EXPECT_TRUE(hooks.Has("mark 5 1"));

    // Another stereotype: the old stereotype's rows, still shown, are not
    // stored under the new one, and the old values go.
    Combo(rows[2])->SetCurSel(1);
    dynamic_cast<COptionTreeEditItem*>(values[0])->SetWindowText("7");
    EXPECT_TRUE(Prototype("Class")->ApplySymbolProperties(box, s, category));
    EXPECT_EQ(std::string(s.Stereotype), Guid(boundary));
    EXPECT_EQ(Value(-box, tagTable), "(none)");
    EXPECT_EQ(Value(-box, tagId), "(none)");
    dbTypedCursor<StereotypeT> left(&StereotypeT::TableInfo);
    EXPECT_EQ(left.SelectByKey("OID", -box), 0);

    // The empty entry removes the link and the values.
    SetValue(-box, tagScreen, "main");
    Combo(rows[2])->SetCurSel(0);
    EXPECT_TRUE(Prototype("Class")->ApplySymbolProperties(box, s, category));
    EXPECT_STREQ(s.Stereotype, "");
    EXPECT_EQ(Links(-box), 0);
    EXPECT_EQ(Value(-box, tagScreen), "(none)");
}

TEST_F(PropertyRows, SymbolKindsShowTheirRows)
{
    Grid g;
    struct Case {
        const char* type;
        int msc, mmc;
        const char* guid;
        int itemState;
        std::vector<std::string> keys;
        bool readOnly;
    } const cases[] = {
        {"Class", MSC_RECTANGLE, MMC_CLASS, "", 0, {"Autolayout", "", "Stereotype"}, false},
        {"Class", MSC_RECTANGLE, MMC_CLASS, "E1", 0, {"Autolayout", ""}, false},
        {"Dependency", MSC_LINE, MMC_RELATION, "E1", 0, {"Autolayout"}, false},
        {"Initial", MSC_ELLIPSE, MMC_NONE, "", SYMBOL_READONLY, {"Autolayout", "", "Stereotype", "Type"}, true},
    };
    for (const Case& c : cases) {
        SymbolT s;
        s.ID = 90;
        s.Type = c.type;
        s.MSC = static_cast<int8_t>(c.msc);
        s.MMC = static_cast<int8_t>(c.mmc);
        s.GUID = c.guid;
        s.ItemState = static_cast<int16_t>(c.itemState);
        g.tree.DeleteAllItems();
        COptionTreeItem* category = Prototype(c.type)->AddSymbolProperties(s, &g.tree);
        std::vector<std::string> keys;
        for (COptionTreeItem* row : Children(category)) {
            keys.push_back(row->GetKey());
            EXPECT_EQ(bool(row->IsReadOnly()), c.readOnly || keys.back() == "Type") << c.type;
        }
        EXPECT_EQ(keys, c.keys) << c.type;
    }
}

} // namespace
