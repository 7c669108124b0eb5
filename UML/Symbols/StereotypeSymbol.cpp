#include "UML/Symbols/StereotypeSymbol.h"

#include "Controls/OptionTreeComboBoxItem.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Platform/Resource.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Symbols/BaseRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const COLORREF kStereotypeColour = 0xFF0000;

} // namespace

CStereotypeSymbol::CStereotypeSymbol()
{
    mmc = MMC_STEREOTYPE;
    msc = MSC_RECTANGLE;
}

int CStereotypeSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    const auto same = [](const char* a, const char* b) { return std::strcmp(a ? a : "", b ? b : "") == 0; };
    if (same(row.Text, element.Name) && same(row.Stereotype, element.Use))
        return 0;
    SymbolT updated = row;
    updated.Text = element.Name;
    updated.Stereotype = element.Use;
    return MemDbUpdate(&SymbolT::TableInfo, &updated, oid);
}

void CStereotypeSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawPlainBox(row, dc, false);
    if (!(row.ItemState & BOX_COLLAPSED))
        DrawCompartment(row, dc, MMC_ATTRIBUTE, "Attribute");
}

bool CStereotypeSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    return HitCompartment(p, row, MMC_ATTRIBUTE, "Attribute", out);
}

void CStereotypeSymbol::DrawStereotype(CDC* dc, const SymbolT& row)
{
    const char* byDefault = DefaultStereotypeOf(row);
    if (IsEmpty(byDefault) && IsEmpty(row.Stereotype))
        return;
    CFont* oldFont = dc->SelectObject(&DrawResources::SmallFont);
    const COLORREF oldColour = dc->SetTextColor(kStereotypeColour);
    int y = row.sterey;
    if (!IsEmpty(byDefault)) {
        DrawGuillemets(dc, row, y, byDefault);
        y += theSysConfig.m_nSmallFontSize;
    }
    if (!IsEmpty(row.Stereotype))
        DrawGuillemets(dc, row, y, row.Stereotype);
    dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
}

void CStereotypeSymbol::MeasureStereotype(int& width, int& height, const SymbolT& row, int charWidth)
{
    const int small = theSysConfig.m_nSmallFontSize;
    const size_t first = std::strlen(DefaultStereotypeOf(row));
    const size_t second = row.Stereotype ? std::strlen(row.Stereotype) : 0;
    height = small + (first > 0 && second > 0 ? small : 0);
    width = static_cast<int>(std::max(first, second)) * charWidth;
    if (width > 0 && theSysConfig.m_nFontSize > 0)
        width = (width + 4 * charWidth) * small / theSysConfig.m_nFontSize;
}

COptionTreeItem* CStereotypeSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* category = AddNameTypeCategory(element, readOnly, false, grid);
    if (!category)
        return nullptr;
    AddBaseTypeRow(category, grid, LoadResString(61516), element.Use, readOnly);
    return category;
}

void CStereotypeSymbol::AddBaseTypeRow(COptionTreeItem* category, COptionTree* grid, const char* label,
                                       const char* current, bool readOnly)
{
    COptionTreeComboBoxItem* chooser = AddComboRow(category, grid, "Use", label, readOnly);
    if (!chooser)
        return;
    const char* chosen = current ? current : "";
    const auto add = [chooser, chosen](const char* name) {
        const int at = chooser->AddString(name);
        chooser->SetItemData(at, reinterpret_cast<DWORD_PTR>(name));
        if (std::strcmp(name, chosen) == 0)
            chooser->SetCurSel(at);
    };
    if (readOnly) {
        if (*chosen)
            add(chosen);
        return;
    }
    for (CSymbol* prototype : GetSortedMetaclasses())
        if (prototype->metaName[0])
            add(prototype->metaName);
}

void CStereotypeSymbol::DeleteElement(int elementId)
{
    ModelT element;
    oid_t oid = 0;
    if (!FetchElementById(elementId, element, &oid))
        return;
    const std::string guid = element.GUID ? element.GUID : "";
    MemDbRemove(&ModelT::TableInfo, oid);
    DeleteStereotypeValues(elementId);
    if (guid.empty())
        return;
    std::vector<int> carriers;
    {
        dbQueryText q;
        q.Append(dbFragText, "StereotypeGUID=").AppendString(guid.c_str());
        dbTypedCursor<StereotypeObj> c(&StereotypeObj::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                carriers.push_back(c->OID);
            while (c.Next());
    }
    for (int carrier : carriers) {
        if (carrier < 0) {
            SymbolT symbol;
            oid_t symbolOid = 0;
            if (FetchSymbolById(-carrier, symbol, &symbolOid)) {
                symbol.Stereotype = "";
                MemDbUpdate(&SymbolT::TableInfo, &symbol, symbolOid);
            }
            DeleteStereotypeValues(carrier);
            continue;
        }
        ModelT carrying;
        oid_t carryingOid = 0;
        CSymbol* prototype = nullptr;
        if (!FetchElementById(carrier, carrying, &carryingOid) || !FindMetaclass(carrying.Type, prototype))
            continue;
        carrying.Stereotype = "";
        MemDbUpdate(&ModelT::TableInfo, &carrying, carryingOid);
        DeleteStereotypeValues(carrier);
        theShellHooks.MarkModified(carrier, 1);
        theShellHooks.RefreshElementSymbols(carrier);
    }
}
