// Printing the diagram into a PDF file, read back sheet by sheet: one sheet
// per page, turned as the page is, a page that fits at its own size and
// centred, a larger one scaled down to fit, the dialog's page range, and
// the view as it was afterwards.
#include "ElementNamed.h"
#include "PdfSheets.h"
#include "ShellHarness.h"

#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/Print.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

const UINT kPrint = 57607, kZoomIn = 32787, kNextPage = 32793;
const double kPointsPerHundredth = 72.0 / 2540.0;

// An A5 page, the same turned, an A3 page and one to be made A1.
const char* kElements =
    "<Classdiagram Name=\"D\" GUID=\"G1\">\r\n"
    "<Page Name=\"P1\" GUID=\"G2\" PageWidth=\"39D0\" PageHeight=\"5208\"/>\r\n"
    "<Page Name=\"P2\" GUID=\"G3\" PageWidth=\"5208\" PageHeight=\"39D0\"/>\r\n"
    "<Page Name=\"P3\" GUID=\"G4\" PageWidth=\"7404\" PageHeight=\"A410\"/>\r\n"
    "<Page Name=\"P4\" GUID=\"G5\"/>\r\n"
    "</Classdiagram>\r\n";

struct PageSize {
    int width, height;
};
const PageSize kPages[] = {{14800, 21000}, {21000, 14800}, {29700, 42000}, {59400, 84000}};
const int kEdge = 1500;

class ViewPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell.Start({shell.MakeProject("Sample", kElements)}));
        // Files cap a page at A2; a larger one can only be made in the model.
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", ElementNamed("P4")), 0);
        ModelPage row = *c.GetRecord();
        row.PageWidth = kPages[3].width;
        row.PageHeight = kPages[3].height;
        ASSERT_TRUE(theModelDb.UpdateRecord(c.GetCurrentOid(), &ModelPage::TableInfo, &row));
        ASSERT_TRUE(OpenDiagram(ElementNamed("D"), 0));
        view = GetMainView();
        shell.SizeView(600, 500);
        pdf = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + ".pdf";
        std::filesystem::remove(pdf);
    }

    // Print with the dialog answered: into the PDF file, with a range when
    // from is above 0, and a draft print quality that says nothing of the
    // printer's resolution.
    std::vector<PdfSheet> Print(int from = 0, int to = 0)
    {
        shell.Queue({DialogKind::Print, IDOK, [this, from, to](DialogRequest& request) {
                         auto* pd = static_cast<PRINTDLG*>(request.data);
                         EXPECT_EQ(pd->nMinPage, 1);
                         EXPECT_EQ(pd->nMaxPage, 4);
                         pd->Flags |= PD_PRINTTOFILE;
                         std::strncpy(pd->szPrintFile, pdf.c_str(), sizeof pd->szPrintFile - 1);
                         if (from > 0) {
                             pd->Flags |= PD_PAGENUMS;
                             pd->nFromPage = WORD(from);
                             pd->nToPage = WORD(to);
                         }
                         pd->pDevMode->dmPrintQuality = DMRES_DRAFT;
                     }});
        shell.Command(kPrint);
        EXPECT_EQ(shell.Unanswered(), 0u);
        if (std::system("command -v pdftoppm >/dev/null 2>&1") == 0) {
            const std::string png = pdf.substr(0, pdf.size() - 4);
            EXPECT_EQ(std::system(("pdftoppm -png -r 40 '" + pdf + "' '" + png + "'").c_str()), 0);
        }
        return ReadPdfSheets(pdf);
    }

    ShellHarness shell;
    CVexalView* view = nullptr;
    std::string pdf;
};

// The usable area's extent on the sheet, in points, for a page printed at
// the scale; what the view draws is the usable area's border.
void ExpectUsableArea(const PdfSheet& sheet, const PageSize& page, double scale)
{
    const double width = (page.width - 2 * kEdge) * kPointsPerHundredth * scale;
    const double height = (page.height - 2 * kEdge) * kPointsPerHundredth * scale;
    EXPECT_NEAR(sheet.right - sheet.left, width, 2.5);
    EXPECT_NEAR(sheet.bottom - sheet.top, height, 2.5);
}

TEST_F(ViewPrint, EachPagePrintsOnItsOwnSheetFittedToIt)
{
    const std::vector<PdfSheet> sheets = Print();
    ASSERT_EQ(sheets.size(), 4u);
    for (size_t i = 0; i < sheets.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const PdfSheet& s = sheets[i];
        const PageSize& page = kPages[i];
        EXPECT_EQ(s.width > s.height, page.width > page.height) << "the sheet is turned as the page is";
        ASSERT_GT(s.right, s.left) << "something was drawn";
        if (i < 2) {
            ExpectUsableArea(s, page, 1.0);
            EXPECT_NEAR(s.left, s.width - s.right, 2.5) << "centred across";
            EXPECT_NEAR(s.top, s.height - s.bottom, 2.5) << "centred down";
            continue;
        }
        // Scaled down, from the printable area's top-left, as far as the
        // printable area allows in one direction, keeping the proportions.
        const double printableWidth = s.width - 2 * s.left, printableHeight = s.height - 2 * s.top;
        const double usableWidth = (page.width - 2 * kEdge) * kPointsPerHundredth;
        const double usableHeight = (page.height - 2 * kEdge) * kPointsPerHundredth;
        const double scale = std::min(printableWidth / usableWidth, printableHeight / usableHeight);
        EXPECT_LT(scale, i == 3 ? 0.5 : 1.0);
        ExpectUsableArea(s, page, scale);
        EXPECT_LE(s.right, s.width);
        EXPECT_LE(s.bottom, s.height);
    }
}

TEST_F(ViewPrint, TheDialogsPageRangeIsPrinted)
{
    const std::vector<PdfSheet> sheets = Print(2, 3);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_GT(sheets[0].width, sheets[0].height);
    EXPECT_LT(sheets[1].width, sheets[1].height);
}

// Printing sets the zoom and turns the pages as it goes; afterwards the
// page shown, the zoom, the scroll sizes and the position are as before,
// and a cancelled dialog prints nothing.
TEST_F(ViewPrint, TheViewIsAsBeforeAfterPrinting)
{
    shell.Command(kNextPage);
    shell.Command(kZoomIn);
    shell.Command(kZoomIn);
    view->ScrollToPosition(CPoint(0, -2000));
    const PageState before = thePageState;
    const float zoom = GetZoom();
    const CSize total = view->GetTotalSize();
    const CPoint position = view->GetDeviceScrollPosition();
    ASSERT_GT(position.y, 0);
    auto expectAsBefore = [&] {
        EXPECT_EQ(thePageState.PageId, before.PageId);
        EXPECT_EQ(thePageState.PageIndex, 1);
        EXPECT_EQ(thePageState.PageWidth, before.PageWidth);
        EXPECT_FLOAT_EQ(GetZoom(), zoom);
        EXPECT_EQ(view->GetTotalSize(), total);
        EXPECT_EQ(view->GetDeviceScrollPosition(), position);
    };
    EXPECT_EQ(Print().size(), 4u);
    expectAsBefore();
    std::filesystem::remove(pdf);
    shell.Command(kPrint);
    expectAsBefore();
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "the dialog was cancelled";
    EXPECT_EQ(shell.Questions().back().kind, DialogKind::Print);
}

} // namespace
