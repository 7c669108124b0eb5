#include "UML/Model/DrawResources.h"

#include "Platform/Dc.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/PageZoom.h"

#include <cstring>

CPen& DrawResources::DottedPen = *new CPen;
CPen& DrawResources::BorderPen = *new CPen;
CPen& DrawResources::BlackPen = *new CPen;
CBrush& DrawResources::FillBrush = *new CBrush;
CBrush& DrawResources::BlackBrush = *new CBrush;
CFont& DrawResources::NormalFont = *new CFont;
CFont& DrawResources::SmallFont = *new CFont;
int DrawResources::PixelSize = 0;

namespace {

void MakeFont(CFont& font, int height)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    SafeStrCopy(lf.lfFaceName, theSysConfig.m_szFontName, sizeof lf.lfFaceName);
    lf.lfHeight = ZoomScale(height);
    lf.lfCharSet = DEFAULT_CHARSET;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

bool IsDefaultFill(COLORREF colour)
{
    return colour == 0 || colour == theSysConfig.m_clrSymbolBg;
}

void ReplaceFill(CDC* dc, COLORREF colour)
{
    DrawResources::FillBrush.DeleteObject();
    DrawResources::FillBrush.CreateSolidBrush(colour);
    dc->SelectObject(&DrawResources::FillBrush);
    dc->SetBkColor(colour);
}

} // namespace

void RebuildDrawResources(CDC* dc)
{
    if (dc) {
        dc->SetMapMode(MM_HIMETRIC);
        CSize pixel(1, 1);
        dc->DPtoLP(&pixel);
        DrawResources::PixelSize = pixel.cx;
    }
    DrawResources::DottedPen.DeleteObject();
    DrawResources::DottedPen.CreatePen(PS_DOT, 0, RGB(0, 0, 0));
    DrawResources::BorderPen.DeleteObject();
    DrawResources::BorderPen.CreatePen(PS_SOLID, 0, theSysConfig.m_clrSymbolBorder);
    DrawResources::BlackPen.DeleteObject();
    DrawResources::BlackPen.CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    DrawResources::FillBrush.DeleteObject();
    DrawResources::FillBrush.CreateSolidBrush(theSysConfig.m_clrSymbolBg);
    DrawResources::BlackBrush.DeleteObject();
    DrawResources::BlackBrush.CreateSolidBrush(RGB(0, 0, 0));
    RebuildDrawFonts();
}

void RebuildDrawFonts()
{
    MakeFont(DrawResources::NormalFont, theSysConfig.m_nFontSize);
    MakeFont(DrawResources::SmallFont, theSysConfig.m_nSmallFontSize);
}

void SelectSymbolFill(CDC* dc, COLORREF colour)
{
    if (!IsDefaultFill(colour))
        ReplaceFill(dc, colour);
}

void RestoreSymbolFill(CDC* dc, COLORREF colour)
{
    if (!IsDefaultFill(colour))
        ReplaceFill(dc, theSysConfig.m_clrSymbolBg);
}

void PrepareSymbolDC(CDC* dc)
{
    dc->SetBkMode(TRANSPARENT);
    dc->SelectObject(&DrawResources::NormalFont);
    dc->SelectObject(&DrawResources::FillBrush);
    dc->SelectObject(&DrawResources::BorderPen);
    dc->SetBkColor(theSysConfig.m_clrSymbolBg);
    dc->SetTextColor(RGB(0, 0, 0));
}
