// Feeds arbitrary bytes to the BMP loader, then uses what it accepted: its
// size stays within the limits of a bitmap and it draws into an image list
// and onto a memory context without reading outside either.
#include "Platform/Dc.h"
#include "Platform/ImageList.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CBitmap bitmap;
    if (!bitmap.LoadFromMemory(data, size))
        return 0;
    const CSize extent = bitmap.GetSize();
    if (extent.cx <= 0 || extent.cy <= 0)
        std::abort();
    if (extent.cx > 4096 || extent.cy > 4096)
        return 0;
    CImageList list;
    list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1);
    const int first = list.Add(&bitmap, RGB(255, 255, 255));
    if ((extent.cx < 16) != (first < 0))
        std::abort();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap target;
    target.CreateBitmap(32, 32, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&target);
    if (first >= 0)
        list.Draw(&dc, list.GetImageCount() - 1, CPoint(8, 8), ILD_TRANSPARENT);
    CDC source;
    source.CreateCompatibleDC(nullptr);
    CBitmap* oldSource = source.SelectObject(&bitmap);
    dc.BitBlt(0, 0, 32, 32, &source, extent.cx - 16, extent.cy - 16, SRCINVERT);
    source.SelectObject(oldSource);
    dc.SelectObject(old);
    return 0;
}
