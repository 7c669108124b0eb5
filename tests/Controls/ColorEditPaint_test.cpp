// The colour editor's painting: run colours, selection cells and the caret in
// pixel and metric mode at two zooms (PNGs under test-output), the reading of
// runs, and a clipped paint equal to the whole one.
#include "Controls/ColorEdit.h"
#include "Controls/FakeColourer.h"
#include "Platform/DcFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

const COLORREF kBackground = RGB(255, 255, 224);

// A window holding the editor; the editor covers its client area.
struct Host {
    CWnd top;
    CColorEdit editor;

    Host(int mode, int fontHeight)
    {
        EXPECT_TRUE(top.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr));
        LOGFONT font{};
        font.lfHeight = 16;
        std::strcpy(font.lfFaceName, "Arial");
        EXPECT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, &top, CRect(0, 0, 0, 0), 1026, 4, font, 0));
        editor.SetMapMode(mode);
        editor.SetTextFont("Arial", fontHeight);
        editor.SetBkColor(kBackground);
        editor.SetWantReturn(TRUE);
        SymbolT row;
        row.Type = "Class";
        editor.GetBuffer().SetSyntaxContext(row);
    }

    void Edit(const char* text, int key)
    {
        const CRect area(0, 0, 400, 300);
        editor.BeginEdit(text, area, &area, POINT{ 0, 0 }, key);
    }

    CRect Client()
    {
        CRect client;
        editor.GetClientRect(&client);
        return client;
    }
};

// Where the editor puts each character: widths measured as it measures them,
// in its mode and font, converted to device pixels.
struct Geometry {
    DcCanvas canvas{ 4, 4 };
    CFont font;
    int mode;
    int lineHeight = 0;

    Geometry(int mapMode, int fontHeight) : mode(mapMode)
    {
        LOGFONT lf{};
        lf.lfHeight = fontHeight;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(lf.lfFaceName, "Arial");
        font.CreateFontIndirect(&lf);
        canvas.dc.SetMapMode(mode);
        canvas.dc.SelectObject(&font);
        TEXTMETRIC tm{};
        canvas.dc.GetTextMetrics(&tm);
        lineHeight = std::abs(int(tm.tmHeight));
    }
    int Device(int logical) const
    {
        return mode == MM_HIMETRIC ? int(std::lround(logical * 96.0 / 2540.0)) : logical;
    }
    int X(const char* line, int column)
    {
        int x = 0;
        for (int i = 0; i < column; ++i)
            x += int(std::abs(canvas.dc.GetTextExtent(line + i, 1).cx));
        return Device(x);
    }
    int Top(int line) const { return Device(line * lineHeight); }
};

int Distance(COLORREF a, COLORREF b)
{
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
           std::abs(int(GetBValue(a)) - int(GetBValue(b)));
}

// The colour of a character's ink: the pixel of its cell farthest from the
// background, matched to the nearest of the candidates.
COLORREF InkColour(const DcCanvas& canvas, int left, int right, int top, int bottom,
                   std::initializer_list<COLORREF> candidates)
{
    COLORREF ink = kBackground;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Distance(canvas.Pixel(x, y), kBackground) > Distance(ink, kBackground))
                ink = canvas.Pixel(x, y);
    COLORREF best = ink;
    int nearest = 1 << 30;
    for (COLORREF c : candidates) {
        if (Distance(ink, c) < nearest) {
            nearest = Distance(ink, c);
            best = c;
        }
    }
    return best;
}

TEST(ColorEditPaint, RunsSelectionAndCaretInBothModesAndZooms)
{
    FakeFinderInstalled finder;
    const char* lines[] = { "name : Type", "attr [0..1]", "op(a, b)", "gamma delta" };
    const std::string text = std::string(lines[0]) + "\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3];
    struct Case {
        const char* name;
        int mode;
        int fontHeight;
    };
    const Case cases[] = {
        { "color_edit_pixel_zoom1", MM_TEXT, 16 },
        { "color_edit_pixel_zoom2", MM_TEXT, 32 },
        { "color_edit_metric_zoom1", MM_HIMETRIC, 423 },
        { "color_edit_metric_zoom2", MM_HIMETRIC, 846 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host(c.mode, c.fontHeight);
        host.Edit(text.c_str(), 1);
        host.editor.SetSelection(2, 0, 3, 2); // from "me" on line 0 to "op(" on line 2
        const CRect client = host.Client();
        DcCanvas canvas(client.Width(), client.Height());
        host.editor.PaintRect(&canvas.dc, client);

        Geometry g(c.mode, c.fontHeight);
        const int height = g.Top(1) - g.Top(0);
        // Selection cells: black from column 2 of line 0 to column 3 of line 2.
        EXPECT_EQ(canvas.Pixel(g.X(lines[0], 0), g.Top(0)), kBackground);
        EXPECT_EQ(canvas.Pixel(g.X(lines[0], 2), g.Top(0)), RGB(0, 0, 0));
        EXPECT_EQ(canvas.Pixel(g.X(lines[1], 0), g.Top(1)), RGB(0, 0, 0));
        EXPECT_EQ(canvas.Pixel(g.X(lines[2], 2), g.Top(2)), RGB(0, 0, 0));
        EXPECT_EQ(canvas.Pixel(g.X(lines[2], 3) + 1, g.Top(2)), kBackground);
        // Run colours of the unselected words: one run per word, colours in turn.
        const int words[] = { 7, 8 }; // "gamma" is the 8th word of the text, "delta" the 9th
        const int starts[] = { 0, 6 }, ends[] = { 5, 11 };
        for (int w = 0; w < 2; ++w) {
            const COLORREF expected = kWordColours[words[w] % 3];
            EXPECT_EQ(InkColour(canvas, g.X(lines[3], starts[w]), g.X(lines[3], ends[w]), g.Top(3), g.Top(3) + height,
                                { kWordColours[0], kWordColours[1], kWordColours[2] }),
                      expected)
                << "word " << w;
        }
        // The caret column: at the start of the cell of column 3 on line 2.
        POINT caret;
        GetCaretPos(&caret);
        EXPECT_EQ(caret.x, g.X(lines[2], 3));
        EXPECT_EQ(caret.y, g.Top(2));
        canvas.dc.FillSolidRect(caret.x, caret.y, 2, height, RGB(255, 0, 255));
        canvas.Save(c.name);
        host.editor.HideEdit();
    }
}

TEST(ColorEditPaint, RunsAreReadAsThePageReadsThem)
{
    FakeFinderInstalled finder;
    Host host(MM_TEXT, 40);
    Geometry g(MM_TEXT, 40);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 160, 0), blue = RGB(0, 0, 255), black = RGB(0, 0, 0);
    struct Case {
        const char* name;
        const char* runs;
        const char* text;
        std::vector<COLORREF> colours; // one per character
    };
    auto runs = [](std::initializer_list<std::pair<int, COLORREF>> list) {
        SyntaxRunCodec writer;
        for (const auto& r : list)
            writer.AddRun(r.first, r.second);
        return std::string(writer.GetText());
    };
    const std::string first = runs({ { 1, red } });
    const std::string same = runs({ { 1, red }, { 2, green }, { 2, blue } });
    const std::string down = runs({ { 1, red }, { 3, blue }, { 2, green } });
    const std::string none;
    const Case cases[] = {
        { "black before the first run", first.c_str(), "x[]", { black, red, red } },
        { "runs at one offset all take over", same.c_str(), "x[]y", { black, red, blue, blue } },
        { "a run below the current one ends the reading", down.c_str(), "x[]yz", { black, red, red, blue, blue } },
        { "an uncoloured edit draws black", none.c_str(), "x[]", { black, black, black } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TheFakeColourer().fixedRuns = c.runs;
        host.Edit(c.text, c.runs[0] ? 1 : -1);
        if (!c.runs[0]) {
            EXPECT_EQ(host.editor.GetBuffer().GetRunText(), down); // kept, but not this text's colours
        }
        const CRect client = host.Client();
        DcCanvas canvas(client.Width(), client.Height());
        host.editor.PaintRect(&canvas.dc, client);
        for (size_t i = 0; i < c.colours.size(); ++i) {
            const int column = int(i);
            EXPECT_EQ(InkColour(canvas, g.X(c.text, column), g.X(c.text, column + 1), 0, g.lineHeight,
                                { red, green, blue, black }),
                      c.colours[i])
                << "character " << i;
        }
    }
}

TEST(ColorEditPaint, AClippedPaintEqualsTheWholeOne)
{
    FakeFinderInstalled finder;
    for (int mode : { MM_TEXT, MM_HIMETRIC }) {
        SCOPED_TRACE(mode);
        Host host(mode, mode == MM_TEXT ? 18 : 476);
        std::string text;
        for (int i = 0; i < 14; ++i)
            text += "line " + std::to_string(i) + " Größe: Integer [0..1]\n";
        host.Edit(text.c_str(), 1);
        host.editor.SetSelection(4, 2, 9, 7);
        const CRect client = host.Client();
        DcCanvas whole(client.Width(), client.Height());
        host.editor.PaintRect(&whole.dc, client);
        DcCanvas pieces(client.Width(), client.Height());
        for (int top = 0; top < client.bottom; top += 7) {
            const int split = (top * 37) % client.Width();
            pieces.dc.SetMapMode(MM_TEXT);
            host.editor.PaintRect(&pieces.dc, CRect(0, top, split, std::min(top + 7, int(client.bottom))));
            host.editor.PaintRect(&pieces.dc, CRect(split, top, client.right, std::min(top + 7, int(client.bottom))));
        }
        int differing = 0;
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x)
                differing += whole.Pixel(x, y) != pieces.Pixel(x, y);
        EXPECT_EQ(differing, 0);
        host.editor.HideEdit();
    }
}

// Edits repaint only the lines that changed; what the window then shows must
// equal a whole paint, also where an edit recolours later lines.
TEST(ColorEditPaint, RepaintingChangedLinesKeepsTheWindowEqualToAWholePaint)
{
    FakeFinderInstalled finder;
    Host host(MM_TEXT, 18);
    host.Edit("alpha beta\ngamma delta\nepsilon\n\nzeta eta theta", 1);
    CColorEdit& editor = host.editor;
    editor.UpdateWindow();
    struct Step {
        const char* name;
        std::function<void()> act;
    };
    auto type = [&](const char* bytes) {
        for (const char* b = bytes; *b; ++b)
            editor.SendMessage(WM_CHAR, static_cast<unsigned char>(*b));
    };
    auto key = [&](UINT vk) { editor.SendMessage(WM_KEYDOWN, vk); };
    const Step steps[] = {
        { "type inside a word", [&] { editor.MoveCaretTo(2, 0); type("xy"); } },
        { "split a word: every later word changes colour", [&] { type(" "); } },
        { "join it again", [&] { key(VK_BACK); } },
        { "break a line", [&] { editor.MoveCaretTo(3, 1); type("\r"); } },
        { "select over lines", [&] { editor.SetSelection(1, 0, 2, 3); } },
        { "type over the selection", [&] { type("Q"); } },
        { "undo", [&] { editor.SendMessage(WM_COMMAND, 57643); } },
        { "select all", [&] { editor.SendMessage(WM_COMMAND, 57642); } },
        { "delete everything", [&] { key(VK_DELETE); } },
        { "undo the deletion", [&] { editor.SendMessage(WM_COMMAND, 57643); } },
    };
    const CRect client = host.Client();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        editor.UpdateWindow();
        DcCanvas shown(client.Width(), client.Height()), whole(client.Width(), client.Height());
        CClientDC window(&editor);
        shown.dc.BitBlt(0, 0, client.Width(), client.Height(), &window, 0, 0, SRCCOPY);
        editor.PaintRect(&whole.dc, client);
        int differing = 0;
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x)
                differing += shown.Pixel(x, y) != whole.Pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

} // namespace
