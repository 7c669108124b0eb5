// COptionTreeFontItem: the row whose value is a font with a text colour,
// shown as a sample in that font and colour. It has no editor window:
// activating the value runs the font dialog, and ending it with OK stores
// the font and colour, makes the row tall enough for the font (label at
// the top when it outgrows the set-up height) and commits with
// notification. Any other end of the dialog changes nothing.
#pragma once

#include "Controls/OptionTreeFontConvert.h"
#include "Controls/OptionTreeItem.h"

#define OT_ITEM_FONT 10

class COptionTreeFontItem : public COptionTreeItem {
public:
    COptionTreeFontItem();

    // Each FALSE (nothing stored) outside a grid; the set-up height is the
    // row's height then. A format's own colour is not used.
    BOOL CreateFontItem(const LOGFONT& lfFont, COLORREF crFontColor, const LOGFONT& lfDefaultFont,
                        COLORREF crDefaultFontColor, DWORD dwOptions);
    BOOL CreateFontItem(const LOGFONT& lfFont, COLORREF crFontColor, DWORD dwOptions);
    BOOL CreateFontItem(const CHARFORMAT& cfFont, COLORREF crFontColor, const CHARFORMAT& cfDefaultFont,
                        COLORREF crDefaultFontColor, DWORD dwOptions);
    BOOL CreateFontItem(const CHARFORMAT& cfFont, COLORREF crFontColor, DWORD dwOptions);

    void SetLogFont(const LOGFONT& lf) { m_lfFont = lf; }
    void SetDefaultLogFont(const LOGFONT& lf) { m_lfDefaultFont = lf; }
    void SetCharFormat(const CHARFORMAT& cf) { CharFormatToLogFont(cf, &m_lfFont); }
    void SetDefaultCharFormat(const CHARFORMAT& cf) { CharFormatToLogFont(cf, &m_lfDefaultFont); }
    LOGFONT GetLogFont() const { return m_lfFont; }
    // The font as a format with the row's colour.
    CHARFORMAT GetCharFormat() const;
    void SetColor(COLORREF crColor) { m_crColor = crColor; }
    COLORREF GetColor() const { return m_crColor; }
    void SetAutomaticColor(COLORREF crColor) { m_crAutomatic = crColor; }
    COLORREF GetAutomaticColor() const { return m_crAutomatic; }
    void SetSampleText(LPCTSTR lpszText) { m_strSample = lpszText; }
    // The dialog's parent; none means the grid.
    void SetDialogParent(CWnd* pWnd) { m_pDialogParent = pWnd; }
    BOOL GetOption(DWORD dwBits) const { return (m_dwOptions & dwBits) != 0; }
    void SetOption(DWORD dwBits, BOOL bOn);

    // The text the value shows.
    CString GetShownText() const;

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;

private:
    COLORREF m_crAutomatic = 0;
    COLORREF m_crColor = 0;
    LOGFONT m_lfFont{};
    LOGFONT m_lfDefaultFont{};
    DWORD m_dwOptions = 0;
    CString m_strSample;
    CWnd* m_pDialogParent = nullptr;
    long m_lSetupHeight = 0;
};
