// Cursor resources. A cursor resource (RT_GROUP_CURSOR) holds its hot spot
// (two little-endian words) followed by a PNG picture. The program's own
// cursors are drawn here: the two drag cursors of the model browser (136
// allowed, 137 refused), the line cursors of the diagram view (144 end can
// connect, 145 on a line point, 146 add a bend, 147 remove a bend) and the
// pointing hand (106).
#include "Platform/CursorData.h"
#include "Platform/ResourceTable.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <map>
#include <vector>

namespace {

enum class Mark { None, Plus, Minus, Box, Refused };

QPolygon Arrow()
{
    return QPolygon({ QPoint(0, 0), QPoint(0, 16), QPoint(4, 12), QPoint(7, 19), QPoint(9, 18), QPoint(6, 11),
                      QPoint(11, 11) });
}

void Outline(QPainter& p, const QPolygon& shape)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(shape);
}

std::vector<BYTE> Encode(const QImage& image, int hotX, int hotY)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    std::vector<BYTE> bytes = { BYTE(hotX), 0, BYTE(hotY), 0 };
    bytes.insert(bytes.end(), png.begin(), png.end());
    return bytes;
}

QImage Canvas()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

std::vector<BYTE> ArrowCursor(Mark mark)
{
    QImage image = Canvas();
    QPainter p(&image);
    Outline(p, Arrow());
    const QRect box(12, 18, 11, 11);
    switch (mark) {
    case Mark::Plus:
    case Mark::Minus:
    case Mark::Box:
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (mark != Mark::Box)
            p.drawLine(box.left() + 3, box.center().y(), box.right() - 3, box.center().y());
        if (mark == Mark::Plus)
            p.drawLine(box.center().x(), box.top() + 3, box.center().x(), box.bottom() - 3);
        if (mark == Mark::Box)
            p.fillRect(box.adjusted(3, 3, -2, -2), Qt::black);
        break;
    case Mark::Refused:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::red, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(box.adjusted(0, 0, 2, 2));
        p.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(1, 1));
        break;
    case Mark::None:
        break;
    }
    p.end();
    return Encode(image, 0, 0);
}

std::vector<BYTE> PointCursor()
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(15, 2, 15, 28);
    p.drawLine(2, 15, 28, 15);
    p.setBrush(Qt::white);
    p.drawRect(12, 12, 6, 6);
    p.end();
    return Encode(image, 15, 15);
}

std::vector<BYTE> HandCursor()
{
    QImage image = Canvas();
    QPainter p(&image);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(5, 0, 4, 14), 2, 2);   // the pointing finger
    hand.addRoundedRect(QRectF(9, 7, 4, 8), 2, 2);
    hand.addRoundedRect(QRectF(13, 8, 4, 8), 2, 2);
    hand.addRoundedRect(QRectF(17, 9, 4, 8), 2, 2);
    hand.addRoundedRect(QRectF(1, 10, 4, 8), 2, 2);   // the thumb
    hand.addRoundedRect(QRectF(4, 12, 17, 10), 3, 3); // the palm
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    p.end();
    return Encode(image, 6, 0);
}

struct ProgramCursors {
    std::vector<std::vector<BYTE>> blobs;
    std::vector<RESOURCE_ENTRY> entries;
    ProgramCursors()
    {
        const std::pair<WORD, std::vector<BYTE>> made[] = {
            { 106, HandCursor() },           { 136, ArrowCursor(Mark::Box) },   { 137, ArrowCursor(Mark::Refused) },
            { 144, ArrowCursor(Mark::Box) }, { 145, PointCursor() },           { 146, ArrowCursor(Mark::Plus) },
            { 147, ArrowCursor(Mark::Minus) },
        };
        blobs.reserve(std::size(made));
        for (const auto& [id, bytes] : made) {
            blobs.push_back(bytes);
            entries.push_back({ RESOURCE_ID(RT_GROUP_CURSOR), id, blobs.back().data(), DWORD(blobs.back().size()) });
        }
    }
};

} // namespace

const RESOURCE_ENTRY* ProgramCursorResources(int* count)
{
    static const ProgramCursors cursors;
    *count = int(cursors.entries.size());
    return cursors.entries.data();
}

HCURSOR FindResourceCursor(HINSTANCE hInstance, WORD id)
{
    // Loaded cursors live for the run; map nodes keep their addresses.
    static std::map<std::pair<HINSTANCE, WORD>, CursorData> loaded;
    auto it = loaded.find({ hInstance, id });
    if (it != loaded.end())
        return it->second.handle();
    HRSRC r = FindResource(hInstance, MAKEINTRESOURCE(id), RT_GROUP_CURSOR);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, r)));
    const DWORD size = SizeofResource(hInstance, r);
    if (!bytes || size <= 4)
        return nullptr;
    const QImage image = QImage::fromData(bytes + 4, int(size - 4));
    if (image.isNull())
        return nullptr;
    const QCursor cursor(QPixmap::fromImage(image), bytes[0] | (bytes[1] << 8), bytes[2] | (bytes[3] << 8));
    return loaded.emplace(std::make_pair(hInstance, id), CursorData{ cursor }).first->second.handle();
}
