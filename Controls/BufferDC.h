// CBufferDC: draws a rectangle of a paint request off-screen and shows it in
// one transfer when destroyed, so the window does not flicker. Over a
// printer context it draws straight on the printer instead.
#pragma once

#include "Platform/Dc.h"

class CBufferDC : public CDC {
public:
    // The rectangle is in the target's logical coordinates; drawing on this
    // context uses the same coordinates as drawing on the target.
    CBufferDC(CDC* target, const CRect& rect);
    ~CBufferDC() override;

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_target;
    CRect m_rect;
    BOOL m_offScreen;
};
