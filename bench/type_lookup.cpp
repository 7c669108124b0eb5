// Name look-ups and one key stroke's colouring on a model of 100,000
// elements whose working package imports 50 others: resolving a type name
// (found through the last import, and found nowhere, which runs every step),
// colouring a 10-parameter list and checking a 5-statement action. Each must
// stay under 1 ms, the budget of a key stroke.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/ParameterText.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/TypeResolution.h"

namespace {

const int Packages = 50;
const int ClassesPerPackage = 1990;

int Add(int owner, const char* type, const std::string& name, const std::string& use = "", int mmc = MMC_CLASS,
        int visibility = VISIBILITY_PUBLIC, const std::string& stereotype = "")
{
    ModelT e;
    e.ID = e.SN = ++theNextElementId;
    e.FID = owner;
    e.Type = type;
    e.Name = name.c_str();
    const std::string guid = "B" + std::to_string(e.ID);
    e.GUID = guid.c_str();
    e.Use = use.c_str();
    e.Stereotype = stereotype.c_str();
    e.MMC = static_cast<int8_t>(mmc);
    e.Visibility = static_cast<int8_t>(visibility);
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    return e.ID;
}

std::string Guid(int id)
{
    return "B" + std::to_string(id);
}

struct Model {
    int machine = 0;
    int roots[3] = {0, 0, 0};
    Model()
    {
        MakeGuidText(theDbName, DbNameSize, FALSE);
        MemDbOpen();
        ResetModelCounters();
        const int predefined = Add(0, "Package", "Predefined", "", MMC_NAMESPACE);
        for (const char* name : {"Integer", "Float", "Boolean", "Char", "String"})
            Add(predefined, "Class", name);
        const int import = Add(predefined, "Stereotype", "import", "Dependency", MMC_STEREOTYPE);
        const int library = Add(0, "Package", "Library", "", MMC_NAMESPACE);
        for (int i = 0; i < 100; ++i)
            Add(library, "Class", "Lib" + std::to_string(i));
        const int project = Add(0, "Syspackage", "Model", "", MMC_NAMESPACE);
        const int work = Add(project, "Package", "Work", "", MMC_NAMESPACE);
        for (int p = 0; p < Packages; ++p) {
            const int package = Add(project, "Package", "P" + std::to_string(p), "", MMC_NAMESPACE);
            for (int c = 0; c < ClassesPerPackage; ++c)
                Add(package, "Class", "C" + std::to_string(p) + "_" + std::to_string(c));
            Add(work, "Dependency", "", Guid(package), MMC_RELATION, 0, Guid(import));
        }
        const std::string integer = Guid(predefined + 1);
        machine = Add(work, "Class", "Machine");
        Add(machine, "Attribute", "count", integer, MMC_ATTRIBUTE);
        Add(machine, "Attribute", "limit", integer, MMC_ATTRIBUTE);
        const int step = Add(machine, "Operation", "step", integer, MMC_OPERATION);
        Add(step, "Parameter", "by", integer, MMC_ATTRIBUTE);
        roots[0] = project;
        roots[1] = library;
        roots[2] = predefined;
        static int* shared = roots;
        theShellHooks.GetProjectRoot = [] { return shared[0]; };
        theShellHooks.GetLibraryRoot = [] { return shared[1]; };
        theShellHooks.GetPredefinedRoot = [] { return shared[2]; };
        theExprChecker.Reset(true);
    }
};

const Model& TheModel()
{
    static Model model;
    return model;
}

void ResolveImported(benchmark::State& state)
{
    const Model& m = TheModel();
    const std::string name = "C" + std::to_string(Packages - 1) + "_7";
    for (auto _ : state)
        benchmark::DoNotOptimize(ResolveTypeName(m.machine, MMC_CLASS, nullptr, name.c_str(), nullptr));
}
BENCHMARK(ResolveImported)->Unit(benchmark::kMicrosecond);

void ResolveNowhere(benchmark::State& state)
{
    const Model& m = TheModel();
    for (auto _ : state) {
        TypeMatchList list;
        benchmark::DoNotOptimize(ResolveTypeName(m.machine, MMC_CLASS, nullptr, "Missing", &list));
    }
}
BENCHMARK(ResolveNowhere)->Unit(benchmark::kMicrosecond);

void ColourParameterList(benchmark::State& state)
{
    const Model& m = TheModel();
    const char* text = "in a : Integer, out b : C3_4[0..*], c : Float, d : Lib7, e : Missing, "
                       "f : C49_1989, inout g : String[2], h, i : Boolean, j : Char)";
    SyntaxRunCodec codec;
    for (auto _ : state) {
        codec.Reset();
        ColorParameterList(m.machine, text, static_cast<int>(std::strlen(text)), codec);
        benchmark::DoNotOptimize(codec.GetText());
    }
}
BENCHMARK(ColourParameterList)->Unit(benchmark::kMicrosecond);

void CheckAction(benchmark::State& state)
{
    const Model& m = TheModel();
    const char* text = "Integer n; n = count + 1; step(n); limit = count * 2; C12_5 x;";
    SyntaxRunCodec codec;
    for (auto _ : state) {
        theExprChecker.SetContext(true, m.machine, 0);
        theExprChecker.CheckExpression(text, codec);
        benchmark::DoNotOptimize(codec.GetText());
    }
}
BENCHMARK(CheckAction)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
