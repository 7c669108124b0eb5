// CStatic: the static text control. Its class procedure paints the text
// on the background its parent gives (WM_CTLCOLORSTATIC) in the window's
// font; with SS_NOTIFY a click reaches the parent as STN_CLICKED.
#pragma once

#include "Platform/Wnd.h"

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_NOPREFIX 0x00000080L

#define WC_STATIC "Static"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
};
