// The page reader on any bytes: the input is a unit file whose first "Page"
// element is loaded as a page of a diagram. Whatever it holds, every symbol
// nests in a symbol read before it on the same page, carries only the state
// bits a file may give, and the page stays unparsed.
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "Pub/XmlFile.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

const char kMetamodel[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<metamodel>\r\n"
    "<Package><Package/><Class/><Comment/></Package>\r\n"
    "<Class><Attribute/></Class>\r\n"
    "<Attribute/><Comment/><Fork/><Initial/><Timeline/><Page/>\r\n"
    "<Classdiagram><Page symbol=\"\"/><Class model=\"\"/></Classdiagram>\r\n"
    "</metamodel>\r\n";

std::string theFolder;

bool Prepare()
{
    char name[64];
    std::snprintf(name, sizeof name, "vexal-page-xml-%d/", static_cast<int>(getpid()));
    theFolder = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::create_directories(theFolder + "cfg");
    std::ofstream(theFolder + "cfg/meta.xml", std::ios::binary) << kMetamodel;
    SafeStrCopy(theModuleDir, theFolder.c_str(), ModuleDirSize);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(theFolder, ignored);
    });
    return MakeGuidText(theDbName, DbNameSize, FALSE) && MemDbOpen() && RegisterUmlSymbolClasses() && LoadMetaModel();
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "page reader: %s\n", what);
        std::abort();
    }
}

void CheckPage(int pageId)
{
    dbTypedCursor<ModelPage> page(&ModelPage::TableInfo);
    Check(page.SelectByKey("ID", pageId) > 0, "the page row is missing");
    Check(page->Parsed == 0, "a loaded page is parsed");
    struct Row {
        int id, fid, itemState;
    };
    std::vector<Row> rows;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("PID", pageId) <= 0)
        return;
    do
        rows.push_back({c->ID, c->FID, c->ItemState});
    while (c.Next());
    // Symbols take IDs in reading order: a parent's is below its children's.
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.id < b.id; });
    std::unordered_set<int> seen;
    for (const Row& r : rows) {
        Check(r.fid == 0 || seen.count(r.fid), "a symbol nests in no earlier symbol of its page");
        Check((r.itemState & ~(0x0F | SYMBOL_HAS_CHILDREN)) == 0, "a state bit a file cannot give");
        seen.insert(r.id);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = Prepare();
    if (!ready)
        std::abort();
    const std::string path = theFolder + "input.uml";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    CXmlFile xml;
    if (xml.Open(path.c_str(), XML_READ)) {
        while (xml.ReadNextNode()) {
            if (xml.GetKind() != XML_START || !xml.NameIs("Page"))
                continue;
            CSymbol* prototype = nullptr;
            FindMetaclass("Page", prototype);
            ModelT record;
            record.Type = "Page";
            record.MMC = MMC_PAGE;
            prototype->LoadElementXml(xml, record, 0, nullptr);
            CheckPage(theNextElementId);
            break;
        }
    }
    MemDbClearModel();
    return 0;
}
