#include "UML/Model/ElementXml.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbFieldInfo.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"
#include "UML/Model/FieldText.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/Symbol.h"

#include <strings.h>

bool IsStructuralColumn(const char* name)
{
    for (const char* column : {"ID", "SN", "FID", "Type", "MMC"})
        if (strcasecmp(name, column) == 0)
            return true;
    return false;
}

bool LoadRecordFromXml(CXmlFile& xml, dbTableInfo* table, void* record)
{
    const dbFieldInfo* fd = FindColumn(table, xml.GetName());
    if (!fd)
        return false;
    if (fd->appType != dbFieldInfo::tpString)
        SetIntField(fd, record, ParseHex(xml.GetValue()));
    else if (const char* text = TextPool.Stage(xml.GetValue()))
        SetTextField(fd, record, text);
    return true;
}

void XmlWriteTextIfSet(CXmlFile& xml, const char* name, const char* text)
{
    if (text && *text)
        xml.WriteAttribute(name, text);
}

void XmlWriteHexIfNotDefault(CXmlFile& xml, const char* name, int value, int defaultValue)
{
    if (value != defaultValue)
        xml.WriteAttributeHex(name, value);
}

int CSymbol::LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path)
{
    const int fixed = record.ItemState & ITEM_FIXED;
    record.FID = ownerId;
    while (xml.ReadNextAttribute())
        if (!IsStructuralColumn(xml.GetName()))
            LoadRecordFromXml(xml, &ModelT::TableInfo, &record);
    record.ItemState = static_cast<int16_t>((record.ItemState & ~ITEM_FIXED) | fixed);
    record.ID = record.SN = ++theNextElementId;
    theModelDb.InsertRecord(&ModelT::TableInfo, &record);
    if (path)
        SafeStrCopy(path, record.File, 260);
    LinkElementStereotype(record.ID, record.Stereotype);
    TextPool.Reset();
    return record.ID;
}

void CSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    XmlWriteTextIfSet(xml, "Name", element.Name);
    XmlWriteTextIfSet(xml, "File", element.File);
    XmlWriteTextIfSet(xml, "Stereotype", element.Stereotype);
    XmlWriteTextIfSet(xml, "GUID", element.GUID);
    XmlWriteTextIfSet(xml, "Use", element.Use);
    XmlWriteHexIfNotDefault(xml, "Visibility", element.Visibility, 0);
}
