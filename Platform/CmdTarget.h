// CCmdTarget: an object that answers messages and commands through its
// message map.
// A message map is a static table per class (built by BEGIN_MESSAGE_MAP in
// Platform/MessageMap.h) chained to its base class's table. Each entry names
// the message, the notification code and the id range it answers, and a
// thunk that unpacks the call's parameters and calls the handler of the
// class that declared the entry. Lookups walk the chain from the most
// derived table; the first matching entry wins.
#pragma once

#include "Platform/Object.h"

class CCmdTarget;
class CCmdUI;

// One call through a message map: the raw message, the command's id and
// code, the extra data a command carries, and the result a handler leaves.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    UINT nCode;
    void* pExtra;
    LRESULT result;
};

// Returns whether the call was handled; only the "_EX" entries can refuse.
typedef BOOL (*AFX_PMSGTHUNK)(CCmdTarget* target, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

// The extra data of a WM_NOTIFY routed as a command.
struct AFX_NOTIFY {
    LRESULT* pResult;
    struct NMHDR* pNMHDR;
};

// Command codes routed through OnCmdMsg: CN_COMMAND for menu, accelerator
// and toolbar commands, CN_UPDATE_COMMAND_UI for update requests; control
// notifications pass their own code, and MAKELONG(code, message) selects
// WM_NOTIFY or a reflected message.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Finds and calls the handler for a command id and code; true when one
    // handled it. With pHandlerInfo only reports whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of this object's message map chain that answers the message.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Stands for a command's user-interface item (menu item, toolbar button,
// control) while an update handler decides its state.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    class CMenu* m_pMenu = nullptr;
    class CMenu* m_pSubMenu = nullptr;
    class CWnd* m_pOther = nullptr;
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    // Lets the update request go on to the next target of the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks pTarget's route; with no handler at all the item is disabled
    // when bDisableIfNoHandler is set. True when some handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// Records what an update handler decided without touching any item: used
// to refuse a disabled command before it is routed.
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn = TRUE) override { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};
