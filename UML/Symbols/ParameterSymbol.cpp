#include "UML/Symbols/ParameterSymbol.h"

#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "UML/Model/HtmlRows.h"

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
    CBufferedFile file;
    if (!OpenHtmlPage(folder, element, file))
        return false;
    HtmlPageHead(element, file);
    HtmlSectionRow(file, LoadResString(61447));
    HtmlCommonRows(element, file);
    HtmlRowElementRef(file, LoadResString(61500), element.Use);
    ModelParameter p;
    if (FetchExtension(element.ID, p)) {
        HtmlSectionRow(file, LoadResString(61448));
        HtmlRowDirection(file, LoadResString(61487), p.Direction);
        HtmlRowBool(file, LoadResString(61488), p.Reference);
        HtmlRowText(file, LoadResString(61486), p.Multiplicity);
        HtmlRowText(file, LoadResString(61485), p.Defaultvalue);
    }
    HtmlPageTail(file);
    return CloseHtmlPage(file);
}
