// Font families and styles from the font database.
#include "Platform/FontEnum.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QList>
#include <QStringList>

#include <cstring>

namespace {

// One enumeration entry for a family in a style at a pixel height.
int Report(const QString& family, const QString& style, int pixelHeight, FONTENUMPROC proc, LPARAM data)
{
    const QFont font = QFontDatabase::font(family, style, 12);
    const bool italic = QFontDatabase::italic(family, style);
    const int weight = QFontDatabase::weight(family, style);
    const bool scalable = QFontDatabase::isSmoothlyScalable(family, style);

    ENUMLOGFONTEX elf{};
    const QByteArray name = family.toUtf8();
    std::strncpy(elf.elfLogFont.lfFaceName, name.constData(), LF_FACESIZE - 1);
    std::strncpy(elf.elfFullName, (family + ' ' + style).toUtf8().constData(), LF_FULLFACESIZE - 1);
    std::strncpy(elf.elfStyle, style.toUtf8().constData(), LF_FACESIZE - 1);
    std::strncpy(elf.elfScript, "Western", LF_FACESIZE - 1);
    elf.elfLogFont.lfWeight = weight;
    elf.elfLogFont.lfItalic = italic ? 1 : 0;
    elf.elfLogFont.lfCharSet = ANSI_CHARSET;
    elf.elfLogFont.lfPitchAndFamily =
        QFontDatabase::isFixedPitch(family, style) ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);

    QFont sized(font);
    sized.setPixelSize(pixelHeight);
    const QFontMetrics fm(sized);
    NEWTEXTMETRICEX ntm{};
    TEXTMETRIC& tm = ntm.ntmTm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, int(tm.tmHeight) - pixelHeight);
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = weight;
    tm.tmItalic = italic ? 1 : 0;
    tm.tmCharSet = ANSI_CHARSET;
    elf.elfLogFont.lfHeight = tm.tmHeight;
    elf.elfLogFont.lfWidth = tm.tmAveCharWidth;
    ntm.ntmTm.ntmFlags = (italic ? NTM_ITALIC : 0) | (weight >= FW_BOLD ? NTM_BOLD : 0);
    if (!ntm.ntmTm.ntmFlags)
        ntm.ntmTm.ntmFlags = NTM_REGULAR;
    ntm.ntmTm.ntmSizeEM = UINT(pixelHeight);
    ntm.ntmTm.ntmCellHeight = UINT(tm.tmHeight);
    ntm.ntmTm.ntmAvgWidth = UINT(tm.tmAveCharWidth);
    return proc(&elf.elfLogFont, &ntm.ntmTm, scalable ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE, data);
}

FontEnumHook& Hook()
{
    static FontEnumHook hook;
    return hook;
}

} // namespace

FontEnumHook AfxSetFontEnumHook(FontEnumHook hook)
{
    FontEnumHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

int EnumFontFamiliesEx(HDC, const LOGFONT* font, FONTENUMPROC proc, LPARAM data, DWORD)
{
    if (!font || !proc)
        return 0;
    if (Hook())
        return Hook()(font, proc, data);
    int result = 1;
    if (!font->lfFaceName[0]) {
        for (const QString& family : QFontDatabase::families()) {
            const QStringList styles = QFontDatabase::styles(family);
            if (!styles.isEmpty() && (result = Report(family, styles.front(), 16, proc, data)) == 0)
                break;
        }
        return result;
    }
    const QString family = QString::fromUtf8(font->lfFaceName);
    if (!QFontDatabase::hasFamily(family))
        return result;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::isSmoothlyScalable(family, style)) {
            if ((result = Report(family, style, 16, proc, data)) == 0)
                return result;
            continue;
        }
        for (int size : QFontDatabase::smoothSizes(family, style))
            if ((result = Report(family, style, size, proc, data)) == 0)
                return result;
    }
    return result;
}
