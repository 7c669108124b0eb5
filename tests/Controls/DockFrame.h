// A main window as the shell builds it: a toolbar docked on top and three
// captioned panes docked left, right and bottom, each holding a child that
// fills it; floating panes go into the sizing bars' floating frame. The
// frame stands at a fixed screen place, so screen points are known.
#pragma once

#include "Controls/CoolDockBar.h"
#include "Controls/SCBMiniDockFrameWnd.h"
#include "Controls/ToolBarEx.h"
#include "Platform/DockBar.h"
#include "Platform/DockContext.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/Playback.h"
#include "Platform/SysColors.h"
#include "Platform/WinApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }

// The ids the shell gives its panes.
const UINT kModelBar = 32775, kPropertiesBar = 32774, kMessagesBar = 32776;

class NotifiedFrame : public CFrameWnd {
public:
    std::vector<std::string> notes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        notes.push_back(std::to_string(wParam) + " " + std::to_string(header->idFrom) + " " +
                        std::to_string(int(header->code)));
        *pResult = 7;
        return TRUE;
    }
};

struct DockFrame {
    static constexpr int kLeft = 100, kTop = 80, kWidth = 640, kHeight = 480;

    NotifiedFrame* frame = new NotifiedFrame;
    CToolBar toolbar;
    CCoolDockBar model, properties, messages;
    CWnd children[3];

    explicit DockFrame(int width = kWidth, int height = kHeight)
    {
        frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(kLeft, kTop, kLeft + width, kTop + height));
        toolbar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_BORDER_BOTTOM);
        CCoolDockBar* panes[] = { &model, &messages, &properties };
        const UINT ids[] = { kModelBar, kMessagesBar, kPropertiesBar };
        const COLORREF colours[] = { RGB(255, 255, 255), RGB(255, 255, 224), RGB(224, 240, 255) };
        for (int i = 0; i < 3; ++i) {
            panes[i]->Create(nullptr, frame, ids[i], WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM);
            LPCTSTR cls = AfxRegisterWndClass(0, nullptr, CreateSolidBrush(colours[i]));
            children[i].Create(cls, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), panes[i], ids[i]);
            panes[i]->SetBarStyle(panes[i]->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
            panes[i]->EnableDocking(CBRS_ALIGN_ANY);
        }
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->m_pFloatingFrameClass = RUNTIME_CLASS(CSCBMiniDockFrameWnd);
        frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
        frame->DockControlBar(&model, AFX_IDW_DOCKBAR_LEFT);
        frame->DockControlBar(&properties, AFX_IDW_DOCKBAR_RIGHT);
        frame->DockControlBar(&messages, AFX_IDW_DOCKBAR_BOTTOM);
        frame->RecalcLayout();
    }
    ~DockFrame()
    {
        if (IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
    }

    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(CWnd& w) const
    {
        CRect r;
        w.GetWindowRect(&r);
        frame->ScreenToClient(&r);
        return r;
    }
    CDockBar* DockBar(UINT id) const { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
    // Lays out what is due, as the idle time would.
    void Idle()
    {
        for (int i = 0; i < 3; ++i) {
            frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            for (CWnd* w = frame->GetWindow(GW_HWNDFIRST); w; w = w->GetWindow(GW_HWNDNEXT)) {
                if (w != frame && w->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
                    w->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            }
        }
    }
    bool Picture(const char* name) const { return SavePicture(*frame, name); }
    static bool SavePicture(CWnd& w, const char* name)
    {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
        return SaveWindowPicture(w.GetSafeHwnd(), (std::string(VEXAL_TEST_OUTPUT) + "/" + name).c_str());
    }
};
