// Pictures recorded as SVG.
#include "Platform/MetaFileDc.h"
#include "Platform/GdiData.h"

#include <QBuffer>
#include <QFile>
#include <QSvgGenerator>

#include <cstring>
#include <unordered_set>

struct MetaFileTarget {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QString fileName;
};

namespace {

struct PictureRecord {
    QByteArray svg;
};

// Never destroyed, like the GDI handle tables, so that static owners can
// still release their handles during exit.
std::unordered_set<PictureRecord*>& LivePictures()
{
    static auto& live = *new std::unordered_set<PictureRecord*>;
    return live;
}

PictureRecord* PictureFrom(HENHMETAFILE picture)
{
    auto* record = reinterpret_cast<PictureRecord*>(picture);
    return record && LivePictures().count(record) ? record : nullptr;
}

HENHMETAFILE NewPicture(const QByteArray& svg)
{
    auto* record = new PictureRecord{svg};
    LivePictures().insert(record);
    return reinterpret_cast<HENHMETAFILE>(record);
}

bool WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

CMetaFileDC::~CMetaFileDC()
{
    DeleteDC();
    delete m_target;
}

BOOL CMetaFileDC::CreateEnhanced(CDC* refDC, LPCTSTR fileName, LPCRECT bounds, LPCTSTR description)
{
    if (m_hDC)
        return FALSE;
    int width = 1, height = 1;
    if (bounds) {
        width = std::max(1, MulDiv(std::abs(int(bounds->right - bounds->left)), 96, 2540));
        height = std::max(1, MulDiv(std::abs(int(bounds->bottom - bounds->top)), 96, 2540));
    }
    delete m_target;
    m_target = new MetaFileTarget;
    m_target->fileName = fileName ? QString::fromUtf8(fileName) : QString();
    auto* generator = new QSvgGenerator;
    generator->setOutputDevice(&m_target->buffer);
    generator->setSize(QSize(width, height));
    generator->setViewBox(QRect(0, 0, width, height));
    generator->setResolution(96);
    if (description)
        generator->setTitle(QString::fromUtf8(description));
    if (!Attach(CreateDeviceDC(generator, DcKind::Svg, true)))
        return FALSE;
    if (refDC && refDC->m_hDC)
        m_hAttribDC = refDC->m_hDC;
    return TRUE;
}

HENHMETAFILE CMetaFileDC::CloseEnhanced()
{
    if (!m_hDC || !m_target)
        return nullptr;
    // A picture nobody drew on is still a valid, empty picture.
    if (DcRecord* dc = DcOf(this))
        DcPainter(*dc);
    DeleteDC();
    const QByteArray svg = m_target->bytes;
    const QString fileName = m_target->fileName;
    delete m_target;
    m_target = nullptr;
    if (!fileName.isEmpty() && !WriteFile(fileName, svg))
        return nullptr;
    return NewPicture(svg);
}

UINT GetEnhMetaFileBits(HENHMETAFILE picture, UINT size, LPBYTE buffer)
{
    PictureRecord* record = PictureFrom(picture);
    if (!record)
        return 0;
    const UINT total = UINT(record->svg.size());
    if (!buffer)
        return total;
    const UINT n = std::min(size, total);
    std::memcpy(buffer, record->svg.constData(), n);
    return n;
}

HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE picture, LPCTSTR fileName)
{
    PictureRecord* record = PictureFrom(picture);
    if (!record || (fileName && !WriteFile(QString::fromUtf8(fileName), record->svg)))
        return nullptr;
    return NewPicture(record->svg);
}

BOOL DeleteEnhMetaFile(HENHMETAFILE picture)
{
    PictureRecord* record = PictureFrom(picture);
    if (!record)
        return FALSE;
    LivePictures().erase(record);
    delete record;
    return TRUE;
}
