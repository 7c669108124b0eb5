// The help export of a project of 10,000 elements (a package of 100 classes of
// 99 attributes each): writing the pages and project files (chmcmd kept out
// of reach, so the export stops after writing) on the disk (argument 0) and in
// memory (1), then compiling the written project with chmcmd. Target: writing
// under 1 s.
#include "File/ExportCHM.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string kFolder = std::filesystem::temp_directory_path().string() + "/vexal-bench-help-export";
// A memory file system shows the export's own share of the time.
const std::string kMemoryFolder = "/dev/shm/vexal-bench-help-export";
int theRoot = 0;

int Add(int owner, const char* key, const std::string& name)
{
    CSymbol* prototype = nullptr;
    FindMetaclass(key, prototype);
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, TRUE);
    return prototype->CreateElement(owner, name.c_str(), guid, nullptr);
}

void BuildModel()
{
    theRoot = Add(0, "Package", "Model");
    for (int c = 0; c < 100; ++c) {
        const int cls = Add(theRoot, "Class", "Class " + std::to_string(c));
        for (int a = 0; a < 99; ++a)
            Add(cls, "Attribute", "attribute" + std::to_string(a));
    }
}

void BM_WriteHelpProject(benchmark::State& state)
{
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", "/nonexistent", 1);
    // Each run writes a folder of its own: files made where many were just
    // deleted cost the file system far more than fresh ones.
    const std::string& folder = state.range(0) ? kMemoryFolder : kFolder;
    int run = 0;
    for (auto _ : state)
        ExportChm(theRoot, (folder + "/out" + std::to_string(run++)).c_str());
    setenv("PATH", saved.c_str(), 1);
}
BENCHMARK(BM_WriteHelpProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CompileHelpProject(benchmark::State& state)
{
    for (auto _ : state)
        if (!CompileChm((kFolder + "/out0/Model.hhp").c_str()))
            state.SkipWithError("chmcmd failed");
}
BENCHMARK(BM_CompileHelpProject)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::remove_all(kFolder);
    std::filesystem::remove_all(kMemoryFolder);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return 1;
    const std::string program = kFolder + "-program/";
    std::filesystem::create_directories(program + "cfg");
    std::filesystem::copy_file(VEXAL_SOURCE_DIR "/cfg/meta.xml", program + "cfg/meta.xml",
                               std::filesystem::copy_options::overwrite_existing);
    SafeStrCopy(theModuleDir, program.c_str(), ModuleDirSize);
    RegisterUmlSymbolClasses();
    LoadMetaModel();
    BuildModel();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MemDbClose();
    std::filesystem::remove_all(kFolder);
    std::filesystem::remove_all(kMemoryFolder);
    std::filesystem::remove_all(program);
    return 0;
}
