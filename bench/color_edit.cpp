// Typing in the middle of a long text in the colour editor: each keystroke
// colours the whole text again (one run per word), lays the editor out and
// repaints what changed of its 40 visible lines; and a repaint of all 40.
//   build/bin/bench_color_edit [--benchmark_min_time=0.5]
#include "Controls/ColorEdit.h"
#include "Controls/SyntaxColourer.h"
#include "Pub/SyntaxRunCodec.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A run for every word, as a metaclass colours its texts.
class WordColourer : public CSyntaxColourer {
public:
    const char* MakeSyntax(const SymbolT& row, int) override
    {
        static const COLORREF colours[] = { RGB(0, 0, 255), RGB(0, 128, 0), RGB(200, 0, 0) };
        theSyntaxWriter.Reset();
        int word = 0;
        for (int i = 0; row.Text[i]; ++i) {
            const char c = row.Text[i], before = i > 0 ? row.Text[i - 1] : ' ';
            if (c != ' ' && c != '\n' && (before == ' ' || before == '\n'))
                theSyntaxWriter.AddRun(i, colours[word++ % 3]);
        }
        return theSyntaxWriter.GetText();
    }
};

WordColourer theColourer;

CSyntaxColourer* FindWords(const char*)
{
    return &theColourer;
}

const int kVisibleLines = 40;

// An editor showing 40 lines of a text of lines lines of 20 bytes, the caret
// in the middle line.
struct Editor {
    CWnd top;
    CColorEdit edit;

    explicit Editor(int lines)
    {
        top.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 800, nullptr, nullptr);
        LOGFONT font{};
        font.lfHeight = 16;
        std::strcpy(font.lfFaceName, "Arial");
        edit.Create(WS_CHILD | WS_VISIBLE, &top, CRect(0, 0, 0, 0), 1026, 4, font, ColorEditWantReturn | ColorEditVScroll);
        std::string text;
        char line[32];
        for (int i = 0; i < lines; ++i) {
            std::snprintf(line, sizeof line, "item%05d abc defgh\n", i); // 19 bytes and the line feed
            text += line;
        }
        SymbolT row;
        row.Type = "Class";
        edit.GetBuffer().SetSyntaxContext(row);
        const CRect area(0, 0, 380, kVisibleLines * 18);
        edit.BeginEdit(text.c_str(), area, &area, POINT{ 0, 0 }, 1);
        edit.SetSelection(10, lines / 2, 10, lines / 2);
        edit.UpdateWindow();
    }

    void Key(UINT message, WPARAM key)
    {
        edit.SendMessage(message, key, 0);
        edit.UpdateWindow();
    }
};

void BM_TypeMidway(benchmark::State& state)
{
    Editor editor(int(state.range(0)));
    for (auto _ : state) {
        editor.Key(WM_CHAR, 'x');
        editor.Key(WM_KEYDOWN, VK_BACK);
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_TypeMidway)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// A typed character and its Undo, each coloured, laid out and repainted.
void BM_TypeAndUndo(benchmark::State& state)
{
    Editor editor(int(state.range(0)));
    for (auto _ : state) {
        editor.Key(WM_CHAR, 'x');
        editor.Key(WM_COMMAND, 57643);
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_TypeAndUndo)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// The whole 40-line editor painted again, as after scrolling.
void BM_RepaintAll(benchmark::State& state)
{
    Editor editor(int(state.range(0)));
    for (auto _ : state) {
        editor.edit.Invalidate(FALSE);
        editor.edit.UpdateWindow();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RepaintAll)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetSyntaxFinder(FindWords);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
