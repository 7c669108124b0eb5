// 10,000 mixed primitives (lines, rectangles, ellipses, polygons, text)
// drawn through CDC on a memory bitmap and the same drawn with QPainter
// directly on an image; prints both times and their ratio.
//   build/bin/bench_draw_primitives [rounds]
#include "Platform/Dc.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 768, kPrimitives = 10000;

struct Primitive {
    int kind; // 0 line, 1 rectangle, 2 ellipse, 3 polygon, 4 text
    int x, y, w, h;
    COLORREF color;
};

// A fixed random scene; kind -1 mixes all five kinds.
std::vector<Primitive> MakeScene(int onlyKind)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), size(4, 120), kind(0, 4);
    std::vector<Primitive> scene;
    for (int i = 0; i < kPrimitives; ++i) {
        const int k = kind(random);
        scene.push_back(Primitive{onlyKind < 0 ? k : onlyKind, x(random), y(random), size(random), size(random),
                                  COLORREF(random() & 0xFFFFFF)});
    }
    return scene;
}

const char* const kText = "Class1";

void DrawWithCdc(CDC& dc, const std::vector<Primitive>& scene)
{
    CPen pens[4];
    CBrush brushes[4];
    for (int i = 0; i < 4; ++i) {
        pens[i].CreatePen(PS_SOLID, 0, RGB(40 * i, 0, 0));
        brushes[i].CreateSolidBrush(RGB(255, 240 - 40 * i, 200));
    }
    LOGFONT lf{};
    lf.lfHeight = -13;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);
    CPen* oldPen = dc.SelectObject(&pens[0]);
    CBrush* oldBrush = dc.SelectObject(&brushes[0]);
    dc.SetBkMode(TRANSPARENT);
    for (const Primitive& p : scene) {
        dc.SelectObject(&pens[p.color & 3]);
        dc.SelectObject(&brushes[(p.color >> 8) & 3]);
        switch (p.kind) {
        case 0:
            dc.MoveTo(p.x, p.y);
            dc.LineTo(p.x + p.w, p.y + p.h);
            break;
        case 1:
            dc.Rectangle(p.x, p.y, p.x + p.w, p.y + p.h);
            break;
        case 2:
            dc.Ellipse(p.x, p.y, p.x + p.w, p.y + p.h);
            break;
        case 3: {
            const POINT points[3] = {{p.x, p.y}, {p.x + p.w, p.y + p.h / 2}, {p.x, p.y + p.h}};
            dc.Polygon(points, 3);
            break;
        }
        default:
            dc.SetTextColor(p.color);
            dc.TextOut(p.x, p.y, kText);
        }
    }
    dc.SelectObject(oldFont);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void DrawWithQPainter(QImage& image, const std::vector<Primitive>& scene)
{
    QPainter painter(&image);
    QFont font("Arial");
    font.setPixelSize(13);
    painter.setFont(font);
    for (const Primitive& p : scene) {
        const int pen = p.color & 3, brush = (p.color >> 8) & 3;
        painter.setPen(QPen(QColor(40 * pen, 0, 0), 0));
        painter.setBrush(QColor(255, 240 - 40 * brush, 200));
        switch (p.kind) {
        case 0:
            painter.drawLine(p.x, p.y, p.x + p.w, p.y + p.h);
            break;
        case 1:
            painter.drawRect(p.x, p.y, p.w - 1, p.h - 1);
            break;
        case 2:
            painter.drawEllipse(p.x, p.y, p.w - 1, p.h - 1);
            break;
        case 3: {
            const QPoint points[3] = {{p.x, p.y}, {p.x + p.w, p.y + p.h / 2}, {p.x, p.y + p.h}};
            painter.drawPolygon(points, 3);
            break;
        }
        default:
            painter.setPen(QColor(GetRValue(p.color), GetGValue(p.color), GetBValue(p.color)));
            painter.drawText(p.x, p.y + 12, kText);
        }
    }
}

double BestSeconds(int rounds, const std::function<void()>& run)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);

    std::printf("%d primitives each, best of %d rounds\n", kPrimitives, rounds);
    std::printf("%-10s %10s %10s %7s\n", "scene", "CDC ms", "QPainter", "ratio");
    const char* const names[] = {"mixed", "lines", "rects", "ellipses", "polygons", "text"};
    for (int kind = -1; kind <= 4; ++kind) {
        const std::vector<Primitive> scene = MakeScene(kind);
        const double layer = BestSeconds(rounds, [&] {
            dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
            DrawWithCdc(dc, scene);
            dc.GetPixel(0, 0);
        });
        const double direct = BestSeconds(rounds, [&] {
            image.fill(Qt::white);
            DrawWithQPainter(image, scene);
        });
        std::printf("%-10s %10.2f %10.2f %7.2f\n", names[kind + 1], layer * 1000, direct * 1000, layer / direct);
    }
    dc.SelectObject(old);
    return 0;
}
