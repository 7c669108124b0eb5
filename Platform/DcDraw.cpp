// Lines, shapes, fills, edges and frame controls of CDC.
#include "Platform/GdiData.h"
#include "Platform/SysColors.h"

#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Dash patterns of one-pixel pens, in pixels on and off.
QVector<qreal> DashPattern(int style)
{
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// The device width of the pen; 0 for a one-pixel (cosmetic) pen.
int DeviceWidth(const DcRecord& dc, const PenRecord* pen)
{
    if (pen->width <= 1 && dc.state.mapMode == MM_TEXT)
        return 0;
    const int w = int(std::lround(pen->width * std::fabs(DcScaleX(dc))));
    return w <= 1 ? 0 : w;
}

bool IsNullPen(const DcRecord& dc) { return !dc.state.pen || dc.state.pen->style == PS_NULL; }

bool IsNullBrush(const DcRecord& dc) { return !dc.state.brush || dc.state.brush->style == BS_NULL; }

QPen MakePen(const DcRecord& dc, COLORREF color, bool dashed)
{
    const PenRecord* pen = dc.state.pen;
    const int width = DeviceWidth(dc, pen);
    QPen qpen(QColor(RgbFromColorRef(color)));
    qpen.setWidth(width);
    if (width == 0) {
        qpen.setCapStyle(Qt::FlatCap);
        qpen.setJoinStyle(Qt::MiterJoin);
        if (dashed)
            qpen.setDashPattern(DashPattern(pen->style));
    } else {
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    return qpen;
}

// Sets up the painter for the binary raster operation; false when nothing is to be drawn.
bool Prepare(DcRecord& dc, QPainter*& painter)
{
    painter = DcPainter(dc);
    if (!painter)
        return false;
    QPainter::CompositionMode mode;
    if (!DcCompositionFor(dc.state.rop2, &mode))
        return false;
    if (dc.kind == DcKind::Printer || dc.kind == DcKind::Svg)
        mode = QPainter::CompositionMode_SourceOver;
    painter->setCompositionMode(mode);
    return true;
}

// The colour the pen or brush paints in: R2_BLACK and R2_WHITE force theirs.
COLORREF RopColor(const DcRecord& dc, COLORREF color)
{
    if (dc.state.rop2 == R2_BLACK)
        return 0;
    if (dc.state.rop2 == R2_WHITE)
        return 0xFFFFFF;
    return color;
}

// Strokes a device path with the selected pen; styled one-pixel pens fill
// their gaps with the background colour in OPAQUE mode.
void Stroke(DcRecord& dc, QPainter* painter, const QPainterPath& path)
{
    if (IsNullPen(dc))
        return;
    const PenRecord* pen = dc.state.pen;
    const bool styled = pen->style >= PS_DASH && pen->style <= PS_DASHDOTDOT && DeviceWidth(dc, pen) == 0;
    painter->setBrush(Qt::NoBrush);
    if (styled && dc.state.bkMode == OPAQUE) {
        painter->setPen(MakePen(dc, RopColor(dc, dc.state.bkColor), false));
        painter->drawPath(path);
    }
    painter->setPen(MakePen(dc, RopColor(dc, pen->color), styled));
    painter->drawPath(path);
}

void Fill(DcRecord& dc, QPainter* painter, const QPainterPath& path)
{
    if (IsNullBrush(dc))
        return;
    QBrush brush = DcBrush(dc, dc.state.brush);
    if (dc.state.rop2 == R2_BLACK || dc.state.rop2 == R2_WHITE)
        brush = QBrush(QColor(RgbFromColorRef(RopColor(dc, 0))));
    painter->fillPath(path, brush);
}

// The outline path of a one-pixel frame along the edges of a device rectangle
// whose right and bottom edges are excluded.
QPainterPath FramePath(const QRect& r)
{
    QPainterPath path;
    const double l = r.left(), t = r.top();
    const double rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
    path.moveTo(l, t);
    path.lineTo(rr, t);
    path.lineTo(rr, b);
    path.lineTo(l, b);
    path.closeSubpath();
    return path;
}

// Solid one-pixel outlines of rectangles are filled as four strips that never
// overlap, so XOR drawing changes each pixel once.
void SolidFrame(DcRecord& dc, QPainter* painter, const QRect& r)
{
    const QColor color(RgbFromColorRef(RopColor(dc, dc.state.pen->color)));
    const int w = r.width(), h = r.height();
    if (w <= 0 || h <= 0)
        return;
    if (w <= 2 || h <= 2) {
        painter->fillRect(r, color);
        return;
    }
    painter->fillRect(QRect(r.left(), r.top(), w, 1), color);
    painter->fillRect(QRect(r.left(), r.bottom(), w, 1), color);
    painter->fillRect(QRect(r.left(), r.top() + 1, 1, h - 2), color);
    painter->fillRect(QRect(r.right(), r.top() + 1, 1, h - 2), color);
}

QPointF Centre(const QRectF& r) { return r.center(); }

// The parametric angle (degrees, counter-clockwise, y up) on the ellipse
// where the radial through a device point meets it.
double RadialAngle(const QRectF& box, QPointF p)
{
    const QPointF c = Centre(box);
    const double a = box.width() / 2, b = box.height() / 2;
    const double dx = p.x() - c.x(), dy = c.y() - p.y();
    if (a <= 0 || b <= 0)
        return 0;
    return std::atan2(dy / b, dx / a) * 180.0 / kPi;
}

// The device box of a shape: right and bottom edges excluded, as an outline
// rectangle through the centres of its edge pixels.
QRectF ShapeBox(const QRect& r)
{
    return QRectF(r.left() + 0.5, r.top() + 0.5, std::max(0, r.width() - 1), std::max(0, r.height() - 1));
}

// A shape whose pen is solid or null and whose brush is solid or null can be
// drawn by one painter call.
bool PlainShape(const DcRecord& dc)
{
    const bool pen = IsNullPen(dc) || dc.state.pen->style == PS_SOLID || dc.state.pen->style == PS_INSIDEFRAME;
    const bool brush = IsNullBrush(dc) || dc.state.brush->style == BS_SOLID;
    return pen && brush;
}

void SetPlainPenAndBrush(const DcRecord& dc, QPainter* painter)
{
    if (IsNullPen(dc))
        painter->setPen(Qt::NoPen);
    else
        painter->setPen(MakePen(dc, RopColor(dc, dc.state.pen->color), false));
    if (IsNullBrush(dc))
        painter->setBrush(Qt::NoBrush);
    else
        painter->setBrush(QColor(RgbFromColorRef(RopColor(dc, dc.state.brush->color))));
}

enum class ArcKind { Arc, Pie, Chord };

BOOL DrawArc(CDC* self, ArcKind kind, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye)
{
    DcRecord* dc = DcOf(self);
    QPainter* painter;
    if (!dc || !Prepare(*dc, painter))
        return dc != nullptr;
    const QRect device = DcToDeviceRect(*dc, left, top, right, bottom);
    const QRectF box = ShapeBox(device);
    const QPointF start = DcToDeviceF(*dc, xs, ys);
    const QPointF end = DcToDeviceF(*dc, xe, ye);
    const double a0 = RadialAngle(box, start);
    double span = RadialAngle(box, end) - a0;
    while (span <= 0)
        span += 360;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(Centre(box));
        path.arcTo(box, a0, span);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a0);
        path.arcTo(box, a0, span);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    if (kind != ArcKind::Arc)
        Fill(*dc, painter, path);
    Stroke(*dc, painter, path);
    return TRUE;
}

} // namespace

bool DcCompositionFor(int rop2, QPainter::CompositionMode* mode)
{
    switch (rop2) {
    case R2_BLACK: case R2_WHITE: case R2_COPYPEN: *mode = QPainter::CompositionMode_SourceOver; return true;
    case R2_NOTMERGEPEN: *mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
    case R2_MASKNOTPEN: *mode = QPainter::RasterOp_NotSourceAndDestination; return true;
    case R2_NOTCOPYPEN: *mode = QPainter::RasterOp_NotSource; return true;
    case R2_MASKPENNOT: *mode = QPainter::RasterOp_SourceAndNotDestination; return true;
    case R2_NOT: *mode = QPainter::RasterOp_NotDestination; return true;
    case R2_XORPEN: *mode = QPainter::RasterOp_SourceXorDestination; return true;
    case R2_NOTMASKPEN: *mode = QPainter::RasterOp_NotSourceOrNotDestination; return true;
    case R2_MASKPEN: *mode = QPainter::RasterOp_SourceAndDestination; return true;
    case R2_NOTXORPEN: *mode = QPainter::RasterOp_NotSourceXorDestination; return true;
    case R2_MERGENOTPEN: *mode = QPainter::RasterOp_NotSourceOrDestination; return true;
    case R2_MERGEPENNOT: *mode = QPainter::RasterOp_SourceOrNotDestination; return true;
    case R2_MERGEPEN: *mode = QPainter::RasterOp_SourceOrDestination; return true;
    default: return false;
    }
}

static QImage HatchImage(int hatch, QRgb line, QRgb background)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(background);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool on = false;
            switch (hatch) {
            case HS_HORIZONTAL: on = y == 7; break;
            case HS_VERTICAL: on = x == 7; break;
            case HS_FDIAGONAL: on = x == y; break;
            case HS_BDIAGONAL: on = x + y == 7; break;
            case HS_CROSS: on = x == 7 || y == 7; break;
            case HS_DIAGCROSS: on = x == y || x + y == 7; break;
            default: break;
            }
            if (on)
                image.setPixel(x, y, line);
        }
    return image;
}

static QImage PatternImage(const DcRecord& dc, const BrushRecord* brush)
{
    if (brush->style == BS_HATCHED) {
        const QRgb background = dc.state.bkMode == OPAQUE ? RgbFromColorRef(dc.state.bkColor) : 0u;
        return HatchImage(brush->hatch, RgbFromColorRef(brush->color), background);
    }
    if (!brush->monoPattern)
        return brush->pattern;
    QImage image = brush->pattern.copy();
    const QRgb fore = RgbFromColorRef(dc.state.textColor), back = RgbFromColorRef(dc.state.bkColor);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (image.pixel(x, y) & 0xFFFFFF) ? back : fore);
    return image;
}

QBrush DcBrush(const DcRecord& dc, const BrushRecord* brush)
{
    if (!brush || brush->style == BS_NULL)
        return QBrush(Qt::NoBrush);
    if (brush->style == BS_SOLID)
        return QBrush(QColor(RgbFromColorRef(brush->color)));
    QBrush qbrush(PatternImage(dc, brush));
    // Patterns line up with the device origin (shifted by the brush origin), not with the shape.
    qbrush.setTransform(QTransform::fromTranslate(dc.state.brushOrg.x(), dc.state.brushOrg.y()));
    return qbrush;
}

QImage DcBrushTile(const DcRecord& dc, const BrushRecord* brush)
{
    if (!brush || brush->style == BS_SOLID || brush->style == BS_NULL)
        return QImage();
    if (brush->style == BS_HATCHED)
        return HatchImage(brush->hatch, RgbFromColorRef(brush->color), RgbFromColorRef(dc.state.bkColor));
    return PatternImage(dc, brush);
}

CPoint CDC::MoveTo(int x, int y)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.current;
    dc->state.current = QPoint(x, y);
    return CPoint(old.x(), old.y());
}

CPoint CDC::GetCurrentPosition() const
{
    DcRecord* dc = DcOf(this);
    return dc ? CPoint(dc->state.current.x(), dc->state.current.y()) : CPoint();
}

// One-pixel lines on image targets are stepped pixel by pixel, so that each
// segment leaves out its end point in every direction, joints are drawn
// once (XOR drawing stays reversible) and dash patterns run on across the
// segments. Other targets stroke the path.
// The binary raster operation: R2 code - 1 is the truth table over pen and
// destination, bit (pen * 2 + destination).
static QRgb Binary(int rop2, QRgb p, QRgb d)
{
    const unsigned table = unsigned(rop2 - 1);
    QRgb r = 0;
    if (table & 1) r |= ~p & ~d;
    if (table & 2) r |= ~p & d;
    if (table & 4) r |= p & ~d;
    if (table & 8) r |= p & d;
    return r & 0xFFFFFF;
}

// Writes single device pixels straight into the target image through the
// binary raster operation, inside the clip region.
class PixelWriter {
public:
    explicit PixelWriter(DcRecord& dc) : m_dc(dc), m_clip(DcClip(dc))
    {
        m_usable = dc.image && dc.image->isDetached();
        if (!m_usable)
            return;
        // Pixels are addressed in device coordinates: the bounds are the
        // image (and a rectangular clip) moved to the device origin.
        m_bounds = QRect(-dc.surfaceOrigin, dc.image->size());
        if (m_clip && m_clip->rectCount() <= 1) {
            m_bounds &= m_clip->boundingRect();
            m_clip.reset();
        }
        m_bits = dc.image->bits();
        m_stride = dc.image->bytesPerLine();
        m_rop = dc.state.rop2;
        m_mono = dc.kind == DcKind::Memory && dc.state.bitmap && dc.state.bitmap->mono;
    }
    // False when the image is shared and must be drawn through the painter.
    bool Usable() const { return m_usable; }
    void Plot(int x, int y, QRgb pen)
    {
        if (!m_bounds.contains(x, y) || (m_clip && !m_clip->contains(QPoint(x, y))))
            return;
        QRgb* pixel = reinterpret_cast<QRgb*>(m_bits + qsizetype(y + m_dc.surfaceOrigin.y()) * m_stride)
                      + (x + m_dc.surfaceOrigin.x());
        QRgb c = m_rop == R2_COPYPEN ? pen & 0xFFFFFF : Binary(m_rop, pen & 0xFFFFFF, *pixel & 0xFFFFFF);
        if (m_mono)
            c = qGray(c) >= 128 ? 0xFFFFFF : 0;
        *pixel = 0xFF000000u | c;
    }

private:
    DcRecord& m_dc;
    std::optional<QRegion> m_clip;
    QRect m_bounds;
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_rop = R2_COPYPEN;
    bool m_usable = false;
    bool m_mono = false;
};

static void CosmeticPolyline(DcRecord& dc, QPainter* painter, const QPoint* points, int count)
{
    const PenRecord* pen = dc.state.pen;
    const QVector<qreal> pattern = DashPattern(pen->style);
    int cycle = 0;
    for (qreal v : pattern)
        cycle += int(v);
    const QRgb ink = RgbFromColorRef(pen->color);
    const QRgb gap = RgbFromColorRef(dc.state.bkColor);
    const bool fillGaps = dc.state.bkMode == OPAQUE;
    PixelWriter writer(dc);
    const bool direct = writer.Usable();
    QPolygon on, off;
    int phase = 0;
    for (int i = 1; i < count; ++i) {
        int x = points[i - 1].x(), y = points[i - 1].y();
        const int x1 = points[i].x(), y1 = points[i].y();
        const int dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
        const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
        int err = dx + dy;
        while (x != x1 || y != y1) {
            bool draw = true;
            if (cycle) {
                int at = phase % cycle, k = 0;
                while (at >= int(pattern[k])) {
                    at -= int(pattern[k]);
                    ++k;
                }
                draw = k % 2 == 0;
                ++phase;
            }
            if (direct) {
                if (draw)
                    writer.Plot(x, y, ink);
                else if (fillGaps)
                    writer.Plot(x, y, gap);
            } else {
                (draw ? on : off) << QPoint(x, y);
            }
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }
    if (direct)
        return;
    painter->setBrush(Qt::NoBrush);
    QPen qpen(QColor(RgbFromColorRef(RopColor(dc, pen->color))), 0);
    qpen.setCapStyle(Qt::SquareCap);
    painter->setPen(qpen);
    painter->drawPoints(on);
    if (!off.isEmpty() && fillGaps) {
        qpen.setColor(QColor(RgbFromColorRef(RopColor(dc, dc.state.bkColor))));
        painter->setPen(qpen);
        painter->drawPoints(off);
    }
}

static void StrokeLines(DcRecord& dc, QPainter* painter, const QPoint* points, int count)
{
    if (IsNullPen(dc))
        return;
    if (dc.image && DeviceWidth(dc, dc.state.pen) == 0) {
        CosmeticPolyline(dc, painter, points, count);
        return;
    }
    QPainterPath path;
    path.moveTo(QPointF(points[0]));
    for (int i = 1; i < count; ++i)
        path.lineTo(QPointF(points[i]));
    Stroke(dc, painter, path);
}

BOOL CDC::LineTo(int x, int y)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    const QPoint points[2] = {DcToDevice(*dc, dc->state.current.x(), dc->state.current.y()), DcToDevice(*dc, x, y)};
    dc->state.current = QPoint(x, y);
    QPainter* painter;
    if (!Prepare(*dc, painter) || points[0] == points[1])
        return TRUE;
    StrokeLines(*dc, painter, points, 2);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !points || count < 2)
        return FALSE;
    QPainter* painter;
    if (!Prepare(*dc, painter))
        return TRUE;
    std::vector<QPoint> device;
    device.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        device.push_back(DcToDevice(*dc, points[i].x, points[i].y));
    StrokeLines(*dc, painter, device.data(), count);
    return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    const int counts[1] = {count};
    return PolyPolygon(points, counts, 1);
}

BOOL CDC::PolyPolygon(const POINT* points, const int* counts, int polygons)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !points || !counts || polygons < 1)
        return FALSE;
    QPainter* painter;
    if (!Prepare(*dc, painter))
        return TRUE;
    QPainterPath fill;
    fill.setFillRule(dc->state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    std::vector<std::vector<QPoint>> outlines;
    const POINT* p = points;
    for (int k = 0; k < polygons; ++k) {
        if (counts[k] < 2)
            return FALSE;
        QPolygonF polygon;
        std::vector<QPoint> outline;
        for (int i = 0; i < counts[k]; ++i) {
            const QPoint d = DcToDevice(*dc, p[i].x, p[i].y);
            polygon << QPointF(d);
            outline.push_back(d);
        }
        outline.push_back(outline.front());
        fill.addPolygon(polygon);
        fill.closeSubpath();
        outlines.push_back(std::move(outline));
        p += counts[k];
    }
    if (polygons == 1 && !IsNullBrush(*dc) && dc->state.brush->style == BS_SOLID) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(RgbFromColorRef(RopColor(*dc, dc->state.brush->color))));
        const std::vector<QPoint>& outline = outlines.front();
        painter->drawPolygon(outline.data(), int(outline.size()) - 1,
                             dc->state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    } else {
        Fill(*dc, painter, fill);
    }
    for (const std::vector<QPoint>& outline : outlines)
        StrokeLines(*dc, painter, outline.data(), int(outline.size()));
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    QPainter* painter;
    if (!Prepare(*dc, painter))
        return TRUE;
    QRect r = DcToDeviceRect(*dc, left, top, right, bottom);
    if (IsNullPen(*dc)) {
        // Without a pen the filled area loses its right column and bottom row.
        r.setWidth(r.width() - 1);
        r.setHeight(r.height() - 1);
    }
    if (r.width() <= 0 || r.height() <= 0)
        return TRUE;
    const PenRecord* pen = dc->state.pen;
    const int width = IsNullPen(*dc) ? 0 : DeviceWidth(*dc, pen);
    if (!IsNullBrush(*dc)) {
        QPainterPath path;
        path.addRect(IsNullPen(*dc) ? QRectF(r) : QRectF(r.adjusted(1, 1, -1, -1)));
        Fill(*dc, painter, path);
    }
    if (IsNullPen(*dc))
        return TRUE;
    if (width == 0 && pen->style == PS_SOLID)
        SolidFrame(*dc, painter, r);
    else if (width == 0)
        Stroke(*dc, painter, FramePath(r));
    else {
        QPainterPath path;
        path.addRect(ShapeBox(r));
        Stroke(*dc, painter, path);
    }
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    QPainter* painter;
    if (!Prepare(*dc, painter))
        return TRUE;
    const QRect r = DcToDeviceRect(*dc, left, top, right, bottom);
    if (r.width() <= 0 || r.height() <= 0)
        return TRUE;
    if (PlainShape(*dc)) {
        // The common case goes through the painter's own ellipse in one call.
        SetPlainPenAndBrush(*dc, painter);
        painter->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
        return TRUE;
    }
    QPainterPath path;
    path.addEllipse(ShapeBox(r));
    Fill(*dc, painter, path);
    Stroke(*dc, painter, path);
    return TRUE;
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    QPainter* painter;
    if (!Prepare(*dc, painter))
        return TRUE;
    const QRect r = DcToDeviceRect(*dc, left, top, right, bottom);
    if (r.width() <= 0 || r.height() <= 0)
        return TRUE;
    const double ew = std::fabs(width * DcScaleX(*dc)), eh = std::fabs(height * DcScaleY(*dc));
    if (PlainShape(*dc)) {
        SetPlainPenAndBrush(*dc, painter);
        painter->drawRoundedRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), ew / 2, eh / 2);
        return TRUE;
    }
    QPainterPath path;
    path.addRoundedRect(ShapeBox(r), ew / 2, eh / 2);
    Fill(*dc, painter, path);
    Stroke(*dc, painter, path);
    return TRUE;
}

BOOL CDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArc(this, ArcKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArc(this, ArcKind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArc(this, ArcKind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

// Fills a device rectangle with a brush, ignoring the raster operation.
static void FillDevice(DcRecord& dc, const QRect& r, const BrushRecord* brush)
{
    QPainter* painter = DcPainter(dc);
    if (!painter || r.isEmpty() || !brush || brush->style == BS_NULL)
        return;
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillRect(r, DcBrush(dc, brush));
}

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect || !brush)
        return;
    FillDevice(*dc, DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom),
               BrushFromHandle(brush->m_hObject));
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect || !brush)
        return;
    const QRect r = DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    const BrushRecord* b = BrushFromHandle(brush->m_hObject);
    if (r.isEmpty())
        return;
    FillDevice(*dc, QRect(r.left(), r.top(), r.width(), 1), b);
    FillDevice(*dc, QRect(r.left(), r.bottom(), r.width(), 1), b);
    FillDevice(*dc, QRect(r.left(), r.top() + 1, 1, r.height() - 2), b);
    FillDevice(*dc, QRect(r.right(), r.top() + 1, 1, r.height() - 2), b);
}

void CDC::InvertRect(LPCRECT rect)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return;
    DcRasterOp(*dc, DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom), nullptr, DSTINVERT);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return;
    dc->state.bkColor = color & 0xFFFFFF;
    QPainter* painter = DcPainter(*dc);
    const QRect r = DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (!painter || r.isEmpty())
        return;
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillRect(r, QColor(RgbFromColorRef(color)));
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

// One line of a border: top-left colour on the top row and left column,
// bottom-right colour on the bottom row and right column.
static void EdgeRing(CDC* dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight, UINT sides)
{
    if (sides & BF_TOP)
        dc->FillSolidRect(r.left, r.top, r.Width() - ((sides & BF_RIGHT) ? 1 : 0), 1, topLeft);
    if (sides & BF_LEFT)
        dc->FillSolidRect(r.left, r.top, 1, r.Height() - ((sides & BF_BOTTOM) ? 1 : 0), topLeft);
    if (sides & BF_BOTTOM)
        dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
    if (sides & BF_RIGHT)
        dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
}

static void ShrinkSides(CRect& r, UINT sides)
{
    if (sides & BF_LEFT) ++r.left;
    if (sides & BF_TOP) ++r.top;
    if (sides & BF_RIGHT) --r.right;
    if (sides & BF_BOTTOM) --r.bottom;
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return FALSE;
    const COLORREF bk = GetBkColor();
    CRect r(*rect);
    const UINT sides = flags & BF_RECT;
    struct Ring { UINT bit; int topLeft; int bottomRight; };
    const Ring outer[2] = {{BDR_RAISEDOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW},
                           {BDR_SUNKENOUTER, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
    const Ring inner[2] = {{BDR_RAISEDINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
                           {BDR_SUNKENINNER, COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
    for (const Ring* rings : {outer, inner}) {
        for (int i = 0; i < 2; ++i) {
            if (!(edge & rings[i].bit))
                continue;
            if (flags & BF_FLAT)
                EdgeRing(this, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW), sides);
            else
                EdgeRing(this, r, GetSysColor(rings[i].topLeft), GetSysColor(rings[i].bottomRight), sides);
            ShrinkSides(r, sides);
            break;
        }
    }
    if (flags & BF_MIDDLE)
        FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        *rect = r;
    SetBkColor(bk);
    return TRUE;
}

// The arrow of a scroll button, a filled triangle centred in the rectangle.
static void ScrollArrow(CDC* dc, const CRect& r, bool up, COLORREF color)
{
    const int size = std::max(1, std::min(r.Width(), r.Height()) / 4);
    const CPoint c = r.CenterPoint();
    for (int i = 0; i < size; ++i) {
        const int y = up ? c.y - size / 2 + i : c.y + size / 2 - i;
        dc->FillSolidRect(c.x - i, y, 2 * i + 1, 1, color);
    }
}

static void CheckMark(CDC* dc, const CRect& r, COLORREF color)
{
    const int x = r.left + (r.Width() - 7) / 2, y = r.top + (r.Height() - 7) / 2;
    for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? y + 2 + i : y + 4 - (i - 2);
        dc->FillSolidRect(x + i, top, 1, 3, color);
    }
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return FALSE;
    const COLORREF bk = GetBkColor();
    CRect r(*rect);
    const bool inactive = state & DFCS_INACTIVE;
    const bool pushed = state & DFCS_PUSHED;
    const bool flat = state & DFCS_FLAT;
    if (type == DFC_BUTTON && (state & 0x1F) == DFCS_BUTTONPUSH) {
        if (flat) {
            CBrush frame(GetSysColor(COLOR_BTNSHADOW));
            FrameRect(&r, &frame);
            r.DeflateRect(1, 1);
        } else {
            DrawEdge(&r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        }
        FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
        if (state & DFCS_ADJUSTRECT)
            *rect = r;
    } else if (type == DFC_BUTTON && (state & 0x1F) == DFCS_BUTTONCHECK) {
        const int size = std::min(13, std::min(r.Width(), r.Height()));
        CRect box(r.left, r.top + (r.Height() - size) / 2, r.left + size, r.top + (r.Height() - size) / 2 + size);
        if (flat) {
            CBrush frame(GetSysColor(COLOR_BTNSHADOW));
            FrameRect(&box, &frame);
            box.DeflateRect(1, 1);
        } else {
            DrawEdge(&box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        FillSolidRect(&box, GetSysColor(inactive || pushed ? COLOR_BTNFACE : COLOR_WINDOW));
        if (state & DFCS_CHECKED)
            CheckMark(this, box, GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    } else if (type == DFC_BUTTON && (state & 0x1F) == DFCS_BUTTONRADIO) {
        const int size = std::min(12, std::min(r.Width(), r.Height()));
        const CRect box(r.left, r.top + (r.Height() - size) / 2, r.left + size, r.top + (r.Height() - size) / 2 + size);
        const int saved = SaveDC();
        SelectStockObject(NULL_PEN);
        CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
        CBrush face(GetSysColor(inactive || pushed ? COLOR_BTNFACE : COLOR_WINDOW));
        SelectObject(&shadow);
        Ellipse(box.left, box.top, box.right + 1, box.bottom + 1);
        SelectObject(&face);
        Ellipse(box.left + 1, box.top + 1, box.right, box.bottom);
        if (state & DFCS_CHECKED) {
            CBrush dot(GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
            SelectObject(&dot);
            const CPoint c = box.CenterPoint();
            Ellipse(c.x - 2, c.y - 2, c.x + 3, c.y + 3);
            RestoreDC(saved);
        } else {
            RestoreDC(saved);
        }
    } else if (type == DFC_SCROLL) {
        if (flat) {
            CBrush frame(GetSysColor(COLOR_BTNSHADOW));
            FrameRect(&r, &frame);
            r.DeflateRect(1, 1);
        } else {
            DrawEdge(&r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        }
        FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
        if (state & DFCS_ADJUSTRECT)
            *rect = r;
        const UINT which = state & 0x0F;
        if (which == DFCS_SCROLLUP || which == DFCS_SCROLLDOWN) {
            CRect arrow = r;
            if (pushed)
                arrow.OffsetRect(1, 1);
            ScrollArrow(this, arrow, which == DFCS_SCROLLUP, GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        }
    } else if (type == DFC_MENU && (state & 0x0F) == DFCS_MENUCHECK) {
        CheckMark(this, r, 0);
    } else {
        SetBkColor(bk);
        return FALSE;
    }
    SetBkColor(bk);
    return TRUE;
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect || !dc->image)
        return;
    const QRect r = DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (r.isEmpty())
        return;
    // Every other pixel of the frame inverted, so a second call removes it.
    DcFlush(*dc);
    DcReleaseImage(dc->image);
    const std::optional<QRegion> clip = DcClip(*dc);
    QImage& image = *dc->image;
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) || (clip && !clip->contains(QPoint(x, y))))
            return;
        const int ix = x + dc->surfaceOrigin.x(), iy = y + dc->surfaceOrigin.y();
        if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height())
            return;
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(iy));
        row[ix] ^= 0x00FFFFFFu;
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        flip(x, r.top());
        if (r.height() > 1)
            flip(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        flip(r.left(), y);
        if (r.width() > 1)
            flip(r.right(), y);
    }
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    DcRecord* dc = DcOf(this);
    RegionRecord* rgn = region ? RegionFromHandle(region->m_hObject) : nullptr;
    BrushRecord* b = brush ? BrushFromHandle(brush->m_hObject) : nullptr;
    if (!dc || !rgn || !b)
        return FALSE;
    QPainter* painter = DcPainter(*dc);
    if (!painter)
        return TRUE;
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    QPainterPath path;
    path.addRegion(rgn->region);
    painter->fillPath(path, DcBrush(*dc, b));
    return TRUE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    DcRecord* dc = DcOf(this);
    RegionRecord* rgn = region ? RegionFromHandle(region->m_hObject) : nullptr;
    BrushRecord* b = brush ? BrushFromHandle(brush->m_hObject) : nullptr;
    if (!dc || !rgn || !b)
        return FALSE;
    QPainter* painter = DcPainter(*dc);
    if (!painter)
        return TRUE;
    // The frame is the region less the region shrunk by the frame's width and height.
    QRegion inner = rgn->region;
    for (int dx = -width; dx <= width; dx += std::max(1, width))
        for (int dy = -height; dy <= height; dy += std::max(1, height))
            inner = inner.intersected(rgn->region.translated(dx, dy));
    QPainterPath path;
    path.addRegion(rgn->region.subtracted(inner));
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->fillPath(path, DcBrush(*dc, b));
    return TRUE;
}

BOOL CDC::PaintRgn(CRgn* region)
{
    return FillRgn(region, GetCurrentBrush());
}

BOOL CDC::InvertRgn(CRgn* region)
{
    DcRecord* dc = DcOf(this);
    RegionRecord* rgn = region ? RegionFromHandle(region->m_hObject) : nullptr;
    if (!dc || !rgn)
        return FALSE;
    for (const QRect& r : rgn->region)
        DcRasterOp(*dc, r, nullptr, DSTINVERT);
    return TRUE;
}
