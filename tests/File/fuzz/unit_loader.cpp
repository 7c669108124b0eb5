// Feeds arbitrary bytes to the unit loader as a unit nested in a model unit.
// No input may crash it, leave a row outside the tree, disturb the rows
// loaded before it, or get the nested unit written over its file.
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kHeader[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The rows numbered up to lastId, and whether "After" stands below the Model root.
std::vector<std::string> RowsUpTo(int lastId)
{
    std::vector<std::string> rows;
    bool after = false;
    dbQueryText q;
    q.Append(dbFragText, "ID>0 order by ID");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do {
            if (c->ID != theProjectRootId && ModifiedUnits::FindUnitRoot(c->ID) <= 0)
                std::abort();
            after = after || (c->FID == theModelRootId && c->Name && std::string(c->Name) == "After");
            if (c->ID <= lastId)
                rows.push_back(std::to_string(c->FID) + " " + (c->Name ? c->Name : "") + " " +
                               (c->File ? c->File : ""));
        } while (c.Next());
    if (!after)
        rows.clear();
    return rows;
}

std::string Folder()
{
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        std::abort();
    const std::string dir = (std::filesystem::temp_directory_path() / ("vexal-fuzz-" + std::string(theDbName))).string() + "/";
    std::filesystem::create_directories(dir + "cfg");
    Write(dir + "cfg/meta.xml", std::string(kHeader) +
                                    "<metamodel version=\"1\"><Syspackage/><Package><Package/><Class/><Classdiagram/></Package>"
                                    "<Class/><Classdiagram><Page/></Classdiagram><Page/></metamodel>\r\n");
    Write(dir + "cfg/predefined.uml",
          std::string(kHeader) + "<uml version=\"UML2.0\"><Class Name=\"Object\"/></uml>\r\n");
    Write(dir + "Demo.fup", std::string(kHeader) + "<Project><Model file=\"Demo.uml\"/></Project>\r\n");
    Write(dir + "Demo.uml", std::string(kHeader) +
                                "<uml version=\"UML2.0\"><Class Name=\"Before\"/><Package Name=\"F\" File=\"f.uml\"/>"
                                "<Class Name=\"After\"/></uml>\r\n");
    SafeStrCopy(theModuleDir, dir.c_str(), ModuleDirSize);
    if (!RegisterUmlSymbolClasses() || !LoadMetaModel())
        std::abort();
    ProjectStore::InstallHooks();
    static std::string made;
    made = dir;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
    });
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = Folder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Write(dir + "f.uml", bytes);
    if (!ProjectStore::Open((dir + "Demo.fup").c_str()))
        std::abort();
    // The roots, Object, Before and F; After follows the nested unit's rows.
    static const std::vector<std::string> expected = {"0 Demo Demo.fup", "1 Model Demo.uml", "1 Library ",
                                                      "1 Predefined ",   "4 Object ",        "2 Before ",
                                                      "2 F f.uml"};
    if (RowsUpTo(7) != expected)
        std::abort();
    const int f = 7;
    ModifiedUnits::Mark(f, 1);
    ProjectStore::Save(-1, nullptr);
    if (ModifiedUnits::IsIncomplete(f) && Read(dir + "f.uml") != bytes)
        std::abort();
    ProjectStore::Close();
    return 0;
}
