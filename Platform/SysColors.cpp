// The fixed classic colour scheme and metrics.
#include "Platform/SysColors.h"
#include "Platform/GdiData.h"

#include <cstring>

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

const COLORREF kColors[kColorCount] = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // desktop
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application workspace
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3D dark shadow
    RGB(212, 208, 200), // 3D light
    RGB(0, 0, 0),       // tooltip text
    RGB(255, 255, 225), // tooltip background
    RGB(181, 181, 181), // unused slot
    RGB(0, 0, 128),     // hot tracking
    RGB(166, 202, 240), // active caption gradient
    RGB(192, 192, 192), // inactive caption gradient
    RGB(10, 36, 106),   // menu highlight
    RGB(212, 208, 200), // menu bar
};

void FillLogFont(LOGFONT* lf, const char* face, int height, int weight)
{
    std::memset(lf, 0, sizeof *lf);
    lf->lfHeight = height;
    lf->lfWeight = weight;
    lf->lfCharSet = DEFAULT_CHARSET;
    lf->lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strncpy(lf->lfFaceName, face, LF_FACESIZE - 1);
}

} // namespace

COLORREF GetSysColor(int index)
{
    return index >= 0 && index < kColorCount ? kColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
    static HBRUSH brushes[kColorCount] = {};
    if (index < 0 || index >= kColorCount)
        return nullptr;
    if (!brushes[index]) {
        brushes[index] = CreateSolidBrush(kColors[index]);
        GdiFromHandle(brushes[index])->stock = true;
    }
    return brushes[index];
}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: case SM_CXFULLSCREEN: case SM_CXMAXIMIZED: return 1920;
    case SM_CYSCREEN: return 1080;
    case SM_CYFULLSCREEN: return 1080 - 19 - 30;
    case SM_CYMAXIMIZED: return 1080 - 30;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: case SM_CYSIZE: case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 16;
    case SM_CXSMSIZE: case SM_CYSMSIZE: return 15;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    default: return 0;
    }
}

void GetDefaultGuiLogFont(LOGFONT* font)
{
    FillLogFont(font, "Liberation Sans", -11, FW_NORMAL);
}

BOOL SystemParametersInfo(UINT action, UINT, LPVOID value, UINT)
{
    if (!value)
        return FALSE;
    switch (action) {
    case SPI_GETKEYBOARDSPEED:
        *static_cast<UINT*>(value) = 31;
        return TRUE;
    case SPI_GETKEYBOARDDELAY:
        *static_cast<int*>(value) = 1;
        return TRUE;
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(value) = RECT{0, 0, 1920, 1080 - 30};
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICS*>(value);
        m->cbSize = sizeof *m;
        m->iBorderWidth = 1;
        m->iScrollWidth = m->iScrollHeight = 16;
        m->iCaptionWidth = m->iCaptionHeight = 18;
        FillLogFont(&m->lfCaptionFont, "Liberation Sans", -11, FW_BOLD);
        m->iSmCaptionWidth = 12;
        m->iSmCaptionHeight = 15;
        FillLogFont(&m->lfSmCaptionFont, "Liberation Sans", -11, FW_BOLD);
        m->iMenuWidth = m->iMenuHeight = 18;
        GetDefaultGuiLogFont(&m->lfMenuFont);
        GetDefaultGuiLogFont(&m->lfStatusFont);
        GetDefaultGuiLogFont(&m->lfMessageFont);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
