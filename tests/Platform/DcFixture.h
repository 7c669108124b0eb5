// A memory context over a white colour bitmap, for pixel tests; every test
// writes its picture under the test output folder so a person can look at it.
#pragma once

#include "Platform/Dc.h"
#include "Platform/GdiData.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <string>

class DcCanvas {
public:
    DcCanvas(int width, int height)
    {
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        old = dc.CreateCompatibleDC(nullptr) ? dc.SelectObject(&bitmap) : nullptr;
        dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
        dc.SetBkColor(RGB(255, 255, 255));
    }
    ~DcCanvas()
    {
        if (old)
            dc.SelectObject(old);
    }

    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }

    // Device pixels of the bitmap, whatever the mapping mode.
    COLORREF Pixel(int x, int y) const
    {
        return ColorRefFromRgb(BitmapFromHandle(bitmap.m_hObject)->image.pixel(x, y));
    }

    bool IsInk(int x, int y) const { return Pixel(x, y) != RGB(255, 255, 255); }

    // The bounding box of every pixel that is not white, in device pixels.
    QRect InkBox() const
    {
        const QImage& image = BitmapFromHandle(bitmap.m_hObject)->image;
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    void Save(const std::string& name) const
    {
        QDir().mkpath(VEXAL_TEST_OUTPUT);
        BitmapFromHandle(bitmap.m_hObject)->image.save(QString(VEXAL_TEST_OUTPUT "/") + name.c_str() + ".png");
    }

    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};
