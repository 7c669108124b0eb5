// Bitmaps from BMP images, image lists with masks, icons and DrawState.
#include "DcFixture.h"
#include "Platform/Icon.h"
#include "Platform/ImageList.h"
#include "Platform/SysColors.h"

#include <QBuffer>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

// Two 16x16 images side by side on white: a blue square in the first, a
// green bar in the second.
QByteArray TwoIconBmp()
{
    QImage image(32, 16, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    for (int y = 0; y < 16; ++y)
        image.setPixel(16 + 7, y, qRgb(0, 160, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TEST(Bitmaps, BmpImagesLoadAndBadOnesAreRefused)
{
    const QByteArray bmp = TwoIconBmp();
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromMemory(bmp.constData(), size_t(bmp.size())));
    EXPECT_EQ(bitmap.GetSize(), CSize(32, 16));
    BITMAP info;
    EXPECT_EQ(bitmap.GetBitmap(&info), int(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 32);

    const QByteArray cases[] = {QByteArray(), bmp.left(30), QByteArray("BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"),
                                QByteArray("PK") + bmp.mid(2)};
    for (const QByteArray& bad : cases) {
        CBitmap refused;
        EXPECT_FALSE(refused.LoadFromMemory(bad.constData(), size_t(bad.size()))) << bad.size();
        EXPECT_EQ(refused.m_hObject, nullptr);
    }
    CBitmap missing;
    EXPECT_FALSE(missing.LoadFromFile("/nonexistent/dir/none.bmp"));
}

// LoadFromFile in a child process with a memory cap and a time limit, so
// that a loader that reads without bound fails the test instead of the
// machine: 1 loaded, 0 refused, 2 it threw, -1 the child died or hung.
int LoadInChild(const std::string& path)
{
    const pid_t child = fork();
    if (child == 0) {
        rlimit memory = {rlim_t(1) << 30, rlim_t(1) << 30};
        setrlimit(RLIMIT_AS, &memory);
        alarm(10);
        try {
            CBitmap bitmap;
            _exit(bitmap.LoadFromFile(path.c_str()) ? 1 : 0);
        } catch (...) {
            _exit(2);
        }
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// An icon path may name anything: only a regular file of at most 64 MB is
// read, and nothing blocks on a FIFO without a writer.
TEST(Bitmaps, OnlyRegularFilesWithinTheCapAreRead)
{
    char tmpl[] = "/tmp/vexal-bmp-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const QByteArray bmp = TwoIconBmp();
    std::ofstream(dir + "/icon.bmp", std::ios::binary).write(bmp.constData(), bmp.size());
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir + "/folder");
    std::filesystem::copy_file(dir + "/icon.bmp", dir + "/huge.bmp");
    std::filesystem::resize_file(dir + "/huge.bmp", 64 * 1024 * 1024 + 1);

    struct Case { std::string path; int result; };
    const Case cases[] = {
        {dir + "/icon.bmp", 1},
        {"/dev/zero", 0},
        {dir + "/fifo", 0},
        {dir + "/folder", 0},
        {dir + "/huge.bmp", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadInChild(c.path), c.result) << c.path;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromFile((dir + "/icon.bmp").c_str()));
    EXPECT_EQ(bitmap.GetSize(), CSize(32, 16));
    std::filesystem::remove_all(dir);
}

TEST(ImageLists, WideBitmapGivesOneMaskedImagePerColumnOfSixteen)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1));
    const QByteArray bmp = TwoIconBmp();
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromMemory(bmp.constData(), size_t(bmp.size())));
    EXPECT_EQ(list.Add(&bitmap, kWhite), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(list.Add(&bitmap, kWhite), 2);

    DcCanvas canvas(48, 16);
    canvas.dc.FillSolidRect(0, 0, 48, 16, kRed);
    list.Draw(&canvas.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    list.Draw(&canvas.dc, 1, CPoint(16, 0), ILD_NORMAL);
    list.Draw(&canvas.dc, 1, CPoint(32, 0), ILD_MASK);
    canvas.Save("imagelist_masked");
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);        // white was the mask colour
    EXPECT_EQ(canvas.Pixel(6, 6), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(16 + 7, 3), RGB(0, 160, 0));
    EXPECT_EQ(canvas.Pixel(16 + 2, 3), kRed);
    EXPECT_EQ(canvas.Pixel(32 + 7, 3), RGB(0, 0, 0)); // the mask alone: a black silhouette
    EXPECT_EQ(canvas.Pixel(32 + 2, 3), kRed);

    // Replace, remove and extract keep the other images in order.
    HICON second = list.ExtractIcon(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(list.Replace(0, second), 0);
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.GetImageCount(), 3);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(second, &info));
    CBitmap mask, color;
    mask.Attach(info.hbmMask);
    color.Attach(info.hbmColor);
    CDC maskDc;
    maskDc.CreateCompatibleDC(nullptr);
    CBitmap* old = maskDc.SelectObject(&mask);
    EXPECT_EQ(maskDc.GetPixel(2, 2), kWhite);
    EXPECT_EQ(maskDc.GetPixel(7, 2), RGB(0, 0, 0));
    maskDc.SelectObject(old);
    DestroyIcon(second);
    EXPECT_EQ(list.ExtractIcon(3), nullptr);
    EXPECT_FALSE(list.Remove(3));
    EXPECT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(list.Add(&bitmap, kWhite), 0);
}

TEST(ImageLists, NarrowBitmapAndUncreatedListAreRefused)
{
    CBitmap narrow;
    narrow.CreateBitmap(8, 16, 1, 32, nullptr);
    CImageList none;
    EXPECT_EQ(none.Add(&narrow, kWhite), -1);
    CImageList list;
    list.Create(16, 16, ILC_MASK, 0, 1);
    EXPECT_EQ(list.Add(&narrow, kWhite), -1);
    EXPECT_EQ(list.GetImageCount(), 0);
}

// The first image of TwoIconBmp, white transparent, as an icon the caller destroys.
HICON BlueSquareIcon()
{
    CImageList list;
    list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1);
    const QByteArray bmp = TwoIconBmp();
    CBitmap bitmap;
    bitmap.LoadFromMemory(bmp.constData(), size_t(bmp.size()));
    list.Add(&bitmap, kWhite);
    return list.ExtractIcon(0);
}

// An icon keeps the destination where its mask is white and combines its
// colour by exclusive or: black colour there leaves the destination alone,
// white inverts it.
TEST(Icons, MaskAndColourComposeAsAndThenXor)
{
    BYTE maskBits[2 * 2] = {0x60, 0, 0x60, 0}; // 1 bits (white): columns 1 and 2
    CBitmap mask, colour;
    mask.CreateBitmap(4, 2, 1, 1, maskBits);
    colour.CreateBitmap(4, 2, 1, 32, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&colour);
    dc.SetPixel(0, 0, RGB(0, 200, 0));
    dc.SetPixel(2, 0, RGB(255, 255, 255));
    dc.SelectObject(old);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    DcCanvas canvas(4, 2);
    canvas.dc.FillSolidRect(0, 0, 4, 2, RGB(10, 20, 30));
    ASSERT_TRUE(canvas.dc.DrawIcon(0, 0, icon));
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 200, 0));    // opaque: the colour
    EXPECT_EQ(canvas.Pixel(3, 0), RGB(0, 0, 0));      // opaque black
    EXPECT_EQ(canvas.Pixel(1, 0), RGB(10, 20, 30));   // transparent
    EXPECT_EQ(canvas.Pixel(2, 0), RGB(245, 235, 225)); // transparent, inverted by white
    HICON copy = CopyIcon(icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_TRUE(DrawIconEx(canvas.dc, 0, 0, copy, 8, 4, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(canvas.dc.DrawIcon(0, 0, copy));
}

// An icon drawn with a background brush into a fresh (black) compatible
// bitmap shows the brush where it is transparent, as the menus' icon-to-bitmap
// step needs to find the button face there.
TEST(Icons, BackgroundBrushShowsThroughTheTransparentPixels)
{
    HICON icon = BlueSquareIcon();

    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    CBitmap screenBitmap;
    screenBitmap.CreateBitmap(1, 1, 1, 32, nullptr);
    CBitmap* oldScreen = screen.SelectObject(&screenBitmap);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 16, 16));
    CBitmap* old = memory.SelectObject(&target);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_TRUE(DrawIconEx(memory, 0, 0, icon, 16, 16, 0, GetSysColorBrush(COLOR_BTNFACE), DI_NORMAL));
    EXPECT_EQ(memory.GetPixel(0, 0), face);
    EXPECT_EQ(memory.GetPixel(15, 15), face);
    EXPECT_EQ(memory.GetPixel(6, 6), RGB(0, 0, 255));
    memory.SelectObject(old);
    screen.SelectObject(oldScreen);
    DestroyIcon(icon);
}

// The derived copies the menus make: the icon drawn on the button face, then
// every pixel that differs from the face recoloured; and the disabled look.
TEST(ImageLists, FadedCopyAndDisabledStateFromAnIcon)
{
    HICON icon = BlueSquareIcon();

    DcCanvas canvas(16, 16);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    canvas.dc.FillSolidRect(0, 0, 16, 16, face);
    DrawIconEx(canvas.dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = canvas.dc.GetPixel(x, y);
            if (c != face) // blend 30% towards white
                canvas.dc.SetPixel(x, y, RGB(GetRValue(c) + (255 - GetRValue(c)) * 3 / 10,
                                             GetGValue(c) + (255 - GetGValue(c)) * 3 / 10,
                                             GetBValue(c) + (255 - GetBValue(c)) * 3 / 10));
        }
    canvas.Save("imagelist_faded");
    EXPECT_EQ(canvas.Pixel(0, 0), face);
    EXPECT_EQ(canvas.Pixel(6, 6), RGB(76, 76, 255));

    DcCanvas disabled(20, 20);
    disabled.dc.FillSolidRect(0, 0, 20, 20, face);
    disabled.dc.DrawState(CPoint(2, 2), CSize(16, 16), icon, DSS_DISABLED);
    disabled.Save("imagelist_disabled");
    EXPECT_EQ(disabled.Pixel(2 + 6, 2 + 6), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(disabled.Pixel(2 + 12, 2 + 12), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(disabled.Pixel(2 + 1, 2 + 1), face);
    DestroyIcon(icon);
}

// A bitmap has no mask: its silhouette is its pixels that are not white.
TEST(Icons, MonochromeStateOfABitmapPaintsItsNonWhitePixels)
{
    CBitmap bitmap;
    bitmap.CreateBitmap(4, 4, 1, 32, nullptr);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 4, 4, kWhite);
    memory.SetPixel(1, 1, RGB(0, 0, 0));
    memory.SelectObject(old);
    DcCanvas mono(8, 8);
    CBrush green(RGB(0, 128, 0));
    mono.dc.DrawState(CPoint(2, 2), CSize(4, 4), &bitmap, DSS_MONO, &green);
    EXPECT_EQ(mono.InkBox(), QRect(3, 3, 1, 1));
    EXPECT_EQ(mono.Pixel(3, 3), RGB(0, 128, 0));
}

} // namespace
