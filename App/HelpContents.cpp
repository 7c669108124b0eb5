#include "App/HelpContents.h"

#include <cctype>

namespace {

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

std::string Decoded(const std::string& text)
{
    static const struct {
        const char* entity;
        char ch;
    } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}, {"&amp;", '&'}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        if (text[i] == '&')
            for (const auto& e : kEntities)
                if (text.compare(i, std::char_traits<char>::length(e.entity), e.entity) == 0) {
                    out += e.ch;
                    i += std::char_traits<char>::length(e.entity) - 1;
                    replaced = true;
                    break;
                }
        if (!replaced)
            out += text[i];
    }
    return out;
}

// The value of attribute name in the tag's text (after its name); "" when absent.
std::string Attribute(const std::string& tag, const std::string& name)
{
    const std::string lower = Lower(tag);
    for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(lower[at - 1])))
            continue;
        size_t pos = at + name.size();
        while (pos < tag.size() && std::isspace(static_cast<unsigned char>(tag[pos])))
            ++pos;
        if (pos >= tag.size() || tag[pos] != '=')
            continue;
        ++pos;
        while (pos < tag.size() && std::isspace(static_cast<unsigned char>(tag[pos])))
            ++pos;
        if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) {
            const size_t end = tag.find(tag[pos], pos + 1);
            return Decoded(tag.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1));
        }
        const size_t end = tag.find_first_of(" \t\r\n>", pos);
        return Decoded(tag.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    }
    return std::string();
}

} // namespace

std::vector<HelpContentsEntry> ParseHelpContents(const std::string& sitemap)
{
    std::vector<HelpContentsEntry> entries;
    int depth = 0;
    bool inEntry = false;
    HelpContentsEntry entry{0, std::string(), std::string()};
    for (size_t open = sitemap.find('<'); open != std::string::npos; open = sitemap.find('<', open + 1)) {
        const size_t close = sitemap.find('>', open);
        if (close == std::string::npos)
            break;
        const std::string tag = sitemap.substr(open + 1, close - open - 1);
        const size_t nameEnd = tag.find_first_of(" \t\r\n/", tag[0] == '/' ? 1 : 0);
        const std::string name = Lower(tag.substr(0, nameEnd));
        if (name == "ul") {
            ++depth;
        } else if (name == "/ul") {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (name == "object" && Lower(Attribute(tag, "type")) == "text/sitemap") {
            inEntry = true;
            entry = HelpContentsEntry{depth > 0 ? depth - 1 : 0, std::string(), std::string()};
        } else if (name == "param" && inEntry) {
            const std::string param = Lower(Attribute(tag, "name"));
            if (param == "name")
                entry.name = Attribute(tag, "value");
            else if (param == "local")
                entry.local = Attribute(tag, "value");
        } else if (name == "/object" && inEntry) {
            inEntry = false;
            entries.push_back(entry);
        }
        open = close;
    }
    return entries;
}
