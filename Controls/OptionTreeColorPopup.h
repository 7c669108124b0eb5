// COptionTreeColorPopup: the pop-up palette of 40 named colours in 8
// columns, with an optional "Automatic" box above and a custom box below
// that opens the colour dialog. It opens at a screen point without taking
// the activation, holds the capture (so the keys reach it while the focus
// stays where it was), and reports to the window to notify:
// OT_COLOR_HOVER (the hovered colour), then OT_COLOR_CHOSEN or
// OT_COLOR_CANCEL with the colour to keep; then it destroys itself and its
// object. Hover indices: a cell 0..39, -1 none, -2 the custom box, -3 the
// automatic box.
#pragma once

#include "Platform/CString.h"
#include "Platform/Gdi.h"
#include "Platform/ToolTipCtrl.h"
#include "Platform/Wnd.h"

#define OT_COLOR_HOVER (WM_USER + 1010)
#define OT_COLOR_POPUPOPEN (WM_USER + 1011)
#define OT_COLOR_POPUPCLOSE (WM_USER + 1012)
#define OT_COLOR_CHOSEN (WM_USER + 1013)
#define OT_COLOR_CANCEL (WM_USER + 1014)

class COptionTreeColorPopup : public CWnd {
public:
    COptionTreeColorPopup();
    // Makes and shows the pop-up; a pop-up that could not be made has no window.
    COptionTreeColorPopup(CPoint ptScreen, COLORREF crInitial, COLORREF crAutomatic, CWnd* pNotifyWnd,
                          LPCTSTR lpszAutomaticText, LPCTSTR lpszCustomText);

    static int GetColorCount();
    static COLORREF GetColor(int nIndex);
    static LPCTSTR GetColorName(int nIndex);
    int GetHoverIndex() const { return m_nHover; }
    int GetChosenIndex() const { return m_nChosen; }
    // The cell's rectangle in client coordinates.
    CRect GetCellRect(int nIndex) const;
    CRect GetAutomaticBox() const { return m_rcAutomatic; }
    CRect GetCustomBox() const { return m_rcCustom; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    DECLARE_MESSAGE_MAP()

private:
    void Layout(CPoint ptScreen);
    void MakeTooltips();
    int IndexAt(CPoint point) const;
    void Hover(int nIndex);
    int KeyTarget(UINT nChar) const;
    void End(bool chosen);
    void Report(UINT message, COLORREF color);
    void DrawCell(CDC* pDC, int nIndex);
    void DrawAutomatic(CDC* pDC);
    void DrawCustom(CDC* pDC);
    CRect BoxOf(int nIndex) const;

    int m_nColumns = 8;
    int m_nRows = 5;
    int m_nBoxSize = 18;
    int m_nMargin = 2;
    int m_nHover = -1;
    int m_nChosen = -1;
    CString m_strAutomatic;
    CString m_strCustom;
    CRect m_rcCustom;
    CRect m_rcAutomatic;
    CRect m_rcWindow;
    CFont m_font;
    COLORREF m_crInitial = 0;
    COLORREF m_crCurrent = 0;
    COLORREF m_crAutomatic = 0;
    CToolTipCtrl m_tooltip;
    HWND m_hNotify = nullptr;
    BOOL m_bDialogOpen = FALSE;
    bool m_bEnded = false;
};
