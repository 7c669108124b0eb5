#include "Platform/Clipboard.h"

#include "Platform/Gdi.h"
#include "Platform/GdiData.h"
#include "Platform/GlobalMemory.h"
#include "Platform/MetaFileDc.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct State {
    bool open = false;
    bool emptied = false;
    std::map<UINT, QByteArray> pending;  // format -> MIME payload
    std::vector<HGLOBAL> handedOut;      // blocks read, freed at close
};

State& Clip()
{
    static State state;
    return state;
}

std::map<UINT, std::string>& FormatNames()
{
    static std::map<UINT, std::string> names;
    return names;
}

// The MIME type of a format; empty for a format the clipboard cannot carry.
QString MimeOf(UINT format)
{
    switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT:
        return "text/plain";
    case CF_BITMAP:
    case CF_DIB:
        return "image/png";
    case CF_ENHMETAFILE:
        return "image/svg+xml";
    default: {
        auto it = FormatNames().find(format);
        return it == FormatNames().end() ? QString() : "application/x-" + QString::fromUtf8(it->second.c_str());
    }
    }
}

QByteArray BlockBytes(HANDLE h)
{
    auto* block = static_cast<HGLOBAL>(h);
    const size_t size = GlobalSize(block);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    if (!bytes)
        return QByteArray();
    QByteArray data(bytes, qsizetype(size));
    GlobalUnlock(block);
    return data;
}

HGLOBAL NewBlock(const QByteArray& data, bool terminate)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size_t(data.size()) + (terminate ? 1 : 0));
    if (!h)
        return nullptr;
    auto* bytes = static_cast<char*>(GlobalLock(h));
    std::memcpy(bytes, data.constData(), size_t(data.size()));
    if (terminate)
        bytes[data.size()] = 0;
    GlobalUnlock(h);
    return h;
}

void Publish(State& s)
{
    auto* mime = new QMimeData;
    if (!s.emptied) {
        if (const QMimeData* old = QGuiApplication::clipboard()->mimeData()) {
            for (const QString& f : old->formats())
                mime->setData(f, old->data(f));
        }
    }
    for (const auto& [format, data] : s.pending) {
        if (format == CF_TEXT || format == CF_UNICODETEXT)
            mime->setText(QString::fromUtf8(data));
        else
            mime->setData(MimeOf(format), data);
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace

BOOL OpenClipboard(HWND)
{
    State& s = Clip();
    if (s.open)
        return FALSE;
    s.open = true;
    s.emptied = false;
    s.pending.clear();
    return TRUE;
}

BOOL CloseClipboard()
{
    State& s = Clip();
    if (!s.open)
        return FALSE;
    if (s.emptied || !s.pending.empty())
        Publish(s);
    for (HGLOBAL h : s.handedOut)
        GlobalFree(h);
    s.handedOut.clear();
    s.pending.clear();
    s.open = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    State& s = Clip();
    if (!s.open)
        return FALSE;
    s.emptied = true;
    s.pending.clear();
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    State& s = Clip();
    if (!s.open || !hMem || MimeOf(uFormat).isEmpty())
        return nullptr;
    QByteArray data;
    if (uFormat == CF_BITMAP || uFormat == CF_DIB) {
        BitmapRecord* bitmap = BitmapFromHandle(hMem);
        if (!bitmap)
            return nullptr;
        QBuffer png(&data);
        png.open(QIODevice::WriteOnly);
        bitmap->image.save(&png, "PNG");
        DeleteObject(hMem);
    } else if (uFormat == CF_ENHMETAFILE) {
        auto hemf = static_cast<HENHMETAFILE>(hMem);
        data.resize(qsizetype(GetEnhMetaFileBits(hemf, 0, nullptr)));
        GetEnhMetaFileBits(hemf, UINT(data.size()), reinterpret_cast<LPBYTE>(data.data()));
        if (!DeleteEnhMetaFile(hemf))
            return nullptr;
    } else {
        if (!GlobalLock(static_cast<HGLOBAL>(hMem)))
            return nullptr;
        GlobalUnlock(static_cast<HGLOBAL>(hMem));
        data = BlockBytes(hMem);
        if (uFormat == CF_TEXT || uFormat == CF_UNICODETEXT) {
            // Text ends at its terminator.
            const qsizetype end = data.indexOf('\0');
            if (end >= 0)
                data.truncate(end);
        }
        GlobalFree(static_cast<HGLOBAL>(hMem));
    }
    s.pending[uFormat] = data;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    State& s = Clip();
    if (!s.open)
        return nullptr;
    QByteArray data;
    bool found = false;
    auto pending = s.pending.find(uFormat);
    if (pending != s.pending.end()) {
        data = pending->second;
        found = true;
    } else if (!s.emptied) {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        const QString type = MimeOf(uFormat);
        if (mime && !type.isEmpty()) {
            if (uFormat == CF_TEXT && mime->hasText()) {
                data = mime->text().toUtf8();
                found = true;
            } else if (mime->hasFormat(type)) {
                data = mime->data(type);
                found = true;
            }
        }
    }
    if (!found || uFormat == CF_BITMAP || uFormat == CF_DIB || uFormat == CF_ENHMETAFILE)
        return nullptr;
    HGLOBAL h = NewBlock(data, uFormat == CF_TEXT || uFormat == CF_UNICODETEXT);
    if (h)
        s.handedOut.push_back(h);
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    const State& s = Clip();
    if (s.open && s.pending.count(format))
        return TRUE;
    if (s.open && s.emptied)
        return FALSE;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return FALSE;
    if (format == CF_TEXT || format == CF_UNICODETEXT)
        return mime->hasText();
    const QString type = MimeOf(format);
    return !type.isEmpty() && mime->hasFormat(type);
}

UINT RegisterClipboardFormat(LPCTSTR lpszFormat)
{
    if (!lpszFormat || !*lpszFormat)
        return 0;
    for (const auto& [id, name] : FormatNames()) {
        if (name == lpszFormat)
            return id;
    }
    const UINT id = UINT(0xC000 + FormatNames().size());
    if (id > 0xFFFF)
        return 0;
    FormatNames().emplace(id, lpszFormat);
    return id;
}
