#include "Controls/OptionTreeFontSelDialog.h"

#include "Controls/OptionTreeFontConvert.h"
#include "Platform/FontEnum.h"
#include "Platform/SysColors.h"

#include <cstdlib>
#include <cstring>

namespace {

const int kStandardSizes[] = { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 };

CString TextOf(const CWnd& wnd)
{
    const int length = wnd.GetWindowTextLength();
    CString text;
    wnd.GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(length);
    return text;
}

DWORD StyleOf(LONG weight, bool italic)
{
    if (weight >= FW_BOLD)
        return italic ? OT_FS_STYLE_BOLDITALIC : OT_FS_STYLE_BOLD;
    return italic ? OT_FS_STYLE_ITALIC : OT_FS_STYLE_REGULAR;
}

} // namespace

BEGIN_MESSAGE_MAP(COptionTreeFontSelSampleBox, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void COptionTreeFontSelSampleBox::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    if (auto* dialog = dynamic_cast<COptionTreeFontSelDialog*>(GetParent()))
        dialog->PaintSample(&dc, client);
}

BEGIN_MESSAGE_MAP(COptionTreeFontSelDialog, CDialog)
    ON_BN_CLICKED(IDC_OT_FS_OK, OnClickOk)
    ON_BN_CLICKED(IDC_OT_FS_CANCEL, OnClickCancel)
    ON_BN_CLICKED(IDC_OT_FS_APPLY, OnApply)
    ON_BN_CLICKED(IDC_OT_FS_RESET, OnReset)
    ON_CBN_SELCHANGE(IDC_OT_FS_FACE, OnFaceChanged)
    ON_CBN_EDITCHANGE(IDC_OT_FS_FACE, OnFaceEdited)
    ON_CBN_SELCHANGE(IDC_OT_FS_SIZE, OnSizeChanged)
    ON_CBN_EDITCHANGE(IDC_OT_FS_SIZE, OnSizeEdited)
    ON_CBN_SELCHANGE(IDC_OT_FS_STYLE, OnStyleChanged)
    ON_CBN_EDITCHANGE(IDC_OT_FS_STYLE, OnStyleEdited)
    ON_BN_CLICKED(IDC_OT_FS_STRIKEOUT, OnEffectClicked)
    ON_BN_CLICKED(IDC_OT_FS_UNDERLINE, OnEffectClicked)
    ON_CBN_SELCHANGE(IDC_OT_FS_SCRIPT, OnScriptChanged)
    ON_MESSAGE(OT_COLOR_CHOSEN, OnColorChosen)
END_MESSAGE_MAP()

COptionTreeFontSelDialog::COptionTreeFontSelDialog(DWORD dwOptions, const LOGFONT& lfCurrent,
                                                   const LOGFONT& lfDefault, CWnd* pParentWnd)
    : CDialog(IDD_OT_FONTSEL, pParentWnd), m_lfCurrent(lfCurrent), m_lfDefault(lfDefault), m_dwOptions(dwOptions)
{
}

COptionTreeFontSelDialog::COptionTreeFontSelDialog(DWORD dwOptions, const LOGFONT& lf, CWnd* pParentWnd)
    : COptionTreeFontSelDialog(dwOptions, lf, lf, pParentWnd)
{
}

COptionTreeFontSelDialog::COptionTreeFontSelDialog(DWORD dwOptions, const CHARFORMAT& cfCurrent,
                                                   const CHARFORMAT& cfDefault, CWnd* pParentWnd)
    : CDialog(IDD_OT_FONTSEL, pParentWnd), m_dwOptions(dwOptions)
{
    CharFormatToLogFont(cfCurrent, &m_lfCurrent);
    CharFormatToLogFont(cfDefault, &m_lfDefault);
    m_btnColor.SetColor(cfCurrent.crTextColor);
    m_btnColor.SetAutomaticColor(cfDefault.crTextColor);
}

COptionTreeFontSelDialog::COptionTreeFontSelDialog(DWORD dwOptions, const CHARFORMAT& cf, CWnd* pParentWnd)
    : COptionTreeFontSelDialog(dwOptions, cf, cf, pParentWnd)
{
}

COptionTreeFontSelDialog::~COptionTreeFontSelDialog()
{
    // While the members still stand: the face list frees its records as
    // its entries go.
    if (GetSafeHwnd())
        DestroyWindow();
}

void COptionTreeFontSelDialog::SetLogFont(const LOGFONT& lf)
{
    m_lfCurrent = lf;
    if (m_cmbFace.GetSafeHwnd()) {
        FillFaces();
        UpdateSample();
    }
}

void COptionTreeFontSelDialog::SetCharFormat(const CHARFORMAT& cf)
{
    LOGFONT lf;
    CharFormatToLogFont(cf, &lf);
    SetLogFont(lf);
}

void COptionTreeFontSelDialog::SetDefaultCharFormat(const CHARFORMAT& cf) { CharFormatToLogFont(cf, &m_lfDefault); }

CHARFORMAT COptionTreeFontSelDialog::GetCharFormat() const
{
    CHARFORMAT cf{};
    cf.cbSize = sizeof cf;
    LogFontToCharFormat(m_lfCurrent, GetColor(), &cf);
    return cf;
}

BOOL COptionTreeFontSelDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_stcSample.SubclassDlgItem(IDC_OT_FS_SAMPLE, this);
    m_cmbStyle.SubclassDlgItem(IDC_OT_FS_STYLE, this);
    m_cmbSize.SubclassDlgItem(IDC_OT_FS_SIZE, this);
    m_cmbFace.SubclassDlgItem(IDC_OT_FS_FACE, this);
    m_chkUnderline.SubclassDlgItem(IDC_OT_FS_UNDERLINE, this);
    m_chkStrikeOut.SubclassDlgItem(IDC_OT_FS_STRIKEOUT, this);
    m_btnReset.SubclassDlgItem(IDC_OT_FS_RESET, this);
    m_btnApply.SubclassDlgItem(IDC_OT_FS_APPLY, this);
    m_btnColor.SubclassDlgItem(IDC_OT_FS_COLOR, this);
    m_btnReset.ShowWindow((m_dwOptions & OT_FS_SHOWRESET) ? SW_SHOW : SW_HIDE);
    if ((m_dwOptions & OT_FS_SHOWRESET) && !(m_dwOptions & OT_FS_SHOWAPPLY)) {
        CRect apply;
        m_btnApply.GetWindowRect(&apply);
        ScreenToClient(&apply);
        m_btnReset.MoveWindow(&apply);
    }
    m_btnApply.ShowWindow((m_dwOptions & OT_FS_SHOWAPPLY) ? SW_SHOW : SW_HIDE);
    if (m_dwOptions & OT_FS_NOCOLOR)
        m_btnColor.EnableWindow(FALSE);
    if (m_dwOptions & OT_FS_NOEFFECTS) {
        m_chkUnderline.EnableWindow(FALSE);
        m_chkStrikeOut.EnableWindow(FALSE);
    }
    if (m_dwOptions & OT_FS_NOSTYLE)
        m_cmbStyle.EnableWindow(FALSE);
    if (m_dwOptions & OT_FS_NOFACE)
        m_cmbFace.EnableWindow(FALSE);

    FillFaces();
    UpdateSample();
    ApplyFont(m_lfCurrent);
    return TRUE;
}

int COptionTreeFontSelDialog::FaceProc(const LOGFONT* lf, const TEXTMETRIC*, DWORD dwType, LPARAM lParam)
{
    auto* self = reinterpret_cast<COptionTreeFontSelDialog*>(lParam);
    if ((dwType & TRUETYPE_FONTTYPE) || !(self->m_dwOptions & OT_FS_TRUETYPEONLY))
        self->m_cmbFace.AddFace(*lf, dwType);
    return 1;
}

int COptionTreeFontSelDialog::StyleProc(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD dwType, LPARAM lParam)
{
    auto* self = reinterpret_cast<COptionTreeFontSelDialog*>(lParam);
    if (dwType & TRUETYPE_FONTTYPE) {
        const DWORD flags = static_cast<const NEWTEXTMETRIC*>(tm)->ntmFlags;
        if (!(flags & (NTM_ITALIC | NTM_BOLD)))
            self->m_dwAvailableStyles |= OT_FS_STYLE_REGULAR;
        if (flags & NTM_ITALIC)
            self->m_dwAvailableStyles |= OT_FS_STYLE_ITALIC;
        if (flags & NTM_BOLD)
            self->m_dwAvailableStyles |= OT_FS_STYLE_BOLD;
        return 1;
    }
    if (self->m_dwOptions & OT_FS_TRUETYPEONLY)
        return 1;
    if (dwType & RASTER_FONTTYPE) {
        const long height = tm->tmHeight - tm->tmInternalLeading;
        self->m_cmbSize.AddSize(MulDiv(int(height), 72, ScreenResolution()), height);
    }
    self->m_dwAvailableStyles |= StyleOf(lf->lfWeight, lf->lfItalic != 0);
    return 1;
}

void COptionTreeFontSelDialog::FillFaces()
{
    m_cmbFace.ResetContent();
    LOGFONT all{};
    all.lfCharSet = DEFAULT_CHARSET;
    CClientDC dc(this);
    EnumFontFamiliesEx(dc.GetSafeHdc(), &all, FaceProc, reinterpret_cast<LPARAM>(this), 0);
    if (m_cmbFace.GetCount() == 0) {
        m_cmbFace.EnableWindow(FALSE);
        m_cmbSize.EnableWindow(FALSE);
        m_cmbStyle.EnableWindow(FALSE);
        m_chkUnderline.EnableWindow(FALSE);
        m_chkStrikeOut.EnableWindow(FALSE);
        return;
    }
    m_cmbFace.SetCurSel(0);
    BuildStylesAndSizes();
}

void COptionTreeFontSelDialog::AddStyle(UINT nTextId, DWORD dwStyle)
{
    CString text;
    text.LoadString(nTextId);
    const int index = m_cmbStyle.AddString(text);
    if (index >= 0)
        m_cmbStyle.SetItemData(index, dwStyle);
}

void COptionTreeFontSelDialog::BuildStylesAndSizes()
{
    const OptionTreeFaceRecord* face = m_cmbFace.GetFace(m_cmbFace.GetCurSel());
    if (!face)
        return;
    m_cmbSize.ResetContent();
    m_cmbStyle.ResetContent();
    m_dwAvailableStyles = 0;
    LOGFONT wanted{};
    std::memcpy(wanted.lfFaceName, face->lf.lfFaceName, LF_FACESIZE);
    wanted.lfCharSet = DEFAULT_CHARSET;
    const DWORD faceType = face->dwFontType;
    CClientDC dc(this);
    EnumFontFamiliesEx(dc.GetSafeHdc(), &wanted, StyleProc, reinterpret_cast<LPARAM>(this), 0);
    if (faceType != RASTER_FONTTYPE)
        for (int points : kStandardSizes)
            m_cmbSize.AddSize(points, 0);
    const DWORD available = m_dwAvailableStyles;
    if (available & OT_FS_STYLE_REGULAR)
        AddStyle(IDS_OT_FS_REGULAR, OT_FS_STYLE_REGULAR);
    if (available & (OT_FS_STYLE_BOLD | OT_FS_STYLE_REGULAR))
        AddStyle(IDS_OT_FS_BOLD, OT_FS_STYLE_BOLD);
    if (available & (OT_FS_STYLE_ITALIC | OT_FS_STYLE_REGULAR))
        AddStyle(IDS_OT_FS_ITALIC, OT_FS_STYLE_ITALIC);
    if (available)
        AddStyle(IDS_OT_FS_BOLDITALIC, OT_FS_STYLE_BOLDITALIC);
    SelectSizeAndStyle();
}

void COptionTreeFontSelDialog::SelectSizeAndStyle()
{
    const int size = m_cmbSize.FindStringExact(-1, m_strSize);
    if (size != CB_ERR) {
        m_cmbSize.SetCurSel(size);
    } else {
        m_cmbSize.SetCurSel(-1);
        m_cmbSize.SetWindowText(m_strSize);
    }
    int style = CB_ERR;
    for (int i = 0; i < m_cmbStyle.GetCount() && style == CB_ERR; ++i)
        if (m_cmbStyle.GetItemData(i) == m_dwWantedStyle)
            style = i;
    if (style != CB_ERR) {
        m_cmbStyle.SetCurSel(style);
        m_dwCurrentStyle = m_dwWantedStyle;
    } else if (m_cmbStyle.GetCount() > 0) {
        // The entry shown is the style the result takes.
        m_cmbStyle.SetCurSel(0);
        m_dwCurrentStyle = DWORD(m_cmbStyle.GetItemData(0));
    } else {
        m_dwCurrentStyle = OT_FS_STYLE_REGULAR;
    }
    UpdateSample();
}

void COptionTreeFontSelDialog::ApplyFont(const LOGFONT& lf)
{
    if (!m_cmbFace.GetSafeHwnd())
        return;
    const int face = m_cmbFace.FindString(-1, lf.lfFaceName);
    m_cmbFace.SetCurSel(face == CB_ERR ? 0 : face);
    BuildStylesAndSizes();
    CClientDC dc(this);
    m_strSize.Format("%d", MulDiv(std::abs(int(lf.lfHeight)), 72, dc.GetDeviceCaps(LOGPIXELSY)));
    m_bUnderline = lf.lfUnderline == 1;
    m_bStrikeOut = lf.lfStrikeOut == 1;
    m_chkUnderline.SetCheck(m_bUnderline ? BST_CHECKED : BST_UNCHECKED);
    m_chkStrikeOut.SetCheck(m_bStrikeOut ? BST_CHECKED : BST_UNCHECKED);
    m_dwWantedStyle = StyleOf(lf.lfWeight, lf.lfItalic != 0);
    SelectSizeAndStyle();
}

int COptionTreeFontSelDialog::ChosenFace() const
{
    const int selected = m_cmbFace.GetCurSel();
    if (selected >= 0)
        return selected;
    const int begun = m_cmbFace.FindString(-1, TextOf(m_cmbFace));
    if (begun != CB_ERR)
        return begun;
    return m_cmbFace.GetCount() > 0 ? 0 : -1;
}

BOOL COptionTreeFontSelDialog::BuildResult(LOGFONT* lf) const
{
    if (!m_cmbFace.GetSafeHwnd())
        return FALSE;
    const OptionTreeFaceRecord* face = m_cmbFace.GetFace(ChosenFace());
    if (!face)
        return FALSE;
    LOGFONT result = face->lf;
    result.lfHeight = m_cmbSize.GetHeight();
    result.lfWidth = 0;
    result.lfWeight = (m_dwCurrentStyle & OT_FS_STYLE_BOLD) ? FW_BOLD : FW_NORMAL;
    result.lfItalic = (m_dwCurrentStyle & OT_FS_STYLE_ITALIC) ? 1 : 0;
    result.lfStrikeOut = m_bStrikeOut ? 1 : 0;
    result.lfUnderline = m_bUnderline ? 1 : 0;
    *lf = result;
    return TRUE;
}

CString COptionTreeFontSelDialog::GetSampleString() const
{
    if (m_dwOptions & OT_FS_SAMPLETEXT)
        return m_strSampleText;
    CString text;
    if ((m_dwOptions & OT_FS_SAMPLEFACE) && m_fntSample.GetSafeHandle()) {
        LOGFONT lf{};
        m_fntSample.GetLogFont(&lf);
        text = lf.lfFaceName;
    } else {
        text.LoadString(IDS_OT_FS_SAMPLE);
    }
    return text;
}

void COptionTreeFontSelDialog::UpdateSample()
{
    if (!m_stcSample.GetSafeHwnd())
        return;
    m_fntSample.DeleteObject();
    LOGFONT lf;
    if (BuildResult(&lf))
        m_fntSample.CreateFontIndirect(&lf);
    m_stcSample.Invalidate();
}

void COptionTreeFontSelDialog::PaintSample(CDC* pDC, const CRect& rect)
{
    if (!m_fntSample.GetSafeHandle())
        return;
    const CString text = GetSampleString();
    const int saved = pDC->SaveDC();
    pDC->SelectObject(&m_fntSample);
    pDC->SetTextColor(GetColor() == OT_COLOR_AUTOMATIC ? GetAutomaticColor() : GetColor());
    pDC->SetBkMode(TRANSPARENT);
    const CSize extent = pDC->GetTextExtent(text);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int x = extent.cx > 0 && extent.cx < rect.Width() ? rect.left + (rect.Width() - extent.cx) / 2 : rect.left;
    const int baseline = rect.bottom - (rect.Height() - (tm.tmAscent - tm.tmInternalLeading)) / 2;
    pDC->SetTextAlign(TA_LEFT | TA_BASELINE);
    pDC->ExtTextOut(x, baseline, ETO_CLIPPED, &rect, text, UINT(text.GetLength()), nullptr);
    pDC->RestoreDC(saved);
}

void COptionTreeFontSelDialog::OnClickOk()
{
    BuildResult(&m_lfCurrent);
    EndDialog(IDC_OT_FS_OK);
}

void COptionTreeFontSelDialog::OnClickCancel() { EndDialog(IDC_OT_FS_CANCEL); }

void COptionTreeFontSelDialog::OnApply()
{
    if (!m_pParentWnd || !::IsWindow(m_pParentWnd->GetSafeHwnd()))
        return;
    LOGFONT lf = m_lfCurrent;
    BuildResult(&lf);
    if (m_dwOptions & OT_FS_USECHARFORMAT) {
        CHARFORMAT cf{};
        cf.cbSize = sizeof cf;
        LogFontToCharFormat(lf, GetColor(), &cf);
        m_pParentWnd->SendMessage(OT_FS_NOTIFY_APPLY, m_uNotifyId, reinterpret_cast<LPARAM>(&cf));
    } else {
        m_pParentWnd->SendMessage(OT_FS_NOTIFY_APPLY, m_uNotifyId, reinterpret_cast<LPARAM>(&lf));
    }
}

void COptionTreeFontSelDialog::OnReset()
{
    ApplyFont(m_lfDefault);
    SetColor(GetAutomaticColor());
    UpdateSample();
}

void COptionTreeFontSelDialog::OnFaceChanged() { BuildStylesAndSizes(); }

void COptionTreeFontSelDialog::OnFaceEdited()
{
    const int face = m_cmbFace.FindStringExact(-1, TextOf(m_cmbFace));
    if (face == CB_ERR)
        return;
    m_cmbFace.SetCurSel(face);
    m_cmbFace.SetEditSel(0, -1);
    BuildStylesAndSizes();
}

void COptionTreeFontSelDialog::OnSizeChanged()
{
    m_cmbSize.GetLBText(m_cmbSize.GetCurSel(), m_strSize);
    UpdateSample();
}

void COptionTreeFontSelDialog::OnSizeEdited()
{
    m_strSize = TextOf(m_cmbSize);
    const int size = m_cmbSize.FindStringExact(-1, m_strSize);
    if (size != CB_ERR) {
        m_cmbSize.SetCurSel(size);
        m_cmbSize.SetEditSel(0, -1);
    }
    // An unlisted size is read as typed, so the sample follows it too.
    UpdateSample();
}

void COptionTreeFontSelDialog::OnStyleChanged()
{
    const int style = m_cmbStyle.GetCurSel();
    if (style < 0)
        return;
    m_dwCurrentStyle = m_dwWantedStyle = DWORD(m_cmbStyle.GetItemData(style));
    UpdateSample();
}

void COptionTreeFontSelDialog::OnStyleEdited()
{
    const int style = m_cmbStyle.FindStringExact(-1, TextOf(m_cmbStyle));
    if (style == CB_ERR)
        return;
    m_cmbStyle.SetCurSel(style);
    m_cmbStyle.SetEditSel(0, -1);
    m_dwCurrentStyle = m_dwWantedStyle = DWORD(m_cmbStyle.GetItemData(style));
    UpdateSample();
}

void COptionTreeFontSelDialog::OnEffectClicked()
{
    m_bStrikeOut = m_chkStrikeOut.GetCheck() == BST_CHECKED;
    m_bUnderline = m_chkUnderline.GetCheck() == BST_CHECKED;
    UpdateSample();
}

void COptionTreeFontSelDialog::OnScriptChanged() { UpdateSample(); }

LRESULT COptionTreeFontSelDialog::OnColorChosen(WPARAM, LPARAM)
{
    UpdateSample();
    return 0;
}
