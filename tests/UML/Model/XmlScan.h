// A small reader of the XML subset that the shipped data files use, following
// the scanning rules of the program's own reader: line breaks are dropped, a tag
// ends at its first '>', a self-closing tag reports its end right after its start,
// and the file must open with the exact UTF-8 declaration (after an optional BOM).
#pragma once

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace xmlscan {

struct Node {
    enum Kind { Start = 1, End = 3, Comment = 5, Other = 6 } kind;
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
    std::string error;
};

inline std::string Decode(const std::string& raw)
{
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&#x0D;", '\r'},
        {"&#x0A;", '\n'}, {"&#x09;", '\t'}, {"&lt;", '<'}, {"&gt;", '>'}};
    std::string out;
    for (size_t i = 0; i < raw.size();) {
        bool matched = false;
        for (const auto& e : entities) {
            std::string ent = e.first;
            if (raw.compare(i, ent.size(), ent) == 0) {
                out += e.second;
                i += ent.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += raw[i++];
    }
    return out;
}

inline bool ParseTag(const std::string& tag, Node& node, std::string& error)
{
    size_t i = 0;
    bool end = !tag.empty() && tag[0] == '/';
    if (end)
        ++i;
    size_t nameEnd = tag.find_first_of(" /", i);
    node.name = tag.substr(i, nameEnd == std::string::npos ? std::string::npos : nameEnd - i);
    node.kind = end ? Node::End : Node::Start;
    i = nameEnd == std::string::npos ? tag.size() : nameEnd;
    while (i < tag.size()) {
        while (i < tag.size() && tag[i] == ' ')
            ++i;
        if (i >= tag.size() || tag[i] == '/')
            break;
        size_t eq = tag.find('=', i);
        if (eq == std::string::npos || eq + 1 >= tag.size() || tag[eq + 1] != '"') {
            error = "bad attribute in <" + tag + ">";
            return false;
        }
        size_t close = tag.find('"', eq + 2);
        if (close == std::string::npos) {
            error = "unterminated value in <" + tag + ">";
            return false;
        }
        node.attrs.emplace_back(tag.substr(i, eq - i), Decode(tag.substr(eq + 2, close - eq - 2)));
        i = close + 1;
    }
    return true;
}

inline Document Read(const std::string& path)
{
    Document doc;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        doc.error = "cannot open " + path;
        return doc;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t pos = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        doc.hadBom = true;
        pos = 3;
    }
    std::vector<std::string> tags;
    std::string current;
    bool inside = false;
    for (; pos < bytes.size(); ++pos) {
        char c = bytes[pos];
        if (c == '\r' || c == '\n')
            continue;
        if (c == '\t')
            c = ' ';
        if (c == '<') {
            if (inside)
                continue;
            inside = true;
            current.clear();
        } else if (c == '>') {
            if (!inside)
                continue;
            inside = false;
            tags.push_back(current);
        } else if (inside) {
            current += c;
        }
    }
    if (tags.empty() || tags[0] != "?xml version=\"1.0\" encoding=\"UTF-8\"?") {
        doc.error = "bad declaration";
        return doc;
    }
    doc.headerOk = true;
    for (size_t t = 1; t < tags.size(); ++t) {
        const std::string& tag = tags[t];
        Node node{Node::Other, {}, {}};
        if (tag.compare(0, 3, "!--") == 0) {
            node.kind = Node::Comment;
        } else if (!tag.empty() && tag[0] != '!' && tag[0] != '?') {
            if (!ParseTag(tag, node, doc.error))
                return doc;
        }
        doc.nodes.push_back(node);
        if (node.kind == Node::Start && !tag.empty() && tag.back() == '/')
            doc.nodes.push_back(Node{Node::End, node.name, {}});
    }
    return doc;
}

} // namespace xmlscan
