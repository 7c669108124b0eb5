// Dialogs from templates: the window and its controls, the modal run
// through the dialog hook, and the dialog keys.
#include "Platform/Dialog.h"

#include "Platform/Button.h"
#include "Platform/ComboBox.h"
#include "Platform/ControlData.h"
#include "Platform/Cursor.h"
#include "Platform/DialogHook.h"
#include "Platform/Edit.h"
#include "Platform/ListBox.h"
#include "Platform/ResourceBitmaps.h"
#include "Platform/ResourceTable.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/Static.h"
#include "Platform/SysColors.h"
#include "Platform/WinApp.h"

#include <cstring>
#include <vector>
#include <strings.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The predefined classes a template names, with the classes of the layer
// that give their behaviour.
struct PredefinedClass {
    const char* templateName;
    const char* className;
    void (*registerClass)();
};

const PredefinedClass kPredefined[] = {
    { "STATIC", WC_STATIC, RegisterStaticClass },
    { "EDIT", WC_EDIT, RegisterEditClass },
    { "COMBOBOX", WC_COMBOBOX, RegisterComboBoxClass },
    { "LISTBOX", WC_LISTBOX, RegisterListBoxClass },
    { "BUTTON", WC_BUTTON, RegisterButtonClass },
};

const char* ClassOf(const std::string& templateName)
{
    for (const PredefinedClass& c : kPredefined) {
        if (strcasecmp(c.templateName, templateName.c_str()) == 0) {
            c.registerClass();
            return c.className;
        }
    }
    return templateName.c_str();
}

bool ReadTemplate(UINT id, DialogInfo* info)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_DIALOG);
    HRSRC r = module ? FindResource(module, MAKEINTRESOURCE(id), RT_DIALOG) : nullptr;
    return r && ReadDialogTemplate(LockResource(LoadResource(module, r)), SizeofResource(module, r), info);
}

bool IsPushButton(HWND h)
{
    return (::SendMessage(h, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool IsTabStop(HWND h)
{
    CWnd* w = CWnd::FromHandle(h);
    return (w->GetStyle() & WS_TABSTOP) && w->IsWindowVisible() && w->IsWindowEnabled();
}

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CDialog::CreateFromTemplate(UINT nIDTemplate, CWnd* pParentWnd)
{
    DialogInfo info;
    if (m_hWnd || !ReadTemplate(nIDTemplate, &info))
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    const bool systemFont = info.face.empty() || info.face == "System";
    m_baseUnits = DialogBaseUnits(info.face.c_str(), info.pointSize);
    m_font.DeleteObject();
    if (!systemFont) {
        LOGFONT lf{};
        lf.lfHeight = -MulDiv(info.pointSize, 96, 72);
        lf.lfWeight = FW_NORMAL;
        std::strncpy(lf.lfFaceName, info.face.c_str(), LF_FACESIZE - 1);
        m_font.CreateFontIndirect(&lf);
    }

    CRect client = info.rect;
    ::MapDialogRect(m_baseUnits, &client);
    DWORD exStyle = info.exStyle;
    if (info.style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    const DWORD style = info.style & ~WS_VISIBLE;
    CWnd* parent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    if (!(style & WS_CHILD) && parent)
        parent = parent->GetTopLevelParent();
    static LPCTSTR dialogClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(exStyle, dialogClass, info.title.c_str(), style, client.left, client.top, client.Width(),
                  client.Height(), parent ? parent->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    // The template gives the client area; the frame grows around it.
    CRect now;
    GetClientRect(&now);
    CRect outer;
    GetWindowRect(&outer);
    SetWindowPos(nullptr, 0, 0, outer.Width() + client.Width() - now.Width(),
                 outer.Height() + client.Height() - now.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(style & WS_CHILD))
        CenterWindow(parent);
    if (m_font.GetSafeHandle())
        SetFont(&m_font, FALSE);

    for (const DialogItemInfo& item : info.items) {
        CRect r = item.rect;
        ::MapDialogRect(m_baseUnits, &r);
        CWnd control;
        if (!control.CreateEx(item.exStyle, ClassOf(item.className), item.text.c_str(), item.style | WS_CHILD, r,
                              this, item.id))
            continue;
        const HWND h = control.Detach();
        if (m_font.GetSafeHandle())
            ::SendMessage(h, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
        if (item.imageId) {
            if (HINSTANCE module = AfxFindBitmapHandle(item.imageId))
                ::SendMessage(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(::LoadBitmap(module, item.imageId)));
        }
        if (!m_nDefID && (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            m_nDefID = item.id;
    }

    const HWND self = m_hWnd;
    const BOOL setFocus = BOOL(SendMessage(WM_INITDIALOG, 0, 0));
    if (!IsWindow(self))
        return FALSE;
    if (info.style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
        if (setFocus)
            NextDlgCtrl();
    }
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_modal = false;
    return CreateFromTemplate(nIDTemplate, pParentWnd);
}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    m_ended = false;
    if (!CreateFromTemplate(m_nIDTemplate, m_pParentWnd)) {
        m_modal = false;
        return m_ended ? m_nModalResult : -1;
    }
    CWnd* owner = GetOwner();
    const bool ownerWasEnabled = owner && owner->IsWindowEnabled();
    if (ownerWasEnabled)
        owner->EnableWindow(FALSE);
    INT_PTR result = m_nModalResult;
    if (!m_ended) {
        char title[256];
        GetWindowText(title, sizeof title);
        DialogRequest request = { DialogKind::Template, owner, title, "", 0, m_nIDTemplate, this };
        result = AfxRunModal(request, [this]() -> INT_PTR {
            NextDlgCtrl();
            return RunModalLoop(MLF_SHOWONIDLE);
        });
        if (m_ended)
            result = m_nModalResult;
    }
    if (ownerWasEnabled && IsWindow(owner->GetSafeHwnd()))
        owner->EnableWindow(TRUE);
    if (IsWindow(m_hWnd))
        DestroyWindow();
    m_modal = false;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    m_ended = true;
    EndModalLoop(nResult);
    if (IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { ClickButton(IDCANCEL); }

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

LRESULT CDialog::HandleGetDefID(WPARAM, LPARAM) { return LRESULT(GetDefID()); }

LRESULT CDialog::HandleSetDefID(WPARAM wParam, LPARAM)
{
    m_nDefID = UINT(wParam);
    return TRUE;
}

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_baseUnits, lpRect); }

void CDialog::SetDefID(UINT nID) { m_nDefID = nID; }

DWORD CDialog::GetDefID() const { return MAKELONG(WORD(m_nDefID), m_nDefID ? DC_HASDEFID : 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl || !IsWindow(pWndCtrl->GetSafeHwnd()))
        return;
    pWndCtrl->SetFocus();
    if (pWndCtrl->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL)
        pWndCtrl->SendMessage(EM_SETSEL, 0, -1);
}

void CDialog::MoveFocus(bool forward) const
{
    // The newest child is on top: the tab order, the order of creation,
    // runs from the bottom of the z-order up.
    std::vector<HWND> stops;
    for (CWnd* w = GetWindow(GW_CHILD); w; w = w->GetWindow(GW_HWNDNEXT)) {
        if (IsTabStop(w->GetSafeHwnd()))
            stops.insert(stops.begin(), w->GetSafeHwnd());
    }
    if (stops.empty())
        return;
    HWND focus = ::GetFocus();
    while (focus && ::GetParent(focus) != m_hWnd && focus != m_hWnd)
        focus = ::GetParent(focus);
    size_t at = stops.size();
    for (size_t i = 0; i < stops.size(); ++i) {
        if (stops[i] == focus)
            at = i;
    }
    size_t next;
    if (at == stops.size())
        next = forward ? 0 : stops.size() - 1;
    else
        next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    const_cast<CDialog*>(this)->GotoDlgCtrl(CWnd::FromHandle(stops[next]));
}

void CDialog::NextDlgCtrl() const { MoveFocus(true); }

void CDialog::PrevDlgCtrl() const { MoveFocus(false); }

void CDialog::ClickButton(UINT nID)
{
    CWnd* button = GetDlgItem(int(nID));
    if (button && !button->IsWindowEnabled())
        return;
    SendMessage(WM_COMMAND, MAKEWPARAM(WORD(nID), BN_CLICKED), reinterpret_cast<LPARAM>(button ? button->GetSafeHwnd() : nullptr));
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || !m_hWnd || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    const LRESULT wants = ::SendMessage(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg));
    if (wants & DLGC_WANTALLKEYS)
        return FALSE;
    switch (pMsg->wParam) {
    case VK_TAB:
        if (wants & DLGC_WANTTAB)
            return FALSE;
        MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        return TRUE;
    case VK_RETURN:
        if (pMsg->hwnd != m_hWnd && IsPushButton(pMsg->hwnd))
            ClickButton(UINT(::GetDlgCtrlID(pMsg->hwnd)));
        else
            ClickButton(m_nDefID ? m_nDefID : IDOK);
        return TRUE;
    case VK_ESCAPE:
        ClickButton(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(DM_GETDEFID, HandleGetDefID)
    ON_MESSAGE(DM_SETDEFID, HandleSetDefID)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
