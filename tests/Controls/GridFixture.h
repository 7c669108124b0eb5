// A property grid in a top-level owner at a known screen place, filled the
// way the row builders fill the property pane, with the owner's log of
// notifications and its vetoes; input goes through the layer's own path.
#pragma once

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeCheckBoxItem.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "Controls/OptionTreeTextItem.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// Receives the grid's notifications; answers them from `answers` (a
// nonzero answer vetoes).
class GridOwner : public CWnd {
public:
    std::vector<int> codes;
    std::vector<COptionTreeItem*> rows;
    std::map<int, LRESULT> answers;

    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* record = reinterpret_cast<const NMOPTIONTREE*>(lParam);
        codes.push_back(int(record->hdr.code));
        rows.push_back(record->otiItem);
        *pResult = answers.count(int(record->hdr.code)) ? answers[int(record->hdr.code)] : 0;
        return TRUE;
    }
    void Clear()
    {
        codes.clear();
        rows.clear();
    }
};

struct GridFixture {
    GridOwner owner;
    COptionTree grid;

    explicit GridFixture(int height = 320, DWORD options = OT_OPT_SHADEMARGIN | OT_OPT_SHADECATEGORIES)
    {
        EXPECT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 320, height, nullptr, nullptr));
        EXPECT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, height), &owner, options, 102, 90));
        grid.SetNotify(TRUE, &owner);
    }

    COptionTreeItem* Category(const char* label)
    {
        auto* row = new COptionTreeItem;
        grid.InsertItem(row);
        row->SetLabelText(label);
        return row;
    }
    COptionTreeEditItem* Edit(COptionTreeItem* parent, const char* label, const char* text, DWORD options = 0,
                              DWORD styles = 0)
    {
        auto* row = new COptionTreeEditItem;
        grid.InsertItem(row, parent);
        EXPECT_TRUE(row->CreateEditor(options, styles));
        row->SetLabelText(label);
        row->SetKey(label);
        row->SetWindowText(text);
        return row;
    }
    COptionTreeEditItem* Number(COptionTreeItem* parent, const char* label, int value)
    {
        COptionTreeEditItem* row = Edit(parent, label, "", OT_EDIT_NUMERIC);
        row->SetValue(value);
        return row;
    }
    COptionTreeCheckBoxItem* Check(COptionTreeItem* parent, const char* label, BOOL checked,
                                   DWORD options = OT_CHECK_SHOWBOX)
    {
        auto* row = new COptionTreeCheckBoxItem;
        grid.InsertItem(row, parent);
        EXPECT_TRUE(row->CreateEditor(checked, options));
        row->SetLabelText(label);
        row->SetKey(label);
        row->SetCheckText("Yes", "No");
        return row;
    }
    // Entries with a text datum when given one.
    COptionTreeComboBoxItem* Combo(COptionTreeItem* parent, const char* label,
                                   const std::vector<std::pair<const char*, const char*>>& entries, int selected)
    {
        auto* row = new COptionTreeComboBoxItem;
        grid.InsertItem(row, parent);
        EXPECT_TRUE(row->CreateEditor());
        row->SetLabelText(label);
        row->SetKey(label);
        for (const auto& [text, datum] : entries) {
            const int at = row->AddString(text);
            if (datum)
                row->SetItemData(at, reinterpret_cast<DWORD_PTR>(datum));
        }
        row->SetCurSel(selected);
        return row;
    }
    COptionTreeColorItem* Color(COptionTreeItem* parent, const char* label, COLORREF color,
                                DWORD options = OT_COLOR_HEXTEXT)
    {
        auto* row = new COptionTreeColorItem;
        grid.InsertItem(row, parent);
        EXPECT_TRUE(row->CreateEditor(options, color, RGB(243, 242, 255)));
        row->SetLabelText(label);
        return row;
    }
    COptionTreeTextItem* Text(COptionTreeItem* parent, const char* label, const char* text)
    {
        auto* row = new COptionTreeTextItem;
        grid.InsertItem(row, parent);
        row->SetLabelText(label);
        row->SetText(text);
        EXPECT_TRUE(row->Init(0));
        return row;
    }

    CPoint Screen(CPoint client)
    {
        grid.GetListWnd()->ClientToScreen(&client);
        return client;
    }
    // Points on the row as last painted.
    CPoint ValuePoint(COptionTreeItem* row)
    {
        const CRect v = row->GetValueRect();
        return Screen(CPoint(v.left + 20, v.top + v.Height() / 2));
    }
    CPoint LabelPoint(COptionTreeItem* row)
    {
        const long top = row->GetLocation().y - grid.GetScrollOffset();
        return Screen(CPoint(40, top + row->GetHeight() / 2));
    }
    void Click(CPoint screen, UINT flags = 0)
    {
        PlayMouse(WM_LBUTTONDOWN, screen, flags);
        PlayMouse(WM_LBUTTONUP, screen, flags);
    }
    CWnd* Focus() { return CWnd::GetFocus(); }
};
