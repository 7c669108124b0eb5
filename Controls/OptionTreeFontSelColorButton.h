// COptionTreeFontSelColorButton: an owner-drawn push button showing a
// colour swatch and a drop-down arrow. A click opens the colour popup
// below it; the popup reports to the button, which keeps the choice and
// passes the events on to its parent (lParam the button's id):
// OT_COLOR_POPUPOPEN when opened, OT_COLOR_POPUPCLOSE then OT_COLOR_CHOSEN
// or OT_COLOR_CANCEL when closed, and OT_COLOR_HOVER for the colour under
// the mouse and for a chosen colour that differs from the old one.
// OT_COLOR_AUTOMATIC as the colour shows the automatic colour.
#pragma once

#include "Controls/OptionTreeColorPopup.h"
#include "Platform/Button.h"
#include "Platform/CString.h"
#include "Platform/DataExchange.h"

#define OT_COLOR_AUTOMATIC 0xFF000000

class COptionTreeFontSelColorButton : public CButton {
    DECLARE_DYNCREATE(COptionTreeFontSelColorButton)
public:
    COptionTreeFontSelColorButton();

    COLORREF GetColor() const { return m_crColor; }
    // Repaints at once when the window exists.
    void SetColor(COLORREF crColor);
    COLORREF GetAutomaticColor() const { return m_crAutomatic; }
    void SetAutomaticColor(COLORREF crColor) { m_crAutomatic = crColor; }
    void SetAutomaticText(LPCTSTR lpszText) { m_strAutomatic = lpszText; }
    void SetCustomText(LPCTSTR lpszText) { m_strCustom = lpszText; }
    BOOL GetTrackSelection() const { return m_bTrackSelection; }
    void SetTrackSelection(BOOL bTrack) { m_bTrackSelection = bTrack; }
    BOOL IsTracking() const { return m_bTracking; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // A filled triangle pointing down (0), up (1), left (2) or right (3)
    // with its corners on the rectangle's edges.
    static void DrawArrow(CDC* pDC, const CRect& rect, int nDirection, COLORREF crColor);

protected:
    void PreSubclassWindow() override;
    void OnClicked();
    LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
    LRESULT OnColorCancel(WPARAM wParam, LPARAM lParam);
    LRESULT OnColorHover(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Tell(UINT message, COLORREF crColor);
    void RepaintNow();

    COLORREF m_crColor = OT_COLOR_AUTOMATIC;
    COLORREF m_crAutomatic;
    CString m_strAutomatic = "Automatic";
    CString m_strCustom = "More Colors...";
    BOOL m_bTracking = FALSE;
    BOOL m_bTrackSelection = FALSE;
};

// Exchanges a colour with the dialog's colour button nIDC: saving, the
// variable takes the button's colour; loading, the button takes the
// variable. Nothing when nIDC is not a colour button.
void DDX_ColorButton(CDataExchange* pDX, int nIDC, COLORREF& crColor);
