#include "UML/Model/StereotypeValues.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"

#include <vector>

namespace {

template <class Row>
std::vector<oid_t> RowsOfOwner(int owner)
{
    std::vector<oid_t> rows;
    dbTypedCursor<Row> c(&Row::TableInfo);
    if (c.SelectByKey("OID", owner) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

} // namespace

void DeleteStereotypeValues(int owner)
{
    for (oid_t oid : RowsOfOwner<StereotypeObj>(owner))
        MemDbRemove(&StereotypeObj::TableInfo, oid);
    for (oid_t oid : RowsOfOwner<StereotypeT>(owner))
        MemDbRemove(&StereotypeT::TableInfo, oid);
}

void LinkElementStereotype(int owner, const char* guid)
{
    if (!guid || !*guid)
        return;
    StereotypeObj link{owner, guid};
    theModelDb.InsertRecord(&StereotypeObj::TableInfo, &link);
}

void ReadStereoValues(CXmlFile& xml, int owner)
{
    const char* tag = nullptr;
    const char* value = nullptr;
    while (xml.ReadNextAttribute()) {
        if (xml.NameIs("SSGUID"))
            tag = TextPool.Stage(xml.GetValue());
        else if (xml.NameIs("Value"))
            value = TextPool.Stage(xml.GetValue());
    }
    if (tag && *tag && value && *value) {
        StereotypeT row{owner, tag, value};
        theModelDb.InsertRecord(&StereotypeT::TableInfo, &row);
    }
    TextPool.Reset();
}

void WriteStereoValues(CXmlFile& xml, int owner)
{
    dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
    if (c.SelectByKey("OID", owner) <= 0)
        return;
    do {
        if (!c->Value || !*c->Value)
            continue;
        xml.BeginElement("Stereo");
        xml.WriteAttribute("SSGUID", c->SSGUID);
        xml.WriteAttribute("Value", c->Value);
        xml.EndElement();
    } while (c.Next());
}
