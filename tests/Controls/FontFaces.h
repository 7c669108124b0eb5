// A fixed set of font faces standing in for the font database while it
// lives, so the font dialog's lists follow from the test's own faces.
#pragma once

#include "Platform/FontEnum.h"

#include <cstring>
#include <vector>

struct FaceStyle {
    LONG weight;
    bool italic;
    LONG cellHeight = 16;
    LONG internalLeading = 3;
};

struct Face {
    const char* name;
    DWORD type;  // TRUETYPE_FONTTYPE or RASTER_FONTTYPE
    std::vector<FaceStyle> styles;
};

class FontFaces {
public:
    explicit FontFaces(std::vector<Face> faces) : m_faces(std::move(faces))
    {
        m_old = AfxSetFontEnumHook([this](const LOGFONT* font, FONTENUMPROC proc, LPARAM data) {
            int result = 1;
            for (const Face& face : m_faces) {
                if (!font->lfFaceName[0]) {
                    if ((result = Report(face, face.styles.front(), proc, data)) == 0)
                        return 0;
                    continue;
                }
                if (std::strcmp(font->lfFaceName, face.name) != 0)
                    continue;
                for (const FaceStyle& style : face.styles)
                    if ((result = Report(face, style, proc, data)) == 0)
                        return 0;
            }
            return result;
        });
    }
    ~FontFaces() { AfxSetFontEnumHook(m_old); }

    // The faces of every kind the dialog tells apart: a TrueType face of
    // four styles and one whose name begins with it, a TrueType face with
    // bold styles only, and a raster face of two sizes.
    static std::vector<Face> Mixed()
    {
        return {
            { "Liberation Sans Narrow", TRUETYPE_FONTTYPE, { { 400, false } } },
            { "Liberation Sans", TRUETYPE_FONTTYPE, { { 400, false }, { 700, false }, { 400, true }, { 700, true } } },
            { "DejaVu Sans Mono", TRUETYPE_FONTTYPE, { { 700, false }, { 700, true } } },
            { "Fixed", RASTER_FONTTYPE, { { 400, false, 13, 0 }, { 400, false, 19, 3 } } },
        };
    }

private:
    static int Report(const Face& face, const FaceStyle& style, FONTENUMPROC proc, LPARAM data)
    {
        ENUMLOGFONTEX elf{};
        std::strncpy(elf.elfLogFont.lfFaceName, face.name, LF_FACESIZE - 1);
        elf.elfLogFont.lfHeight = style.cellHeight;
        elf.elfLogFont.lfWeight = style.weight;
        elf.elfLogFont.lfItalic = style.italic ? 1 : 0;
        elf.elfLogFont.lfCharSet = ANSI_CHARSET;
        NEWTEXTMETRICEX ntm{};
        ntm.ntmTm.tmHeight = style.cellHeight;
        ntm.ntmTm.tmInternalLeading = style.internalLeading;
        ntm.ntmTm.tmAscent = style.cellHeight * 4 / 5;
        ntm.ntmTm.tmDescent = style.cellHeight - ntm.ntmTm.tmAscent;
        ntm.ntmTm.tmWeight = style.weight;
        ntm.ntmTm.tmItalic = style.italic ? 1 : 0;
        ntm.ntmTm.ntmFlags = (style.italic ? NTM_ITALIC : 0) | (style.weight >= FW_BOLD ? NTM_BOLD : 0);
        if (!ntm.ntmTm.ntmFlags)
            ntm.ntmTm.ntmFlags = NTM_REGULAR;
        return proc(&elf.elfLogFont, &ntm.ntmTm, face.type, data);
    }

    std::vector<Face> m_faces;
    FontEnumHook m_old;
};
