// Message map macros. A class declares DECLARE_MESSAGE_MAP() and defines
// its table between BEGIN_MESSAGE_MAP(Class, Base) and END_MESSAGE_MAP().
// Handlers have the classic signatures and are named as in the class
// library (OnPaint, OnLButtonDown, ...); an entry calls the handler that
// name lookup finds in the class that declares the entry, so a handler need
// not be virtual and may be private or protected.
// Macros that pass a device context (ON_WM_ERASEBKGND, ON_WM_CTLCOLOR...)
// or a menu need CDC or CMenu complete where the table is defined.
#pragma once

#include "Platform/CmdTarget.h"
#include "Platform/Messages.h"

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass; \
        static const AFX_MSGMAP_ENTRY vexalEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, nullptr } \
        }; \
        static const AFX_MSGMAP vexalMap = { &TheBaseClass::GetThisMessageMap, vexalEntries }; \
        return &vexalMap; \
    }

// The thunk of one entry: `self` is the target as the declaring class,
// `call` the message being answered.
#define VEXAL_MSG_THUNK(body) \
    [](CCmdTarget* vexalTarget, AFX_MSGCALL& call) -> BOOL { \
        ThisClass* self = static_cast<ThisClass*>(vexalTarget); \
        (void)self; (void)call; \
        body \
    }
#define VEXAL_MSG_ENTRY(msg, code, id, lastId, body) \
    { UINT(msg), UINT(code), UINT(id), UINT(lastId), VEXAL_MSG_THUNK(body) },
#define VEXAL_LPARAM_POINT CPoint(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam))

// WM_CTLCOLORxxx all arrive at one entry, the kind (CTLCOLOR_xxx) as code.
#define WM_CTLCOLOR 0x0019

// Commands and their update handlers.
#define ON_COMMAND(id, fn) VEXAL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, self->fn(); return TRUE;)
#define ON_COMMAND_EX(id, fn) VEXAL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, return self->fn(call.nID);)
#define ON_COMMAND_RANGE(id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, self->fn(call.nID); return TRUE;)
#define ON_COMMAND_EX_RANGE(id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, return self->fn(call.nID);)
#define ON_UPDATE_COMMAND_UI(id, fn) \
    VEXAL_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, \
                    self->fn(static_cast<CCmdUI*>(call.pExtra)); return TRUE;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, \
                    self->fn(static_cast<CCmdUI*>(call.pExtra)); return TRUE;)

// Control notifications (WM_COMMAND from a control) and WM_NOTIFY.
#define ON_CONTROL(code, id, fn) VEXAL_MSG_ENTRY(WM_COMMAND, code, id, id, self->fn(); return TRUE;)
#define ON_CONTROL_RANGE(code, id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_COMMAND, code, id, idLast, self->fn(call.nID); return TRUE;)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_NOTIFY(code, id, fn) \
    VEXAL_MSG_ENTRY(WM_NOTIFY, WORD(code), id, id, \
                    self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return TRUE;)
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_NOTIFY, WORD(code), id, idLast, \
                    self->fn(call.nID, reinterpret_cast<NMHDR*>(call.lParam), &call.result); return TRUE;)
#define ON_NOTIFY_EX(code, id, fn) \
    VEXAL_MSG_ENTRY(WM_NOTIFY, WORD(code), id, id, \
                    return self->fn(call.nID, reinterpret_cast<NMHDR*>(call.lParam), &call.result);)
#define ON_NOTIFY_EX_RANGE(code, id, idLast, fn) \
    VEXAL_MSG_ENTRY(WM_NOTIFY, WORD(code), id, idLast, \
                    return self->fn(call.nID, reinterpret_cast<NMHDR*>(call.lParam), &call.result);)

// Notifications reflected back to the control that sent them.
#define ON_CONTROL_REFLECT(code, fn) \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, self->fn(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(code, fn) \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, return self->fn();)
#define ON_NOTIFY_REFLECT(code, fn) \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, WORD(code), 0, 0, \
                    self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result); return TRUE;)
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, WORD(code), 0, 0, \
                    return self->fn(reinterpret_cast<NMHDR*>(call.lParam), &call.result);)
#define ON_WM_CTLCOLOR_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, \
                    HBRUSH vexalBrush = self->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)), \
                                                       call.nCode); \
                    call.result = reinterpret_cast<LRESULT>(vexalBrush); return vexalBrush != nullptr;)
#define ON_WM_DRAWITEM_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, \
                    self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); call.result = TRUE; return TRUE;)
#define ON_WM_DELETEITEM_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM, 0, 0, 0, \
                    self->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam)); call.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, \
                    self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); call.result = TRUE; return TRUE;)
#define ON_WM_HSCROLL_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0, \
                    self->HScroll(LOWORD(call.wParam), HIWORD(call.wParam)); return TRUE;)
#define ON_WM_VSCROLL_REFLECT() \
    VEXAL_MSG_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0, \
                    self->VScroll(LOWORD(call.wParam), HIWORD(call.wParam)); return TRUE;)

// Any message by number, including private WM_USER + n messages and
// registered ones (the variable is read when the table is first built,
// after static initialisation).
#define ON_MESSAGE(message, fn) \
    VEXAL_MSG_ENTRY(message, 0, 0, 0, call.result = self->fn(call.wParam, call.lParam); return TRUE;)
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) ON_MESSAGE(nMessageVariable, fn)

// Window messages with their unpacked parameters.
#define VEXAL_ON_VOID(msg, call_expr) VEXAL_MSG_ENTRY(msg, 0, 0, 0, self->call_expr; return TRUE;)
#define VEXAL_ON_RESULT(msg, call_expr) \
    VEXAL_MSG_ENTRY(msg, 0, 0, 0, call.result = LRESULT(self->call_expr); return TRUE;)
#define VEXAL_ON_MOUSE(msg, fn) VEXAL_ON_VOID(msg, fn(UINT(call.wParam), VEXAL_LPARAM_POINT))

#define ON_WM_CREATE() VEXAL_ON_RESULT(WM_CREATE, OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)))
#define ON_WM_DESTROY() VEXAL_ON_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_NCDESTROY() VEXAL_ON_VOID(WM_NCDESTROY, OnNcDestroy())
#define ON_WM_SIZE() \
    VEXAL_ON_VOID(WM_SIZE, OnSize(UINT(call.wParam), int(LOWORD(call.lParam)), int(HIWORD(call.lParam))))
#define ON_WM_MOVE() VEXAL_ON_VOID(WM_MOVE, OnMove(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam)))
#define ON_WM_PAINT() VEXAL_ON_VOID(WM_PAINT, OnPaint())
#define ON_WM_ERASEBKGND() \
    VEXAL_ON_RESULT(WM_ERASEBKGND, OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(call.wParam))))
#define ON_WM_NCCALCSIZE() \
    VEXAL_ON_VOID(WM_NCCALCSIZE, \
                  OnNcCalcSize(BOOL(call.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(call.lParam)))
#define ON_WM_NCPAINT() VEXAL_ON_VOID(WM_NCPAINT, OnNcPaint())
#define ON_WM_NCHITTEST() VEXAL_ON_RESULT(WM_NCHITTEST, OnNcHitTest(VEXAL_LPARAM_POINT))
#define ON_WM_NCACTIVATE() VEXAL_ON_RESULT(WM_NCACTIVATE, OnNcActivate(BOOL(call.wParam)))
#define ON_WM_NCMOUSEMOVE() VEXAL_ON_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() VEXAL_ON_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() VEXAL_ON_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() VEXAL_ON_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() VEXAL_ON_MOUSE(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() VEXAL_ON_MOUSE(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_MOUSEMOVE() VEXAL_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() VEXAL_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() VEXAL_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() VEXAL_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() VEXAL_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() VEXAL_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() VEXAL_ON_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() VEXAL_ON_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() VEXAL_ON_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL() \
    VEXAL_ON_RESULT(WM_MOUSEWHEEL, OnMouseWheel(UINT(LOWORD(call.wParam)), short(HIWORD(call.wParam)), \
                                                VEXAL_LPARAM_POINT))
#define ON_WM_SETCURSOR() \
    VEXAL_ON_RESULT(WM_SETCURSOR, OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)), \
                                              UINT(LOWORD(call.lParam)), UINT(HIWORD(call.lParam))))
#define ON_WM_MOUSEACTIVATE() \
    VEXAL_ON_RESULT(WM_MOUSEACTIVATE, OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)), \
                                                      UINT(LOWORD(call.lParam)), UINT(HIWORD(call.lParam))))
#define VEXAL_ON_KEY(msg, fn) \
    VEXAL_ON_VOID(msg, fn(UINT(call.wParam), UINT(LOWORD(call.lParam)), UINT(HIWORD(call.lParam))))
#define ON_WM_KEYDOWN() VEXAL_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() VEXAL_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() VEXAL_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() VEXAL_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() VEXAL_ON_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() VEXAL_ON_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_GETDLGCODE() VEXAL_ON_RESULT(WM_GETDLGCODE, OnGetDlgCode())
#define ON_WM_SETFOCUS() VEXAL_ON_VOID(WM_SETFOCUS, OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))))
#define ON_WM_KILLFOCUS() \
    VEXAL_ON_VOID(WM_KILLFOCUS, OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))))
#define ON_WM_ENABLE() VEXAL_ON_VOID(WM_ENABLE, OnEnable(BOOL(call.wParam)))
#define ON_WM_SHOWWINDOW() VEXAL_ON_VOID(WM_SHOWWINDOW, OnShowWindow(BOOL(call.wParam), UINT(call.lParam)))
#define ON_WM_SYSCOLORCHANGE() VEXAL_ON_VOID(WM_SYSCOLORCHANGE, OnSysColorChange())
#define ON_WM_SETTINGCHANGE() \
    VEXAL_ON_VOID(WM_SETTINGCHANGE, OnSettingChange(UINT(call.wParam), reinterpret_cast<LPCTSTR>(call.lParam)))
#define ON_WM_HSCROLL() \
    VEXAL_ON_VOID(WM_HSCROLL, OnHScroll(UINT(LOWORD(call.wParam)), UINT(HIWORD(call.wParam)), \
                                        static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)))))
#define ON_WM_VSCROLL() \
    VEXAL_ON_VOID(WM_VSCROLL, OnVScroll(UINT(LOWORD(call.wParam)), UINT(HIWORD(call.wParam)), \
                                        static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)))))
#define ON_WM_TIMER() VEXAL_ON_VOID(WM_TIMER, OnTimer(UINT_PTR(call.wParam)))
#define ON_WM_CAPTURECHANGED() \
    VEXAL_ON_VOID(WM_CAPTURECHANGED, OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam))))
#define ON_WM_CANCELMODE() VEXAL_ON_VOID(WM_CANCELMODE, OnCancelMode())
#define ON_WM_ACTIVATE() \
    VEXAL_ON_VOID(WM_ACTIVATE, OnActivate(UINT(LOWORD(call.wParam)), \
                                          CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)), \
                                          BOOL(HIWORD(call.wParam))))
#define ON_WM_ACTIVATEAPP() VEXAL_ON_VOID(WM_ACTIVATEAPP, OnActivateApp(BOOL(call.wParam), DWORD(call.lParam)))
#define ON_WM_WINDOWPOSCHANGING() \
    VEXAL_ON_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(call.lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
    VEXAL_ON_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(call.lParam)))
#define ON_WM_GETMINMAXINFO() \
    VEXAL_ON_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call.lParam)))
#define ON_WM_STYLECHANGED() \
    VEXAL_ON_VOID(WM_STYLECHANGED, OnStyleChanged(int(call.wParam), reinterpret_cast<LPSTYLESTRUCT>(call.lParam)))
#define ON_WM_CLOSE() VEXAL_ON_VOID(WM_CLOSE, OnClose())
#define ON_WM_SYSCOMMAND() VEXAL_ON_VOID(WM_SYSCOMMAND, OnSysCommand(UINT(call.wParam), call.lParam))
#define ON_WM_CONTEXTMENU() \
    VEXAL_ON_VOID(WM_CONTEXTMENU, OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam)), \
                                                VEXAL_LPARAM_POINT))
#define ON_WM_DRAWITEM() \
    VEXAL_ON_VOID(WM_DRAWITEM, OnDrawItem(int(call.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)))
#define ON_WM_MEASUREITEM() \
    VEXAL_ON_VOID(WM_MEASUREITEM, OnMeasureItem(int(call.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)))
#define ON_WM_MENUCHAR() \
    VEXAL_ON_RESULT(WM_MENUCHAR, OnMenuChar(UINT(LOWORD(call.wParam)), UINT(HIWORD(call.wParam)), \
                                            CMenu::FromHandle(reinterpret_cast<HMENU>(call.lParam))))
#define ON_WM_INITMENUPOPUP() \
    VEXAL_ON_VOID(WM_INITMENUPOPUP, OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam)), \
                                                    UINT(LOWORD(call.lParam)), BOOL(HIWORD(call.lParam))))
#define ON_WM_CTLCOLOR() \
    VEXAL_MSG_ENTRY(WM_CTLCOLOR, 0, 0, 0, \
                    call.result = reinterpret_cast<LRESULT>(self->OnCtlColor( \
                        CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)), \
                        CWnd::FromHandle(reinterpret_cast<HWND>(call.lParam)), call.nCode)); \
                    return TRUE;)
#define ON_WM_QUERYNEWPALETTE() VEXAL_ON_RESULT(WM_QUERYNEWPALETTE, OnQueryNewPalette())
#define ON_WM_PALETTECHANGED() \
    VEXAL_ON_VOID(WM_PALETTECHANGED, OnPaletteChanged(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))))
