// A stand-in for the project files' unit reader and writer, shaped as they
// are: each child element of an owner (by FID, in SN order) is an XML element
// named by its Type holding its attributes, its "Stereo" values and its own
// children; reading asks the prototype of each registered tag to load the
// element, and an ID above 0 owns what follows up to its end tag.
#pragma once

#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/XmlFile.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <string>
#include <vector>

inline void WriteUnitChildren(CXmlFile& xml, int owner)
{
    std::vector<ModelT> children;
    {
        dbQueryText q;
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &owner).Append(dbFragText, " order by SN");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                children.push_back(*c.GetRecord());
            while (c.Next());
    }
    for (const ModelT& e : children) {
        CSymbol* prototype = nullptr;
        if (!FindMetaclass(e.Type, prototype))
            continue;
        xml.BeginElement(e.Type);
        prototype->SaveElementXml(xml, e);
        WriteStereoValues(xml, e.ID);
        WriteUnitChildren(xml, e.ID);
        xml.EndElement();
    }
}

inline bool WriteUnit(const std::string& path, int owner)
{
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_WRITE))
        return false;
    xml.WriteHeader();
    xml.BeginElement("uml");
    xml.WriteAttribute("version", "UML2.0");
    xml.WriteAttribute("tool", "Vexal 1.10.00");
    WriteUnitChildren(xml, owner);
    xml.EndElement();
    xml.Close();
    return !xml.WriteFailed();
}

// Loads the unit's elements under owner; the IDs of its top-level elements,
// or nothing when the file is not a unit.
inline std::vector<int> ReadUnit(const std::string& path, int owner, int itemState = 0)
{
    std::vector<int> top;
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ) || !xml.ReadNextNode() || !xml.NameIs("uml"))
        return top;
    bool version = false;
    while (xml.ReadNextAttribute())
        version = version || (xml.NameIs("version") && std::string(xml.GetValue()) == "UML2.0");
    if (!version)
        return top;
    // Open elements: the owner each one gives its content, -1 for one skipped.
    std::vector<int> owners{owner};
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_END) {
            if (owners.size() > 1)
                owners.pop_back();
            continue;
        }
        if (xml.GetKind() != XML_START)
            continue;
        if (xml.NameIs("Stereo")) {
            ReadStereoValues(xml, owners.back());
            owners.push_back(owners.back());
            continue;
        }
        CSymbol* prototype = nullptr;
        if (owners.back() < 0 || !FindMetaclass(xml.GetName(), prototype)) {
            owners.push_back(-1);
            continue;
        }
        ModelT record;
        record.Type = prototype->metaName;
        record.MMC = prototype->mmc;
        record.ItemState = static_cast<int16_t>(itemState);
        char file[260] = "";
        const int id = prototype->LoadElementXml(xml, record, owners.back(), file);
        if (owners.size() == 1)
            top.push_back(id > 0 ? id : theNextElementId);
        // An element that read its own content has passed its end tag.
        if (id > 0)
            owners.push_back(id);
    }
    return top;
}
