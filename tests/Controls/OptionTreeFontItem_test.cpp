// The font row: set-up refused outside a grid, the text its value shows,
// the dialog it runs when its value is clicked, the height a chosen font
// gives it, the one commit per choice in order with the grid's own
// notifications, a cancel that changes nothing; and its pictures.
#include "FontFaces.h"
#include "GridFixture.h"

#include "Controls/OptionTreeFontItem.h"
#include "Controls/OptionTreeFontSelDialog.h"
#include "Platform/DialogHook.h"
#include "Platform/Edit.h"
#include "Platform/SysColors.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Codes = std::vector<int>;

LOGFONT Font(const char* face, LONG height, LONG weight = FW_NORMAL)
{
    LOGFONT lf{};
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return lf;
}

// Answers the font dialog inside the hook with `act`, noting what it was
// given; IDCANCEL when `act` leaves it open.
struct FontAnswer {
    std::function<void(COptionTreeFontSelDialog&)> act;
    int runs = 0;
    COLORREF colour = 0, automatic = 0;
    LOGFONT given{};
    DialogHook old;

    explicit FontAnswer(std::function<void(COptionTreeFontSelDialog&)> answer) : act(std::move(answer))
    {
        old = AfxSetDialogHook([this](DialogRequest& request, INT_PTR* result) {
            if (request.kind != DialogKind::Template || request.templateId != IDD_OT_FONTSEL)
                return false;
            auto& d = *dynamic_cast<COptionTreeFontSelDialog*>(static_cast<CDialog*>(request.data));
            ++runs;
            colour = d.GetColor();
            automatic = d.GetAutomaticColor();
            given = d.GetLogFont();
            act(d);
            *result = IDCANCEL;
            return true;
        });
    }
    ~FontAnswer() { AfxSetDialogHook(old); }
};

// The size typed into the dialog at once, then OK.
std::function<void(COptionTreeFontSelDialog&)> Choose(const char* size)
{
    return [size](COptionTreeFontSelDialog& d) {
        d.GotoDlgCtrl(d.GetDlgItem(IDC_OT_FS_SIZE));
        static_cast<CEdit*>(d.GetDlgItem(IDC_OT_FS_SIZE)->GetDlgItem(1001))->ReplaceSel(size);
        d.GetDlgItem(IDC_OT_FS_OK)->SendMessage(BM_CLICK);
    };
}

struct FontPane : GridFixture {
    FontFaces faces{ FontFaces::Mixed() };
    COptionTreeItem* general = Category("General");
    COptionTreeEditItem* name = Edit(general, "Name", "x");
    COptionTreeFontItem* font = new COptionTreeFontItem;

    explicit FontPane(DWORD options = 0)
    {
        grid.InsertItem(font, general);
        font->SetLabelText("Font");
        EXPECT_TRUE(font->CreateFontItem(Font("Liberation Sans", -16), RGB(0, 0, 128), Font("Fixed", -13),
                                         RGB(0, 128, 0), options));
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
};

TEST(FontRow, SetUpIsRefusedOutsideAGrid)
{
    COptionTreeFontItem loose;
    CHARFORMAT cf{};
    EXPECT_FALSE(loose.CreateFontItem(Font("Liberation Sans", -16), RGB(1, 2, 3), 0));
    EXPECT_FALSE(loose.CreateFontItem(cf, RGB(1, 2, 3), cf, 0, 0));
    EXPECT_EQ(0, loose.GetLogFont().lfHeight);
    EXPECT_EQ(COLORREF(0), loose.GetColor());
    EXPECT_EQ(OT_ITEM_FONT, loose.GetType());
}

TEST(FontRow, TheValueShowsTheSampleTextTheFaceOrTheDefaultSample)
{
    struct Case {
        DWORD options;
        const char* shown;
    };
    const Case cases[] = {
        { 0, "AaBbYyZz" },
        { OT_FS_SAMPLEFACE, "Liberation Sans" },
        { OT_FS_SAMPLETEXT, "Customer" },
        { OT_FS_SAMPLETEXT | OT_FS_SAMPLEFACE, "Customer" },
    };
    for (const Case& c : cases) {
        COptionTreeFontItem row;
        row.SetLogFont(Font("Liberation Sans", -16));
        row.SetSampleText("Customer");
        row.SetOption(c.options, TRUE);
        EXPECT_EQ(CString(c.shown), row.GetShownText()) << c.options;
    }
}

TEST(FontRow, AChosenFontCommitsOnceAndSizesTheRow)
{
    FontPane p(OT_FS_SHOWRESET);
    const long setUp = p.font->GetHeight();
    ASSERT_LT(setUp, 34);
    {
        FontAnswer answer(Choose("18"));  // 24 pixels
        p.Click(p.ValuePoint(p.font));
        EXPECT_EQ(1, answer.runs);
        EXPECT_EQ(RGB(0, 0, 128), answer.colour);
        EXPECT_EQ(RGB(0, 128, 0), answer.automatic);
        EXPECT_EQ(-16, answer.given.lfHeight);
    }
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK, OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(p.font, p.owner.rows.back());
    EXPECT_EQ(-24, p.font->GetLogFont().lfHeight);
    EXPECT_EQ(34, p.font->GetHeight());
    EXPECT_TRUE(p.font->IsLabelAtTop());

    p.owner.Clear();
    {
        FontAnswer answer(Choose("6"));  // 8 pixels: 18 is below the set-up height
        p.Click(p.ValuePoint(p.font));
    }
    EXPECT_EQ((Codes{ OTN_VALUECLICK, OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(setUp, p.font->GetHeight());
    EXPECT_FALSE(p.font->IsLabelAtTop());
}

TEST(FontRow, ACancelledDialogChangesNothingAndCommitsNothing)
{
    FontPane p;
    const long setUp = p.font->GetHeight();
    for (int button : { IDC_OT_FS_CANCEL, int(IDCANCEL) }) {
        p.owner.Clear();
        FontAnswer answer([button](COptionTreeFontSelDialog& d) {
            static_cast<CEdit*>(d.GetDlgItem(IDC_OT_FS_SIZE)->GetDlgItem(1001))->ReplaceSel("48");
            if (button == IDCANCEL)
                d.SendMessage(WM_COMMAND, IDCANCEL);
            else
                d.GetDlgItem(button)->SendMessage(BM_CLICK);
        });
        p.Click(p.ValuePoint(p.font));
        EXPECT_EQ(1, answer.runs);
        EXPECT_EQ(-16, p.font->GetLogFont().lfHeight) << button;
        EXPECT_EQ(setUp, p.font->GetHeight());
        EXPECT_EQ(0, int(std::count(p.owner.codes.begin(), p.owner.codes.end(), OTN_ITEMCOMMITTED))) << button;
    }
}

// Notes the notify ids of the dialog's Apply reports.
class ApplyRecorder : public CWnd {
public:
    std::vector<WPARAM> ids;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == OT_FS_NOTIFY_APPLY)
            ids.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(FontRow, TheDialogParentHearsApplyAndTheCharacterFormatForms)
{
    FontPane p(OT_FS_SHOWAPPLY);
    ApplyRecorder recorder;
    ASSERT_TRUE(recorder.CreateEx(0, nullptr, "recorder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    p.font->SetDialogParent(&recorder);
    {
        FontAnswer answer([](COptionTreeFontSelDialog& d) {
            d.GetDlgItem(IDC_OT_FS_APPLY)->SendMessage(BM_CLICK);
            Choose("12")(d);
        });
        p.Click(p.ValuePoint(p.font));
    }
    EXPECT_EQ(std::vector<WPARAM>{ WPARAM(p.font->GetItemID()) }, recorder.ids);
    const CHARFORMAT cf = p.font->GetCharFormat();
    EXPECT_EQ(16 * 15, cf.yHeight);
    EXPECT_EQ(RGB(0, 0, 128), cf.crTextColor);
    CHARFORMAT set = cf;
    set.yHeight = 480;
    set.crTextColor = RGB(9, 9, 9);  // a format's colour is not the row's
    COptionTreeFontItem* other = new COptionTreeFontItem;
    p.grid.InsertItem(other, p.general);
    EXPECT_TRUE(other->CreateFontItem(set, RGB(1, 1, 1), 0));
    EXPECT_EQ(-32, other->GetLogFont().lfHeight);
    EXPECT_EQ(RGB(1, 1, 1), other->GetColor());
}

TEST(FontRowPictures, IdleSelectedReadOnlyAndDisabled)
{
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    const std::string out = VEXAL_TEST_OUTPUT;
    struct Case {
        const char* file;
        bool readOnly, disabled, selected;
    };
    for (const Case& c : { Case{ "property_grid_font_rows.png", false, false, false },
                           Case{ "property_grid_font_rows_selected.png", false, false, true },
                           Case{ "property_grid_font_rows_readonly.png", true, false, false },
                           Case{ "property_grid_font_rows_disabled.png", false, true, false } }) {
        FontPane p(OT_FS_SAMPLETEXT);
        p.font->SetSampleText("Customer");
        COptionTreeFontItem* face = new COptionTreeFontItem;
        p.grid.InsertItem(face, p.general);
        face->SetLabelText("Heading");
        EXPECT_TRUE(face->CreateFontItem(Font("DejaVu Sans Mono", -24, FW_BOLD), RGB(160, 0, 0), OT_FS_SAMPLEFACE));
        face->SetHeight(34);
        face->SetLabelAtTop(TRUE);
        COptionTreeFontItem* plain = new COptionTreeFontItem;
        p.grid.InsertItem(plain, p.general);
        plain->SetLabelText("Comment");
        EXPECT_TRUE(plain->CreateFontItem(Font("Liberation Serif", -13), RGB(0, 0, 0), 0));
        p.grid.UpdateScroll();
        if (c.readOnly)
            for (COptionTreeFontItem* row : { p.font, face, plain })
                row->SetReadOnly(TRUE);
        if (c.disabled)
            p.grid.EnableWindow(FALSE);
        if (c.selected)
            p.font->Select(TRUE);
        p.grid.GetListWnd()->Invalidate();
        p.grid.GetListWnd()->UpdateWindow();
        EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(), (out + "/" + c.file).c_str()));
    }
}

} // namespace
