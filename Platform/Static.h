// CStatic: the static text control. Its class procedure paints the text
// on the background its parent gives (WM_CTLCOLORSTATIC) in the window's
// font; with SS_NOTIFY a click reaches the parent as STN_CLICKED, without
// it the mouse passes through to the parent's own handlers. With
// SS_BITMAP it shows the bitmap STM_SETIMAGE gave it (which it does not
// own) at its top-left corner and takes the bitmap's size.
#pragma once

#include "Platform/Wnd.h"

#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define SS_RIGHT 0x0002L
#define SS_BITMAP 0x000EL
#define SS_TYPEMASK 0x001FL
#define SS_NOPREFIX 0x0080L
#define SS_NOTIFY 0x0100L
#define SS_CENTERIMAGE 0x0200L

#define IMAGE_BITMAP 0
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173

#define WC_STATIC "Static"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
    // The previous bitmap.
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};
