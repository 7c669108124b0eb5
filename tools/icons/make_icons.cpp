// Draws the command icons of Img/common and Img/toolbar and the metaclass icons
// of Img/meta: 16x16, 24-bit BMP, white as the transparent colour. Run by hand
// after changing a drawing:
//   g++ -std=c++17 -O2 -o /tmp/make_icons tools/icons/make_icons.cpp
//   /tmp/make_icons Img Platform/ProgramIcons.inc
// The second argument also writes the program's icon and bitmap resources as
// arrays.
// Every icon is drawn on white from a few shared shapes (page, folder, disk,
// magnifier, arrows) in one small palette so the set looks alike. Pure white
// is never ink: what should look white inside an icon is Paper, so it stays
// opaque on a toolbar or a highlighted menu row.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
    Icon(int width = 16, int height = 16) : m_width(width), m_height(height), m_pixels(size_t(width * height), White) {}

    void Set(int x, int y, Colour c)
    {
        if (x >= 0 && x < m_width && y >= 0 && y < m_height)
            m_pixels[size_t(y * m_width + x)] = c;
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
    // Glyphs of a 3x5 font: '+', '-', '1', '?', 'i', 'J', 'S', 'H'.
    void Glyph(char ch, int x, int y, Colour c)
    {
        static const struct {
            char ch;
            const char* rows[5];
        } font[] = {
            {'+', {"...", ".#.", "###", ".#.", "..."}}, {'-', {"...", "...", "###", "...", "..."}},
            {'1', {".#.", "##.", ".#.", ".#.", "###"}}, {'?', {"##.", "..#", ".#.", "...", ".#."}},
            {'i', {".#.", "...", "##.", ".#.", "###"}}, {'J', {"..#", "..#", "..#", "#.#", ".#."}},
            {'S', {".##", "#..", ".#.", "..#", "##."}}, {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
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
        Set(r, t, White); // the frame's corner lies outside the fold
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
        Fill(l + 2, t + 1, l + 9, t + 5, Paper);
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
        Box(l, t, r, b, Paper, Grey);
        Fill(l + 1, t + 1, r - 1, t + 2, Blue);
    }

    // Shapes of the metaclass icons.
    void Ellipse(int l, int t, int r, int b, Colour edge, Colour fill)
    {
        const double cx = (l + r) / 2.0, cy = (t + b) / 2.0, a = (r - l) / 2.0 + 0.5, e = (b - t) / 2.0 + 0.5;
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) {
                const double d = (x - cx) * (x - cx) / (a * a) + (y - cy) * (y - cy) / (e * e);
                const double inner = ((x - cx) * (x - cx)) / ((a - 1) * (a - 1)) + ((y - cy) * (y - cy)) / ((e - 1) * (e - 1));
                if (d <= 1.0)
                    Set(x, y, inner <= 1.0 ? fill : edge);
            }
    }
    void RoundBox(int l, int t, int r, int b, Colour fill, Colour edge)
    {
        Fill(l + 1, t + 1, r - 1, b - 1, fill);
        Line(l + 1, t, r - 1, t, edge);
        Line(l + 1, b, r - 1, b, edge);
        Line(l, t + 1, l, b - 1, edge);
        Line(r, t + 1, r, b - 1, edge);
    }
    void Dashed(int x0, int y0, int x1, int y1, Colour c)
    {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (int n = 0;; ++n) {
            if (n % 4 < 2)
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
    void Diamond(int cx, int cy, int r, Colour edge, Colour fill)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                const int d = std::abs(x) + std::abs(y);
                if (d <= r)
                    Set(cx + x, cy + y, d == r ? edge : fill);
            }
    }
    void Stickman(int cx, int t, Colour c)
    {
        Circle(cx, t + 2, 2, c);
        Line(cx, t + 5, cx, t + 9, c);
        Line(cx - 3, t + 6, cx + 3, t + 6, c);
        Line(cx, t + 9, cx - 3, t + 13, c);
        Line(cx, t + 9, cx + 3, t + 13, c);
    }
    // A class box with name, attribute and operation compartments.
    void ClassBox(int l, int t, int r, int b, Colour fill, Colour edge)
    {
        Box(l, t, r, b, fill, edge);
        Line(l, t + (b - t) / 3 + 1, r, t + (b - t) / 3 + 1, edge);
        Line(l, t + 2 * (b - t) / 3 + 1, r, t + 2 * (b - t) / 3 + 1, edge);
    }
    // A member text line of a class box, marked by a small sign at its left.
    void Member(Colour sign, bool round)
    {
        if (round)
            Circle(3, 8, 2, sign, true, sign);
        else
            Fill(1, 6, 5, 10, sign);
        Line(8, 8, 14, 8, Black);
        Line(8, 9, 12, 9, Grey);
    }
    // Arrow heads at (x, y): an open "V" or a hollow triangle pointing right or up.
    void OpenHeadRight(int x, int y, Colour c)
    {
        Line(x - 3, y - 3, x, y, c);
        Line(x - 3, y + 3, x, y, c);
    }
    void FilledHeadRight(int x, int y, Colour c)
    {
        for (int i = 0; i < 4; ++i)
            Line(x - 3 + i, y - 3 + i, x - 3 + i, y + 3 - i, c);
    }
    void HollowHeadUp(int x, int y, Colour c)
    {
        for (int i = 0; i <= 4; ++i) {
            Set(x - i, y + i, c);
            Set(x + i, y + i, c);
        }
        Line(x - 4, y + 4, x + 4, y + 4, c);
    }
    // A diagram: a frame with a name tab at its top left; the kind's shapes go inside.
    void Frame()
    {
        Box(0, 1, 15, 15, White, Grey);
        Fill(1, 2, 5, 4, Light);
        Line(1, 5, 5, 5, Grey);
        Line(6, 4, 6, 2, Grey);
        Set(5, 5, Grey);
    }
    void Lifeline(int cx, int t, int b, Colour c)
    {
        Box(cx - 2, t, cx + 2, t + 2, Sky, Blue);
        Dashed(cx, t + 3, cx, b, c);
    }

    // The icon as the bytes of a BMP file.
    std::vector<uint8_t> Bytes() const
    {
        const int stride = (m_width * 3 + 3) / 4 * 4;
        const uint32_t pixelBytes = uint32_t(stride * m_height);
        std::vector<uint8_t> header(54, 0);
        header[0] = 'B';
        header[1] = 'M';
        auto put32 = [&](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                header[size_t(at + i)] = uint8_t(v >> (8 * i));
        };
        put32(2, 54 + pixelBytes);
        put32(10, 54);
        put32(14, 40);
        put32(18, uint32_t(m_width));
        put32(22, uint32_t(m_height));
        header[26] = 1;
        header[28] = 24;
        put32(34, pixelBytes);
        put32(38, 3780);
        put32(42, 3780);
        for (int y = m_height - 1; y >= 0; --y) {
            for (int x = 0; x < m_width; ++x) {
                const Colour c = m_pixels[size_t(y * m_width + x)];
                header.insert(header.end(), {c.b, c.g, c.r});
            }
            header.insert(header.end(), size_t(stride - m_width * 3), 0);
        }
        return header;
    }

    bool Save(const std::string& path) const
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        const std::vector<uint8_t> bytes = Bytes();
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }

    // Paints the cells marked '#' (or 'o') of the rows, from (x, y).
    void Art(int x, int y, const std::vector<const char*>& rows, Colour hash, Colour o)
    {
        for (size_t r = 0; r < rows.size(); ++r)
            for (int k = 0; rows[r][k]; ++k) {
                if (rows[r][k] == '#')
                    Set(x + k, y + int(r), hash);
                else if (rows[r][k] == 'o')
                    Set(x + k, y + int(r), o);
            }
    }

private:
    int m_width;
    int m_height;
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
             i.Circle(4, 12, 2, Black, true, Paper); i.Circle(11, 12, 2, Black, true, Paper); }},
        {"toolbar", "copy", [](Icon& i) { i.Page(1, 1, 9, 11); i.Page(6, 4, 14, 14); }},
        {"toolbar", "paste", [](Icon& i) { i.Box(1, 2, 11, 14, Brown, Black); i.Box(4, 1, 8, 3, Light, Black); i.Page(7, 6, 14, 15); }},
        {"toolbar", "print", [](Icon& i) {
             i.Box(4, 1, 11, 6, Paper, Grey); i.Box(1, 6, 14, 12, Light, Black);
             i.Set(12, 8, Green); i.Box(4, 10, 11, 14, Paper, Grey); }},
        {"toolbar", "about", [](Icon& i) { i.Circle(7, 7, 6, Blue, true, Blue); i.Glyph('i', 6, 5, Paper); }},
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
             for (int y : {4, 8, 12}) { i.Box(3, y - 1, 5, y + 1, Paper, Black); i.Line(7, y, 12, y, Black); }
             i.Set(4, 3, Green); i.Set(4, 7, Green); }},
        {"toolbar", "javascript", [](Icon& i) { i.Box(0, 2, 15, 13, Yellow, Brown); i.Glyph('J', 3, 5, Black); i.Glyph('S', 9, 5, Black); }},
        {"toolbar", "loadlib", [](Icon& i) { i.Book(Blue); i.Box(8, 8, 14, 14, Green, Green); i.Glyph('+', 10, 9, Paper); }},
        {"toolbar", "removelib", [](Icon& i) { i.Book(Blue); i.Box(8, 8, 14, 14, Red, Red); i.Glyph('-', 10, 9, Paper); }},
        // Metaclasses: structure in blue, behaviour in green, states in yellow,
        // interactions in purple, packages as folders, lines in black.
        {"meta", "Package", [](Icon& i) { i.Folder(false); }},
        {"meta", "Syspackage", [](Icon& i) { i.Folder(false); i.Box(5, 8, 10, 11, Blue, Blue); }},
        {"meta", "Class", [](Icon& i) { i.ClassBox(1, 2, 14, 13, Sky, Blue); }},
        {"meta", "Interface", [](Icon& i) { i.Circle(7, 5, 3, Blue, true, Sky); i.Line(7, 9, 7, 15, Blue); }},
        {"meta", "Enumeration", [](Icon& i) {
             i.Box(1, 2, 14, 13, Sky, Blue); i.Line(1, 5, 14, 5, Blue);
             for (int y : {7, 9, 11}) i.Line(4, y, 11, y, Black); }},
        {"meta", "Literal", [](Icon& i) { i.Member(Green, true); }},
        {"meta", "Attribute", [](Icon& i) { i.Member(Blue, false); }},
        {"meta", "Operation", [](Icon& i) { i.Diamond(3, 8, 3, Purple, Purple); i.Line(8, 8, 14, 8, Black); i.Line(8, 9, 12, 9, Grey); }},
        {"meta", "Parameter", [](Icon& i) { i.ArrowSide(8, true, Green); }},
        {"meta", "Signal", [](Icon& i) {
             i.Box(1, 4, 10, 12, Sky, Blue);
             for (int k = 0; k < 4; ++k) { i.Line(10 + k, 4 + k, 10 + k, 12 - k, Sky); i.Set(10 + k, 4 + k, Blue); i.Set(10 + k, 12 - k, Blue); }
             i.Set(14, 8, Blue); i.Line(10, 5, 10, 11, Sky); }},
        {"meta", "Stereotype", [](Icon& i) {
             i.Box(1, 2, 14, 13, Paper, Blue);
             for (int k : {3, 6}) { i.Line(k + 2, 4, k, 6, Red); i.Line(k, 6, k + 2, 8, Red); }
             for (int k : {12, 9}) { i.Line(k - 2, 4, k, 6, Red); i.Line(k, 6, k - 2, 8, Red); } }},
        {"meta", "Component", [](Icon& i) { i.Box(3, 2, 14, 13, Sky, Blue); i.Box(1, 4, 5, 6, White, Blue); i.Box(1, 9, 5, 11, White, Blue); }},
        {"meta", "Artifact", [](Icon& i) { i.Page(3, 1, 12, 14); i.Line(5, 7, 10, 7, Blue); i.Line(5, 10, 10, 10, Blue); }},
        {"meta", "Node", [](Icon& i) {
             i.Box(1, 5, 11, 14, Sky, Blue); i.Line(1, 5, 5, 1, Blue); i.Line(11, 5, 15, 1, Blue);
             i.Line(5, 1, 15, 1, Blue); i.Line(15, 1, 15, 10, Blue); i.Line(15, 10, 11, 14, Blue); }},
        {"meta", "Composition", [](Icon& i) { i.Box(0, 1, 15, 14, Paper, Blue); i.Line(0, 4, 15, 4, Blue); i.Box(3, 7, 12, 12, Sky, Blue); }},
        {"meta", "Part", [](Icon& i) { i.Box(2, 4, 13, 11, Sky, Blue); i.Line(4, 7, 11, 7, Black); }},
        {"meta", "Port", [](Icon& i) { i.Line(4, 0, 4, 15, Blue); i.Box(2, 5, 7, 10, Blue, Black); i.Line(7, 7, 13, 7, Grey); }},
        {"meta", "Realized", [](Icon& i) { i.Line(0, 8, 8, 8, Black); i.Circle(11, 8, 3, Black, true, White); }},
        {"meta", "Required", [](Icon& i) {
             i.Line(0, 8, 9, 8, Black); i.Line(11, 3, 9, 5, Black); i.Line(9, 5, 9, 11, Black); i.Line(9, 11, 11, 13, Black); }},
        {"meta", "Subject", [](Icon& i) { i.Box(0, 0, 15, 15, White, Black); i.Ellipse(3, 6, 13, 11, Green, Paper); }},
        {"meta", "Actor", [](Icon& i) { i.Stickman(7, 1, Black); }},
        {"meta", "Usecase", [](Icon& i) { i.Ellipse(0, 3, 15, 12, Green, Paper); }},
        {"meta", "Association", [](Icon& i) { i.Line(1, 13, 14, 2, Black); }},
        {"meta", "Dependency", [](Icon& i) { i.Dashed(1, 8, 14, 8, Black); i.OpenHeadRight(14, 8, Black); }},
        {"meta", "Realization", [](Icon& i) { i.Dashed(7, 15, 7, 6, Black); i.HollowHeadUp(7, 2, Black); }},
        {"meta", "Connector", [](Icon& i) { i.Box(0, 6, 3, 9, Blue, Blue); i.Box(12, 6, 15, 9, Blue, Blue); i.Line(4, 7, 11, 7, Black); i.Line(4, 8, 11, 8, Black); }},
        {"meta", "Performance", [](Icon& i) { i.Circle(2, 3, 2, Black); i.Line(3, 5, 9, 10, Black); i.Ellipse(7, 9, 15, 14, Green, Paper); }},
        {"meta", "Comment", [](Icon& i) { i.Page(1, 2, 14, 13); i.Line(3, 7, 11, 7, Grey); i.Line(3, 10, 9, 10, Grey); }},
        {"meta", "Constraint", [](Icon& i) {
             i.Line(4, 2, 4, 13, Black); i.Line(5, 1, 6, 1, Black); i.Line(5, 14, 6, 14, Black); i.Set(3, 7, Black);
             i.Line(11, 2, 11, 13, Black); i.Line(9, 1, 10, 1, Black); i.Line(9, 14, 10, 14, Black); i.Set(12, 7, Black); }},
        {"meta", "Activity", [](Icon& i) { i.RoundBox(0, 2, 15, 13, Paper, Green); i.Circle(4, 8, 1, Black, true, Black); i.Line(6, 8, 11, 8, Black); i.OpenHeadRight(11, 8, Black); }},
        {"meta", "Interaction", [](Icon& i) {
             i.Box(0, 1, 15, 14, White, Purple); i.Line(1, 4, 5, 4, Purple); i.Line(6, 3, 6, 2, Purple); i.Set(5, 4, Purple);
             i.Dashed(5, 6, 5, 13, Black); i.Dashed(11, 6, 11, 13, Black); i.Line(5, 9, 11, 9, Black); i.OpenHeadRight(11, 9, Black); }},
        {"meta", "Statemachine", [](Icon& i) {
             i.RoundBox(0, 1, 7, 6, Yellow, Brown); i.RoundBox(8, 9, 15, 14, Yellow, Brown);
             i.Line(4, 7, 4, 11, Black); i.Line(4, 11, 7, 11, Black); i.OpenHeadRight(7, 11, Black); }},
        {"meta", "Action", [](Icon& i) { i.RoundBox(0, 3, 15, 12, Paper, Green); i.Line(3, 7, 12, 7, Black); i.Line(3, 9, 9, 9, Black); }},
        {"meta", "Actionnode", [](Icon& i) { i.RoundBox(0, 2, 15, 13, Paper, Green); i.RoundBox(3, 5, 12, 10, White, Green); }},
        {"meta", "Objectnode", [](Icon& i) { i.Box(1, 4, 14, 11, Sky, Blue); i.Line(3, 9, 12, 9, Black); }},
        {"meta", "Pin", [](Icon& i) { i.RoundBox(0, 2, 9, 13, Paper, Green); i.Box(8, 5, 13, 10, Sky, Blue); }},
        {"meta", "Partition", [](Icon& i) { i.Box(0, 0, 15, 15, White, Green); i.Line(7, 0, 7, 15, Green); i.Line(0, 3, 15, 3, Green); }},
        {"meta", "Send", [](Icon& i) {
             i.Fill(1, 4, 10, 11, Paper); i.Line(1, 4, 10, 4, Green); i.Line(1, 11, 10, 11, Green); i.Line(1, 4, 1, 11, Green);
             i.Line(10, 4, 14, 8, Green); i.Line(10, 11, 14, 8, Green); i.Line(11, 6, 11, 9, Paper); i.Line(12, 7, 12, 8, Paper); }},
        {"meta", "Receive", [](Icon& i) {
             i.Fill(1, 4, 14, 11, Paper); i.Line(1, 4, 14, 4, Green); i.Line(1, 11, 14, 11, Green); i.Line(14, 4, 14, 11, Green);
             for (int k = 0; k < 4; ++k) i.Line(1, 5 + k, 1 + k, 5 + k, White), i.Line(1, 10 - k, 1 + k, 10 - k, White);
             i.Line(1, 4, 5, 8, Green); i.Line(1, 11, 5, 8, Green); }},
        {"meta", "Initial", [](Icon& i) { i.Circle(7, 7, 5, Black, true, Black); }},
        {"meta", "Final", [](Icon& i) { i.Circle(7, 7, 6, Black); i.Circle(7, 7, 3, Black, true, Black); }},
        {"meta", "Return", [](Icon& i) { i.Circle(6, 8, 5, Black); i.Circle(6, 8, 2, Black, true, Black); i.Line(10, 2, 15, 2, Green); i.Line(15, 2, 15, 5, Green); }},
        {"meta", "Flowfinal", [](Icon& i) { i.Circle(7, 7, 6, Black); i.Line(3, 3, 11, 11, Black); i.Line(11, 3, 3, 11, Black); }},
        {"meta", "Choice", [](Icon& i) { i.Diamond(7, 7, 6, Black, Paper); }},
        {"meta", "Fork", [](Icon& i) { i.Fill(1, 6, 14, 9, Black); }},
        {"meta", "Junction", [](Icon& i) { i.Circle(7, 7, 3, Black, true, Black); i.Line(0, 7, 3, 7, Black); i.Line(11, 7, 15, 7, Black); }},
        {"meta", "Flow", [](Icon& i) { i.Line(1, 8, 14, 8, Black); i.OpenHeadRight(14, 8, Black); }},
        {"meta", "Activityline", [](Icon& i) { i.Line(1, 8, 14, 8, Black); i.OpenHeadRight(14, 8, Black); i.Box(5, 6, 9, 10, Sky, Blue); }},
        {"meta", "State", [](Icon& i) { i.RoundBox(0, 2, 15, 13, Yellow, Brown); i.Line(1, 6, 14, 6, Brown); }},
        {"meta", "Start", [](Icon& i) { i.Circle(4, 7, 3, Black, true, Black); i.Line(8, 7, 14, 7, Black); i.OpenHeadRight(14, 7, Black); }},
        {"meta", "History", [](Icon& i) { i.Circle(7, 7, 6, Black, true, White); i.Glyph('H', 6, 5, Black); }},
        {"meta", "Terminal", [](Icon& i) { i.Cross(2, 2, 11, Black); }},
        {"meta", "Lifeline", [](Icon& i) { i.Box(3, 0, 12, 4, Sky, Blue); i.Dashed(7, 5, 7, 15, Black); }},
        {"meta", "Message", [](Icon& i) { i.Line(1, 8, 14, 8, Black); i.FilledHeadRight(14, 8, Black); }},
        {"meta", "Create", [](Icon& i) { i.Dashed(0, 8, 8, 8, Black); i.OpenHeadRight(8, 8, Black); i.Box(10, 5, 15, 11, Sky, Blue); }},
        {"meta", "Methodcall", [](Icon& i) {
             i.Line(0, 4, 9, 4, Black); i.FilledHeadRight(9, 4, Black); i.Box(10, 3, 13, 14, White, Black); i.Dashed(1, 13, 9, 13, Black); }},
        {"meta", "Lifelinestop", [](Icon& i) { i.Dashed(7, 0, 7, 6, Black); i.Cross(3, 6, 8, Black); }},
        {"meta", "Duration", [](Icon& i) {
             i.Line(3, 1, 11, 1, Black); i.Line(3, 14, 11, 14, Black); i.Line(7, 2, 7, 13, Black);
             i.Line(5, 4, 7, 2, Black); i.Line(9, 4, 7, 2, Black); i.Line(5, 11, 7, 13, Black); i.Line(9, 11, 7, 13, Black); }},
        {"meta", "Coregion", [](Icon& i) {
             i.Dashed(7, 0, 7, 15, Grey); i.Line(3, 3, 11, 3, Black); i.Line(3, 3, 3, 5, Black); i.Line(11, 3, 11, 5, Black);
             i.Line(3, 12, 11, 12, Black); i.Line(3, 10, 3, 12, Black); i.Line(11, 10, 11, 12, Black); }},
        {"meta", "Inlineframe", [](Icon& i) {
             i.Box(0, 1, 15, 14, White, Purple); i.Line(1, 4, 5, 4, Purple); i.Line(6, 3, 6, 2, Purple); i.Set(5, 4, Purple);
             i.Dashed(1, 9, 14, 9, Purple); }},
        {"meta", "Reference", [](Icon& i) {
             i.Box(0, 2, 15, 13, White, Purple); i.Fill(1, 3, 5, 5, Light); i.Line(1, 6, 5, 6, Purple); i.Line(6, 5, 6, 3, Purple);
             i.Line(4, 9, 11, 9, Black); }},
        {"meta", "Unknownobject", [](Icon& i) { i.Circle(3, 8, 2, Black, true, Black); i.Line(6, 8, 14, 8, Black); i.FilledHeadRight(14, 8, Black); }},
        {"meta", "Timelifeline", [](Icon& i) {
             i.Box(0, 1, 15, 14, White, Purple); i.Line(4, 1, 4, 14, Purple);
             i.Line(6, 5, 9, 5, Black); i.Line(9, 5, 9, 10, Black); i.Line(9, 10, 14, 10, Black); }},
        {"meta", "Timestate", [](Icon& i) { i.Line(0, 4, 15, 4, Grey); i.Line(0, 11, 15, 11, Grey); i.Line(2, 7, 9, 7, Purple); i.Line(2, 8, 9, 8, Purple); }},
        {"meta", "Timeline", [](Icon& i) { i.Line(0, 11, 5, 11, Black); i.Line(5, 11, 5, 4, Black); i.Line(5, 4, 10, 4, Black); i.Line(10, 4, 10, 11, Black); i.Line(10, 11, 15, 11, Black); }},
        {"meta", "Timeduration", [](Icon& i) {
             i.Line(1, 3, 1, 12, Black); i.Line(14, 3, 14, 12, Black); i.Line(2, 8, 13, 8, Black);
             i.Line(4, 6, 2, 8, Black); i.Line(4, 10, 2, 8, Black); i.Line(11, 6, 13, 8, Black); i.Line(11, 10, 13, 8, Black); }},
        {"meta", "Page", [](Icon& i) { i.Page(2, 0, 13, 15); i.Box(4, 4, 8, 7, Sky, Blue); i.Line(6, 8, 6, 11, Grey); i.Box(4, 11, 10, 13, Sky, Blue); }},
        {"meta", "Classdiagram", [](Icon& i) { i.Frame(); i.ClassBox(2, 7, 7, 13, Sky, Blue); i.ClassBox(9, 7, 14, 13, Sky, Blue); }},
        {"meta", "Packagediagram", [](Icon& i) { i.Frame(); i.Box(3, 7, 6, 8, Yellow, Brown); i.Box(3, 8, 12, 13, Yellow, Brown); }},
        {"meta", "Componentdiagram", [](Icon& i) { i.Frame(); i.Box(5, 7, 13, 13, Sky, Blue); i.Box(3, 8, 6, 9, White, Blue); i.Box(3, 11, 6, 12, White, Blue); }},
        {"meta", "Deploymentdiagram", [](Icon& i) {
             i.Frame(); i.Box(3, 9, 10, 14, Sky, Blue); i.Line(3, 9, 5, 7, Blue); i.Line(10, 9, 12, 7, Blue);
             i.Line(5, 7, 12, 7, Blue); i.Line(12, 7, 12, 12, Blue); i.Line(12, 12, 10, 14, Blue); }},
        {"meta", "Compositestructurediagram", [](Icon& i) { i.Frame(); i.Box(2, 7, 13, 14, Paper, Blue); i.Box(4, 9, 11, 12, Sky, Blue); }},
        {"meta", "Usecasediagram", [](Icon& i) { i.Frame(); i.Circle(4, 8, 1, Black); i.Line(4, 10, 4, 12, Black); i.Line(2, 11, 6, 11, Black); i.Ellipse(7, 8, 14, 13, Green, Paper); }},
        {"meta", "Sequencediagram", [](Icon& i) { i.Frame(); i.Lifeline(5, 7, 14, Black); i.Lifeline(11, 7, 14, Black); i.Line(5, 12, 10, 12, Black); }},
        {"meta", "Statemachinediagram", [](Icon& i) { i.Frame(); i.Circle(3, 9, 1, Black, true, Black); i.Line(5, 9, 7, 9, Black); i.RoundBox(8, 7, 14, 12, Yellow, Brown); }},
        {"meta", "Activitydiagram", [](Icon& i) { i.Frame(); i.RoundBox(2, 7, 8, 11, Paper, Green); i.Line(9, 9, 10, 9, Black); i.Diamond(12, 9, 2, Black, Paper); }},
        {"meta", "Interactionoverviewdiagram", [](Icon& i) { i.Frame(); i.Box(2, 7, 8, 11, White, Purple); i.Line(9, 9, 10, 9, Black); i.Diamond(12, 9, 2, Black, Paper); }},
        {"meta", "Timingdiagram", [](Icon& i) { i.Frame(); i.Line(2, 12, 5, 12, Purple); i.Line(5, 12, 5, 8, Purple); i.Line(5, 8, 10, 8, Purple); i.Line(10, 8, 10, 12, Purple); i.Line(10, 12, 14, 12, Purple); }},
        {"meta", "Anatomydiagram", [](Icon& i) {
             i.Frame(); i.Box(6, 6, 9, 8, Yellow, Brown); i.Line(7, 9, 7, 10, Grey); i.Line(3, 10, 12, 10, Grey);
             i.Box(2, 11, 5, 13, Sky, Blue); i.Box(10, 11, 13, 13, Sky, Blue); }},
    };
    return drawings;
}

} // namespace

// The About box's picture (bitmap 164): the program's name over a small class
// diagram, as an 8-bit BMP compressed by runs, since it is mostly flat colour.
class Picture {
public:
    Picture(int width, int height, Colour background)
        : m_width(width), m_height(height), m_pixels(size_t(width * height), Index(background))
    {
    }

    void Set(int x, int y, Colour c)
    {
        if (x >= 0 && x < m_width && y >= 0 && y < m_height)
            m_pixels[size_t(y * m_width + x)] = Index(c);
    }
    void Fill(int l, int t, int r, int b, Colour c)
    {
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                Set(x, y, c);
    }
    void Frame(int l, int t, int r, int b, Colour c)
    {
        Fill(l, t, r, t, c);
        Fill(l, b, r, b, c);
        Fill(l, t, l, b, c);
        Fill(r, t, r, b, c);
    }
    void Box(int l, int t, int r, int b, Colour fill, Colour edge)
    {
        Fill(l, t, r, b, fill);
        Frame(l, t, r, b, edge);
    }
    // Text in a 5x7 capital font, each dot a square of scale pixels, one dot
    // column between letters; returns the x after the text.
    int Text(const char* text, int x, int y, int scale, Colour c)
    {
        for (const char* p = text; *p; ++p) {
            const char* const* rows = GlyphRows(*p);
            for (int r = 0; rows && r < 7; ++r)
                for (int k = 0; k < 5; ++k)
                    if (rows[r][k] == '#')
                        Fill(x + k * scale, y + r * scale, x + (k + 1) * scale - 1, y + (r + 1) * scale - 1, c);
            x += 6 * scale;
        }
        return x;
    }
    static int TextWidth(const char* text, int scale) { return int(std::strlen(text)) * 6 * scale - scale; }
    // A class box: name compartment and two empty compartments.
    void ClassBox(int l, int t, int r, int b, const char* name)
    {
        Box(l + 3, t + 3, r + 3, b + 3, Light, Light);
        Box(l, t, r, b, Sky, Blue);
        Fill(l + 1, t + 1, r - 1, t + 22, Paper);
        Fill(l, t + 23, r, t + 23, Blue);
        Fill(l, t + 23 + (b - t - 23) / 2, r, t + 23 + (b - t - 23) / 2, Blue);
        Text(name, l + (r - l + 1 - TextWidth(name, 2)) / 2, t + 5, 2, Black);
    }

    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> bits;
        for (int y = m_height - 1; y >= 0; --y) {
            const uint8_t* row = &m_pixels[size_t(y * m_width)];
            for (int x = 0; x < m_width;) {
                int run = 1;
                while (x + run < m_width && run < 255 && row[x + run] == row[x])
                    ++run;
                bits.insert(bits.end(), {uint8_t(run), row[x]});
                x += run;
            }
            bits.insert(bits.end(), {0, 0});
        }
        bits.back() = 1;  // the last end of line becomes the end of the bitmap
        const uint32_t paletteBytes = uint32_t(m_palette.size() * 4);
        const uint32_t offset = 54 + paletteBytes;
        std::vector<uint8_t> bytes(offset, 0);
        bytes[0] = 'B';
        bytes[1] = 'M';
        auto put32 = [&](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                bytes[size_t(at + i)] = uint8_t(v >> (8 * i));
        };
        put32(2, offset + uint32_t(bits.size()));
        put32(10, offset);
        put32(14, 40);
        put32(18, uint32_t(m_width));
        put32(22, uint32_t(m_height));
        bytes[26] = 1;
        bytes[28] = 8;
        put32(30, 1);  // runs of 8-bit indices
        put32(34, uint32_t(bits.size()));
        put32(38, 3780);
        put32(42, 3780);
        put32(46, uint32_t(m_palette.size()));
        for (size_t i = 0; i < m_palette.size(); ++i) {
            bytes[54 + 4 * i] = m_palette[i].b;
            bytes[54 + 4 * i + 1] = m_palette[i].g;
            bytes[54 + 4 * i + 2] = m_palette[i].r;
        }
        bytes.insert(bytes.end(), bits.begin(), bits.end());
        return bytes;
    }

private:
    uint8_t Index(Colour c)
    {
        for (size_t i = 0; i < m_palette.size(); ++i)
            if (m_palette[i].r == c.r && m_palette[i].g == c.g && m_palette[i].b == c.b)
                return uint8_t(i);
        m_palette.push_back(c);
        return uint8_t(m_palette.size() - 1);
    }
    static const char* const* GlyphRows(char ch)
    {
        static const struct {
            char ch;
            const char* rows[7];
        } font[] = {
            {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
            {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
            {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
            {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
            {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
            {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
            {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
            {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
            {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
            {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
            {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
            {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
            {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
            {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
            {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
            {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
            {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
            {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
            {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
            {'*', {".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."}},
        };
        for (const auto& g : font)
            if (g.ch == ch)
                return g.rows;
        return nullptr;
    }

    int m_width;
    int m_height;
    std::vector<Colour> m_palette;
    std::vector<uint8_t> m_pixels;
};

// The About picture, as large as the About dialog (272 x 149 dialog units).
const int kAboutWidth = 408;
const int kAboutHeight = 242;

Picture AboutPicture()
{
    const int w = kAboutWidth, h = kAboutHeight;
    Picture p(w, h, Paper);
    // Title band.
    p.Fill(0, 0, w - 1, 87, Blue);
    p.Fill(0, 88, w - 1, 91, Sky);
    p.Text("VEXAL", 24, 10, 7, Paper);
    p.Text("UML 2 MODELLING TOOL", 24, 66, 2, Paper);
    // A class diagram: an association and a generalization.
    const int top = 112;
    p.ClassBox(24, top, 124, top + 64, "ORDER");
    p.ClassBox(w - 128, top, w - 28, top + 64, "ITEM");
    const int y = top + 23;
    p.Fill(125, y, w - 129, y, Black);
    p.Text("1", 132, y - 16, 2, Black);
    p.Text("*", w - 146, y - 16, 2, Black);
    // Version and frame.
    const char* version = "VERSION 1.10.00";
    p.Text(version, w - 24 - Picture::TextWidth(version, 2), h - 30, 2, Grey);
    p.Frame(0, 0, w - 1, h - 1, Black);
    return p;
}

// The icon resources of the program, by resource id: the tabs of the
// options dialog ("CHM Settings" 158, "Diagram settings" 159). The bitmap
// resources follow them: the About picture (164).
struct IconResource {
    int id;
    std::function<void(Icon&)> draw;
};

const std::vector<IconResource>& IconResources()
{
    static const std::vector<IconResource> icons = {
        {158, [](Icon& i) { i.Book(Purple); i.Glyph('?', 7, 4, Yellow); }},
        {159, [](Icon& i) {
             i.Box(1, 1, 7, 5, Sky, Blue);
             i.Box(8, 10, 14, 14, Yellow, Brown);
             i.Line(4, 6, 4, 12, Black);
             i.Line(4, 12, 7, 12, Black);
         }},
    };
    return icons;
}

// The bitmap resources of the program: the font list's TrueType mark (32384,
// 20x12, its top-left colour transparent), two overlapping T's.
struct BitmapResource {
    int id;
    int width, height;
    std::function<void(Icon&)> draw;
};

const std::vector<BitmapResource>& BitmapResources()
{
    static const std::vector<BitmapResource> bitmaps = {
        {32384, 20, 12, [](Icon& i) {
             i.Art(0, 0, {"....................",
                          ".ooooooo............",
                          ".ooooooo............",
                          "....oo..............",
                          "....oo..########....",
                          "....oo..########....",
                          "....oo.....##.......",
                          "....oo.....##.......",
                          "....oo.....##.......",
                          "...oooo....##.......",
                          "..........####......",
                          "...................."},
                   Black, Grey);
         }},
    };
    return bitmaps;
}

// Writes the icon and bitmap resources as byte arrays for the program's
// resource table.
bool WriteIconSource(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f)
        return false;
    std::fprintf(f, "// Written by tools/icons/make_icons.cpp; do not edit.\n");
    for (const IconResource& r : IconResources()) {
        Icon icon;
        r.draw(icon);
        const std::vector<uint8_t> bytes = icon.Bytes();
        std::fprintf(f, "const BYTE kIcon%d[] = {", r.id);
        for (size_t i = 0; i < bytes.size(); ++i)
            std::fprintf(f, "%s%u,", i % 24 ? " " : "\n    ", bytes[i]);
        std::fprintf(f, "\n};\n");
    }
    const std::vector<uint8_t> about = AboutPicture().Bytes();
    std::fprintf(f, "const BYTE kBitmap164[] = {");
    for (size_t i = 0; i < about.size(); ++i)
        std::fprintf(f, "%s%u,", i % 24 ? " " : "\n    ", about[i]);
    std::fprintf(f, "\n};\n");
    for (const BitmapResource& r : BitmapResources()) {
        Icon bitmap(r.width, r.height);
        r.draw(bitmap);
        const std::vector<uint8_t> bytes = bitmap.Bytes();
        std::fprintf(f, "const BYTE kBitmap%d[] = {", r.id);
        for (size_t i = 0; i < bytes.size(); ++i)
            std::fprintf(f, "%s%u,", i % 24 ? " " : "\n    ", bytes[i]);
        std::fprintf(f, "\n};\n");
    }
    return std::fclose(f) == 0;
}

int main(int argc, char** argv)
{
    const std::string root = argc > 1 ? argv[1] : "Img";
    int failures = 0;
    if (argc > 2 && !WriteIconSource(argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        ++failures;
    }
    for (const Drawing& d : Drawings()) {
        Icon icon;
        d.draw(icon);
        const std::string folder = root + "/" + d.folder;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string path = folder + "/" + d.name + ".bmp";
        if (!icon.Save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
