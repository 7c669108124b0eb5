// The images of the owner-drawn menu: the shared list, bitmap resources,
// the derived copies (faded, shadow, grey), colour blocks, the colour
// blends and the disabled-image drawings.
#include "Controls/ExtMenu.h"

#include "Controls/ScreenContext.h"
#include "Platform/Icon.h"
#include "Platform/ResourceBitmaps.h"
#include "Platform/SysColors.h"

#include <functional>

namespace {

COLORREF Blend(COLORREF colour, double f, bool toWhite)
{
    if (!(f > 0 && f <= 1))
        return colour;
    auto channel = [&](int c) { return BYTE(int(toWhite ? c + f * (255 - c) : c - f * c)); };
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// A bitmap in the screen's colour format. Memory contexts start out holding
// a monochrome bitmap, so a bitmap compatible with one would be monochrome.
void ScreenBitmap(CBitmap* bitmap, int width, int height) { bitmap->CreateBitmap(width, height, 1, 32, nullptr); }

// A colour as a bitmap of the screen shows it.
COLORREF Shown(COLORREF colour)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap probe;
    ScreenBitmap(&probe, 2, 2);
    CBitmap* old = dc.SelectObject(&probe);
    CBrush brush(colour);
    const CRect all(0, 0, 2, 2);
    dc.FillRect(&all, &brush);
    const COLORREF shown = dc.GetPixel(1, 1);
    dc.SelectObject(old);
    return shown;
}

void MapPixels(CBitmap* bitmap, const std::function<COLORREF(COLORREF)>& map)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(bitmap);
    const CSize size = bitmap->GetSize();
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF before = dc.GetPixel(x, y);
            const COLORREF after = map(before);
            if (after != before)
                dc.SetPixel(x, y, after);
        }
    }
    dc.SelectObject(old);
}

COLORREF ButtonFace() { return GetSysColor(COLOR_BTNFACE); }

// Steps of loading a bitmap resource into a list, without derived copies.
bool AddBitmapResource(CImageList* list, UINT bitmapId, COLORREF mask)
{
    CBitmap bitmap;
    if (HBITMAP mapped = CExtMenu::LoadSysColourBitmap(bitmapId)) {
        bitmap.Attach(mapped);
    } else {
        const HINSTANCE module = AfxFindBitmapHandle(bitmapId);
        HBITMAP raw = module ? LoadBitmap(module, bitmapId) : nullptr;
        if (!raw)
            return false;
        bitmap.Attach(raw);
        CExtMenu::GreyDisabledImages = 1;
        CExtMenu::ReplaceLightGrey(&bitmap);
    }
    return list->Add(&bitmap, mask) >= 0;
}

} // namespace

COLORREF CExtMenu::BlendToWhite(COLORREF colour, double f) { return Blend(colour, f, true); }
COLORREF CExtMenu::BlendToBlack(COLORREF colour, double f) { return Blend(colour, f, false); }

void CExtMenu::MakeFadedImage(CBitmap* bitmap)
{
    const COLORREF background = Shown(ButtonFace());
    MapPixels(bitmap, [&](COLORREF c) { return c == background ? c : BlendToWhite(c, 0.3); });
}

void CExtMenu::MakeShadowImage(CBitmap* bitmap)
{
    const COLORREF background = Shown(ButtonFace());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF silhouette = IsXpLook() ? shadow : BlendToWhite(shadow, 0.49);
    MapPixels(bitmap, [&](COLORREF c) { return c == background ? c : silhouette; });
}

void CExtMenu::MakeGreyImage(CBitmap* bitmap, COLORREF background)
{
    const COLORREF face = Shown(ButtonFace());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    MapPixels(bitmap, [&](COLORREF c) {
        if (c == face)
            return background != 0 ? background : c;
        const int a = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
        return BlendToWhite(shadow, a / 255.0);
    });
}

void CExtMenu::ReplaceLightGrey(CBitmap* bitmap)
{
    const COLORREF lightGrey = Shown(RGB(0xC0, 0xC0, 0xC0));
    const COLORREF face = ButtonFace();
    MapPixels(bitmap, [&](COLORREF c) { return c == lightGrey ? face : c; });
}

bool CExtMenu::IconToBitmap(CDC* dc, CImageList* list, int index, CBitmap* bitmap)
{
    HICON icon = list ? list->ExtractIcon(index) : nullptr;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    ScreenBitmap(bitmap, ImageWidth, ImageHeight);
    CBitmap* old = memory.SelectObject(bitmap);
    memory.FillSolidRect(0, 0, ImageWidth, ImageHeight, ButtonFace());
    if (icon) {
        DrawIconEx(memory.GetSafeHdc(), 0, 0, icon, ImageWidth, ImageHeight, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    memory.SelectObject(old);
    return true;
}

bool CExtMenu::DerivedCopies(CImageList* list, int index, CBitmap copies[3])
{
    if (!IsXpLook() || DerivedImages != 1)
        return false;
    ScreenContext screen;
    for (int i = 0; i < 3; ++i)
        IconToBitmap(screen.dc(), list, index, &copies[i]);
    MakeFadedImage(&copies[0]);
    MakeShadowImage(&copies[1]);
    MakeGreyImage(&copies[2], 0);
    return true;
}

HBITMAP CExtMenu::LoadSysColourBitmap(UINT bitmapId)
{
    const HINSTANCE module = AfxFindBitmapHandle(bitmapId);
    BITMAPINFOHEADER header = {};
    if (!module || !GetResourceBitmapHeader(module, bitmapId, &header) || DibColourCount(header) != 16)
        return nullptr;
    return AfxLoadSysColorBitmap(module, bitmapId);
}

int CExtMenu::DibColourCount(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed)
        return int(header.biClrUsed);
    switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

bool CExtMenu::AddResourceImage(CImageList* list, UINT bitmapId)
{
    if (!AddBitmapResource(list, bitmapId, m_useBitmapBackground ? m_bitmapBackground : ButtonFace()))
        return false;
    CBitmap copies[3];
    if (DerivedCopies(list, 0, copies)) {
        for (CBitmap& copy : copies)
            list->Add(&copy, ButtonFace());
    }
    return true;
}

int CExtMenu::SharedImageIndexOf(UINT id)
{
    for (size_t i = 0; i < theMenuImageIds.size(); ++i) {
        if (theMenuImageIds[i] == int(id))
            return int(i);
    }
    return -1;
}

bool CExtMenu::HasDerivedImages(int index)
{
    const size_t n = theMenuImageIds.size();
    if (index < 0 || size_t(index) + 2 >= n)
        return false;
    const int id = theMenuImageIds[size_t(index)];
    return theMenuImageIds[size_t(index) + 1] == id && theMenuImageIds[size_t(index) + 2] == id;
}

int CExtMenu::AddSharedImage(CImageList* list, int index, UINT id)
{
    if (!theMenuImages.GetSafeHandle())
        theMenuImages.Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    HICON icon = list ? list->ExtractIcon(index) : nullptr;
    if (!icon)
        return -1;
    CBitmap copies[3];
    const bool derived = DerivedCopies(list, index, copies);
    int j = SharedImageIndexOf(id);
    if (j >= 0) {
        theMenuImages.Replace(j, icon);
        if (derived && HasDerivedImages(j) && size_t(j) + 3 < theMenuImageIds.size()) {
            CImageList group;
            group.Create(ImageWidth, ImageHeight, ILC_COLORDDB | ILC_MASK, 3, 1);
            for (int k = 0; k < 3; ++k) {
                group.Add(&copies[k], ButtonFace());
                if (HICON copy = group.ExtractIcon(k)) {
                    theMenuImages.Replace(j + 1 + k, copy);
                    DestroyIcon(copy);
                }
            }
        }
    } else {
        j = theMenuImages.Add(icon);
        theMenuImageIds.push_back(int(id));
        for (int k = 0; derived && k < 3; ++k) {
            theMenuImages.Add(&copies[k], ButtonFace());
            theMenuImageIds.push_back(int(id));
        }
    }
    DestroyIcon(icon);
    return j;
}

bool CExtMenu::CopyItemImage(CImageList* source, int index, CImageList* target)
{
    if (!source || !target || index < 0)
        return false;
    HICON icon = source->ExtractIcon(index);
    if (!icon)
        return false;
    int cx = ImageWidth, cy = ImageHeight;
    source->GetIconSize(&cx, &cy);
    target->DeleteImageList();
    target->Create(cx, cy, ILC_COLORDDB | ILC_MASK, 1, 1);
    target->Add(icon);
    DestroyIcon(icon);
    CBitmap copies[3];
    if (DerivedCopies(target, 0, copies)) {
        for (CBitmap& copy : copies)
            target->Add(&copy, ButtonFace());
    }
    return true;
}

void CExtMenu::MakeColourBlock(CDC* dc, CBitmap* bitmap, int w, int h, int imageWidth, int imageHeight,
                               COLORREF fill, COLORREF border, int hatch)
{
    ScreenBitmap(bitmap, imageWidth, imageHeight);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(bitmap);
    CRect block(0, 0, w, h);
    if (w != imageWidth || h != imageHeight) {
        memory.FillSolidRect(0, 0, imageWidth, imageHeight, GetSysColor(IsXpThemed() ? COLOR_BTNFACE : COLOR_MENU));
        block.left = (imageWidth - w) / 2;
        block.top = (imageHeight - h) / 2;
        block.right = block.left + w;
        block.bottom = block.top + h;
    }
    CPen pen(PS_SOLID, 1, border);
    CBrush brush;
    if (hatch == -1)
        brush.CreateSolidBrush(fill);
    else
        brush.CreateHatchBrush(hatch, fill);
    CPen* oldPen = memory.SelectObject(&pen);
    CBrush* oldBrush = memory.SelectObject(&brush);
    memory.Rectangle(&block);
    memory.SelectObject(oldPen);
    memory.SelectObject(oldBrush);
    memory.SelectObject(old);
}

void CExtMenu::DrawDisabledImage(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sx, int sy,
                                 COLORREF background)
{
    CDC mask;
    mask.CreateCompatibleDC(nullptr);
    CBitmap mono;
    mono.CreateBitmap(width, height, 1, 1, nullptr);
    CBitmap* oldMono = mask.SelectObject(&mono);
    mask.PatBlt(0, 0, width, height, WHITENESS);

    CDC image;
    image.CreateCompatibleDC(nullptr);
    CBitmap* oldImage = image.SelectObject(bitmap);
    image.SetBkColor(ButtonFace());
    mask.BitBlt(0, 0, width, height, &image, sx, sy, SRCCOPY);
    image.SetBkColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    mask.BitBlt(0, 0, width, height, &image, sx, sy, SRCPAINT);

    const CSize size = bitmap->GetSize();
    image.FillSolidRect(0, 0, size.cx, size.cy, background);
    image.SetBkColor(RGB(0, 0, 0));
    image.SetTextColor(RGB(255, 255, 255));

    CBrush highlight(GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush* oldBrush = image.SelectObject(&highlight);
    image.BitBlt(0, 0, width, height, &mask, 0, 0, 0x00E20746);
    dc->BitBlt(x + 1, y + 1, width, height, &image, 0, 0, SRCCOPY);
    image.BitBlt(1, 1, width, height, &mask, 0, 0, 0x00E20746);
    CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    image.SelectObject(&shadow);
    image.BitBlt(0, 0, width, height, &mask, 0, 0, 0x00E20746);
    dc->BitBlt(x, y, width, height, &image, 0, 0, SRCCOPY);

    image.SelectObject(oldBrush);
    image.SelectObject(oldImage);
    mask.SelectObject(oldMono);
}

void CExtMenu::DrawDisabledImageMono(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sx, int sy,
                                     COLORREF background)
{
    CDC first, second;
    if (!first.CreateCompatibleDC(dc) || !second.CreateCompatibleDC(&first))
        return;
    CBitmap mono;
    mono.CreateBitmap(width, height, 1, 1, nullptr);
    CBitmap* oldMono = second.SelectObject(&mono);
    CBitmap* oldImage = first.SelectObject(bitmap);
    first.SetBkColor(RGB(255, 255, 255));
    second.BitBlt(0, 0, width, height, &first, sx, sy, SRCCOPY);

    dc->FillSolidRect(x, y, width, height, background);
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    const COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    CBrush highlight(GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush* oldBrush = dc->SelectObject(&highlight);
    dc->BitBlt(x + 1, y + 1, width, height, &second, 0, 0, 0x00B8074A);
    CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    dc->SelectObject(&shadow);
    dc->BitBlt(x, y, width, height, &second, 0, 0, 0x00B8074A);
    dc->SelectObject(oldBrush);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
    first.SelectObject(oldImage);
    second.SelectObject(oldMono);
}

void CExtMenu::DrawGreyImage(CDC* dc, int x, int y, int, int, CBitmap* bitmap, COLORREF background)
{
    MakeGreyImage(bitmap, background);
    CDC image;
    image.CreateCompatibleDC(dc);
    CBitmap* old = image.SelectObject(bitmap);
    const CSize size = bitmap->GetSize();
    dc->BitBlt(x, y, size.cx, size.cy, &image, 0, 0, SRCCOPY);
    image.SelectObject(old);
}

void CExtMenu::SetCheckMarkImages(int unselectedId, int selectedId)
{
    if (unselectedId < 1 || selectedId < 1)
        return;
    m_checkSelectedId = selectedId;
    m_checkUnselectedId = unselectedId;
    if (!m_checkImages || m_checkImagesShared) {
        m_checkImages = new CImageList;
        m_checkImagesShared = false;
    } else {
        m_checkImages->DeleteImageList();
    }
    m_checkImages->Create(ImageWidth, ImageHeight, ILC_MASK, 2, 1);
    const COLORREF mask = m_useBitmapBackground ? m_bitmapBackground : ButtonFace();
    if (!AddBitmapResource(m_checkImages, UINT(unselectedId), mask) ||
        !AddBitmapResource(m_checkImages, UINT(selectedId), mask)) {
        delete m_checkImages;
        m_checkImages = nullptr;
    }
}

void CExtMenu::SetBitmapBackground(COLORREF colour)
{
    m_bitmapBackground = colour;
    m_useBitmapBackground = true;
}

void CExtMenu::ClearBitmapBackground() { m_useBitmapBackground = false; }

void CExtMenu::SetImageSize(int width, int height)
{
    ImageWidth = width;
    ImageHeight = height;
}
