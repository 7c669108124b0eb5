#include "Platform/Clipboard.h"
#include "Platform/Dc.h"
#include "Platform/GlobalMemory.h"
#include "Platform/MetaFileDc.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HGLOBAL Block(const void* bytes, size_t size)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    std::memcpy(GlobalLock(h), bytes, size);
    GlobalUnlock(h);
    return h;
}

std::string Read(HANDLE h)
{
    auto* block = static_cast<HGLOBAL>(h);
    std::string s(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    return s;
}

TEST(Clipboard, TextAndRegisteredBlocksRoundTrip)
{
    const UINT format = RegisterClipboardFormat("VexalUMLClipboardMdl");
    EXPECT_GE(format, 0xC000u);
    EXPECT_EQ(format, RegisterClipboardFormat("VexalUMLClipboardMdl"));

    const char text[] = "line one\r\nzwei \xC3\xBC";
    const char binary[] = { 'a', '\0', 'b', '\xFF' };
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_NE(nullptr, SetClipboardData(CF_TEXT, Block(text, sizeof text)));
    EXPECT_NE(nullptr, SetClipboardData(format, Block(binary, sizeof binary)));
    ASSERT_TRUE(CloseClipboard());

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, mime);
    EXPECT_EQ(QString::fromUtf8("line one\r\nzwei \xC3\xBC"), mime->text());
    EXPECT_EQ(QByteArray(binary, sizeof binary), mime->data("application/x-VexalUMLClipboardMdl"));

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(format));
    EXPECT_EQ(nullptr, GetClipboardData(CF_TEXT));  // not open
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(std::string(text, sizeof text), Read(GetClipboardData(CF_TEXT)));
    EXPECT_EQ(std::string(binary, sizeof binary), Read(GetClipboardData(format)));
    EXPECT_EQ(nullptr, GetClipboardData(RegisterClipboardFormat("VexalUMLClipboardSym")));
    ASSERT_TRUE(CloseClipboard());

    // Emptying without new data leaves an empty clipboard.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(format));
}

TEST(Clipboard, PicturesBecomePngAndSvg)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(4, 3, 1, 32, nullptr));
    CMetaFileDC meta;
    const CRect frame(0, 0, 2540, 2540);
    ASSERT_TRUE(meta.CreateEnhanced(nullptr, nullptr, &frame, "test"));
    meta.Rectangle(0, 0, 50, 50);
    HENHMETAFILE hemf = meta.CloseEnhanced();
    ASSERT_NE(nullptr, hemf);
    QByteArray svg(int(GetEnhMetaFileBits(hemf, 0, nullptr)), 0);
    GetEnhMetaFileBits(hemf, UINT(svg.size()), reinterpret_cast<LPBYTE>(svg.data()));

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_NE(nullptr, SetClipboardData(CF_BITMAP, bitmap.Detach()));
    EXPECT_NE(nullptr, SetClipboardData(CF_ENHMETAFILE, hemf));
    CloseClipboard();

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, mime);
    const QImage png = QImage::fromData(mime->data("image/png"), "PNG");
    EXPECT_EQ(QSize(4, 3), png.size());
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_EQ(svg, mime->data("image/svg+xml"));
    EXPECT_FALSE(DeleteEnhMetaFile(hemf));  // the clipboard took it
}

TEST(GlobalMemory, BlocksAreCheckedAndZeroFilledOnRequest)
{
    HGLOBAL h = GlobalAlloc(GHND, 16);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(16u, GlobalSize(h));
    auto* bytes = static_cast<const BYTE*>(GlobalLock(h));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(0, bytes[i]);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(nullptr, GlobalFree(h));
    EXPECT_EQ(nullptr, GlobalLock(h));
    EXPECT_EQ(0u, GlobalSize(h));
    EXPECT_EQ(h, GlobalFree(h));
}

} // namespace
