// Text on CDC: metrics from LOGFONT heights, extents, DrawText layout.
#include "DcFixture.h"

#include <cstring>
#include <vector>

namespace {

LOGFONT Font(int height, const char* face = "Arial")
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}

TEST(DcText, NegativeHeightIsTheCharacterHeightPositiveTheCell)
{
    struct Case {
        int mode, height, scale; // scale: logical units per device pixel, roughly
    };
    const Case cases[] = {{MM_TEXT, -20, 1}, {MM_TEXT, 20, 1}, {MM_HIMETRIC, -529, 26}, {MM_HIMETRIC, 529, 26}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.height);
        DcCanvas canvas(10, 10);
        canvas.dc.SetMapMode(c.mode);
        CFont font;
        LOGFONT lf = Font(c.height);
        font.CreateFontIndirect(&lf);
        canvas.dc.SelectObject(&font);
        TEXTMETRIC tm;
        ASSERT_TRUE(canvas.dc.GetTextMetrics(&tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        const int wanted = c.height < 0 ? -c.height : c.height;
        const int measured = c.height < 0 ? tm.tmHeight - tm.tmInternalLeading : tm.tmHeight;
        EXPECT_NEAR(measured, wanted, 1.5 * c.scale);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GT(tm.tmInternalLeading, 0);
        const CSize extent = canvas.dc.GetTextExtent("Wide text");
        EXPECT_EQ(extent.cy, tm.tmHeight);
        EXPECT_GT(extent.cx, canvas.dc.GetTextExtent("Wide").cx);
        SIZE point32;
        ASSERT_TRUE(GetTextExtentPoint32(canvas.dc, "Wide text", 9, &point32));
        EXPECT_EQ(CSize(point32), extent);
    }
}

TEST(DcText, TextOutIsAnchoredAtItsTopLeftCorner)
{
    DcCanvas canvas(120, 40);
    CFont font;
    LOGFONT lf = Font(-16);
    font.CreateFontIndirect(&lf);
    canvas.dc.SelectObject(&font);
    canvas.dc.SetBkMode(TRANSPARENT);
    canvas.dc.TextOut(10, 8, "Hg");
    canvas.Save("dctext_textout");
    TEXTMETRIC tm;
    canvas.dc.GetTextMetrics(&tm);
    const QRect ink = canvas.InkBox();
    EXPECT_GE(ink.top(), 8);
    EXPECT_LE(ink.bottom(), 8 + tm.tmHeight);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.left(), 12);

    // OPAQUE mode paints the text cell in the background colour.
    DcCanvas opaque(120, 40);
    opaque.dc.SelectObject(&font);
    opaque.dc.SetBkColor(RGB(0, 255, 0));
    opaque.dc.TextOut(10, 8, "Hg");
    EXPECT_EQ(opaque.Pixel(10, 8), RGB(0, 255, 0));
    EXPECT_EQ(opaque.Pixel(9, 8), RGB(255, 255, 255));
}

TEST(DcText, DrawTextBreaksWordsAndEndsCutLinesWithAnEllipsis)
{
    DcCanvas canvas(200, 120);
    CDC& dc = canvas.dc;
    CFont font;
    LOGFONT lf = Font(-14);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const char* text = "The quick brown fox jumps over the lazy dog";
    const int full = dc.GetTextExtent(text).cx;

    // Word break: measured, then drawn within the same box.
    CRect calc(10, 10, 90, 10);
    const int height = dc.DrawText(text, &calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height % tm.tmHeight, 0);
    EXPECT_GE(height / tm.tmHeight, 3);
    EXPECT_EQ(calc.Height(), height);
    EXPECT_LE(calc.Width(), 80);
    CRect box(10, 10, 90, 100);
    dc.DrawText(text, &box, DT_WORDBREAK);
    QRect ink = canvas.InkBox();
    EXPECT_LE(ink.right(), 89);
    EXPECT_LE(ink.bottom(), 10 + height);
    EXPECT_GT(ink.bottom(), 10 + height - tm.tmHeight);

    // Ellipsis on one line keeps the ink inside the box.
    DcCanvas cut(200, 40);
    cut.dc.SelectObject(&font);
    cut.dc.SetBkMode(TRANSPARENT);
    ASSERT_GT(full, 100);
    CRect line(5, 5, 105, 30);
    cut.dc.DrawText(text, &line, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
    CRect measured = line;
    cut.dc.DrawText(text, &measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    canvas.Save("dctext_wordbreak");
    cut.Save("dctext_ellipsis");
    ink = cut.InkBox();
    EXPECT_LE(ink.right(), 104);
    EXPECT_GT(ink.right(), 80);
    EXPECT_LE(measured.Width(), 100);
    // Vertically centred in the box.
    EXPECT_NEAR((ink.top() + ink.bottom()) / 2.0, (5 + 30) / 2.0, tm.tmHeight / 2.0);
}

TEST(DcText, AlignmentAndPrefixes)
{
    CFont font;
    LOGFONT lf = Font(-14);
    font.CreateFontIndirect(&lf);
    for (UINT format : {UINT(DT_LEFT), UINT(DT_CENTER), UINT(DT_RIGHT)}) {
        DcCanvas canvas(200, 30);
        canvas.dc.SelectObject(&font);
        canvas.dc.SetBkMode(TRANSPARENT);
        CRect box(20, 0, 180, 30);
        canvas.dc.DrawText("Middle", &box, format | DT_SINGLELINE);
        const QRect ink = canvas.InkBox();
        const int width = canvas.dc.GetTextExtent("Middle").cx;
        if (format == DT_LEFT) {
            EXPECT_NEAR(ink.left(), 20, 2);
        } else if (format == DT_RIGHT) {
            EXPECT_NEAR(ink.right(), 179, 2);
        } else {
            EXPECT_NEAR(ink.left(), 20 + (160 - width) / 2, 2);
        }
    }
    // "&&" stands for one ampersand; "&F" underlines F and draws no ampersand.
    DcCanvas canvas(200, 30);
    canvas.dc.SelectObject(&font);
    CRect a(0, 0, 200, 30), b(0, 0, 200, 30);
    canvas.dc.DrawText("A&&B", &a, DT_SINGLELINE | DT_CALCRECT);
    canvas.dc.DrawText("A&B", &b, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(a.Width(), b.Width());
    CRect c(0, 0, 200, 30);
    canvas.dc.DrawText("&File", &c, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(c.Width(), canvas.dc.GetTextExtent("File").cx);
}

} // namespace

namespace {

// The window-glyph font's "r" is a close cross: ink reaches all four corners
// of its box, where a letter r leaves the lower right empty.
TEST(DcText, WindowGlyphFontDrawsItsCloseCross)
{
    for (const char* face : {"Marlett", "Arial"}) {
        SCOPED_TRACE(face);
        DcCanvas canvas(13, 13);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(MulDiv(60, 96, 96), face, &canvas.dc));
        canvas.dc.SelectObject(&font);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.TextOut(3, 3, "r");
        canvas.Save(std::string("dctext_glyph_") + face);
        const QRect box = canvas.InkBox();
        ASSERT_FALSE(box.isEmpty());
        const bool cross = canvas.IsInk(box.left(), box.top()) && canvas.IsInk(box.right(), box.top())
                           && canvas.IsInk(box.left(), box.bottom()) && canvas.IsInk(box.right(), box.bottom());
        EXPECT_EQ(cross, std::strcmp(face, "Marlett") == 0);
        EXPECT_GT(canvas.dc.GetTextExtent("r").cx, 0);
    }
}

TEST(DcText, PlacedCharactersLandWhereOneTextOutEachPutsThem)
{
    struct Case {
        int mode, height;
        const char* text;
        UINT options;
    };
    // Plain texts take the glyph-run path; a surrogate pair, an opaque
    // background and a clip rectangle the per-character one.
    const Case cases[] = {
        {MM_TEXT, 16, "Größe: Integer [0..1]", 0},   {MM_TEXT, 37, "Wavy iI.", 0},
        {MM_HIMETRIC, 423, "name : Type", 0},        {MM_HIMETRIC, -900, "AVA wij", 0},
        {MM_TEXT, 20, "a\xF0\x9D\x84\x9E" "b", 0}, {MM_TEXT, 20, "clip me", ETO_CLIPPED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DcCanvas one(260, 60), placed(260, 60);
        CFont font;
        LOGFONT lf = Font(c.height);
        font.CreateFontIndirect(&lf);
        std::vector<int> advances;
        const int sign = c.mode == MM_HIMETRIC ? -1 : 1;
        const int x0 = c.mode == MM_HIMETRIC ? 100 : 4, y0 = c.mode == MM_HIMETRIC ? 200 : 6;
        for (DcCanvas* canvas : {&one, &placed}) {
            canvas->dc.SetMapMode(c.mode);
            canvas->dc.SelectObject(&font);
            canvas->dc.SetBkMode(TRANSPARENT);
            canvas->dc.SetTextColor(RGB(0, 0, 200));
        }
        const QString text = QString::fromUtf8(c.text);
        int x = x0;
        for (QChar ch : text) {
            const QByteArray bytes = QString(ch).toUtf8();
            const int width = int(one.dc.GetTextExtent(bytes.constData(), int(bytes.size())).cx);
            one.dc.TextOut(x, sign * y0, bytes.constData(), int(bytes.size()));
            advances.push_back(width);
            x += width;
        }
        const RECT everything{0, 0, 30000, sign * 30000};
        placed.dc.ExtTextOut(x0, sign * y0, c.options, c.options ? &everything : nullptr, c.text,
                             UINT(std::strlen(c.text)), advances.data());
        int differing = 0;
        for (int py = 0; py < 60; ++py)
            for (int px = 0; px < 260; ++px)
                differing += one.Pixel(px, py) != placed.Pixel(px, py);
        EXPECT_EQ(differing, 0);
        EXPECT_FALSE(placed.InkBox().isEmpty());
    }
}

} // namespace
