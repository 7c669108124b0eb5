#include "Platform/CmdTarget.h"

#include "Platform/Menu.h"
#include "Platform/Messages.h"
#include "Platform/Wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, nullptr } };
    static const AFX_MSGMAP map = { nullptr, entries };
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The message and the code travel packed in nCode: MAKELONG(code,
    // message) for notifications and reflections, a plain code for commands.
    UINT message = WM_COMMAND;
    UINT code = UINT(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        message = HIWORD(UINT(nCode));
        code = LOWORD(UINT(nCode));
        if (message == 0)
            message = WM_COMMAND;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }

    AFX_MSGCALL call = { message, 0, 0, nID, code, pExtra, 0 };
    if (nCode == CN_UPDATE_COMMAND_UI) {
        CCmdUI* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        entry->pfn(this, call);
        return !ui->m_bContinueRouting;
    }
    if (message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY) {
        AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
        call.lParam = reinterpret_cast<LPARAM>(notify->pNMHDR);
        call.result = notify->pResult ? *notify->pResult : 0;
        const BOOL handled = entry->pfn(this, call);
        if (notify->pResult)
            *notify->pResult = call.result;
        return handled;
    }
    return entry->pfn(this, call);
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    else if (m_pOther)
        m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    const UINT BM_SETCHECK = 0x00F1;
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    else if (m_pOther)
        m_pOther->SendMessage(BM_SETCHECK, WPARAM(nCheck));
}

void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CCmdUI::SetText(LPCTSTR lpszText)
{
    // An owner-drawn item's text is its owner's; only text items change.
    if (m_pMenu) {
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        if (state != UINT(-1) && !(state & (MF_OWNERDRAW | MF_POPUP | MF_SEPARATOR)))
            m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)),
                                m_nID, lpszText);
    } else if (m_pOther)
        m_pOther->SetWindowText(lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_nID == 0 || !pTarget)
        return TRUE;
    m_bEnableChanged = FALSE;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = { nullptr };
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
