// Builds the program's help file: the hand-written topics of Help/, one topic
// per metaclass of cfg/meta.xml that names a help page (a hand-written
// paragraph of Help/metaclasses.txt around what the metamodel says of where
// its elements may stand and what they may hold), the contents and the
// index, compiled by chmcmd. Run by the build:
//   help_project <Help folder> <meta.xml> <work folder> <help.chm>
// Any missing piece (a paragraph, a topic the contents name, a failed
// compile) prints why and exits with 1, which fails the build.
#include "File/ExportCHM.h"
#include "Pub/XmlFile.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/ShellHooks.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char kHead[] = "<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'><title>";

// One rule of the metamodel: an element of `owner` may own `kind` (model) and
// show it inside its symbol or on its diagram (symbol).
struct Rule {
    std::string owner;
    std::string kind;
    bool model;
    bool symbol;
};

struct Metamodel {
    std::vector<std::string> order;           // metaclasses in file order
    std::map<std::string, std::string> help;  // metaclass -> topic path ("/Class.htm")
    std::vector<Rule> rules;
};

bool Fail(const std::string& why)
{
    std::fprintf(stderr, "help_project: %s\n", why.c_str());
    return false;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.close();
    return out.good() || Fail("can't write " + path.string());
}

bool ReadMetamodel(const std::string& path, Metamodel& meta)
{
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ))
        return Fail("can't read " + path);
    int depth = 0;
    std::string owner;
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_END) {
            --depth;
            continue;
        }
        if (xml.GetKind() != XML_START)
            continue;
        ++depth;
        const std::string name = xml.GetName();
        std::map<std::string, std::string> attributes;
        while (xml.ReadNextAttribute())
            attributes[xml.GetName()] = xml.GetValue();
        if (depth == 2) {
            owner = name;
            meta.order.push_back(name);
            if (!attributes["help"].empty())
                meta.help[name] = attributes["help"];
        } else if (depth == 3) {
            const auto model = attributes.find("model");
            const auto symbol = attributes.find("symbol");
            meta.rules.push_back({owner, name, model == attributes.end() || !model->second.empty(),
                                  symbol == attributes.end() || !symbol->second.empty()});
        }
    }
    return !meta.order.empty() || Fail(path + " names no metaclass");
}

// "Name: paragraph" lines.
std::map<std::string, std::string> ReadParagraphs(const fs::path& path)
{
    std::map<std::string, std::string> paragraphs;
    std::istringstream lines(ReadFile(path));
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (!line.empty() && line[0] != '#' && colon != std::string::npos)
            paragraphs[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return paragraphs;
}

std::string Link(const Metamodel& meta, const std::string& kind)
{
    const auto topic = meta.help.find(kind);
    if (topic == meta.help.end())
        return HtmlEscape(kind.c_str());
    return "<a href=\"" + topic->second.substr(1) + "\">" + HtmlEscape(kind.c_str()) + "</a>";
}

// The kinds of rules that pass, as a linked list; "none" when empty.
std::string Kinds(const Metamodel& meta, const std::vector<std::string>& kinds)
{
    std::set<std::string> seen;
    std::string text;
    for (const std::string& kind : kinds)
        if (seen.insert(kind).second)
            text += (text.empty() ? "" : ", ") + Link(meta, kind);
    return text.empty() ? "none" : text;
}

std::string MetaclassPage(const Metamodel& meta, const std::string& kind, const std::string& paragraph)
{
    std::vector<std::string> ownedBy, placedIn, owns, shows;
    for (const Rule& rule : meta.rules) {
        if (rule.kind == kind && rule.model)
            ownedBy.push_back(rule.owner);
        if (rule.kind == kind && rule.symbol)
            placedIn.push_back(rule.owner);
        if (rule.owner == kind && rule.model)
            owns.push_back(rule.kind);
        if (rule.owner == kind && rule.symbol)
            shows.push_back(rule.kind);
    }
    const std::string name = HtmlEscape(kind.c_str());
    return std::string(kHead) + name + "</title></head>\r\n<body>\r\n<h1>" + name + "</h1>\r\n<p>" + paragraph +
           "</p>\r\n<h2>Where it may stand</h2>\r\n<p>Owned in the model browser by: " + Kinds(meta, ownedBy) +
           ".</p>\r\n<p>Drawn inside the symbol or on the diagram of: " + Kinds(meta, placedIn) +
           ".</p>\r\n<h2>What it may hold</h2>\r\n<p>Owns in the model browser: " + Kinds(meta, owns) +
           ".</p>\r\n<p>Shows inside its symbol or on its pages: " + Kinds(meta, shows) +
           ".</p>\r\n<p><a href=\"Metaclasses.htm\">All metaclasses</a> &middot; <a href=\"Index.htm\">Contents</a></p>\r\n"
           "</body></html>\r\n";
}

std::string Entry(const std::string& name, const std::string& local)
{
    return "<LI><OBJECT TYPE=\"text/sitemap\">\r\n<PARAM NAME=\"Name\" VALUE=\"" + HtmlEscape(name.c_str()) +
           "\">\r\n<PARAM NAME=\"Local\" VALUE=\"" + local + "\">\r\n</OBJECT>\r\n";
}

// The contents from Help/contents.txt: "Title|file.htm" lines, two blanks of
// indent per level; the line "Metaclasses|Metaclasses.htm" gets every
// metaclass topic below it.
bool WriteContents(const fs::path& source, const Metamodel& meta, const std::vector<std::string>& metaclasses,
                   std::string& hhc, std::string& hhk)
{
    hhc = "<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
          "value=\"0x827\"></OBJECT>\r\n";
    hhk = "<HTML><HEAD></HEAD><BODY><UL>\r\n";
    int level = 0;
    std::istringstream lines(ReadFile(source / "contents.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t indent = line.find_first_not_of(' ');
        const size_t bar = line.find('|');
        if (bar == std::string::npos)
            return Fail("contents.txt: no \"|\" in \"" + line + "\"");
        const int depth = static_cast<int>(indent / 2) + 1;
        const std::string title = line.substr(indent, bar - indent);
        const std::string file = line.substr(bar + 1);
        if (!fs::exists(source / "topics" / file))
            return Fail("contents.txt names the missing topic " + file);
        for (; level < depth; ++level)
            hhc += "<UL>\r\n";
        for (; level > depth; --level)
            hhc += "</UL>\r\n";
        hhc += Entry(title, file);
        hhk += Entry(title, file);
        if (file == "Metaclasses.htm") {
            hhc += "<UL>\r\n";
            for (const std::string& kind : metaclasses) {
                hhc += Entry(kind, meta.help.at(kind).substr(1));
                hhk += Entry(kind, meta.help.at(kind).substr(1));
            }
            hhc += "</UL>\r\n";
        }
    }
    for (; level > 0; --level)
        hhc += "</UL>\r\n";
    hhc += "</BODY></HTML>\r\n";
    hhk += "</UL></BODY></HTML>\r\n";
    return true;
}

bool Build(const fs::path& source, const std::string& metaPath, const fs::path& work, const fs::path& output)
{
    Metamodel meta;
    if (!ReadMetamodel(metaPath, meta))
        return false;
    const std::map<std::string, std::string> paragraphs = ReadParagraphs(source / "metaclasses.txt");
    std::error_code error;
    fs::remove_all(work, error);
    fs::create_directories(work);
    for (const auto& topic : fs::directory_iterator(source / "topics"))
        fs::copy_file(topic.path(), work / topic.path().filename(), fs::copy_options::overwrite_existing);
    std::vector<std::string> metaclasses;
    std::string list;
    for (const std::string& kind : meta.order) {
        const auto topic = meta.help.find(kind);
        if (topic == meta.help.end())
            continue;
        const auto paragraph = paragraphs.find(kind);
        if (paragraph == paragraphs.end())
            return Fail("metaclasses.txt has no paragraph for " + kind);
        if (topic->second.size() < 2 || topic->second[0] != '/' || topic->second.find('/', 1) != std::string::npos)
            return Fail("the help page of " + kind + " is no topic of the root: " + topic->second);
        if (!WriteFile(work / topic->second.substr(1), MetaclassPage(meta, kind, paragraph->second)))
            return false;
        metaclasses.push_back(kind);
        list += "<li>" + Link(meta, kind) + ": " + paragraph->second + "</li>\r\n";
    }
    const std::string marker = "<!--metaclasses-->";
    std::string index = ReadFile(work / "Metaclasses.htm");
    if (index.find(marker) == std::string::npos)
        return Fail("topics/Metaclasses.htm holds no " + marker);
    index.replace(index.find(marker), marker.size(), "<ul>\r\n" + list + "</ul>");
    if (!WriteFile(work / "Metaclasses.htm", index))
        return false;
    std::string hhc, hhk;
    if (!WriteContents(source, meta, metaclasses, hhc, hhk))
        return false;
    std::string hhp = "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=help.chm\r\nDefault Window=Main\r\n"
                      "Default topic=Index.htm\r\nContents file=help.hhc\r\nIndex file=help.hhk\r\n"
                      "Full-text search=Yes\r\nTitle=Vexal Help\r\n[WINDOWS]\r\n"
                      "Main=\"Vexal Help\",\"help.hhc\",\"help.hhk\",\"Index.htm\",\"Index.htm\",,,,,0x61460,180,"
                      "0x10304e,[0,0,800,600],0x0,0x0,,,,,0\r\n\r\n[FILES]\r\n";
    for (const auto& topic : fs::directory_iterator(work))
        hhp += topic.path().filename().string() + "\r\n";
    if (!WriteFile(work / "help.hhc", hhc) || !WriteFile(work / "help.hhk", hhk) || !WriteFile(work / "help.hhp", hhp))
        return false;
    if (!CompileChm((work / "help.hhp").string().c_str()))
        return Fail("chmcmd could not compile " + (work / "help.hhp").string());
    fs::copy_file(work / "help.chm", output, fs::copy_options::overwrite_existing, error);
    return !error || Fail("can't write " + output.string() + ": " + error.message());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: help_project <Help folder> <meta.xml> <work folder> <help.chm>\n");
        return 2;
    }
    theShellHooks.OutputMessage = [](const char* text) { std::printf("%s\n", text); };
    return Build(argv[1], argv[2], argv[3], argv[4]) ? 0 : 1;
}
