#include "Controls/OptionTreeFontSelSizeCombo.h"

#include "Controls/OptionTreeFontConvert.h"
#include "Platform/CString.h"

#include <cmath>
#include <cstdlib>

namespace {

const int kMinPoints = 1;
const int kMaxPoints = 1638;

long HeightOf(const CComboBox& combo, int index) { return long(LONG_PTR(combo.GetItemData(index))); }

} // namespace

int COptionTreeFontSelSizeCombo::AddSize(int nPoints, long lHeight)
{
    if (!GetSafeHwnd())
        return CB_ERR;
    if (lHeight == 0)
        lHeight = -MulDiv(nPoints, ScreenResolution(), 72);
    const int count = GetCount();
    int at = count;
    for (int i = 0; i < count; ++i) {
        const long height = HeightOf(*this, i);
        if (height == lHeight)
            return i;
        // A character height grows more negative with the size, a cell height more positive.
        if (at == count && (lHeight < 0 ? height < lHeight : height > lHeight))
            at = i;
    }
    CString text;
    text.Format("%d", nPoints);
    const int index = InsertString(at, text);
    if (index >= 0)
        SetItemData(index, DWORD_PTR(LONG_PTR(lHeight)));
    return index;
}

long COptionTreeFontSelSizeCombo::GetHeight() const
{
    if (!GetSafeHwnd())
        return 0;
    const int selected = GetCurSel();
    if (selected >= 0)
        return HeightOf(*this, selected);
    char text[20] = {};
    GetWindowText(text, sizeof text);
    const int listed = FindStringExact(-1, text);
    if (listed != CB_ERR)
        return HeightOf(*this, listed);
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    const double points = end != text && std::isfinite(value) ? std::floor(value + 0.5) : 0;
    if (points < kMinPoints || points > kMaxPoints)
        return GetCount() > 0 ? HeightOf(*this, 0) : 0;
    return -MulDiv(int(points), ScreenResolution(), 72);
}
