// GDI object records, stock objects and the wrapper classes.
#include "Platform/GdiData.h"
#include "Platform/SysColors.h"

#include <QPolygon>

#include <cstring>
#include <unordered_map>
#include <unordered_set>

static void ForgetGdiWrapper(HGDIOBJ object);

// The handle tables are never destroyed: static pens, fonts and image lists
// of other files delete their handles during exit, after function-local
// statics would be gone, and handed-out wrappers must not delete what they
// do not own.
namespace {

std::unordered_set<GdiRecord*>& LiveRecords()
{
    static auto& live = *new std::unordered_set<GdiRecord*>;
    return live;
}

template <typename R>
R* Register(R* record)
{
    LiveRecords().insert(record);
    return record;
}

void Destroy(GdiRecord* record)
{
    LiveRecords().erase(record);
    delete record;
}

template <typename R>
R* MakeStock(R* record)
{
    record->stock = true;
    return Register(record);
}

PenRecord* StockPen(int style, COLORREF color)
{
    auto* pen = new PenRecord;
    pen->style = style;
    pen->color = color;
    return MakeStock(pen);
}

BrushRecord* StockBrush(UINT style, COLORREF color)
{
    auto* brush = new BrushRecord;
    brush->style = style;
    brush->color = color;
    return MakeStock(brush);
}

FontRecord* StockFont(const char* face, int height, bool fixed)
{
    auto* font = new FontRecord;
    font->lf.lfHeight = height;
    font->lf.lfWeight = FW_NORMAL;
    font->lf.lfPitchAndFamily = fixed ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);
    std::strncpy(font->lf.lfFaceName, face, LF_FACESIZE - 1);
    return MakeStock(font);
}

// The fixed set of stock objects, built once and never freed.
GdiRecord* const* StockTable()
{
    static GdiRecord* table[DEFAULT_GUI_FONT + 1] = {};
    static bool built = false;
    if (!built) {
        built = true;
        table[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
        table[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
        table[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
        table[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
        table[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
        table[NULL_BRUSH] = StockBrush(BS_NULL, 0);
        table[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        table[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
        table[NULL_PEN] = StockPen(PS_NULL, 0);
        table[OEM_FIXED_FONT] = StockFont("Liberation Mono", 12, true);
        table[ANSI_FIXED_FONT] = StockFont("Liberation Mono", 13, true);
        table[ANSI_VAR_FONT] = StockFont("Liberation Sans", 13, false);
        table[SYSTEM_FONT] = StockFont("Liberation Sans", 16, false);
        table[DEVICE_DEFAULT_FONT] = StockFont("Liberation Sans", 16, false);
        table[SYSTEM_FIXED_FONT] = StockFont("Liberation Mono", 15, true);
        LOGFONT gui;
        GetDefaultGuiLogFont(&gui);
        auto* font = new FontRecord;
        font->lf = gui;
        table[DEFAULT_GUI_FONT] = MakeStock(font);
    }
    return table;
}

template <typename R>
R* Cast(HGDIOBJ object, DWORD type)
{
    GdiRecord* record = GdiFromHandle(object);
    return record && record->type == type ? static_cast<R*>(record) : nullptr;
}

} // namespace

GdiRecord* GdiFromHandle(HGDIOBJ object)
{
    if (!object)
        return nullptr;
    auto* record = static_cast<GdiRecord*>(object);
    return LiveRecords().count(record) ? record : nullptr;
}

PenRecord* PenFromHandle(HGDIOBJ object) { return Cast<PenRecord>(object, OBJ_PEN); }
BrushRecord* BrushFromHandle(HGDIOBJ object) { return Cast<BrushRecord>(object, OBJ_BRUSH); }
FontRecord* FontFromHandle(HGDIOBJ object) { return Cast<FontRecord>(object, OBJ_FONT); }
BitmapRecord* BitmapFromHandle(HGDIOBJ object) { return Cast<BitmapRecord>(object, OBJ_BITMAP); }
RegionRecord* RegionFromHandle(HGDIOBJ object) { return Cast<RegionRecord>(object, OBJ_REGION); }

void GdiRetain(GdiRecord* record)
{
    if (record)
        ++record->selections;
}

void GdiRelease(GdiRecord* record)
{
    if (!record)
        return;
    if (--record->selections == 0 && record->deletePending)
        ::DeleteObject(record);
}

BitmapRecord* NewBitmapRecord(const QImage& image, bool mono)
{
    auto* bitmap = new BitmapRecord;
    bitmap->image = image.convertToFormat(QImage::Format_RGB32);
    bitmap->mono = mono;
    return Register(bitmap);
}

HBITMAP BitmapHandle(BitmapRecord* record) { return reinterpret_cast<HBITMAP>(static_cast<GdiRecord*>(record)); }

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index > DEFAULT_GUI_FONT)
        return nullptr;
    return StockTable()[index];
}

BOOL DeleteObject(HGDIOBJ object)
{
    GdiRecord* record = GdiFromHandle(object);
    if (!record)
        return FALSE;
    if (record->stock)
        return TRUE;
    if (record->selections > 0) {
        record->deletePending = true;
        return TRUE;
    }
    ForgetGdiWrapper(object);
    Destroy(record);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object)
{
    GdiRecord* record = GdiFromHandle(object);
    return record ? record->type : 0;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer)
{
    GdiRecord* record = GdiFromHandle(object);
    if (!record)
        return 0;
    auto copy = [&](const void* data, int bytes) {
        if (!buffer)
            return bytes;
        const int n = size < bytes ? size : bytes;
        std::memcpy(buffer, data, size_t(n));
        return n;
    };
    switch (record->type) {
    case OBJ_PEN: {
        auto* pen = static_cast<PenRecord*>(record);
        LOGPEN lp{UINT(pen->style), {pen->width, 0}, pen->color};
        return copy(&lp, sizeof lp);
    }
    case OBJ_BRUSH: {
        auto* brush = static_cast<BrushRecord*>(record);
        LOGBRUSH lb{brush->style, brush->color, ULONG_PTR(brush->hatch)};
        return copy(&lb, sizeof lb);
    }
    case OBJ_FONT:
        return copy(&static_cast<FontRecord*>(record)->lf, sizeof(LOGFONT));
    case OBJ_BITMAP: {
        auto* bitmap = static_cast<BitmapRecord*>(record);
        BITMAP bm{};
        bm.bmWidth = bitmap->image.width();
        bm.bmHeight = bitmap->image.height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = bitmap->mono ? 1 : 32;
        bm.bmWidthBytes = bitmap->mono ? ((bm.bmWidth + 15) / 16) * 2 : bm.bmWidth * 4;
        return copy(&bm, sizeof bm);
    }
    default:
        return 0;
    }
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    auto* pen = Register(new PenRecord);
    pen->style = style;
    pen->width = width < 0 ? 0 : width;
    pen->color = color & 0xFFFFFF;
    return reinterpret_cast<HPEN>(static_cast<GdiRecord*>(pen));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto* brush = Register(new BrushRecord);
    brush->color = color & 0xFFFFFF;
    return reinterpret_cast<HBRUSH>(static_cast<GdiRecord*>(brush));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto* brush = Register(new BrushRecord);
    brush->style = BS_HATCHED;
    brush->hatch = hatch;
    brush->color = color & 0xFFFFFF;
    return reinterpret_cast<HBRUSH>(static_cast<GdiRecord*>(brush));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    BitmapRecord* source = BitmapFromHandle(bitmap);
    if (!source || source->image.isNull())
        return nullptr;
    auto* brush = Register(new BrushRecord);
    brush->style = BS_PATTERN;
    brush->pattern = source->image.copy(0, 0, qMin(8, source->image.width()), qMin(8, source->image.height()));
    brush->monoPattern = source->mono;
    return reinterpret_cast<HBRUSH>(static_cast<GdiRecord*>(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_NULL: {
        auto* brush = Register(new BrushRecord);
        brush->style = BS_NULL;
        return reinterpret_cast<HBRUSH>(static_cast<GdiRecord*>(brush));
    }
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirect(const LOGFONT* lf)
{
    if (!lf)
        return nullptr;
    auto* font = Register(new FontRecord);
    font->lf = *lf;
    font->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return reinterpret_cast<HFONT>(static_cast<GdiRecord*>(font));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, LPCVOID bits)
{
    if (width <= 0 || height <= 0 || planes != 1 || width > 32767 || height > 32767)
        return nullptr;
    const bool mono = bitsPerPixel == 1;
    if (!mono && bitsPerPixel != 24 && bitsPerPixel != 32)
        return nullptr;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (bits) {
        auto* src = static_cast<const BYTE*>(bits);
        if (mono) {
            // Rows padded to 16 bits, most significant bit first; 1 is white.
            const int stride = ((width + 15) / 16) * 2;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const bool white = src[y * stride + x / 8] & (0x80 >> (x % 8));
                    image.setPixel(x, y, white ? 0xFFFFFFFFu : 0xFF000000u);
                }
        } else {
            const int bytes = int(bitsPerPixel / 8);
            const int stride = bitsPerPixel == 32 ? width * 4 : ((width * 3 + 1) / 2) * 2;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const BYTE* p = src + y * stride + x * bytes;
                    image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
                }
        }
    }
    return BitmapHandle(NewBitmapRecord(image, mono));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    if (bits)
        *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || info->bmiHeader.biCompression != BI_RGB)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biBitCount != 1 && h.biBitCount != 24 && h.biBitCount != 32)
        return nullptr;
    return CreateBitmap(h.biWidth, height, 1, h.biBitCount, nullptr);
}

static HRGN NewRegion(const QRegion& region)
{
    auto* record = Register(new RegionRecord);
    record->region = region;
    return reinterpret_cast<HRGN>(static_cast<GdiRecord*>(record));
}

static QRect RectFromEdges(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(QRegion(RectFromEdges(left, top, right, bottom)));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    const QRect r = RectFromEdges(left, top, right, bottom);
    return NewRegion(r.isEmpty() ? QRegion() : QRegion(r, QRegion::Ellipse));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    if (!points || count < 0)
        return nullptr;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    return NewRegion(QRegion(polygon, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

static int RegionKind(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    RegionRecord* d = RegionFromHandle(dest);
    RegionRecord* a = RegionFromHandle(src1);
    RegionRecord* b = RegionFromHandle(src2);
    if (!d || !a || (mode != RGN_COPY && !b))
        return ERROR;
    switch (mode) {
    case RGN_AND: d->region = a->region.intersected(b->region); break;
    case RGN_OR: d->region = a->region.united(b->region); break;
    case RGN_XOR: d->region = a->region.xored(b->region); break;
    case RGN_DIFF: d->region = a->region.subtracted(b->region); break;
    case RGN_COPY: d->region = a->region; break;
    default: return ERROR;
    }
    return RegionKind(d->region);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long n = (long long)a * b;
    const bool negative = (n < 0) != (c < 0);
    long long an = n < 0 ? -n : n;
    long long ac = c < 0 ? -(long long)c : c;
    long long q = (an + ac / 2) / ac;
    if (q > 0x7FFFFFFFLL)
        return -1;
    return int(negative ? -q : q);
}

// Wrappers handed out by FromHandle, one per handle, dropped with the handle.
static std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>>& Wrappers()
{
    static auto& wrappers = *new std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>>;
    return wrappers;
}

static void ForgetGdiWrapper(HGDIOBJ object)
{
    auto& wrappers = Wrappers();
    auto it = wrappers.find(object);
    if (it != wrappers.end()) {
        it->second->m_hObject = nullptr;
        wrappers.erase(it);
    }
}

template <typename W>
static W* WrapperFor(HGDIOBJ object)
{
    if (!GdiFromHandle(object))
        return nullptr;
    auto& slot = Wrappers()[object];
    if (!slot) {
        slot = std::make_unique<W>();
        slot->m_hObject = object;
    }
    return static_cast<W*>(slot.get());
}

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (!object || m_hObject)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    HGDIOBJ object = Detach();
    return ::DeleteObject(object);
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(GetStockObject(index));
}

int CGdiObject::GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object)
{
    GdiRecord* record = GdiFromHandle(object);
    if (!record)
        return nullptr;
    switch (record->type) {
    case OBJ_PEN: return WrapperFor<CPen>(object);
    case OBJ_BRUSH: return WrapperFor<CBrush>(object);
    case OBJ_FONT: return WrapperFor<CFont>(object);
    case OBJ_BITMAP: return WrapperFor<CBitmap>(object);
    case OBJ_REGION: return WrapperFor<CRgn>(object);
    default: return nullptr;
    }
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }

BOOL CPen::CreatePenIndirect(const LOGPEN* pen)
{
    return pen && Attach(::CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor));
}

CPen* CPen::FromHandle(HPEN pen) { return PenFromHandle(pen) ? WrapperFor<CPen>(pen) : nullptr; }

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap && Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject)));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }

BOOL CBrush::CreateSysColorBrush(int index)
{
    return GetSysColorBrush(index) && Attach(::CreateSolidBrush(GetSysColor(index)));
}

CBrush* CBrush::FromHandle(HBRUSH brush) { return BrushFromHandle(brush) ? WrapperFor<CBrush>(brush) : nullptr; }

BOOL CFont::CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc)
{
    const int dpi = dc && dc->m_hDC ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(pointSize, dpi, 720);
    lf.lfWeight = FW_NORMAL;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

CFont* CFont::FromHandle(HFONT font) { return FontFromHandle(font) ? WrapperFor<CFont>(font) : nullptr; }

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, LPCVOID bits)
{
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

CSize CBitmap::GetSize() const
{
    BitmapRecord* bitmap = BitmapFromHandle(m_hObject);
    return bitmap ? CSize(bitmap->image.width(), bitmap->image.height()) : CSize();
}

DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const
{
    BitmapRecord* bitmap = BitmapFromHandle(m_hObject);
    if (!bitmap || !bits)
        return 0;
    const QImage& image = bitmap->image;
    DWORD written = 0;
    auto* out = static_cast<BYTE*>(bits);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width() && written + 4 <= count; ++x) {
            const DWORD v = row[x] & 0xFFFFFF;
            std::memcpy(out + written, &v, 4);
            written += 4;
        }
    }
    return written;
}

DWORD CBitmap::SetBitmapBits(DWORD count, LPCVOID bits)
{
    BitmapRecord* bitmap = BitmapFromHandle(m_hObject);
    if (!bitmap || !bits)
        return 0;
    QImage& image = bitmap->image;
    DWORD read = 0;
    auto* in = static_cast<const BYTE*>(bits);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width() && read + 4 <= count; ++x) {
            DWORD v;
            std::memcpy(&v, in + read, 4);
            row[x] = 0xFF000000u | (v & 0xFFFFFF);
            if (bitmap->mono)
                row[x] = (v & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFFu : 0xFF000000u;
            read += 4;
        }
    }
    return read;
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap)
{
    return BitmapFromHandle(bitmap) ? WrapperFor<CBitmap>(bitmap) : nullptr;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateRectRgn(left, top, right, bottom));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT r) { return r && CreateRectRgn(r->left, r->top, r->right, r->bottom); }

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateEllipticRgn(left, top, right, bottom));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT r)
{
    return r && CreateEllipticRgn(r->left, r->top, r->right, r->bottom);
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return Attach(::CreatePolygonRgn(points, count, fillMode));
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    if (RegionRecord* region = RegionFromHandle(m_hObject))
        region->region = QRegion(RectFromEdges(left, top, right, bottom));
}

int CRgn::CombineRgn(CRgn* src1, CRgn* src2, int mode)
{
    return ::CombineRgn(static_cast<HRGN>(m_hObject), src1 ? static_cast<HRGN>(src1->m_hObject) : nullptr,
                        src2 ? static_cast<HRGN>(src2->m_hObject) : nullptr, mode);
}

BOOL CRgn::EqualRgn(CRgn* other) const
{
    RegionRecord* a = RegionFromHandle(m_hObject);
    RegionRecord* b = other ? RegionFromHandle(other->m_hObject) : nullptr;
    return a && b && a->region == b->region;
}

int CRgn::OffsetRgn(int dx, int dy)
{
    RegionRecord* region = RegionFromHandle(m_hObject);
    if (!region)
        return ERROR;
    region->region.translate(dx, dy);
    return RegionKind(region->region);
}

int CRgn::GetRgnBox(LPRECT rect) const
{
    RegionRecord* region = RegionFromHandle(m_hObject);
    if (!region || !rect)
        return ERROR;
    const QRect box = region->region.boundingRect();
    *rect = region->region.isEmpty() ? RECT{0, 0, 0, 0}
                                     : RECT{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
    return RegionKind(region->region);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    RegionRecord* region = RegionFromHandle(m_hObject);
    return region && region->region.contains(QPoint(x, y));
}

BOOL CRgn::RectInRegion(LPCRECT r) const
{
    RegionRecord* region = RegionFromHandle(m_hObject);
    return region && r && region->region.intersects(RectFromEdges(r->left, r->top, r->right, r->bottom));
}

CRgn* CRgn::FromHandle(HRGN region) { return RegionFromHandle(region) ? WrapperFor<CRgn>(region) : nullptr; }
