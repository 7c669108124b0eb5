// Reads a whole XML file with the program's own reader into a list of start and
// end nodes with their attributes, for tests over the shipped data files.
#pragma once

#include "Pub/XmlFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

namespace xmlscan {

struct Node {
    int kind; // XML_START or XML_END
    std::string name;
    std::vector<std::pair<std::string, std::string>> attrs;

    const std::string* Attr(const std::string& key) const
    {
        for (const auto& a : attrs)
            if (a.first.size() == key.size() &&
                std::equal(a.first.begin(), a.first.end(), key.begin(),
                           [](char x, char y) { return std::tolower(x) == std::tolower(y); }))
                return &a.second;
        return nullptr;
    }
};

struct Document {
    bool headerOk = false;
    bool hadBom = false;
    std::vector<Node> nodes;
};

inline Document Read(const std::string& path)
{
    Document doc;
    std::ifstream raw(path, std::ios::binary);
    char bom[3] = {};
    raw.read(bom, 3);
    doc.hadBom = raw.gcount() == 3 && bom[0] == '\xEF' && bom[1] == '\xBB' && bom[2] == '\xBF';

    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ))
        return doc;
    doc.headerOk = true;
    while (xml.ReadNextNode()) {
        const int kind = xml.GetKind();
        if (kind != XML_START && kind != XML_END)
            continue;
        Node node{kind, xml.GetName(), {}};
        if (kind == XML_START)
            while (xml.ReadNextAttribute())
                node.attrs.emplace_back(xml.GetName(), std::string(xml.GetValue(), xml.GetValueLength()));
        doc.nodes.push_back(node);
    }
    xml.Close();
    return doc;
}

} // namespace xmlscan
