// Block transfers, ternary raster operations and single pixels of CDC.
#include "Platform/GdiData.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

bool UsesSource(DWORD rop)
{
    const unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

bool UsesPattern(DWORD rop)
{
    const unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// The truth table of a ternary operation applied bitwise to three colours.
QRgb Ternary(unsigned code, QRgb p, QRgb s, QRgb d)
{
    QRgb result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((code >> i) & 1))
            continue;
        result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return result;
}

bool IsMonoTarget(const DcRecord& dc)
{
    return dc.kind == DcKind::Memory && dc.state.bitmap && dc.state.bitmap->mono;
}

QRgb ToMono(QRgb c) { return qGray(c) >= 128 ? 0xFFFFFFu : 0u; }

// The source rectangle in the destination's colour form: monochrome to
// colour takes the destination's text (black) and background (white)
// colours; colour to monochrome makes the source's background colour white.
QImage SourceImage(const DcRecord& src, const QRect& rect, const DcRecord& dest)
{
    QImage out(rect.size(), QImage::Format_RGB32);
    const QRect inImage = rect.translated(src.surfaceOrigin);
    // What lies outside the source is black.
    if (!src.image || !QRect(QPoint(0, 0), src.image->size()).contains(inImage))
        out.fill(Qt::black);
    if (!src.image)
        return out;
    const bool srcMono = IsMonoTarget(src);
    const bool destMono = IsMonoTarget(dest);
    const QRgb fore = RgbFromColorRef(dest.state.textColor), back = RgbFromColorRef(dest.state.bkColor);
    const QRgb srcBack = RgbFromColorRef(src.state.bkColor) & 0xFFFFFF;
    const int width = src.image->width(), height = src.image->height();
    // Colour to colour in the opaque 32-bit form is a copy of each row's overlap.
    const bool plain = !srcMono && !destMono && src.image->format() == QImage::Format_RGB32;
    const int first = std::max(0, -inImage.left()), last = std::min(rect.width(), width - inImage.left());
    for (int y = 0; y < rect.height(); ++y) {
        const int sy = inImage.top() + y;
        if (sy < 0 || sy >= height)
            continue;
        auto* in = reinterpret_cast<const QRgb*>(src.image->constScanLine(sy));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (plain) {
            if (first < last)
                std::memcpy(row + first, in + inImage.left() + first, size_t(last - first) * sizeof(QRgb));
            continue;
        }
        for (int x = 0; x < rect.width(); ++x) {
            const int sx = inImage.left() + x;
            if (sx < 0 || sx >= width)
                continue;
            QRgb c = in[sx] & 0xFFFFFF;
            if (srcMono && !destMono)
                c = c ? back : fore;
            else if (!srcMono && destMono)
                c = c == srcBack ? 0xFFFFFFu : 0u;
            row[x] = 0xFF000000u | c;
        }
    }
    return out;
}

} // namespace

void DcRasterOp(DcRecord& dc, const QRect& rect, const QImage* source, DWORD rop)
{
    if (rect.isEmpty())
        return;
    const unsigned code = (rop >> 16) & 0xFF;
    if (!dc.image) {
        // Printers and pictures know only plain copies and fills.
        QPainter* painter = DcPainter(dc);
        if (!painter)
            return;
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (source && UsesSource(rop))
            painter->drawImage(rect, *source);
        else if (code == 0xF0)
            painter->fillRect(rect, DcBrush(dc, dc.state.brush));
        else if (code == 0x00 || code == 0xFF)
            painter->fillRect(rect, code ? Qt::white : Qt::black);
        return;
    }
    DcReleaseImage(dc.image);
    QRegion area(rect);
    if (std::optional<QRegion> clip = DcClip(dc))
        area = area.intersected(*clip);
    area = area.translated(dc.surfaceOrigin).intersected(QRect(QPoint(0, 0), dc.image->size()));
    const bool mono = IsMonoTarget(dc);
    const BrushRecord* brush = dc.state.brush;
    const QImage tile = UsesPattern(rop) ? DcBrushTile(dc, brush) : QImage();
    QRgb solid = brush && brush->style == BS_SOLID ? RgbFromColorRef(brush->color) & 0xFFFFFF : 0;
    if (mono)
        solid = ToMono(solid);
    const int tileW = tile.isNull() ? 1 : tile.width(), tileH = tile.isNull() ? 1 : tile.height();
    QImage& image = *dc.image;
    // A source made by SourceImage is opaque already: a plain copy is a row copy.
    const bool copy = code == 0xCC && source && source->format() == QImage::Format_RGB32 && image.depth() == 32;
    for (const QRect& r : area) {
        for (int iy = r.top(); iy <= r.bottom(); ++iy) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(iy));
            const int y = iy - dc.surfaceOrigin.y();
            const QRgb* src = source ? reinterpret_cast<const QRgb*>(source->constScanLine(y - rect.top())) : nullptr;
            if (copy) {
                const int x = r.left() - dc.surfaceOrigin.x();
                std::memcpy(row + r.left(), src + (x - rect.left()), size_t(r.width()) * sizeof(QRgb));
                continue;
            }
            for (int ix = r.left(); ix <= r.right(); ++ix) {
                const int x = ix - dc.surfaceOrigin.x();
                const QRgb s = src ? src[x - rect.left()] & 0xFFFFFF : 0;
                if (code == 0xCC) {
                    row[ix] = 0xFF000000u | s;
                    continue;
                }
                QRgb p = solid;
                if (!tile.isNull()) {
                    const int tx = ((x - dc.state.brushOrg.x()) % tileW + tileW) % tileW;
                    const int ty = ((y - dc.state.brushOrg.y()) % tileH + tileH) % tileH;
                    p = tile.pixel(tx, ty) & 0xFFFFFF;
                    if (mono)
                        p = ToMono(p);
                }
                row[ix] = 0xFF000000u | (Ternary(code, p, s, row[ix] & 0xFFFFFF) & 0xFFFFFF);
            }
        }
    }
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    const QRect rect = DcToDeviceRect(*dc, x, y, x + width, y + height);
    if (!UsesSource(rop)) {
        DcRasterOp(*dc, rect, nullptr, rop);
        return TRUE;
    }
    DcRecord* source = DcOf(src);
    if (!source)
        return FALSE;
    const QPoint origin = DcToDevice(*source, xSrc, ySrc);
    const QImage image = SourceImage(*source, QRect(origin, rect.size()), *dc);
    DcRasterOp(*dc, rect, &image, rop);
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    const QRect rect = DcToDeviceRect(*dc, x, y, x + width, y + height);
    if (!UsesSource(rop)) {
        DcRasterOp(*dc, rect, nullptr, rop);
        return TRUE;
    }
    DcRecord* source = DcOf(src);
    if (!source)
        return FALSE;
    const QRect from = DcToDeviceRect(*source, xSrc, ySrc, xSrc + srcWidth, ySrc + srcHeight);
    QImage image = SourceImage(*source, from, *dc);
    if (image.size() != rect.size())
        image = image.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    DcRasterOp(*dc, rect, &image, rop);
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    DcRecord* dc = DcOf(this);
    if (!dc || UsesSource(rop))
        return FALSE;
    DcRasterOp(*dc, DcToDeviceRect(*dc, x, y, x + width, y + height), nullptr, rop);
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !dc->image)
        return CLR_INVALID;
    const QPoint p = DcToDevice(*dc, x, y);
    std::optional<QRegion> clip = DcClip(*dc);
    if (clip && !clip->contains(p))
        return CLR_INVALID;
    const QPoint in = p + dc->surfaceOrigin;
    if (!dc->image->rect().contains(in))
        return CLR_INVALID;
    return ColorRefFromRgb(dc->image->pixel(in));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CLR_INVALID;
    const QPoint p = DcToDevice(*dc, x, y);
    std::optional<QRegion> clip = DcClip(*dc);
    if (clip && !clip->contains(p))
        return CLR_INVALID;
    if (!dc->image) {
        if (QPainter* painter = DcPainter(*dc))
            painter->fillRect(QRect(p, QSize(1, 1)), QColor(RgbFromColorRef(color)));
        return color & 0xFFFFFF;
    }
    const QPoint in = p + dc->surfaceOrigin;
    if (!dc->image->rect().contains(in))
        return CLR_INVALID;
    DcReleaseImage(dc->image);
    QRgb c = RgbFromColorRef(color);
    if (IsMonoTarget(*dc))
        c = 0xFF000000u | ToMono(c);
    dc->image->setPixel(in, c);
    return ColorRefFromRgb(c);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color) { return SetPixel(x, y, color) != CLR_INVALID; }

CBrush* CDC::GetHalftoneBrush()
{
    static CBrush* brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i)
            pattern[i] = WORD(0x5555 << (i & 1));
        CBitmap bitmap;
        bitmap.CreateBitmap(8, 8, 1, 1, pattern);
        auto* b = new CBrush;
        b->CreatePatternBrush(&bitmap);
        return b;
    }();
    return brush;
}

namespace {

// The four strips of a frame of the given thickness inside rect.
void InvertFrame(CDC* dc, const CRect& rect, SIZE size, CBrush* brush)
{
    if (size.cx <= 0 && size.cy <= 0)
        return;
    CBrush* old = dc->SelectObject(brush);
    const int cx = std::min<int>(size.cx, rect.Width()), cy = std::min<int>(size.cy, rect.Height());
    dc->PatBlt(rect.left, rect.top, rect.Width(), cy, PATINVERT);
    dc->PatBlt(rect.left, rect.bottom - cy, rect.Width(), cy, PATINVERT);
    const int side = std::max(rect.Height() - 2 * cy, 0);
    dc->PatBlt(rect.left, rect.top + cy, cx, side, PATINVERT);
    dc->PatBlt(rect.right - cx, rect.top + cy, cx, side, PATINVERT);
    dc->SelectObject(old);
}

} // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast)
{
    CBrush* brush = pBrush ? pBrush : GetHalftoneBrush();
    if (lpRectLast)
        InvertFrame(this, CRect(lpRectLast), sizeLast, pBrushLast ? pBrushLast : brush);
    InvertFrame(this, CRect(lpRect), size, brush);
}
