// Draws the command icons of Img/common and Img/toolbar: 16x16, 24-bit BMP,
// white as the transparent colour. Run by hand after changing a drawing:
//   g++ -std=c++17 -O2 -o /tmp/make_icons tools/icons/make_icons.cpp
//   /tmp/make_icons Img
// Every icon is drawn on white from a few shared shapes (page, folder, disk,
// magnifier, arrows) in one small palette so the set looks alike.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Colour {
    uint8_t r, g, b;
};

const Colour White{255, 255, 255};
const Colour Black{0, 0, 0};
const Colour Grey{128, 128, 128};
const Colour Light{212, 208, 200};
const Colour Paper{250, 250, 250};
const Colour Blue{0, 64, 192};
const Colour Sky{96, 160, 240};
const Colour Yellow{240, 200, 64};
const Colour Brown{160, 96, 32};
const Colour Red{208, 32, 32};
const Colour Green{32, 144, 48};
const Colour Purple{112, 48, 160};

class Icon {
public:
    Icon() : m_pixels(16 * 16, White) {}

    void Set(int x, int y, Colour c)
    {
        if (x >= 0 && x < 16 && y >= 0 && y < 16)
            m_pixels[size_t(y * 16 + x)] = c;
    }
    void Fill(int l, int t, int r, int b, Colour c)
    {
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                Set(x, y, c);
    }
    void Frame(int l, int t, int r, int b, Colour c)
    {
        Line(l, t, r, t, c);
        Line(l, b, r, b, c);
        Line(l, t, l, b, c);
        Line(r, t, r, b, c);
    }
    void Box(int l, int t, int r, int b, Colour fill, Colour edge)
    {
        Fill(l, t, r, b, fill);
        Frame(l, t, r, b, edge);
    }
    void Line(int x0, int y0, int x1, int y1, Colour c)
    {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Set(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    void Circle(int cx, int cy, int r, Colour c, bool filled = false, Colour fill = White)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                const int d = x * x + y * y;
                if (filled && d <= r * r - r)
                    Set(cx + x, cy + y, fill);
                else if (d <= r * r + r && d >= r * r - r)
                    Set(cx + x, cy + y, c);
            }
    }
    // Glyphs of a 3x5 font: '+', '-', '1', '?', 'i', 'J', 'S', 'X'.
    void Glyph(char ch, int x, int y, Colour c)
    {
        static const struct {
            char ch;
            const char* rows[5];
        } font[] = {
            {'+', {"...", ".#.", "###", ".#.", "..."}}, {'-', {"...", "...", "###", "...", "..."}},
            {'1', {".#.", "##.", ".#.", ".#.", "###"}}, {'?', {"##.", "..#", ".#.", "...", ".#."}},
            {'i', {".#.", "...", "##.", ".#.", "###"}}, {'J', {"..#", "..#", "..#", "#.#", ".#."}},
            {'S', {".##", "#..", ".#.", "..#", "##."}},
        };
        for (const auto& g : font)
            if (g.ch == ch)
                for (int r = 0; r < 5; ++r)
                    for (int k = 0; k < 3; ++k)
                        if (g.rows[r][k] == '#')
                            Set(x + k, y + r, c);
    }

    // Shared shapes.
    void Page(int l, int t, int r, int b)
    {
        Box(l, t, r, b, Paper, Grey);
        for (int i = 0; i < 3; ++i) // folded corner
            Line(r - 3 + i, t, r, t + 3 - i, i == 0 ? Grey : White);
        Line(r - 3, t, r - 3, t + 3, Grey);
        Line(r - 3, t + 3, r, t + 3, Grey);
    }
    void Folder(bool open)
    {
        Box(1, 4, 6, 6, Yellow, Brown);
        Box(1, 5, 14, 13, Yellow, Brown);
        if (open) {
            Fill(3, 8, 15, 13, Yellow);
            Line(3, 8, 15, 8, Brown);
            Line(3, 8, 1, 13, Brown);
            Line(15, 8, 13, 13, Brown);
            Line(1, 13, 13, 13, Brown);
        }
    }
    void Disk(int l, int t)
    {
        Box(l, t, l + 11, t + 11, Blue, Black);
        Fill(l + 2, t + 1, l + 9, t + 5, White);
        Fill(l + 3, t + 8, l + 8, t + 11, Light);
        Set(l + 4, t + 9, Black);
    }
    void Magnifier(int cx, int cy)
    {
        Circle(cx, cy, 4, Black, true, Sky);
        Line(cx + 3, cy + 3, 14, 14, Brown);
        Line(cx + 4, cy + 3, 15, 14, Brown);
    }
    void Cross(int l, int t, int size, Colour c)
    {
        Line(l, t, l + size, t + size, c);
        Line(l + 1, t, l + size, t + size - 1, c);
        Line(l + size, t, l, t + size, c);
        Line(l + size - 1, t, l, t + size - 1, c);
    }
    void ArrowUp(int cx, int top, Colour c)
    {
        for (int i = 0; i < 5; ++i)
            Line(cx - i, top + i, cx + i, top + i, c);
        Fill(cx - 1, top + 5, cx + 1, top + 11, c);
    }
    void ArrowDown(int cx, int bottom, Colour c)
    {
        for (int i = 0; i < 5; ++i)
            Line(cx - i, bottom - i, cx + i, bottom - i, c);
        Fill(cx - 1, bottom - 11, cx + 1, bottom - 5, c);
    }
    void ArrowSide(int y, bool right, Colour c)
    {
        for (int i = 0; i < 4; ++i) {
            const int x = right ? 13 - i : 2 + i;
            Line(x, y - i, x, y + i, c);
        }
        Fill(right ? 4 : 6, y - 1, right ? 10 : 12, y + 1, c);
    }
    void CurvedArrow(bool right)
    {
        auto X = [right](int x) { return right ? 15 - x : x; };
        // Arc over the top, arrow head at the lower end.
        Line(X(4), 9, X(4), 7, Blue);
        Line(X(5), 6, X(6), 5, Blue);
        Line(X(7), 4, X(10), 4, Blue);
        Line(X(11), 5, X(12), 6, Blue);
        Line(X(13), 7, X(13), 11, Blue);
        Line(X(5), 9, X(5), 7, Blue);
        for (int i = 0; i < 4; ++i)
            Line(X(4 - i), 9 + i, X(4 + i), 9 + i, Blue);
    }
    void Book(Colour cover)
    {
        Box(3, 1, 12, 14, cover, Black);
        Line(4, 1, 4, 14, Black);
        Fill(5, 12, 11, 13, Paper);
    }
    void Window(int l, int t, int r, int b)
    {
        Box(l, t, r, b, White, Grey);
        Fill(l + 1, t + 1, r - 1, t + 2, Blue);
    }

    bool Save(const std::string& path) const
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        const uint32_t pixelBytes = 16 * 16 * 3;
        uint8_t header[54] = {'B', 'M'};
        auto put32 = [&](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = uint8_t(v >> (8 * i));
        };
        put32(2, 54 + pixelBytes);
        put32(10, 54);
        put32(14, 40);
        put32(18, 16);
        put32(22, 16);
        header[26] = 1;
        header[28] = 24;
        put32(34, pixelBytes);
        put32(38, 3780);
        put32(42, 3780);
        bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
        for (int y = 15; y >= 0; --y)
            for (int x = 0; x < 16; ++x) {
                const Colour c = m_pixels[size_t(y * 16 + x)];
                const uint8_t bgr[3] = {c.b, c.g, c.r};
                ok = ok && std::fwrite(bgr, 1, 3, f) == 3;
            }
        return std::fclose(f) == 0 && ok;
    }

private:
    std::vector<Colour> m_pixels;
};

struct Drawing {
    const char* folder;
    const char* name;
    std::function<void(Icon&)> draw;
};

const std::vector<Drawing>& Drawings()
{
    static const std::vector<Drawing> drawings = {
        {"common", "Workspace", [](Icon& i) { i.Folder(false); i.Box(4, 8, 11, 11, Sky, Blue); }},
        {"common", "empty", [](Icon&) {}},
        {"toolbar", "new", [](Icon& i) { i.Page(3, 1, 12, 14); }},
        {"toolbar", "open", [](Icon& i) { i.Folder(true); }},
        {"toolbar", "save", [](Icon& i) { i.Disk(2, 2); }},
        {"toolbar", "saveas", [](Icon& i) { i.Disk(1, 1); i.Line(10, 14, 15, 9, Brown); i.Line(10, 15, 15, 10, Brown); }},
        {"toolbar", "cut", [](Icon& i) {
             i.Line(4, 1, 10, 10, Grey); i.Line(11, 1, 5, 10, Grey);
             i.Circle(4, 12, 2, Black); i.Circle(11, 12, 2, Black); }},
        {"toolbar", "copy", [](Icon& i) { i.Page(1, 1, 9, 11); i.Page(6, 4, 14, 14); }},
        {"toolbar", "paste", [](Icon& i) { i.Box(1, 2, 11, 14, Brown, Black); i.Box(4, 1, 8, 3, Light, Black); i.Page(7, 6, 14, 15); }},
        {"toolbar", "print", [](Icon& i) {
             i.Box(4, 1, 11, 6, Paper, Grey); i.Box(1, 6, 14, 12, Light, Black);
             i.Set(12, 8, Green); i.Box(4, 10, 11, 14, Paper, Grey); }},
        {"toolbar", "about", [](Icon& i) { i.Circle(7, 7, 6, Blue, true, Blue); i.Glyph('i', 6, 5, White); }},
        {"toolbar", "close", [](Icon& i) { i.Page(1, 1, 10, 14); i.Cross(8, 8, 6, Red); }},
        {"toolbar", "delete", [](Icon& i) { i.Cross(3, 3, 9, Red); }},
        {"toolbar", "saveall", [](Icon& i) { i.Disk(0, 0); i.Disk(4, 4); }},
        {"toolbar", "undo", [](Icon& i) { i.CurvedArrow(false); }},
        {"toolbar", "redo", [](Icon& i) { i.CurvedArrow(true); }},
        {"toolbar", "exportchm", [](Icon& i) { i.Book(Purple); i.Glyph('?', 7, 4, Yellow); }},
        {"toolbar", "closewnd", [](Icon& i) { i.Window(1, 1, 14, 13); i.Cross(5, 5, 6, Red); }},
        {"toolbar", "closeall", [](Icon& i) { i.Window(0, 0, 10, 9); i.Window(4, 4, 15, 14); i.Cross(7, 8, 5, Red); }},
        {"toolbar", "zoomin", [](Icon& i) { i.Magnifier(6, 6); i.Glyph('+', 5, 4, Black); }},
        {"toolbar", "zoomout", [](Icon& i) { i.Magnifier(6, 6); i.Glyph('-', 5, 4, Black); }},
        {"toolbar", "actualsize", [](Icon& i) { i.Magnifier(6, 6); i.Glyph('1', 5, 4, Black); }},
        {"toolbar", "moveup", [](Icon& i) { i.ArrowUp(7, 2, Green); }},
        {"toolbar", "movedown", [](Icon& i) { i.ArrowDown(7, 13, Green); }},
        {"toolbar", "nextpage", [](Icon& i) { i.Page(1, 1, 11, 14); i.ArrowSide(10, true, Blue); }},
        {"toolbar", "forepage", [](Icon& i) { i.Page(4, 1, 14, 14); i.ArrowSide(10, false, Blue); }},
        {"toolbar", "search", [](Icon& i) { i.Magnifier(6, 6); }},
        {"toolbar", "options", [](Icon& i) {
             i.Box(1, 1, 14, 14, Light, Grey);
             for (int y : {4, 8, 12}) { i.Box(3, y - 1, 5, y + 1, White, Black); i.Line(7, y, 12, y, Black); }
             i.Set(4, 3, Green); i.Set(4, 7, Green); }},
        {"toolbar", "javascript", [](Icon& i) { i.Box(0, 2, 15, 13, Yellow, Brown); i.Glyph('J', 3, 5, Black); i.Glyph('S', 9, 5, Black); }},
        {"toolbar", "loadlib", [](Icon& i) { i.Book(Blue); i.Box(8, 8, 14, 14, Green, Green); i.Glyph('+', 10, 9, White); }},
        {"toolbar", "removelib", [](Icon& i) { i.Book(Blue); i.Box(8, 8, 14, 14, Red, Red); i.Glyph('-', 10, 9, White); }},
    };
    return drawings;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string root = argc > 1 ? argv[1] : "Img";
    int failures = 0;
    for (const Drawing& d : Drawings()) {
        Icon icon;
        d.draw(icon);
        const std::string path = root + "/" + d.folder + "/" + d.name + ".bmp";
        if (!icon.Save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
