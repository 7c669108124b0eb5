// Off-screen drawing context of a paint request.
#include "Controls/BufferDC.h"

#include <cstdlib>

CBufferDC::CBufferDC(CDC* target, const CRect& rect)
    : m_target(target), m_rect(rect), m_offScreen(target && !target->IsPrinting())
{
    if (!target)
        return;
    if (!m_offScreen) {
        m_bPrinting = target->m_bPrinting;
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        return;
    }
    if (!CreateCompatibleDC(target))
        return;
    // A failed bitmap leaves the drawing going nowhere; the destructor then copies nothing.
    if (m_bitmap.CreateCompatibleBitmap(target, std::abs(rect.Width()), std::abs(rect.Height())))
        m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(rect.left, rect.top);
}

CBufferDC::~CBufferDC()
{
    if (!m_target)
        return;
    if (!m_offScreen) {
        m_hDC = m_hAttribDC = nullptr;
        return;
    }
    if (!m_hDC)
        return;
    SetMapMode(MM_TEXT);
    m_target->SetMapMode(MM_TEXT);
    if (!m_oldBitmap)
        return;
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
    SelectObject(m_oldBitmap);
}
