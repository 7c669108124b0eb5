#include "Controls/OptionTreeFontSelFontCombo.h"

#include "Platform/CString.h"
#include "Platform/Dc.h"
#include "Platform/Dialog.h"
#include "Platform/FontEnum.h"
#include "Platform/SysColors.h"

COptionTreeFontSelFontCombo::COptionTreeFontSelFontCombo()
{
    CBitmap source;
    if (!source.LoadBitmap(IDB_OT_TRUETYPE))
        return;
    BITMAP info{};
    source.GetBitmap(&info);
    m_szGlyph = CSize(info.bmWidth, info.bmHeight);
    CDC from, glyph, mask;
    from.CreateCompatibleDC(nullptr);
    glyph.CreateCompatibleDC(nullptr);
    mask.CreateCompatibleDC(nullptr);
    CBitmap* oldFrom = from.SelectObject(&source);
    m_bmpGlyph.CreateCompatibleBitmap(&from, m_szGlyph.cx, m_szGlyph.cy);
    m_bmpMask.CreateBitmap(m_szGlyph.cx, m_szGlyph.cy, 1, 1, nullptr);
    CBitmap* oldGlyph = glyph.SelectObject(&m_bmpGlyph);
    CBitmap* oldMask = mask.SelectObject(&m_bmpMask);
    const COLORREF clear = from.GetPixel(0, 0);
    for (int y = 0; y < m_szGlyph.cy; ++y)
        for (int x = 0; x < m_szGlyph.cx; ++x) {
            const COLORREF c = from.GetPixel(x, y);
            glyph.SetPixel(x, y, c == clear ? RGB(0, 0, 0) : c);
            mask.SetPixel(x, y, c == clear ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
    mask.SelectObject(oldMask);
    glyph.SelectObject(oldGlyph);
    from.SelectObject(oldFrom);
}

BOOL COptionTreeFontSelFontCombo::AddFace(const LOGFONT& lf, DWORD dwFontType)
{
    if (!GetSafeHwnd() || FindStringExact(-1, lf.lfFaceName) != CB_ERR)
        return FALSE;
    auto* record = new OptionTreeFaceRecord{ dwFontType, lf };
    const int index = AddString(lf.lfFaceName);
    if (index < 0) {
        delete record;
        return FALSE;
    }
    SetItemData(index, reinterpret_cast<DWORD_PTR>(record));
    return TRUE;
}

const OptionTreeFaceRecord* COptionTreeFontSelFontCombo::GetFace(int nIndex) const
{
    if (!GetSafeHwnd() || nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return reinterpret_cast<const OptionTreeFaceRecord*>(GetItemData(nIndex));
}

void COptionTreeFontSelFontCombo::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    delete reinterpret_cast<OptionTreeFaceRecord*>(lpDeleteItemStruct->itemData);
}

void COptionTreeFontSelFontCombo::DrawGlyph(CDC* pDC, int x, int y)
{
    if (!m_bmpGlyph.GetSafeHandle())
        return;
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    CBitmap* old = memory.SelectObject(&m_bmpMask);
    pDC->BitBlt(x, y, m_szGlyph.cx, m_szGlyph.cy, &memory, 0, 0, SRCAND);
    memory.SelectObject(&m_bmpGlyph);
    pDC->BitBlt(x, y, m_szGlyph.cx, m_szGlyph.cy, &memory, 0, 0, SRCPAINT);
    memory.SelectObject(old);
}

void COptionTreeFontSelFontCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int index = int(lpDrawItemStruct->itemID);
    CString text;
    if (index >= 0)
        GetLBText(index, text);
    if (text.IsEmpty())
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect item = lpDrawItemStruct->rcItem;
    const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF oldBack = pDC->SetBkColor(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF oldText = pDC->SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    // One horizontal dialog unit of the dialog the list sits in.
    CRect unit(0, 0, 4, 0);
    if (auto* dialog = dynamic_cast<CDialog*>(GetParent()))
        dialog->MapDialogRect(&unit);
    const int u = unit.Width() / 4;
    const CSize extent = pDC->GetTextExtent(text);
    pDC->ExtTextOut(item.left + 2 * u + 20, item.top + (item.Height() - extent.cy) / 2, ETO_OPAQUE | ETO_CLIPPED,
                    &item, text, UINT(text.GetLength()), nullptr);
    const OptionTreeFaceRecord* face = reinterpret_cast<const OptionTreeFaceRecord*>(lpDrawItemStruct->itemData);
    if (face && (face->dwFontType & TRUETYPE_FONTTYPE))
        DrawGlyph(pDC, item.left + u, item.top + (item.Height() - m_szGlyph.cy) / 2);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&item);
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBack);
}
