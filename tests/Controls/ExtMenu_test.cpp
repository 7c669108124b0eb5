// The owner-drawn menu: item operations on records and platform items,
// loading the program's menu, shared images and their derived copies.
#include "Controls/CommandImageList.h"
#include "Controls/ExtMenu.h"
#include "Platform/Dc.h"
#include "Platform/Library.h"
#include "Platform/SysColors.h"
#include "Platform/TextConv.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>

namespace {

// Sets the system the menus see for one test.
struct MenuSystem {
    MenuSystem(int osClass, int classicTheme) : oldClass(theMenuOsClass), oldTheme(theMenuClassicTheme)
    {
        theMenuOsClass = osClass;
        theMenuClassicTheme = classicTheme;
    }
    ~MenuSystem()
    {
        theMenuOsClass = oldClass;
        theMenuClassicTheme = oldTheme;
    }
    int oldClass, oldTheme;
};

std::string Utf8(const std::u16string& s) { return Utf16ToUtf8(s.c_str(), int(s.size())); }

// Records as "text flags id" and platform items as "state id", a popup's
// contents in braces.
std::string Dump(CExtMenu& menu)
{
    std::string out;
    for (int i = 0; i < menu.GetRecordCount(); ++i) {
        const CExtMenuItemData* r = menu.GetRecord(i);
        out += (r->flags & MF_POPUP) ? "[" + Utf8(r->text) + "]" : Utf8(r->text);
        out += " ";
    }
    out += "/";
    for (int p = 0; p < menu.GetMenuItemCount(); ++p) {
        const UINT state = menu.GetMenuState(UINT(p), MF_BYPOSITION);
        if (state & MF_POPUP) {
            auto* sub = dynamic_cast<CExtMenu*>(menu.GetSubMenu(p));
            out += " {" + (sub ? Dump(*sub) : std::string("?")) + "}";
        } else {
            char item[32];
            std::snprintf(item, sizeof item, " %X:%u", state, menu.GetMenuItemID(p));
            out += item;
        }
    }
    return out;
}

// "&Copy\tCtrl+C" 57634, an id-0 item "x" (a separator), popup "&More" {
// "&Paste" 57637 }, "&Delete" 32773.
CExtMenu* Start()
{
    auto* m = new CExtMenu;
    m->CreatePopupMenu();
    m->AppendItem("&Copy\tCtrl+C", 0, 57634);
    m->AppendItem("x", MF_CHECKED, 0);
    m->AppendPopup("&More")->AppendItem("&Paste", 0, 57637);
    m->AppendItem("&Delete", 0, 32773);
    return m;
}

const char* const kStart = "&Copy\tCtrl+C x [&More] &Delete / 100:57634 900:0 {&Paste / 100:57637} 100:32773";

} // namespace

TEST(ExtMenu, ItemOperationsKeepRecordsAndPlatformItemsInStep)
{
    struct Case {
        const char* name;
        std::function<int(CExtMenu&)> operation;
        int result;
        const char* after;
    };
    const Case cases[] = {
        { "the start: an id-0 item is an owner-drawn separator", [](CExtMenu&) { return 0; }, 0, kStart },
        { "remove a separator", [](CExtMenu& m) { return m.RemoveMenu(1, MF_BYPOSITION); }, 1,
          "&Copy\tCtrl+C [&More] &Delete / 100:57634 {&Paste / 100:57637} 100:32773" },
        { "delete keeps the record of a separator with text", [](CExtMenu& m) { return m.DeleteMenu(1, MF_BYPOSITION); }, 1,
          "&Copy\tCtrl+C x [&More] &Delete / 100:57634 {&Paste / 100:57637} 100:32773" },
        { "remove a popup with its record and object", [](CExtMenu& m) { return m.RemoveMenu(2, MF_BYPOSITION); }, 1,
          "&Copy\tCtrl+C x &Delete / 100:57634 900:0 100:32773" },
        { "remove by command inside the popup", [](CExtMenu& m) { return m.RemoveMenu(57637, MF_BYCOMMAND); }, 1,
          "&Copy\tCtrl+C x [&More] &Delete / 100:57634 900:0 {/} 100:32773" },
        { "a position past the items touches nothing", [](CExtMenu& m) { return m.RemoveMenu(9, MF_BYPOSITION); }, 0,
          kStart },
        { "a platform separator without a record removes no record",
          [](CExtMenu& m) {
              m.CMenu::AppendMenu(MF_SEPARATOR);
              return m.RemoveMenu(4, MF_BYPOSITION);
          },
          1, kStart },
        { "a negative position has no text",
          [](CExtMenu& m) {
              CString text = "kept";
              return m.GetMenuText(UINT(-1), text) + m.SetMenuText(UINT(-1), "y") + (text == "kept" ? 10 : 0);
          },
          10, kStart },
        { "text by command", [](CExtMenu& m) { return m.SetMenuText(57637, "&Einf\xC3\xBCgen", MF_BYCOMMAND); }, 1,
          "&Copy\tCtrl+C x [&More] &Delete / 100:57634 900:0 {&Einf\xC3\xBCgen / 100:57637} 100:32773" },
        { "remove by text, kind 1 takes the item before",
          [](CExtMenu& m) { return m.RemoveMenuByText("&Delete", 1); }, 3,
          "&Copy\tCtrl+C x / 100:57634 900:0" },
        { "remove by text, kind 3 takes the two items before",
          [](CExtMenu& m) { return m.RemoveMenuByText("&Delete", 3); }, 3, "&Copy\tCtrl+C / 100:57634" },
        { "remove by text at the first item has nothing before it",
          [](CExtMenu& m) { return m.RemoveMenuByText("&Copy\tCtrl+C", 2); }, 0,
          "x [&More] &Delete / 900:0 {&Paste / 100:57637} 100:32773" },
        { "remove by an unknown text", [](CExtMenu& m) { return m.RemoveMenuByText("nope", 3); }, -1, kStart },
        { "insert at -1 appends", [](CExtMenu& m) { return m.InsertItem(UINT(-1), "End", MF_BYPOSITION, 5); }, 1,
          "&Copy\tCtrl+C x [&More] &Delete End / 100:57634 900:0 {&Paste / 100:57637} 100:32773 100:5" },
        { "insert before a command lands in its popup", [](CExtMenu& m) { return m.InsertItem(57637, "Cut", 0, 57635); },
          1, "&Copy\tCtrl+C x [&More] &Delete / 100:57634 900:0 {Cut &Paste / 100:57635 100:57637} 100:32773" },
        { "insert before an absent command", [](CExtMenu& m) { return m.InsertItem(99, "Cut", 0, 57635); }, 0, kStart },
        { "modify the text of every item of a command",
          [](CExtMenu& m) { return m.ModifyItem("C&opy", 57634, static_cast<CImageList*>(nullptr), 0); }, 1,
          "C&opy x [&More] &Delete / 100:57634 900:0 {&Paste / 100:57637} 100:32773" },
        { "synchronize makes a plain item owner-drawn",
          [](CExtMenu& m) {
              m.CMenu::AppendMenu(MF_STRING, 7, "Plain");
              m.SynchronizeItems();
              return m.GetRecordCount();
          },
          5, "&Copy\tCtrl+C x [&More] &Delete Plain / 100:57634 900:0 {&Paste / 100:57637} 100:32773 100:7" },
        { "menu character, either case",
          [](CExtMenu& m) {
              return int(CExtMenu::HandleMenuChar('d', MF_POPUP, &m) == MAKELONG(3, MNC_EXECUTE)) +
                     int(CExtMenu::HandleMenuChar('D', MF_POPUP, &m) == MAKELONG(3, MNC_EXECUTE)) +
                     int(CExtMenu::HandleMenuChar('d', 0, &m) == 0) + int(CExtMenu::HandleMenuChar('q', MF_POPUP, &m) == 0);
          },
          4, kStart },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtMenu* menu = Start();
        EXPECT_EQ(c.operation(*menu), c.result);
        EXPECT_EQ(Dump(*menu), c.after);
        delete menu;
    }
}

TEST(ExtMenu, PopupsAreRegisteredOwnedAndFreed)
{
    CExtMenu* menu = Start();
    CExtMenu* more = dynamic_cast<CExtMenu*>(menu->GetSubMenu(2));
    ASSERT_NE(more, nullptr);
    EXPECT_TRUE(CExtMenu::IsRegisteredPopup(more));
    EXPECT_EQ(menu->FindPopup("&More"), more);
    EXPECT_EQ(menu->FindItemData(57637), more->GetRecord(0));
    int position = -1;
    EXPECT_EQ(menu->FindItemPosition(57637, &position), more);
    EXPECT_EQ(position, 0);
    const HMENU handle = more->m_hMenu;
    delete menu;
    EXPECT_FALSE(CExtMenu::IsRegisteredPopup(handle));
    EXPECT_FALSE(IsMenu(handle));
}

TEST(ExtMenu, ProgramMenuLoadsAsAStringBarOverOwnerDrawnPopups)
{
    MenuSystem modern(1, 0);
    CExtMenu bar;
    ASSERT_TRUE(bar.LoadMenu(128));
    EXPECT_TRUE(bar.LoadedFromResource());
    ASSERT_EQ(bar.GetMenuItemCount(), 6);
    CString text;
    bar.GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Edit");
    EXPECT_EQ(bar.GetMenuState(1, MF_BYPOSITION) & 0xFF, UINT(MF_POPUP));
    EXPECT_EQ(bar.GetRecord(1)->flags, UINT(MF_BYPOSITION | MF_POPUP));
    auto* edit = dynamic_cast<CExtMenu*>(bar.GetSubMenu(1));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->CheckImagesShared());
    for (int p = 0; p < edit->GetMenuItemCount(); ++p)
        EXPECT_TRUE(edit->GetMenuState(UINT(p), MF_BYPOSITION) & MF_OWNERDRAW) << p;
    // Labels with an accelerator are padded to the widest label and a blank.
    std::u16string undo, selectAll;
    ASSERT_TRUE(edit->GetMenuText(0, undo));
    ASSERT_TRUE(edit->GetMenuText(57642, selectAll, MF_BYCOMMAND));
    EXPECT_EQ(Utf8(undo).substr(0, 5), "Undo ");
    EXPECT_NE(undo.find(u"\tCtrl+Z"), std::u16string::npos);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    NONCLIENTMETRICS metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    CFont font;
    font.CreateFontIndirect(&metrics.lfMenuFont);
    dc.SelectObject(&font);
    auto label = [&](const std::u16string& t) { return dc.GetTextExtent(Utf8(t.substr(0, t.find(u'\t'))).c_str()).cx; };
    EXPECT_GE(label(undo), dc.GetTextExtent("Select All   ").cx - dc.GetTextExtent(" ").cx);
    EXPECT_LE(std::abs(label(undo) - label(selectAll)), dc.GetTextExtent(" ").cx);
    // Nested popups: Recent projects inside File, its item grayed.
    auto* file = dynamic_cast<CExtMenu*>(bar.GetSubMenu(0));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetMenuState(32797, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_NE(file->FindPopup("Recent projects"), nullptr);
    // Loading again empties the object first.
    ASSERT_TRUE(bar.LoadMenu(128));
    EXPECT_EQ(bar.GetMenuItemCount(), 6);
    EXPECT_EQ(bar.GetPopupCount(), 6);
}

TEST(ExtMenu, AMalformedTemplateLeavesTheMenuAsItWas)
{
    // A template cut inside a text: version, header size, an item without end.
    static const WORD kCut[] = { 0, 0, 0x0080, 7, 'a', 'b' };
    static const RESOURCE_ENTRY kEntries[] = { { 4, 900, kCut, sizeof kCut } };
    static int tag;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(&tag);
    AfxSetResourceTable(module, kEntries, 1);
    AfxSetResourceHandle(module);
    CExtMenu* menu = Start();
    EXPECT_FALSE(menu->LoadMenu(900));
    EXPECT_EQ(Dump(*menu), kStart);
    AfxSetResourceHandle(nullptr);
    AfxSetResourceTable(module, nullptr, 0);
    delete menu;
}

TEST(ExtMenu, BlendsTowardWhiteAndBlack)
{
    struct Case {
        bool white;
        COLORREF colour;
        double f;
        COLORREF expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        { true, 0x000000, 0.5, 0x7F7F7F },  { true, 0x204080, 1.0, 0xFFFFFF }, { true, 0x204080, 0.0, 0x204080 },
        { true, 0x204080, 1.5, 0x204080 },  { true, 0x204080, nan, 0x204080 }, { true, 0x102030, 0.25, 0x4B5763 },
        { false, 0xFFFFFF, 0.02, 0xF9F9F9 }, { false, 0x204080, -1, 0x204080 }, { false, 0x204080, 1.0, 0x000000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f);
        EXPECT_EQ(c.white ? CExtMenu::BlendToWhite(c.colour, c.f) : CExtMenu::BlendToBlack(c.colour, c.f), c.expected);
    }
}

namespace {

// A 16x16 bitmap on the button face with one pixel of each given colour.
void Picture(CBitmap& bitmap, const std::vector<std::pair<CPoint, COLORREF>>& pixels)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(16, 16, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 16, 16, GetSysColor(COLOR_BTNFACE));
    for (const auto& [p, c] : pixels)
        dc.SetPixel(p.x, p.y, c);
    dc.SelectObject(old);
}

COLORREF PixelOf(CBitmap& bitmap, int x, int y)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    const COLORREF c = dc.GetPixel(x, y);
    dc.SelectObject(old);
    return c;
}

} // namespace

TEST(ExtMenu, DerivedCopiesPerPixel)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF red = RGB(200, 0, 0), black = RGB(0, 0, 0), grey = RGB(90, 120, 150);
    struct Case {
        const char* name;
        int osClass;
        std::function<void(CBitmap*)> transform;
        COLORREF atRed, atBlack, atGrey, atFace;
    };
    const Case cases[] = {
        { "faded", 1, CExtMenu::MakeFadedImage, CExtMenu::BlendToWhite(red, 0.3), RGB(76, 76, 76),
          CExtMenu::BlendToWhite(grey, 0.3), face },
        { "shadow elsewhere", 1, CExtMenu::MakeShadowImage, CExtMenu::BlendToWhite(shadow, 0.49),
          CExtMenu::BlendToWhite(shadow, 0.49), CExtMenu::BlendToWhite(shadow, 0.49), face },
        { "shadow on a themed system", 7, CExtMenu::MakeShadowImage, shadow, shadow, shadow, face },
        { "grey keeping the background", 1, [](CBitmap* b) { CExtMenu::MakeGreyImage(b, 0); },
          CExtMenu::BlendToWhite(shadow, 66 / 255.0), shadow, CExtMenu::BlendToWhite(shadow, 120 / 255.0), face },
        { "grey replacing the background", 1, [](CBitmap* b) { CExtMenu::MakeGreyImage(b, RGB(1, 2, 3)); },
          CExtMenu::BlendToWhite(shadow, 66 / 255.0), shadow, CExtMenu::BlendToWhite(shadow, 120 / 255.0), RGB(1, 2, 3) },
        { "light grey becomes the button face", 1, CExtMenu::ReplaceLightGrey, red, black, grey, face },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuSystem system(c.osClass, 0);
        CBitmap bitmap;
        Picture(bitmap, { { CPoint(1, 1), red }, { CPoint(2, 1), black }, { CPoint(3, 1), grey } });
        c.transform(&bitmap);
        EXPECT_EQ(PixelOf(bitmap, 1, 1), c.atRed);
        EXPECT_EQ(PixelOf(bitmap, 2, 1), c.atBlack);
        EXPECT_EQ(PixelOf(bitmap, 3, 1), c.atGrey);
        EXPECT_EQ(PixelOf(bitmap, 9, 9), c.atFace);
    }
    CBitmap light;
    Picture(light, { { CPoint(4, 4), RGB(192, 192, 192) } });
    CExtMenu::ReplaceLightGrey(&light);
    EXPECT_EQ(PixelOf(light, 4, 4), face);
}

TEST(ExtMenu, ColourBlocksAreCentredOnTheMenuBackground)
{
    CExtMenu menu;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap block, whole;
    menu.MakeColourBlock(&dc, &block, 10, 10, 16, 16, RGB(255, 0, 0), RGB(0, 0, 255), -1);
    EXPECT_EQ(PixelOf(block, 2, 2), GetSysColor(COLOR_MENU));
    EXPECT_EQ(PixelOf(block, 3, 3), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(block, 12, 12), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(block, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(block, 13, 13), GetSysColor(COLOR_MENU));
    menu.MakeColourBlock(&dc, &whole, 16, 16, 16, 16, RGB(255, 0, 0), RGB(0, 0, 255), -1);
    EXPECT_EQ(PixelOf(whole, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(whole, 15, 15), RGB(0, 0, 255));
}

namespace {

// The test resource library for the duration of a test.
struct TestResources {
    TestResources() : library(LoadLibrary("VexalTestRes.dll")) { AfxSetResourceHandle(library); }
    ~TestResources() { FreeLibrary(library); }
    HMODULE library;
};

// A registry with Copy and Cut.
CCommandImageList& Registry()
{
    static CCommandImageList* registry = [] {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
        auto* r = new CCommandImageList;
        r->Create(16, 16, ILC_COLORDDB | ILC_MASK, 4, 1);
        r->AddBitmap(WriteIcon("menu_copy.bmp", RGB(0, 0, 200)).c_str(), RGB(255, 255, 255), 57634, "Copy");
        r->AddBitmap(WriteIcon("menu_cut.bmp", RGB(200, 0, 0)).c_str(), RGB(255, 255, 255), 57635, "Cut");
        return r;
    }();
    return *registry;
}

} // namespace

TEST(ExtMenu, BitmapKindsAndToolbarImages)
{
    TestResources resources;
    ASSERT_NE(resources.library, nullptr);
    MenuSystem modern(1, 0);
    CExtMenu menu;
    menu.CreatePopupMenu();
    CImageList list;
    list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1);
    const int before = CExtMenu::GreyDisabledImages;
    ASSERT_TRUE(menu.AddResourceImage(&list, 300));  // 16 colours: mapped
    EXPECT_EQ(list.GetImageCount(), 3);
    EXPECT_EQ(CExtMenu::GreyDisabledImages, before);
    ASSERT_TRUE(menu.AddResourceImage(&list, 301));  // 256 colours: light grey replaced
    EXPECT_EQ(list.GetImageCount(), 4);
    EXPECT_EQ(CExtMenu::GreyDisabledImages, 1);
    EXPECT_FALSE(menu.AddResourceImage(&list, 399));
    EXPECT_EQ(CExtMenu::DibColourCount(BITMAPINFOHEADER{ 40, 1, 1, 1, 4, 0, 0, 0, 0, 0, 0 }), 16);
    EXPECT_EQ(CExtMenu::DibColourCount(BITMAPINFOHEADER{ 40, 1, 1, 1, 8, 0, 0, 0, 0, 5, 0 }), 5);
    EXPECT_EQ(CExtMenu::DibColourCount(BITMAPINFOHEADER{ 40, 1, 1, 1, 24, 0, 0, 0, 0, 0, 0 }), 0);

    int index = 0;
    EXPECT_TRUE(CExtMenu::FindToolBarImage(57637, 300, &index));
    EXPECT_EQ(index, 2);  // the separator has no image
    index = 7;
    EXPECT_TRUE(CExtMenu::FindToolBarImage(57634, 300, &index));
    EXPECT_EQ(index, 7);  // image 0 leaves the index alone
    EXPECT_FALSE(CExtMenu::FindToolBarImage(32773, 300, &index));

    // An item with a toolbar bitmap shows the button's image as its shared one.
    ASSERT_TRUE(menu.AppendItem("Paste", 0, 57637, 300));
    const int shared = menu.GetRecord(0)->sharedIndex;
    ASSERT_GE(shared, 0);
    EXPECT_EQ(theMenuImageIds[size_t(shared)], 57637);
    EXPECT_TRUE(menu.ApplyToolBarImages(300));
    EXPECT_EQ(menu.GetRecord(0)->sharedIndex, shared);
    EXPECT_FALSE(menu.ApplyToolBarImages(399));
}

TEST(ExtMenu, SharedImagesStandOncePerCommand)
{
    CImageList source;
    source.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1);
    CBitmap a, b;
    Picture(a, { { CPoint(5, 5), RGB(255, 0, 0) } });
    Picture(b, { { CPoint(6, 6), RGB(0, 0, 255) } });
    source.Add(&a, CLR_NONE);
    source.Add(&b, CLR_NONE);
    CExtMenu menu;

    MenuSystem themed(7, 0);
    ASSERT_TRUE(CExtMenu::IsXpLook());
    const size_t count = theMenuImageIds.size();
    const int first = menu.AddSharedImage(&source, 0, 40001);
    EXPECT_EQ(theMenuImageIds.size(), count + 4);  // image, faded, shadow, grey
    EXPECT_TRUE(CExtMenu::HasDerivedImages(first));
    EXPECT_EQ(menu.AddSharedImage(&source, 1, 40001), first);
    EXPECT_EQ(theMenuImageIds.size(), count + 4);
    EXPECT_EQ(menu.AddSharedImage(&source, 5, 40002), -1);

    MenuSystem modern(1, 0);
    const int plain = menu.AddSharedImage(&source, 0, 40003);
    EXPECT_EQ(theMenuImageIds.size(), count + 5);
    EXPECT_FALSE(CExtMenu::HasDerivedImages(plain));
    EXPECT_EQ(CExtMenu::SharedImageIndexOf(40003), plain);
    EXPECT_EQ(CExtMenu::SharedImageIndexOf(49999), -1);

    CImageList own;
    EXPECT_TRUE(menu.CopyItemImage(&source, 1, &own));
    EXPECT_EQ(own.GetImageCount(), 1);
    EXPECT_FALSE(menu.CopyItemImage(&source, -1, &own));
    EXPECT_FALSE(menu.CopyItemImage(nullptr, 0, &own));
}

TEST(ExtMenu, RebuiltContextMenusDoNotGrowTheSharedImages)
{
    CCommandImageList& registry = Registry();
    ASSERT_EQ(registry.GetCount(), 2);
    auto build = [&] {
        CExtMenu menu;
        menu.CreatePopupMenu();
        menu.AppendItem("Copy", 0, 57634);
        menu.AppendItem("Cut", 0, 57635);
        EXPECT_EQ(menu.LoadImages(nullptr), FALSE);
        return menu.LoadImages(&registry);
    };
    EXPECT_TRUE(build());
    const size_t count = theMenuImageIds.size();
    for (int i = 0; i < 3; ++i)
        build();
    EXPECT_EQ(theMenuImageIds.size(), count);
}
