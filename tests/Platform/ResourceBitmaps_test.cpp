// Bitmap resources along the resource chain and the system-colour loader.
#include "DcFixture.h"
#include "Platform/Resource.h"
#include "Platform/ResourceBitmaps.h"
#include "Platform/SysColors.h"

#include <QBuffer>

namespace {

// A 5x1 image of the four button colours and red, as a BMP with a
// colour table, or as a 24-bit one.
QByteArray ButtonBmp(bool indexed)
{
    QImage image(5, 1, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(255, 255, 255),
                            qRgb(255, 0, 0)};
    for (int x = 0; x < 5; ++x)
        image.setPixel(x, 0, colours[x]);
    if (indexed)
        image = image.convertToFormat(QImage::Format_Indexed8);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TEST(ResourceBitmaps, TheResourceLibraryComesFirstThenTheProgram)
{
    const QByteArray program = ButtonBmp(true), library = ButtonBmp(false);
    const ResourceBitmap own[] = {{500, reinterpret_cast<const BYTE*>(program.constData()), size_t(program.size())},
                                  {501, reinterpret_cast<const BYTE*>(program.constData()), size_t(program.size())}};
    const ResourceBitmap lib[] = {{500, reinterpret_cast<const BYTE*>(library.constData()), size_t(library.size())}};
    HINSTANCE self = AfxGetInstanceHandle();
    auto* fakeLibrary = reinterpret_cast<HINSTANCE>(0x1234);
    AfxSetBitmapTable(self, own, 2);
    AfxSetBitmapTable(fakeLibrary, lib, 1);
    AfxSetResourceHandle(fakeLibrary);

    EXPECT_EQ(AfxFindBitmapHandle(500), fakeLibrary);
    EXPECT_EQ(AfxFindBitmapHandle(501), self);
    EXPECT_EQ(AfxFindBitmapHandle(502), nullptr);
    BITMAPINFOHEADER header;
    ASSERT_TRUE(GetResourceBitmapHeader(fakeLibrary, 500, &header));
    EXPECT_EQ(header.biBitCount, 24);
    ASSERT_TRUE(GetResourceBitmapHeader(self, 500, &header));
    EXPECT_LE(header.biBitCount, 8); // a colour table
    EXPECT_EQ(header.biWidth, 5);
    CBitmap loaded, missing;
    EXPECT_TRUE(loaded.LoadBitmap(501));
    EXPECT_EQ(loaded.GetSize(), CSize(5, 1));
    EXPECT_FALSE(missing.LoadBitmap(502));

    // Only a bitmap with a colour table is mapped; its button colours become the scheme's.
    EXPECT_EQ(AfxLoadSysColorBitmap(fakeLibrary, 500), nullptr);
    CBitmap mapped;
    ASSERT_TRUE(mapped.Attach(AfxLoadSysColorBitmap(self, 500)));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&mapped);
    EXPECT_EQ(dc.GetPixel(0, 0), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(dc.GetPixel(1, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(2, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(3, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(4, 0), RGB(255, 0, 0));
    dc.SelectObject(old);

    AfxSetResourceHandle(nullptr);
    AfxSetBitmapTable(fakeLibrary, nullptr, 0);
    AfxSetBitmapTable(self, nullptr, 0);
    EXPECT_EQ(AfxFindBitmapHandle(501), nullptr);
}

} // namespace
