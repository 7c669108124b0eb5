// COptionTreeSpinnerWnd: a number edit field with an up and a down button
// at its right end (17 pixels). A press on a button steps the value by 1
// and repeats while held: first after the keyboard delay, then at the
// keyboard speed. The press captures the mouse, so a release anywhere ends
// the repeat. Values stay within the range; at a limit stepping stops, or
// with OT_SPINNER_WRAP continues at the other limit. Numbers show without
// decimals. The value is the edit field's text.
#pragma once

#include "Controls/OptionTreeNumberEdit.h"
#include "Platform/CString.h"
#include "Platform/Wnd.h"

class COptionTree;

#define OT_SPINNER_EDITABLE 0x400
#define OT_SPINNER_WRAP 0x40000

#define OT_SPINNER_TIMER 1000
#define OT_SPINNER_COMMIT (WM_USER + 1005)
#define OT_SPINNER_CHANGED (WM_USER + 1006)
#define OT_SPINNER_UP (WM_USER + 1007)
#define OT_SPINNER_DOWN (WM_USER + 1008)
#define OT_SPINNER_SELECTALL (WM_USER + 1009)

class COptionTreeSpinnerWnd : public CWnd {
public:
    void SetRange(double dMin, double dMax);
    void GetRange(double& dMin, double& dMax) const;
    BOOL GetOption(DWORD dwBits) const { return (m_dwOptions & dwBits) != 0; }
    void SetOption(DWORD dwBits, BOOL bOn);
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
    // Doubles as "%.0f", integers as "%d"; nothing without the edit window.
    void SetEditValue(double dValue);
    void SetEditValue(int nValue);
    // 0 and FALSE without the edit window.
    BOOL GetEditValue(double& dValue) const;
    BOOL GetEditValue(int& nValue) const;
    // Holds a digit and no letter, sign or bracket; a point is allowed.
    static BOOL IsNumericText(LPCTSTR lpszText);

    COptionTreeNumberEdit* GetEdit() { return &m_ctlEdit; }
    CRect GetUpButton() const { return m_rcUp; }
    CRect GetDownButton() const { return m_rcDown; }
    UINT GetInitialDelay() const { return m_uInitialDelay; }
    UINT GetRepeatInterval() const { return m_uRepeatInterval; }
    // A button is held: the repeat runs.
    BOOL IsPressed() const { return m_bUpPressed || m_bDownPressed; }
    // Whether each button is drawn inactive now.
    BOOL IsUpInactive() const;
    BOOL IsDownInactive() const;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);
    void OnTimer(UINT_PTR nIDEvent);
    void OnMove(int x, int y);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    LRESULT OnChanged(WPARAM, LPARAM);
    LRESULT OnStepUp(WPARAM, LPARAM);
    LRESULT OnStepDown(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    COptionTree* m_otSpinnerOption = nullptr;

private:
    CString EditText() const;
    double Value() const;
    void StepUp();
    void StepDown();
    // Steps by the button under the press point; repaints.
    void PressAt(CPoint point);
    void StopRepeat();
    void PlaceEdit();
    void Repaint();

    double m_dMax = 100.0;
    double m_dMin = 0.0;
    CRect m_rcUp;
    CRect m_rcDown;
    BOOL m_bDownPressed = FALSE;
    BOOL m_bUpPressed = FALSE;
    CPoint m_ptPress;
    BOOL m_bFirstRepeat = FALSE;
    COptionTreeNumberEdit m_ctlEdit;
    UINT m_uInitialDelay = 0;
    UINT m_uRepeatInterval = 0;
    DWORD m_dwOptions = 0;
};
