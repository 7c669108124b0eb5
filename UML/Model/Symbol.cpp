#include "UML/Model/Symbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/LineNodes.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/TypeResolution.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int theNextElementId = 0;
int theNextSymbolId = 0;

void ResetModelCounters()
{
    theNextElementId = 0;
    theNextSymbolId = 0;
    ResetTypeResolution();
    theExprChecker.Reset(true);
}

namespace {

const COLORREF kShadow = 0xC8C8C8;
const COLORREF kStereotypeColour = 0xFF0000;

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// The name of the Stereotype element whose GUID the row carries, or null.
bool StereotypeName(const char* guid, char (&name)[65])
{
    if (IsEmpty(guid))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", guid) <= 0)
        return false;
    SafeStrCopy(name, c->Name, sizeof name);
    return true;
}

int TextWidth(CDC* dc, const char* text)
{
    return ZoomUnscale(dc->GetTextExtent(text, static_cast<int>(std::strlen(text))).cx);
}

} // namespace

void DrawGuillemets(CDC* dc, const SymbolT& row, int y, const char* name)
{
    const int nameWidth = TextWidth(dc, name);
    const int open = TextWidth(dc, "<<");
    const int x = ((row.tx2 + row.tx1 - nameWidth) >> 1) - open;
    PageTextOut(dc, x, y, "<<");
    PageTextOut(dc, x + open, y, name);
    PageTextOut(dc, x + open + nameWidth, y, ">>");
}

HitSymbol& HitSymbol::operator=(const HitSymbol& other)
{
    if (this != &other) {
        std::memcpy(type, other.type, sizeof type);
        std::memcpy(guid, other.guid, sizeof guid);
        std::memcpy(sguid, other.sguid, sizeof sguid);
        rec = other.rec;
        rec.Type = type;
        rec.GUID = guid;
        rec.SGUID = sguid;
    }
    return *this;
}

void HitSymbol::Set(const SymbolT& row)
{
    rec = row;
    SafeStrCopy(type, row.Type, sizeof type);
    SafeStrCopy(guid, row.GUID, sizeof guid);
    SafeStrCopy(sguid, row.SGUID, sizeof sguid);
    rec.Type = type;
    rec.GUID = guid;
    rec.SGUID = sguid;
}

void HitSymbol::Clear()
{
    rec = SymbolT();
    type[0] = guid[0] = sguid[0] = '\0';
    rec.Type = type;
    rec.GUID = guid;
    rec.SGUID = sguid;
}

CSymbol::CSymbol(int8_t mmcCode, int8_t mscCode) : mmc(mmcCode), msc(mscCode)
{
}

void CSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    DrawStereotype(dc, row);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED) {
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
    }
}

void CSymbol::DrawShadow(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    PageFillRect(dc, row.x2, row.y1 + 2 * p, row.x2 + p, row.y2, kShadow);
    PageFillRect(dc, row.x1 + 2 * p, row.y2, row.x2 + p, row.y2 + p, kShadow);
}

bool CSymbol::RenameElement(const SymbolT& row)
{
    if (IsEmpty(row.GUID))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo, dbCursorForUpdate);
    if (c.SelectByKey("GUID", row.GUID) <= 0 || SameText(c->Name, row.Text))
        return false;
    ModelT element = *c.GetRecord();
    element.Name = row.Text;
    return MemDbUpdate(&ModelT::TableInfo, &element, c.GetCurrentOid()) != 0;
}

bool CSymbol::TakeNamedElement(SymbolT&, std::string&)
{
    return false;
}

int CSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    if (SameText(row.Text, element.Name) && SameText(row.Stereotype, element.Stereotype))
        return 0;
    SymbolT updated = row;
    updated.Text = element.Name;
    updated.Stereotype = element.Stereotype;
    return MemDbUpdate(&SymbolT::TableInfo, &updated, oid);
}

int CSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    // Box layout would bend a line out of shape: lines are laid out only by a
    // line handler's own fitting of its ends.
    if (msc == MSC_LINE)
        return 0;
    int w = 0, h = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, row, c);
    const int needW = std::max(w, sw) + 300;
    const int needH = sh + h + 300;
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.x2 = row.x1 + needW;
        row.y2 = row.y1 + needH;
    } else {
        if (row.x2 - row.x1 < needW)
            row.x2 = row.x1 + needW;
        if (row.y2 - row.y1 < needH)
            row.y2 = row.y1 + needH;
    }
    row.tx1 = (row.x2 + row.x1 - w) >> 1;
    row.tx2 = row.tx1 + w;
    row.sterey = row.y1 + 150;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

bool CSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    const bool inBox = p.x >= row.x1 && p.x <= row.x2 && p.y >= row.y1 && p.y <= row.y2;
    const bool inText = p.x >= row.tx1 && p.x <= row.tx2 && p.y >= row.ty1 && p.y <= row.ty2;
    if (!inBox && !inText)
        return false;
    out.Set(row);
    return true;
}

const char* CSymbol::MakeSyntax(const SymbolT&, int)
{
    theSyntaxWriter.Reset();
    theSyntaxWriter.AddRun(0, 0);
    return theSyntaxWriter.GetText();
}

int CSymbol::GetOwnerElement(const SymbolT& row, int defaultId)
{
    if (row.FID <= 0 || row.MMC == MMC_NONE || IsEmpty(row.GUID))
        return defaultId;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("GUID", row.GUID) > 0 ? c->FID : defaultId;
}

bool CSymbol::CanBeChildOf(int ownerId)
{
    // An empty model name (a metaclass missing from the metamodel) would match
    // the empty Model of every placement-only rule.
    if (IsEmpty(modelName))
        return false;
    dbTypedCursor<ModelT> owner(&ModelT::TableInfo);
    if (owner.SelectByKey("ID", ownerId) <= 0)
        return false;
    const char* type = owner->Type;
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(type);
    q.Append(dbFragText, " and Model=").AppendString(modelName);
    dbTypedCursor<MetaEle> rules(&MetaEle::TableInfo);
    return rules.Select(q, dbCursorViewOnly) > 0;
}

bool CSymbol::CanConnect(const SymbolT& target, bool source)
{
    // Likewise the empty Symbol of every ownership-only rule.
    if (IsEmpty(symbolName))
        return false;
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(target.Type ? target.Type : "");
    q.Append(dbFragText, " and Symbol=").AppendString(symbolName);
    q.Append(dbFragText, " order by ID");
    dbTypedCursor<MetaEle> rules(&MetaEle::TableInfo);
    if (rules.Select(q, dbCursorViewOnly) <= 0)
        return false;
    const int limit = source ? rules->Out : rules->In;
    if (limit < 0)
        return true;
    if (limit == 0)
        return false;
    dbQueryText lines;
    lines.Append(dbFragText, source ? "SrcID=" : "DestID=").AppendString(target.SGUID ? target.SGUID : "");
    lines.Append(dbFragText, " and Type=").AppendString(symbolName);
    dbTypedCursor<SymbolT> existing(&SymbolT::TableInfo);
    return existing.Select(lines, dbCursorViewOnly) < limit;
}

const char* CSymbol::GetLabel(const ModelT& element)
{
    return element.Name;
}

int CSymbol::MakeDefaultName(char* buffer, int size)
{
    const int n = std::snprintf(buffer, size, "%s%d", metaName, nameCounter);
    ++nameCounter;
    return std::min(n, size - 1);
}

void CSymbol::ClampToPage(int& x, int& y)
{
    const int p = DrawResources::PixelSize;
    auto clamp = [p](int& v, int usable) {
        if (v <= 0)
            v = p;
        else if (v >= usable)
            v = usable - p;
    };
    clamp(x, thePageState.UsableWidth);
    clamp(y, thePageState.UsableHeight);
}

const char* CSymbol::DefaultStereotypeOf(const SymbolT& row) const
{
    CSymbol* model = nullptr;
    if (FindMetaclass(row.Model, model))
        return model->defaultStereotype;
    return defaultStereotype;
}

void CSymbol::DrawStereotype(CDC* dc, const SymbolT& row)
{
    const char* byDefault = DefaultStereotypeOf(row);
    if (IsEmpty(row.Stereotype) && IsEmpty(byDefault))
        return;
    CFont* oldFont = dc->SelectObject(&DrawResources::SmallFont);
    const COLORREF oldColour = dc->SetTextColor(kStereotypeColour);
    int y = row.sterey;
    if (!IsEmpty(byDefault)) {
        DrawGuillemets(dc, row, y, byDefault);
        y += theSysConfig.m_nSmallFontSize;
    }
    char own[65];
    if (StereotypeName(row.Stereotype, own))
        DrawGuillemets(dc, row, y, own);
    dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
}

void CSymbol::MeasureStereotype(int& width, int& height, const SymbolT& row, int charWidth)
{
    char own[65];
    const int o = StereotypeName(row.Stereotype, own) ? static_cast<int>(std::strlen(own)) * charWidth : 0;
    const int d = static_cast<int>(std::strlen(DefaultStereotypeOf(row))) * charWidth;
    const int small = theSysConfig.m_nSmallFontSize;
    if (height == 0) {
        if (d > 0)
            height = small;
        if (o > 0)
            height += small;
    } else if (d > 0 && o > 0) {
        height += small;
    }
    width = std::max(o, d);
    if (width > 0 && theSysConfig.m_nFontSize > 0)
        width = (width + 4 * charWidth) * small / theSysConfig.m_nFontSize;
}

void CSymbol::DeleteElement(int elementId)
{
    if (mmc == MMC_NONE)
        return;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", elementId) > 0)
            MemDbRemove(&ModelT::TableInfo, c.GetCurrentOid());
    }
    DeleteStereotypeValues(elementId);
}

void CSymbol::UpdateAttachedLines(const SymbolT& moved, CDC* dc)
{
    if (IsEmpty(moved.SGUID))
        return;
    for (const char* end : {"SrcID", "DestID"}) {
        const bool source = end[0] == 'S';
        std::vector<oid_t> lines;
        {
            dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
            if (c.SelectByKey(end, moved.SGUID) > 0)
                do
                    if (c->MSC == MSC_LINE)
                        lines.push_back(c.GetCurrentOid());
                while (c.Next());
        }
        for (oid_t oid : lines) {
            SymbolT line;
            CSymbol* prototype = nullptr;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &line) || !FindMetaclass(line.Type, prototype))
                continue;
            int rx = source ? line.x2 : line.x1, ry = source ? line.y2 : line.y1;
            GetLineNode(line.Nodes, rx, ry, source ? 0 : -1);
            if (source)
                GetAttachPoint(moved, line.x1, line.y1, rx, ry);
            else
                GetAttachPoint(moved, line.x2, line.y2, rx, ry);
            if (prototype->Layout(line, dc, &moved))
                MemDbUpdate(&SymbolT::TableInfo, &line, oid);
        }
    }
}
