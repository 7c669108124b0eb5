// The IP address row and its control: the fields' layout, addresses read
// and shown, moving on from a full field, and the commit when the focus
// leaves the control for another row.
#include "GridFixture.h"

#include "Controls/OptionTreeIPAddressItem.h"
#include "Platform/Messages.h"

#include <filesystem>
#include <string>

namespace {

using Codes = std::vector<int>;

struct AddressPane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeIPAddressItem* address = new COptionTreeIPAddressItem;
    COptionTreeEditItem* name = nullptr;

    AddressPane()
    {
        grid.InsertItem(address, general);
        address->SetLabelText("Server");
        name = Edit(general, "Name", "x");
        general->Expand(TRUE);
        grid.UpdateScroll();
        EXPECT_TRUE(address->CreateEditor());
        address->SetAddress(10, 0, 0, 1);
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    CWnd* Field(int n) { return address->GetFieldEdit(n); }
    CPoint FieldPoint(int n)
    {
        CRect r;
        Field(n)->GetWindowRect(&r);
        return r.CenterPoint();
    }
};

TEST(IPAddressRow, TheFieldsFillTheValueColumnLeftToRight)
{
    AddressPane p;
    p.Click(p.ValuePoint(p.address));
    const CRect value = p.address->GetValueRect();
    const int w = (value.Width() - 25) / 4;
    for (int n = 1; n <= 4; ++n) {
        CRect field;
        p.Field(n)->GetWindowRect(&field);
        p.address->ScreenToClient(&field);
        EXPECT_EQ(CRect(5 + (n - 1) * (w + 5), 0, 5 + (n - 1) * (w + 5) + w, value.Height()), field) << n;
    }
    p.address->UpdateWindow();
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(),
                                  (std::string(VEXAL_TEST_OUTPUT) + "/property_grid_ip_address.png").c_str()));
    // The control's children hold the octets right to left.
    EXPECT_EQ(p.address->GetField(3), p.address->GetWindow(GW_CHILD)->GetSafeHwnd());
    EXPECT_EQ(p.address->GetField(0), p.Field(1)->GetSafeHwnd());
}

TEST(IPAddressRow, AddressesReadAndShowWithoutLeadingZeros)
{
    struct Case {
        std::vector<const char*> fields;
        const char* shown;
        int filled;
    };
    const Case cases[] = {
        { { "10", "0", "0", "1" }, "10.0.0.1", 4 },
        { { "192", "168", "001", "254" }, "192.168.1.254", 4 },
        { { "300", "", "7", "" }, "255.0.7.0", 2 },
        { { "", "", "", "" }, "0.0.0.0", 0 },
    };
    for (const Case& c : cases) {
        AddressPane p;
        for (int n = 1; n <= 4; ++n)
            p.Field(n)->SetWindowText(c.fields[size_t(n - 1)]);
        EXPECT_EQ(CString(c.shown), p.address->GetShownText()) << c.shown;
        BYTE b[4];
        EXPECT_EQ(c.filled, p.address->GetAddress(b[0], b[1], b[2], b[3])) << c.shown;
        EXPECT_EQ(c.filled == 0, bool(p.address->IsBlank()));
    }
    AddressPane p;
    p.address->SetAddress(MAKEIPADDRESS(192, 168, 1, 254));
    DWORD address = 0;
    EXPECT_EQ(4, p.address->GetAddress(address));
    EXPECT_EQ(MAKEIPADDRESS(192, 168, 1, 254), address);
    p.address->ClearAddress();
    EXPECT_TRUE(p.address->IsBlank());
}

TEST(IPAddressRow, AFullFieldOrAFullStopMovesOnAndDeleteDeletes)
{
    struct Case {
        int field;
        const char* typed;
        int focused;
        const char* text;  // of the field typed into
        bool del;          // Delete at the start of the field afterwards
    };
    const Case cases[] = { { 1, "1234", 2, "123", false }, { 2, "7.", 3, "7", false },
                           { 3, "255", 3, "255", false }, { 4, "9999", 4, "999", false },
                           { 3, "255", 3, "55", true } };
    for (const Case& c : cases) {
        AddressPane p;
        p.Click(p.ValuePoint(p.address));
        p.Click(p.FieldPoint(c.field));
        p.Field(c.field)->SetWindowText("");
        PlayText(c.typed);
        if (c.del) {
            p.Field(c.field)->SendMessage(EM_SETSEL, 0, 0);
            PlayKey(VK_DELETE);
        }
        EXPECT_EQ(p.Field(c.focused), p.Focus()) << c.typed;
        char text[8] = {};
        p.Field(c.field)->GetWindowText(text, sizeof text);
        EXPECT_STREQ(c.text, text);
    }
}

TEST(IPAddressRow, LeavingForAnotherRowCommitsOnceNotifyingAChange)
{
    struct Case {
        const char* typed;  // into field 3
        Codes codes;
    };
    const Case cases[] = {
        { "", { OTN_SELCHANGED, OTN_VALUECLICK } },
        { "5", { OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK } },
    };
    for (const Case& c : cases) {
        AddressPane p;
        p.Click(p.ValuePoint(p.address));
        EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
        p.Click(p.FieldPoint(2));
        p.Click(p.FieldPoint(3));
        ::SetFocus(nullptr);
        p.Field(3)->SetFocus();
        if (*c.typed) {
            p.Field(3)->SendMessage(EM_SETSEL, 0, -1);
            PlayText(c.typed);
        }
        p.owner.Clear();
        EXPECT_TRUE(p.address->IsEditing());
        p.Click(p.ValuePoint(p.name));
        EXPECT_EQ(c.codes, p.owner.codes) << c.typed;
        EXPECT_FALSE(p.address->IsEditing());
    }
    COptionTreeIPAddressItem loose;
    EXPECT_FALSE(loose.CreateEditor());
    EXPECT_EQ(OT_ITEM_IPADDRESS, loose.GetType());
}

} // namespace
