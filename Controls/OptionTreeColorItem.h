// COptionTreeColorItem: the row of a colour, drawn as a swatch and the
// colour as text ("RGB (r, g, b)", or "#RRGGBB" with OT_COLOR_HEXTEXT).
// While edited, its swatch window covers the value column; a click on it
// opens the colour pop-up. A chosen colour commits with notification; a
// cancel keeps the colour the pop-up reports (the one it opened with);
// with OT_COLOR_LIVE the row follows the hovered colour meanwhile.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/Wnd.h"

#define OT_COLOR_LIVE 0x400
#define OT_COLOR_HEXTEXT 0x40000

class COptionTreeColorItem : public CWnd, public COptionTreeItem {
public:
    COptionTreeColorItem();
    ~COptionTreeColorItem() override;

    // 1 when the swatch window was made; 0 outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwOptions, COLORREF crColor, COLORREF crAutomatic);
    COLORREF GetColor() const { return m_crColor; }
    void SetColor(COLORREF crColor) { m_crColor = crColor; }
    COLORREF GetAutomaticColor() const { return m_crAutomatic; }
    void SetAutomaticColor(COLORREF crColor) { m_crAutomatic = crColor; }
    BOOL GetOption(DWORD dwOption) const { return (m_dwOptions & dwOption) != 0; }
    void SetOption(DWORD dwOption, BOOL bSet);
    // The value as the row shows it.
    CString GetColorText() const;

    int GetValueInt() override;
    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopupClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnChosen(WPARAM wParam, LPARAM lParam);
    LRESULT OnCancel(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void DrawColor(CDC* pDC, const CRect& rcValue) const;
    void HideAndUpdate();

    BOOL m_bFocus = FALSE;
    COLORREF m_crColor = 0;
    COLORREF m_crAutomatic = 0;
    DWORD m_dwOptions = 0;
    HWND m_hPopup = nullptr;  // the open pop-up, destroyed with the row's window
};
