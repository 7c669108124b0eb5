// CImageList: equal-sized images, each with an optional mask (white where
// transparent). Adding a bitmap wider than one image gives one image per
// image width, left to right; a mask colour makes those pixels transparent
// and black, so that masked drawing leaves the destination as it was.
#pragma once

#include "Platform/Gdi.h"

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLORDDB 0x00FE
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
#define ILD_BLEND25 0x0002
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND50 0x0004
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50
#define ILD_MASK 0x0010

#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

struct IMAGEINFO {
    HBITMAP hbmImage;
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
};

class CDC;

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    virtual ~CImageList();

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    // A wrapper that never owns the list; it lives until the list is deleted.
    static CImageList* FromHandle(HIMAGELIST list);

    int GetImageCount() const;
    BOOL GetIconSize(int* cx, int* cy) const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;

    // Each returns the index of the first image added, or -1.
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask);
    // index -1 appends; returns the index replaced or added, or -1.
    int Replace(int index, HICON icon);
    // index -1 removes every image; later images move down by one.
    BOOL Remove(int index);
    // A new icon of the image, which the caller destroys; null when out of range.
    HICON ExtractIcon(int index);
    BOOL Draw(CDC* dc, int index, POINT pt, UINT style);
    // The list's whole picture: hbmImage and hbmMask hold every image side by
    // side and stay owned by the list until the next call or the list's end.
    BOOL GetImageInfo(int index, IMAGEINFO* info) const;
};

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
