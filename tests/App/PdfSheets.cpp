#include "PdfSheets.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <sstream>

namespace {

// The object's stream, inflated when it is compressed.
QByteArray StreamOf(const QByteArray& pdf, int object)
{
    const int at = pdf.indexOf(QByteArray("\n") + QByteArray::number(object) + " 0 obj");
    if (at < 0)
        return {};
    const int start = pdf.indexOf("stream", at);
    const int end = pdf.indexOf("endstream", start);
    if (start < 0 || end < 0)
        return {};
    int data = start + 6;
    if (pdf[data] == '\r')
        ++data;
    if (pdf[data] == '\n')
        ++data;
    const QByteArray raw = pdf.mid(data, end - data);
    if (!pdf.mid(at, start - at).contains("FlateDecode"))
        return raw;
    // qUncompress wants the inflated size first; a generous guess will do.
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(raw.size()) * 64 + 4096, sized.data());
    return qUncompress(sized + raw);
}

// The extent of the path points of a content stream, through the first
// matrix it sets (the page's), in PDF points with y upwards.
void Extent(const QByteArray& content, PdfSheet& sheet)
{
    std::istringstream in(content.toStdString());
    std::vector<double> operands;
    double m[6] = {1, 0, 0, 1, 0, 0};
    bool haveMatrix = false, drawn = false;
    double left = 0, right = 0, low = 0, high = 0;
    auto take = [&](double x, double y) {
        const double px = m[0] * x + m[2] * y + m[4], py = m[1] * x + m[3] * y + m[5];
        if (!drawn) {
            left = right = px;
            low = high = py;
            drawn = true;
        }
        left = std::min(left, px);
        right = std::max(right, px);
        low = std::min(low, py);
        high = std::max(high, py);
    };
    std::string token;
    while (in >> token) {
        char* end = nullptr;
        const double value = std::strtod(token.c_str(), &end);
        if (end && *end == '\0' && !token.empty()) {
            operands.push_back(value);
            continue;
        }
        const size_t n = operands.size();
        if (token == "cm" && n >= 6 && !haveMatrix) {
            std::copy(operands.end() - 6, operands.end(), m);
            haveMatrix = true;
        } else if ((token == "m" || token == "l") && n >= 2) {
            take(operands[n - 2], operands[n - 1]);
        } else if (token == "c" && n >= 6) {
            take(operands[n - 2], operands[n - 1]);
        } else if (token == "re" && n >= 4) {
            take(operands[n - 4], operands[n - 3]);
            take(operands[n - 4] + operands[n - 2], operands[n - 3] + operands[n - 1]);
        }
        operands.clear();
    }
    if (drawn) {
        sheet.left = left;
        sheet.right = right;
        sheet.top = sheet.height - high;
        sheet.bottom = sheet.height - low;
    }
}

} // namespace

std::vector<PdfSheet> ReadPdfSheets(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    std::vector<PdfSheet> sheets;
    if (!file.open(QIODevice::ReadOnly))
        return sheets;
    const QByteArray pdf = file.readAll();
    const QRegularExpression pageType(R"(/Type\s*/Page\b)");
    const QRegularExpression mediaBox(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
    const QRegularExpression contents(R"(/Contents\s+(\d+)\s+0\s+R)");
    const QString text = QString::fromLatin1(pdf);
    for (auto match = pageType.globalMatch(text); match.hasNext();) {
        const qsizetype at = match.next().capturedStart();
        const QString object = text.mid(at, text.indexOf("endobj", at) - at);
        const QRegularExpressionMatch box = mediaBox.match(object);
        const QRegularExpressionMatch content = contents.match(object);
        if (!box.hasMatch() || !content.hasMatch())
            continue;
        PdfSheet sheet;
        sheet.width = box.captured(1).toDouble();
        sheet.height = box.captured(2).toDouble();
        Extent(StreamOf(pdf, content.captured(1).toInt()), sheet);
        sheets.push_back(sheet);
    }
    return sheets;
}
