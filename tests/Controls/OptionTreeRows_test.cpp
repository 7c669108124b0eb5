// The row kinds' values as the builders set them and the owner reads them
// back, their refusals, and the numeric reading of edit rows.
#include "GridFixture.h"

#include <string>

namespace {

TEST(GridRows, ValuesSetByTheBuildersReadBack)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem* name = f.Edit(category, "Name", "Größe Ωμέγα");
    COptionTreeEditItem* number = f.Number(category, "Count", -42);
    COptionTreeEditItem* notes = f.Edit(category, "Notes", "line one\r\nline two", OT_EDIT_MULTILINE,
                                        ES_WANTRETURN | ES_AUTOVSCROLL);
    COptionTreeCheckBoxItem* on = f.Check(category, "On", TRUE);
    COptionTreeCheckBoxItem* off = f.Check(category, "Off", FALSE);
    COptionTreeComboBoxItem* kind =
        f.Combo(category, "Kind", { { "", "" }, { "in", "GUID-in" }, { "out", nullptr } }, 1);
    COptionTreeColorItem* color = f.Color(category, "Color", RGB(1, 2, 3));
    COptionTreeTextItem* id = f.Text(category, "Id", "ID-1");
    EXPECT_STREQ("Größe Ωμέγα", name->GetValueText());
    EXPECT_EQ(0, name->GetValueInt());
    EXPECT_STREQ("-42", number->GetValueText());
    EXPECT_EQ(-42, number->GetValueInt());
    EXPECT_STREQ("line one\r\nline two", notes->GetValueText());
    EXPECT_EQ(OT_EDIT_MULTILINE_HEIGHT, notes->GetHeight());
    EXPECT_EQ(1, on->GetValueInt());
    EXPECT_EQ(0, off->GetValueInt());
    EXPECT_EQ(1, kind->GetValueInt());
    EXPECT_STREQ("GUID-in", kind->GetValueText());
    EXPECT_EQ(int(RGB(1, 2, 3)), color->GetValueInt());
    EXPECT_EQ(RGB(1, 2, 3), color->GetColor());
    EXPECT_EQ(0, id->GetValueInt());
    EXPECT_STREQ("", id->GetValueText());
    EXPECT_EQ(CString("ID-1"), id->GetText());
    struct Kind {
        COptionTreeItem* row;
        int type;
    };
    for (const Kind& k : { Kind{ name, OT_ITEM_EDIT }, Kind{ on, OT_ITEM_CHECKBOX }, Kind{ kind, OT_ITEM_COMBOBOX },
                           Kind{ color, OT_ITEM_COLOR }, Kind{ id, OT_ITEM_PLAIN }, Kind{ category, OT_ITEM_PLAIN } })
        EXPECT_EQ(k.type, k.row->GetType());
}

TEST(GridRows, EditorsAreRefusedOutsideAGridAndTheSecondTime)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem edit;
    COptionTreeCheckBoxItem check;
    COptionTreeComboBoxItem combo;
    COptionTreeColorItem color;
    COptionTreeTextItem text;
    EXPECT_FALSE(edit.CreateEditor(0));
    EXPECT_FALSE(check.CreateEditor(TRUE, 0));
    EXPECT_FALSE(combo.CreateEditor());
    EXPECT_FALSE(color.CreateEditor(0, 0, 0));
    EXPECT_FALSE(text.Init(7));
    EXPECT_FALSE(text.GetOption(7));
    COptionTreeEditItem* inserted = f.Edit(category, "Name", "x");
    EXPECT_FALSE(inserted->CreateEditor(0));
    COptionTreeComboBoxItem* list = f.Combo(category, "Kind", { { "a", nullptr } }, 0);
    EXPECT_FALSE(list->CreateEditor());
    COptionTreeCheckBoxItem* box = f.Check(category, "On", TRUE);
    EXPECT_FALSE(box->CreateEditor(FALSE, 0));
    EXPECT_EQ(1, box->GetValueInt());
    COptionTreeColorItem* swatch = f.Color(category, "Color", 5);
    EXPECT_FALSE(swatch->CreateEditor(0, 6, 7));
    EXPECT_EQ(COLORREF(5), swatch->GetColor());
}

TEST(GridRows, NumericRowsReadNumbersOnlyFromNumericTexts)
{
    struct Case {
        const char* text;
        BOOL ok;
        int number;
    };
    const Case cases[] = {
        { "7", TRUE, 7 }, { "-3", FALSE, 0 }, { "1.5", TRUE, 1 }, { "1 2", TRUE, 1 },
        { "abc", FALSE, 0 }, { "", FALSE, 0 }, { "12x", FALSE, 0 },
    };
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem* numeric = f.Edit(category, "N", "", OT_EDIT_NUMERIC);
    COptionTreeEditItem* plain = f.Edit(category, "P", "");
    for (const Case& c : cases) {
        numeric->SetWindowText(c.text);
        int number = -1;
        EXPECT_EQ(c.ok, numeric->GetValue(&number)) << c.text;
        EXPECT_EQ(c.number, number) << c.text;
        plain->SetWindowText(c.text);
        EXPECT_FALSE(plain->GetValue(&number)) << c.text;
        EXPECT_EQ(0, number);
    }
    numeric->SetWindowText("2.5");
    double real = 0;
    EXPECT_TRUE(numeric->GetValue(&real));
    EXPECT_DOUBLE_EQ(2.5, real);
    numeric->SetValue(2.6);
    EXPECT_STREQ("3", numeric->GetValueText());
}

TEST(GridRows, AMultiLineRowTakesEnterAsALineBreak)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem* notes = f.Edit(category, "Notes", "", OT_EDIT_MULTILINE, ES_WANTRETURN | ES_AUTOVSCROLL);
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    f.Click(f.ValuePoint(notes));
    f.owner.Clear();
    PlayText("a");
    PlayKey(VK_RETURN, 0, "\r");
    PlayText("b");
    EXPECT_TRUE(notes->IsEditing());
    EXPECT_TRUE(f.owner.codes.empty());
    EXPECT_STREQ("a\r\nb", notes->GetValueText());
}

TEST(GridRows, OptionsOfAnEditRowChangeItsControlAndHeight)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem* row = f.Edit(category, "Name", "abc");
    row->SetOption(OT_EDIT_PASSWORD, TRUE);
    EXPECT_TRUE(row->GetStyle() & ES_PASSWORD);
    row->SetOption(OT_EDIT_MULTILINE, TRUE);
    EXPECT_EQ(OT_EDIT_MULTILINE_HEIGHT, row->GetHeight());
    EXPECT_TRUE(row->IsLabelAtTop());
    row->SetOption(OT_EDIT_MULTILINE, FALSE);
    EXPECT_EQ(OT_ROW_HEIGHT, row->GetHeight());
    EXPECT_STREQ("abc", row->GetValueText());
}

} // namespace
