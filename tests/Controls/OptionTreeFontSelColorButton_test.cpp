// The colour drop-down button: the popup it opens, the reports its parent
// hears in order, track selection, and its picture in each state.
#include "PngFile.h"

#include "Controls/OptionTreeFontSelColorButton.h"
#include "Platform/Messages.h"
#include "Platform/Playback.h"
#include "Platform/SysColors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Notes each report of the button as "message-WM_USER colour id".
class Parent : public CWnd {
public:
    Log log;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= OT_COLOR_HOVER && message <= OT_COLOR_CANCEL) {
            char line[64];
            std::snprintf(line, sizeof line, "%u %06lX %ld", unsigned(message - WM_USER), static_cast<unsigned long>(wParam),
                          static_cast<long>(lParam));
            log.push_back(line);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct ButtonPane {
    Parent parent;
    COptionTreeFontSelColorButton button;
    ButtonPane()
    {
        EXPECT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 300, 200, 200, 80, nullptr, nullptr));
        EXPECT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 130, 32), &parent, 143));
    }
    COptionTreeColorPopup* Open()
    {
        CRect r;
        button.GetWindowRect(&r);
        PlayMouse(WM_LBUTTONDOWN, r.CenterPoint());
        PlayMouse(WM_LBUTTONUP, r.CenterPoint());
        return dynamic_cast<COptionTreeColorPopup*>(CWnd::GetCapture());
    }
    static CPoint Cell(COptionTreeColorPopup* popup, int index)
    {
        CPoint center = popup->GetCellRect(index).CenterPoint();
        popup->ClientToScreen(&center);
        return center;
    }
};

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

} // namespace

TEST(ColorButton, AChosenColourIsKeptAndReportedInOrder)
{
    ButtonPane p;
    p.button.SetColor(RGB(255, 0, 0));
    COptionTreeColorPopup* popup = p.Open();
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(p.button.IsTracking());
    CRect button, window;
    p.button.GetWindowRect(&button);
    popup->GetWindowRect(&window);
    EXPECT_EQ(CPoint(button.left, button.bottom), window.TopLeft());

    const COLORREF blue = COptionTreeColorPopup::GetColor(13);
    PlayMouse(WM_MOUSEMOVE, ButtonPane::Cell(popup, 13));
    PlayMouse(WM_LBUTTONDOWN, ButtonPane::Cell(popup, 13));
    PlayMouse(WM_LBUTTONUP, ButtonPane::Cell(popup, 13));
    EXPECT_EQ(blue, p.button.GetColor());
    EXPECT_FALSE(p.button.IsTracking());
    const Log expected = { "1011 " + Hex(RGB(255, 0, 0)) + " 143", "1010 " + Hex(blue) + " 143",
                           "1012 " + Hex(blue) + " 143", "1013 " + Hex(blue) + " 143",
                           "1010 " + Hex(blue) + " 143" };
    EXPECT_EQ(expected, p.parent.log);

    // The colour that was already set: no change reported.
    p.parent.log.clear();
    popup = p.Open();
    ASSERT_NE(nullptr, popup);
    PlayMouse(WM_LBUTTONDOWN, ButtonPane::Cell(popup, 13));
    PlayMouse(WM_LBUTTONUP, ButtonPane::Cell(popup, 13));
    const Log same = { "1011 " + Hex(blue) + " 143", "1012 " + Hex(blue) + " 143", "1013 " + Hex(blue) + " 143" };
    EXPECT_EQ(same, p.parent.log);
}

TEST(ColorButton, HoverFollowsTheMouseOnlyWithTrackSelectionAndEscRestores)
{
    for (BOOL track : { FALSE, TRUE }) {
        ButtonPane p;
        p.button.SetColor(RGB(255, 0, 0));
        p.button.SetTrackSelection(track);
        COptionTreeColorPopup* popup = p.Open();
        ASSERT_NE(nullptr, popup);
        p.parent.log.clear();
        PlayMouse(WM_MOUSEMOVE, ButtonPane::Cell(popup, 0));
        EXPECT_EQ(track ? COptionTreeColorPopup::GetColor(0) : RGB(255, 0, 0), p.button.GetColor()) << track;
        PlayKey(VK_ESCAPE);
        EXPECT_EQ(RGB(255, 0, 0), p.button.GetColor());
        const std::string red = Hex(RGB(255, 0, 0));
        const Log expected = { "1010 " + Hex(COptionTreeColorPopup::GetColor(0)) + " 143", "1012 " + red + " 143",
                               "1014 " + red + " 143" };
        EXPECT_EQ(expected, p.parent.log) << track;
    }
}

TEST(ColorButton, DataExchangeLoadsAndSavesTheColour)
{
    ButtonPane p;
    COLORREF colour = RGB(12, 34, 56);
    CDataExchange load(&p.parent, FALSE);
    DDX_ColorButton(&load, 143, colour);
    EXPECT_EQ(RGB(12, 34, 56), p.button.GetColor());
    p.button.SetColor(RGB(1, 2, 3));
    CDataExchange save(&p.parent, TRUE);
    DDX_ColorButton(&save, 143, colour);
    EXPECT_EQ(RGB(1, 2, 3), colour);
    DDX_ColorButton(&save, 144, colour);  // no such control
    EXPECT_EQ(RGB(1, 2, 3), colour);
    CButton plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD, CRect(0, 40, 20, 60), &p.parent, 145));
    DDX_ColorButton(&save, 145, colour);  // not a colour button
    EXPECT_EQ(RGB(1, 2, 3), colour);
}

TEST(ColorButton, PictureShowsTheSwatchAndArrowOrAGreyArrowWhenDisabled)
{
    struct Case {
        COLORREF color;
        UINT state;
        COLORREF swatch;  // at the swatch's middle
        const char* file;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        { OT_COLOR_AUTOMATIC, 0, GetSysColor(COLOR_APPWORKSPACE), "color_button_automatic.png" },
        { RGB(0, 128, 0), ODS_FOCUS, RGB(0, 128, 0), "color_button_green_focus.png" },
        { RGB(0, 128, 0), ODS_SELECTED, RGB(0, 128, 0), "color_button_pressed.png" },
        { RGB(0, 128, 0), ODS_DISABLED, face, "color_button_disabled.png" },
    };
    for (const Case& c : cases) {
        CDC screen;
        screen.CreateCompatibleDC(nullptr);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 120, 22));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&bitmap);
        COptionTreeFontSelColorButton button;
        button.SetColor(c.color);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemState = c.state;
        item.hDC = dc.GetSafeHdc();
        item.rcItem = CRect(0, 0, 120, 22);
        button.DrawItem(&item);
        EXPECT_EQ(c.swatch, dc.GetPixel(50, 11)) << c.file;
        // The arrow's middle: inside the face (2) and the edges (2), at its
        // tip's column and the row's middle, moved with a pressed face.
        const int shift = (c.state & ODS_SELECTED) ? 1 : 0;
        const COLORREF arrow = dc.GetPixel(113 + shift, 11 + shift);
        EXPECT_EQ((c.state & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0), arrow) << c.file;
        EXPECT_TRUE(WritePng(dc, 120, 22, c.file));
        dc.SelectObject(old);
    }
}
