// The three typed-text parsers on any bytes: the first byte picks an
// attribute line, an operation line or a class name with template parameters,
// the rest is the text committed into it. Whatever it holds, the parse and the
// rebuild of the line from the model finish, and the stored codes stay in
// their ranges.
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Symbols/SymbolClasses.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* const kKeys[] = {"Attribute", "Operation", "Class"};

// The metaclasses the three lines need, in a program folder of the process's own.
bool Prepare()
{
    static std::string folder;
    char name[64];
    std::snprintf(name, sizeof name, "vexal-member-text-%d/", static_cast<int>(getpid()));
    folder = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::create_directories(folder + "cfg");
    std::ofstream(folder + "cfg/meta.xml", std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<metamodel>\r\n"
           "<Package><Class/></Package><Class><Attribute/><Operation/><Parameter/></Class>\r\n"
           "<Operation><Parameter/></Operation><Attribute/><Parameter/>\r\n</metamodel>\r\n";
    SafeStrCopy(theModuleDir, folder.c_str(), ModuleDirSize);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return MakeGuidText(theDbName, DbNameSize, FALSE) && MemDbOpen() && RegisterUmlSymbolClasses() && LoadMetaModel();
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "member text: %s\n", what);
        std::abort();
    }
}

std::string Guid()
{
    char guid[GuidTextLength + 1];
    Check(MakeGuidText(guid, sizeof guid, TRUE), "no GUID");
    return guid;
}

CSymbol* Prototype(const char* key)
{
    CSymbol* prototype = nullptr;
    Check(FindMetaclass(key, prototype), "no prototype");
    return prototype;
}

template <class Ext>
void CheckExtension(int id, void (*check)(const Ext&))
{
    dbTypedCursor<Ext> c(&Ext::TableInfo);
    Check(c.SelectByKey("ID", id) > 0, "extension row lost");
    check(*c.GetRecord());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = Prepare();
    if (!ready)
        std::abort();
    if (size == 0)
        return 0;
    const char* key = kKeys[data[0] % 3];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string typed = text.c_str();  // the editor commits up to the first NUL

    const int package = Prototype("Package")->CreateElement(0, "Model", Guid().c_str(), nullptr);
    const std::string classGuid = Guid();
    const int cls = Prototype("Class")->CreateElement(package, "Integer", classGuid.c_str(), nullptr);
    std::string guid = classGuid;
    int element = cls;
    if (std::string(key) != "Class") {
        guid = Guid();
        element = Prototype(key)->CreateElement(cls, "member", guid.c_str(), nullptr);
    }
    const int symbol = Prototype(key)->InsertSymbolFields({"GUID", guid.c_str(), "Text", typed.c_str(), "PID", "1"});
    SymbolT row;
    Check(FetchSymbolById(symbol, row), "symbol lost");
    const bool renamed = Prototype(key)->RenameElement(row);
    ModelT stored;
    if (renamed) {
        Check(FetchElementById(element, stored), "element lost");
        Check(stored.Visibility >= 0 && stored.Visibility <= 3, "visibility out of range");
        oid_t oid = 0;
        if (FetchSymbolById(symbol, row, &oid))
            Prototype(key)->SyncFromElement(stored, row, oid);
    }
    if (std::string(key) == "Attribute")
        CheckExtension<ModelAttribute>(element, [](const ModelAttribute& a) {
            Check(a.Associationkind >= 0 && a.Associationkind <= 3, "association kind out of range");
            Check(a.Static == 0 || a.Static == 1, "static out of range");
        });
    if (std::string(key) == "Operation")
        CheckExtension<ModelOperation>(element, [](const ModelOperation& o) {
            Check(o.Virtuality >= 0 && o.Virtuality <= 3, "virtuality out of range");
            Check(o.Abstract == 0 || o.Abstract == 1, "abstract out of range");
            Check(o.Static == 0 || o.Static == 1, "static out of range");
        });
    MemDbClearModel();
    return 0;
}
