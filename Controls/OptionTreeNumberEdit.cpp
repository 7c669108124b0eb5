#include "Controls/OptionTreeNumberEdit.h"

#include "Controls/OptionTreeSpinnerWnd.h"
#include "Platform/Clipboard.h"
#include "Platform/Menu.h"
#include "Platform/Messages.h"

BEGIN_MESSAGE_MAP(COptionTreeNumberEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChange)
    ON_WM_KILLFOCUS()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

bool COptionTreeNumberEdit::Editable() const { return m_pSpinner && m_pSpinner->GetOption(OT_SPINNER_EDITABLE); }

// Up and Down step the spinner, then reach the edit as every key does.
void COptionTreeNumberEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_pSpinner && (nChar == VK_UP || nChar == VK_DOWN))
        m_pSpinner->SendMessage(nChar == VK_UP ? OT_SPINNER_UP : OT_SPINNER_DOWN);
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void COptionTreeNumberEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (Editable())
        CEdit::OnChar(nChar, nRepCnt, nFlags);
}

BOOL COptionTreeNumberEdit::OnChange()
{
    if (m_pSpinner && m_pSpinner->GetSafeHwnd())
        m_pSpinner->PostMessage(OT_SPINNER_CHANGED);
    return FALSE;
}

// The commit is sent, not posted: the owner hears it before the grid
// reports the next row, and also when the rows are refilled meanwhile.
void COptionTreeNumberEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    if (m_pSpinner && m_pSpinner->GetSafeHwnd() && pNewWnd && pNewWnd != m_pSpinner)
        m_pSpinner->SendMessage(OT_SPINNER_COMMIT);
}

void COptionTreeNumberEdit::OnContextMenu(CWnd*, CPoint point)
{
    if (!m_pSpinner)
        return;
    const bool editable = Editable();
    int start = 0, end = 0;
    GetSel(start, end);
    const bool selection = start != end;
    auto state = [](bool on) { return UINT(MF_STRING | (on ? 0 : MF_GRAYED)); };
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(state(editable && CanUndo()), EM_UNDO, "&Undo");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(state(editable && selection), WM_CUT, "Cu&t");
    menu.AppendMenu(state(selection), WM_COPY, "&Copy");
    menu.AppendMenu(state(editable && IsClipboardFormatAvailable(CF_TEXT)), WM_PASTE, "&Paste");
    menu.AppendMenu(state(editable && selection), WM_CLEAR, "&Delete");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(state(GetWindowTextLength() > 0), OT_SPINNER_SELECTALL, "Select &All");
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

BOOL COptionTreeNumberEdit::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!Editable())
        return FALSE;
    const UINT command = LOWORD(wParam);
    switch (command) {
    case EM_UNDO:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
        SendMessage(command, 0, 0);
        return TRUE;
    case OT_SPINNER_SELECTALL:
        SetSel(0, -1);
        return TRUE;
    default:
        return CEdit::OnCommand(wParam, lParam);
    }
}
