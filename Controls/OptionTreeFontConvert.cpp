#include "Controls/OptionTreeFontConvert.h"

#include "Platform/Dc.h"

#include <cstdlib>
#include <cstring>

int ScreenResolution()
{
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    return screen.GetDeviceCaps(LOGPIXELSY);
}

void LogFontToCharFormat(const LOGFONT& lf, COLORREF crColor, CHARFORMAT* cf)
{
    cf->dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET;
    cf->dwEffects = (lf.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (lf.lfItalic == 1 ? CFE_ITALIC : 0) |
                    (lf.lfUnderline == 1 ? CFE_UNDERLINE : 0) | (lf.lfStrikeOut == 1 ? CFE_STRIKEOUT : 0);
    cf->yHeight = std::labs(lf.lfHeight) * (1440 / ScreenResolution());
    cf->crTextColor = crColor;
    cf->bCharSet = lf.lfCharSet;
    cf->bPitchAndFamily = lf.lfPitchAndFamily;
    std::memcpy(cf->szFaceName, lf.lfFaceName, LF_FACESIZE);
    cf->szFaceName[LF_FACESIZE - 1] = '\0';
}

void CharFormatToLogFont(const CHARFORMAT& cf, LOGFONT* lf)
{
    *lf = LOGFONT{};
    lf->lfHeight = -std::labs(cf.yHeight * ScreenResolution() / 1440);
    lf->lfWeight = (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf->lfItalic = (cf.dwEffects & CFE_ITALIC) ? 1 : 0;
    lf->lfUnderline = (cf.dwEffects & CFE_UNDERLINE) ? 1 : 0;
    lf->lfStrikeOut = (cf.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    lf->lfPitchAndFamily = cf.bPitchAndFamily;
    std::memcpy(lf->lfFaceName, cf.szFaceName, LF_FACESIZE);
    lf->lfFaceName[LF_FACESIZE - 1] = '\0';
}
