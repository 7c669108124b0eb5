// CToolTipCtrl: tips for rectangles of windows. The owner relays its mouse
// messages (RelayEvent); a pointer that rests in a tool's rectangle for the
// initial delay shows the tool's text in a small pop-up below the pointer,
// shown without activation. A button message, leaving the tool or
// deactivating the control hides it. The pop-up's window text is the text
// shown.
#pragma once

#include "Platform/CString.h"
#include "Platform/Wnd.h"

#include <vector>

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool: the rectangle of pWnd's client area (all of it for null)
    // under the id nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    int GetToolCount() const;
    void Activate(BOOL bActivate);
    void RelayEvent(LPMSG lpMsg);
    void Pop();
    // The milliseconds the pointer rests before a tip shows.
    void SetDelayTime(UINT nDelay);

protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    struct Tool {
        HWND wnd;
        UINT_PTR id;
        CRect rect;
        bool wholeClient;
        CString text;
    };
    Tool* Find(HWND wnd, UINT_PTR id);
    int ToolAt(HWND wnd, CPoint point) const;
    void ShowTip();

    std::vector<Tool> m_tools;
    bool m_active = true;
    int m_current = -1;  // the tool under the pointer, -1 for none
    UINT m_delay = 500;
};
