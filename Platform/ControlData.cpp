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

int QtKeyOfVirtualKey(UINT vk)
{
    switch (vk) {
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_INSERT: return Qt::Key_Insert;
    default:
        if (vk >= 'A' && vk <= 'Z' && GetKeyState(VK_CONTROL) < 0)
            return Qt::Key_A + int(vk - 'A');
        return 0;
    }
}
