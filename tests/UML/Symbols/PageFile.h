// A page element in a file of its own, shaped as in a unit file: the XML
// declaration, the "uml" root and one "Page" element holding the symbols.
#pragma once

#include "Pub/XmlFile.h"
#include "UML/Symbols/PageSymbol.h"

#include <string>

inline bool WritePageFile(const std::string& path, int pageId)
{
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_WRITE))
        return false;
    xml.WriteHeader();
    xml.BeginElement("uml");
    xml.WriteAttribute("version", "UML2.0");
    xml.BeginElement("Page");
    CPageSymbol::SaveSymbolsXml(xml, pageId, 0);
    xml.EndElement();
    xml.EndElement();
    xml.Close();
    return !xml.WriteFailed();
}

// Reads the symbols of the file's first Page element onto pageId; false when
// the file has none.
inline bool ReadPageFile(const std::string& path, int pageId, bool readOnly = false)
{
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ))
        return false;
    while (xml.ReadNextNode())
        if (xml.GetKind() == XML_START && xml.NameIs("Page")) {
            while (xml.ReadNextAttribute()) {
            }
            CPageSymbol::LoadSymbolsXml(xml, pageId, readOnly);
            return true;
        }
    return false;
}
