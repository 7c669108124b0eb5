#include "UML/Symbols/UsecaseSymbol.h"

#include "Controls/OptionTree.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/StereotypeRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ChildSymbols.h"
#include "UML/Symbols/ParticipantSymbols.h"

#include <algorithm>
#include <cstring>

namespace {

const int kUserStory = 2;  // ItemState bit of the user-story form
const int kMargin = 300;
const int kStoryInset = 150;
const COLORREF kPartnered = 0xC02040;
const COLORREF kAlone = 0x969696;

bool IsStory(const SymbolT& row)
{
    return (row.ItemState & kUserStory) != 0;
}

// The first child of the symbol: the story of a user-story use case.
bool FetchStory(const SymbolT& row, SymbolT& story, oid_t* oid = nullptr)
{
    const std::vector<oid_t> children = ChildRows(row.ID);
    if (children.empty() || !theModelDb.FetchRecord(children.front(), &SymbolT::TableInfo, &story))
        return false;
    if (oid)
        *oid = children.front();
    return true;
}

bool IsUsecaseColumn(const char* column)
{
    return column && !FindColumn(&ModelT::TableInfo, column) && !FindColumn(&ModelOperation::TableInfo, column) &&
           FindColumn(&ModelUsecase::TableInfo, column);
}

void ApplyUsecasePairs(const ColumnValueList& pairs, ModelUsecase& row)
{
    const int id = row.ID;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        if (IsUsecaseColumn(pairs[i]))
            SetFieldText(pairs[i], pairs[i + 1], &ModelUsecase::TableInfo, &row);
    row.ID = id;
}

ColumnValueList OtherPairs(const ColumnValueList& pairs)
{
    ColumnValueList others;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        if (!IsUsecaseColumn(pairs[i])) {
            others.push_back(pairs[i]);
            others.push_back(pairs[i + 1]);
        }
    return others;
}

ModelUsecase UsecaseRow(int id)
{
    ModelUsecase row = NewExtension<ModelUsecase>(id);
    FetchExtension(id, row);
    return row;
}

// The check row keyed key among the category's rows, or null.
COptionTreeItem* RowByKey(COptionTreeItem* category, const char* key)
{
    for (COptionTreeItem* r = category ? category->GetFirstChild() : nullptr; r; r = r->GetNextSibling())
        if (std::strcmp(r->GetKey() ? r->GetKey() : "", key) == 0)
            return r;
    return nullptr;
}

} // namespace

CUsecaseSymbol::CUsecaseSymbol()
{
    mmc = MMC_OPERATION;
    msc = MSC_ELLIPSE;
    secondExtensionTable = &ModelUsecase::TableInfo;
}

int CUsecaseSymbol::CreateElement(int ownerId, const char* name, const char* guid, const char* use)
{
    const int id = COperationSymbol::CreateElement(ownerId, name, guid, use);
    if (id > 0) {
        ModelUsecase row = NewExtension<ModelUsecase>(id);
        MemDbInsert(&ModelUsecase::TableInfo, &row);
    }
    return id;
}

int CUsecaseSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                                 const SymbolT* related)
{
    return CreateShownElementSymbol(*this, start, end, pageId, text, elementGuid, related, true);
}

void CUsecaseSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    SelectSymbolFill(dc, row.Color);
    if (IsStory(row))
        PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    else
        PageEllipse(dc, row.x1, row.y1, row.x2, row.y2);
    DrawStereotype(dc, row);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    SymbolT story;
    if (IsStory(row)) {
        const int y = row.ty2 + DrawResources::PixelSize;
        PageMoveTo(dc, row.x1, y);
        PageLineTo(dc, row.x2, y);
        // A pasted or loaded user story may keep the bit without its child.
        if ((row.ItemState & SYMBOL_HAS_CHILDREN) && FetchStory(row, story)) {
            SyntaxRunCodec black;
            DrawSyntaxText(dc, story.tx1, story.ty1, story.tx2, story.ty2, story.Text, black);
        }
    }
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

bool CUsecaseSymbol::RenameElement(const SymbolT& row)
{
    return CSymbol::RenameElement(row);
}

int CUsecaseSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    return CSymbol::SyncFromElement(element, row, oid);
}

int CUsecaseSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int tw = 0, th = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, tw, th, row.Text);
    MeasureStereotype(sw, sh, row, c);
    int width = std::max(sw, tw) + kMargin, height = th + sh + kMargin;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    if (!IsStory(row)) {
        width += kMargin;
        height += kMargin;
    } else {
        SymbolT story;
        oid_t oid = 0;
        if (FetchStory(row, story, &oid)) {
            int cw = 0, ch = 0;
            MeasureTextLines(dc, cw, ch, story.Text, 0);
            width = std::max(width, cw + kMargin);
            story.x1 = story.tx1 = row.x1 + kStoryInset;
            story.y1 = story.ty1 = row.y1 + 4 * p + th + sh;
            story.x2 = story.tx2 = row.x1 + kStoryInset + cw;
            story.y2 = story.ty2 = story.y1 + ch;
            MemDbUpdate(&SymbolT::TableInfo, &story, oid);
            height += ch;
            row.ItemState |= SYMBOL_HAS_CHILDREN;
        } else {
            height += th;
        }
    }
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.x2 = row.x1 + width;
        row.y2 = row.y1 + height;
    } else {
        row.x2 = std::max(row.x2, row.x1 + width);
        row.y2 = std::max(row.y2, row.y1 + height);
    }
    row.sterey = IsStory(row) ? row.y1 + p : (row.y1 + row.y2 - th - sh) / 2;
    row.tx1 = (row.x1 + row.x2 - tw) / 2;
    row.tx2 = row.tx1 + tw;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + th;
    return 1;
}

bool CUsecaseSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if (p.x < row.x1 || p.x > row.x2 || p.y < row.y1 || p.y > row.y2)
        return false;
    if (!IsStory(row) || p.y <= row.ty2) {
        out.Set(row);
        return true;
    }
    SymbolT story;
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && FetchStory(row, story)) {
        out.Set(story);
        return true;
    }
    out.Set(row);
    out.rec.tx1 = row.x1 + kStoryInset;
    out.rec.tx2 = row.x2 - kStoryInset;
    out.rec.ty1 = row.ty2 + 4 * DrawResources::PixelSize;
    out.rec.ty2 = row.y2 - kStoryInset;
    out.rec.ItemState |= SYMBOL_CHECKED;
    out.rec.ID = 0;
    out.rec.Text = nullptr;
    out.rec.FID = row.ID;
    std::strcpy(out.type, "Comment");
    out.rec.Type = out.type;
    return true;
}

int CUsecaseSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    if (IsStory(target))
        return CSymbol::GetAttachPoint(target, x, y, refX, refY);
    AttachPointOnSymbolEllipse(x, y, refX, refY, target);
    return 5;
}

int CUsecaseSymbol::LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path)
{
    const int fixed = record.ItemState & ITEM_FIXED;
    record.FID = ownerId;
    ModelOperation operation = NewExtension<ModelOperation>(0);
    ModelUsecase usecase = NewExtension<ModelUsecase>(0);
    while (xml.ReadNextAttribute()) {
        if (IsStructuralColumn(xml.GetName()))
            continue;
        if (!LoadRecordFromXml(xml, &ModelT::TableInfo, &record) &&
            !LoadRecordFromXml(xml, &ModelOperation::TableInfo, &operation))
            LoadRecordFromXml(xml, &ModelUsecase::TableInfo, &usecase);
    }
    record.ItemState = static_cast<int16_t>((record.ItemState & ~ITEM_FIXED) | fixed);
    record.ID = record.SN = operation.ID = usecase.ID = ++theNextElementId;
    theModelDb.InsertRecord(&ModelT::TableInfo, &record);
    theModelDb.InsertRecord(&ModelOperation::TableInfo, &operation);
    theModelDb.InsertRecord(&ModelUsecase::TableInfo, &usecase);
    if (path)
        SafeStrCopy(path, record.File, 260);
    LinkElementStereotype(record.ID, record.Stereotype);
    TextPool.Reset();
    return record.ID;
}

void CUsecaseSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    COperationSymbol::SaveElementXml(xml, element);
    ModelUsecase u;
    if (!FetchExtension(element.ID, u))
        return;
    XmlWriteHexIfNotDefault(xml, "EstimatedSize", u.EstimatedSize, 0);
    XmlWriteHexIfNotDefault(xml, "EstimatedCost", u.EstimatedCost, 0);
    XmlWriteHexIfNotDefault(xml, "ActualSize", u.ActualSize, 0);
    XmlWriteHexIfNotDefault(xml, "ActualCost", u.ActualCost, 0);
    XmlWriteTextIfSet(xml, "Author", u.Author);
}

int CUsecaseSymbol::GetElementField(const ModelT& element, const char* column, char* buffer, int size)
{
    const int written = COperationSymbol::GetElementField(element, column, buffer, size);
    ModelUsecase u;
    if (written > 0 || !IsUsecaseColumn(column) || !FetchExtension(element.ID, u))
        return written;
    return GetFieldText(column, &ModelUsecase::TableInfo, &u, buffer, size);
}

int CUsecaseSymbol::InsertElementFields(const ColumnValueList& pairs)
{
    const int id = COperationSymbol::InsertElementFields(OtherPairs(pairs));
    ModelUsecase u = NewExtension<ModelUsecase>(id);
    ApplyUsecasePairs(pairs, u);
    theModelDb.InsertRecord(&ModelUsecase::TableInfo, &u);
    return id;
}

bool CUsecaseSymbol::UpdateElementFields(int elementId, const ColumnValueList& pairs)
{
    ModelUsecase u;
    oid_t oid = 0;
    if (!FetchExtension(elementId, u, &oid) || !COperationSymbol::UpdateElementFields(elementId, OtherPairs(pairs)))
        return false;
    ApplyUsecasePairs(pairs, u);
    theModelDb.UpdateRecord(oid, &ModelUsecase::TableInfo, &u);
    return true;
}

COptionTreeItem* CUsecaseSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* last = COperationSymbol::AddElementProperties(element, readOnly, grid);
    ModelUsecase u;
    if (!last || !FetchExtension(element.ID, u))
        return last;
    COptionTreeItem* measures = AddCategoryRow(grid, LoadResString(61529), PROPERTY_EXTENDED);
    if (!measures)
        return last;
    AddNumberRow(measures, grid, "EstimatedSize", LoadResString(61524), u.EstimatedSize, readOnly);
    AddNumberRow(measures, grid, "EstimatedCost", LoadResString(61525), u.EstimatedCost, readOnly);
    AddNumberRow(measures, grid, "ActualSize", LoadResString(61526), u.ActualSize, readOnly);
    AddNumberRow(measures, grid, "ActualCost", LoadResString(61527), u.ActualCost, readOnly);
    AddEditRow(measures, grid, "Author", LoadResString(61530), u.Author, readOnly, false);
    return measures;
}

int CUsecaseSymbol::ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root)
{
    COptionTreeItem* category = root ? root->GetFirstChild() : nullptr;
    COptionTreeItem* extended = category ? category->GetNextSibling() : nullptr;
    COptionTreeItem* measures = extended ? extended->GetNextSibling() : nullptr;
    int changed = 0;
    ModelUsecase u;
    oid_t oid = 0;
    if (measures && FetchExtension(element.ID, u, &oid)) {
        ApplyPropertyRows(&ModelUsecase::TableInfo, &u, measures);
        changed = MemDbUpdate(&ModelUsecase::TableInfo, &u, oid);
    }
    return COperationSymbol::ApplyElementProperties(recordId, element, root) || changed;
}

COptionTreeItem* CUsecaseSymbol::AddSymbolProperties(const SymbolT& row, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61466), PROPERTY_SYMBOL);
    if (!category)
        return nullptr;
    const bool readOnly = (row.ItemState & SYMBOL_READONLY) != 0;
    AddCheckRow(category, grid, "Autolayout", LoadResString(61519), (row.ItemState & SYMBOL_AUTOLAYOUT) != 0,
                readOnly);
    AddColorRow(category, grid, LoadResString(61520), static_cast<COLORREF>(row.Color), readOnly);
    AddCheckRow(category, grid, "Showstory", LoadResString(61523), IsStory(row), readOnly);
    if (IsEmpty(row.GUID))
        AddStereotypeRow(category, grid, row.Type, -row.ID, row.Stereotype, readOnly);
    return category;
}

bool CUsecaseSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    bool changed = CSymbol::ApplySymbolProperties(symbolId, row, category);
    COptionTreeItem* story = RowByKey(category, "Showstory");
    if (!story || story->IsReadOnly())
        return changed;
    const int16_t form = story->GetValueInt() ? kUserStory : 0;
    if ((row.ItemState & kUserStory) != form) {
        row.ItemState = static_cast<int16_t>((row.ItemState & ~kUserStory) | form);
        changed = true;
    }
    return changed;
}

void CUsecaseSymbol::DeleteElement(int elementId)
{
    ModelUsecase u;
    oid_t oid = 0;
    ModelT element;
    if (FetchElementById(elementId, element) && FetchExtension(elementId, u, &oid))
        MemDbRemove(&ModelUsecase::TableInfo, oid);
    COperationSymbol::DeleteElement(elementId);
}

size_t CUsecaseSymbol::FlattenElement(void* buffer, const ModelT& element)
{
    const ModelUsecase u = UsecaseRow(element.ID);
    const size_t used = COperationSymbol::FlattenElement(buffer, element);
    return used + MemDbFlatten(&ModelUsecase::TableInfo, &u, static_cast<char*>(buffer) + used);
}

size_t CUsecaseSymbol::FlatElementSize(const ModelT& element)
{
    const ModelUsecase u = UsecaseRow(element.ID);
    return COperationSymbol::FlatElementSize(element) + MemDbImageSize(&ModelUsecase::TableInfo, &u);
}

size_t CUsecaseSymbol::PasteElement(const void* image, size_t size, PasteIdMap& map)
{
    ModelT element;
    ModelOperation operation;
    ModelUsecase u;
    const char* bytes = static_cast<const char*>(image);
    const size_t head = MemDbReadImage(&ModelT::TableInfo, bytes, size, &element);
    const size_t middle = head ? MemDbReadImage(&ModelOperation::TableInfo, bytes + head, size - head, &operation) : 0;
    const size_t tail =
        middle ? MemDbReadImage(&ModelUsecase::TableInfo, bytes + head + middle, size - head - middle, &u) : 0;
    if (!tail)
        return 0;
    const int before = theNextElementId;
    if (!COperationSymbol::PasteElement(image, head + middle, map))
        return 0;
    u.ID = before + 1;
    MemDbInsert(&ModelUsecase::TableInfo, &u);
    return head + middle + tail;
}

int CJunctionSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char*, CDC*, const char*,
                                  const SymbolT*)
{
    char label[80];
    MakeDefaultName(label, sizeof label);
    return InsertSymbolRow(start, end, pageId, label, nullptr, nullptr);
}

const char* CJunctionSymbol::MakeSyntax(const SymbolT& row, int)
{
    theSyntaxWriter.Reset();
    if (!row.Text || !*row.Text)
        return theSyntaxWriter.GetText();
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (!row.SGUID || !*row.SGUID || c.SelectByKey("DestID", row.SGUID) <= 0) {
            theSyntaxWriter.AddRun(0, 0);
            return theSyntaxWriter.GetText();
        }
    }
    ModelT page;
    std::vector<int> pages;
    if (FetchElementById(row.PID, page)) {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("FID", page.FID) > 0)
            do
                pages.push_back(c->ID);
            while (c.Next());
    }
    int self = row.ID;
    for (int pageId : pages) {
        dbQueryText q;
        q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId);
        q.Append(dbFragText, " and Text=").AppendString(row.Text);
        q.Append(dbFragText, " and Type=").AppendString(metaName);
        q.Append(dbFragText, " and ID!=").Append(dbFragInt4, &self);
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0) {
            theSyntaxWriter.AddRun(0, kPartnered);
            return theSyntaxWriter.GetText();
        }
    }
    theSyntaxWriter.AddRun(0, kAlone);
    return theSyntaxWriter.GetText();
}

COptionTreeItem* CJunctionSymbol::AddSymbolProperties(const SymbolT& row, COptionTree* grid)
{
    return CSymbol::AddSymbolProperties(row, grid);
}

bool CJunctionSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    return CSymbol::ApplySymbolProperties(symbolId, row, category);
}
