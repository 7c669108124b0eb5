// Icons and their drawing, DrawIcon and DrawState of CDC.
#include "Platform/Icon.h"
#include "Platform/GdiData.h"
#include "Platform/ImageList.h"
#include "Platform/ResourceTable.h"
#include "Platform/SysColors.h"

#include <unordered_set>

namespace {

// Never destroyed, like the GDI handle tables, so that static owners can
// still release their handles during exit.
std::unordered_set<IconRecord*>& LiveIcons()
{
    static auto& live = *new std::unordered_set<IconRecord*>;
    return live;
}

QImage Scaled(const QImage& image, int width, int height)
{
    if (image.width() == width && image.height() == height)
        return image;
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Puts colour and mask through the icon rule onto the context at a device point.
void Compose(DcRecord& dc, QPoint at, const QImage& color, const QImage& mask, UINT flags)
{
    const QRect rect(at, color.size());
    if (!dc.image) {
        QPainter* painter = DcPainter(dc);
        if (!painter)
            return;
        QImage argb = color.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                if ((mask.pixel(x, y) & 0xFFFFFF) && (flags & DI_MASK))
                    argb.setPixel(x, y, 0);
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->drawImage(rect, argb);
        return;
    }
    DcReleaseImage(dc.image);
    QRegion area(rect);
    if (std::optional<QRegion> clip = DcClip(dc))
        area = area.intersected(*clip);
    area = area.translated(dc.surfaceOrigin).intersected(dc.image->rect());
    const bool mono = dc.kind == DcKind::Memory && dc.state.bitmap && dc.state.bitmap->mono;
    for (const QRect& r : area) {
        for (int iy = r.top(); iy <= r.bottom(); ++iy) {
            auto* row = reinterpret_cast<QRgb*>(dc.image->scanLine(iy));
            const int sy = iy - dc.surfaceOrigin.y() - at.y();
            auto* c = reinterpret_cast<const QRgb*>(color.constScanLine(sy));
            auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(sy));
            for (int ix = r.left(); ix <= r.right(); ++ix) {
                const int sx = ix - dc.surfaceOrigin.x() - at.x();
                QRgb d = row[ix] & 0xFFFFFF;
                if (flags & DI_MASK)
                    d &= m[sx] & 0xFFFFFF;
                else
                    d = 0;
                if (flags & DI_IMAGE)
                    d ^= c[sx] & 0xFFFFFF;
                if (mono)
                    d = qGray(d) >= 128 ? 0xFFFFFF : 0;
                row[ix] = 0xFF000000u | d;
            }
        }
    }
}

// Paints the pixels of an ink mask (black = ink) in one colour.
void Silhouette(DcRecord& dc, QPoint at, const QImage& ink, COLORREF color)
{
    QImage fill(ink.size(), QImage::Format_RGB32);
    QImage mask(ink.size(), QImage::Format_RGB32);
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x) {
            const bool on = !(ink.pixel(x, y) & 0xFFFFFF);
            fill.setPixel(x, y, on ? RgbFromColorRef(color) : 0xFF000000u);
            mask.setPixel(x, y, on ? 0xFF000000u : 0xFFFFFFFFu);
        }
    Compose(dc, at, fill, mask, DI_NORMAL);
}

// The ink of an image: opaque pixels (a bitmap's are those that are not
// white), or for the disabled look only the opaque pixels darker than light
// grey, so light fills do not emboss.
QImage Ink(const QImage& color, const QImage* mask, bool darkOnly)
{
    QImage ink(color.size(), QImage::Format_RGB32);
    for (int y = 0; y < color.height(); ++y)
        for (int x = 0; x < color.width(); ++x) {
            bool on = mask ? !(mask->pixel(x, y) & 0xFFFFFF) : (color.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            if (on && darkOnly)
                on = qGray(color.pixel(x, y)) < 0xC0;
            ink.setPixel(x, y, on ? 0xFF000000u : 0xFFFFFFFFu);
        }
    return ink;
}

BOOL DrawStateImage(CDC* self, CPoint pt, CSize size, const QImage& color, const QImage* mask, UINT flags,
                    CBrush* brush)
{
    DcRecord* dc = DcOf(self);
    if (!dc)
        return FALSE;
    const int w = size.cx > 0 ? size.cx : color.width();
    const int h = size.cy > 0 ? size.cy : color.height();
    const QImage c = Scaled(color, w, h);
    QImage m = mask ? Scaled(*mask, w, h) : QImage();
    const QPoint at = DcToDevice(*dc, pt.x, pt.y);
    if (flags & DSS_MONO) {
        const BrushRecord* b = brush ? BrushFromHandle(brush->m_hObject) : dc->state.brush;
        Silhouette(*dc, at, Ink(c, mask ? &m : nullptr, false), b ? b->color : 0);
    } else if (flags & DSS_DISABLED) {
        const QImage ink = Ink(c, mask ? &m : nullptr, true);
        Silhouette(*dc, at + QPoint(1, 1), ink, GetSysColor(COLOR_BTNHIGHLIGHT));
        Silhouette(*dc, at, ink, GetSysColor(COLOR_BTNSHADOW));
    } else if (mask) {
        Compose(*dc, at, c, m, DI_NORMAL);
    } else {
        QImage opaque(c.size(), QImage::Format_RGB32);
        opaque.fill(Qt::black);
        Compose(*dc, at, c, opaque, DI_NORMAL);
    }
    return TRUE;
}

} // namespace

IconRecord* IconFromHandle(HICON icon)
{
    auto* record = reinterpret_cast<IconRecord*>(icon);
    return record && LiveIcons().count(record) ? record : nullptr;
}

HICON NewIconHandle(const QImage& color, const QImage& mask)
{
    auto* icon = new IconRecord;
    icon->color = color.convertToFormat(QImage::Format_RGB32).copy();
    icon->mask = mask.convertToFormat(QImage::Format_RGB32).copy();
    LiveIcons().insert(icon);
    return reinterpret_cast<HICON>(icon);
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info)
        return nullptr;
    BitmapRecord* mask = BitmapFromHandle(info->hbmMask);
    BitmapRecord* color = BitmapFromHandle(info->hbmColor);
    if (!mask)
        return nullptr;
    QImage c;
    QImage m = mask->image;
    if (color) {
        c = color->image;
        if (m.size() != c.size())
            m = Scaled(m, c.width(), c.height());
    } else {
        // A monochrome icon: the mask's upper half, the colour its lower half.
        const int h = m.height() / 2;
        c = m.copy(0, h, m.width(), h);
        m = m.copy(0, 0, m.width(), h);
    }
    HICON icon = NewIconHandle(c, m);
    IconRecord* record = IconFromHandle(icon);
    record->isIcon = info->fIcon != 0;
    record->hotSpot = QPoint(int(info->xHotspot), int(info->yHotspot));
    return icon;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    IconRecord* record = IconFromHandle(icon);
    if (!record || !info)
        return FALSE;
    info->fIcon = record->isIcon;
    info->xHotspot = DWORD(record->isIcon ? record->color.width() / 2 : record->hotSpot.x());
    info->yHotspot = DWORD(record->isIcon ? record->color.height() / 2 : record->hotSpot.y());
    info->hbmMask = BitmapHandle(NewBitmapRecord(record->mask.copy(), true));
    info->hbmColor = BitmapHandle(NewBitmapRecord(record->color.copy(), false));
    return TRUE;
}

HICON CopyIcon(HICON icon)
{
    IconRecord* record = IconFromHandle(icon);
    if (!record)
        return nullptr;
    HICON copy = NewIconHandle(record->color, record->mask);
    IconFromHandle(copy)->isIcon = record->isIcon;
    IconFromHandle(copy)->hotSpot = record->hotSpot;
    return copy;
}

BOOL DestroyIcon(HICON icon)
{
    IconRecord* record = IconFromHandle(icon);
    if (!record)
        return FALSE;
    LiveIcons().erase(record);
    delete record;
    return TRUE;
}

BOOL DrawIconEx(HDC handle, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flicker, UINT flags)
{
    DcRecord* dc = DcFromHandle(handle);
    IconRecord* record = IconFromHandle(icon);
    if (!dc || !record)
        return FALSE;
    const int w = width > 0 ? width : record->color.width();
    const int h = height > 0 ? height : record->color.height();
    const QPoint at = DcToDevice(*dc, x, y);
    // A background brush fills the icon's rectangle first, so its transparent
    // pixels show the brush rather than what lay there before.
    const BrushRecord* background = flicker ? BrushFromHandle(flicker) : nullptr;
    if (background && background->style != BS_NULL) {
        if (QPainter* painter = DcPainter(*dc)) {
            painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter->fillRect(QRect(at, QSize(w, h)), DcBrush(*dc, background));
        }
    }
    Compose(*dc, at, Scaled(record->color, w, h), Scaled(record->mask, w, h),
            flags & DI_NORMAL ? flags & DI_NORMAL : DI_NORMAL);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON icon)
{
    return DrawIconEx(m_hDC, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    IconRecord* record = IconFromHandle(icon);
    return record && DrawStateImage(this, pt, size, record->color, &record->mask, flags, brush);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, CBrush* brush)
{
    BitmapRecord* record = BitmapFromHandle(bitmap);
    return record && DrawStateImage(this, pt, size, record->image, nullptr, flags, brush);
}

HICON LoadIcon(HINSTANCE module, LPCTSTR name)
{
    if (!module)
        module = AfxFindResourceHandle(name, RT_ICON);
    const HRSRC res = module ? FindResource(module, name, RT_ICON) : nullptr;
    CBitmap bitmap;
    if (!res || !bitmap.LoadFromMemory(LockResource(LoadResource(module, res)), SizeofResource(module, res)))
        return nullptr;
    CImageList list;
    list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 1);
    return list.Add(&bitmap, RGB(255, 255, 255)) < 0 ? nullptr : list.ExtractIcon(0);
}
