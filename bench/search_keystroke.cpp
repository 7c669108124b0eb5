// A keystroke in the search dialog on the project benchmarks' project
// (100,000 elements, 20,000 symbols): one character typed into the search
// text, from the key to the end of the result list's paint, in element mode
// (names) and in diagram mode (symbol texts). Each typed text finds a few
// hundred hits, so the query runs and a page of rows is loaded and drawn.
//   build/bin/bench_search_keystroke
// Target: a keystroke under 50 ms.
#include "App/MainFrm.h"
#include "App/VexalApp.h"
#include "BenchModel.h"
#include "ShellBench.h"
#include "Platform/Edit.h"
#include "Platform/Messages.h"
#include "Platform/Playback.h"
#include "Platform/WinApp.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

CVexalApp theApp;

namespace {

// The median of rounds keystrokes: the text is emptied, then its last
// character is typed and the list painted.
double Keystroke(CSearchDlg& dlg, const std::string& text, int rounds)
{
    std::vector<double> times;
    const std::string head = text.substr(0, text.size() - 1);
    const char last[2] = { text.back(), 0 };
    for (int i = 0; i < rounds; ++i) {
        dlg.GetSearchText().SetWindowText(head.c_str());
        // The caret after the text, where the next character goes.
        dlg.GetSearchText().GetDlgItem(1001)->SendMessage(EM_SETSEL, head.size(), head.size());
        dlg.RunSearch(false);
        Settle();
        const auto start = std::chrono::steady_clock::now();
        PlayText(last);
        dlg.GetResultList().UpdateWindow();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path home = ShellBenchHome("search");
    QApplication app(argc, argv);
    AfxSetProfileFolder((home / "profile").string().c_str());
    if (!theApp.InitInstance())
        return 1;
    Settle();

    CMainFrame* frame = GetMainFrame();
    const std::string dir = (home / "P").string() + "/";
    frame->OpenProject(dir + "Bench.fup", true);
    BenchModel::Build(dir);
    frame->SendMessage(WM_COMMAND, 32799);
    Settle();
    CSearchDlg& dlg = frame->GetSearchDialog();

    const double names = Keystroke(dlg, "Class12", 21);
    const int nameHits = dlg.GetResultList().GetHitCount();
    dlg.GetInDiagram().SetCheck(BST_CHECKED);
    dlg.OnSearchInDiagram();
    const double texts = Keystroke(dlg, "Group7", 21);
    const int textHits = dlg.GetResultList().GetHitCount();

    std::printf("keystroke, element names: %.2f ms (%d hits of %d elements; target 50 ms)\n", names, nameHits,
                theNextElementId);
    std::printf("keystroke, symbol texts: %.2f ms (%d hits of %d symbols; target 50 ms)\n", texts, textHits,
                theNextSymbolId);
    frame->DestroyWindow();
    std::filesystem::remove_all(home);
    return nameHits > 0 && textHits > 0 ? 0 : 1;
}
