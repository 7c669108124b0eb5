// The font dialog worked through the dialog hook as a user would: the
// faces, styles and sizes it lists from a fixed set of faces, typed sizes,
// the buttons each option shows, Apply, Reset and the character format
// forms; and its picture.
#include "FontFaces.h"
#include "PngFile.h"

#include "Controls/OptionTreeFontSelDialog.h"
#include "Platform/DialogHook.h"
#include "Platform/Edit.h"
#include "Platform/Playback.h"
#include "Platform/SysColors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The dialog's parent: notes each Apply report.
class ApplyOwner : public CWnd {
public:
    std::vector<WPARAM> ids;
    std::vector<LOGFONT> fonts;
    std::vector<CHARFORMAT> formats;
    bool charFormat = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == OT_FS_NOTIFY_APPLY) {
            ids.push_back(wParam);
            if (charFormat)
                formats.push_back(*reinterpret_cast<const CHARFORMAT*>(lParam));
            else
                fonts.push_back(*reinterpret_cast<const LOGFONT*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LOGFONT Font(const char* face, LONG height, LONG weight = FW_NORMAL, bool italic = false)
{
    LOGFONT lf{};
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    return lf;
}

// Runs the dialog modally; `act` works it inside the hook and the hook
// answers IDCANCEL when `act` leaves it open.
INT_PTR RunDialog(COptionTreeFontSelDialog& dialog, const std::function<void(COptionTreeFontSelDialog&)>& act)
{
    DialogHook old = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind != DialogKind::Template)
            return false;
        act(*dynamic_cast<COptionTreeFontSelDialog*>(static_cast<CDialog*>(request.data)));
        *answer = IDCANCEL;
        return true;
    });
    const INT_PTR result = dialog.DoModal();
    AfxSetDialogHook(old);
    return result;
}

void Click(CDialog& dialog, int id) { dialog.GetDlgItem(id)->SendMessage(BM_CLICK); }

CComboBox& List(CDialog& dialog, int id) { return *static_cast<CComboBox*>(dialog.GetDlgItem(id)); }

Texts Entries(CComboBox& list)
{
    Texts texts;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetLBText(i, text);
        texts.push_back(static_cast<const char*>(text));
    }
    return texts;
}

// Text put into the size field at once, as a paste would.
void Enter(CDialog& dialog, int id, const char* text)
{
    dialog.GotoDlgCtrl(dialog.GetDlgItem(id));
    static_cast<CEdit*>(dialog.GetDlgItem(id)->GetDlgItem(1001))->ReplaceSel(text);
}

struct Window {
    ApplyOwner owner;
    Window() { EXPECT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 80, 80, 400, 300, nullptr, nullptr)); }
};

TEST(FontSelDialog, SizesMatchWholeEntriesAndOthersReadAsBoundedNumbers)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    struct Case {
        LONG given;         // the font's height at opening
        const char* typed;  // nullptr: OK at once
        LONG chosen;
    };
    const Case cases[] = {
        { -16, "10.5", -15 },      // 11 points
        { -16, "0.4", -11 },       // no whole point: the first entry, 8 points
        { -16, "7", -9 },          // not the 72 that begins with it
        { -9, nullptr, -9 },       // a 7-point font stays 7 points
        { -16, "abc", -11 },       // no number
        { -16, "-5", -11 },        // below 1 point
        { -16, "100000", -11 },    // above 1638 points
        { -16, "1638", -2184 },
        { -16, "72", -96 },
    };
    for (const Case& c : cases) {
        COptionTreeFontSelDialog dialog(0, Font("Liberation Sans", c.given), &w.owner);
        const INT_PTR result = RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            if (c.typed)
                Enter(d, IDC_OT_FS_SIZE, c.typed);
            Click(d, IDC_OT_FS_OK);
        });
        EXPECT_EQ(IDC_OT_FS_OK, result);
        EXPECT_EQ(c.chosen, dialog.GetLogFont().lfHeight) << (c.typed ? c.typed : "opened");
    }
}

TEST(FontSelDialog, StylesAndSizesFollowTheFaceAndTheWantedStyle)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    const Texts four = { "Regular", "Bold", "Italic", "Bold Italic" };
    const Texts standard = { "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72" };
    struct Case {
        LOGFONT font;
        Texts styles;
        DWORD current;  // the style the result takes
        Texts sizes;
        std::vector<long> heights;  // of the first sizes
    };
    const Case cases[] = {
        { Font("Liberation Sans", -16), four, OT_FS_STYLE_REGULAR, standard, { -11, -12 } },
        { Font("Liberation Sans", -16, FW_BOLD, true), four, OT_FS_STYLE_BOLDITALIC, standard, { -11 } },
        // No regular style: the entry shown, bold, is the style taken.
        { Font("DejaVu Sans Mono", -16), { "Bold", "Italic", "Bold Italic" }, OT_FS_STYLE_BOLD, standard, { -11 } },
        { Font("DejaVu Sans Mono", -16, FW_NORMAL, true), { "Bold", "Italic", "Bold Italic" }, OT_FS_STYLE_ITALIC,
          standard, { -11 } },
        // A raster face lists only its own sizes, as cell heights.
        { Font("Fixed", -16), four, OT_FS_STYLE_REGULAR, { "10", "12" }, { 13, 16 } },
    };
    for (const Case& c : cases) {
        COptionTreeFontSelDialog dialog(0, c.font, &w.owner);
        RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            CComboBox& styles = List(d, IDC_OT_FS_STYLE);
            CComboBox& sizes = List(d, IDC_OT_FS_SIZE);
            EXPECT_EQ(c.styles, Entries(styles)) << c.font.lfFaceName;
            EXPECT_EQ(c.current, d.GetCurrentStyle()) << c.font.lfFaceName;
            EXPECT_EQ(int(c.current), int(styles.GetItemData(styles.GetCurSel()))) << c.font.lfFaceName;
            EXPECT_EQ(c.sizes, Entries(sizes)) << c.font.lfFaceName;
            for (size_t i = 0; i < c.heights.size(); ++i)
                EXPECT_EQ(c.heights[i], long(LONG_PTR(sizes.GetItemData(int(i))))) << c.font.lfFaceName;
            Click(d, IDC_OT_FS_OK);
        });
        EXPECT_EQ((c.current & OT_FS_STYLE_BOLD) ? FW_BOLD : FW_NORMAL, dialog.GetLogFont().lfWeight);
        EXPECT_EQ((c.current & OT_FS_STYLE_ITALIC) ? 1 : 0, dialog.GetLogFont().lfItalic);
        EXPECT_STREQ(c.font.lfFaceName, dialog.GetLogFont().lfFaceName);
    }
}

TEST(FontSelDialog, FacesAreListedOnceEachAndTrueTypeOnlyLeavesTheOthersOut)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    struct Case {
        DWORD options;
        Texts listed;
    };
    const Case cases[] = {
        { 0, { "DejaVu Sans Mono", "Fixed", "Liberation Sans", "Liberation Sans Narrow" } },
        { OT_FS_TRUETYPEONLY, { "DejaVu Sans Mono", "Liberation Sans", "Liberation Sans Narrow" } },
    };
    for (const Case& c : cases) {
        COptionTreeFontSelDialog dialog(c.options, Font("Liberation Sans", -16), &w.owner);
        RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            const Texts listed = Entries(List(d, IDC_OT_FS_FACE));
            EXPECT_EQ(c.listed, listed);
            const int selected = List(d, IDC_OT_FS_FACE).GetCurSel();
            ASSERT_GE(selected, 0);
            EXPECT_EQ("Liberation Sans", listed[size_t(selected)]);
        });
    }
}

TEST(FontSelDialog, ResetAndApplyAreShownByTheOptions)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    struct Case {
        DWORD options;
        bool apply, reset;
        bool resetInApplysPlace;
    };
    const Case cases[] = {
        { 0, false, false, false },
        { OT_FS_SHOWAPPLY, true, false, false },
        { OT_FS_SHOWRESET, false, true, true },
        { OT_FS_SHOWAPPLY | OT_FS_SHOWRESET, true, true, false },
    };
    for (const Case& c : cases) {
        COptionTreeFontSelDialog dialog(c.options, Font("Liberation Sans", -16), &w.owner);
        RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            CRect apply, reset;
            d.GetDlgItem(IDC_OT_FS_APPLY)->GetWindowRect(&apply);
            d.GetDlgItem(IDC_OT_FS_RESET)->GetWindowRect(&reset);
            EXPECT_EQ(c.apply, (d.GetDlgItem(IDC_OT_FS_APPLY)->GetStyle() & WS_VISIBLE) != 0) << c.options;
            EXPECT_EQ(c.reset, (d.GetDlgItem(IDC_OT_FS_RESET)->GetStyle() & WS_VISIBLE) != 0) << c.options;
            EXPECT_EQ(c.resetInApplysPlace, apply == reset) << c.options;
        });
    }
}

TEST(FontSelDialog, OptionsDisableTheirControls)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    COptionTreeFontSelDialog dialog(OT_FS_NOEFFECTS | OT_FS_NOCOLOR | OT_FS_NOFACE | OT_FS_NOSTYLE,
                                    Font("Liberation Sans", -16), &w.owner);
    RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
        for (int id : { IDC_OT_FS_UNDERLINE, IDC_OT_FS_STRIKEOUT, IDC_OT_FS_COLOR, IDC_OT_FS_FACE, IDC_OT_FS_STYLE })
            EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_TRUE(d.GetDlgItem(IDC_OT_FS_SIZE)->IsWindowEnabled());
    });
}

TEST(FontSelDialog, WithoutFacesTheListsAreDisabledAndTheFontStays)
{
    FontFaces faces({});
    Window w;
    COptionTreeFontSelDialog dialog(0, Font("Liberation Sans", -21), &w.owner);
    const INT_PTR result = RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
        for (int id : { IDC_OT_FS_FACE, IDC_OT_FS_SIZE, IDC_OT_FS_STYLE, IDC_OT_FS_UNDERLINE, IDC_OT_FS_STRIKEOUT })
            EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        Click(d, IDC_OT_FS_OK);
    });
    EXPECT_EQ(IDC_OT_FS_OK, result);
    EXPECT_EQ(-21, dialog.GetLogFont().lfHeight);
}

TEST(FontSelDialog, ApplyReportsTheChoiceToTheParentAndTheDialogStaysOpen)
{
    FontFaces faces(FontFaces::Mixed());
    for (bool charFormat : { false, true }) {
        Window w;
        w.owner.charFormat = charFormat;
        COptionTreeFontSelDialog dialog(OT_FS_SHOWAPPLY | (charFormat ? OT_FS_USECHARFORMAT : 0),
                                        Font("Liberation Sans", -16), &w.owner);
        dialog.SetNotifyId(77);
        dialog.SetColor(RGB(0, 0, 128));
        const INT_PTR result = RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            Enter(d, IDC_OT_FS_SIZE, "24");
            Click(d, IDC_OT_FS_UNDERLINE);
            Click(d, IDC_OT_FS_APPLY);
            EXPECT_TRUE(d.IsWindowVisible() || AfxHeadless());
            EXPECT_TRUE(::IsWindow(d.GetSafeHwnd()));
            Click(d, IDC_OT_FS_CANCEL);
        });
        EXPECT_EQ(IDC_OT_FS_CANCEL, result);
        EXPECT_EQ(std::vector<WPARAM>{ 77 }, w.owner.ids);
        if (charFormat) {
            ASSERT_EQ(1u, w.owner.formats.size());
            const CHARFORMAT& cf = w.owner.formats[0];
            EXPECT_EQ(32 * 15, cf.yHeight);  // 32 pixels in twips at 96 pixels an inch
            EXPECT_EQ(RGB(0, 0, 128), cf.crTextColor);
            EXPECT_EQ(DWORD(CFE_UNDERLINE), cf.dwEffects);
        } else {
            ASSERT_EQ(1u, w.owner.fonts.size());
            EXPECT_EQ(-32, w.owner.fonts[0].lfHeight);
            EXPECT_EQ(1, w.owner.fonts[0].lfUnderline);
            EXPECT_STREQ("Liberation Sans", w.owner.fonts[0].lfFaceName);
        }
        EXPECT_EQ(-16, dialog.GetLogFont().lfHeight);  // cancelled: the font stays
    }
}

TEST(FontSelDialog, ResetRestoresTheDefaultFontAndTheAutomaticColour)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    COptionTreeFontSelDialog dialog(OT_FS_SHOWRESET, Font("Liberation Sans", -32, FW_BOLD),
                                    Font("DejaVu Sans Mono", -16, FW_BOLD, true), &w.owner);
    dialog.SetColor(RGB(200, 0, 0));
    dialog.SetAutomaticColor(RGB(0, 100, 0));
    RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
        Click(d, IDC_OT_FS_RESET);
        Click(d, IDC_OT_FS_OK);
    });
    EXPECT_STREQ("DejaVu Sans Mono", dialog.GetLogFont().lfFaceName);
    EXPECT_EQ(-16, dialog.GetLogFont().lfHeight);
    EXPECT_EQ(1, dialog.GetLogFont().lfItalic);
    EXPECT_EQ(RGB(0, 100, 0), dialog.GetColor());
}

TEST(FontSelDialog, CharacterFormatsGiveTheColoursAndTakeTheResult)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    CHARFORMAT current{}, fallback{};
    current.cbSize = fallback.cbSize = sizeof(CHARFORMAT);
    current.yHeight = 240;  // 12 points
    current.dwEffects = CFE_BOLD | CFE_STRIKEOUT;
    current.crTextColor = RGB(10, 20, 30);
    std::strcpy(current.szFaceName, "Liberation Sans");
    fallback = current;
    fallback.crTextColor = RGB(40, 50, 60);
    COptionTreeFontSelDialog dialog(0, current, fallback, &w.owner);
    EXPECT_EQ(RGB(10, 20, 30), dialog.GetColor());
    EXPECT_EQ(RGB(40, 50, 60), dialog.GetAutomaticColor());
    RunDialog(dialog, [&](COptionTreeFontSelDialog& d) { Click(d, IDC_OT_FS_OK); });
    const CHARFORMAT out = dialog.GetCharFormat();
    EXPECT_EQ(240, out.yHeight);
    EXPECT_EQ(DWORD(CFE_BOLD | CFE_STRIKEOUT), out.dwEffects);
    EXPECT_EQ(RGB(10, 20, 30), out.crTextColor);
    EXPECT_STREQ("Liberation Sans", out.szFaceName);
}

TEST(FontSelDialogPicture, TheDialogWithItsSampleAndButtonsAndTheFacesWithTheirMark)
{
    FontFaces faces(FontFaces::Mixed());
    Window w;
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    struct Case {
        DWORD options;
        const char* file;
    };
    for (const Case& c : { Case{ OT_FS_SHOWRESET, "font_dialog_reset.png" },
                           Case{ OT_FS_SHOWAPPLY | OT_FS_SHOWRESET | OT_FS_SAMPLETEXT, "font_dialog_apply_reset_text.png" } }) {
        COptionTreeFontSelDialog dialog(c.options, Font("Liberation Sans", -24, FW_BOLD), &w.owner);
        dialog.SetSampleText("Class Customer");
        dialog.SetColor(RGB(0, 0, 160));
        RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
            Click(d, IDC_OT_FS_UNDERLINE);
            d.ShowWindow(SW_SHOW);
            d.UpdateWindow();
            EXPECT_NE(nullptr, d.GetSampleFont());
            EXPECT_TRUE(SaveWindowPicture(d.GetSafeHwnd(), (std::string(VEXAL_TEST_OUTPUT) + "/" + c.file).c_str()));
        });
    }

    // The dropped face list as its entries draw, the second one selected.
    COptionTreeFontSelDialog dialog(0, Font("Liberation Sans", -16), &w.owner);
    RunDialog(dialog, [&](COptionTreeFontSelDialog& d) {
        CComboBox& list = List(d, IDC_OT_FS_FACE);
        const int width = 180, height = 18;
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, width, height * list.GetCount()));
        CBitmap* old = dc.SelectObject(&bitmap);
        CFont* font = d.GetFont();
        CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
        CRect unit(0, 0, 4, 0);
        d.MapDialogRect(&unit);
        const int u = unit.Width() / 4;
        for (int i = 0; i < list.GetCount(); ++i) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_COMBOBOX;
            item.itemID = UINT(i);
            item.itemState = i == 1 ? ODS_SELECTED | ODS_FOCUS : 0;
            item.hDC = dc.GetSafeHdc();
            item.rcItem = CRect(0, i * height, width, (i + 1) * height);
            item.itemData = list.GetItemData(i);
            item.hwndItem = list.GetSafeHwnd();
            list.DrawItem(&item);
            // The black T of the mark, row 4 of the 12 rows, in TrueType entries only.
            const COLORREF mark = dc.GetPixel(u + 10, i * height + (height - 12) / 2 + 4);
            const bool trueType = Entries(list)[size_t(i)] != "Fixed";
            EXPECT_EQ(trueType, mark == RGB(0, 0, 0)) << Entries(list)[size_t(i)];
        }
        EXPECT_TRUE(WritePng(dc, width, height * list.GetCount(), "font_dialog_faces.png"));
        if (oldFont)
            dc.SelectObject(oldFont);
        dc.SelectObject(old);
    });
}

} // namespace
