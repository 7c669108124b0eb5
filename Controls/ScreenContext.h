// The screen context the menu code measures and builds bitmaps with: the
// client context of the application's main window, or a memory context
// when there is none. Released, with any font selected into it, when the
// object goes.
#pragma once

#include "Platform/Dc.h"

class CWnd;

class ScreenContext {
public:
    ScreenContext();
    ~ScreenContext();
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;

    CDC* dc() { return m_dc; }
    // Makes the menu font of the non-client metrics into font and selects it.
    void SelectMenuFont(CFont* font);

private:
    CWnd* m_window = nullptr;
    CDC* m_dc = nullptr;
    CDC m_memory;
    CFont* m_oldFont = nullptr;
};
