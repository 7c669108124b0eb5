// The two conversions between font descriptions and character formats
// that the font dialog and the font row share, at the screen's vertical
// resolution r. A format's height (twips) becomes a character height (a
// negative lfHeight), so a round trip keeps the font's size.
#pragma once

#include "Platform/CharFormat.h"

// The screen's vertical resolution, pixels per logical inch.
int ScreenResolution();

// Mask: bold, italic, underline, strike-out, size, colour, face and
// character set; an effect is on when its byte is exactly 1 (bold: weight
// 700 or more). yHeight = |lfHeight| x (1440 / r). cbSize is left as set.
void LogFontToCharFormat(const LOGFONT& lf, COLORREF crColor, CHARFORMAT* cf);
// Into an all-zero LOGFONT: lfHeight = -|yHeight x r / 1440|, weight 700
// with bold else 400, the three effects as 1 or 0, pitch and face copied.
// Mask, colour and character set are not read.
void CharFormatToLogFont(const CHARFORMAT& cf, LOGFONT* lf);
