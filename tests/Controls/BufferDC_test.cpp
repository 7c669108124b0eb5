// The off-screen drawing context: one copy to the target at the same place.
#include "Controls/BufferDC.h"
#include "Platform/GdiData.h"

#include <QDir>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

// A memory context over a white bitmap, standing for a window's paint context.
struct WhiteTarget {
    WhiteTarget(int width, int height)
    {
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        if (dc.CreateCompatibleDC(nullptr))
            old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    ~WhiteTarget() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

TEST(BufferDC, DrawsInTheTargetsCoordinatesAndCopiesOnce)
{
    WhiteTarget white(60, 40);
    CDC& target = white.dc;
    {
        CBufferDC buffer(&target, CRect(20, 10, 50, 30));
        buffer.FillSolidRect(20, 10, 30, 20, RGB(0, 0, 255));
        buffer.FillSolidRect(25, 15, 2, 2, RGB(255, 0, 0));
        buffer.FillSolidRect(0, 0, 10, 10, RGB(0, 255, 0)); // outside the rectangle: never shown
        EXPECT_EQ(target.GetPixel(25, 15), RGB(255, 255, 255)); // nothing shows before the copy
        target.SetMapMode(MM_HIMETRIC);
    }
    EXPECT_EQ(target.GetMapMode(), MM_TEXT);
    EXPECT_EQ(target.GetPixel(25, 15), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(20, 10), RGB(0, 0, 255));
    EXPECT_EQ(target.GetPixel(49, 29), RGB(0, 0, 255));
    EXPECT_EQ(target.GetPixel(50, 30), RGB(255, 255, 255));
    EXPECT_EQ(target.GetPixel(19, 10), RGB(255, 255, 255));
    EXPECT_EQ(target.GetPixel(5, 5), RGB(255, 255, 255));
}

TEST(BufferDC, ABitmapThatCannotBeMadeShowsNothingAndStillResetsTheMapping)
{
    WhiteTarget white(20, 20);
    CDC& target = white.dc;
    {
        CBufferDC buffer(&target, CRect(0, 0, 40000, 10)); // wider than any bitmap
        buffer.FillSolidRect(0, 0, 20, 20, RGB(255, 0, 0));
        target.SetMapMode(MM_HIMETRIC);
    }
    EXPECT_EQ(target.GetMapMode(), MM_TEXT);
    EXPECT_EQ(target.GetPixel(5, 5), RGB(255, 255, 255));
}

TEST(BufferDC, PrinterContextIsDrawnOnDirectlyAndStaysUsable)
{
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(VEXAL_TEST_OUTPUT "/bufferdc_printer.pdf");
    CDC target;
    ASSERT_TRUE(target.Attach(CreateDeviceDC(printer, DcKind::Printer, true)));
    EXPECT_TRUE(target.IsPrinting());
    ASSERT_GT(target.StartDoc("buffer"), 0);
    target.StartPage();
    {
        CBufferDC buffer(&target, CRect(0, 0, 100, 100));
        EXPECT_EQ(buffer.m_hDC, target.m_hDC);
        EXPECT_TRUE(buffer.IsPrinting());
        EXPECT_TRUE(buffer.Rectangle(10, 10, 90, 90));
    }
    EXPECT_TRUE(target.Ellipse(10, 10, 90, 90));
    target.EndPage();
    EXPECT_GT(target.EndDoc(), 0);
    EXPECT_TRUE(target.DeleteDC());
}

} // namespace
