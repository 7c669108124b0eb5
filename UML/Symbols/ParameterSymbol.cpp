#include "UML/Symbols/ParameterSymbol.h"

#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/PropertyRows.h"

namespace {

void RefreshOwner(int ownerId)
{
    ModelT owner;
    if (ownerId > 0 && FetchElementById(ownerId, owner))
        RefreshSymbolsOfElement(owner);
}

} // namespace

CParameterSymbol::CParameterSymbol()
{
    mmc = MMC_ATTRIBUTE;
    msc = MSC_LINETEXT;
}

int CParameterSymbol::CreateElement(int ownerId, const char* name, const char* guid, const char* use)
{
    const int id = CExtendedElement::CreateElement(ownerId, name, guid, use);
    if (id)
        RefreshOwner(ownerId);
    return id;
}

int CParameterSymbol::SyncFromElement(const ModelT& element, const SymbolT&, oid_t)
{
    RefreshOwner(element.FID);
    return 0;
}

void CParameterSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    CSymbol::SaveElementXml(xml, element);
    ModelParameter p;
    if (!FetchExtension(element.ID, p))
        return;
    XmlWriteHexIfNotDefault(xml, "Direction", p.Direction, 0);
    XmlWriteHexIfNotDefault(xml, "Reference", p.Reference, 0);
    XmlWriteTextIfSet(xml, "Multiplicity", p.Multiplicity);
    XmlWriteTextIfSet(xml, "Defaultvalue", p.Defaultvalue);
}

bool CParameterSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    return WriteExtendedPage(folder, element, 61500, [](CBufferedFile& file, const ModelParameter& p) {
        HtmlRowDirection(file, LoadResString(61487), p.Direction);
        HtmlRowBool(file, LoadResString(61488), p.Reference);
        HtmlRowText(file, LoadResString(61486), p.Multiplicity);
        HtmlRowText(file, LoadResString(61485), p.Defaultvalue);
    });
}

COptionTreeItem* CParameterSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    if (!base)
        return nullptr;
    AddTypeRow(base, grid, "Use", LoadResString(61500), element.Use, element.FID, readOnly);
    ModelParameter p;
    COptionTreeItem* extended = FetchExtension(element.ID, p) ? AddExtendedCategory(grid) : nullptr;
    if (!extended)
        return base;
    AddDirectionRow(extended, grid, LoadResString(61487), p.Direction, readOnly);
    AddCheckRow(extended, grid, "Reference", LoadResString(61488), p.Reference != 0, readOnly);
    AddEditRow(extended, grid, "Multiplicity", LoadResString(61486), p.Multiplicity, readOnly, false);
    AddEditRow(extended, grid, "Defaultvalue", LoadResString(61485), p.Defaultvalue, readOnly, false);
    return extended;
}

int CParameterSymbol::ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root)
{
    const int changed = CExtendedElement::ApplyElementProperties(recordId, element, root);
    if (changed)
        RefreshOwner(element.FID);
    return changed;
}
