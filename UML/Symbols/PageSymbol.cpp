#include "UML/Symbols/PageSymbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryText.h"
#include "Controls/OptionTree.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/GuidText.h"
#include "Pub/Log.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"
#include "UML/Model/ElementXml.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Symbols/BaseRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/StereotypeValues.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <strings.h>
#include <vector>

namespace {

const int kMaxPageWidth = 42000;
const int kMaxPageHeight = 59400;

// The four page values at full width: files and scripts give 32-bit numbers,
// and the edges are narrowed to 16 bits only once they are known to fit.
struct PageValues {
    int width = 21000;
    int height = 29700;
    int edgeX = 1500;
    int edgeY = 1500;

    explicit PageValues(const ModelPage& page = ModelPage())
        : width(page.PageWidth), height(page.PageHeight), edgeX(page.EdgeX), edgeY(page.EdgeY)
    {
    }
    // Takes value for the page column named column; false for any other name.
    bool Take(const char* column, int value)
    {
        int* field = strcasecmp(column, "PageWidth") == 0    ? &width
                     : strcasecmp(column, "PageHeight") == 0 ? &height
                     : strcasecmp(column, "EdgeX") == 0      ? &edgeX
                     : strcasecmp(column, "EdgeY") == 0      ? &edgeY
                                                             : nullptr;
        if (field)
            *field = value;
        return field != nullptr;
    }
    bool Fit() const { return PageValuesFit(width, height, edgeX, edgeY); }
    void Store(ModelPage& page) const
    {
        page.PageWidth = width;
        page.PageHeight = height;
        page.EdgeX = static_cast<int16_t>(edgeX);
        page.EdgeY = static_cast<int16_t>(edgeY);
    }
};

void LogRefusedValues(const char* what, const PageValues& v)
{
    const std::string text = std::string(what) + ": page values out of limits (" + std::to_string(v.width) + ", " +
                             std::to_string(v.height) + ", " + std::to_string(v.edgeX) + ", " +
                             std::to_string(v.edgeY) + ")\r\n";
    LOG_FAILURE(3, text.c_str());
}

// Applies the pairs: a ModelT column of the name, else a page value; ID,
// Parsed and other names are ignored.
void ApplyPagePairs(const ColumnValueList& pairs, ModelT& element, PageValues& values)
{
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const char* column = pairs[i];
        if (!column || strcasecmp(column, "ID") == 0)
            continue;
        if (!SetFieldText(column, pairs[i + 1], &ModelT::TableInfo, &element))
            values.Take(column, std::atoi(pairs[i + 1] ? pairs[i + 1] : ""));
    }
}

bool FetchPageRow(int id, ModelPage& page, oid_t* oid = nullptr)
{
    dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    page = *c.GetRecord();
    if (oid)
        *oid = c.GetCurrentOid();
    return true;
}

} // namespace

bool PageValuesFit(int width, int height, int edgeX, int edgeY)
{
    if (width <= 0 || height <= 0 || edgeX <= 0 || edgeY <= 0)
        return false;
    if (width > kMaxPageWidth || height > kMaxPageHeight)
        return false;
    return 2 * edgeX < width && 2 * edgeY < height;
}

CPageSymbol::CPageSymbol() : CSymbol(MMC_PAGE, static_cast<int8_t>(MSC_NONE))
{
    extensionTable = &ModelPage::TableInfo;
}

int CPageSymbol::CreateElement(int diagramId, const char* name, const char* guid, const char* use)
{
    ModelT record;
    FillElementRecord(record, diagramId, name, guid, use);
    record.Type = "Page";
    if (!theShellHooks.InsertModelElement(record))
        return 0;
    ModelPage page;
    page.ID = record.ID;
    MemDbInsert(&ModelPage::TableInfo, &page);
    return record.ID;
}

void CPageSymbol::DeleteElement(int pageId)
{
    oid_t element = 0;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", pageId) <= 0)
            return;
        element = c.GetCurrentOid();
    }
    std::vector<oid_t> rows;
    {
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        if (c.SelectByKey("ID", pageId) > 0)
            rows.push_back(c.GetCurrentOid());
    }
    for (oid_t oid : rows)
        MemDbRemove(&ModelPage::TableInfo, oid);
    MemDbRemove(&ModelT::TableInfo, element);
    rows.clear();
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                rows.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : rows)
        MemDbRemove(&SymbolT::TableInfo, oid);
}

int CPageSymbol::LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path)
{
    const int fixed = record.ItemState & ITEM_FIXED;
    record.FID = ownerId;
    PageValues values;
    while (xml.ReadNextAttribute()) {
        const char* name = xml.GetName();
        if (IsStructuralColumn(name) || values.Take(name, ParseHex(xml.GetValue())))
            continue;
        LoadRecordFromXml(xml, &ModelT::TableInfo, &record);
    }
    if (!values.Fit()) {
        LogRefusedValues(record.Name ? record.Name : "Page", values);
        values = PageValues();
    }
    record.ItemState = static_cast<int16_t>((record.ItemState & ~ITEM_FIXED) | fixed);
    record.ID = record.SN = ++theNextElementId;
    theModelDb.InsertRecord(&ModelT::TableInfo, &record);
    ModelPage page;
    page.ID = record.ID;
    values.Store(page);
    theModelDb.InsertRecord(&ModelPage::TableInfo, &page);
    if (path)
        SafeStrCopy(path, record.File, 260);
    LinkElementStereotype(record.ID, record.Stereotype);
    TextPool.Reset();
    LoadSymbolsXml(xml, record.ID, (record.ItemState & ITEM_FIXED) != 0);
    return 0;
}

void CPageSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    CSymbol::SaveElementXml(xml, element);
    ModelPage page;
    if (FetchPageRow(element.ID, page)) {
        XmlWriteHexIfNotDefault(xml, "PageWidth", page.PageWidth, 0);
        XmlWriteHexIfNotDefault(xml, "PageHeight", page.PageHeight, 0);
        XmlWriteHexIfNotDefault(xml, "EdgeX", page.EdgeX, 0);
        XmlWriteHexIfNotDefault(xml, "EdgeY", page.EdgeY, 0);
    }
    SaveSymbolsXml(xml, element.ID, 0);
}

int CPageSymbol::GetElementField(const ModelT& element, const char* column, char* buffer, int size)
{
    const int written = CSymbol::GetElementField(element, column, buffer, size);
    if (written > 0)
        return written;
    ModelPage page;
    if (!FetchPageRow(element.ID, page))
        return 0;
    return GetFieldText(column, &ModelPage::TableInfo, &page, buffer, size);
}

int CPageSymbol::InsertElementFields(const ColumnValueList& pairs)
{
    ModelT element;
    element.MMC = mmc;
    PageValues values;
    ApplyPagePairs(pairs, element, values);
    if (!values.Fit()) {
        LogRefusedValues("Page", values);
        return 0;
    }
    element.ID = element.SN = ++theNextElementId;
    element.Type = metaName;
    char guid[GuidTextLength + 1];
    if ((!element.GUID || !*element.GUID) && MakeGuidText(guid, sizeof guid, TRUE))
        element.GUID = guid;
    theModelDb.InsertRecord(&ModelT::TableInfo, &element);
    ModelPage page;
    page.ID = element.ID;
    values.Store(page);
    theModelDb.InsertRecord(&ModelPage::TableInfo, &page);
    return element.ID;
}

bool CPageSymbol::UpdateElementFields(int elementId, const ColumnValueList& pairs)
{
    oid_t elementOid = 0, pageOid = 0;
    ModelT element;
    ModelPage page;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", elementId) <= 0)
            return false;
        element = *c.GetRecord();
        elementOid = c.GetCurrentOid();
    }
    if (!FetchPageRow(elementId, page, &pageOid))
        return false;
    PageValues values(page);
    ApplyPagePairs(pairs, element, values);
    if (!values.Fit()) {
        LogRefusedValues(element.Name ? element.Name : "Page", values);
        return false;
    }
    values.Store(page);
    element.ID = elementId;
    theModelDb.UpdateRecord(elementOid, &ModelT::TableInfo, &element);
    theModelDb.UpdateRecord(pageOid, &ModelPage::TableInfo, &page);
    return true;
}

bool CPageSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    CBufferedFile file;
    if (!OpenHtmlPage(folder, element, file))
        return false;
    HtmlPageHead(element, file);
    HtmlSectionRow(file, LoadResString(61447));
    HtmlRowText(file, LoadResString(61470), element.Name);
    HtmlRowText(file, LoadResString(61471), element.Type);
    ModelPage page;
    if (FetchPageRow(element.ID, page)) {
        HtmlSectionRow(file, LoadResString(61448));
        HtmlRowInt(file, "PageWidth", page.PageWidth);
        HtmlRowInt(file, "PageHeight", page.PageHeight);
        HtmlRowInt(file, "EdgeX", page.EdgeX);
        HtmlRowInt(file, "EdgeY", page.EdgeY);
    }
    HtmlPageTail(file);
    return CloseHtmlPage(file);
}

namespace {

const struct {
    const char* key;
    UINT label;
} kPageRows[] = {{"PageWidth", 61506}, {"PageHeight", 61507}, {"EdgeX", 61508}, {"EdgeY", 61509}};

// The largest right and bottom edge of the page's symbols, boxes and texts.
POINT SymbolExtent(int pageId)
{
    POINT extent{0, 0};
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("PID", pageId) > 0)
        do {
            extent.x = std::max({extent.x, c->x2, c->tx2});
            extent.y = std::max({extent.y, c->y2, c->ty2});
        } while (c.Next());
    return extent;
}

} // namespace

COptionTreeItem* CPageSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* category = AddNameTypeCategory(element, readOnly, false, grid);
    if (!category)
        return nullptr;
    ModelPage page;
    if (!FetchPageRow(element.ID, page))
        return category;
    COptionTreeItem* extended = AddCategoryRow(grid, LoadResString(61448), PROPERTY_EXTENDED);
    if (!extended)
        return category;
    const int values[] = {page.PageWidth, page.PageHeight, page.EdgeX, page.EdgeY};
    for (size_t i = 0; i < std::size(kPageRows); ++i)
        AddNumberRow(extended, grid, kPageRows[i].key, LoadResString(kPageRows[i].label), values[i], readOnly);
    return category;
}

int CPageSymbol::ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root)
{
    COptionTreeItem* category = root ? root->GetFirstChild() : nullptr;
    if (!category)
        return 0;
    ApplyPropertyRows(&ModelT::TableInfo, &element, category);
    COptionTreeItem* extended = category->GetNextSibling();
    ModelPage page;
    oid_t pageOid = 0;
    if (!extended || !FetchPageRow(element.ID, page, &pageOid))
        return 0;
    PageValues values(page);
    for (COptionTreeItem* row = extended->GetFirstChild(); row; row = row->GetNextSibling())
        if (!row->IsReadOnly())
            values.Take(row->GetKey(), row->GetValueInt());
    if (!values.Fit())
        return 0;
    const POINT extent = SymbolExtent(element.ID);
    if (values.width - 2 * values.edgeX < extent.x || values.height - 2 * values.edgeY < extent.y) {
        char message[128];
        std::snprintf(message, sizeof message, LoadResString(61558), extent.x + 2 * values.edgeX,
                      extent.y + 2 * values.edgeY);
        theShellHooks.OutputMessage(message);
        return 0;
    }
    values.Store(page);
    const int pageChanged = MemDbUpdate(&ModelPage::TableInfo, &page, pageOid);
    const int elementChanged = MemDbUpdate(&ModelT::TableInfo, &element, recordId);
    return pageChanged || elementChanged ? 1 : 0;
}
