// Elements made of a ModelT row and an extension row of table Ext that shares
// its ID. Creation, deletion, loading, field access and the clipboard images
// are one code over the pair; a class adds only what differs (the attributes
// it saves, its rows and its page). Invariant: wherever this code writes the
// element it writes the extension row with it, and a missing extension row
// reads as Ext's defaults carrying the element's ID.
#pragma once

#include "MemDB/FlatImage.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/BufferedFile.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"
#include "UML/Model/ElementXml.h"
#include "Controls/OptionTree.h"
#include "Platform/Resource.h"
#include "UML/Model/FieldText.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>

// A null text reads as empty.
inline bool IsEmpty(const char* text)
{
    return !text || !*text;
}

// The element whose GUID is guid; false, with row left alone, when none.
inline bool FetchElementByGuid(const char* guid, ModelT& row)
{
    if (IsEmpty(guid))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", guid) <= 0)
        return false;
    row = *c.GetRecord();
    return true;
}

// The element the symbol row shows, with its engine id; false when none.
inline bool ElementOfSymbol(const SymbolT& row, ModelT& element, oid_t& oid)
{
    if (IsEmpty(row.GUID))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", row.GUID) <= 0)
        return false;
    element = *c.GetRecord();
    oid = c.GetCurrentOid();
    return true;
}

// The extension row of element id; false, with row left alone, when none.
template <class Ext>
bool FetchExtension(int id, Ext& row, oid_t* oid = nullptr)
{
    dbTypedCursor<Ext> c(&Ext::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    row = *c.GetRecord();
    if (oid)
        *oid = c.GetCurrentOid();
    return true;
}

// The defaults of a new extension row of element id.
template <class Ext>
Ext NewExtension(int id)
{
    Ext row{};
    row.ID = id;
    return row;
}

template <class Base, class Ext>
class CExtendedElement : public Base {
public:
    CExtendedElement() { this->extensionTable = &Ext::TableInfo; }

    // The element through the shell's undoable insertion, then its extension
    // row from InitExtension.
    int CreateElement(int ownerId, const char* name, const char* guid, const char* use) override
    {
        ModelT record;
        this->FillElementRecord(record, ownerId, name, guid, use);
        if (!theShellHooks.InsertModelElement(record))
            return 0;
        Ext row = NewExtension<Ext>(record.ID);
        InitExtension(row);
        MemDbInsert(&Ext::TableInfo, &row);
        return record.ID;
    }

    void DeleteElement(int elementId) override
    {
        ModelT element;
        if (!FetchElementById(elementId, element))
            return;
        Ext row;
        oid_t oid = 0;
        if (FetchExtension(elementId, row, &oid))
            MemDbRemove(&Ext::TableInfo, oid);
        Base::DeleteElement(elementId);
    }

    int LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path) override
    {
        const int fixed = record.ItemState & ITEM_FIXED;
        record.FID = ownerId;
        Ext row = NewExtension<Ext>(0);
        InitExtension(row);
        while (xml.ReadNextAttribute()) {
            if (IsStructuralColumn(xml.GetName()))
                continue;
            if (!LoadRecordFromXml(xml, &ModelT::TableInfo, &record))
                LoadRecordFromXml(xml, &Ext::TableInfo, &row);
        }
        record.ItemState = static_cast<int16_t>((record.ItemState & ~ITEM_FIXED) | fixed);
        record.ID = record.SN = row.ID = ++theNextElementId;
        theModelDb.InsertRecord(&ModelT::TableInfo, &record);
        theModelDb.InsertRecord(&Ext::TableInfo, &row);
        if (path)
            SafeStrCopy(path, record.File, 260);
        LinkElementStereotype(record.ID, record.Stereotype);
        TextPool.Reset();
        return record.ID;
    }

    int GetElementField(const ModelT& element, const char* column, char* buffer, int size) override
    {
        const int written = Base::GetElementField(element, column, buffer, size);
        Ext row;
        if (written > 0 || FindColumn(&ModelT::TableInfo, column) || !FetchExtension(element.ID, row))
            return written;
        return GetFieldText(column, &Ext::TableInfo, &row, buffer, size);
    }

    int InsertElementFields(const ColumnValueList& pairs) override
    {
        ColumnValueList own, extension;
        Split(pairs, own, extension);
        const int id = Base::InsertElementFields(own);
        Ext row = NewExtension<Ext>(id);
        InitExtension(row);
        Apply(extension, row);
        theModelDb.InsertRecord(&Ext::TableInfo, &row);
        return id;
    }

    // False, with nothing written, unless both rows exist.
    bool UpdateElementFields(int elementId, const ColumnValueList& pairs) override
    {
        Ext row;
        oid_t oid = 0;
        if (!FetchExtension(elementId, row, &oid))
            return false;
        ColumnValueList own, extension;
        Split(pairs, own, extension);
        if (!Base::UpdateElementFields(elementId, own))
            return false;
        Apply(extension, row);
        theModelDb.UpdateRecord(oid, &Ext::TableInfo, &row);
        return true;
    }

    size_t FlattenElement(void* buffer, const ModelT& element) override
    {
        const Ext row = Extension(element.ID);
        const size_t used = Base::FlattenElement(buffer, element);
        return used + MemDbFlatten(&Ext::TableInfo, &row, static_cast<char*>(buffer) + used);
    }

    size_t FlatElementSize(const ModelT& element) override
    {
        const Ext row = Extension(element.ID);
        return Base::FlatElementSize(element) + MemDbImageSize(&Ext::TableInfo, &row);
    }

    // Reads both images with the checked reader before inserting anything: a
    // block that ends before the extension image pastes nothing.
    size_t PasteElement(const void* image, size_t size, PasteIdMap& map) override
    {
        ModelT element;
        const size_t head = MemDbReadImage(&ModelT::TableInfo, image, size, &element);
        if (!head)
            return 0;
        Ext row;
        const size_t tail = MemDbReadImage(&Ext::TableInfo, static_cast<const char*>(image) + head, size - head, &row);
        if (!tail)
            return 0;
        const int before = theNextElementId;
        if (!Base::PasteElement(image, head, map))
            return 0;
        row.ID = before + 1;
        MemDbInsert(&Ext::TableInfo, &row);
        return head + tail;
    }

    // The first category into the element, the second, when there is one and
    // the extension row exists, into the extension row; both are stored.
    // Whether either changed.
    int ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root) override
    {
        COptionTreeItem* category = root ? root->GetFirstChild() : nullptr;
        if (!category)
            return 0;
        ApplyPropertyRows(&ModelT::TableInfo, &element, category);
        int changed = 0;
        Ext row;
        oid_t oid = 0;
        COptionTreeItem* extended = category->GetNextSibling();
        if (extended && FetchExtension(element.ID, row, &oid)) {
            ApplyPropertyRows(&Ext::TableInfo, &row, extended);
            changed = MemDbUpdate(&Ext::TableInfo, &row, oid);
        }
        return MemDbUpdate(&ModelT::TableInfo, &element, recordId) || changed;
    }

protected:
    // The element's help page: the base rows, the type reference labelled
    // typeLabel (none for 0), then, when the extension row exists, the
    // "Extended properties" section with rows(file, extension row).
    template <class Rows>
    bool WriteExtendedPage(const char* folder, const ModelT& element, UINT typeLabel, Rows rows)
    {
        CBufferedFile file;
        if (!this->OpenHtmlPage(folder, element, file))
            return false;
        HtmlPageHead(element, file);
        HtmlSectionRow(file, LoadResString(61447));
        HtmlCommonRows(element, file);
        if (typeLabel)
            HtmlRowElementRef(file, LoadResString(typeLabel), element.Use);
        Ext row;
        if (FetchExtension(element.ID, row)) {
            HtmlSectionRow(file, LoadResString(61448));
            rows(file, row);
        }
        HtmlPageTail(file);
        return this->CloseHtmlPage(file);
    }

    // The "Extended properties" category at the end of the grid, or null.
    static COptionTreeItem* AddExtendedCategory(COptionTree* grid)
    {
        return AddCategoryRow(grid, LoadResString(61448), PROPERTY_EXTENDED);
    }

    // Sets the fields of a new row that differ from Ext's defaults.
    virtual void InitExtension(Ext&) {}

    // The extension row of the element, or a new row's defaults.
    Ext Extension(int id)
    {
        Ext row = NewExtension<Ext>(id);
        InitExtension(row);
        FetchExtension(id, row);
        return row;
    }

private:
    static void Split(const ColumnValueList& pairs, ColumnValueList& own, ColumnValueList& extension)
    {
        for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const bool mine = !pairs[i] || FindColumn(&ModelT::TableInfo, pairs[i]) ||
                              !FindColumn(&Ext::TableInfo, pairs[i]);
            ColumnValueList& to = mine ? own : extension;
            to.push_back(pairs[i]);
            to.push_back(pairs[i + 1]);
        }
    }

    static void Apply(const ColumnValueList& pairs, Ext& row)
    {
        const int id = row.ID;
        for (size_t i = 0; i + 1 < pairs.size(); i += 2)
            SetFieldText(pairs[i], pairs[i + 1], &Ext::TableInfo, &row);
        row.ID = id;
    }
};
