#include "Controls/OptionTreeImageItem.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeImagePopup.h"
#include "Platform/Icon.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeImageItem, CWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(OT_IMAGE_PICKED, OnImagePicked)
END_MESSAGE_MAP()

namespace {

// The image as an icon whose non-black pixels are grey by luminance; null
// when any step fails. The caller destroys it.
HICON GreyIcon(CImageList& images, int index)
{
    const HICON icon = images.ExtractIcon(index);
    if (!icon)
        return nullptr;
    ICONINFO info{};
    HICON grey = nullptr;
    if (GetIconInfo(icon, &info)) {
        const int width = int(info.xHotspot) * 2, height = int(info.yHotspot) * 2;
        CDC source, target;
        CBitmap copy;
        if (width > 0 && height > 0 && source.CreateCompatibleDC(nullptr) && target.CreateCompatibleDC(nullptr) &&
            copy.CreateBitmap(width, height, 1, 32, nullptr)) {
            CBitmap* oldSource = source.SelectObject(CBitmap::FromHandle(info.hbmColor));
            CBitmap* oldTarget = target.SelectObject(&copy);
            target.BitBlt(0, 0, width, height, &source, 0, 0, SRCCOPY);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const COLORREF c = target.GetPixel(x, y);
                    if (c == RGB(0, 0, 0))
                        continue;
                    const int g = int(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
                    target.SetPixel(x, y, RGB(g, g, g));
                }
            source.SelectObject(oldSource);
            target.SelectObject(oldTarget);
            ICONINFO made{ TRUE, 0, 0, info.hbmMask, static_cast<HBITMAP>(copy) };
            grey = CreateIconIndirect(&made);
        }
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return grey;
}

} // namespace

COptionTreeImageItem::COptionTreeImageItem() { SetType(OT_ITEM_IMAGE); }

COptionTreeImageItem::~COptionTreeImageItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeImageItem::CreateEditor(DWORD dwOptions, int nImageWidth, int nImageHeight, int nColumns)
{
    if (!GetOptionTree() || GetSafeHwnd() || !CreateOwnerDrawnEditor(this))
        return FALSE;
    SetFont(COptionTree::GetNormalFont());
    m_dwOptions = dwOptions;
    if (m_imlImages.GetSafeHandle())
        m_imlImages.DeleteImageList();
    if (!m_imlImages.Create(nImageWidth, nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 100))
        return FALSE;
    SetHeight(nImageHeight + 20);
    m_nColumns = nColumns;
    m_nImageWidth = nImageWidth;
    m_nImageHeight = nImageHeight;
    SettleEditor(this);
    return TRUE;
}

void COptionTreeImageItem::AddImageIcon(HICON hIcon, LPCTSTR lpszText)
{
    if (hIcon && m_imlImages.GetSafeHandle())
        m_imlImages.Replace(-1, hIcon);
    m_strTexts.Add(lpszText ? lpszText : "");
}

void COptionTreeImageItem::AddImageBitmap(CBitmap* pBitmap, COLORREF crMask, LPCTSTR lpszText)
{
    if (pBitmap && pBitmap->GetSafeHandle() && m_imlImages.GetSafeHandle())
        m_imlImages.Add(pBitmap, crMask);
    m_strTexts.Add(lpszText ? lpszText : "");
}

void COptionTreeImageItem::AddImageBitmap(UINT nBitmapID, COLORREF crMask, LPCTSTR lpszText)
{
    CBitmap bitmap;
    bitmap.LoadBitmap(nBitmapID);
    AddImageBitmap(&bitmap, crMask, lpszText);
}

int COptionTreeImageItem::GetImageCount() const
{
    return m_imlImages.GetSafeHandle() ? m_imlImages.GetImageCount() : 0;
}

void COptionTreeImageItem::SetOption(DWORD dwBits, BOOL bOn)
{
    if (bOn)
        m_dwOptions |= dwBits;
    else
        m_dwOptions &= ~dwBits;
}

CString COptionTreeImageItem::GetShownText() const
{
    if (!HasImage())
        return "No selection made.";
    if (GetOption(OT_IMAGE_SHOWTEXT) && m_nSelected < m_strTexts.GetSize())
        return m_strTexts[m_nSelected];
    return CString();
}

void COptionTreeImageItem::DrawImageValue(CDC* pDC, const CRect& rc)
{
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    CRect text(rc.left + 1, rc.top, rc.right, rc.bottom);
    if (HasImage()) {
        const CPoint at(rc.left + 1, rc.top + 10);
        const bool editable = !IsReadOnly() && GetOptionTree()->IsWindowEnabled();
        if (editable) {
            m_imlImages.Draw(pDC, m_nSelected, at, ILD_NORMAL);
        } else if (const HICON grey = GreyIcon(m_imlImages, m_nSelected)) {
            pDC->DrawState(at, CSize(m_nImageWidth, m_nImageHeight), grey, DST_ICON | DSS_NORMAL);
            DestroyIcon(grey);
        }
        text.left = rc.left + 1 + m_nImageWidth + 5;
    }
    pDC->DrawText(GetShownText(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

void COptionTreeImageItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    DrawImageValue(pDC, rcValue);
}

void COptionTreeImageItem::ActivateEditor()
{
    m_nSelectedAtEdit = m_nSelected;
    ActivateWindow(this);
}

void COptionTreeImageItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeImageItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeImageItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeImageItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeImageItem::OnDeselect() { HideWindowEditor(this); }

void COptionTreeImageItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CWnd::OnSetFocus(pOldWnd);
}

// The value changes only through the popup, so a focus move away while no
// popup is open ends the edit without a change.
void COptionTreeImageItem::OnKillFocus(CWnd* pNewWnd)
{
    m_bFocus = FALSE;
    CWnd::OnKillFocus(pNewWnd);
    if (!m_bPicking && pNewWnd && GetOptionTree())
        CommitChanges(FALSE);
}

void COptionTreeImageItem::OnLButtonUp(UINT nFlags, CPoint point)
{
    COptionTree* grid = GetOptionTree();
    if (grid) {
        CPoint mouse;
        ::GetCursorPos(&mouse);
        m_bPicking = TRUE;
        ShowWindow(SW_HIDE);
        new COptionTreeImagePopup(mouse, m_nImageWidth, m_nImageHeight, m_nColumns, &m_imlImages, grid, m_strTexts,
                                  m_nSelected, this);
        grid->UpdateScroll();
    }
    CWnd::OnLButtonUp(nFlags, point);
}

LRESULT COptionTreeImageItem::OnImagePicked(WPARAM, LPARAM lParam)
{
    m_bPicking = FALSE;
    m_nSelected = int(lParam);
    ShowWindow(SW_HIDE);
    m_bFocus = FALSE;
    CommitChanges(m_nSelected != m_nSelectedAtEdit);
    if (GetOptionTree())
        GetOptionTree()->UpdateScroll();
    return 1;
}

BOOL COptionTreeImageItem::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeImageItem::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bFocus || !GetOptionTree())
        return;
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetValueBackColor());
    DrawImageValue(&dc, client);
}
