#include "UML/Model/SymbolText.h"

#include "Platform/Dc.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageZoom.h"
#include "Pub/SyntaxRunCodec.h"

#include <cstring>

namespace {

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

void EmptyTextSize(CDC* dc, int& width, int& height)
{
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof tm);
    dc->GetTextMetrics(&tm);
    width = ZoomUnscale(2 * tm.tmAveCharWidth);
    height = ZoomUnscale(tm.tmHeight);
}

} // namespace

void DrawSyntaxText(CDC* dc, int x, int y, int, int, const char* text, SyntaxRunCodec& runs)
{
    if (!text || !*text)
        return;
    const int length = static_cast<int>(std::strlen(text));
    const COLORREF saved = dc->SetTextColor(RGB(0, 0, 0));
    int runOffset = 0, runColour = 0;
    bool haveRun = runs.NextRun(runOffset, runColour);
    int cx = x, cy = y;
    int pos = 0;
    while (pos < length) {
        while (haveRun && runOffset <= pos) {
            dc->SetTextColor(static_cast<COLORREF>(runColour));
            haveRun = runs.NextRun(runOffset, runColour);
        }
        if (text[pos] == '\n') {
            cx = x;
            cy += theSysConfig.m_nFontSize;
            ++pos;
            continue;
        }
        if (text[pos] == '\r') {
            ++pos;
            continue;
        }
        int end = pos + 1;
        while (end < length && text[end] != '\n' && text[end] != '\r' && !(haveRun && runOffset <= end))
            ++end;
        while (end < length && IsContinuation(text[end]))
            ++end;
        PageTextOutChars(dc, cx, cy, text + pos, end - pos);
        cx += ZoomUnscale(dc->GetTextExtent(text + pos, end - pos).cx);
        pos = end;
    }
    dc->SetTextColor(saved);
}

int MeasureText(CDC* dc, int& width, int& height, const char* text)
{
    if (!text || !*text) {
        EmptyTextSize(dc, width, height);
        return width / 2;
    }
    const int length = static_cast<int>(std::strlen(text));
    const CSize extent = dc->GetTextExtent(text, length);
    width = ZoomUnscale(extent.cx);
    height = ZoomUnscale(extent.cy);
    return width / length;
}

int MeasureTextLines(CDC* dc, int& width, int& height, const char* text, int lineGap)
{
    if (!text || !*text) {
        EmptyTextSize(dc, width, height);
        return width / 2;
    }
    int widest = 0, widestChars = 0, total = 0;
    for (const char* line = text;;) {
        const char* end = std::strchr(line, '\n');
        const int chars = end ? static_cast<int>(end - line) : static_cast<int>(std::strlen(line));
        const CSize extent = chars > 0 ? dc->GetTextExtent(line, chars) : dc->GetTextExtent(" ", 1);
        if (extent.cx > widest) {
            widest = extent.cx;
            widestChars = chars;
        }
        total += extent.cy + lineGap;
        if (!end)
            break;
        line = end + 1;
    }
    width = ZoomUnscale(widest);
    height = ZoomUnscale(total);
    return widestChars > 0 ? width / widestChars : width;
}
