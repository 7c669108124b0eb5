// Image lists of equal-sized images with masks.
#include "Platform/ImageList.h"
#include "Platform/GdiData.h"
#include "Platform/Icon.h"
#include "Platform/SysColors.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace {

struct ImageListRecord {
    int cx = 16, cy = 16;
    bool masked = false;
    COLORREF bk = CLR_NONE;
    std::vector<QImage> colors; // Format_RGB32, cx x cy
    std::vector<QImage> masks;  // white where transparent
    // The strip handed out by GetImageInfo.
    HBITMAP strip = nullptr, stripMask = nullptr;
};

// Never destroyed, like the GDI handle tables, so that static owners can
// still release their handles during exit.
std::unordered_set<ImageListRecord*>& LiveLists()
{
    static auto& live = *new std::unordered_set<ImageListRecord*>;
    return live;
}

std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>>& Wrappers()
{
    static auto& wrappers = *new std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>>;
    return wrappers;
}

ImageListRecord* ListOf(HIMAGELIST list)
{
    auto* record = reinterpret_cast<ImageListRecord*>(list);
    return record && LiveLists().count(record) ? record : nullptr;
}

void DropStrip(ImageListRecord* list)
{
    ::DeleteObject(list->strip);
    ::DeleteObject(list->stripMask);
    list->strip = list->stripMask = nullptr;
}

// One image cut out of a source at a column, padded with black (and masked)
// where the source is smaller.
QImage Cell(const QImage& source, int column, int cx, int cy, QRgb pad)
{
    QImage cell(cx, cy, QImage::Format_RGB32);
    cell.fill(pad);
    for (int y = 0; y < cy && y < source.height(); ++y)
        for (int x = 0; x < cx && column * cx + x < source.width(); ++x)
            cell.setPixel(x, y, source.pixel(column * cx + x, y));
    return cell;
}

// Splits a bitmap into images; a mask colour (or a mask bitmap) marks what is transparent.
int AddImages(ImageListRecord* list, const QImage& color, const QImage* mask, COLORREF maskColor, bool byColor)
{
    const int count = color.width() / list->cx;
    if (count < 1)
        return -1;
    const int first = int(list->colors.size());
    const QRgb key = RgbFromColorRef(maskColor) & 0xFFFFFF;
    for (int i = 0; i < count; ++i) {
        QImage c = Cell(color, i, list->cx, list->cy, 0xFF000000u);
        QImage m(list->cx, list->cy, QImage::Format_RGB32);
        m.fill(0xFF000000u);
        if (list->masked) {
            if (byColor) {
                for (int y = 0; y < list->cy; ++y)
                    for (int x = 0; x < list->cx; ++x)
                        if ((c.pixel(x, y) & 0xFFFFFF) == key) {
                            m.setPixel(x, y, 0xFFFFFFFFu);
                            c.setPixel(x, y, 0xFF000000u);
                        }
            } else if (mask) {
                m = Cell(*mask, i, list->cx, list->cy, 0xFFFFFFFFu);
            }
        }
        list->colors.push_back(c);
        list->masks.push_back(m);
    }
    DropStrip(list);
    return first;
}

QImage Blend(const QImage& image, COLORREF with, int percent)
{
    QImage out = image.copy();
    const QRgb w = RgbFromColorRef(with);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = out.pixel(x, y);
            out.setPixel(x, y, qRgb((qRed(c) * (100 - percent) + qRed(w) * percent) / 100,
                                    (qGreen(c) * (100 - percent) + qGreen(w) * percent) / 100,
                                    (qBlue(c) * (100 - percent) + qBlue(w) * percent) / 100));
        }
    return out;
}

} // namespace

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy)
{
    ImageListRecord* list = ListOf(handle);
    if (!list)
        return FALSE;
    if (cx)
        *cx = list->cx;
    if (cy)
        *cy = list->cy;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle)
{
    ImageListRecord* list = ListOf(handle);
    return list ? int(list->colors.size()) : 0;
}

HICON ImageList_GetIcon(HIMAGELIST handle, int index, UINT)
{
    ImageListRecord* list = ListOf(handle);
    if (!list || index < 0 || index >= int(list->colors.size()))
        return nullptr;
    return NewIconHandle(list->colors[size_t(index)], list->masks[size_t(index)]);
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC hdc, int x, int y, UINT style)
{
    ImageListRecord* list = ListOf(handle);
    DcRecord* dc = DcFromHandle(hdc);
    if (!list || !dc || index < 0 || index >= int(list->colors.size()))
        return FALSE;
    QImage color = list->colors[size_t(index)];
    QImage mask = list->masks[size_t(index)];
    if (style & ILD_MASK) {
        color = QImage(color.size(), QImage::Format_RGB32);
        color.fill(0xFF000000u);
    } else if (style & (ILD_BLEND50 | ILD_BLEND25)) {
        color = Blend(color, GetSysColor(COLOR_HIGHLIGHT), (style & ILD_BLEND50) ? 50 : 25);
        // Blending must not colour the masked-out pixels.
        for (int py = 0; py < color.height(); ++py)
            for (int px = 0; px < color.width(); ++px)
                if (mask.pixel(px, py) & 0xFFFFFF)
                    color.setPixel(px, py, 0xFF000000u);
    }
    const bool transparent = list->masked && ((style & (ILD_TRANSPARENT | ILD_MASK)) || list->bk == CLR_NONE);
    if (!transparent) {
        // The masked-out pixels take the list's background colour (black without one).
        const QRgb bk = list->bk == CLR_NONE ? 0xFF000000u : RgbFromColorRef(list->bk);
        for (int py = 0; py < color.height(); ++py)
            for (int px = 0; px < color.width(); ++px)
                if (mask.pixel(px, py) & 0xFFFFFF)
                    color.setPixel(px, py, bk);
        mask.fill(0xFF000000u);
    }
    HICON icon = NewIconHandle(color, mask);
    const BOOL done = DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return done;
}

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (m_hImageList || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || initial < 0 || grow < 0)
        return FALSE;
    auto* list = new ImageListRecord;
    list->cx = cx;
    list->cy = cy;
    list->masked = (flags & ILC_MASK) != 0;
    list->colors.reserve(size_t(std::min(initial, 1024)));
    LiveLists().insert(list);
    m_hImageList = reinterpret_cast<HIMAGELIST>(list);
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    ImageListRecord* list = ListOf(m_hImageList);
    if (!list)
        return FALSE;
    auto it = Wrappers().find(m_hImageList);
    m_hImageList = nullptr;
    if (it != Wrappers().end()) {
        it->second->m_hImageList = nullptr;
        Wrappers().erase(it);
    }
    DropStrip(list);
    LiveLists().erase(list);
    delete list;
    return TRUE;
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (m_hImageList || !ListOf(list))
        return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (!ListOf(list))
        return nullptr;
    auto& slot = Wrappers()[list];
    if (!slot) {
        slot = std::make_unique<CImageList>();
        slot->m_hImageList = list;
    }
    return slot.get();
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

BOOL CImageList::GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }

COLORREF CImageList::SetBkColor(COLORREF color)
{
    ImageListRecord* list = ListOf(m_hImageList);
    if (!list)
        return CLR_NONE;
    const COLORREF old = list->bk;
    list->bk = color;
    return old;
}

COLORREF CImageList::GetBkColor() const
{
    ImageListRecord* list = ListOf(m_hImageList);
    return list ? list->bk : CLR_NONE;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    ImageListRecord* list = ListOf(m_hImageList);
    BitmapRecord* color = bitmap ? BitmapFromHandle(bitmap->m_hObject) : nullptr;
    BitmapRecord* m = mask ? BitmapFromHandle(mask->m_hObject) : nullptr;
    if (!list || !color)
        return -1;
    return AddImages(list, color->image, m ? &m->image : nullptr, 0, false);
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColor)
{
    ImageListRecord* list = ListOf(m_hImageList);
    BitmapRecord* color = bitmap ? BitmapFromHandle(bitmap->m_hObject) : nullptr;
    if (!list || !color)
        return -1;
    return AddImages(list, color->image, nullptr, maskColor, true);
}

int CImageList::Add(HICON icon) { return Replace(-1, icon); }

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask)
{
    ImageListRecord* list = ListOf(m_hImageList);
    BitmapRecord* color = bitmap ? BitmapFromHandle(bitmap->m_hObject) : nullptr;
    if (!list || !color || index < 0 || index >= int(list->colors.size()))
        return FALSE;
    BitmapRecord* m = mask ? BitmapFromHandle(mask->m_hObject) : nullptr;
    list->colors[size_t(index)] = Cell(color->image, 0, list->cx, list->cy, 0xFF000000u);
    QImage cellMask(list->cx, list->cy, QImage::Format_RGB32);
    cellMask.fill(0xFF000000u);
    if (list->masked && m)
        cellMask = Cell(m->image, 0, list->cx, list->cy, 0xFFFFFFFFu);
    list->masks[size_t(index)] = cellMask;
    DropStrip(list);
    return TRUE;
}

int CImageList::Replace(int index, HICON icon)
{
    ImageListRecord* list = ListOf(m_hImageList);
    IconRecord* record = IconFromHandle(icon);
    if (!list || !record || index < -1 || index >= int(list->colors.size()))
        return -1;
    auto fit = [&](const QImage& image) {
        return image.size() == QSize(list->cx, list->cy)
                   ? image.copy()
                   : image.scaled(list->cx, list->cy, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    QImage color = fit(record->color);
    QImage mask = fit(record->mask);
    if (!list->masked)
        mask.fill(0xFF000000u);
    if (index == -1) {
        list->colors.push_back(color);
        list->masks.push_back(mask);
        index = int(list->colors.size()) - 1;
    } else {
        list->colors[size_t(index)] = color;
        list->masks[size_t(index)] = mask;
    }
    DropStrip(list);
    return index;
}

BOOL CImageList::Remove(int index)
{
    ImageListRecord* list = ListOf(m_hImageList);
    if (!list || index < -1 || index >= int(list->colors.size()))
        return FALSE;
    if (index == -1) {
        list->colors.clear();
        list->masks.clear();
    } else {
        list->colors.erase(list->colors.begin() + index);
        list->masks.erase(list->masks.begin() + index);
    }
    DropStrip(list);
    return TRUE;
}

HICON CImageList::ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }

BOOL CImageList::Draw(CDC* dc, int index, POINT pt, UINT style)
{
    return dc && ImageList_Draw(m_hImageList, index, dc->m_hDC, pt.x, pt.y, style);
}

BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const
{
    ImageListRecord* list = ListOf(m_hImageList);
    if (!list || !info || index < 0 || index >= int(list->colors.size()))
        return FALSE;
    if (!list->strip) {
        const int n = int(list->colors.size());
        QImage strip(list->cx * n, list->cy, QImage::Format_RGB32);
        QImage stripMask(list->cx * n, list->cy, QImage::Format_RGB32);
        QPainter colors(&strip), masks(&stripMask);
        for (int i = 0; i < n; ++i) {
            colors.drawImage(i * list->cx, 0, list->colors[size_t(i)]);
            masks.drawImage(i * list->cx, 0, list->masks[size_t(i)]);
        }
        colors.end();
        masks.end();
        BitmapRecord* image = NewBitmapRecord(strip, false);
        BitmapRecord* mask = NewBitmapRecord(stripMask, true);
        list->strip = BitmapHandle(image);
        list->stripMask = BitmapHandle(mask);
    }
    info->hbmImage = list->strip;
    info->hbmMask = list->masked ? list->stripMask : nullptr;
    info->Unused1 = info->Unused2 = 0;
    info->rcImage = RECT{index * list->cx, 0, (index + 1) * list->cx, list->cy};
    return TRUE;
}
