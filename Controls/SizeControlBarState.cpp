// The sizes of a sizing bar in the profile, section "<profile>-SCBar-<id>".
#include "Controls/SizeControlBar.h"

#include "Platform/CString.h"
#include "Platform/DockState.h"
#include "Platform/FrameWnd.h"
#include "Platform/SysColors.h"
#include "Platform/WinApp.h"

#include <algorithm>

namespace {

const char* const kEntries[] = { "sizeHorzCX", "sizeHorzCY", "sizeVertCX", "sizeVertCY", "sizeFloatCX", "sizeFloatCY" };

CString Section(LPCTSTR profile, UINT id)
{
    CString s;
    s.Format("%.200s-SCBar-%u", profile, id);
    return s;
}

} // namespace

// Each size is at least its minimum and at most the screen, so that a
// hand-edited value makes no window (nor off-screen bitmap) of its size.
void CSizeControlBar::LoadState(LPCTSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    const UINT id = UINT(GetDlgCtrlID());
    // A floating frame comes back at its saved place: the place was saved
    // for a frame with a caption, and this bar's frame drops its own.
    CDockState state;
    state.LoadState(lpszProfileName);
    for (int i = 0; i < int(state.m_arrBarInfo.GetSize()); ++i) {
        auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (!info->m_bFloating)
            continue;
        for (int j = 0; j < int(info->m_arrBarID.GetSize()); ++j) {
            if (UINT(reinterpret_cast<UINT_PTR>(info->m_arrBarID[j])) != id)
                continue;
            info->m_pointPos.x += 1;
            info->m_pointPos.y += GetSystemMetrics(SM_CYSMCAPTION) + 1;
            info->SaveState(lpszProfileName, i);
        }
    }

    const CString section = Section(lpszProfileName, id);
    const CSize screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CSize* sizes[] = { &m_sizeHorz, &m_sizeVert, &m_sizeFloat };
    const CSize* minimums[] = { &m_sizeMinHorz, &m_sizeMinVert, &m_sizeMinFloat };
    for (int k = 0; k < 3; ++k) {
        CSize& size = *sizes[k];
        size.cx = int(app->GetProfileInt(section, kEntries[2 * k], size.cx));
        size.cy = int(app->GetProfileInt(section, kEntries[2 * k + 1], size.cy));
        size.cx = std::clamp<LONG>(size.cx, minimums[k]->cx, std::max<LONG>(screen.cx, minimums[k]->cx));
        size.cy = std::clamp<LONG>(size.cy, minimums[k]->cy, std::max<LONG>(screen.cy, minimums[k]->cy));
    }
}

void CSizeControlBar::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    const CString section = Section(lpszProfileName, UINT(GetDlgCtrlID()));
    const CSize* sizes[] = { &m_sizeHorz, &m_sizeVert, &m_sizeFloat };
    for (int k = 0; k < 3; ++k) {
        app->WriteProfileInt(section, kEntries[2 * k], sizes[k]->cx);
        app->WriteProfileInt(section, kEntries[2 * k + 1], sizes[k]->cy);
    }
}

namespace {

template <class Call>
void ForEachSizingBar(CFrameWnd* frame, Call call)
{
    if (!frame)
        return;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (auto* sizing = DYNAMIC_DOWNCAST(CSizeControlBar, bar))
            call(sizing);
    }
}

} // namespace

void CSizeControlBar::LoadAllBarStates(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    ForEachSizingBar(pFrame, [&](CSizeControlBar* bar) { bar->LoadState(lpszProfileName); });
}

void CSizeControlBar::SaveAllBarStates(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    CProfileWriteBatch batch;
    ForEachSizingBar(pFrame, [&](CSizeControlBar* bar) { bar->SaveState(lpszProfileName); });
}
