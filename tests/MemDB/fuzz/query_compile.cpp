// Fuzz target for the query compiler and interpreter: any text compiles to a
// tree or fails with a syntax error, and a compiled tree evaluates on a
// stored row to a result or a reported fault; never a crash or a hang.
//
// Input bytes: 0x00 ends a text fragment, 0x01 binds an int4 variable and
// 0x02 a string variable; everything else is condition text.
#include "MemDB/dbEngine.h"
#include "MemDB/dbError.h"
#include "MemDB/dbEvaluate.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTableInfo.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

struct FuzzRow {
    int32_t ID;
    int32_t FID;
    int8_t MMC;
    int64_t Big;
    double Weight;
    bool Flag;
    char* Name;
    dbReference Parent;
    dbArray<int32_t> Items;
    dbRectangle Box;
};

dbFieldInfo* DescribeFuzzRow()
{
    return dbFieldList({
        dbDescribe<int32_t>("ID", offsetof(FuzzRow, ID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("FID", offsetof(FuzzRow, FID)),
        dbDescribe<int8_t>("MMC", offsetof(FuzzRow, MMC)),
        dbDescribe<int64_t>("Big", offsetof(FuzzRow, Big)),
        dbDescribe<double>("Weight", offsetof(FuzzRow, Weight)),
        dbDescribe<bool>("Flag", offsetof(FuzzRow, Flag)),
        dbDescribe<char*>("Name", offsetof(FuzzRow, Name)),
        dbDescribeReference("Parent", offsetof(FuzzRow, Parent), "FuzzRow"),
        dbDescribeArray<int32_t>("Items", offsetof(FuzzRow, Items)),
        dbDescribe<dbRectangle>("Box", offsetof(FuzzRow, Box)),
    });
}

dbTableInfo& Table()
{
    static dbEngine unopened;
    static dbTableInfo table("FuzzRow", &unopened, sizeof(FuzzRow), DescribeFuzzRow);
    return table;
}

const std::vector<uint64_t>& StoredRow()
{
    static std::vector<uint64_t> words = [] {
        static const int32_t items[] = {3, 1, 4, 1, 5};
        FuzzRow row{};
        row.ID = 7;
        row.FID = -3;
        row.MMC = 100;
        row.Big = INT64_MIN;
        row.Weight = 2.5;
        row.Name = const_cast<char*>("Class1 %_'x");
        row.Items.Assign(items, 5);
        row.Box = dbRectangle{-5, -5, 5, 5};
        dbTableInfo& t = Table();
        const uint8_t* app = reinterpret_cast<const uint8_t*>(&row);
        size_t size = dbFieldInfo::StoredSize(t.columns, app, t.fixedSize);
        std::vector<uint64_t> w((size + 15) / 8, 0);
        dbFieldInfo::StoreRecordFields(t.columns, reinterpret_cast<uint8_t*>(w.data()), app, t.fixedSize);
        return w;
    }();
    return words;
}

// Evaluation needs an engine for dereferences and first/last; the harness
// has none, so trees that use them are only compiled.
bool NeedsEngine(const dbOpNode* n)
{
    if (n == nullptr)
        return false;
    if (n->kind == dbDeref || n->kind == dbFirst || n->kind == dbLast)
        return true;
    for (int i = 0; i < dbNodeOperandCount(n->kind); i++)
        if (NeedsEngine(n->op[i]))
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int32_t intVar = 5;
    static const char* stringVar = "Class1";
    std::vector<std::string> texts;
    texts.emplace_back();
    std::vector<int> kinds{dbFragText};
    for (size_t i = 0; i < size; i++) {
        char c = static_cast<char>(data[i]);
        if (c == 0 || c == 1 || c == 2) {
            if (c != 0) {
                kinds.push_back(c == 1 ? dbFragInt4 : dbFragString);
                texts.emplace_back();
            }
            kinds.push_back(dbFragText);
            texts.emplace_back();
        } else {
            texts.back() += c;
        }
    }
    dbQueryText q;
    for (size_t i = 0; i < texts.size(); i++) {
        if (kinds[i] == dbFragText)
            q.Append(dbFragText, texts[i].c_str());
        else if (kinds[i] == dbFragInt4)
            q.Append(dbFragInt4, &intVar);
        else
            q.Append(dbFragString, stringVar);
    }
    dbQueryCompiler compiler(nullptr);
    try {
        if (!compiler.Compile(q, &Table()))
            return 0;
    } catch (const dbException&) {
        return 0;
    }
    if (NeedsEngine(q.tree.root))
        return 0;
    try {
        dbEvalContext ctx(nullptr, reinterpret_cast<const char*>(StoredRow().data()), 8194, nullptr);
        dbEvalValue v;
        dbEvaluate(q.tree.root, ctx, v);
        for (const dbOrderKey* k = q.tree.order; k != nullptr; k = k->next)
            if (k->expr != nullptr && !NeedsEngine(k->expr))
                dbEvaluate(k->expr, ctx, v);
    } catch (const dbException&) {
    }
    return 0;
}
