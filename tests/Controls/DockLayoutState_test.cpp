// Saving the panes' sizes and the docking layout, and bringing them back
// into a rebuilt main window.
#include "DockFrame.h"

#include "Platform/DockState.h"

#include <memory>

namespace {

const char kProfile[] = "Vexal";

class DockLayoutState : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<CWinApp>("Vexal");
        app->SetRegistryKey("VexalUML");
        for (int i = 0; i < 16; ++i) {
            CString section;
            section.Format("%s-Bar%d", kProfile, i);
            app->WriteProfileString(section, nullptr, nullptr);
        }
        app->WriteProfileString("Vexal-Summary", nullptr, nullptr);
        for (UINT id : { kModelBar, kPropertiesBar, kMessagesBar }) {
            CString section;
            section.Format("%s-SCBar-%u", kProfile, id);
            app->WriteProfileString(section, nullptr, nullptr);
        }
    }
    std::unique_ptr<CWinApp> app;
};

CSCBMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar)
{
    return bar.IsFloating() ? DYNAMIC_DOWNCAST(CSCBMiniDockFrameWnd, bar.GetParentFrame()) : nullptr;
}

TEST_F(DockLayoutState, SizesRowsVisibilityAndAFloatingPlaceComeBack)
{
    CRect floatingPlace;
    CSize floatSize;
    {
        DockFrame f;
        f.model.m_sizeVert.cx = 250;
        f.messages.m_sizeHorz.cy = 120;
        f.frame->FloatControlBar(&f.properties, CPoint(900, 300));
        f.Idle();
        f.frame->ShowControlBar(&f.messages, FALSE, FALSE);
        f.Idle();
        CSCBMiniDockFrameWnd* floating = FloatingFrameOf(f.properties);
        ASSERT_NE(floating, nullptr);
        floating->GetWindowRect(&floatingPlace);
        floatSize = f.properties.m_sizeFloat;
        CSizeControlBar::SaveAllBarStates(f.frame, kProfile);
        f.frame->SaveBarState(kProfile);
    }
    DockFrame g;
    CSizeControlBar::LoadAllBarStates(g.frame, kProfile);
    g.frame->LoadBarState(kProfile);
    g.Idle();
    EXPECT_EQ(g.model.m_sizeVert.cx, 250);
    EXPECT_EQ(g.InFrame(g.model).Width(), 250);
    EXPECT_EQ(g.messages.m_sizeHorz.cy, 120);
    EXPECT_FALSE(g.messages.IsWindowVisible());
    EXPECT_TRUE(g.model.IsWindowVisible());
    CSCBMiniDockFrameWnd* floating = FloatingFrameOf(g.properties);
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    CRect place;
    floating->GetWindowRect(&place);
    EXPECT_EQ(place.TopLeft(), floatingPlace.TopLeft());
    EXPECT_EQ(place.Size(), floatingPlace.Size());
    EXPECT_EQ(g.properties.m_sizeFloat, floatSize);
    // The right dock bar keeps the pane's place for when it docks again.
    CDockBar* right = g.DockBar(AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_GT(right->FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(&g.properties))), 0);
}

TEST_F(DockLayoutState, AbsurdProfileValuesLoadClamped)
{
    CString section;
    section.Format("%s-SCBar-%u", kProfile, kModelBar);
    app->WriteProfileInt(section, "sizeHorzCX", 10);
    app->WriteProfileInt(section, "sizeVertCX", 100000);
    app->WriteProfileInt(section, "sizeVertCY", -5);
    app->WriteProfileInt(section, "sizeFloatCX", 300);
    app->WriteProfileInt("Vexal-Summary", "Bars", 100000);
    app->WriteProfileInt("Vexal-Bar0", "BarID", AFX_IDW_DOCKBAR_LEFT);
    app->WriteProfileInt("Vexal-Bar0", "Bars", 1000000);
    app->WriteProfileInt("Vexal-Bar0", "Bar#0", 0);
    app->WriteProfileInt("Vexal-Bar0", "Bar#1", int(kModelBar));
    app->WriteProfileInt("Vexal-Bar0", "Bar#2", 0x7FFFFFFF);
    app->WriteProfileInt("Vexal-Bar1", "BarID", 0x123456);

    CDockState state;
    state.LoadState(kProfile);
    EXPECT_EQ(state.m_arrBarInfo.GetSize(), CDockState::kMaxBarInfos);
    auto* first = static_cast<CControlBarInfo*>(state.m_arrBarInfo[0]);
    EXPECT_EQ(first->m_nBarID, UINT(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(first->m_arrBarID.GetSize(), 2);  // the bad id skipped, the count bounded
    EXPECT_EQ(static_cast<CControlBarInfo*>(state.m_arrBarInfo[1])->m_nBarID, 0u);

    DockFrame f;
    f.model.LoadState(kProfile);
    EXPECT_EQ(f.model.m_sizeHorz.cx, 33);
    EXPECT_EQ(f.model.m_sizeVert.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(f.model.m_sizeVert.cy, 32);
    EXPECT_EQ(f.model.m_sizeFloat, CSize(300, 200));  // a missing value leaves the size as it was
    f.frame->LoadBarState(kProfile);
    f.Idle();
    EXPECT_TRUE(f.model.IsWindowVisible());
}

TEST_F(DockLayoutState, LoadingSizesMovesTheSavedFloatingPlaceOnce)
{
    app->WriteProfileInt("Vexal-Summary", "Bars", 2);
    app->WriteProfileInt("Vexal-Bar0", "BarID", AFX_IDW_DOCKBAR_FLOAT);
    app->WriteProfileInt("Vexal-Bar0", "Floating", 1);
    app->WriteProfileInt("Vexal-Bar0", "XPos", 400);
    app->WriteProfileInt("Vexal-Bar0", "YPos", 300);
    app->WriteProfileInt("Vexal-Bar0", "Bars", 2);
    app->WriteProfileInt("Vexal-Bar0", "Bar#0", int(kPropertiesBar));
    app->WriteProfileInt("Vexal-Bar0", "Bar#1", 0);
    app->WriteProfileInt("Vexal-Bar1", "BarID", AFX_IDW_DOCKBAR_FLOAT);
    app->WriteProfileInt("Vexal-Bar1", "Floating", 1);
    app->WriteProfileInt("Vexal-Bar1", "XPos", 10);
    app->WriteProfileInt("Vexal-Bar1", "YPos", 20);
    app->WriteProfileInt("Vexal-Bar1", "Bars", 1);
    app->WriteProfileInt("Vexal-Bar1", "Bar#0", int(kModelBar));
    DockFrame f;
    f.properties.LoadState(kProfile);
    EXPECT_EQ(app->GetProfileInt("Vexal-Bar0", "XPos", 0), 401u);
    EXPECT_EQ(app->GetProfileInt("Vexal-Bar0", "YPos", 0), UINT(300 + GetSystemMetrics(SM_CYSMCAPTION) + 1));
    EXPECT_EQ(app->GetProfileInt("Vexal-Bar1", "XPos", 0), 10u);
}

} // namespace
