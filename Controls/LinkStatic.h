// CLinkStatic: a static text control shown as a link: underlined, in the
// unvisited, visited or hover colour by its state, with a hand cursor. A
// click opens the link (web, mail and file links only) and marks it
// visited; the link can be saved as a link file on the desktop. The shown
// text is the window text; the target is SetLink's.
#pragma once

#include "Platform/CString.h"
#include "Platform/Cursor.h"
#include "Platform/Dc.h"
#include "Platform/Gdi.h"
#include "Platform/Static.h"

class CLinkStatic : public CStatic {
public:
    enum State { Unvisited = 0, Visited = 1, Hover = 2 };

    void SetLink(LPCTSTR lpszLink) { m_strLink = lpszLink; }
    CString GetLink() const { return m_strLink; }
    void SetLinkEnabled(BOOL bEnabled);
    void SetUnvisitedColor(const COLORREF& color);
    void SetVisitedColor(const COLORREF& color);
    void SetHoverColor(const COLORREF& color);
    void SetTrackHover(BOOL bTrack) { m_bTrackHover = bTrack; }
    void SetDefaultCursor(BOOL bDefault) { m_bDefaultCursor = bDefault; }
    State GetState() const { return m_nState; }
    // The colour the text is drawn in now.
    COLORREF TextColor() const;

    // TRUE when the link was handed to the desktop's handler.
    BOOL OpenLink();
    // Writes a link file named by the window text (cleaned of separators,
    // leading dots and control characters) into the desktop folder, never
    // over an existing file; TRUE when written.
    BOOL SaveToDesktop();
    // There is no favourites folder here: always FALSE.
    BOOL SaveToFavorites();
    // The file name SaveToDesktop starts from, without its extension.
    static CString CleanFileName(LPCTSTR lpszText);

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void Update();

    CString m_strLink;
    HCURSOR m_hLinkCursor = LoadCursor(nullptr, IDC_HAND);
    HCURSOR m_hNoLinkCursor = nullptr;
    COLORREF m_crUnvisited = RGB(0, 0, 255);
    COLORREF m_crVisited = RGB(128, 0, 128);
    COLORREF m_crHover = RGB(255, 0, 0);
    BOOL m_bTrackHover = TRUE;
    State m_nState = Unvisited;
    State m_nStateBeforeHover = Unvisited;
    BOOL m_bDefaultCursor = FALSE;
    CFont m_fontUnderline;
    BOOL m_bLinkEnabled = TRUE;
};
