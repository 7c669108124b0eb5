// COptionTreeFontSelDialog: the modal dialog (template 32000) in which a
// font is chosen: face, style, size in points, underline, strike-out and
// text colour, with a live sample. Fonts come and go as LOGFONT or as
// CHARFORMAT. Apply reports an interim choice to the parent without
// closing; Reset goes back to the default font. Ended with OK the result
// is the current font (GetLogFont, GetCharFormat) and DoModal returns
// IDC_OT_FS_OK; any other result is a cancel.
//
// Styles are the codes OT_FS_STYLE_*. The wanted style is selected
// whenever the style list is rebuilt; when the face lacks it, the entry
// shown first becomes the current style too. Sizes match whole entries
// only; sizes not listed stay typed and are read as numbers.
#pragma once

#include "Controls/OptionTreeFontSelColorButton.h"
#include "Controls/OptionTreeFontSelFontCombo.h"
#include "Controls/OptionTreeFontSelSizeCombo.h"
#include "Platform/CharFormat.h"
#include "Platform/Dc.h"
#include "Platform/Dialog.h"
#include "Platform/Static.h"

#define IDD_OT_FONTSEL 32000
#define IDS_OT_FS_REGULAR 65049
#define IDS_OT_FS_BOLD 65050
#define IDS_OT_FS_ITALIC 65051
#define IDS_OT_FS_BOLDITALIC 65052
#define IDS_OT_FS_SAMPLE 65053

#define IDC_OT_FS_OK 139
#define IDC_OT_FS_CANCEL 140
#define IDC_OT_FS_APPLY 141
#define IDC_OT_FS_RESET 142
#define IDC_OT_FS_COLOR 143
#define IDC_OT_FS_STRIKEOUT 145
#define IDC_OT_FS_UNDERLINE 146
#define IDC_OT_FS_SAMPLE 152
#define IDC_OT_FS_FACE 154
#define IDC_OT_FS_STYLE 155
#define IDC_OT_FS_SIZE 156
#define IDC_OT_FS_SCRIPT 157

// Sent to the parent by Apply: wParam the notify id, lParam the address of
// the chosen LOGFONT (or CHARFORMAT with OT_FS_USECHARFORMAT).
#define OT_FS_NOTIFY_APPLY (WM_USER + 1016)

#define OT_FS_USECHARFORMAT 0x100
#define OT_FS_SHOWAPPLY 0x200
#define OT_FS_SHOWRESET 0x400
#define OT_FS_SAMPLETEXT 0x800
#define OT_FS_SAMPLEFACE 0x1000
#define OT_FS_NOEFFECTS 0x8000
#define OT_FS_NOCOLOR 0x20000
#define OT_FS_TRUETYPEONLY 0x40000
#define OT_FS_NOFACE 0x80000
#define OT_FS_NOSTYLE 0x800000

#define OT_FS_STYLE_REGULAR 0x40
#define OT_FS_STYLE_BOLD 0x20
#define OT_FS_STYLE_ITALIC 0x01
#define OT_FS_STYLE_BOLDITALIC 0x21

class COptionTreeFontSelDialog;

// The sample box: it lies over the "Sample" group box, so the sample is
// painted in it rather than beneath it on the dialog.
class COptionTreeFontSelSampleBox : public CStatic {
protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class COptionTreeFontSelDialog : public CDialog {
public:
    COptionTreeFontSelDialog(DWORD dwOptions, const LOGFONT& lfCurrent, const LOGFONT& lfDefault, CWnd* pParentWnd);
    COptionTreeFontSelDialog(DWORD dwOptions, const LOGFONT& lf, CWnd* pParentWnd);
    // The colour button takes the current format's colour and, as its
    // automatic colour, the default format's.
    COptionTreeFontSelDialog(DWORD dwOptions, const CHARFORMAT& cfCurrent, const CHARFORMAT& cfDefault,
                             CWnd* pParentWnd);
    COptionTreeFontSelDialog(DWORD dwOptions, const CHARFORMAT& cf, CWnd* pParentWnd);
    ~COptionTreeFontSelDialog() override;

    void SetAutomaticColor(COLORREF crColor) { m_btnColor.SetAutomaticColor(crColor); }
    void SetColor(COLORREF crColor) { m_btnColor.SetColor(crColor); }
    COLORREF GetAutomaticColor() const { return m_btnColor.GetAutomaticColor(); }
    COLORREF GetColor() const { return m_btnColor.GetColor(); }

    // Store the current font; with the window open the face list is
    // refilled (first face selected) and the sample redrawn, the controls
    // otherwise left as they are.
    void SetLogFont(const LOGFONT& lf);
    void SetCharFormat(const CHARFORMAT& cf);
    void SetDefaultLogFont(const LOGFONT& lf) { m_lfDefault = lf; }
    void SetDefaultCharFormat(const CHARFORMAT& cf);
    LOGFONT GetLogFont() const { return m_lfCurrent; }
    // The current font with the colour button's colour.
    CHARFORMAT GetCharFormat() const;
    DWORD GetOptions() const { return m_dwOptions; }
    void SetSampleText(LPCTSTR lpszText) { m_strSampleText = lpszText; }
    void SetNotifyId(UINT uID) { m_uNotifyId = uID; }

    DWORD GetCurrentStyle() const { return m_dwCurrentStyle; }
    // The text the sample shows.
    CString GetSampleString() const;
    CFont* GetSampleFont() { return m_fntSample.GetSafeHandle() ? &m_fntSample : nullptr; }
    // The sample text in the sample font and the colour button's colour,
    // centred across the rectangle when it fits, with the part of its
    // ascent above the internal leading centred upright; clipped.
    void PaintSample(CDC* pDC, const CRect& rect);

    BOOL OnInitDialog() override;

protected:
    void OnClickOk();
    void OnClickCancel();
    void OnApply();
    void OnReset();
    void OnFaceChanged();
    void OnFaceEdited();
    void OnSizeChanged();
    void OnSizeEdited();
    void OnStyleChanged();
    void OnStyleEdited();
    void OnEffectClicked();
    void OnScriptChanged();
    LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    static int FaceProc(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD dwType, LPARAM lParam);
    static int StyleProc(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD dwType, LPARAM lParam);

    void FillFaces();
    void BuildStylesAndSizes();
    void AddStyle(UINT nTextId, DWORD dwStyle);
    void SelectSizeAndStyle();
    void ApplyFont(const LOGFONT& lf);
    // The selected face's entry, else the one the face field begins, else
    // the first; -1 for an empty list.
    int ChosenFace() const;
    // FALSE (font unchanged) without controls or faces.
    BOOL BuildResult(LOGFONT* lf) const;
    void UpdateSample();

    COptionTreeFontSelSampleBox m_stcSample;
    CComboBox m_cmbStyle;
    COptionTreeFontSelSizeCombo m_cmbSize;
    COptionTreeFontSelFontCombo m_cmbFace;
    CButton m_chkUnderline;
    CButton m_chkStrikeOut;
    CButton m_btnReset;
    CButton m_btnApply;
    COptionTreeFontSelColorButton m_btnColor;
    CFont m_fntSample;
    DWORD m_dwCurrentStyle = OT_FS_STYLE_REGULAR;
    DWORD m_dwWantedStyle = OT_FS_STYLE_REGULAR;
    DWORD m_dwAvailableStyles = 0;
    BOOL m_bStrikeOut = FALSE;
    BOOL m_bUnderline = FALSE;
    CString m_strSize;
    LOGFONT m_lfCurrent{};
    LOGFONT m_lfDefault{};
    DWORD m_dwOptions;
    CString m_strSampleText;
    UINT m_uNotifyId = 0;
};
