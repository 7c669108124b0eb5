// CEdit: the edit control. Its class procedure gives the default behaviour
// on a Qt line edit (a text edit with ES_MULTILINE), so keys and the mouse
// reach the control's message map first and the control acts on what the
// map leaves to DefWindowProc. The Qt widget never holds Qt's focus and
// lets the mouse through: all input arrives as messages.
// Positions (EM_GETSEL, EM_SETSEL) count bytes of the UTF-8 text and never
// split a character. The modified flag is set by typing and editing
// commands and cleared by WM_SETTEXT; EN_CHANGE follows every change of the
// text, EN_MAXTEXT a typed character refused by the limit. Ctrl+C, X, V and
// Z act when their characters (WM_CHAR 3, 24, 22, 26) reach the control, so
// a control that swallows typing swallows them too.
#pragma once

#include "Platform/Wnd.h"

#define ES_LEFT 0x0000L
#define ES_MULTILINE 0x0004L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_GETLIMITTEXT 0x00D5

// The class name CEdit::Create uses.
#define WC_EDIT "Edit"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Selection from nStartChar up to nEndChar; -1 as start removes it, -1
    // as end runs to the end of the text.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    // Start in the low word, end in the high word.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    BOOL CanUndo() const;
    BOOL Undo();
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    // 0 lifts the limit.
    void LimitText(int nChars = 0);
    UINT GetLimitText() const;

    void Cut();
    void Copy();
    void Paste();
    void Clear();
};
