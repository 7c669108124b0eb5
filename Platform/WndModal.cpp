// Modal loops run on a nested Qt event loop; the same filter and dispatch
// as the main loop apply, with the classic idle messages in between.
#include "Platform/WinApp.h"
#include "Platform/WndData.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

int CWnd::RunModalLoop(DWORD dwFlags)
{
    if (!WndData::From(m_hWnd) || m_modalLoop)
        return -1;
    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalDone = false;
    m_nModalResult = -1;
    HWND self = m_hWnd;
    LPARAM idleCount = 0;
    bool shown = !(dwFlags & MLF_SHOWONIDLE);
    QMetaObject::Connection idle;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        idle = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&]() {
            if (!WndData::From(self) || !ContinueModal())
                return;
            if (!shown) {
                shown = true;
                ShowWindow(SW_SHOWNORMAL);
            }
            if (!(dwFlags & MLF_NOIDLEMSG)) {
                if (CWnd* parent = GetParent())
                    parent->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
            }
            if (!(dwFlags & MLF_NOKICKIDLE) && WndData::From(self))
                SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++);
        });
    }
    if (ContinueModal())
        loop.exec();
    QObject::disconnect(idle);
    m_modalLoop = nullptr;
    return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return m_modalLoop && !m_modalDone; }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    m_modalDone = true;
    if (m_modalLoop)
        m_modalLoop->exit(nResult);
}
