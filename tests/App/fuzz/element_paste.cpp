// Pasting an element block of arbitrary bytes behind this run's name. The
// first byte picks the target: a package, a fixed package or a class. The
// paste never reads past the block, pastes no more elements than the block
// has room for, puts every copy directly under a target that
// is not fixed, as no unit root and neither checked nor fixed, and leaves
// the database consistent for the next input.
#include "App/ElementClipboard.h"
#include "MemDB/FlatImage.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbEngine.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char kMetaModel[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<metamodel version=\"1\"><Syspackage><Package/><Class/></Syspackage>"
    "<Package><Package/><Class/><Usecase/></Package><Class><Attribute/><Operation/><Class/></Class>"
    "<Attribute/><Operation><Parameter/></Operation><Parameter/><Usecase/></metamodel>\r\n";

bool Ready()
{
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return false;
    static std::string dir;
    dir = (std::filesystem::temp_directory_path() / ("vexal-fuzz-" + std::string(theDbName))).string() + "/";
    std::filesystem::create_directories(dir + "cfg");
    std::ofstream(dir + "cfg/meta.xml", std::ios::binary) << kMetaModel;
    SafeStrCopy(theModuleDir, dir.c_str(), ModuleDirSize);
    const bool loaded = RegisterUmlSymbolClasses() && LoadMetaModel();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    });
    return loaded;
}

int Insert(int owner, const char* type, int state)
{
    ModelT row;
    row.ID = row.SN = ++theNextElementId;
    row.FID = owner;
    row.Type = type;
    row.Name = type;
    const std::string guid = "F" + std::to_string(row.ID);
    row.GUID = guid.c_str();
    row.ItemState = static_cast<int16_t>(state);
    theModelDb.InsertRecord(&ModelT::TableInfo, &row);
    return row.ID;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = Ready();
    if (!ready || size == 0)
        return 0;
    theNextElementId = 0;
    const int model = Insert(0, "Syspackage", ITEM_FIXED);
    const int targets[] = {Insert(model, "Package", 0), Insert(model, "Package", ITEM_FIXED),
                           Insert(model, "Class", 0)};
    const int target = targets[data[0] % 3];
    const bool fixed = target == targets[1];
    std::vector<char> block(theDbName, theDbName + DbNameSize);
    block.insert(block.end(), data + 1, data + size);
    // Every entry holds at least one whole element image.
    const ModelT empty;
    const size_t most = (block.size() - DbNameSize) / MemDbImageSize(&ModelT::TableInfo, &empty);
    const int first = theNextElementId;
    const int pasted = PasteElementBlock(block.data(), block.size(), target);
    if (pasted < 0 || size_t(pasted) > most || (fixed && pasted))
        std::abort();
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    int found = 0;
    dbQueryText all;
    all.Append(dbFragText, "ID>0");
    if (c.Select(all, dbCursorViewOnly) > 0)
        do {
            if (c->ID <= first)
                continue;
            ++found;
            if (c->FID != target || (c->File && *c->File) || (c->ItemState & (ITEM_CHECKED | ITEM_FIXED)))
                std::abort();
        } while (c.Next());
    if (found != pasted)
        std::abort();
    MemDbClearModel();
    UndoLog::Clear();
    return 0;
}
