// Drives the model browser of a started shell the way a user does: mouse
// messages at rows through the desktop's input path, keys to the focused
// window, commands to the browser, and a clock the test moves.
#pragma once

#include "ShellHarness.h"

#include "App/ModelBrowser.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/CommonDialogs.h"
#include "Platform/Playback.h"
#include "Platform/TickCount.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class BrowserDriver {
public:
    explicit BrowserDriver(ShellHarness& shell) : shell_(shell) { SetTickCountSource(Clock); }
    ~BrowserDriver() { SetTickCountSource(nullptr); }

    static DWORD Clock() { return now_; }
    static void Wait(DWORD ms) { now_ += ms; }

    CModelBrowser& Browser() const { return shell_.Frame()->GetModelBrowser(); }

    // The element named so (the first by ID); 0 for none.
    static int Id(const std::string& name)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        int found = 0;
        if (c.SelectByKey("Name", name.c_str()) > 0)
            do
                if (!found || c->ID < found)
                    found = c->ID;
            while (c.Next());
        return found;
    }
    static ModelT Element(int id)
    {
        ModelT row;
        FetchElementById(id, row);
        return row;
    }
    static std::string Name(int id)
    {
        const ModelT row = Element(id);
        return row.Name ? row.Name : "";
    }

    void Paint() const { Browser().UpdateWindow(); }

    const CModelBrowser::Row& RowOf(int id) const
    {
        static const CModelBrowser::Row none{};
        const int index = Browser().RowOf(id);
        return index < 0 ? none : Browser().GetRows()[size_t(index)];
    }
    // Client points of a row: its label and the middle of its expand box.
    POINT Label(int id) const
    {
        const CModelBrowser::Row& r = RowOf(id);
        const CPoint scroll = Browser().GetScrollOffset();
        return POINT{r.textX + 4 - scroll.x, (r.top + r.bottom) / 2 - scroll.y};
    }
    POINT Box(int id) const
    {
        const CModelBrowser::Row& r = RowOf(id);
        const CPoint scroll = Browser().GetScrollOffset();
        return POINT{r.left + 9 - scroll.x, (r.top + r.bottom) / 2 - scroll.y};
    }

    void Mouse(UINT message, POINT client, UINT keys = 0) const
    {
        CPoint p = client;
        Browser().ClientToScreen(&p);
        PlayMouse(message, p, keys);
        shell_.Pump();
    }
    // A press and release at one point, later than any press before.
    void Click(POINT client, UINT keys = 0) const
    {
        Wait(1000);
        Paint();
        Mouse(WM_MOUSEMOVE, client, keys);
        Mouse(WM_LBUTTONDOWN, client, keys);
        Mouse(WM_LBUTTONUP, client, keys);
    }
    // Opens the element's row when it is closed.
    void Expand(int id) const
    {
        Paint();
        if (!(Element(id).ItemState & ITEM_EXPANDED))
            Click(Box(id));
        Paint();
    }
    // Presses on the first row's label, moves after hold milliseconds onto
    // the second and releases there.
    void Drag(int from, int onto, DWORD hold = 200) const
    {
        Wait(1000);
        Paint();
        Mouse(WM_MOUSEMOVE, Label(from));
        Mouse(WM_LBUTTONDOWN, Label(from));
        Wait(hold);
        Mouse(WM_MOUSEMOVE, Label(onto));
        Mouse(WM_LBUTTONUP, Label(onto));
    }

    // A command given as the menu would, with the browser focused.
    void Command(UINT id) const
    {
        Browser().SetFocus();
        shell_.Command(id);
    }
    void Key(UINT vk, UINT keys = 0) const
    {
        Paint();
        shell_.Key(vk, keys);
    }

    std::vector<std::string> Selected() const
    {
        std::vector<std::string> names;
        for (const CModelBrowser::Entry& e : Browser().GetSelection())
            names.push_back(Name(e.id));
        return names;
    }

private:
    ShellHarness& shell_;
    static inline DWORD now_ = 100000;
};
