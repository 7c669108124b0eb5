// The image picker popup through the layer's input path: its size and
// cells, the arrow keys, and the single report each way of closing gives.
#include "GridFixture.h"
#include "ImageStrip.h"

#include "Controls/OptionTreeImagePopup.h"
#include "Platform/ImageList.h"
#include "Platform/Messages.h"

#include <vector>

namespace {

// Records the popup's reports.
class Receiver : public CWnd {
public:
    std::vector<int> reports;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == OT_IMAGE_PICKED) {
            reports.push_back(int(lParam));
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct PopupPane : GridFixture {
    Receiver receiver;
    CImageList images;
    CStringArray tips;

    explicit PopupPane(int count)
    {
        EXPECT_TRUE(receiver.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &owner, 7));
        images.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 100);
        std::vector<COLORREF> colours;
        for (int i = 0; i < count; ++i) {
            colours.push_back(RGB(40 * i, 255 - 30 * i, 128));
            tips.Add("tip");
        }
        if (count > 0) {
            CBitmap strip;
            MakeImageStrip(strip, 16, colours);
            images.Add(&strip, RGB(255, 0, 255));
        }
    }
    COptionTreeImagePopup* Open(int selected, int columns = 3)
    {
        new COptionTreeImagePopup(CPoint(400, 300), 16, 16, columns, &images, &grid, tips, selected, &receiver);
        return dynamic_cast<COptionTreeImagePopup*>(CWnd::GetCapture());
    }
    static CPoint Screen(CWnd* popup, CPoint client)
    {
        popup->ClientToScreen(&client);
        return client;
    }
};

TEST(ImagePopup, TheWindowHoldsRowsOfCellsWithTenPixelGaps)
{
    struct Case {
        int images;
        int columns;
        int rows;
        int usedColumns;
    };
    const Case cases[] = { { 7, 3, 3, 3 }, { 6, 3, 2, 3 }, { 7, 0, 3, 3 }, { 4, -2, 2, 3 }, { 0, 4, 4, 4 },
                           { 1, 1, 1, 1 } };
    for (const Case& c : cases) {
        PopupPane p(c.images);
        COptionTreeImagePopup* popup = p.Open(0, c.columns);
        ASSERT_NE(nullptr, popup);
        CRect window;
        popup->GetWindowRect(&window);
        EXPECT_EQ(CRect(400, 300, 400 + c.usedColumns * 26 + 10, 300 + c.rows * 26 + 10), window) << c.images;
        EXPECT_EQ(c.rows, popup->GetRows());
        if (c.images > 1) {
            EXPECT_EQ(CRect(36, 10, 52, 26), popup->GetCellRect(1));
        }
        PlayKey(VK_ESCAPE);
        if (c.images == 0)
            PlayMouse(WM_LBUTTONUP, CPoint(10, 10));
        EXPECT_EQ(std::vector<int>{ 0 }, p.receiver.reports) << c.images;
        EXPECT_EQ(nullptr, CWnd::GetCapture());
    }
}

TEST(ImagePopup, ArrowKeysMoveWithinTheImages)
{
    struct Case {
        int start;
        UINT key;
        int selected;
    };
    const Case cases[] = { { 4, VK_DOWN, 4 }, { 3, VK_DOWN, 6 }, { 2, VK_UP, 2 }, { 3, VK_UP, 0 },
                           { 0, VK_LEFT, 0 }, { 3, VK_LEFT, 2 }, { 6, VK_RIGHT, 6 }, { 2, VK_RIGHT, 3 },
                           { -1, VK_RIGHT, -1 }, { -1, VK_DOWN, -1 }, { 9, VK_LEFT, 8 }, { 9, VK_RIGHT, 9 } };
    for (const Case& c : cases) {
        PopupPane p(7);
        COptionTreeImagePopup* popup = p.Open(c.start);
        ASSERT_NE(nullptr, popup);
        PlayKey(c.key);
        EXPECT_EQ(c.selected, popup->GetSelected()) << c.start << " " << c.key;
        PlayMouse(WM_LBUTTONUP, CPoint(5, 5));
    }
}

TEST(ImagePopup, ClosingReportsOnceThePickOrTheOpeningIndex)
{
    enum End { Enter, Escape, ClickCell, ClickOutside, ClickRing, ClickGap };
    struct Case {
        End end;
        std::vector<int> reports;
        bool open;  // still open afterwards
    };
    const Case cases[] = {
        { Enter, { 2 }, false },        // the arrowed index is picked
        { Escape, { 1 }, false },       // the arrowed index is dropped
        { ClickCell, { 5 }, false },
        { ClickOutside, { 1 }, false },
        { ClickRing, { 2 }, false },    // the ring around the selected cell
        { ClickGap, {}, true },         // the same ring around another cell
    };
    for (const Case& c : cases) {
        PopupPane p(7);
        COptionTreeImagePopup* popup = p.Open(1);
        ASSERT_NE(nullptr, popup);
        PlayKey(VK_RIGHT);
        switch (c.end) {
        case Enter:
            PlayKey(VK_RETURN);
            break;
        case Escape:
            PlayKey(VK_ESCAPE);
            break;
        case ClickCell:
            p.Click(PopupPane::Screen(popup, popup->GetCellRect(5).CenterPoint()));
            break;
        case ClickOutside:
            p.Click(CPoint(5, 5));
            break;
        case ClickRing:
            p.Click(PopupPane::Screen(popup, popup->GetCellRect(2).TopLeft() + CPoint(-2, -2)));
            break;
        case ClickGap:
            p.Click(PopupPane::Screen(popup, popup->GetCellRect(3).TopLeft() + CPoint(-2, -2)));
            break;
        }
        EXPECT_EQ(c.reports, p.receiver.reports) << c.end;
        EXPECT_EQ(c.open, CWnd::GetCapture() == popup) << c.end;
        if (c.open)
            PlayKey(VK_ESCAPE);
    }
}

TEST(ImagePopup, LosingTheFocusReportsNothingAndTheCaptureComesBack)
{
    PopupPane p(3);
    COptionTreeImagePopup* popup = p.Open(0);
    ASSERT_NE(nullptr, popup);
    popup->SendMessage(WM_KILLFOCUS, 0);
    EXPECT_TRUE(p.receiver.reports.empty());
    EXPECT_NE(popup, CWnd::GetCapture());
    PlayMouse(WM_MOUSEMOVE, PopupPane::Screen(popup, popup->GetCellRect(2).CenterPoint()));
    EXPECT_EQ(popup, CWnd::GetCapture());
    PlayKey(VK_RIGHT);
    PlayKey(VK_RETURN);
    EXPECT_EQ(std::vector<int>{ 1 }, p.receiver.reports);
}

} // namespace
