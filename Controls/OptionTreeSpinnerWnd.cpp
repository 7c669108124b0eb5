#include "Controls/OptionTreeSpinnerWnd.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

BEGIN_MESSAGE_MAP(COptionTreeSpinnerWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_TIMER()
    ON_WM_MOVE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(OT_SPINNER_CHANGED, OnChanged)
    ON_MESSAGE(OT_SPINNER_UP, OnStepUp)
    ON_MESSAGE(OT_SPINNER_DOWN, OnStepDown)
END_MESSAGE_MAP()

void COptionTreeSpinnerWnd::SetRange(double dMin, double dMax)
{
    m_dMin = dMin;
    m_dMax = dMax;
}

void COptionTreeSpinnerWnd::GetRange(double& dMin, double& dMax) const
{
    dMin = m_dMin;
    dMax = m_dMax;
}

void COptionTreeSpinnerWnd::SetOption(DWORD dwBits, BOOL bOn)
{
    if (bOn)
        m_dwOptions |= dwBits;
    else
        m_dwOptions &= ~dwBits;
}

void COptionTreeSpinnerWnd::SetEditValue(double dValue)
{
    if (!m_ctlEdit.GetSafeHwnd())
        return;
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", dValue);
    m_ctlEdit.SetWindowText(text);
}

void COptionTreeSpinnerWnd::SetEditValue(int nValue)
{
    if (!m_ctlEdit.GetSafeHwnd())
        return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    m_ctlEdit.SetWindowText(text);
}

CString COptionTreeSpinnerWnd::EditText() const
{
    const int length = m_ctlEdit.GetWindowTextLength();
    CString text;
    m_ctlEdit.GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
    return text;
}

BOOL COptionTreeSpinnerWnd::GetEditValue(double& dValue) const
{
    dValue = 0;
    if (!m_ctlEdit.GetSafeHwnd())
        return FALSE;
    dValue = std::atof(EditText());
    return TRUE;
}

BOOL COptionTreeSpinnerWnd::GetEditValue(int& nValue) const
{
    nValue = 0;
    if (!m_ctlEdit.GetSafeHwnd())
        return FALSE;
    nValue = std::atoi(EditText());
    return TRUE;
}

BOOL COptionTreeSpinnerWnd::IsNumericText(LPCTSTR lpszText)
{
    static const char refused[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ`~[]{}-_=+\\|'/?>,<";
    const char* text = lpszText ? lpszText : "";
    return std::strpbrk(text, "1234567890") && !std::strpbrk(text, refused);
}

double COptionTreeSpinnerWnd::Value() const
{
    double value = 0;
    GetEditValue(value);
    return value;
}

BOOL COptionTreeSpinnerWnd::IsUpInactive() const { return !GetOption(OT_SPINNER_WRAP) && Value() >= m_dMax; }

BOOL COptionTreeSpinnerWnd::IsDownInactive() const { return !GetOption(OT_SPINNER_WRAP) && Value() <= m_dMin; }

void COptionTreeSpinnerWnd::StepUp()
{
    const double value = Value();
    if (value + 1 <= m_dMax)
        SetEditValue(value + 1);
    else if (GetOption(OT_SPINNER_WRAP))
        SetEditValue(m_dMin);
}

void COptionTreeSpinnerWnd::StepDown()
{
    const double value = Value();
    if (value - 1 >= m_dMin)
        SetEditValue(value - 1);
    else if (GetOption(OT_SPINNER_WRAP))
        SetEditValue(m_dMax);
}

void COptionTreeSpinnerWnd::Repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

int COptionTreeSpinnerWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    client.right -= 17;
    if (!m_ctlEdit.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL, client, this, 1000))
        return -1;
    m_ctlEdit.SetSel(0, 0);
    m_ctlEdit.SendMessage(EM_SCROLLCARET);
    m_ctlEdit.SetFont(COptionTree::GetNormalFont());
    m_ctlEdit.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    m_ctlEdit.SetSpinner(this);
    int delay = 0;
    UINT speed = 0;
    m_uInitialDelay = SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay, 0) ? UINT(delay + 1) * 250 : 500;
    m_uRepeatInterval = SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed, 0) ? 400 - 12 * speed : 200;
    return 0;
}

BOOL COptionTreeSpinnerWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeSpinnerWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_otSpinnerOption)
        return;
    CRect client;
    GetClientRect(&client);
    const long half = client.Height() / 2;
    m_rcUp = CRect(client.right - 17, client.top, client.right - 2, half);
    m_rcDown = CRect(client.right - 17, half, client.right - 2, client.bottom);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    const UINT up = IsUpInactive() ? DFCS_INACTIVE : m_bUpPressed ? DFCS_PUSHED : 0;
    const UINT down = IsDownInactive() ? DFCS_INACTIVE : m_bDownPressed ? DFCS_PUSHED : 0;
    mem.DrawFrameControl(&m_rcUp, DFC_SCROLL, DFCS_SCROLLUP | up);
    mem.DrawFrameControl(&m_rcDown, DFC_SCROLL, DFCS_SCROLLDOWN | down);
}

void COptionTreeSpinnerWnd::PressAt(CPoint point)
{
    m_bUpPressed = m_bDownPressed = FALSE;
    if (m_rcUp.PtInRect(point)) {
        m_bUpPressed = TRUE;
        StepUp();
    } else if (m_rcDown.PtInRect(point)) {
        m_bDownPressed = TRUE;
        StepDown();
    }
    Repaint();
}

void COptionTreeSpinnerWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_ptPress = point;
    PressAt(point);
    KillTimer(OT_SPINNER_TIMER);
    m_bFirstRepeat = TRUE;
    SetTimer(OT_SPINNER_TIMER, m_uInitialDelay);
    SetCapture();
    CWnd::OnLButtonDown(nFlags, point);
}

void COptionTreeSpinnerWnd::StopRepeat()
{
    KillTimer(OT_SPINNER_TIMER);
    m_bUpPressed = m_bDownPressed = FALSE;
    Repaint();
}

void COptionTreeSpinnerWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    StopRepeat();
    if (GetCapture() == this)
        ReleaseCapture();
    CWnd::OnLButtonUp(nFlags, point);
}

// Losing the capture to another window ends the press as a release would.
void COptionTreeSpinnerWnd::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this && (m_bUpPressed || m_bDownPressed))
        StopRepeat();
    CWnd::OnCaptureChanged(pWnd);
}

void COptionTreeSpinnerWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == OT_SPINNER_TIMER) {
        if (m_bFirstRepeat) {
            SetTimer(OT_SPINNER_TIMER, m_uRepeatInterval);
            m_bFirstRepeat = FALSE;
        }
        PressAt(m_ptPress);
    }
    CWnd::OnTimer(nIDEvent);
}

void COptionTreeSpinnerWnd::PlaceEdit()
{
    if (!m_ctlEdit.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    m_ctlEdit.SetWindowPos(nullptr, client.left, client.top, client.Width() - 17, client.Height(),
                           SWP_NOZORDER | SWP_SHOWWINDOW);
}

void COptionTreeSpinnerWnd::OnMove(int x, int y)
{
    PlaceEdit();
    CWnd::OnMove(x, y);
}

void COptionTreeSpinnerWnd::OnSize(UINT nType, int cx, int cy)
{
    PlaceEdit();
    CWnd::OnSize(nType, cx, cy);
}

void COptionTreeSpinnerWnd::OnDestroy()
{
    if (m_ctlEdit.GetSafeHwnd())
        m_ctlEdit.DestroyWindow();
    CWnd::OnDestroy();
}

LRESULT COptionTreeSpinnerWnd::OnChanged(WPARAM, LPARAM)
{
    Repaint();
    return 0;
}

LRESULT COptionTreeSpinnerWnd::OnStepUp(WPARAM, LPARAM)
{
    StepUp();
    Repaint();
    return 0;
}

LRESULT COptionTreeSpinnerWnd::OnStepDown(WPARAM, LPARAM)
{
    StepDown();
    Repaint();
    return 0;
}
