// COptionTreeFontSelSizeCombo: the font dialog's list of sizes. Each
// entry's text is the size in points and its item data a font height:
// negative (character height) for sizes computed from points, positive
// (cell height less internal leading) for sizes a raster face lists.
// Entries stay in ascending order of size.
#pragma once

#include "Platform/ComboBox.h"

class COptionTreeFontSelSizeCombo : public CComboBox {
public:
    // A height of 0 is computed from the points at the screen's vertical
    // resolution. A height already listed is not added again. Returns the
    // entry's index, or CB_ERR.
    int AddSize(int nPoints, long lHeight);
    // The chosen height: the selected entry's; else the entry whose text is
    // the field's text (whole sizes only, so 7 never reads as 72); else the
    // text as a number of points, halves rounded up. A number outside 1 to
    // 1638 points, or no number, gives the first entry's height (0 when the
    // list is empty).
    long GetHeight() const;
};
