#include "Platform/Cursor.h"
#include "Platform/CursorData.h"
#include "Platform/WndData.h"

#include <map>

namespace {

HCURSOR g_cursor = nullptr;

HCURSOR Standard(WORD id)
{
    static std::map<WORD, CursorData> cursors;
    Qt::CursorShape shape;
    switch (id) {
    case 32512: shape = Qt::ArrowCursor; break;
    case 32513: shape = Qt::IBeamCursor; break;
    case 32514: shape = Qt::WaitCursor; break;
    case 32515: shape = Qt::CrossCursor; break;
    case 32516: shape = Qt::UpArrowCursor; break;
    case 32640: case 32646: shape = Qt::SizeAllCursor; break;
    case 32642: shape = Qt::SizeFDiagCursor; break;
    case 32643: shape = Qt::SizeBDiagCursor; break;
    case 32644: shape = Qt::SizeHorCursor; break;
    case 32645: shape = Qt::SizeVerCursor; break;
    case 32648: shape = Qt::ForbiddenCursor; break;
    case 32649: shape = Qt::PointingHandCursor; break;
    case 32650: shape = Qt::BusyCursor; break;
    case 32651: shape = Qt::WhatsThisCursor; break;
    default: return nullptr;
    }
    auto it = cursors.find(id);
    if (it == cursors.end())
        it = cursors.emplace(id, CursorData{ QCursor(shape) }).first;
    return it->second.handle();
}

} // namespace

HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName)
{
    if (!lpCursorName || !IS_INTRESOURCE(lpCursorName))
        return nullptr;
    if (!hInstance)
        return Standard(RESOURCE_ID(lpCursorName));
    return FindResourceCursor(hInstance, RESOURCE_ID(lpCursorName));
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR old = g_cursor;
    g_cursor = hCursor;
    Wnd::ApplyCursor(hCursor, nullptr);
    return old;
}

HCURSOR GetCursor() { return g_cursor; }
