#include "UML/Model/StereotypeRows.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Resource.h"
#include "UML/Model/PropertyRows.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Tag {
    std::string guid;
    std::string name;
};

// The Attribute children of the stereotype with that GUID, in SN order.
std::vector<Tag> TagsOf(const char* stereotypeGuid)
{
    std::vector<Tag> tags;
    dbTypedCursor<ModelT> stereotype(&ModelT::TableInfo);
    if (!stereotypeGuid || !*stereotypeGuid || stereotype.SelectByKey("GUID", stereotypeGuid) <= 0)
        return tags;
    static dbQueryText q;
    static int32_t owner = 0;
    if (!q.Fragments())
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &owner).Append(dbFragText, " and Type='Attribute' order by SN");
    owner = stereotype->ID;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            tags.push_back(Tag{c->GUID ? c->GUID : "", c->Name ? c->Name : ""});
        while (c.Next());
    return tags;
}

// The owner's value row of the tag: its engine id, or 0.
oid_t ValueRow(int owner, const std::string& tag, StereotypeT& row)
{
    dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
    if (c.SelectByKey("OID", owner) > 0)
        do
            if (tag == (c->SSGUID ? c->SSGUID : "")) {
                row = *c.GetRecord();
                return c.GetCurrentOid();
            }
        while (c.Next());
    return 0;
}

} // namespace

COptionTreeComboBoxItem* AddStereotypeRow(COptionTreeItem* category, COptionTree* grid, const char* metaclass,
                                          int owner, const char* currentGuid, bool readOnly)
{
    COptionTreeComboBoxItem* chooser = AddComboRow(category, grid, "Stereotype", LoadResString(61472), readOnly);
    if (!chooser)
        return nullptr;
    const char* current = currentGuid ? currentGuid : "";
    chooser->SetItemData(chooser->AddString(""), reinterpret_cast<DWORD_PTR>(""));
    static dbQueryText q;
    static const char* extended = "";
    if (!q.Fragments())
        q.Append(dbFragText, "Type='Stereotype' and Use=")
            .Append(dbFragStringPtr, &extended)
            .Append(dbFragText, " order by Name");
    extended = metaclass ? metaclass : "";
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do {
            const int at = chooser->AddString(c->Name ? c->Name : "");
            chooser->SetItemData(at, reinterpret_cast<DWORD_PTR>(c->GUID ? c->GUID : ""));
            if (*current && c->GUID && std::strcmp(c->GUID, current) == 0)
                chooser->SetCurSel(at);
        } while (c.Next());
    if (!*current)
        chooser->SetCurSel(0);
    else
        AddStereotypeValueRows(grid, chooser, current, owner, readOnly);
    return chooser;
}

void AddStereotypeValueRows(COptionTree* grid, COptionTreeItem* chooser, const char* stereotypeGuid, int owner,
                            bool readOnly)
{
    for (const Tag& tag : TagsOf(stereotypeGuid)) {
        StereotypeT value{};
        ValueRow(owner, tag.guid, value);
        AddEditRow(chooser, grid, tag.guid.c_str(), tag.name.c_str(), value.Value, readOnly, false);
    }
    if (chooser && (thePropertyExpandBits & PROPERTY_STEREOTYPE))
        chooser->Expand(TRUE);
}

bool ApplyStereotypeRows(int owner, COptionTreeItem* chooser)
{
    if (!chooser)
        return false;
    std::set<std::string> tags;
    for (const Tag& tag : TagsOf(chooser->GetValueText()))
        tags.insert(tag.guid);
    bool changed = false;
    for (COptionTreeItem* row = chooser->GetFirstChild(); row; row = row->GetNextSibling()) {
        const char* key = row->GetKey();
        if (row->IsReadOnly() || !key || !tags.count(key))
            continue;
        const std::string text = row->GetValueText();
        StereotypeT value{};
        if (const oid_t oid = ValueRow(owner, key, value)) {
            if (std::strcmp(value.Value ? value.Value : "", text.c_str()) == 0)
                continue;
            value.Value = text.c_str();
            changed = MemDbUpdate(&StereotypeT::TableInfo, &value, oid) != 0 || changed;
        } else if (!text.empty()) {
            const std::string tag = key;
            StereotypeT inserted{owner, tag.c_str(), text.c_str()};
            changed = MemDbInsert(&StereotypeT::TableInfo, &inserted) != 0 || changed;
        }
    }
    return changed;
}
