// The sizing bar in its dock row: sharing the row's length, splitting a row
// that does not fit, its sizable edges and a bar that has no row.
#include "Controls/SizeControlBar.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A bar of a fixed size that is not a sizing bar (a toolbar, say).
class FixedBar : public CControlBar {
public:
    explicit FixedBar(int length) : m_length(length) {}
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(m_length, 30); }

private:
    int m_length;
};

// Bars docked at the bottom of a 600 by 400 frame, set into rows by hand.
struct Row {
    static constexpr int kWidth = 600;
    CFrameWnd* frame = new CFrameWnd;
    std::vector<std::unique_ptr<CControlBar>> bars;

    Row() { frame->Create(nullptr, "Rows", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, 400)); frame->EnableDocking(CBRS_ALIGN_ANY); }
    ~Row()
    {
        frame->DestroyWindow();
    }
    CSizeControlBar* Sizing(int length, int minimum = 33, UINT side = AFX_IDW_DOCKBAR_BOTTOM)
    {
        auto* bar = new CSizeControlBar;
        bar->Create(nullptr, frame, 100 + UINT(bars.size()), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM);
        bar->EnableDocking(CBRS_ALIGN_ANY);
        bar->m_sizeHorz.cx = bar->m_sizeVert.cy = length;
        bar->m_sizeMinHorz.cx = bar->m_sizeMinVert.cy = minimum;
        frame->DockControlBar(bar, side);
        bars.emplace_back(bar);
        return bar;
    }
    FixedBar* Fixed(int length)
    {
        auto* bar = new FixedBar(length);
        bar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 100 + UINT(bars.size()));
        bar->SetBarStyle(CBRS_ALIGN_BOTTOM);
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
        bars.emplace_back(bar);
        return bar;
    }
    CDockBar* Dock(UINT side = AFX_IDW_DOCKBAR_BOTTOM) const { return static_cast<CDockBar*>(frame->GetControlBar(side)); }
    // All bars of the side in one row, in the order they were made.
    void OneRow(UINT side = AFX_IDW_DOCKBAR_BOTTOM)
    {
        CPtrArray& list = Dock(side)->m_arrBars;
        list.RemoveAll();
        list.Add(nullptr);
        for (auto& bar : bars)
            list.Add(bar.get());
        list.Add(nullptr);
    }
    // The rows as indexes of the bars.
    std::vector<std::vector<int>> Rows() const
    {
        std::vector<std::vector<int>> rows(1);
        const CPtrArray& list = Dock()->m_arrBars;
        for (int i = 1; i < int(list.GetSize()); ++i) {
            if (!list[i]) {
                rows.emplace_back();
                continue;
            }
            for (size_t k = 0; k < bars.size(); ++k) {
                if (bars[k].get() == list[i])
                    rows.back().push_back(int(k));
            }
        }
        rows.pop_back();
        return rows;
    }
    int Length(int index) const { return static_cast<CSizeControlBar*>(bars[size_t(index)].get())->m_sizeHorz.cx; }
};

TEST(SizeControlBar, ARowSharesItsLengthAndSplitsWhereItDoesNotFit)
{
    struct Case {
        const char* name;
        void (*build)(Row&);
        std::vector<std::vector<int>> rows;
        std::vector<int> lengths;  // of the sizing bars, in order; the row's length is 602 plus the overlap
    };
    const Case cases[] = {
        { "one bar takes the whole difference", [](Row& r) { r.Sizing(200); }, { { 0 } }, { 604 } },
        { "two bars share a gain", [](Row& r) { r.Sizing(200); r.Sizing(301); }, { { 0, 1 } }, { 253, 353 } },
        { "two bars share a loss", [](Row& r) { r.Sizing(400); r.Sizing(400); }, { { 0, 1 } }, { 303, 303 } },
        { "a loss stops at a bar's minimum", [](Row& r) { r.Sizing(500); r.Sizing(500, 480); }, { { 0, 1 } }, { 126, 480 } },
        { "a bar below its minimum gives nothing", [](Row& r) { r.Sizing(20); r.Sizing(1000); }, { { 0, 1 } }, { 20, 586 } },
        { "a row split after the negotiating bar",
          [](Row& r) { r.Sizing(300, 250); r.Sizing(300, 250); r.Sizing(300, 250); }, { { 0, 1 }, { 2 } }, { 303, 303, 604 } },
        { "a row split before the negotiating bar",
          [](Row& r) { r.Fixed(400); r.Fixed(400); r.Sizing(200); }, { { 0, 1 }, { 2 } }, { 604 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Row r;
        c.build(r);
        r.OneRow();
        // Fixed bars count with the length their window has, which they
        // get in the first layout.
        for (int i = 0; i < 3; ++i)
            r.frame->RecalcLayout();
        EXPECT_EQ(r.Rows(), c.rows);
        std::vector<int> lengths;
        for (size_t i = 0; i < r.bars.size(); ++i) {
            if (r.bars[i]->IsKindOf(RUNTIME_CLASS(CSizeControlBar)))
                lengths.push_back(r.Length(int(i)));
        }
        EXPECT_EQ(lengths, c.lengths);
    }
}

TEST(SizeControlBar, APaneJustShownKeepsItsLengthWhileOthersGiveWay)
{
    Row r;
    CSizeControlBar* shown = r.Sizing(200);
    r.Sizing(300, 100);
    r.OneRow();
    r.frame->ShowControlBar(shown, FALSE, FALSE);
    EXPECT_EQ(r.Length(1), 604);
    r.frame->ShowControlBar(shown, TRUE, FALSE);
    EXPECT_EQ(r.Length(0), 200);
    EXPECT_EQ(r.Length(1), 406);
}

TEST(SizeControlBar, EdgesAreSizableTowardTheMiddleAndBetweenNeighbours)
{
    Row r;
    CSizeControlBar* first = r.Sizing(200, 33, AFX_IDW_DOCKBAR_TOP);
    CSizeControlBar* second = r.Sizing(200, 33, AFX_IDW_DOCKBAR_TOP);
    r.OneRow(AFX_IDW_DOCKBAR_TOP);
    r.frame->RecalcLayout();
    EXPECT_EQ(first->m_dwSizeFlags & SCBS_EDGEALL, DWORD(SCBS_EDGEBOTTOM | SCBS_EDGERIGHT));
    EXPECT_EQ(second->m_dwSizeFlags & SCBS_EDGEALL, DWORD(SCBS_EDGEBOTTOM | SCBS_EDGELEFT));
    CRect w;
    first->GetWindowRect(&w);
    auto hit = [&](int x, int y) { return first->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(x), WORD(y))); };
    EXPECT_EQ(hit(w.CenterPoint().x, w.bottom - 2), HTBOTTOM);
    EXPECT_EQ(hit(w.right - 2, w.CenterPoint().y), HTRIGHT);
    EXPECT_EQ(hit(w.right - 2, w.bottom - 2), HTBOTTOM);  // the side edge stops short of the corner
    EXPECT_EQ(hit(w.left + 1, w.CenterPoint().y), HTCLIENT);
    EXPECT_EQ(hit(w.CenterPoint().x, w.top + 1), HTCLIENT);

    r.frame->FloatControlBar(second, CPoint(700, 100));
    second->GetWindowRect(&w);
    for (CPoint p : { w.TopLeft(), w.CenterPoint(), CPoint(w.right - 1, w.bottom - 1) })
        EXPECT_EQ(second->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(p.x), WORD(p.y))), HTCLIENT);
}

TEST(SizeControlBar, ABarMissingFromItsDockBarsListHasNoRow)
{
    Row r;
    CSizeControlBar* bar = r.Sizing(200);
    CSizeControlBar* other = r.Sizing(200);
    r.OneRow();
    r.frame->RecalcLayout();
    CPtrArray& list = r.Dock()->m_arrBars;
    list.RemoveAt(r.Dock()->FindBar(bar));
    bar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(bar->m_dwSizeFlags & SCBS_EDGEALL, DWORD(SCBS_EDGETOP));
    const CSize before = bar->m_sizeHorz;
    EXPECT_EQ(bar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), before);
    EXPECT_EQ(bar->m_sizeHorz, before);
    EXPECT_FALSE(bar->ArrangeRow());
    EXPECT_GT(r.Dock()->FindBar(other), 0);
}

TEST(SizeControlBar, FloatingSizeFollowsTheAskedLengthAboveTheMinimum)
{
    CSizeControlBar bar;
    EXPECT_EQ(bar.CalcDynamicLayout(300, LM_HORZ), CSize(300, 200));
    EXPECT_EQ(bar.CalcDynamicLayout(10, LM_HORZ | LM_LENGTHY), CSize(300, 32));
    EXPECT_EQ(bar.CalcDynamicLayout(10, LM_HORZ | LM_MRUWIDTH), CSize(300, 32));
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_HORZ | LM_COMMIT), CSize(300, 32));
}

} // namespace
