// GDI objects: pens, brushes, fonts, bitmaps and regions, their stock
// objects, and the wrapper classes that own them.
// A handle points at the layer's own object record. A record selected into a
// drawing context is kept alive until the last context lets it go, so deleting
// a selected object defers its end instead of leaving a dangling selection.
#pragma once

#include "Platform/Geometry.h"

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6

// Brush styles and hatches.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Object kinds (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Font fields.
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// Region combination modes and results.
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define ALTERNATE 1
#define WINDING 2

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
typedef LOGFONT* LPLOGFONT;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

#define BI_RGB 0
#define DIB_RGB_COLORS 0

HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
DWORD GetObjectType(HGDIOBJ object);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONT or BITMAP) and
// returns the bytes written; with no buffer, the bytes it needs.
int GetObject(HGDIOBJ object, int size, LPVOID buffer);

HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirect(const LOGFONT* font);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, LPCVOID bits);
// A device-independent bitmap of 1 (black and white), 24 or 32 bits per
// pixel, cleared to black. Its pixels are reached through contexts and
// CBitmap, never through a pointer, so bits (when given) receives null.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);

// MulDiv: a * b / c in 64 bits, rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

class CDC;

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    int GetObject(int size, LPVOID buffer) const;
    UINT GetObjectType() const;

    // A wrapper for a handle that never owns it; it lives until the handle is
    // deleted.
    static CGdiObject* FromHandle(HGDIOBJ object);
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN pen);
};

class CBitmap;

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH brush);
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* font);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
    // Height in tenths of a point, converted through the context's vertical
    // resolution (the screen's when none is given).
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT font);
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, LPCVOID bits);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // A bitmap resource of the first module of the resource chain that has it.
    BOOL LoadBitmap(UINT resourceId);
    // A Windows BMP file (1, 4, 8, 24 or 32 bits per pixel, uncompressed or RLE).
    BOOL LoadFromFile(LPCTSTR path);
    // A BMP image held in memory, as a file would hold it.
    BOOL LoadFromMemory(const void* data, size_t size);
    int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
    CSize GetSize() const;
    // Pixels as 0x00RRGGBB words, row after row from the top; count is in bytes.
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
    DWORD SetBitmapBits(DWORD count, LPCVOID bits);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP bitmap);
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateEllipticRgnIndirect(LPCRECT rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(LPCRECT rect) { SetRectRgn(rect->left, rect->top, rect->right, rect->bottom); }
    int CombineRgn(CRgn* src1, CRgn* src2, int mode);
    int CopyRgn(CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
    BOOL EqualRgn(CRgn* other) const;
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT p) { return OffsetRgn(p.x, p.y); }
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const;
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN region);
};
