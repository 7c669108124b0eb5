// Bitmaps read from Windows BMP images.
#include "Platform/GdiData.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

BOOL CBitmap::LoadFromMemory(const void* data, size_t size)
{
    // The file header (14 bytes) and at least the core part of an info header.
    if (m_hObject || !data || size < 26 || size > 0x7FFFFFFF)
        return FALSE;
    const auto* bytes = static_cast<const BYTE*>(data);
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return FALSE;
    QImage image;
    if (!image.loadFromData(bytes, int(size), "BMP") || image.isNull())
        return FALSE;
    // A two-colour black-and-white image stays monochrome, as a 1-bit resource does.
    const DWORD headerSize = DWORD(bytes[14]) | DWORD(bytes[15]) << 8 | DWORD(bytes[16]) << 16 | DWORD(bytes[17]) << 24;
    const int bitsAt = headerSize == 12 ? 24 : 28;
    bool mono = size > size_t(bitsAt + 1) && bytes[bitsAt] == 1 && bytes[bitsAt + 1] == 0;
    if (mono) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height() && mono; ++y)
            for (int x = 0; x < rgb.width() && mono; ++x) {
                const QRgb c = rgb.pixel(x, y) & 0xFFFFFF;
                mono = c == 0 || c == 0xFFFFFF;
            }
    }
    return Attach(BitmapHandle(NewBitmapRecord(image, mono)));
}

// Only a regular file is read, and never past the cap: a device or a FIFO
// reports no size worth trusting. Opening without blocking keeps a FIFO with
// no writer from holding the caller.
BOOL CBitmap::LoadFromFile(LPCTSTR path)
{
    constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;
    if (!path || m_hObject)
        return FALSE;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    struct stat st;
    std::vector<char> data;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && size_t(st.st_size) <= kMaxFileBytes;
    if (ok) {
        data.resize(size_t(st.st_size) + 1);
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            done += size_t(n);
        }
        // One byte more than the size tells a file that grew while read.
        ok = ok && done <= size_t(st.st_size);
        data.resize(done);
    }
    close(fd);
    return ok && LoadFromMemory(data.data(), data.size());
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    if (m_hObject || width < 0 || height < 0 || width > 32767 || height > 32767)
        return FALSE;
    // A memory context holding a monochrome bitmap (or a zero size) gives a
    // monochrome bitmap; every other context a colour one.
    DcRecord* record = DcOf(dc);
    const bool mono = (record && record->kind == DcKind::Memory && record->state.bitmap && record->state.bitmap->mono)
                      || width == 0 || height == 0;
    QImage image(width ? width : 1, height ? height : 1, QImage::Format_RGB32);
    image.fill(Qt::black);
    return Attach(BitmapHandle(NewBitmapRecord(image, mono)));
}
