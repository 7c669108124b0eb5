#include "Controls/ScreenContext.h"

#include "Platform/SysColors.h"
#include "Platform/WinApp.h"
#include "Platform/Wnd.h"

ScreenContext::ScreenContext()
{
    m_window = AfxGetMainWnd();
    m_dc = m_window && m_window->GetSafeHwnd() ? m_window->GetDC() : nullptr;
    if (!m_dc) {
        m_window = nullptr;
        m_memory.CreateCompatibleDC(nullptr);
        m_dc = &m_memory;
    }
}

ScreenContext::~ScreenContext()
{
    if (m_oldFont)
        m_dc->SelectObject(m_oldFont);
    if (m_window)
        m_window->ReleaseDC(m_dc);
}

void ScreenContext::SelectMenuFont(CFont* font)
{
    NONCLIENTMETRICS metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font->CreateFontIndirect(&metrics.lfMenuFont);
    CFont* old = m_dc->SelectObject(font);
    if (!m_oldFont)
        m_oldFont = old;
}
