// COptionTreeFontSelFontCombo: the font dialog's list of faces, drawn by
// itself. Each entry's text is a face name and its item data a face record
// the list owns (freed when the entry goes); TrueType faces show the
// TrueType mark (bitmap 32384) before the name, drawn through a mask of its
// top-left pixel's colour.
#pragma once

#include "Platform/ComboBox.h"
#include "Platform/Gdi.h"

#define IDB_OT_TRUETYPE 32384

// What the enumeration said of a face.
struct OptionTreeFaceRecord {
    DWORD dwFontType;
    LOGFONT lf;
};

class COptionTreeFontSelFontCombo : public CComboBox {
public:
    COptionTreeFontSelFontCombo();

    // Adds the face unless an entry of that name exists; FALSE when it
    // cannot be added.
    BOOL AddFace(const LOGFONT& lf, DWORD dwFontType);
    // Null for no such entry.
    const OptionTreeFaceRecord* GetFace(int nIndex) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;

private:
    void DrawGlyph(CDC* pDC, int x, int y);

    CBitmap m_bmpGlyph;  // transparent pixels black, for SRCPAINT
    CBitmap m_bmpMask;   // white where transparent
    CSize m_szGlyph{ 0, 0 };
};
