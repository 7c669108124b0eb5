// Device contexts: creation, saved states, selected objects, mapping and clipping.
#include "Platform/GdiData.h"
#include "Platform/SysColors.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <cassert>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace {

// Never destroyed, like the GDI handle tables, so that static owners can
// still release their handles during exit.
std::unordered_set<DcRecord*>& LiveContexts()
{
    static auto& live = *new std::unordered_set<DcRecord*>;
    return live;
}

// The context whose painter is open on an image; one per image at a time.
std::unordered_map<const QImage*, DcRecord*>& OpenPainters()
{
    static auto& open = *new std::unordered_map<const QImage*, DcRecord*>;
    return open;
}

std::unordered_map<HDC, std::unique_ptr<CDC>>& Wrappers()
{
    static auto& wrappers = *new std::unordered_map<HDC, std::unique_ptr<CDC>>;
    return wrappers;
}

HDC Handle(DcRecord* dc) { return reinterpret_cast<HDC>(dc); }

void SelectInto(DcState& state, GdiRecord* record)
{
    GdiRetain(record);
    GdiRecord* old = nullptr;
    switch (record->type) {
    case OBJ_PEN: old = state.pen; state.pen = static_cast<PenRecord*>(record); break;
    case OBJ_BRUSH: old = state.brush; state.brush = static_cast<BrushRecord*>(record); break;
    case OBJ_FONT: old = state.font; state.font = static_cast<FontRecord*>(record); break;
    default: break;
    }
    GdiRelease(old);
}

DcRecord* NewContext(DcKind kind)
{
    auto* dc = new DcRecord;
    dc->kind = kind;
    SelectInto(dc->state, GdiFromHandle(GetStockObject(BLACK_PEN)));
    SelectInto(dc->state, GdiFromHandle(GetStockObject(WHITE_BRUSH)));
    SelectInto(dc->state, GdiFromHandle(GetStockObject(SYSTEM_FONT)));
    LiveContexts().insert(dc);
    return dc;
}

void ReleaseState(DcState& state)
{
    GdiRelease(state.pen);
    GdiRelease(state.brush);
    GdiRelease(state.font);
    GdiRelease(state.bitmap);
    state.pen = nullptr;
    state.brush = nullptr;
    state.font = nullptr;
    state.bitmap = nullptr;
}

void RetainState(const DcState& state)
{
    GdiRetain(state.pen);
    GdiRetain(state.brush);
    GdiRetain(state.font);
    GdiRetain(state.bitmap);
}

// Binds a memory context to a bitmap (or to none).
void BindBitmap(DcRecord& dc, BitmapRecord* bitmap)
{
    DcFlush(dc);
    if (dc.state.bitmap && dc.state.bitmap->selectedIn == &dc)
        dc.state.bitmap->selectedIn = nullptr;
    dc.state.bitmap = bitmap;
    dc.image = bitmap ? &bitmap->image : nullptr;
    if (bitmap && !bitmap->stock)
        bitmap->selectedIn = &dc;
}

// The 1x1 monochrome bitmap every memory context starts with; shared by all.
BitmapRecord* DefaultMonoBitmap()
{
    static BitmapRecord* bitmap = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.fill(Qt::black);
        BitmapRecord* record = NewBitmapRecord(image, true);
        record->stock = true;
        return record;
    }();
    return bitmap;
}

void ApplyClip(DcRecord& dc)
{
    if (!dc.painter)
        return;
    std::optional<QRegion> clip = DcClip(dc);
    if (clip)
        dc.painter->setClipRegion(*clip);
    else
        dc.painter->setClipping(false);
}

void DestroyContext(DcRecord* dc)
{
    DcFlush(*dc);
    if (dc->painter) {
        dc->painter->end();
        delete dc->painter;
        dc->painter = nullptr;
    }
    if (dc->kind == DcKind::Memory) {
        BitmapRecord* bitmap = dc->state.bitmap;
        BindBitmap(*dc, nullptr);
        dc->state.bitmap = bitmap;
    }
    for (DcState& state : dc->saved)
        ReleaseState(state);
    ReleaseState(dc->state);
    if (dc->ownsDevice)
        delete dc->device;
    LiveContexts().erase(dc);
    auto it = Wrappers().find(Handle(dc));
    if (it != Wrappers().end()) {
        it->second->m_hDC = it->second->m_hAttribDC = nullptr;
        Wrappers().erase(it);
    }
    delete dc;
}

double MetricScale(int mode)
{
    switch (mode) {
    case MM_LOMETRIC: return 254.0;
    case MM_HIMETRIC: return 2540.0;
    case MM_LOENGLISH: return 100.0;
    case MM_HIENGLISH: return 1000.0;
    case MM_TWIPS: return 1440.0;
    default: return 0;
    }
}

int Round(double v) { return int(std::floor(v + 0.5)); }

} // namespace

DcRecord* DcFromHandle(HDC dc)
{
    auto* record = reinterpret_cast<DcRecord*>(dc);
    return record && LiveContexts().count(record) ? record : nullptr;
}

DcRecord* DcOf(const CDC* dc) { return dc ? DcFromHandle(dc->m_hDC) : nullptr; }

HDC CreateImageDC(QImage* image, QPoint origin, const QRegion* clip)
{
    assert(!image || image->isNull() || image->format() == QImage::Format_RGB32);
    DcRecord* dc = NewContext(DcKind::Image);
    dc->image = image;
    dc->surfaceOrigin = origin;
    if (clip)
        dc->surfaceClip = *clip;
    return Handle(dc);
}

HDC CreateDeviceDC(QPaintDevice* device, DcKind kind, bool ownsDevice)
{
    if (!device)
        return nullptr;
    DcRecord* dc = NewContext(kind);
    dc->device = device;
    dc->ownsDevice = ownsDevice;
    dc->dpiX = device->logicalDpiX();
    dc->dpiY = device->logicalDpiY();
    return Handle(dc);
}

BOOL DeleteDC(HDC handle)
{
    DcRecord* dc = DcFromHandle(handle);
    if (!dc)
        return FALSE;
    DestroyContext(dc);
    return TRUE;
}

QPainter* DcPainter(DcRecord& dc)
{
    if (dc.painter)
        return dc.painter;
    if (dc.kind == DcKind::Image || dc.kind == DcKind::Memory) {
        if (!dc.image || dc.image->isNull())
            return nullptr;
        DcReleaseImage(dc.image);
        dc.painter = new QPainter(dc.image);
        OpenPainters()[dc.image] = &dc;
        dc.painter->translate(dc.surfaceOrigin);
    } else {
        // A printer starts its document with its first painter; the first
        // StartPage opens it.
        if (dc.kind == DcKind::Printer && !dc.pageStarted)
            return nullptr;
        dc.painter = new QPainter(dc.device);
        if (!dc.painter->isActive()) {
            delete dc.painter;
            dc.painter = nullptr;
            return nullptr;
        }
        dc.painter->setRenderHint(QPainter::Antialiasing, true);
        dc.painter->setRenderHint(QPainter::TextAntialiasing, true);
    }
    ApplyClip(dc);
    return dc.painter;
}

void DcFlush(DcRecord& dc)
{
    if (!dc.painter || (dc.kind != DcKind::Image && dc.kind != DcKind::Memory))
        return;
    dc.painter->end();
    delete dc.painter;
    dc.painter = nullptr;
    OpenPainters().erase(dc.image);
}

void DcReleaseImage(const QImage* image)
{
    auto it = OpenPainters().find(image);
    if (it != OpenPainters().end())
        DcFlush(*it->second);
}

double DcScaleX(const DcRecord& dc)
{
    const DcState& s = dc.state;
    if (double units = MetricScale(s.mapMode))
        return dc.dpiX / units;
    if (s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC) {
        double sx = double(s.viewportExt.width()) / s.windowExt.width();
        if (s.mapMode == MM_ISOTROPIC) {
            const double sy = double(s.viewportExt.height()) / s.windowExt.height();
            sx = std::copysign(std::min(std::fabs(sx), std::fabs(sy)), sx);
        }
        return sx;
    }
    return 1.0;
}

double DcScaleY(const DcRecord& dc)
{
    const DcState& s = dc.state;
    if (double units = MetricScale(s.mapMode))
        return -dc.dpiY / units;
    if (s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC) {
        double sy = double(s.viewportExt.height()) / s.windowExt.height();
        if (s.mapMode == MM_ISOTROPIC) {
            const double sx = double(s.viewportExt.width()) / s.windowExt.width();
            sy = std::copysign(std::min(std::fabs(sx), std::fabs(sy)), sy);
        }
        return sy;
    }
    return 1.0;
}

QPointF DcToDeviceF(const DcRecord& dc, double x, double y)
{
    const DcState& s = dc.state;
    return QPointF((x - s.windowOrg.x()) * DcScaleX(dc) + s.viewportOrg.x(),
                   (y - s.windowOrg.y()) * DcScaleY(dc) + s.viewportOrg.y());
}

QPoint DcToDevice(const DcRecord& dc, int x, int y)
{
    if (dc.state.mapMode == MM_TEXT) {
        const DcState& s = dc.state;
        return QPoint(x - s.windowOrg.x() + s.viewportOrg.x(), y - s.windowOrg.y() + s.viewportOrg.y());
    }
    const QPointF p = DcToDeviceF(dc, x, y);
    return QPoint(Round(p.x()), Round(p.y()));
}

QPoint DcToLogical(const DcRecord& dc, int x, int y)
{
    const DcState& s = dc.state;
    return QPoint(Round((x - s.viewportOrg.x()) / DcScaleX(dc) + s.windowOrg.x()),
                  Round((y - s.viewportOrg.y()) / DcScaleY(dc) + s.windowOrg.y()));
}

QRect DcToDeviceRect(const DcRecord& dc, int left, int top, int right, int bottom)
{
    const QPoint a = DcToDevice(dc, left, top);
    const QPoint b = DcToDevice(dc, right, bottom);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
}

std::optional<QRegion> DcClip(const DcRecord& dc)
{
    std::optional<QRegion> clip = dc.state.clip;
    if (dc.surfaceClip) {
        const QRegion surface = dc.surfaceClip->translated(-dc.surfaceOrigin);
        clip = clip ? clip->intersected(surface) : surface;
    }
    return clip;
}

CDC::~CDC()
{
    if (m_hDC)
        DeleteDC();
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = dc;
    if (DcRecord* record = DcFromHandle(dc))
        m_bPrinting = record->kind == DcKind::Printer;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    m_bPrinting = FALSE;
    return dc;
}

CDC* CDC::FromHandle(HDC dc)
{
    if (!DcFromHandle(dc))
        return nullptr;
    auto& slot = Wrappers()[dc];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = slot->m_hAttribDC = dc;
        slot->m_bPrinting = DcFromHandle(dc)->kind == DcKind::Printer;
    }
    return slot.get();
}

CDC* CDC::AttribPeer() const { return m_hAttribDC && m_hAttribDC != m_hDC ? FromHandle(m_hAttribDC) : nullptr; }

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    DcRecord* record = NewContext(DcKind::Memory);
    if (DcRecord* source = DcOf(dc)) {
        record->dpiX = source->kind == DcKind::Printer || source->kind == DcKind::Svg ? 96 : source->dpiX;
        record->dpiY = source->kind == DcKind::Printer || source->kind == DcKind::Svg ? 96 : source->dpiY;
    }
    BitmapRecord* bitmap = DefaultMonoBitmap();
    GdiRetain(bitmap);
    BindBitmap(*record, bitmap);
    return Attach(Handle(record));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    HDC dc = Detach();
    return ::DeleteDC(dc);
}

int CDC::SaveDC()
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->state);
    RetainState(dc->state);
    return int(dc->saved.size());
}

BOOL CDC::RestoreDC(int savedLevel)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    const int count = int(dc->saved.size());
    const int level = savedLevel < 0 ? count + 1 + savedLevel : savedLevel;
    if (level < 1 || level > count)
        return FALSE;
    DcState restored = dc->saved[size_t(level - 1)];
    RetainState(restored);
    for (int i = count - 1; i >= level - 1; --i)
        ReleaseState(dc->saved[size_t(i)]);
    dc->saved.resize(size_t(level - 1));
    BitmapRecord* oldBitmap = dc->state.bitmap;
    if (dc->kind == DcKind::Memory && restored.bitmap != oldBitmap) {
        BindBitmap(*dc, restored.bitmap);
        dc->state.bitmap = oldBitmap;
    }
    ReleaseState(dc->state);
    dc->state = restored;
    ApplyClip(*dc);
    return TRUE;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    DcRecord* dc = DcOf(this);
    GdiRecord* record = object ? GdiFromHandle(object->m_hObject) : nullptr;
    if (!dc || !record)
        return nullptr;
    GdiRecord* old = nullptr;
    switch (record->type) {
    case OBJ_PEN: old = dc->state.pen; break;
    case OBJ_BRUSH: old = dc->state.brush; break;
    case OBJ_FONT: old = dc->state.font; break;
    case OBJ_BITMAP: {
        auto* bitmap = static_cast<BitmapRecord*>(record);
        if (dc->kind != DcKind::Memory || (bitmap->selectedIn && bitmap->selectedIn != dc && !bitmap->stock))
            return nullptr;
        old = dc->state.bitmap;
        GdiRetain(bitmap);
        BindBitmap(*dc, bitmap);
        GdiRelease(old);
        return CGdiObject::FromHandle(old);
    }
    case OBJ_REGION:
        SelectClipRgn(static_cast<CRgn*>(object));
        return nullptr;
    default:
        return nullptr;
    }
    SelectInto(dc->state, record);
    if (CDC* attrib = AttribPeer())
        attrib->SelectObject(object);
    // An object deleted while selected went with its release: no wrapper for it.
    return CGdiObject::FromHandle(old);
}

CPen* CDC::SelectObject(CPen* pen) { return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen))); }
CBrush* CDC::SelectObject(CBrush* brush) { return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush))); }
CFont* CDC::SelectObject(CFont* font) { return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font))); }

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(bitmap)));
}

int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }

CGdiObject* CDC::SelectStockObject(int index)
{
    return SelectObject(CGdiObject::FromHandle(GetStockObject(index)));
}

CPen* CDC::GetCurrentPen() const
{
    DcRecord* dc = DcOf(this);
    return dc ? static_cast<CPen*>(CGdiObject::FromHandle(dc->state.pen)) : nullptr;
}

CBrush* CDC::GetCurrentBrush() const
{
    DcRecord* dc = DcOf(this);
    return dc ? static_cast<CBrush*>(CGdiObject::FromHandle(dc->state.brush)) : nullptr;
}

CFont* CDC::GetCurrentFont() const
{
    DcRecord* dc = DcOf(this);
    return dc ? static_cast<CFont*>(CGdiObject::FromHandle(dc->state.font)) : nullptr;
}

CBitmap* CDC::GetCurrentBitmap() const
{
    DcRecord* dc = DcOf(this);
    return dc && dc->state.bitmap ? static_cast<CBitmap*>(CGdiObject::FromHandle(dc->state.bitmap)) : nullptr;
}

int CDC::SetMapMode(int mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    const int old = dc->state.mapMode;
    dc->state.mapMode = mode;
    if (CDC* attrib = AttribPeer())
        attrib->SetMapMode(mode);
    return old;
}

int CDC::GetMapMode() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.mapMode : 0;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.windowOrg;
    dc->state.windowOrg = QPoint(x, y);
    if (CDC* attrib = AttribPeer())
        attrib->SetWindowOrg(x, y);
    return CPoint(old.x(), old.y());
}

CPoint CDC::GetWindowOrg() const
{
    DcRecord* dc = DcOf(this);
    return dc ? CPoint(dc->state.windowOrg.x(), dc->state.windowOrg.y()) : CPoint();
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    const CPoint old = GetWindowOrg();
    SetWindowOrg(old.x + dx, old.y + dy);
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.viewportOrg;
    dc->state.viewportOrg = QPoint(x, y);
    if (CDC* attrib = AttribPeer())
        attrib->SetViewportOrg(x, y);
    return CPoint(old.x(), old.y());
}

CPoint CDC::GetViewportOrg() const
{
    DcRecord* dc = DcOf(this);
    return dc ? CPoint(dc->state.viewportOrg.x(), dc->state.viewportOrg.y()) : CPoint();
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint old = GetViewportOrg();
    SetViewportOrg(old.x + dx, old.y + dy);
    return old;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    DcRecord* dc = DcOf(this);
    if (!dc || cx == 0 || cy == 0)
        return CSize();
    const QSize old = dc->state.windowExt;
    if (dc->state.mapMode == MM_ISOTROPIC || dc->state.mapMode == MM_ANISOTROPIC)
        dc->state.windowExt = QSize(cx, cy);
    if (CDC* attrib = AttribPeer())
        attrib->SetWindowExt(cx, cy);
    return CSize(old.width(), old.height());
}

CSize CDC::GetWindowExt() const
{
    DcRecord* dc = DcOf(this);
    return dc ? CSize(dc->state.windowExt.width(), dc->state.windowExt.height()) : CSize();
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    DcRecord* dc = DcOf(this);
    if (!dc || cx == 0 || cy == 0)
        return CSize();
    const QSize old = dc->state.viewportExt;
    if (dc->state.mapMode == MM_ISOTROPIC || dc->state.mapMode == MM_ANISOTROPIC)
        dc->state.viewportExt = QSize(cx, cy);
    if (CDC* attrib = AttribPeer())
        attrib->SetViewportExt(cx, cy);
    return CSize(old.width(), old.height());
}

CSize CDC::GetViewportExt() const
{
    DcRecord* dc = DcOf(this);
    return dc ? CSize(dc->state.viewportExt.width(), dc->state.viewportExt.height()) : CSize();
}

void CDC::LPtoDP(LPPOINT points, int count) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !points)
        return;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DcToDevice(*dc, points[i].x, points[i].y);
        points[i] = POINT{p.x(), p.y()};
    }
}

void CDC::LPtoDP(LPRECT rect) const { LPtoDP(reinterpret_cast<LPPOINT>(rect), 2); }

void CDC::LPtoDP(SIZE* size) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !size)
        return;
    size->cx = Round(size->cx * std::fabs(DcScaleX(*dc)));
    size->cy = Round(size->cy * std::fabs(DcScaleY(*dc)));
}

void CDC::DPtoLP(LPPOINT points, int count) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !points)
        return;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DcToLogical(*dc, points[i].x, points[i].y);
        points[i] = POINT{p.x(), p.y()};
    }
}

void CDC::DPtoLP(LPRECT rect) const { DPtoLP(reinterpret_cast<LPPOINT>(rect), 2); }

void CDC::DPtoLP(SIZE* size) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !size)
        return;
    size->cx = Round(size->cx / std::fabs(DcScaleX(*dc)));
    size->cy = Round(size->cy / std::fabs(DcScaleY(*dc)));
}

void CDC::LPtoHIMETRIC(SIZE* size) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !size)
        return;
    LPtoDP(size);
    size->cx = MulDiv(size->cx, 2540, dc->dpiX);
    size->cy = MulDiv(size->cy, 2540, dc->dpiY);
}

void CDC::HIMETRICtoLP(SIZE* size) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !size)
        return;
    size->cx = MulDiv(size->cx, dc->dpiX, 2540);
    size->cy = MulDiv(size->cy, dc->dpiY, 2540);
    DPtoLP(size);
}

int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC ? m_hAttribDC : m_hDC, index); }

int GetDeviceCaps(HDC handle, int index)
{
    DcRecord* dc = DcFromHandle(handle);
    if (!dc)
        return 0;
    // Window and memory contexts report the screen; printers and pictures their page.
    const bool screen = !dc->device;
    const int width = screen ? GetSystemMetrics(SM_CXSCREEN) : dc->device->width();
    const int height = screen ? GetSystemMetrics(SM_CYSCREEN) : dc->device->height();
    switch (index) {
    case TECHNOLOGY:
        return dc->kind == DcKind::Printer ? DT_RASPRINTER : dc->kind == DcKind::Svg ? DT_METAFILE : DT_RASDISPLAY;
    case LOGPIXELSX: return dc->dpiX;
    case LOGPIXELSY: return dc->dpiY;
    case HORZRES: return width;
    case VERTRES: return height;
    case HORZSIZE: return MulDiv(width, 254, dc->dpiX * 10);
    case VERTSIZE: return MulDiv(height, 254, dc->dpiY * 10);
    default: break;
    }
    // A printer's device pixels cover the printable area; the paper is larger.
    if (auto* printer = dc->kind == DcKind::Printer ? dynamic_cast<QPrinter*>(dc->device) : nullptr) {
        const QRect paper = printer->paperRect(QPrinter::DevicePixel).toRect();
        const QRect page = printer->pageRect(QPrinter::DevicePixel).toRect();
        switch (index) {
        case PHYSICALWIDTH: return paper.width();
        case PHYSICALHEIGHT: return paper.height();
        case PHYSICALOFFSETX: return page.left() - paper.left();
        case PHYSICALOFFSETY: return page.top() - paper.top();
        default: break;
        }
    }
    switch (index) {
    case PHYSICALWIDTH: return width;
    case PHYSICALHEIGHT: return height;
    case PHYSICALOFFSETX: case PHYSICALOFFSETY: return 0;
    case BITSPIXEL: return dc->kind == DcKind::Memory && dc->state.bitmap && dc->state.bitmap->mono ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    default: return 0;
    }
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CLR_INVALID;
    const COLORREF old = dc->state.textColor;
    dc->state.textColor = color & 0xFFFFFF;
    return old;
}

COLORREF CDC::GetTextColor() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CLR_INVALID;
    const COLORREF old = dc->state.bkColor;
    dc->state.bkColor = color & 0xFFFFFF;
    return old;
}

COLORREF CDC::GetBkColor() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.bkColor : CLR_INVALID;
}

int CDC::SetBkMode(int mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int old = dc->state.bkMode;
    dc->state.bkMode = mode;
    return old;
}

int CDC::GetBkMode() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.bkMode : 0;
}

int CDC::SetROP2(int mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc || mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    const int old = dc->state.rop2;
    dc->state.rop2 = mode;
    return old;
}

int CDC::GetROP2() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.rop2 : 0;
}

UINT CDC::SetTextAlign(UINT flags)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return 0xFFFFFFFFu;
    const UINT old = dc->state.textAlign;
    dc->state.textAlign = flags;
    return old;
}

UINT CDC::GetTextAlign() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.textAlign : 0xFFFFFFFFu;
}

int CDC::SetPolyFillMode(int mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc || (mode != ALTERNATE && mode != WINDING))
        return 0;
    const int old = dc->state.polyFillMode;
    dc->state.polyFillMode = mode;
    return old;
}

int CDC::GetPolyFillMode() const
{
    DcRecord* dc = DcOf(this);
    return dc ? dc->state.polyFillMode : 0;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return CPoint();
    const QPoint old = dc->state.brushOrg;
    dc->state.brushOrg = QPoint(x, y);
    return CPoint(old.x(), old.y());
}

int CDC::SetStretchBltMode(int mode)
{
    return DcOf(this) && mode > 0 ? 1 : 0;
}

int CDC::SelectClipRgn(CRgn* region) { return SelectClipRgn(region, RGN_COPY); }

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return ERROR;
    RegionRecord* record = region ? RegionFromHandle(region->m_hObject) : nullptr;
    if (!record) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->state.clip.reset();
    } else {
        const QRegion& r = record->region;
        const QRegion current = dc->state.clip ? *dc->state.clip : QRegion(-0x4000000, -0x4000000, 0x8000000, 0x8000000);
        switch (mode) {
        case RGN_COPY: dc->state.clip = r; break;
        case RGN_AND: dc->state.clip = current.intersected(r); break;
        case RGN_OR: dc->state.clip = current.united(r); break;
        case RGN_XOR: dc->state.clip = current.xored(r); break;
        case RGN_DIFF: dc->state.clip = current.subtracted(r); break;
        default: return ERROR;
        }
    }
    ApplyClip(*dc);
    std::optional<QRegion> clip = DcClip(*dc);
    if (!clip)
        return SIMPLEREGION;
    return clip->isEmpty() ? NULLREGION : clip->rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return ERROR;
    CRgn region;
    const QRect r = DcToDeviceRect(*dc, left, top, right, bottom);
    region.CreateRectRgn(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    return SelectClipRgn(&region, RGN_AND);
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return ERROR;
    CRgn region;
    const QRect r = DcToDeviceRect(*dc, left, top, right, bottom);
    region.CreateRectRgn(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    return SelectClipRgn(&region, RGN_DIFF);
}

int CDC::GetClipBox(LPRECT rect) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return ERROR;
    // What can be drawn: the clip region within the surface, when the surface has a size.
    std::optional<QRegion> clip = DcClip(*dc);
    std::optional<QRect> surface;
    if (dc->image)
        surface = QRect(-dc->surfaceOrigin, dc->image->size());
    else if (dc->device)
        surface = QRect(0, 0, dc->device->width(), dc->device->height());
    if (clip && surface)
        clip = clip->intersected(*surface);
    QRect box;
    int kind = SIMPLEREGION;
    if (clip) {
        box = clip->boundingRect();
        kind = clip->isEmpty() ? NULLREGION : clip->rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
    } else if (surface) {
        box = *surface;
    }
    RECT r{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
    if (box.isEmpty())
        r = RECT{0, 0, 0, 0};
    DPtoLP(&r);
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom && dc->state.mapMode == MM_TEXT)
        std::swap(r.top, r.bottom);
    *rect = r;
    return kind;
}

BOOL CDC::PtVisible(int x, int y) const
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    std::optional<QRegion> clip = DcClip(*dc);
    return !clip || clip->contains(DcToDevice(*dc, x, y));
}

BOOL CDC::RectVisible(LPCRECT rect) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !rect)
        return FALSE;
    std::optional<QRegion> clip = DcClip(*dc);
    return !clip || clip->intersects(DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom));
}
