#include "Platform/ControlData.h"

#include "Platform/GdiData.h"
#include "Platform/WndData.h"

#include <algorithm>
#include <cstdlib>

QFont ControlFont(HFONT handle)
{
    LOGFONT lf{};
    if (FontRecord* record = FontFromHandle(handle))
        lf = record->lf;
    QFont font(lf.lfFaceName[0] ? QString::fromUtf8(lf.lfFaceName) : QStringLiteral("Liberation Sans"));
    font.setPixelSize(lf.lfHeight ? std::abs(int(lf.lfHeight)) : 13);
    font.setWeight(QFont::Weight(lf.lfWeight ? std::min(900, std::max(100, int(lf.lfWeight))) : 400));
    font.setItalic(lf.lfItalic != 0);
    return font;
}

void NotifyParent(HWND control, WORD code)
{
    WndData* d = WndData::From(control);
    if (d && d->parent)
        ::SendMessage(d->parent, WM_COMMAND, MAKEWPARAM(WORD(d->id), code), reinterpret_cast<LPARAM>(control));
}
