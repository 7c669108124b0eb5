// Pixel tests of CDC: edges, pens, arcs, mapping, raster operations, clipping.
#include "DcFixture.h"
#include "Platform/SysColors.h"

#include <functional>
#include <string>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

TEST(DcShapes, RectangleAndEllipseExcludeRightAndBottomEdges)
{
    struct Case {
        const char* name;
        bool ellipse;
        int width; // pen width
    };
    const Case cases[] = {{"rect_cosmetic", false, 0}, {"rect_one", false, 1}, {"ellipse_cosmetic", true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DcCanvas canvas(40, 30);
        CPen pen(PS_SOLID, c.width, kBlack);
        canvas.dc.SelectObject(&pen);
        canvas.dc.SelectStockObject(NULL_BRUSH);
        if (c.ellipse)
            canvas.dc.Ellipse(5, 4, 25, 20);
        else
            canvas.dc.Rectangle(5, 4, 25, 20);
        canvas.Save(std::string("dc_") + c.name);
        EXPECT_EQ(canvas.InkBox(), QRect(QPoint(5, 4), QPoint(24, 19)));
        if (!c.ellipse) {
            EXPECT_EQ(canvas.Pixel(5, 4), kBlack);
            EXPECT_EQ(canvas.Pixel(24, 19), kBlack);
            EXPECT_EQ(canvas.Pixel(6, 5), kWhite);
        }
    }
}

TEST(DcShapes, NullPenRectangleFillsOneLessEachWay)
{
    DcCanvas canvas(30, 30);
    CBrush brush(RGB(0, 0, 255));
    canvas.dc.SelectStockObject(NULL_PEN);
    canvas.dc.SelectObject(&brush);
    canvas.dc.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(canvas.InkBox(), QRect(QPoint(2, 2), QPoint(10, 10)));
}

TEST(DcLines, LineExcludesItsEndPoint)
{
    struct Case {
        int x0, y0, x1, y1;
        QPoint last, excluded;
    };
    const Case cases[] = {
        {2, 5, 12, 5, {11, 5}, {12, 5}},
        {12, 5, 2, 5, {3, 5}, {2, 5}},
        {4, 1, 4, 11, {4, 10}, {4, 11}},
        {1, 1, 9, 9, {8, 8}, {9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        DcCanvas canvas(16, 16);
        canvas.dc.MoveTo(c.x0, c.y0);
        canvas.dc.LineTo(c.x1, c.y1);
        EXPECT_EQ(canvas.Pixel(c.x0, c.y0), kBlack);
        EXPECT_EQ(canvas.Pixel(c.last.x(), c.last.y()), kBlack);
        EXPECT_EQ(canvas.Pixel(c.excluded.x(), c.excluded.y()), kWhite);
        EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(c.x1, c.y1));
    }
}

TEST(DcLines, DottedPenAlternatesThreeOnThreeOffAndFillsGapsWhenOpaque)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        SCOPED_TRACE(mode == OPAQUE ? "opaque" : "transparent");
        DcCanvas canvas(40, 8);
        canvas.dc.FillSolidRect(0, 0, 40, 8, RGB(255, 0, 0));
        CPen dotted(PS_DOT, 0, kBlack);
        canvas.dc.SelectObject(&dotted);
        canvas.dc.SetBkMode(mode);
        canvas.dc.SetBkColor(RGB(0, 255, 0));
        canvas.dc.MoveTo(0, 3);
        canvas.dc.LineTo(30, 3);
        canvas.Save(mode == OPAQUE ? "dc_dot_opaque" : "dc_dot_transparent");
        const COLORREF gap = mode == OPAQUE ? RGB(0, 255, 0) : RGB(255, 0, 0);
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(canvas.Pixel(x, 3), (x / 3) % 2 == 0 ? kBlack : gap) << "x=" << x;
        EXPECT_EQ(canvas.Pixel(5, 2), RGB(255, 0, 0));
    }
}

TEST(DcLines, CosmeticPenStaysOnePixelUnderHimetric)
{
    DcCanvas canvas(100, 60);
    canvas.dc.SetMapMode(MM_HIMETRIC);
    CPen cosmetic(PS_SOLID, 0, kBlack);
    canvas.dc.SelectObject(&cosmetic);
    canvas.dc.MoveTo(0, -1000);
    canvas.dc.LineTo(2540, -1000);
    const QRect ink = canvas.InkBox();
    EXPECT_EQ(ink.height(), 1);
    EXPECT_EQ(ink.left(), 0);
    EXPECT_EQ(ink.right(), 95);
}

TEST(DcMapping, HimetricCountsHundredthsOfMillimetresWithYUp)
{
    DcCanvas canvas(120, 120);
    CDC& dc = canvas.dc;
    EXPECT_EQ(dc.SetMapMode(MM_HIMETRIC), MM_TEXT);
    POINT points[] = {{0, 0}, {2540, -2540}, {1270, -254}};
    dc.LPtoDP(points, 3);
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[1].x, 96);
    EXPECT_EQ(points[1].y, 96);
    EXPECT_EQ(points[2].x, 48);
    EXPECT_EQ(points[2].y, 10);
    dc.DPtoLP(points + 1, 1);
    EXPECT_EQ(points[1].x, 2540);
    EXPECT_EQ(points[1].y, -2540);
    SIZE size{96, 48};
    dc.DPtoLP(&size);
    EXPECT_EQ(size.cx, 2540);
    EXPECT_EQ(size.cy, 1270);

    // Origins: the viewport origin moves the device picture, the window origin the logical one.
    dc.SetViewportOrg(10, 20);
    dc.SetWindowOrg(-2540, 2540);
    POINT p{0, 0};
    dc.LPtoDP(&p);
    EXPECT_EQ(p.x, 10 + 96);
    EXPECT_EQ(p.y, 20 + 96);

    // A rectangle given top-down in y-up units lands with its top on the screen's top.
    dc.SetViewportOrg(0, 0);
    dc.SetWindowOrg(0, 0);
    CBrush brush(RGB(0, 0, 200));
    dc.SelectObject(&brush);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(254, -254, 2540, -1270);
    canvas.Save("dc_himetric");
    EXPECT_EQ(canvas.InkBox(), QRect(QPoint(10, 10), QPoint(94, 46)));
}

TEST(DcShapes, ArcRunsCounterClockwiseFromStartToEnd)
{
    // East to north is the upper-right quarter; north to east the other three.
    struct Case {
        POINT start, end;
        bool upperRight, lowerRight, upperLeft;
    };
    const Case cases[] = {
        {{60, 20}, {20, 0}, true, false, false},
        {{20, 0}, {60, 20}, false, true, true},
    };
    for (const Case& c : cases) {
        DcCanvas canvas(48, 48);
        canvas.dc.Arc(4, 4, 44, 44, c.start.x, c.start.y, c.end.x, c.end.y);
        canvas.Save(c.upperRight ? "dc_arc_quarter" : "dc_arc_three_quarters");
        auto inkNear = [&](int x0, int y0) {
            for (int y = y0 - 3; y <= y0 + 3; ++y)
                for (int x = x0 - 3; x <= x0 + 3; ++x)
                    if (canvas.IsInk(x, y))
                        return true;
            return false;
        };
        // Points on the circle at 45 degrees in each quadrant.
        EXPECT_EQ(inkNear(38, 10), c.upperRight);
        EXPECT_EQ(inkNear(38, 38), c.lowerRight);
        EXPECT_EQ(inkNear(10, 10), c.upperLeft);
    }
}

TEST(DcRaster, XorPenDrawingTwiceRestoresThePicture)
{
    DcCanvas canvas(40, 30);
    canvas.dc.FillSolidRect(0, 0, 20, 30, RGB(10, 200, 30));
    canvas.dc.SetROP2(R2_XORPEN);
    CPen pen(PS_SOLID, 0, RGB(0x0A, 0x1E, 0x1E));
    CBrush brush(RGB(0x0A, 0x1E, 0x1E));
    canvas.dc.SelectObject(&pen);
    canvas.dc.SelectObject(&brush);
    canvas.dc.Rectangle(5, 5, 35, 25);
    EXPECT_EQ(canvas.Pixel(10, 10), RGB(10 ^ 0x0A, 200 ^ 0x1E, 30 ^ 0x1E));
    EXPECT_EQ(canvas.Pixel(5, 5), RGB(10 ^ 0x0A, 200 ^ 0x1E, 30 ^ 0x1E));
    EXPECT_EQ(canvas.Pixel(30, 10), RGB(255 ^ 0x0A, 255 ^ 0x1E, 255 ^ 0x1E));
    canvas.Save("dc_xor_once");
    canvas.dc.Rectangle(5, 5, 35, 25);
    EXPECT_EQ(canvas.Pixel(10, 10), RGB(10, 200, 30));
    EXPECT_EQ(canvas.Pixel(5, 5), RGB(10, 200, 30));
    EXPECT_EQ(canvas.Pixel(30, 24), kWhite);

    canvas.dc.SetROP2(R2_NOT);
    canvas.dc.MoveTo(0, 28);
    canvas.dc.LineTo(40, 28);
    EXPECT_EQ(canvas.Pixel(3, 28), RGB(245, 55, 225));
    EXPECT_EQ(canvas.Pixel(30, 28), kBlack);
}

TEST(DcRaster, BlockTransfersApplyTheirRasterOperation)
{
    const COLORREF src = RGB(0xF0, 0x0F, 0x55);
    const COLORREF dst = RGB(0x3C, 0xC3, 0xAA);
    const COLORREF pat = RGB(0x66, 0x99, 0x0F);
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF expected;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, src},
        {"SRCAND", SRCAND, src & dst},
        {"SRCPAINT", SRCPAINT, src | dst},
        {"SRCINVERT", SRCINVERT, src ^ dst},
        {"NOTSRCCOPY", NOTSRCCOPY, ~src & 0xFFFFFF},
        {"PATCOPY", PATCOPY, pat},
        {"PATINVERT", PATINVERT, pat ^ dst},
        {"DSTINVERT", DSTINVERT, ~dst & 0xFFFFFF},
        {"BLACKNESS", BLACKNESS, 0},
        {"WHITENESS", WHITENESS, 0xFFFFFF},
        {"MERGECOPY", MERGECOPY, src & pat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DcCanvas from(8, 8), to(8, 8);
        from.dc.FillSolidRect(0, 0, 8, 8, src);
        to.dc.FillSolidRect(0, 0, 8, 8, dst);
        CBrush brush(pat);
        to.dc.SelectObject(&brush);
        if (c.rop == PATCOPY || c.rop == PATINVERT || c.rop == DSTINVERT || c.rop == BLACKNESS || c.rop == WHITENESS)
            EXPECT_TRUE(to.dc.PatBlt(2, 2, 4, 4, c.rop));
        else
            EXPECT_TRUE(to.dc.BitBlt(2, 2, 4, 4, &from.dc, 0, 0, c.rop));
        EXPECT_EQ(to.Pixel(3, 3), c.expected);
        EXPECT_EQ(to.Pixel(6, 6), dst);
        EXPECT_EQ(to.Pixel(1, 1), dst);
    }
}

// A monochrome mask blitted onto colour takes the destination's text colour
// for black and background colour for white; the two ternary codes the
// disabled-image painters use then pick brush or destination by the mask.
TEST(DcRaster, MonochromeMaskSelectsBrushOrDestination)
{
    CDC maskDc;
    maskDc.CreateCompatibleDC(nullptr);
    CBitmap mask;
    mask.CreateBitmap(8, 1, 1, 1, nullptr);
    CBitmap* oldMask = maskDc.SelectObject(&mask);
    maskDc.FillSolidRect(0, 0, 8, 1, kWhite);
    maskDc.SetPixel(1, 0, kBlack);
    maskDc.SetPixel(2, 0, RGB(10, 10, 10));
    EXPECT_EQ(maskDc.GetPixel(2, 0), kBlack);
    EXPECT_EQ(maskDc.GetPixel(3, 0), kWhite);

    const COLORREF dest = RGB(100, 150, 200), brushColor = RGB(255, 0, 0);
    struct Case {
        DWORD rop;
        COLORREF fore, back; // text and background colours of the destination
        COLORREF onBlack, onWhite;
    };
    const Case cases[] = {
        {0x00E20746u, kWhite, kBlack, brushColor, dest},
        {0x00B8074Au, kBlack, kWhite, brushColor, dest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.rop);
        DcCanvas canvas(8, 1);
        canvas.dc.FillSolidRect(0, 0, 8, 1, dest);
        canvas.dc.SetTextColor(c.fore);
        canvas.dc.SetBkColor(c.back);
        CBrush brush(brushColor);
        canvas.dc.SelectObject(&brush);
        canvas.dc.BitBlt(0, 0, 8, 1, &maskDc, 0, 0, c.rop);
        EXPECT_EQ(canvas.Pixel(1, 0), c.onBlack);
        EXPECT_EQ(canvas.Pixel(2, 0), c.onBlack);
        EXPECT_EQ(canvas.Pixel(4, 0), c.onWhite);
    }

    // Colour to monochrome: the source's background colour becomes white,
    // into a monochrome bitmap or a one-bit device-independent one alike.
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 8, 1, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    void* bits = &info;
    CBitmap dib;
    ASSERT_TRUE(dib.Attach(CreateDIBSection(maskDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
    EXPECT_EQ(bits, nullptr);
    BITMAP dibInfo;
    dib.GetBitmap(&dibInfo);
    EXPECT_EQ(dibInfo.bmBitsPixel, 1);
    info.bmiHeader.biBitCount = 4;
    EXPECT_EQ(CreateDIBSection(maskDc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    DcCanvas colour(8, 1);
    colour.dc.FillSolidRect(0, 0, 8, 1, GetSysColor(COLOR_BTNFACE));
    colour.dc.SetPixel(5, 0, RGB(1, 2, 3));
    colour.dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    for (CBitmap* target : {&mask, &dib}) {
        maskDc.SelectObject(target);
        maskDc.BitBlt(0, 0, 8, 1, &colour.dc, 0, 0, SRCCOPY);
        EXPECT_EQ(maskDc.GetPixel(4, 0), kWhite);
        EXPECT_EQ(maskDc.GetPixel(5, 0), kBlack);
    }
    maskDc.SelectObject(oldMask);
}

// Drag feedback is drawn twice: once to show it and once to take it away.
TEST(DcRaster, ReversibleFeedbackRestoresThePicture)
{
    BYTE halftone[16] = {};
    for (int i = 0; i < 8; ++i)
        halftone[2 * i] = BYTE(i % 2 ? 0x55 : 0xAA);
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, halftone);
    CBrush halftoneBrush;
    halftoneBrush.CreatePatternBrush(&pattern);
    const std::function<void(CDC&)> feedback[] = {
        [](CDC& dc) { CRect r(3, 4, 27, 17); dc.DrawFocusRect(&r); },
        [](CDC& dc) { CRect r(3, 4, 27, 17); dc.InvertRect(&r); },
        [&](CDC& dc) { dc.SelectObject(&halftoneBrush); dc.PatBlt(2, 2, 20, 11, PATINVERT); },
        [](CDC& dc) { dc.SetROP2(R2_NOT); dc.Rectangle(5, 5, 25, 15); dc.SetROP2(R2_COPYPEN); },
    };
    int n = 0;
    for (const auto& draw : feedback) {
        SCOPED_TRACE(n);
        DcCanvas canvas(30, 20);
        canvas.dc.FillSolidRect(0, 0, 15, 20, RGB(10, 120, 200));
        const QImage before = BitmapFromHandle(canvas.bitmap.m_hObject)->image.copy();
        draw(canvas.dc);
        canvas.Save("dc_feedback_" + std::to_string(n++));
        EXPECT_NE(BitmapFromHandle(canvas.bitmap.m_hObject)->image, before);
        draw(canvas.dc);
        EXPECT_EQ(BitmapFromHandle(canvas.bitmap.m_hObject)->image, before);
    }
}

TEST(DcRaster, StretchBltScalesTheSource)
{
    DcCanvas from(4, 2), to(16, 8);
    from.dc.SetPixel(0, 0, RGB(255, 0, 0));
    from.dc.SetPixel(3, 1, RGB(0, 0, 255));
    EXPECT_TRUE(to.dc.StretchBlt(0, 0, 16, 8, &from.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(to.Pixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(to.Pixel(4, 3), RGB(255, 255, 255));
    EXPECT_EQ(to.Pixel(15, 7), RGB(0, 0, 255));
    EXPECT_EQ(to.Pixel(12, 4), RGB(0, 0, 255));
}

TEST(DcFill, FrameControlsShowTheirState)
{
    DcCanvas canvas(60, 20);
    CRect unchecked(2, 2, 15, 15), checked(20, 2, 33, 15), pushed(40, 2, 58, 18);
    canvas.dc.DrawFrameControl(&unchecked, DFC_BUTTON, DFCS_BUTTONCHECK);
    canvas.dc.DrawFrameControl(&checked, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    canvas.dc.DrawFrameControl(&pushed, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED);
    canvas.Save("dc_frame_controls");
    auto inkInside = [&](const CRect& r, COLORREF colour) {
        int count = 0;
        for (int y = r.top + 3; y < r.bottom - 3; ++y)
            for (int x = r.left + 3; x < r.right - 3; ++x)
                count += canvas.Pixel(x, y) == colour;
        return count;
    };
    EXPECT_EQ(inkInside(unchecked, RGB(0, 0, 0)), 0);
    EXPECT_GT(inkInside(checked, RGB(0, 0, 0)), 10);
    EXPECT_EQ(canvas.Pixel(2, 2), GetSysColor(COLOR_BTNSHADOW)); // sunken box edge
    EXPECT_EQ(canvas.Pixel(40, 2), GetSysColor(COLOR_BTNSHADOW)); // pushed button edge
    EXPECT_GT(inkInside(pushed, GetSysColor(COLOR_BTNTEXT)), 3);  // the arrow
}

TEST(DcFill, HatchedAndPatternBrushesLineUpWithTheDevice)
{
    DcCanvas canvas(24, 24);
    CBrush hatch(HS_FDIAGONAL, RGB(0, 0, 255));
    canvas.dc.SetBkColor(RGB(255, 255, 0));
    RECT r{3, 3, 19, 19};
    canvas.dc.FillRect(&r, &hatch);
    canvas.Save("dc_hatch");
    EXPECT_EQ(canvas.Pixel(8, 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(9, 1 + 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(9, 8), RGB(255, 255, 0));
    EXPECT_EQ(canvas.Pixel(2, 2), kWhite);

    // An 8x8 monochrome pattern takes the text and background colours.
    BYTE rows[16] = {}; // rows of 16 bits, 1 bits white
    for (int i = 0; i < 8; ++i)
        rows[2 * i] = BYTE(i % 2 ? 0x55 : 0xAA);
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, rows);
    CBrush patternBrush;
    ASSERT_TRUE(patternBrush.CreatePatternBrush(&pattern));
    DcCanvas checker(8, 8);
    checker.dc.SetTextColor(RGB(200, 0, 0));
    checker.dc.SetBkColor(RGB(0, 0, 200));
    RECT all{0, 0, 8, 8};
    checker.dc.FillRect(&all, &patternBrush);
    EXPECT_EQ(checker.Pixel(0, 0), RGB(0, 0, 200));
    EXPECT_EQ(checker.Pixel(1, 0), RGB(200, 0, 0));
}

TEST(DcFill, SolidRectsAndThreeDFrames)
{
    DcCanvas canvas(30, 30);
    CDC& dc = canvas.dc;
    dc.FillSolidRect(2, 2, 10, 10, RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));
    dc.Draw3dRect(14, 14, 10, 8, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(14, 14), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(22, 14), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(23, 14), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(14, 21), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(24, 14), kWhite);
    EXPECT_EQ(canvas.Pixel(15, 15), kWhite);

    CRect edge(2, 16, 12, 28);
    dc.DrawEdge(&edge, EDGE_RAISED, BF_RECT | BF_ADJUST);
    canvas.Save("dc_frames");
    EXPECT_EQ(canvas.Pixel(2, 16), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.Pixel(3, 17), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.Pixel(11, 27), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Pixel(10, 26), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(edge, CRect(4, 18, 10, 26));
}

TEST(DcClip, ClipRegionsBoundEveryPrimitive)
{
    DcCanvas canvas(40, 40);
    CDC& dc = canvas.dc;
    dc.IntersectClipRect(10, 10, 30, 30);
    dc.ExcludeClipRect(15, 15, 20, 20);
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(CRect(box), CRect(10, 10, 30, 30));
    dc.FillSolidRect(0, 0, 40, 40, RGB(0, 128, 0));
    dc.PatBlt(0, 0, 40, 40, DSTINVERT);
    canvas.Save("dc_clip");
    EXPECT_EQ(canvas.Pixel(5, 5), kWhite);
    EXPECT_EQ(canvas.Pixel(10, 10), RGB(255, 127, 255));
    EXPECT_EQ(canvas.Pixel(16, 16), kWhite);
    EXPECT_EQ(canvas.Pixel(30, 30), kWhite);
    EXPECT_FALSE(dc.PtVisible(17, 17));
    EXPECT_TRUE(dc.PtVisible(29, 29));

    const int saved = dc.SaveDC();
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(dc.SetPixel(1, 1, RGB(1, 1, 1)), RGB(1, 1, 1));
    dc.RestoreDC(saved);
    EXPECT_EQ(dc.SetPixel(2, 2, RGB(1, 1, 1)), CLR_INVALID);

    // An exclusion alone leaves the rest of the bitmap, not of the plane.
    DcCanvas whole(40, 40);
    whole.dc.ExcludeClipRect(0, 0, 30, 40);
    EXPECT_EQ(whole.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(30, 0, 40, 40));
}

TEST(DcObjects, SelectReturnsThePreviousAndDeletingASelectedObjectWaits)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen* first = dc.GetCurrentPen();
    ASSERT_NE(first, nullptr);
    HPEN red;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        red = pen;
        EXPECT_EQ(dc.SelectObject(&pen), first);
        EXPECT_EQ(dc.GetCurrentPen()->m_hObject, red);
    } // the wrapper deletes a pen that is still selected
    EXPECT_EQ(GetObjectType(red), DWORD(OBJ_PEN));
    LOGPEN lp;
    EXPECT_EQ(GetObject(red, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
    dc.SelectObject(first);
    EXPECT_EQ(GetObjectType(red), 0u);

    const int level = dc.SaveDC();
    CBrush brush(RGB(1, 2, 3));
    dc.SelectObject(&brush);
    dc.SetMapMode(MM_HIMETRIC);
    dc.SetTextColor(RGB(9, 9, 9));
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetTextColor(), kBlack);
    EXPECT_NE(dc.GetCurrentBrush()->m_hObject, brush.m_hObject);
    EXPECT_FALSE(dc.RestoreDC(level));
}

TEST(DcObjects, MemoryContextsReportTheScreenAndTheirBitmapsDepth)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 1); // the initial monochrome bitmap
    CBitmap mono, colour;
    EXPECT_TRUE(mono.CreateCompatibleBitmap(&dc, 8, 8));
    BITMAP info;
    mono.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    colour.CreateBitmap(8, 8, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&colour);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
    CBitmap compatible;
    compatible.CreateCompatibleBitmap(&dc, 8, 8);
    compatible.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    // A bitmap lives in one memory context at a time.
    CDC other;
    other.CreateCompatibleDC(nullptr);
    EXPECT_EQ(other.SelectObject(&colour), nullptr);
    dc.SelectObject(old);
    EXPECT_NE(other.SelectObject(&colour), nullptr);
}

TEST(DcObjects, MulDivRoundsAndRejectsZeroDivisor)
{
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {{10, 3, 4, 8}, {-10, 3, 4, -8}, {7, 1, 2, 4}, {-7, 1, 2, -4},
                          {5, 5, 0, -1}, {0x40000000, 4, 2, -1}, {2540, 96, 2540, 96}};
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

} // namespace
