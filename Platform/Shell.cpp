#include "Platform/Shell.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

namespace {

ShellOpenHook& Hook()
{
    static ShellOpenHook hook;
    return hook;
}

} // namespace

CString GuessUrl(LPCTSTR text)
{
    const QUrl url = QUrl::fromUserInput(QString::fromUtf8(text ? text : ""));
    if (!url.isValid())
        return CString();
    return CString(url.toString(QUrl::FullyEncoded).toUtf8().constData());
}

BOOL ShellOpenUrl(LPCTSTR url)
{
    if (Hook())
        return Hook()(url ? url : "") ? TRUE : FALSE;
    return QDesktopServices::openUrl(QUrl(QString::fromUtf8(url ? url : ""), QUrl::StrictMode)) ? TRUE : FALSE;
}

ShellOpenHook AfxSetShellOpenHook(ShellOpenHook hook)
{
    ShellOpenHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

CString GetDesktopFolder()
{
    return CString(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toUtf8().constData());
}
