// CDC: a device context that draws on an image (windows, memory bitmaps), a
// printer page or an SVG picture with the classic drawing model.
// Invariants of the model it keeps:
// - logical coordinates map to device pixels through the window and viewport
//   origins and extents of the mapping mode; MM_HIMETRIC counts 0.01 mm with
//   y growing upwards, at 96 pixels per inch on screen;
// - lines exclude their end point, and Rectangle/Ellipse/RoundRect exclude
//   their right and bottom edges, in device pixels;
// - a width-0 pen is one device pixel wide whatever the mapping;
// - arcs run counter-clockwise on the device from the start radial to the end
//   radial;
// - raster operations (SetROP2, BitBlt/PatBlt codes) act on image targets; a
//   printer or SVG target draws the plain copy forms;
// - text is anchored at its top-left corner unless SetTextAlign says otherwise.
#pragma once

#include "Platform/Gdi.h"

#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

// Ternary raster operations: bits 16-23 are the truth table over pattern
// (0xF0), source (0xCC) and destination (0xAA).
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

#define TRANSPARENT 1
#define OPAQUE 2

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_BOTTOM 0x0008
#define DT_WORDBREAK 0x0010
#define DT_SINGLELINE 0x0020
#define DT_EXPANDTABS 0x0040
#define DT_NOCLIP 0x0100
#define DT_CALCRECT 0x0400
#define DT_NOPREFIX 0x0800
#define DT_END_ELLIPSIS 0x8000

#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_FLAT 0x4000
#define BF_ADJUST 0x2000

#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTONPUSH 0x0010
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_MENUCHECK 0x0001
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_ADJUSTRECT 0x2000
#define DFCS_FLAT 0x4000

#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DSS_NORMAL 0x0000
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080

#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define TECHNOLOGY 2
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_METAFILE 5
#define RC_BITBLT 0x0001
#define RC_PALETTE 0x0100
#define RC_STRETCHBLT 0x0800

#define CLR_INVALID 0xFFFFFFFFu

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    char tmFirstChar;
    char tmLastChar;
    char tmDefaultChar;
    char tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRIC* LPTEXTMETRIC;

#define DM_ORIENTATION 0x00000001
#define DM_PAPERSIZE 0x00000002
#define DM_PRINTQUALITY 0x00000400
#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

// The printer settings a context can be reset with; the fields that count
// are those named in dmFields.
struct DEVMODE {
    char dmDeviceName[32];
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPrintQuality;
};

struct DOCINFO {
    int cbSize;
    LPCTSTR lpszDocName;
    LPCTSTR lpszOutput;
    LPCTSTR lpszDatatype;
    DWORD fwType;
};

class CWnd;

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC = nullptr;
    // The context used for measuring; the same as m_hDC unless a printer's
    // preview or a metafile's reference context asks otherwise. Pens,
    // brushes, fonts and the mapping set through this object reach both, so
    // what is measured matches what is drawn.
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }
    BOOL Attach(HDC dc);
    HDC Detach();
    void SetAttribDC(HDC dc) { m_hAttribDC = dc; }
    void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    // A wrapper for a context that never owns it; it lives until the context
    // is deleted.
    static CDC* FromHandle(HDC dc);

    // A memory context whose bitmap is a 1x1 monochrome one until another is selected.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    int SaveDC();
    // A negative level counts back from the latest save.
    BOOL RestoreDC(int savedLevel);

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    // A region is copied in as the clip region; the result is the region's kind.
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    int SetMapMode(int mode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const;
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    // Extents take effect in MM_ISOTROPIC and MM_ANISOTROPIC only.
    CSize SetWindowExt(int cx, int cy);
    CSize GetWindowExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize GetViewportExt() const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void LPtoDP(SIZE* size) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void DPtoLP(SIZE* size) const;
    void LPtoHIMETRIC(SIZE* size) const;
    void HIMETRICtoLP(SIZE* size) const;
    int GetDeviceCaps(int index) const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int mode);
    int GetROP2() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    CPoint SetBrushOrg(int x, int y);
    int SetStretchBltMode(int mode);

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const int* counts, int polygons);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);
    BOOL RoundRect(LPCRECT r, POINT corner) { return RoundRect(r->left, r->top, r->right, r->bottom, corner.x, corner.y); }
    BOOL Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Arc(LPCRECT r, POINT start, POINT end)
    {
        return Arc(r->left, r->top, r->right, r->bottom, start.x, start.y, end.x, end.y);
    }
    BOOL Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    // Also leaves the colour as the background colour, as the class library does.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    void DrawFocusRect(LPCRECT rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL PaintRgn(CRgn* region);
    BOOL InvertRgn(CRgn* region);

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    // A drag outline: the frame of size thickness inside rect, inverted with
    // the brush (PATINVERT), after the last one (if any) is inverted back
    // with its own brush. A size of 0 only erases the last outline.
    void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush = nullptr,
                      CBrush* pBrushLast = nullptr);
    // The 50% grey pattern of checkered pixels; shared, never deleted.
    static CBrush* GetHalftoneBrush();
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);

    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, LPCTSTR text);
    // With dx, each character (UTF-16 unit) starts dx[i] logical units after
    // the one before, exactly where a TextOut of it alone would draw it.
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx);
    // count -1 means a terminated text. Returns the text's height in logical units.
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    int DrawText(LPCTSTR text, LPRECT rect, UINT format) { return DrawText(text, -1, rect, format); }
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(LPCTSTR text) const;
    CSize GetOutputTextExtent(LPCTSTR text, int count) const { return GetTextExtent(text, count); }
    CSize GetOutputTextExtent(LPCTSTR text) const { return GetTextExtent(text); }
    CSize GetTabbedTextExtent(LPCTSTR text, int count, int tabPositions, const int* tabStops) const;
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
    BOOL GetOutputTextMetrics(LPTEXTMETRIC metrics) const { return GetTextMetrics(metrics); }
    // Copies the selected font's face name; returns its length.
    int GetTextFace(int count, LPTSTR face) const;

    // Clipping. Regions are in device coordinates, rectangles in logical ones.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int GetClipBox(LPRECT rect) const;
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(LPCRECT rect) const;

    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
    // Draws an icon or a bitmap at its own size (or the given one), normal,
    // embossed as disabled (DSS_DISABLED) or as a flat silhouette in the brush
    // (DSS_MONO).
    BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr)
    {
        return DrawState(pt, size, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, flags, brush);
    }

    // Printing: one document of pages on a printer context; nothing elsewhere.
    int StartDoc(LPCTSTR docName);
    int StartDoc(const DOCINFO* info);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    // Applies new printer settings (orientation) from the next page on and
    // returns the mapping to MM_TEXT with zero origins; FALSE off a printer.
    BOOL ResetDC(const DEVMODE* mode);

private:
    // The attribute context when it is another one than m_hDC.
    CDC* AttribPeer() const;
};

// Paint, client and window contexts of a window. The window side supplies
// BeginPaint/EndPaint, GetDC/GetWindowDC and ReleaseDC for them.
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// The capabilities of that very context; CDC::GetDeviceCaps asks its
// attribute context, which for a printer measuring as on screen is the screen.
int GetDeviceCaps(HDC dc, int index);
// The text's extent in the context's logical units, as CDC::GetTextExtent.
BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int count, SIZE* size);

HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
BOOL DeleteDC(HDC dc);

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* window);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
