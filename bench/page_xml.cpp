// The page-symbol XML on a page of 10,000 symbols nested three deep (2,500
// packages, each holding a package that holds a class with one attribute):
// saving the page, loading it onto a fresh page, and the bare XML reader
// walking every node and attribute of the same file, which bounds what
// loading can cost.
//   build/bin/bench_page_xml [--benchmark_min_time=0.5]
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/XmlFile.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/PageSymbol.h"
#include "UML/Symbols/SymbolClasses.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const int kPage = 1, kGroups = 2500;
const char* const kKinds[] = {"Package", "Package", "Class", "Attribute"};

std::string thePath;

void AddSymbols()
{
    int parent = 0;
    for (int n = 0; n < kGroups * 4; ++n) {
        char sguid[GuidTextLength + 1], text[32];
        MakeGuidText(sguid, sizeof sguid, FALSE);
        std::snprintf(text, sizeof text, "Symbol %d", n);
        const int level = n % 4;
        SymbolT row;
        row.ID = ++theNextSymbolId;
        row.PID = kPage;
        row.FID = level == 0 ? 0 : parent;
        row.x1 = 1000 + level * 100;
        row.y1 = 1000 + n;
        row.x2 = row.x1 + 4000 - level * 200;
        row.y2 = row.y1 + 3000;
        row.tx1 = row.x1 + 150;
        row.ty1 = row.y1 + 150;
        row.tx2 = row.tx1 + 1200;
        row.ty2 = row.ty1 + 400;
        row.sterey = row.y1 + 150;
        row.Type = kKinds[level];
        row.SGUID = sguid;
        row.Text = text;
        row.ItemState = level < 3 ? SYMBOL_AUTOLAYOUT | SYMBOL_HAS_CHILDREN : SYMBOL_AUTOLAYOUT;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &row);
        parent = row.ID;
    }
}

void Save(int pageId)
{
    CXmlFile xml;
    xml.Open(thePath.c_str(), XML_WRITE);
    xml.WriteHeader();
    xml.BeginElement("uml");
    xml.BeginElement("Page");
    CPageSymbol::SaveSymbolsXml(xml, pageId, 0);
    xml.EndElement();
    xml.EndElement();
    xml.Close();
}

void RemovePageSymbols(int pageId)
{
    std::vector<oid_t> rows;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("PID", pageId) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    for (oid_t oid : rows)
        theModelDb.RemoveRecord(&SymbolT::TableInfo, oid);
}

bool Prepare()
{
    thePath = (std::filesystem::temp_directory_path() / "vexal-bench-page.xml").string();
    if (!InitModuleDir() || !MakeGuidText(theDbName, DbNameSize, FALSE) || !MemDbOpen())
        return false;
    if (!RegisterUmlSymbolClasses() || !LoadMetaModel())
        return false;
    AddSymbols();
    Save(kPage);
    return true;
}

void BM_SavePage(benchmark::State& state)
{
    for (auto _ : state)
        Save(kPage);
    state.SetItemsProcessed(state.iterations() * kGroups * 4);
}
BENCHMARK(BM_SavePage)->Unit(benchmark::kMillisecond);

void BM_LoadPage(benchmark::State& state)
{
    const int copy = kPage + 1;
    for (auto _ : state) {
        CXmlFile xml;
        xml.Open(thePath.c_str(), XML_READ);
        while (xml.ReadNextNode() && !(xml.GetKind() == XML_START && xml.NameIs("Page"))) {
        }
        CPageSymbol::LoadSymbolsXml(xml, copy, false);
        state.PauseTiming();
        RemovePageSymbols(copy);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kGroups * 4);
}
BENCHMARK(BM_LoadPage)->Unit(benchmark::kMillisecond);

void BM_BareXmlRead(benchmark::State& state)
{
    for (auto _ : state) {
        CXmlFile xml;
        xml.Open(thePath.c_str(), XML_READ);
        size_t bytes = 0;
        while (xml.ReadNextNode())
            while (xml.GetKind() == XML_START && xml.ReadNextAttribute())
                bytes += size_t(xml.GetValueLength());
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kGroups * 4);
}
BENCHMARK(BM_BareXmlRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!Prepare()) {
        std::fprintf(stderr, "cannot prepare the page\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(thePath);
    MemDbClose();
    return 0;
}
