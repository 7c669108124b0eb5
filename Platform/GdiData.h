// The records behind GDI handles and device contexts. Only the layer's own
// sources include this header: it brings in Qt.
// Every GDI record counts the context states (current and saved) that select
// it; DeleteObject on a selected record marks it and the last release frees it.
#pragma once

#include "Platform/Dc.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>
#include <optional>
#include <vector>

struct GdiRecord {
    explicit GdiRecord(DWORD type) : type(type) {}
    virtual ~GdiRecord() = default;
    const DWORD type;
    bool stock = false;
    bool deletePending = false;
    int selections = 0;
};

struct PenRecord : GdiRecord {
    PenRecord() : GdiRecord(OBJ_PEN) {}
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
};

struct BrushRecord : GdiRecord {
    BrushRecord() : GdiRecord(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    // BS_PATTERN: the 8x8 pattern; a monochrome one takes the context's text
    // and background colours for its black and white pixels.
    QImage pattern;
    bool monoPattern = false;
};

struct FontRecord : GdiRecord {
    FontRecord() : GdiRecord(OBJ_FONT) {}
    LOGFONT lf{};
    // The Qt font and its metrics (device pixels) last made for a device
    // scale, kept for the next call.
    QFont cached;
    double cachedScale = 0;
    int ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
    int averageWidth = 0, maxWidth = 0;
};

struct DcRecord;

struct BitmapRecord : GdiRecord {
    BitmapRecord() : GdiRecord(OBJ_BITMAP) {}
    // Always Format_RGB32; a monochrome bitmap holds only black and white.
    QImage image;
    bool mono = false;
    DcRecord* selectedIn = nullptr;
};

struct RegionRecord : GdiRecord {
    RegionRecord() : GdiRecord(OBJ_REGION) {}
    QRegion region;
};

enum class DcKind { Image, Memory, Printer, Svg };

// Everything SaveDC keeps.
struct DcState {
    PenRecord* pen = nullptr;
    BrushRecord* brush = nullptr;
    FontRecord* font = nullptr;
    BitmapRecord* bitmap = nullptr;
    int mapMode = MM_TEXT;
    QPoint windowOrg, viewportOrg;
    QSize windowExt{1, 1}, viewportExt{1, 1};
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP;
    int polyFillMode = ALTERNATE;
    QPoint current;
    QPoint brushOrg;
    // Device coordinates; none means the whole surface.
    std::optional<QRegion> clip;
};

struct DcRecord {
    DcKind kind = DcKind::Image;
    // Image and memory contexts draw on an image: the caller's for an image
    // context, the selected bitmap's for a memory one.
    QImage* image = nullptr;
    // Device (0, 0) within the image, and the part of the image the context
    // may touch (a window's client area or its update region).
    QPoint surfaceOrigin;
    std::optional<QRegion> surfaceClip;
    // Printer and SVG targets.
    QPaintDevice* device = nullptr;
    bool ownsDevice = false;
    int dpiX = 96, dpiY = 96;
    // The painter is opened on demand on image targets and closed before the
    // image is touched directly; printer and SVG targets keep theirs open.
    QPainter* painter = nullptr;
    bool docStarted = false;
    bool pageStarted = false;
    int pagesDone = 0;
    DcState state;
    std::vector<DcState> saved;
};

// Handle conversions; null for a handle of another kind.
GdiRecord* GdiFromHandle(HGDIOBJ object);
PenRecord* PenFromHandle(HGDIOBJ object);
BrushRecord* BrushFromHandle(HGDIOBJ object);
FontRecord* FontFromHandle(HGDIOBJ object);
BitmapRecord* BitmapFromHandle(HGDIOBJ object);
RegionRecord* RegionFromHandle(HGDIOBJ object);
DcRecord* DcFromHandle(HDC dc);

void GdiRetain(GdiRecord* record);
void GdiRelease(GdiRecord* record);

BitmapRecord* NewBitmapRecord(const QImage& image, bool mono);
HBITMAP BitmapHandle(BitmapRecord* record);

// Contexts over surfaces owned by others: a window's back buffer (clip in
// image pixels; the image is Format_RGB32, as every bitmap here, because
// raster operations address its pixels directly), a printer, an SVG
// generator. Delete them with DeleteDC.
HDC CreateImageDC(QImage* image, QPoint origin, const QRegion* clip);
HDC CreateDeviceDC(QPaintDevice* device, DcKind kind, bool ownsDevice);

// The pixel colour of a COLORREF and back.
inline QRgb RgbFromColorRef(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF ColorRefFromRgb(QRgb c)
{
    return RGB(BYTE(qRed(c)), BYTE(qGreen(c)), BYTE(qBlue(c)));
}

// An icon or cursor: its colour image and its mask (white where transparent).
struct IconRecord {
    QImage color;
    QImage mask;
    bool isIcon = true;
    QPoint hotSpot;
};
IconRecord* IconFromHandle(HICON icon);
HICON NewIconHandle(const QImage& color, const QImage& mask);

// Context helpers shared by the drawing sources.
DcRecord* DcOf(const CDC* dc);
// The painter of the context, opened if needed; null when there is no surface.
QPainter* DcPainter(DcRecord& dc);
// Closes the context's painter on an image target so the image can be touched directly.
void DcFlush(DcRecord& dc);
// Closes any context's painter on the image.
void DcReleaseImage(const QImage* image);
// Scale from logical units to device pixels along x and y (signed).
double DcScaleX(const DcRecord& dc);
double DcScaleY(const DcRecord& dc);
QPointF DcToDeviceF(const DcRecord& dc, double x, double y);
QPoint DcToDevice(const DcRecord& dc, int x, int y);
QPoint DcToLogical(const DcRecord& dc, int x, int y);
// A logical rectangle as device pixels, normalised, right and bottom excluded.
QRect DcToDeviceRect(const DcRecord& dc, int left, int top, int right, int bottom);
// The device region the context may touch; none means unbounded.
std::optional<QRegion> DcClip(const DcRecord& dc);
QBrush DcBrush(const DcRecord& dc, const BrushRecord* brush);
// The repeating picture of a hatched or pattern brush for raster
// operations, hatches on the background colour; null for a solid brush.
QImage DcBrushTile(const DcRecord& dc, const BrushRecord* brush);
QFont DcFont(const DcRecord& dc);
// The composition mode of the binary raster operation; false for R2_NOP.
bool DcCompositionFor(int rop2, QPainter::CompositionMode* mode);
// Applies a ternary raster operation to a device rectangle of an image
// target; source is null when the operation reads none.
void DcRasterOp(DcRecord& dc, const QRect& rect, const QImage* source, DWORD rop);
