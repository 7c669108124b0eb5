#include "Scripting/Database.h"

#include "App/ShellServices.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTableInfo.h"
#include "Platform/CString.h"
#include "Scripting/HostClass.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

struct DatabaseState {
    bool isQueryInModel = false;
    int curPosition = 0;
    std::vector<uint32_t> ids;          // record identifiers, in the query's order
    std::vector<std::string> columns;   // queued settings: name, value, name, value ...
};

enum DatabaseProperty { kNumber = 1, kCurPosition, kIsQueryInModel };

extern const HostClassDef kDatabase;
extern const HostConstant kConstants[];

int Number(const DatabaseState& db) { return int(db.ids.size()); }

bool GetDatabaseProperty(JSContext*, JS::HandleObject obj, int tinyId, JS::MutableHandleValue vp)
{
    const auto& db = *static_cast<DatabaseState*>(HostPrivate(obj, kDatabase.clasp));
    switch (tinyId) {
    case kNumber:
        vp.setInt32(Number(db));
        break;
    case kCurPosition:
        vp.setInt32(db.curPosition);
        break;
    case kIsQueryInModel:
        vp.setBoolean(db.isQueryInModel);
        break;
    default:
        break;
    }
    return true;
}

bool Construct(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedObject obj(cx, NewHostObject(cx, args, kDatabase.clasp));
    if (!obj)
        return false;
    auto* state = new (std::nothrow) DatabaseState;
    if (!state)
        return ScriptWarn(cx, "Fail to alloc memory fro JSDatabase");
    SetHostPrivate(obj, state);
    args.rval().setObject(*obj);
    return true;
}

template <class Row>
std::vector<uint32_t> SelectIds(const std::string& condition)
{
    dbQueryText query;
    query.Append(dbFragText, condition.c_str());
    dbTypedCursor<Row> cursor(&Row::TableInfo);
    std::vector<uint32_t> ids(size_t(cursor.Select(query, dbCursorViewOnly)));
    if (!ids.empty())
        cursor.ToArray(ids.data());
    return ids;
}

// A condition the engine rejects throws; HostNative makes its message a
// warning, and the selection stays as it was.
bool Query(JSContext* cx, unsigned argc, JS::Value* vp, bool inModel)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setInt32(0);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    std::string condition;
    if (!ArgText(cx, args, 0, condition))
        return ScriptWarn(cx, "Condition should be prompted");
    db->ids = inModel ? SelectIds<ModelT>(condition) : SelectIds<SymbolT>(condition);
    db->isQueryInModel = inModel;
    db->curPosition = 0;
    args.rval().setInt32(Number(*db));
    return true;
}

bool QueryModel(JSContext* cx, unsigned argc, JS::Value* vp) { return Query(cx, argc, vp, true); }

bool QuerySymbol(JSContext* cx, unsigned argc, JS::Value* vp) { return Query(cx, argc, vp, false); }

bool Reset(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    db->ids.clear();
    db->ids.shrink_to_fit();
    db->isQueryInModel = false;
    db->curPosition = 0;
    args.rval().setBoolean(true);
    return true;
}

bool NextRecorder(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (db->curPosition < Number(*db) - 1) {
        ++db->curPosition;
        args.rval().setBoolean(true);
    }
    return true;
}

bool GotoRecorder(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    int32_t index;
    if (!ArgWholeInt(cx, args, 0, index))
        index = 0;
    if (index >= 0 && index < Number(*db)) {
        db->curPosition = index;
        args.rval().setBoolean(true);
    }
    return true;
}

bool IsLastRecorder(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    args.rval().setBoolean(Number(*db) > 0 && Number(*db) == db->curPosition + 1);
    return true;
}

// The readers cut a text to their buffer, on a character boundary: a text
// that leaves more than a character's bytes free is whole; otherwise the
// buffer grows and the column is read again.
template <class Reader>
bool ReadWhole(Reader read, std::string& text)
{
    std::vector<char> buffer(512);
    for (;;) {
        buffer[0] = 0;
        if (read(buffer.data(), int(buffer.size())) <= 0)
            return false;
        const size_t length = strnlen(buffer.data(), buffer.size());
        if (length + 4 < buffer.size()) {
            text.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool ElementColumn(uint32_t oid, const char* column, std::string& text)
{
    dbTypedCursor<ModelT> cursor(&ModelT::TableInfo);
    CSymbol* prototype = nullptr;
    if (cursor.SelectById(oid) <= 0 || !FindMetaclass(cursor->Type, prototype))
        return false;
    return ReadWhole([&](char* buffer, int size) { return prototype->GetElementField(*cursor.GetRecord(), column, buffer, size); },
                     text);
}

bool SymbolColumn(uint32_t oid, const char* column, std::string& text)
{
    dbTypedCursor<SymbolT> cursor(&SymbolT::TableInfo);
    if (cursor.SelectById(oid) <= 0)
        return false;
    return ReadWhole([&](char* buffer, int size) { return GetFieldText(column, &SymbolT::TableInfo, cursor.GetRecord(), buffer, size); },
                     text);
}

bool GetColumn(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setNull();
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (db->ids.empty())
        return true;
    std::string column;
    if (!ArgText(cx, args, 0, column))
        return ScriptWarn(cx, "Column name should be prompted");
    const uint32_t oid = db->ids[size_t(db->curPosition)];
    std::string text;
    const bool found = db->isQueryInModel ? ElementColumn(oid, column.c_str(), text)
                                          : SymbolColumn(oid, column.c_str(), text);
    return !found || SetText(cx, args.rval(), text);
}

// Pairs whole: a last name without its value is left out.
bool SetColumn(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (args.length() < 2)
        return ScriptWarn(cx, "Column name and value should be prompted");
    std::vector<std::string> pairs(args.length() & ~1u);
    for (unsigned i = 0; i < pairs.size(); ++i) {
        if (!ArgText(cx, args, i, pairs[i]))
            return ScriptWarn(cx, "Column name and value should be prompted");
    }
    db->columns.insert(db->columns.end(), pairs.begin(), pairs.end());
    args.rval().setBoolean(true);
    return true;
}

ColumnValueList QueuedPairs(const DatabaseState& db)
{
    ColumnValueList pairs;
    pairs.reserve(db.columns.size());
    for (const std::string& text : db.columns)
        pairs.push_back(text.c_str());
    return pairs;
}

// The prototype the first argument names; false after the class's warning.
bool ArgMetaclass(JSContext* cx, const JS::CallArgs& args, CSymbol*& prototype)
{
    std::string name;
    if (!ArgText(cx, args, 0, name) || !FindMetaclass(name.c_str(), prototype))
        return ScriptWarn(cx, "Meta name is invalid");
    return true;
}

bool Insert(JSContext* cx, unsigned argc, JS::Value* vp, bool element)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setInt32(0);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (db->columns.empty())
        return ScriptWarn(cx, "No column has been set");
    if (args.length() < 1)
        return ScriptWarn(cx, "Meta name should be prompted");
    CSymbol* prototype = nullptr;
    if (!ArgMetaclass(cx, args, prototype))
        return false;
    const ColumnValueList pairs = QueuedPairs(*db);
    const int id = element ? prototype->InsertElementFields(pairs) : prototype->InsertSymbolFields(pairs);
    db->columns.clear();
    args.rval().setInt32(id);
    return true;
}

bool InsertModel(JSContext* cx, unsigned argc, JS::Value* vp) { return Insert(cx, argc, vp, true); }

bool InsertSymbol(JSContext* cx, unsigned argc, JS::Value* vp) { return Insert(cx, argc, vp, false); }

bool UpdateModel(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (db->columns.empty())
        return ScriptWarn(cx, "No column has been set");
    if (args.length() < 2)
        return ScriptWarn(cx, "Meta name and model id should be prompted");
    CSymbol* prototype = nullptr;
    if (!ArgMetaclass(cx, args, prototype))
        return false;
    int32_t id;
    if (!ArgWholeInt(cx, args, 1, id) || id < 0)
        return ScriptWarn(cx, "Invalid model id");
    const bool updated = prototype->UpdateElementFields(id, QueuedPairs(*db));
    db->columns.clear();
    args.rval().setBoolean(updated);
    return true;
}

bool UpdateSymbol(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    if (db->columns.empty())
        return ScriptWarn(cx, "No column has been set");
    if (args.length() < 1)
        return ScriptWarn(cx, "Symbol id should be prompted");
    int32_t id;
    if (!ArgWholeInt(cx, args, 0, id) || id < 0)
        return ScriptWarn(cx, "Invalid symbol id");
    const bool updated = UpdateSymbolFields(id, QueuedPairs(*db));
    db->columns.clear();
    args.rval().setBoolean(updated);
    return true;
}

bool ToString(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    auto* db = HostThis<DatabaseState>(cx, args, kDatabase);
    if (!db)
        return false;
    CString text;
    text.Format("JSDatabase:total %d,current %d", Number(*db), db->curPosition);
    if (!SetText(cx, args.rval(), text.GetString()))
        return ScriptWarn(cx, "Failed to copy string");
    return true;
}

void OutputLine(const char* format, const char* a, const char* b, const char* c = "")
{
    CString line;
    line.Format(format, a, b, c);
    OutputMessage(line.GetString());
}

// The category's name among the constants: the first entry of its value
// before MMC_NONE ends the categories.
const char* CategoryName(int mmc)
{
    for (const HostConstant* c = kConstants; c->name && c->value != 0; ++c) {
        if (c->value == mmc)
            return c->name;
    }
    return "MMC_NONE";
}

bool PrintMeta(JSContext*, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    OutputLine("%-32s %s", "Name", "Meta model class");
    OutputLine("%-32s %s", "---------", "--------------");
    for (const CSymbol* prototype : GetSortedMetaclasses())
        OutputLine("%-32s %s", prototype->metaName, CategoryName(prototype->mmc));
    args.rval().setBoolean(true);
    return true;
}

const char* IndexWord(const dbFieldInfo* fd)
{
    if (fd->indexType & dbFieldInfo::HASHED)
        return "hashed";
    return fd->indexType & dbFieldInfo::INDEXED ? "indexed" : "none";
}

const char* TypeWord(const dbFieldInfo* fd)
{
    switch (fd->appType) {
    case dbFieldInfo::tpInt1:
        return "int1";
    case dbFieldInfo::tpInt2:
        return "int2";
    case dbFieldInfo::tpInt4:
        return "int4";
    case dbFieldInfo::tpInt8:
        return "int8";
    case dbFieldInfo::tpString:
        return "string";
    default:
        return "none";
    }
}

void PrintTable(const char* title, const char* metaName, const std::vector<dbTableInfo*>& tables)
{
    CString line;
    line.Format(title, metaName);
    OutputMessage(line.GetString());
    OutputLine("%-32s %-12s %s", "Name", "Index type", "Type");
    OutputLine("%-32s %-12s %s", "---------", "----------", "--------");
    for (dbTableInfo* table : tables) {
        const dbFieldInfo* fd = table->columns;
        if (!fd)
            continue;
        do {
            OutputLine("%-32s %-12s %s", fd->name, IndexWord(fd), TypeWord(fd));
        } while ((fd = fd->next) != table->columns);
    }
}

bool PrintMetaTable(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    std::string name;
    if (!ArgText(cx, args, 0, name))
        return ScriptWarn(cx, "Meta name must be prompted");
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(name.c_str(), prototype))
        return ScriptWarn(cx, "Meta doesn't exist");
    if (prototype->mmc != MMC_NONE) {
        std::vector<dbTableInfo*> tables;
        for (dbTableInfo* table : { prototype->elementTable, prototype->extensionTable, prototype->secondExtensionTable }) {
            if (table)
                tables.push_back(table);
        }
        PrintTable("Model table fields(%s):", prototype->metaName, tables);
    } else {
        OutputMessage("No model table");
        OutputMessage("");
    }
    OutputMessage("");
    PrintTable("Symbol table fields(%s):", prototype->metaName, { &SymbolT::TableInfo });
    return true;
}

const JSClassOps kDatabaseOps = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeHostPrivate<DatabaseState>,
    nullptr, nullptr, nullptr,
};

const JSClass kDatabaseClass = {
    "Database", JSCLASS_HAS_RESERVED_SLOTS(1) | JSCLASS_FOREGROUND_FINALIZE, &kDatabaseOps, nullptr, nullptr,
    nullptr,
};

const HostProperty kProperties[] = {
    { "number", kNumber },
    { "curPosition", kCurPosition },
    { "isQueryInModel", kIsQueryInModel },
    { nullptr, 0 },
};

const JSFunctionSpec kMethods[] = {
    JS_FN("queryModel", HostNative<QueryModel>, 1, 0),
    JS_FN("querySymbol", HostNative<QuerySymbol>, 1, 0),
    JS_FN("reset", HostNative<Reset>, 0, 0),
    JS_FN("nextRecorder", HostNative<NextRecorder>, 0, 0),
    JS_FN("gotoRecorder", HostNative<GotoRecorder>, 1, 0),
    JS_FN("isLastRecorder", HostNative<IsLastRecorder>, 0, 0),
    JS_FN("getColumn", HostNative<GetColumn>, 1, 0),
    JS_FN("setColumn", HostNative<SetColumn>, 2, 0),
    JS_FN("insertModel", HostNative<InsertModel>, 1, 0),
    JS_FN("updateModel", HostNative<UpdateModel>, 2, 0),
    JS_FN("insertSymbol", HostNative<InsertSymbol>, 1, 0),
    JS_FN("updateSymbol", HostNative<UpdateSymbol>, 1, 0),
    JS_FN("toString", HostNative<ToString>, 0, 0),
    JS_FS_END,
};

const JSFunctionSpec kStaticMethods[] = {
    JS_FN("printMeta", HostNative<PrintMeta>, 0, 0),
    JS_FN("printMetaTable", HostNative<PrintMetaTable>, 1, 0),
    JS_FS_END,
};

const HostConstant kConstants[] = {
    { "MMC_CLASS", MMC_CLASS }, { "MMC_OPERATION", MMC_OPERATION }, { "MMC_ATTRIBUTE", MMC_ATTRIBUTE },
    { "MMC_LITERAL", MMC_LITERAL }, { "MMC_NAMESPACE", MMC_NAMESPACE }, { "MMC_RELATION", MMC_RELATION },
    { "MMC_STEREOTYPE", MMC_STEREOTYPE }, { "MMC_DIAGRAM", MMC_DIAGRAM }, { "MMC_PAGE", MMC_PAGE },
    { "MMC_COMMENT", MMC_COMMENT }, { "MMC_NONE", MMC_NONE },
    { "MSC_RECTANGLE", MSC_RECTANGLE }, { "MSC_LINE", MSC_LINE }, { "MSC_FRAME", MSC_FRAME },
    { "MSC_LIFELINE", MSC_LIFELINE }, { "MSC_DIAMOND", MSC_DIAMOND }, { "MSC_ELLIPSE", MSC_ELLIPSE },
    { "MSC_TEXT", MSC_TEXT }, { "MSC_LINETEXT", MSC_LINETEXT }, { "MSC_BAR", MSC_BAR },
    { "VISIBILITY_PRIVATE", VISIBILITY_PRIVATE }, { "VISIBILITY_PROTECTED", VISIBILITY_PROTECTED },
    { "VISIBILITY_PACKAGE", VISIBILITY_PACKAGE }, { "VISIBILITY_PUBLIC", VISIBILITY_PUBLIC },
    { "SYMBOL_CHECKED", SYMBOL_CHECKED }, { "ITEM_CHECKED", ITEM_CHECKED }, { "ITEM_FIXED", ITEM_FIXED },
    { "ASSOCIATION_NONE", 0 }, { "ASSOCIATION_REFERENCE", 1 }, { "ASSOCIATION_SHARED", 2 },
    { "ASSOCIATION_COMPOSITE", 3 },
    { "VIRTUALITY_NONE", 0 }, { "VIRTUALITY_VIRTUAL", 1 }, { "VIRTUALITY_FINALIZED", 2 },
    { "VIRTUALITY_REDEFINED", 3 },
    { "PARAMETER_DIR_NONE", 0 }, { "PARAMETER_DIR_IN", 1 }, { "PARAMETER_DIR_OUT", 2 },
    { "PARAMETER_DIR_INOUT", 3 },
    { "START_ID", 0 },
    { nullptr, 0 },
};

const HostClassDef kDatabase = {
    &kDatabaseClass, "JSDatabase", HostNative<Construct>, 0, kProperties, GetDatabaseProperty, nullptr,
    kMethods, kStaticMethods, kConstants,
};

} // namespace

bool InitDatabaseClass(JSContext* cx, JS::HandleObject global)
{
    JS::RootedObject constructor(cx);
    return InitHostClass(cx, global, kDatabase, &constructor);
}
