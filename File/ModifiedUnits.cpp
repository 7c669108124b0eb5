#include "File/ModifiedUnits.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextHelpers.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

struct UnitEntry {
    int flag = 0;
    bool flagged = false;
    bool readOnly = false;
    bool incomplete = false;
};

std::unordered_map<int, UnitEntry> theModifiedUnits;

bool HasText(const char* text)
{
    return text && text[0];
}

} // namespace

namespace ModifiedUnits {

int FindUnitRoot(int elementId)
{
    std::unordered_set<int> visited;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    for (int id = elementId; visited.insert(id).second;) {
        if (c.SelectByKey("ID", id) <= 0)
            return -1;
        if (HasText(c->File))
            return c->ID;
        id = c->FID;
    }
    return -1;
}

int Mark(int elementId, int flag)
{
    const int root = FindUnitRoot(elementId);
    if (root < 0)
        return -1;
    UnitEntry& entry = theModifiedUnits[root];
    entry.flag = flag;
    entry.flagged = true;
    return root;
}

int IsModified(int rootId)
{
    if (rootId < 0) {
        for (const auto& unit : theModifiedUnits)
            if (unit.second.flagged && unit.second.flag)
                return 1;
        return 0;
    }
    const auto it = theModifiedUnits.find(rootId);
    return it != theModifiedUnits.end() && it->second.flagged ? it->second.flag : 0;
}

void SetUnitFile(int elementId, const char* path)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("ID", elementId) <= 0)
        return;
    const std::string newFile = path ? path : "";
    if (newFile == (c->File ? c->File : ""))
        return;
    ModelT row = *c.GetRecord();
    if (newFile.empty()) {
        theModifiedUnits.erase(elementId);
    } else {
        UnitEntry& entry = theModifiedUnits[elementId];
        entry.flag = 1;
        entry.flagged = true;
    }
    row.File = newFile.c_str();
    theModelDb.UpdateRecord(c.GetCurrentOid(), &ModelT::TableInfo, &row);
    Mark(row.FID, 1);
}

void Clear()
{
    theModifiedUnits.clear();
}

BOOL GetUnitFile(int elementId, char* buffer)
{
    buffer[0] = 0;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("ID", elementId) <= 0 || !HasText(c->File))
        return FALSE;
    SafeStrCopy(buffer, c->File, 260);
    return TRUE;
}

std::vector<int> FlaggedRoots()
{
    std::vector<int> roots;
    for (const auto& unit : theModifiedUnits)
        if (unit.second.flagged)
            roots.push_back(unit.first);
    return roots;
}

void SetReadOnly(int rootId)
{
    theModifiedUnits[rootId].readOnly = true;
}

BOOL IsReadOnly(int rootId)
{
    const auto it = theModifiedUnits.find(rootId);
    return it != theModifiedUnits.end() && it->second.readOnly;
}

void SetIncomplete(int rootId)
{
    theModifiedUnits[rootId].incomplete = true;
}

BOOL IsIncomplete(int rootId)
{
    const auto it = theModifiedUnits.find(rootId);
    return it != theModifiedUnits.end() && it->second.incomplete;
}

} // namespace ModifiedUnits
