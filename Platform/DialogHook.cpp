#include "Platform/DialogHook.h"

#include "Platform/CString.h"
#include "Platform/Resource.h"
#include "Platform/WinApp.h"
#include "Platform/Wnd.h"
#include "Platform/WndData.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

DialogHook& Hook()
{
    static DialogHook hook;
    return hook;
}

bool Headless() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

std::vector<int> Buttons(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE: return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL: return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO: return { IDYES, IDNO };
    case MB_RETRYCANCEL: return { IDRETRY, IDCANCEL };
    default: return { IDOK };
    }
}

int DefaultButton(UINT type)
{
    const std::vector<int> buttons = Buttons(type);
    const size_t index = (type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0];
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    QMessageBox box;
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    box.setWindowTitle(QString::fromUtf8(caption));
    box.setText(QString::fromUtf8(text));
    if (QWidget* parent = WndFrameWidget(owner))
        box.setParent(parent->window(), Qt::Dialog);
    static const char* const labels[] = { "", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No" };
    std::vector<std::pair<QAbstractButton*, int>> map;
    const int preferred = DefaultButton(type);
    for (int id : Buttons(type)) {
        QPushButton* b = box.addButton(labels[id], id == IDCANCEL || id == IDNO ? QMessageBox::RejectRole
                                                                                : QMessageBox::AcceptRole);
        if (id == preferred)
            box.setDefaultButton(b);
        if (id == IDCANCEL)
            box.setEscapeButton(b);
        map.emplace_back(b, id);
    }
    box.exec();
    for (const auto& [button, id] : map) {
        if (box.clickedButton() == button)
            return id;
    }
    return Buttons(type).size() > 1 ? IDCANCEL : IDOK;
}

} // namespace

DialogHook AfxSetDialogHook(DialogHook hook)
{
    DialogHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

INT_PTR AfxRunModal(DialogRequest& request, const std::function<INT_PTR()>& show)
{
    INT_PTR answer = 0;
    if (Hook() && Hook()(request, &answer))
        return answer;
    if (Headless())
        return request.kind == DialogKind::MessageBox ? DefaultButton(request.style) : IDCANCEL;
    return show();
}

bool AfxAskDialogHook(DialogRequest& request, INT_PTR* answer)
{
    return Hook() && Hook()(request, answer);
}

bool AfxDialogHookInstalled() { return bool(Hook()); }

bool AfxHeadless() { return Headless(); }

int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType)
{
    const char* caption = lpCaption ? lpCaption : "Error";
    DialogRequest request = { DialogKind::MessageBox, CWnd::FromHandle(hWnd), caption, lpText ? lpText : "",
                              uType, 0, nullptr };
    return int(AfxRunModal(request, [&]() -> INT_PTR { return ShowMessageBox(hWnd, request.text, caption, uType); }));
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    CWnd* main = AfxGetMainWnd();
    return MessageBox(main ? main->GetSafeHwnd() : nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    const CString text = LoadResString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return ::MessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}
