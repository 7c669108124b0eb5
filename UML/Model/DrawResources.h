// The pens, brushes and fonts that every symbol draws with, built from the
// system configuration and the zoom. They are created once and rebuilt only
// when the configuration or the zoom changes; painting creates no GDI object
// but the fill brush of a symbol with its own colour.
#pragma once

#include "Platform/Gdi.h"

class CDC;

// The objects live to the very end of the process: they are never destroyed, so
// no exit-time order can release them after the GDI layer's own state.
struct DrawResources {
    static CPen& DottedPen;   // rubber bands, lines being drawn, dashed outlines
    static CPen& BorderPen;   // symbol outlines in the configured border colour
    static CPen& BlackPen;
    static CBrush& FillBrush; // the configured symbol fill, or one symbol's own colour while it draws
    static CBrush& BlackBrush;
    static CFont& NormalFont; // FONTSIZE at the current zoom
    static CFont& SmallFont;  // 0.75 x FONTSIZE at the current zoom
    // Page units covered by one device pixel in x at the last rebuild given a
    // context; 0 before that, so pixel offsets collapse to nothing.
    static int PixelSize;
};

// With a context: switches it to MM_HIMETRIC and measures PixelSize on it. Then
// recreates the pens, brushes and fonts from the current configuration.
void RebuildDrawResources(CDC* dc);
void RebuildDrawFonts();
// A symbol's own fill colour around its drawing; a colour of 0 or equal to the
// configured fill leaves the context as it is, so 0 means the default fill.
void SelectSymbolFill(CDC* dc, COLORREF colour);
void RestoreSymbolFill(CDC* dc, COLORREF colour);

// Transparent background, the normal font, the fill brush and the border pen,
// the configured background colour and black text.
void PrepareSymbolDC(CDC* dc);
