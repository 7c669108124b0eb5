// The same drawing on a printer page and in an SVG picture.
#include "Platform/Dc.h"
#include "Platform/GdiData.h"
#include "Platform/MetaFileDc.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// A small diagram in page units: a box with a name, a dotted link and an arc.
void DrawScene(CDC& dc)
{
    dc.SetMapMode(MM_HIMETRIC);
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    CBrush brush(RGB(0xF3, 0xF2, 0xFF));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Rectangle(1000, -1000, 6000, -3000);
    LOGFONT lf{};
    lf.lfHeight = -400;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont font;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(1200, -1200, "Class1");
    CPen dotted(PS_DOT, 0, RGB(0, 0, 0));
    dc.SelectObject(&dotted);
    dc.MoveTo(6000, -2000);
    dc.LineTo(9000, -2000);
    dc.Arc(8000, -3000, 10000, -5000, 10000, -4000, 9000, -3000);
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectStockObject(WHITE_BRUSH);
    dc.SelectStockObject(SYSTEM_FONT);
}

TEST(DcTargets, SvgPictureRecordsTheDrawingAtScreenResolution)
{
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    CMetaFileDC meta;
    const RECT bounds{0, 0, 12000, 6000};
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    const std::string file = VEXAL_TEST_OUTPUT "/dctargets_picture.svg";
    ASSERT_TRUE(meta.CreateEnhanced(&screen, file.c_str(), &bounds, "Scene"));
    // Capabilities come from the reference context, as text is measured there.
    EXPECT_EQ(meta.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(CDC::FromHandle(meta.m_hDC)->GetDeviceCaps(TECHNOLOGY), DT_METAFILE);
    EXPECT_EQ(meta.GetDeviceCaps(LOGPIXELSX), 96);
    DrawScene(meta);
    POINT p{2540, -2540};
    meta.LPtoDP(&p);
    EXPECT_EQ(p.x, 96);
    EXPECT_EQ(p.y, 96);
    HENHMETAFILE picture = meta.CloseEnhanced();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(meta.m_hDC, nullptr);

    std::vector<BYTE> bytes(GetEnhMetaFileBits(picture, 0, nullptr));
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(GetEnhMetaFileBits(picture, UINT(bytes.size()), bytes.data()), bytes.size());
    const std::string svg(bytes.begin(), bytes.end());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("Class1"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 454 227\""), std::string::npos); // 12000 by 6000 units at 96 dpi
    QFile written(QString::fromStdString(file));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), svg);

    HENHMETAFILE copy = CopyEnhMetaFile(picture, nullptr);
    EXPECT_EQ(GetEnhMetaFileBits(copy, 0, nullptr), bytes.size());
    EXPECT_TRUE(DeleteEnhMetaFile(picture));
    EXPECT_FALSE(DeleteEnhMetaFile(picture));
    EXPECT_TRUE(DeleteEnhMetaFile(copy));

    CMetaFileDC empty;
    ASSERT_TRUE(empty.CreateEnhanced(nullptr, nullptr, &bounds, nullptr));
    HENHMETAFILE blank = empty.CloseEnhanced();
    std::string blankSvg(GetEnhMetaFileBits(blank, 0, nullptr), '\0');
    GetEnhMetaFileBits(blank, UINT(blankSvg.size()), reinterpret_cast<LPBYTE>(blankSvg.data()));
    EXPECT_NE(blankSvg.find("</svg>"), std::string::npos);
    DeleteEnhMetaFile(blank);

    CMetaFileDC unwritable;
    ASSERT_TRUE(unwritable.CreateEnhanced(nullptr, "/no/such/folder/x.svg", &bounds, nullptr));
    EXPECT_EQ(unwritable.CloseEnhanced(), nullptr);
}

// Text is measured on the attribute context, so the font and mapping a
// painter sets on the drawing context must reach it too; otherwise a printout
// or picture measures its small-font texts with whatever font the attribute
// context held.
TEST(DcTargets, FontsAndMappingReachTheAttributeContext)
{
    auto fontOf = [](int height) {
        LOGFONT lf{};
        lf.lfHeight = height;
        std::strcpy(lf.lfFaceName, "Arial");
        auto font = std::make_unique<CFont>();
        font->CreateFontIndirect(&lf);
        return font;
    };
    const auto normal = fontOf(-500), small = fontOf(-250);
    CDC plain;
    plain.CreateCompatibleDC(nullptr);
    plain.SetMapMode(MM_HIMETRIC);
    plain.SelectObject(normal.get());
    const CSize normalExtent = plain.GetTextExtent("Class1");
    plain.SelectObject(small.get());
    const CSize smallExtent = plain.GetTextExtent("Class1");
    ASSERT_LT(smallExtent.cx, normalExtent.cx);

    CDC reference;
    reference.CreateCompatibleDC(nullptr);
    CMetaFileDC meta;
    const RECT bounds{0, 0, 12000, 6000};
    ASSERT_TRUE(meta.CreateEnhanced(&reference, nullptr, &bounds, nullptr));
    meta.SetMapMode(MM_HIMETRIC);
    meta.SetWindowOrg(-300, 300);
    EXPECT_EQ(reference.GetMapMode(), MM_HIMETRIC);
    EXPECT_EQ(reference.GetWindowOrg(), CPoint(-300, 300));
    CFont* old = meta.SelectObject(normal.get());
    EXPECT_EQ(meta.GetTextExtent("Class1"), normalExtent);
    meta.SelectObject(small.get());
    EXPECT_EQ(meta.GetTextExtent("Class1"), smallExtent);
    meta.SelectObject(old);
    EXPECT_NE(meta.GetTextExtent("Class1"), smallExtent);
    DeleteEnhMetaFile(meta.CloseEnhanced());
}

TEST(DcTargets, PrinterPagesUseThePrintersResolution)
{
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    const QString file = VEXAL_TEST_OUTPUT "/dctargets_printer.pdf";
    QFile::remove(file);
    printer->setOutputFileName(file);
    CDC dc;
    ASSERT_TRUE(dc.Attach(CreateDeviceDC(printer, DcKind::Printer, true)));
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    const int dpi = dc.GetDeviceCaps(LOGPIXELSX);
    EXPECT_EQ(dpi, printer->resolution());
    EXPECT_GE(dc.GetDeviceCaps(PHYSICALWIDTH), dc.GetDeviceCaps(HORZRES));
    EXPECT_GE(dc.GetDeviceCaps(PHYSICALOFFSETX), 0);
    // Measuring as on screen: the context answers for the screen, the
    // printer's own handle for the paper.
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    dc.SetAttribDC(screen.m_hDC);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(dc.m_hDC, LOGPIXELSX), dpi);
    EXPECT_EQ(GetDeviceCaps(dc.m_hDC, PHYSICALWIDTH), CDC::FromHandle(dc.m_hDC)->GetDeviceCaps(PHYSICALWIDTH));
    dc.SetAttribDC(dc.m_hDC);
    EXPECT_EQ(dc.StartPage(), -1); // no document yet
    ASSERT_GT(dc.StartDoc("Scene"), 0);
    const int portraitWidth = dc.GetDeviceCaps(PHYSICALWIDTH);
    for (int page = 0; page < 2; ++page) {
        if (page == 1) {
            // The second page turns to landscape; the reset returns the mapping to MM_TEXT.
            DEVMODE mode{};
            mode.dmFields = DM_ORIENTATION;
            mode.dmOrientation = DMORIENT_LANDSCAPE;
            EXPECT_TRUE(dc.ResetDC(&mode));
            EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
            EXPECT_GT(dc.GetDeviceCaps(PHYSICALWIDTH), portraitWidth);
        }
        ASSERT_GT(dc.StartPage(), 0);
        DrawScene(dc);
        POINT p{2540, -2540};
        dc.LPtoDP(&p);
        EXPECT_EQ(p.x, dpi);
        EXPECT_GT(dc.EndPage(), 0);
    }
    EXPECT_GT(dc.EndDoc(), 0);
    EXPECT_TRUE(dc.DeleteDC());
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("MediaBox [0 0 595")); // A4 upright, then turned
    EXPECT_TRUE(bytes.contains("MediaBox [0 0 842"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2);
}

} // namespace
