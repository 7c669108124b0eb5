#include "UML/Symbols/ClassifierSymbols.h"

#include "Controls/OptionTree.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/ParameterText.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/StereotypeRows.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ContainedSymbols.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const int kMemberIndent = 150;
const COLORREF kPunctuation = 0xFF0000;
const COLORREF kTypeName = 0x008000;

int FontHeight()
{
    return theSysConfig.m_nFontSize;
}

bool FetchByOid(oid_t oid, SymbolT& row)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectById(oid) <= 0)
        return false;
    row = *c.GetRecord();
    return true;
}

CSymbol* MemberPrototype(const char* key)
{
    CSymbol* prototype = nullptr;
    return FindMetaclass(key, prototype) ? prototype : nullptr;
}

} // namespace

int PlaceBoxMembers(SymbolT& box, CDC* dc, int mmc, int f, int extra, int& width)
{
    for (oid_t oid : BoxMemberOids(box.ID, mmc)) {
        SymbolT line;
        if (!FetchByOid(oid, line))
            continue;
        box.ItemState |= SYMBOL_HAS_CHILDREN;
        int w = 0, h = 0;
        MeasureText(dc, w, h, line.Text);
        width = std::max(width, w);
        const int p = DrawResources::PixelSize;
        line.x1 = line.tx1 = box.x1 + kMemberIndent;
        line.y1 = line.ty1 = f;
        line.x2 = line.tx2 = box.x1 + kMemberIndent + extra + w;
        line.y2 = line.ty2 = f + p + h;
        MemDbUpdate(&SymbolT::TableInfo, &line, oid);
        f = line.y2;
    }
    return f;
}

int DrawBoxMembers(const SymbolT& box, CDC* dc, int mmc, const char* key, int top, int limit)
{
    CSymbol* prototype = MemberPrototype(key);
    if (!prototype)
        return top;
    for (oid_t oid : BoxMemberOids(box.ID, mmc)) {
        SymbolT line;
        if (!FetchByOid(oid, line) || line.y2 >= limit)
            continue;
        prototype->Draw(line, dc);
        top = std::max(top, line.y2);
    }
    return top;
}

bool HitBoxMembers(POINT p, const SymbolT& box, int mmc, const char* key, int& c, HitSymbol& out)
{
    CSymbol* prototype = MemberPrototype(key);
    if (!prototype)
        return false;
    for (oid_t oid : BoxMemberOids(box.ID, mmc)) {
        SymbolT line;
        if (!FetchByOid(oid, line))
            continue;
        c = line.y2;
        if (prototype->HitTest(p, line, out))
            return true;
    }
    return false;
}

bool HitMemberBand(POINT p, const SymbolT& box, int c, int from, const char* key, HitSymbol& out)
{
    const int pixel = DrawResources::PixelSize;
    if (p.y < c + from || p.y > c + FontHeight() + from)
        return false;
    out.Set(box);
    out.rec.tx1 = box.x1 + kMemberIndent;
    out.rec.tx2 = box.x2 - kMemberIndent;
    out.rec.ty1 = c + pixel;
    out.rec.ty2 = c + FontHeight() + pixel;
    out.rec.ItemState |= SYMBOL_CHECKED;
    out.rec.ID = 0;
    out.rec.FID = box.ID;
    out.rec.Text = nullptr;
    SafeStrCopy(out.type, key, sizeof out.type);
    return true;
}

namespace {

void Run(COLORREF colour)
{
    theSyntaxWriter.AddRun(TextPool.BuiltLength(), colour);
}

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

} // namespace

std::vector<oid_t> BoxMemberOids(int boxId, int mmc)
{
    // Never destroyed: the compiled query outlives every caller.
    static int boundBox = 0;
    static int boundMmc = 0;
    static dbQueryText* query = [] {
        auto* q = new dbQueryText;
        q->Append(dbFragText, "FID=").Append(dbFragInt4, &boundBox);
        q->Append(dbFragText, " and MMC=").Append(dbFragInt4, &boundMmc);
        q->Append(dbFragText, " order by ID");
        return q;
    }();
    boundBox = boxId;
    boundMmc = mmc;
    std::vector<oid_t> oids;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (boxId > 0 && c.Select(*query, dbCursorViewOnly) > 0)
        do
            oids.push_back(c.GetCurrentOid());
        while (c.Next());
    return oids;
}

void FitBox(SymbolT& row, int bottom, int width, int tw, int th, int sh)
{
    const int p = DrawResources::PixelSize;
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.y2 = bottom;
        row.x2 = row.x1 + width;
    } else {
        row.x2 = std::max(row.x2, row.x1 + width);
        row.y2 = std::max(row.y2, bottom);
        width = row.x2 - row.x1;
    }
    row.tx1 = row.x1 + (width - tw) / 2;
    row.ty1 = row.y1 + p + sh;
    row.tx2 = row.tx1 + p + tw;
    row.ty2 = row.ty1 + th;
}

CInterfaceSymbol::CInterfaceSymbol() : CSymbol(MMC_CLASS, MSC_RECTANGLE)
{
}

void CInterfaceSymbol::DrawPlainBox(const SymbolT& row, CDC* dc, bool runs)
{
    SyntaxRunCodec codec;
    codec.Attach(runs ? row.Syntax : nullptr);
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    if (runs)
        DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, codec);
    else
        PageTextOut(dc, row.tx1, row.ty1, row.Text ? row.Text : "");
    DrawStereotype(dc, row);
    if (row.ItemState & BOX_ACTIVE) {
        const int p = DrawResources::PixelSize;
        for (int x : {row.x1 + 3 * p, row.x2 - 3 * p}) {
            PageMoveTo(dc, x, row.y1);
            PageLineTo(dc, x, row.y2);
        }
    }
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED) {
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
    }
}

void CInterfaceSymbol::DrawCompartment(const SymbolT& row, CDC* dc, int mmc, const char* key)
{
    const int p = DrawResources::PixelSize;
    const int font = FontHeight();
    int a = row.ty2 + p;
    PageMoveTo(dc, row.x1, a);
    PageLineTo(dc, row.x2, a);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        a = DrawBoxMembers(row, dc, mmc, key, a, row.y2 - 2 * font - 2 * p);
    PageMoveTo(dc, row.x1, a + font + p);
    PageLineTo(dc, row.x2, a + font + p);
}

bool CInterfaceSymbol::HitCompartment(POINT p, const SymbolT& row, int mmc, const char* key, HitSymbol& out)
{
    CSymbol* prototype = nullptr;
    if (p.x < row.x1 || p.x > row.x2 || p.y < row.y1 || p.y > row.y2 || !FindMetaclass(key, prototype))
        return false;
    if (!(row.ItemState & BOX_COLLAPSED)) {
        int c = row.ty2 + DrawResources::PixelSize;
        if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitBoxMembers(p, row, mmc, key, c, out))
            return true;
        if (HitMemberBand(p, row, c, 0, key, out))
            return true;
    }
    out.Set(row);
    return true;
}

int CInterfaceSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                   const char* elementGuid, const SymbolT* related)
{
    return CreateElementSymbol(start, end, pageId, text, elementGuid, related, true);
}

int CInterfaceSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int minimumWidth = 1200;
    const int p = DrawResources::PixelSize;
    const int font = FontHeight();
    int tw = 0, th = 0;
    const int charWidth = MeasureText(dc, tw, th, row.Text);
    int sw = 0, sh = theSysConfig.m_nSmallFontSize;
    MeasureStereotype(sw, sh, row, charWidth);
    int width = std::max({minimumWidth, tw, sw}) + 300 + 4 * p;
    row.sterey = row.y1 + p;
    int f = row.y1 + 4 * p + th + sh;
    if (!(row.ItemState & BOX_COLLAPSED)) {
        row.ItemState &= ~SYMBOL_HAS_CHILDREN;
        if (row.ID <= 0) {
            f += 2 * font + 2 * p;
        } else {
            int members = 0;
            f = PlaceBoxMembers(row, dc, 3, f, p, members);
            f += font + 2 * p;
            f = PlaceBoxMembers(row, dc, 2, f, 0, members);
            f += font + p;
            if (members > 0)
                width = std::max(width, members + 300);
        }
    }
    FitBox(row, f + p, width, tw, th, sh);
    return 1;
}

void CInterfaceSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawPlainBox(row, dc, true);
    if (row.ItemState & BOX_COLLAPSED)
        return;
    const int p = DrawResources::PixelSize;
    const int font = FontHeight();
    int a = row.ty2 + p;
    PageMoveTo(dc, row.x1, a);
    PageLineTo(dc, row.x2, a);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        a = DrawBoxMembers(row, dc, 3, "Attribute", a, row.y2 - 2 * font - 2 * p);
    PageMoveTo(dc, row.x1, a + font + p);
    PageLineTo(dc, row.x2, a + font + p);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawBoxMembers(row, dc, 2, "Operation", a + font + p, row.y2 - font - p);
}

bool CInterfaceSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if (p.x < row.x1 || p.x > row.x2 || p.y < row.y1 || p.y > row.y2)
        return false;
    if (!(row.ItemState & BOX_COLLAPSED)) {
        const bool members = (row.ItemState & SYMBOL_HAS_CHILDREN) != 0;
        const int pixel = DrawResources::PixelSize;
        int c = row.ty2 + pixel;
        if (members && HitBoxMembers(p, row, 3, "Attribute", c, out))
            return true;
        if (HitMemberBand(p, row, c, pixel, "Attribute", out))
            return true;
        c += FontHeight() + pixel;
        if (members && HitBoxMembers(p, row, 2, "Operation", c, out))
            return true;
        if (HitMemberBand(p, row, c, pixel, "Operation", out))
            return true;
    }
    out.Set(row);
    return true;
}

COptionTreeItem* CInterfaceSymbol::AddSymbolProperties(const SymbolT& row, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61466), PROPERTY_SYMBOL);
    if (!category)
        return nullptr;
    const bool readOnly = (row.ItemState & SYMBOL_READONLY) != 0;
    AddCheckRow(category, grid, "Autolayout", LoadResString(61519), (row.ItemState & SYMBOL_AUTOLAYOUT) != 0,
                readOnly);
    AddColorRow(category, grid, LoadResString(61520), static_cast<COLORREF>(row.Color), readOnly);
    AddCheckRow(category, grid, "Collapse", LoadResString(61522), (row.ItemState & BOX_COLLAPSED) != 0, readOnly);
    if (IsEmpty(row.GUID))
        AddStereotypeRow(category, grid, row.Type, -row.ID, row.Stereotype, readOnly);
    return category;
}

bool CInterfaceSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    bool changed = CSymbol::ApplySymbolProperties(symbolId, row, category);
    for (COptionTreeItem* r = category ? category->GetFirstChild() : nullptr; r; r = r->GetNextSibling()) {
        if (std::strcmp(r->GetKey() ? r->GetKey() : "", "Collapse") != 0)
            continue;
        const int16_t collapsed = r->GetValueInt() ? BOX_COLLAPSED : 0;
        if ((row.ItemState & BOX_COLLAPSED) != collapsed) {
            row.ItemState = static_cast<int16_t>((row.ItemState & ~BOX_COLLAPSED) | collapsed);
            changed = true;
        }
    }
    return changed;
}

void BuildTemplateText(const ModelT& element)
{
    TextPool.Reset();
    theSyntaxWriter.Reset();
    Run(0);
    TextPool.Append(element.Name ? element.Name : "");
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &element.ID);
    q.Append(dbFragText, " and Type=").AppendString("Parameter");
    q.Append(dbFragText, " order by SN");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) <= 0)
        return;
    Run(kPunctuation);
    TextPool.Append("<");
    bool first = true;
    do {
        if (!first) {
            Run(kPunctuation);
            TextPool.Append(",");
        }
        first = false;
        Run(0);
        TextPool.Append(c->Name ? c->Name : "");
        if (IsEmpty(c->Use))
            continue;
        ModelT type;
        const bool word = std::strcmp(c->Use, "type") == 0;
        dbTypedCursor<ModelT> t(&ModelT::TableInfo);
        if (!word && t.SelectByKey("GUID", c->Use) <= 0)
            continue;
        Run(kPunctuation);
        TextPool.Append(":");
        Run(kTypeName);
        TextPool.Append(word ? "type" : (t->Name ? t->Name : ""));
    } while (c.Next());
    Run(kPunctuation);
    TextPool.Append(">");
}

void CClassSymbol::Draw(const SymbolT& row, CDC* dc)
{
    CInterfaceSymbol::Draw(row, dc);
    if (!(row.ItemState & SYMBOL_HAS_CHILDREN))
        return;
    for (oid_t oid : BorderOids(row.ID)) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (FetchByOid(oid, child) && FindMetaclass(child.Type, prototype))
            prototype->Draw(child, dc);
    }
}

int CClassSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    CInterfaceSymbol::Layout(row, dc, related);
    if (row.ID <= 0)
        return 1;
    const std::vector<oid_t> attached = BorderOids(row.ID);
    if (!attached.empty())
        row.ItemState |= SYMBOL_HAS_CHILDREN;
    for (oid_t oid : attached) {
        SymbolT child;
        LayoutContained(oid, row, dc, child);
    }
    return 1;
}

bool CClassSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    if (row.ItemState & SYMBOL_HAS_CHILDREN) {
        for (oid_t oid : BorderOids(row.ID)) {
            SymbolT child;
            CSymbol* prototype = nullptr;
            if (FetchByOid(oid, child) && FindMetaclass(child.Type, prototype) &&
                prototype->HitTest(point, child, out))
                return true;
        }
    }
    return CInterfaceSymbol::HitTest(point, row, out);
}

int CClassSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    BuildTemplateText(element);
    const std::string text = TextPool.Built();
    TextPool.Reset();
    ModelClass extension{};
    FetchExtension(element.ID, extension);
    const int active = extension.Active ? BOX_ACTIVE : 0;
    if (SameText(row.Text, text.c_str()) && (row.ItemState & BOX_ACTIVE) == active &&
        SameText(row.Stereotype, element.Stereotype))
        return 0;
    SymbolT updated = row;
    updated.Text = text.c_str();
    updated.Syntax = theSyntaxWriter.GetText();
    updated.Stereotype = element.Stereotype;
    updated.ItemState = static_cast<int16_t>((row.ItemState & ~BOX_ACTIVE) | active);
    return MemDbUpdate(&SymbolT::TableInfo, &updated, oid);
}

bool CClassSymbol::RenameElement(const SymbolT& row)
{
    ModelT element;
    oid_t oid = 0;
    if (!ElementOfSymbol(row, element, oid))
        return false;
    const std::string text = row.Text ? row.Text : "";
    const size_t open = text.find('<');
    std::string name = text;
    if (open != std::string::npos && open > 0) {
        name = text.substr(0, open);
        const size_t close = text.find('>', open + 1);
        if (close != std::string::npos)
            ParseParameters(element.ID, text.c_str() + open + 1, static_cast<int>(close - open - 1));
    }
    element.Name = name.c_str();
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

const char* CClassSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    const char* text = row.Text ? row.Text : "";
    if (!*text)
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(0, 0);
    const char* open = std::strchr(text, '<');
    if (open && open > text) {
        theSyntaxWriter.AddRun(static_cast<int>(open - text), kPunctuation);
        const char* close = std::strchr(open + 1, '>');
        if (close) {
            theSyntaxWriter.SetBase(static_cast<int>(open + 1 - text));
            ColorParameterList(scopeId, open + 1, static_cast<int>(close - open - 1), theSyntaxWriter);
            theSyntaxWriter.SetBase(0);
            theSyntaxWriter.AddRun(static_cast<int>(close - text), kPunctuation);
        }
    }
    return theSyntaxWriter.GetText();
}

void CClassSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    CSymbol::SaveElementXml(xml, element);
    ModelClass extension{};
    if (!FetchExtension(element.ID, extension))
        return;
    XmlWriteHexIfNotDefault(xml, "Abstract", extension.Abstract, 0);
    XmlWriteHexIfNotDefault(xml, "Active", extension.Active, 0);
}

bool CClassSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    return WriteExtendedPage(folder, element, 0, [](CBufferedFile& file, const ModelClass& extension) {
        HtmlRowBool(file, LoadResString(61477), extension.Abstract);
        HtmlRowBool(file, LoadResString(61478), extension.Active);
    });
}

COptionTreeItem* CClassSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* last = CSymbol::AddElementProperties(element, readOnly, grid);
    ModelClass k{};
    COptionTreeItem* extended = FetchExtension(element.ID, k) ? AddExtendedCategory(grid) : nullptr;
    if (!extended)
        return last;
    AddCheckRow(extended, grid, "Abstract", LoadResString(61477), k.Abstract != 0, readOnly);
    AddCheckRow(extended, grid, "Active", LoadResString(61478), k.Active != 0, readOnly);
    return extended;
}
