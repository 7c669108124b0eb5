// Text output, layout and measurement of CDC. Texts are UTF-8; fonts come
// from the selected LOGFONT scaled to device pixels.
#include "Platform/GdiData.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

QString Utf8(LPCTSTR text, int count)
{
    if (!text)
        return QString();
    return QString::fromUtf8(text, count < 0 ? int(std::strlen(text)) : count);
}

// The window-glyph font draws pictures for letters; it is not installed
// here, so its face resolves to a font with the same pictures as Unicode
// symbols and the letters the program uses are mapped to them.
const char kSymbolFace[] = "Marlett";
const char kSymbolStandIn[] = "DejaVu Sans";

bool IsSymbolFont(const LOGFONT& lf) { return strncasecmp(lf.lfFaceName, kSymbolFace, sizeof kSymbolFace) == 0; }

// A text as the context's font shows it.
QString DcString(const DcRecord& dc, LPCTSTR text, int count)
{
    QString s = Utf8(text, count);
    if (dc.state.font && IsSymbolFont(dc.state.font->lf))
        s.replace(QChar('r'), QChar(0x2715)); // the close cross
    return s;
}

// The font's size in device pixels for a LOGFONT height already scaled to
// the device: a negative height is the em size, a positive one the cell.
int PixelSize(const QFont& base, double height)
{
    if (height < 0)
        return std::max(1, int(std::lround(-height)));
    QFont probe(base);
    probe.setPixelSize(1000);
    const QFontMetricsF fm(probe);
    const double cell = fm.ascent() + fm.descent();
    return std::max(1, int(std::lround(height * 1000.0 / (cell > 0 ? cell : 1000.0))));
}

struct Metrics {
    int ascent;
    int descent;
    int height;
    int internalLeading;
    int externalLeading;
    int averageWidth;
    int maxWidth;
};

Metrics MetricsOf(const QFont& font)
{
    const QFontMetrics fm(font);
    Metrics m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - font.pixelSize());
    m.externalLeading = std::max(0, fm.leading());
    m.averageWidth = fm.averageCharWidth();
    m.maxWidth = fm.maxWidth();
    return m;
}

// The metrics of the context's font, from the font record's cache.
Metrics MetricsOf(const DcRecord& dc, const QFont& font)
{
    const FontRecord* record = dc.state.font;
    if (!record || record->cachedScale != std::fabs(DcScaleY(dc)))
        return MetricsOf(font);
    return Metrics{record->ascent, record->descent, record->ascent + record->descent, record->internalLeading,
                   record->externalLeading, record->averageWidth, record->maxWidth};
}

int Advance(const QFont& font, const QString& text)
{
    return int(std::lround(QFontMetricsF(font).horizontalAdvance(text)));
}

int ToLogicalX(const DcRecord& dc, int device) { return int(std::lround(device / std::fabs(DcScaleX(dc)))); }
int ToLogicalY(const DcRecord& dc, int device) { return int(std::lround(device / std::fabs(DcScaleY(dc)))); }

// Draws one run of text with its top-left corner at a device point.
// A width below 0 is measured here when the background needs it.
void DrawRun(DcRecord& dc, QPainter* painter, const QFont& font, const Metrics& m, QPointF topLeft,
             const QString& text, int underlineAt, int width)
{
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (dc.state.bkMode == OPAQUE)
        painter->fillRect(QRectF(topLeft, QSizeF(width < 0 ? Advance(font, text) : width, m.height)),
                          QColor(RgbFromColorRef(dc.state.bkColor)));
    painter->setFont(font);
    painter->setPen(QColor(RgbFromColorRef(dc.state.textColor)));
    painter->drawText(QPointF(topLeft.x(), topLeft.y() + m.ascent), text);
    if (underlineAt >= 0 && underlineAt < text.size()) {
        const QFontMetricsF fm(font);
        const double x0 = topLeft.x() + fm.horizontalAdvance(text.left(underlineAt));
        const double w = fm.horizontalAdvance(text.mid(underlineAt, 1));
        painter->fillRect(QRectF(x0, topLeft.y() + m.ascent + 1, w, 1), QColor(RgbFromColorRef(dc.state.textColor)));
    }
}

struct Line {
    QString text;
    int underlineAt = -1;
};

// Removes the "&" prefixes; "&&" stands for one "&". Returns the position of
// the character to underline, or -1.
int StripPrefixes(QString& text)
{
    QString out;
    int underline = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&')
                underline = out.size();
        }
        out += text[i];
    }
    text = out;
    return underline;
}

QString ExpandTabs(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c == '\t') {
            do
                out += ' ';
            while (out.size() % 8);
        } else {
            out += c;
        }
    }
    return out;
}

// Breaks a paragraph into lines no wider than the width, between words; a
// word wider than the width stands alone on its line.
void WrapParagraph(const QString& paragraph, const QFont& font, int width, std::vector<QString>& lines)
{
    const QFontMetricsF fm(font);
    QString line;
    int i = 0;
    const int n = paragraph.size();
    if (n == 0) {
        lines.push_back(QString());
        return;
    }
    while (i < n) {
        int j = i;
        while (j < n && paragraph[j] == ' ')
            ++j;
        while (j < n && paragraph[j] != ' ')
            ++j;
        const QString word = paragraph.mid(i, j - i);
        const QString candidate = line + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate.trimmed()) > width) {
            lines.push_back(line);
            line = word.trimmed();
        } else {
            line = candidate;
        }
        i = j;
    }
    lines.push_back(line);
    for (QString& l : lines) {
        while (l.endsWith(' '))
            l.chop(1);
    }
}

// Cuts the line so that it and "..." fit the width.
QString Ellipsis(const QString& text, const QFont& font, int width)
{
    const QFontMetricsF fm(font);
    if (fm.horizontalAdvance(text) <= width)
        return text;
    const QString dots = "...";
    int keep = text.size();
    while (keep > 0 && fm.horizontalAdvance(text.left(keep) + dots) > width)
        --keep;
    return text.left(keep) + dots;
}

} // namespace

QFont DcFont(const DcRecord& dc)
{
    FontRecord* record = dc.state.font;
    const double scale = std::fabs(DcScaleY(dc));
    if (record && record->cachedScale == scale)
        return record->cached;
    LOGFONT lf{};
    if (record)
        lf = record->lf;
    QString face = QStringLiteral("Liberation Sans");
    if (IsSymbolFont(lf))
        face = kSymbolStandIn;
    else if (lf.lfFaceName[0])
        face = QString::fromUtf8(lf.lfFaceName);
    QFont font(face);
    font.setKerning(false);
    const double height = lf.lfHeight == 0 ? 16.0 : lf.lfHeight * scale;
    font.setPixelSize(PixelSize(font, height));
    const int weight = lf.lfWeight == 0 ? FW_NORMAL : std::min(900, std::max(100, int(lf.lfWeight)));
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    if (record) {
        const Metrics m = MetricsOf(font);
        record->cached = font;
        record->cachedScale = scale;
        record->ascent = m.ascent;
        record->descent = m.descent;
        record->internalLeading = m.internalLeading;
        record->externalLeading = m.externalLeading;
        record->averageWidth = m.averageWidth;
        record->maxWidth = m.maxWidth;
    }
    return font;
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text) { return TextOut(x, y, text, -1); }

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !text)
        return FALSE;
    const QString s = DcString(*dc, text, count);
    const UINT align = dc->state.textAlign;
    const QPoint anchor = (align & TA_UPDATECP) ? dc->state.current : QPoint(x, y);
    const QFont font = DcFont(*dc);
    const Metrics m = MetricsOf(*dc, font);
    // Measuring shapes the text: only when the placement needs the width.
    const bool needWidth = (align & (TA_UPDATECP | TA_RIGHT | TA_CENTER)) || dc->state.bkMode == OPAQUE;
    const int width = needWidth ? Advance(font, s) : 0;
    if (align & TA_UPDATECP)
        dc->state.current.rx() += ToLogicalX(*dc, width) * (DcScaleX(*dc) < 0 ? -1 : 1);
    QPainter* painter = DcPainter(*dc);
    if (!painter || s.isEmpty())
        return TRUE;
    const QPoint p = DcToDevice(*dc, anchor.x(), anchor.y());
    double left = p.x(), top = p.y();
    if ((align & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if (align & TA_RIGHT)
        left -= width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top -= m.ascent;
    else if (align & TA_BOTTOM)
        top -= m.height;
    const LONG escapement = dc->state.font ? dc->state.font->lf.lfEscapement : 0;
    if (escapement) {
        painter->save();
        painter->translate(p);
        painter->rotate(-escapement / 10.0);
        painter->translate(-p);
    }
    DrawRun(*dc, painter, font, m, QPointF(left, top), s, -1, width);
    if (escapement)
        painter->restore();
    return TRUE;
}

namespace {

// Characters at the given logical advances as one glyph run: the glyphs land
// where one TextOut per character would put them, without shaping each one.
// False, with nothing drawn, where the per-character path is needed: another
// alignment, an opaque background, lines or a rotation of the font, a
// character outside the basic plane or one the font has no glyph for.
bool DrawPlacedGlyphs(DcRecord& dc, QPainter* painter, int x, int y, const QString& s, const int* dx)
{
    const FontRecord* record = dc.state.font;
    if (dc.state.textAlign != 0 || dc.state.bkMode == OPAQUE ||
        (record && (record->lf.lfUnderline || record->lf.lfStrikeOut || record->lf.lfEscapement)))
        return false;
    const QFont font = DcFont(dc);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return false;
    for (QChar c : s) {
        if (c.isSurrogate())
            return false;
    }
    QList<quint32> glyphs(s.size());
    int count = int(s.size());
    if (!raw.glyphIndexesForChars(s.constData(), int(s.size()), glyphs.data(), &count) || count != s.size())
        return false;
    for (quint32 glyph : glyphs) {
        if (glyph == 0)
            return false;
    }
    const Metrics m = MetricsOf(dc, font);
    QList<QPointF> positions(count);
    for (int i = 0, pos = x; i < count; pos += dx[i++]) {
        const QPoint p = DcToDevice(dc, pos, y);
        positions[i] = QPointF(p.x(), p.y() + m.ascent);
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->setPen(QColor(RgbFromColorRef(dc.state.textColor)));
    painter->drawGlyphRun(QPointF(0, 0), run);
    return true;
}

} // namespace

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx)
{
    DcRecord* dc = DcOf(this);
    if (!dc)
        return FALSE;
    QPainter* painter = DcPainter(*dc);
    if (!painter)
        return TRUE;
    QRect clip;
    if (rect) {
        clip = DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
        if (options & ETO_OPAQUE) {
            painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter->fillRect(clip, QColor(RgbFromColorRef(dc->state.bkColor)));
        }
    }
    if (!text || count == 0)
        return TRUE;
    painter->save();
    if (rect && (options & ETO_CLIPPED))
        painter->setClipRect(clip, Qt::IntersectClip);
    const int mode = dc->state.bkMode;
    if (rect && (options & ETO_OPAQUE))
        dc->state.bkMode = TRANSPARENT;
    if (!dx) {
        TextOut(x, y, text, int(count));
    } else if (!DrawPlacedGlyphs(*dc, painter, x, y, DcString(*dc, text, int(count)), dx)) {
        // Characters placed one by one at the given logical advances.
        const QString s = Utf8(text, int(count));
        int pos = x;
        for (int i = 0; i < s.size(); ++i) {
            const QByteArray one = s.mid(i, 1).toUtf8();
            TextOut(pos, y, one.constData(), one.size());
            pos += i < int(count) ? dx[i] : 0;
        }
    }
    dc->state.bkMode = mode;
    painter->restore();
    return TRUE;
}

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format)
{
    DcRecord* dc = DcOf(this);
    if (!dc || !text || !rect)
        return 0;
    QString s = DcString(*dc, text, count);
    if (format & DT_EXPANDTABS)
        s = ExpandTabs(s);
    const QFont font = DcFont(*dc);
    const Metrics m = MetricsOf(*dc, font);
    const QRect box = DcToDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);

    std::vector<QString> paragraphs;
    if (format & DT_SINGLELINE) {
        s.replace("\r\n", " ");
        s.replace('\r', ' ');
        s.replace('\n', ' ');
        paragraphs.push_back(s);
    } else {
        s.replace("\r\n", "\n");
        s.replace('\r', '\n');
        for (const QString& p : s.split('\n'))
            paragraphs.push_back(p);
    }
    std::vector<Line> lines;
    for (QString& paragraph : paragraphs) {
        int underline = -1;
        if (!(format & DT_NOPREFIX))
            underline = StripPrefixes(paragraph);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
            std::vector<QString> wrapped;
            WrapParagraph(paragraph, font, box.width(), wrapped);
            for (QString& w : wrapped)
                lines.push_back(Line{w, -1});
        } else {
            lines.push_back(Line{paragraph, underline});
        }
    }
    if (format & DT_END_ELLIPSIS) {
        for (Line& line : lines) {
            const QString cut = Ellipsis(line.text, font, box.width());
            if (cut != line.text)
                line.underlineAt = -1;
            line.text = cut;
        }
    }
    int widest = 0;
    for (const Line& line : lines)
        widest = std::max(widest, Advance(font, line.text));
    const int total = m.height * int(lines.size());

    if (format & DT_CALCRECT) {
        QPoint corner = DcToLogical(*dc, box.left() + widest, box.top() + total);
        const QPoint origin = DcToLogical(*dc, box.left(), box.top());
        rect->right = rect->left + (corner.x() - origin.x());
        rect->bottom = rect->top + (corner.y() - origin.y());
        return ToLogicalY(*dc, total);
    }
    QPainter* painter = DcPainter(*dc);
    if (!painter)
        return ToLogicalY(*dc, total);
    int top = box.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            top = box.top() + (box.height() - m.height) / 2;
        else if (format & DT_BOTTOM)
            top = box.top() + box.height() - m.height;
    }
    painter->save();
    if (!(format & DT_NOCLIP))
        painter->setClipRect(box, Qt::IntersectClip);
    for (const Line& line : lines) {
        const int width = Advance(font, line.text);
        int left = box.left();
        if (format & DT_CENTER)
            left = box.left() + (box.width() - width) / 2;
        else if (format & DT_RIGHT)
            left = box.left() + box.width() - width;
        if (!line.text.isEmpty())
            DrawRun(*dc, painter, font, m, QPointF(left, top), line.text, line.underlineAt, width);
        top += m.height;
    }
    painter->restore();
    return ToLogicalY(*dc, total);
}

CSize CDC::GetTextExtent(LPCTSTR text) const { return GetTextExtent(text, -1); }

CSize CDC::GetTextExtent(LPCTSTR text, int count) const
{
    DcRecord* dc = DcFromHandle(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc)
        return CSize();
    const QFont font = DcFont(*dc);
    const Metrics m = MetricsOf(*dc, font);
    return CSize(ToLogicalX(*dc, Advance(font, DcString(*dc, text, count))), ToLogicalY(*dc, m.height));
}

BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int count, SIZE* size)
{
    CDC* wrapper = CDC::FromHandle(dc);
    if (!wrapper || !text || !size || count < 0)
        return FALSE;
    *size = wrapper->GetTextExtent(text, count);
    return TRUE;
}

CSize CDC::GetTabbedTextExtent(LPCTSTR text, int count, int tabPositions, const int* tabStops) const
{
    DcRecord* dc = DcFromHandle(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc)
        return CSize();
    const QFont font = DcFont(*dc);
    const Metrics m = MetricsOf(*dc, font);
    const int step = tabPositions == 1 && tabStops ? tabStops[0] : 8 * m.averageWidth;
    int x = 0;
    for (const QString& part : DcString(*dc, text, count).split('\t')) {
        if (x > 0 && step > 0)
            x = (x / step + 1) * step;
        x += Advance(font, part);
    }
    return CSize(ToLogicalX(*dc, x), ToLogicalY(*dc, m.height));
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC tm) const
{
    DcRecord* dc = DcFromHandle(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc || !tm)
        return FALSE;
    const QFont font = DcFont(*dc);
    const Metrics m = MetricsOf(*dc, font);
    std::memset(tm, 0, sizeof *tm);
    tm->tmAscent = ToLogicalY(*dc, m.ascent);
    tm->tmDescent = ToLogicalY(*dc, m.descent);
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmInternalLeading = ToLogicalY(*dc, m.internalLeading);
    tm->tmExternalLeading = ToLogicalY(*dc, m.externalLeading);
    tm->tmAveCharWidth = ToLogicalX(*dc, m.averageWidth);
    tm->tmMaxCharWidth = ToLogicalX(*dc, m.maxWidth);
    tm->tmWeight = font.weight();
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = dc->dpiX;
    tm->tmFirstChar = ' ';
    tm->tmLastChar = '~';
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = font.italic();
    tm->tmUnderlined = font.underline();
    tm->tmStruckOut = font.strikeOut();
    tm->tmPitchAndFamily = dc->state.font ? dc->state.font->lf.lfPitchAndFamily : 0;
    tm->tmCharSet = dc->state.font ? dc->state.font->lf.lfCharSet : 0;
    return TRUE;
}

int CDC::GetTextFace(int count, LPTSTR face) const
{
    DcRecord* dc = DcOf(this);
    if (!dc || !dc->state.font)
        return 0;
    const char* name = dc->state.font->lf.lfFaceName;
    const int length = int(std::strlen(name));
    if (face && count > 0) {
        std::strncpy(face, name, size_t(count - 1));
        face[std::min(length, count - 1)] = 0;
    }
    return length;
}
