#include "Controls/OptionTreeFontItem.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeFontSelDialog.h"
#include "Platform/SysColors.h"

#include <cstdlib>

COptionTreeFontItem::COptionTreeFontItem() { SetType(OT_ITEM_FONT); }

BOOL COptionTreeFontItem::CreateFontItem(const LOGFONT& lfFont, COLORREF crFontColor, const LOGFONT& lfDefaultFont,
                                         COLORREF crDefaultFontColor, DWORD dwOptions)
{
    if (!CreateFontItem(lfFont, crFontColor, dwOptions))
        return FALSE;
    m_lfDefaultFont = lfDefaultFont;
    m_crAutomatic = crDefaultFontColor;
    return TRUE;
}

BOOL COptionTreeFontItem::CreateFontItem(const LOGFONT& lfFont, COLORREF crFontColor, DWORD dwOptions)
{
    if (!GetOptionTree())
        return FALSE;
    m_lfFont = lfFont;
    m_crColor = crFontColor;
    m_dwOptions = dwOptions;
    m_lSetupHeight = GetHeight();
    return TRUE;
}

BOOL COptionTreeFontItem::CreateFontItem(const CHARFORMAT& cfFont, COLORREF crFontColor,
                                         const CHARFORMAT& cfDefaultFont, COLORREF crDefaultFontColor,
                                         DWORD dwOptions)
{
    LOGFONT font, defaultFont;
    CharFormatToLogFont(cfFont, &font);
    CharFormatToLogFont(cfDefaultFont, &defaultFont);
    return CreateFontItem(font, crFontColor, defaultFont, crDefaultFontColor, dwOptions);
}

BOOL COptionTreeFontItem::CreateFontItem(const CHARFORMAT& cfFont, COLORREF crFontColor, DWORD dwOptions)
{
    LOGFONT font;
    CharFormatToLogFont(cfFont, &font);
    return CreateFontItem(font, crFontColor, dwOptions);
}

CHARFORMAT COptionTreeFontItem::GetCharFormat() const
{
    CHARFORMAT cf{};
    cf.cbSize = sizeof cf;
    LogFontToCharFormat(m_lfFont, m_crColor, &cf);
    return cf;
}

void COptionTreeFontItem::SetOption(DWORD dwBits, BOOL bOn)
{
    if (bOn)
        m_dwOptions |= dwBits;
    else
        m_dwOptions &= ~dwBits;
}

CString COptionTreeFontItem::GetShownText() const
{
    if (GetOption(OT_FS_SAMPLETEXT))
        return m_strSample;
    if (GetOption(OT_FS_SAMPLEFACE))
        return m_lfFont.lfFaceName;
    CString text;
    text.LoadString(IDS_OT_FS_SAMPLE);
    return text;
}

void COptionTreeFontItem::DrawValue(CDC* pDC, CRect rcValue)
{
    COptionTree* grid = GetOptionTree();
    if (!grid)
        return;
    CFont font;
    if (!font.CreateFontIndirect(&m_lfFont))
        return;
    const int saved = pDC->SaveDC();
    pDC->SelectObject(&font);
    const bool grey = IsReadOnly() || !grid->IsWindowEnabled();
    pDC->SetTextColor(grey ? GetSysColor(COLOR_GRAYTEXT) : m_crColor);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    pDC->IntersectClipRect(&rcValue);
    CRect text(rcValue.left + 1, rcValue.top, rcValue.right, rcValue.bottom);
    pDC->DrawText(GetShownText(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

void COptionTreeFontItem::ActivateEditor()
{
    COptionTree* grid = GetOptionTree();
    if (!grid)
        return;
    COptionTreeFontSelDialog dialog(m_dwOptions, m_lfFont, m_lfDefaultFont,
                                    m_pDialogParent ? m_pDialogParent : static_cast<CWnd*>(grid));
    dialog.SetAutomaticColor(m_crAutomatic);
    dialog.SetColor(m_crColor);
    dialog.SetNotifyId(GetItemID());
    if (dialog.DoModal() == IDC_OT_FS_OK) {
        m_lfFont = dialog.GetLogFont();
        m_crColor = dialog.GetColor();
        const long height = std::labs(m_lfFont.lfHeight) + 10;
        if (height > m_lSetupHeight) {
            SetHeight(height);
            SetLabelAtTop(TRUE);
        } else {
            SetHeight(m_lSetupHeight);
            SetLabelAtTop(FALSE);
        }
        CommitChanges(TRUE);
    }
    grid->UpdateScroll();
}
