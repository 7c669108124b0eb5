// Measuring and painting the items of the owner-drawn menu: the choice of
// painter, the classic painter, the XP-like painter and the check marks.
#include "Controls/BufferDC.h"
#include "Controls/ExtMenu.h"
#include "Controls/ScreenContext.h"
#include "Platform/SysColors.h"
#include "Platform/TextConv.h"

#include <algorithm>
#include <memory>

namespace {

// The label (before the first tab) and the accelerator (after the last);
// hasTab tells whether there is an accelerator column.
struct ItemText {
    std::string label;
    std::string accelerator;
    bool hasTab = false;
};

ItemText SplitText(const std::u16string& text)
{
    ItemText parts;
    const size_t first = text.find(u'\t');
    if (first == std::u16string::npos) {
        parts.label = Utf16ToUtf8(text.c_str(), int(text.size()));
        return parts;
    }
    const size_t last = text.rfind(u'\t');
    parts.label = Utf16ToUtf8(text.c_str(), int(first));
    parts.accelerator = Utf16ToUtf8(text.c_str() + last + 1, int(text.size() - last - 1));
    parts.hasTab = true;
    return parts;
}

void DrawLabels(CDC* dc, const ItemText& text, CRect r)
{
    if (text.hasTab)
        r.right -= CExtMenu::ImageWidth;
    dc->DrawText(text.label.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (text.hasTab)
        dc->DrawText(text.accelerator.c_str(), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

void Outline(CDC* dc, const CRect& r, COLORREF colour) { dc->Draw3dRect(&r, colour, colour); }

// The image an item shows: its own, else the shared one, else none.
struct ImageChoice {
    int c;
    int i;
    CImageList* list;
};

} // namespace

CExtMenuItemData* CExtMenu::RecordOf(LPDRAWITEMSTRUCT lpDrawItemStruct) const
{
    return reinterpret_cast<CExtMenuItemData*>(lpDrawItemStruct->itemData);
}

void CExtMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const auto* record = reinterpret_cast<const CExtMenuItemData*>(lpMeasureItemStruct->itemData);
    const int W = ImageWidth, H = ImageHeight;
    const int gutter = IsXpLook() && DerivedImages == 1 ? 7 : 4;
    const int m = GetSystemMetrics(SM_CYMENU);
    if (record && (record->flags & MF_SEPARATOR)) {
        lpMeasureItemStruct->itemWidth = 0;
        lpMeasureItemStruct->itemHeight = UINT(IsXpLook() ? 3 : std::max((H + gutter) >> 1, m >> 1));
        return;
    }
    const std::u16string wide = record ? record->text : std::u16string();
    const std::string text = Utf16ToUtf8(wide.c_str(), int(wide.size()));
    ScreenContext screen;
    CFont font;
    if (IsWin95Class())
        screen.SelectMenuFont(&font);
    unsigned t = unsigned(screen.dc()->GetTextExtent(text.c_str()).cx);
    if (theMenuOsClass == 0) {
        CRect r;
        screen.dc()->DrawText(text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
        t = unsigned(r.Width() + 3);
        // An empty text has no characters to spread the width over.
        if (!wide.empty())
            t += 3 * (t / unsigned(wide.size()));
    }
    lpMeasureItemStruct->itemWidth = IsXpLook() ? t + unsigned(W + gutter + 8) : t + unsigned(2 * W + 1);
    lpMeasureItemStruct->itemHeight = UINT(std::max(H + gutter, m));
}

void CExtMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!dc)
        return;
    if (dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE)
        DrawItemClassic(lpDrawItemStruct);
    else if (XpLookOnXp == 1 || XpLookElsewhere == 1)
        DrawItemXp(lpDrawItemStruct);
    else
        DrawItemClassic(lpDrawItemStruct);
}

void CExtMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CExtMenuItemData* record = RecordOf(lpDrawItemStruct);
    const int W = ImageWidth, H = ImageHeight;
    const CRect item = lpDrawItemStruct->rcItem;
    UINT state = lpDrawItemStruct->itemState;
    const COLORREF bg = GetSysColor(IsXpThemed() ? COLOR_BTNFACE : COLOR_MENU);
    CBrush bgBrush(bg);
    if ((state & ODS_GRAYED) && (state & ODS_SELECTED) && SelectDisabledClassic == 0)
        state &= ~UINT(ODS_SELECTED);
    const bool selected = (state & ODS_SELECTED) != 0, grayed = (state & ODS_GRAYED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;

    if (record && (record->flags & MF_SEPARATOR)) {
        dc->FillRect(&item, &bgBrush);
        CRect line = item;
        line.top += line.Height() >> 1;
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    COLORREF textColour = GetSysColor(COLOR_MENUTEXT);
    CBrush highlight(GetSysColor(COLOR_HIGHLIGHT));
    CRect r2 = item;

    ImageChoice img{ record ? record->ownImage : -1, record ? record->ownIndex : -1,
                     record ? record->ownList.get() : nullptr };
    if (img.c < 0 && record && record->sharedIndex >= 0)
        img = { 0, record->sharedIndex, &theMenuImages };

    bool checkImage = false, hasImage = false, imgDisabled = false, imgSelected = false;
    if (checked && img.c < 0 && ((selected && m_checkSelectedId > 0) || m_checkUnselectedId > 0)) {
        checkImage = true;
    } else if (img.c != -1) {
        hasImage = true;
        imgDisabled = grayed;
        imgSelected = selected && !grayed;
    }
    const bool anyImage = checkImage || hasImage || imgSelected || imgDisabled;

    if (selected) {
        if (anyImage || checked)
            r2 = CRect(item.left + W + 5, item.top, item.right, item.bottom);
        dc->FillRect(&r2, &highlight);
        textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        dc->FillRect(&item, &bgBrush);
        Outline(dc, item, bg);
    }

    const int dy = std::max(0, (item.bottom - item.top - H - 4) / 2);
    if (anyImage) {
        CRect box(item.left + 1, item.top + dy + 1, item.left + W + 3, item.top + dy + H + 3);
        CRect big(item.left, item.top + dy, item.left + W + 4, item.top + dy + H + 4);
        const CPoint at(item.left + 2, item.top + dy + 2);
        Outline(dc, box, bg);
        if (checkImage && m_checkImages) {
            dc->FillRect(&box, &bgBrush);
            Outline(dc, big, bg);
            m_checkImages->Draw(dc, selected ? 1 : 0, at, ILD_TRANSPARENT);
        } else if (imgDisabled) {
            if (img.list) {
                CBitmap copy;
                IconToBitmap(dc, img.list, img.i, &copy);
                Outline(dc, big, bg);
                if (m_monoDisabled)
                    DrawDisabledImageMono(dc, at.x, at.y, W, H, &copy, 0, 0, bg);
                else if (GreyDisabledImages == 1)
                    DrawGreyImage(dc, at.x, at.y, W, H, &copy, bg);
                else
                    DrawDisabledImage(dc, at.x, at.y, W, H, &copy, 0, 0, bg);
            }
        } else if (imgSelected) {
            dc->FillRect(&box, &bgBrush);
            if (IsWin95Class()) {
                const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
                dc->Draw3dRect(&big, checked ? shadow : light, checked ? light : shadow);
            }
            if (img.list)
                img.list->Draw(dc, img.i, at, ILD_TRANSPARENT);
        } else {
            if (checked) {
                dc->FillSolidRect(&box, BlendToWhite(bg, 0.6));
                if (IsWin95Class())
                    dc->Draw3dRect(&big, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            } else {
                dc->FillRect(&box, &bgBrush);
                Outline(dc, big, bg);
            }
            if (img.list)
                img.list->Draw(dc, img.i, at, ILD_TRANSPARENT);
        }
    }
    if (img.c < 0 && checked && !checkImage) {
        const CRect box(item.left + 1, item.top + dy + 2, item.left + W + 1, item.top + dy + H + 2);
        MENUITEMINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS;
        GetMenuItemInfo(lpDrawItemStruct->itemID, &info, FALSE);
        DrawClassicCheckBox(dc, box, selected, info.hbmpChecked != nullptr);
    }
    if (record && !record->text.empty()) {
        const ItemText text = SplitText(record->text);
        const CRect r(item.left + W + 9, item.top - 1, item.right, item.bottom - 1);
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        if (!grayed) {
            dc->SetTextColor(textColour);
            DrawLabels(dc, text, r);
        } else if (selected) {
            dc->SetTextColor(bg);
            DrawLabels(dc, text, r);
        } else {
            dc->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawLabels(dc, text, CRect(r.left + 1, r.top + 1, r.right + 1, r.bottom + 1));
            dc->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
            DrawLabels(dc, text, r);
        }
        dc->SetBkMode(oldMode);
    }
}

void CExtMenu::DrawItemXp(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* target = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CExtMenuItemData* record = RecordOf(lpDrawItemStruct);
    const int W = ImageWidth, H = ImageHeight;
    CRect item = lpDrawItemStruct->rcItem;
    UINT state = lpDrawItemStruct->itemState;
    const COLORREF body = BlendToBlack(GetSysColor(COLOR_WINDOW), 0.02);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF column = IsXpThemed() ? face : BlendToWhite(face, 0.25);
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF sel = BlendToWhite(hl, IsXpThemed() ? 0.7 : 0.85);
    const int gutter = DerivedImages == 1 ? 7 : 4;
    const int G = W + gutter;
    CBrush bodyBrush(body), columnBrush(column);

    // Grayed items are composed off-screen and shown in one transfer.
    std::unique_ptr<CBufferDC> buffer;
    CFont font;
    CFont* oldFont = nullptr;
    if ((state & ODS_GRAYED) && SelectDisabledXp == 0) {
        state &= ~UINT(ODS_SELECTED);
        buffer = std::make_unique<CBufferDC>(target, item);
        NONCLIENTMETRICS metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font.CreateFontIndirect(&metrics.lfMenuFont);
        oldFont = buffer->SelectObject(&font);
    }
    CDC* dc = buffer ? buffer.get() : target;
    const bool selected = (state & ODS_SELECTED) != 0, grayed = (state & ODS_GRAYED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;

    if (record && (record->flags & MF_SEPARATOR)) {
        dc->FillRect(&item, &bodyBrush);
        const CRect col(item.left, item.top, item.left + G, item.bottom);
        CRect line = item;
        line.top += line.Height() >> 1;
        line.left = col.right + gutter;
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        dc->FillRect(&col, &columnBrush);
        Outline(dc, col, column);
    } else {
        ImageChoice img{ record ? record->ownImage : -1, record ? record->ownIndex : -1,
                         record ? record->ownList.get() : nullptr };
        const int s = record ? record->sharedIndex : -1;
        int faded = 1, shadow = 2, grey = 3;
        bool derived = img.i == 0 && DerivedImages == 1 && img.list && img.list->GetImageCount() > 2;
        if (img.c < 0 && img.i < 0 && s >= 0) {
            img = { 0, s, &theMenuImages };
            derived = DerivedImages == 1 && HasDerivedImages(s);
            if (derived) {
                faded = s + 1;
                shadow = s + 2;
                grey = s + 3;
            }
        }
        bool checkImage = false, imgDisabled = false, imgSelected = false;
        if (checked && img.c < 0 && m_checkSelectedId > 0) {
            checkImage = true;
        } else if (img.c != -1) {
            imgDisabled = grayed;
            imgSelected = selected && !grayed;
        }

        const CRect col(item.left, item.top, item.left + G, item.bottom);
        if (selected) {
            CBrush selBrush(sel);
            dc->FillRect(&item, &selBrush);
            Outline(dc, item, hl);
        } else {
            dc->FillRect(&item, &bodyBrush);
            dc->FillRect(&col, &columnBrush);
            Outline(dc, item, body);
            Outline(dc, col, column);
        }

        const int dy = std::max(0, int((item.bottom - item.top - H + 1) * 0.5));
        const int dx = std::max(0, int((G - W + 1) * 0.5));
        CPoint p(item.left + dx, item.top + dy);
        const CRect box(item.left + 1, item.top + 1, item.left + G - 2, item.bottom - 1);
        if (checkImage && m_checkImages) {
            dc->FillRect(&box, &columnBrush);
            m_checkImages->Draw(dc, selected ? 1 : 0, p, ILD_TRANSPARENT);
        } else if (imgDisabled && !imgSelected) {
            if (derived) {
                img.list->Draw(dc, grey, p, ILD_TRANSPARENT);
            } else if (img.list) {
                CBitmap copy;
                IconToBitmap(dc, img.list, img.i, &copy);
                const COLORREF back = selected ? sel : column;
                if (m_monoDisabled)
                    DrawDisabledImageMono(dc, p.x, p.y, W, H, &copy, 0, 0, back);
                else
                    DrawDisabledImage(dc, p.x, p.y, W, H, &copy, 0, 0, back);
                if (selected)
                    Outline(dc, item, hl);
            }
        } else if (imgSelected) {
            if (checked) {
                dc->FillSolidRect(&box, BlendToWhite(hl, 0.55));
                Outline(dc, box, hl);
                p.Offset(-1, -1);
            } else {
                dc->FillSolidRect(&box, sel);
            }
            if (img.list) {
                if (derived && !checked) {
                    img.list->Draw(dc, shadow, CPoint(p.x + 1, p.y + 1), ILD_TRANSPARENT);
                    img.list->Draw(dc, img.i, CPoint(p.x - 1, p.y - 1), ILD_TRANSPARENT);
                } else {
                    img.list->Draw(dc, img.i, p, ILD_TRANSPARENT);
                }
            }
        } else if (img.c != -1 || checkImage) {
            if (checked) {
                dc->FillSolidRect(&box, BlendToWhite(hl, 0.85));
                Outline(dc, box, hl);
                if (img.list)
                    img.list->Draw(dc, img.i, CPoint(p.x - 1, p.y - 1), ILD_TRANSPARENT);
            } else {
                dc->FillRect(&box, &columnBrush);
                Outline(dc, box, column);
                if (img.list)
                    img.list->Draw(dc, derived ? faded : img.i, p, ILD_TRANSPARENT);
            }
        }
        if (img.c < 0 && checked && !checkImage) {
            MENUITEMINFO info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_CHECKMARKS;
            GetMenuItemInfo(lpDrawItemStruct->itemID, &info, FALSE);
            DrawXpCheckBox(dc, box, info.hbmpChecked != nullptr, hl, selected);
        }
        if (record && !record->text.empty()) {
            COLORREF colour = GetSysColor(COLOR_MENUTEXT);
            if (grayed) {
                const COLORREF greyText = GetSysColor(COLOR_GRAYTEXT);
                colour = IsXpThemed() || selected ? greyText : BlendToWhite(greyText, 0.4);
            }
            const int oldMode = dc->SetBkMode(TRANSPARENT);
            dc->SetTextColor(colour);
            DrawLabels(dc, SplitText(record->text), CRect(item.left + G + 8, item.top - 1, item.right, item.bottom - 1));
            dc->SetBkMode(oldMode);
        }
    }
    if (buffer)
        buffer->SelectObject(oldFont);
}

void CExtMenu::DrawClassicCheckBox(CDC* dc, CRect box, bool selected, bool radio)
{
    COLORREF colour = GetSysColor(IsXpThemed() ? COLOR_BTNFACE : COLOR_MENU);
    if (!selected)
        colour = BlendToWhite(colour, 0.6);
    dc->FillSolidRect(&box, colour);
    if (IsWin95Class())
        dc->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
    if (radio)
        DrawRadioDot(dc, box.left + 5, box.top + 4, GetSysColor(COLOR_MENUTEXT));
    else
        DrawCheckMark(dc, box.left + 4, box.top + 4, GetSysColor(COLOR_MENUTEXT), false);
}

void CExtMenu::DrawXpCheckBox(CDC* dc, CRect box, bool radio, COLORREF highlight, bool selected)
{
    const int ox = std::max(0, (box.Width() >> 1) - 3);
    const int oy = std::max(0, (box.Height() >> 1) - 3);
    dc->FillSolidRect(&box, BlendToWhite(highlight, selected ? 0.55 : 0.85));
    Outline(dc, box, highlight);
    if (radio)
        DrawRadioDot(dc, box.left + ox, box.top + oy, GetSysColor(COLOR_MENUTEXT));
    else
        DrawCheckMark(dc, box.left + ox, box.top + oy, GetSysColor(COLOR_MENUTEXT), true);
}

void CExtMenu::DrawRadioDot(CDC* dc, int x, int y, COLORREF colour)
{
    CBrush brush(colour);
    CPen pen(PS_SOLID, 0, colour);
    CBrush* oldBrush = dc->SelectObject(&brush);
    CPen* oldPen = dc->SelectObject(&pen);
    dc->Ellipse(x, y, x + 6, y + 6);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CExtMenu::DrawCheckMark(CDC* dc, int x, int y, COLORREF colour, bool narrow)
{
    // Column offset, first row and end row (left out) of each stroke.
    static const int kStrokes[7][3] = { { 0, 2, 5 }, { 1, 3, 6 }, { 2, 4, 7 }, { 3, 3, 6 },
                                        { 4, 2, 5 }, { 5, 1, 4 }, { 6, 0, 3 } };
    const int d = narrow ? 1 : 0;
    CPen pen(PS_SOLID, 0, colour);
    CPen* old = dc->SelectObject(&pen);
    for (const auto& stroke : kStrokes) {
        dc->MoveTo(x + stroke[0], y + stroke[1]);
        dc->LineTo(x + stroke[0], y + stroke[2] - d);
    }
    dc->SelectObject(old);
}
