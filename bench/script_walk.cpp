// A script walking the project benchmarks' project (100,000 elements) in
// the main window: queryModel over every element, then nextRecorder and two
// getColumn a row; and the same walk in C++ through the engine's cursors.
//   build/bin/bench_script_walk
// Target: the script under 1 s; the ratio says what the script layer costs.
#include "App/MainFrm.h"
#include "App/VexalApp.h"
#include "BenchModel.h"
#include "File/ProjectStore.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/CommonDialogs.h"
#include "Platform/DialogHook.h"
#include "Platform/Messages.h"
#include "Platform/WinApp.h"
#include "Scripting/ScriptHost.h"
#include "UML/Model/FieldText.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

CVexalApp theApp;

namespace {

const int kRounds = 5;

const char* const kScript =
    "var d = new Database(), rows = 0, length = 0;\n"
    "if (d.queryModel('') > 0) {\n"
    "    do {\n"
    "        length += d.getColumn('Name').length + d.getColumn('Type').length;\n"
    "        ++rows;\n"
    "    } while (d.nextRecorder());\n"
    "}\n"
    "print(rows, length);\n";

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The same walk: every element row, its Name and Type as texts.
long CursorWalk(int& rows)
{
    dbQueryText all;
    all.Append(dbFragText, "");
    dbTypedCursor<ModelT> cursor(&ModelT::TableInfo);
    long length = 0;
    rows = 0;
    char text[512];
    for (bool more = cursor.Select(all, dbCursorViewOnly) > 0; more; more = cursor.Next() != nullptr) {
        GetFieldText("Name", &ModelT::TableInfo, cursor.GetRecord(), text, sizeof text);
        length += long(std::strlen(text));
        GetFieldText("Type", &ModelT::TableInfo, cursor.GetRecord(), text, sizeof text);
        length += long(std::strlen(text));
        ++rows;
    }
    return length;
}

// Runs the script file through Tools/Run Javascript.
void RunScript(CMainFrame* frame, const std::string& path)
{
    AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind != DialogKind::FileOpen)
            return false;
        auto* ofn = static_cast<OPENFILENAME*>(request.data);
        std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", path.c_str());
        *answer = IDOK;
        return true;
    });
    frame->SendMessage(WM_COMMAND, 32795);
    AfxSetDialogHook({});
}

std::string LastMessage(CMainFrame* frame)
{
    CMsgListBox& list = frame->GetMessageList();
    CString text;
    if (list.GetCount() > 0)
        list.GetText(list.GetCount() - 1, text);
    return text.GetString();
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "vexal-bench-script";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "P");
    QApplication app(argc, argv);
    AfxSetProfileFolder((home / "profile").string().c_str());
    InstallScriptHost();
    if (!theApp.InitInstance())
        return 1;
    CMainFrame* frame = GetMainFrame();
    const std::string dir = (home / "P").string() + "/";
    frame->OpenProject(dir + "Bench.fup", true);
    BenchModel::Build(dir);
    theModelDb.Commit();
    const std::string script = (home / "walk.js").string();
    std::ofstream(script) << kScript;

    double scriptBest = 1e9, cursorBest = 1e9;
    int rows = 0;
    long length = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        RunScript(frame, script);
        scriptBest = std::min(scriptBest, Seconds(start));
        start = std::chrono::steady_clock::now();
        length = CursorWalk(rows);
        cursorBest = std::min(cursorBest, Seconds(start));
    }
    const std::string printed = LastMessage(frame);
    const std::string expected = std::to_string(rows) + " " + std::to_string(length);

    std::printf("script walk of %d elements %.3f s (target 1 s), printed \"%s\"\n", rows, scriptBest, printed.c_str());
    std::printf("cursor walk of %d elements %.3f s\n", rows, cursorBest);
    std::printf("ratio script / cursor %.1f\n", scriptBest / cursorBest);
    frame->CloseProject();
    frame->DestroyWindow();
    ScriptEngineStop();
    std::filesystem::remove_all(home);
    return printed == expected ? 0 : 1;
}
