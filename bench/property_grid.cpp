// Refilling a property grid the way the property pane does (60 rows of
// mixed kinds, two type choosers of 2,000 entries each) and painting it.
//   build/bin/bench_property_grid [--benchmark_min_time=0.5]
// Aim: a refill with its paint within 16 ms.
#include "Controls/OptionTree.h"
#include "Controls/OptionTreeCheckBoxItem.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "Controls/OptionTreeTextItem.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRows = 60, kChooserEntries = 2000;

struct Pane {
    CWnd owner;
    COptionTree grid;
    std::vector<std::string> guids;  // the choosers' datum texts

    Pane()
    {
        owner.CreateEx(0, nullptr, "pane", WS_POPUP | WS_VISIBLE, 0, 0, 320, 700, nullptr, nullptr);
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 700), &owner, 0x18, 102, 90);
        for (int i = 0; i < kChooserEntries; ++i) {
            char guid[32];
            std::snprintf(guid, sizeof guid, "GUID-%06d", i);
            guids.emplace_back(guid);
        }
    }

    void Chooser(COptionTreeItem* category, const char* label)
    {
        auto* row = new COptionTreeComboBoxItem;
        grid.InsertItem(row, category);
        if (!row->CreateEditor())
            return;
        row->SetLabelText(label);
        row->SetKey(label);
        row->AddString("");
        for (int i = 0; i < kChooserEntries; ++i) {
            const int at = row->AddString(guids[size_t(i)].c_str() + 5);
            row->SetItemData(at, reinterpret_cast<DWORD_PTR>(guids[size_t(i)].c_str()));
        }
        row->SetCurSel(kChooserEntries / 2);
    }

    void Refill()
    {
        grid.SetAutoRedraw(FALSE);
        grid.DeleteAllItems();
        COptionTreeItem* categories[3];
        const char* labels[3] = { "Base properties", "Extended properties", "Symbol Property" };
        for (int c = 0; c < 3; ++c) {
            categories[c] = new COptionTreeItem;
            grid.InsertItem(categories[c]);
            categories[c]->SetLabelText(labels[c]);
        }
        Chooser(categories[0], "Type");
        Chooser(categories[1], "Stereotype");
        for (int i = 0; i < kRows - 2; ++i) {
            COptionTreeItem* category = categories[i % 3];
            char label[32];
            std::snprintf(label, sizeof label, "Property %d", i);
            switch (i % 5) {
            case 0: {
                auto* row = new COptionTreeEditItem;
                grid.InsertItem(row, category);
                if (row->CreateEditor(0, 0))
                    row->SetWindowText("A value of the element");
                row->SetLabelText(label);
                break;
            }
            case 1: {
                auto* row = new COptionTreeEditItem;
                grid.InsertItem(row, category);
                if (row->CreateEditor(0x200, 0))
                    row->SetValue(i);
                row->SetLabelText(label);
                break;
            }
            case 2: {
                auto* row = new COptionTreeCheckBoxItem;
                grid.InsertItem(row, category);
                if (row->CreateEditor(i % 2, 0x400))
                    row->SetCheckText("Yes", "No");
                row->SetLabelText(label);
                break;
            }
            case 3: {
                auto* row = new COptionTreeColorItem;
                grid.InsertItem(row, category);
                row->CreateEditor(0x40000, RGB(i, 2 * i, 255 - i), RGB(243, 242, 255));
                row->SetLabelText(label);
                break;
            }
            default: {
                auto* row = new COptionTreeTextItem;
                grid.InsertItem(row, category);
                row->SetLabelText(label);
                row->SetText("AAAA-BBBB-CCCC");
                row->Init(0);
                break;
            }
            }
        }
        for (COptionTreeItem* category : categories)
            category->Expand(TRUE);
        grid.SetAutoRedraw(TRUE);
    }
};

Pane* g_pane = nullptr;

void BM_RefillAndPaint(benchmark::State& state)
{
    for (auto _ : state)
        g_pane->Refill();
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RefillAndPaint)->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state)
{
    g_pane->Refill();
    for (auto _ : state)
        g_pane->grid.Repaint();
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Pane pane;
    g_pane = &pane;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
