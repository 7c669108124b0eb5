// Consistency of the shipped metamodel and predefined unit, read with the
// program's XML reader. The rules are read the way the registry reads them: a rule's Model and Symbol are its attributes
// when present (an empty attribute stores an empty field), else its tag.

#include "XmlScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = std::string(VEXAL_SOURCE_DIR) + "/cfg/";

// The registry's keys, in construction order; Timestate is built twice.
const std::vector<std::string> kRegistryKeys = {
    "Class", "Component", "Artifact", "Node", "Interface", "Composition", "Subject",
    "Enumeration", "Literal", "Attribute", "Parameter", "Part", "Association", "Actor",
    "Lifeline", "Timelifeline", "Objectnode", "Partition", "Operation", "Activity",
    "Interaction", "Statemachine", "Usecase", "Signal", "Dependency", "Port",
    "Realization", "Realized", "Required", "Connector", "Performance", "Page", "Package",
    "Syspackage", "Stereotype", "Deploymentdiagram", "Packagediagram", "Usecasediagram",
    "Classdiagram", "Componentdiagram", "Compositestructurediagram", "Sequencediagram",
    "Statemachinediagram", "Activitydiagram", "Interactionoverviewdiagram",
    "Timingdiagram", "Anatomydiagram", "State", "Timestate", "Comment", "Constraint",
    "Initial", "Final", "Unknownobject", "Start", "Return", "Flowfinal", "History",
    "Lifelinestop", "Message", "Create", "Methodcall", "Coregion", "Action", "Reference",
    "Inlineframe", "Junction", "Send", "Receive", "Choice", "Flow", "Activityline",
    "Duration", "Fork", "Terminal", "Pin", "Actionnode", "Timestate", "Timeduration",
    "Timeline"};

const std::set<std::string> kDiagramKinds = {
    "Deploymentdiagram", "Packagediagram", "Usecasediagram", "Classdiagram",
    "Componentdiagram", "Compositestructurediagram", "Sequencediagram",
    "Statemachinediagram", "Activitydiagram", "Interactionoverviewdiagram",
    "Timingdiagram", "Anatomydiagram"};

// Kinds that make no element of their own: category 0, and the reference and
// time state, whose symbols name an operation or show a dropped state.
const std::set<std::string> kSymbolOnly = {
    "Reference", "Timestate",
    "Actionnode", "Coregion", "Duration", "Fork", "Inlineframe", "Lifelinestop", "Receive",
    "Send", "Terminal", "Timeduration", "Timeline", "Message", "Create", "Methodcall",
    "Flow", "Activityline", "Initial", "Unknownobject", "Start", "Final", "Return",
    "Flowfinal", "History", "Junction", "Action", "Choice"};

// Line kinds; Performance decides its ends in code and reads no rule.
const std::set<std::string> kLines = {
    "Association", "Dependency", "Realization", "Connector", "Performance", "Message",
    "Create", "Methodcall", "Flow", "Activityline"};

struct Rule {
    std::string parent, name, model, symbol;
    int in = -1, out = -1;
    std::string inText, outText;
};

struct MetaFile {
    std::vector<std::string> metaclasses;
    std::map<std::string, std::map<std::string, std::string>> attrs;
    std::vector<Rule> rules;
};

MetaFile ReadMetaFile()
{
    xmlscan::Document doc = xmlscan::Read(kDataDir + "meta.xml");
    EXPECT_TRUE(doc.headerOk);
    MetaFile file;
    std::vector<std::string> open;
    for (const auto& node : doc.nodes) {
        if (node.kind == XML_START) {
            if (open.empty()) {
                EXPECT_EQ(node.name, "metamodel");
            } else if (open.size() == 1) {
                file.metaclasses.push_back(node.name);
                for (const auto& a : node.attrs)
                    file.attrs[node.name][a.first] = a.second;
            } else {
                EXPECT_EQ(open.size(), 2u) << "rule nested in a rule: " << node.name;
                Rule r;
                r.parent = open[1];
                r.name = node.name;
                const std::string* model = node.Attr("model");
                const std::string* symbol = node.Attr("symbol");
                const std::string* in = node.Attr("in");
                const std::string* out = node.Attr("out");
                r.model = model ? *model : node.name;
                r.symbol = symbol ? *symbol : node.name;
                r.inText = in ? *in : "-1";
                r.outText = out ? *out : "-1";
                r.in = std::atoi(r.inText.c_str());
                r.out = std::atoi(r.outText.c_str());
                file.rules.push_back(r);
            }
            open.push_back(node.name);
        } else if (node.kind == XML_END) {
            EXPECT_FALSE(open.empty());
            if (open.empty())
                break;
            EXPECT_EQ(open.back(), node.name);
            open.pop_back();
        }
    }
    EXPECT_TRUE(open.empty());
    return file;
}

bool IsKey(const std::string& name)
{
    return std::find(kRegistryKeys.begin(), kRegistryKeys.end(), name) != kRegistryKeys.end();
}

class MetaModelFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { file_ = new MetaFile(ReadMetaFile()); }
    static void TearDownTestSuite() { delete file_; }
    static const MetaFile& File() { return *file_; }

private:
    static MetaFile* file_;
};
MetaFile* MetaModelFile::file_ = nullptr;

TEST_F(MetaModelFile, EveryRegisteredKindHasExactlyOnePaletteEntry)
{
    std::set<std::string> unique(kRegistryKeys.begin(), kRegistryKeys.end());
    std::map<std::string, int> seen;
    for (const auto& m : File().metaclasses) {
        EXPECT_TRUE(IsKey(m)) << "metaclass element without a handler: " << m;
        ++seen[m];
    }
    for (const auto& key : unique)
        EXPECT_EQ(seen[key], 1) << key;
    EXPECT_EQ(File().metaclasses.size(), unique.size());
}

// A 16 x 16 bitmap of 24 bits per pixel, as the command-icon registry loads them.
bool IsIconBitmap(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char h[54] = {};
    if (!in.read(reinterpret_cast<char*>(h), sizeof h))
        return false;
    auto u32 = [&](int at) { return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | unsigned(h[at + 3]) << 24; };
    return h[0] == 'B' && h[1] == 'M' && u32(18) == 16 && u32(22) == 16 && h[28] == 24;
}

TEST_F(MetaModelFile, MetaclassAttributesFitTheirFields)
{
    for (const auto& m : File().metaclasses) {
        const auto& a = File().attrs.at(m);
        ASSERT_TRUE(a.count("img")) << m;
        EXPECT_EQ(a.at("img"), "meta/" + m + ".bmp");
        EXPECT_TRUE(IsIconBitmap(std::string(VEXAL_SOURCE_DIR) + "/Img/" + a.at("img"))) << a.at("img");
        ASSERT_TRUE(a.count("help")) << m;
        EXPECT_LT(a.at("help").size(), 260u) << m;
        for (const char* name : {"model", "symbol", "stereotype"})
            if (a.count(name)) {
                EXPECT_LE(a.at(name).size(), 64u) << m << " " << name;
            }
        if (a.count("model")) {
            EXPECT_TRUE(IsKey(a.at("model"))) << m;
        }
        if (a.count("symbol")) {
            EXPECT_TRUE(IsKey(a.at("symbol"))) << m;
        }
    }
}

TEST_F(MetaModelFile, RulesNameOnlyRegisteredKinds)
{
    for (const auto& r : File().rules) {
        SCOPED_TRACE(r.parent + "/" + r.name);
        EXPECT_TRUE(IsKey(r.name));
        EXPECT_TRUE(r.model.empty() || IsKey(r.model));
        EXPECT_TRUE(r.symbol.empty() || IsKey(r.symbol));
        EXPECT_FALSE(r.model.empty() && r.symbol.empty()) << "a rule that says nothing";
        EXPECT_LE(r.name.size(), 64u);
        for (const std::string* limit : {&r.inText, &r.outText}) {
            EXPECT_FALSE(limit->empty());
            EXPECT_EQ(std::to_string(std::atoi(limit->c_str())), *limit);
        }
        EXPECT_GE(r.in, -1);
        EXPECT_GE(r.out, -1);
    }
}

TEST_F(MetaModelFile, DiagramKindsHaveToolbarsAndOwnOnlyPages)
{
    for (const auto& kind : kDiagramKinds) {
        SCOPED_TRACE(kind);
        int buttons = 0;
        bool ownsPages = false;
        for (const auto& r : File().rules) {
            if (r.parent != kind)
                continue;
            if (!r.symbol.empty())
                ++buttons;
            if (r.model == "Page")
                ownsPages = r.symbol.empty();
            else
                EXPECT_TRUE(r.model.empty()) << "a diagram would own " << r.model;
        }
        EXPECT_GT(buttons, 3);
        EXPECT_TRUE(ownsPages);
    }
}

TEST_F(MetaModelFile, EveryKindHasItsPlaceInTheModel)
{
    std::set<std::string> owned, placed;
    for (const auto& r : File().rules) {
        if (!r.model.empty())
            owned.insert(r.model);
        if (!r.symbol.empty() && kDiagramKinds.count(r.parent))
            placed.insert(r.symbol);
        if (!r.symbol.empty() && !kDiagramKinds.count(r.parent) && !kLines.count(r.symbol))
            placed.insert(r.symbol);
    }
    for (const auto& key : std::set<std::string>(kRegistryKeys.begin(), kRegistryKeys.end())) {
        SCOPED_TRACE(key);
        if (kSymbolOnly.count(key)) {
            EXPECT_FALSE(owned.count(key)) << "a kind without elements named as a model";
        } else if (key != "Syspackage") {
            EXPECT_TRUE(owned.count(key)) << "elements of this kind have no owner";
        }
        if (!kDiagramKinds.count(key) && key != "Page" && key != "Syspackage") {
            EXPECT_TRUE(placed.count(key)) << "no diagram or container places this kind";
        }
    }
}

TEST_F(MetaModelFile, LinesEndOnlyWhereARuleLetsThem)
{
    for (const auto& line : kLines) {
        if (line == "Performance")
            continue;
        int targets = 0;
        for (const auto& r : File().rules)
            if (r.symbol == line && !kDiagramKinds.count(r.parent))
                ++targets;
        EXPECT_GT(targets, 0) << line;
    }
    // Limits that the notation relies on, as the connection test reads them.
    struct Limit {
        const char* parent;
        const char* line;
        int in, out;
    } const limits[] = {
        {"Initial", "Flow", 0, 2},   {"Start", "Flow", 0, 2},     {"Final", "Flow", -1, 0},
        {"Flowfinal", "Flow", -1, 0}, {"Terminal", "Flow", -1, 0}, {"Lifeline", "Create", 1, -1},
    };
    for (const auto& l : limits) {
        auto it = std::find_if(File().rules.begin(), File().rules.end(), [&](const Rule& r) {
            return r.parent == l.parent && r.symbol == l.line;
        });
        ASSERT_NE(it, File().rules.end()) << l.parent << " " << l.line;
        EXPECT_EQ(it->in, l.in) << l.parent;
        EXPECT_EQ(it->out, l.out) << l.parent;
    }
}

TEST_F(MetaModelFile, SubstitutionsFromTheSymbolChapters)
{
    struct Expect {
        const char* parent;
        const char* name;
        const char* symbol;
    } const cases[] = {
        {"Usecasediagram", "Class", "Actor"}, {"Class", "Attribute", "Attribute"},
        {"Composition", "Class", "Part"},     {"Timelifeline", "State", "Timestate"},
        {"Package", "Class", "Class"},        {"Package", "Comment", "Comment"},
        {"Package", "Package", "Package"},    {"Component", "Actor", "Actor"},
        {"Port", "Realized", "Realized"},     {"Lifeline", "Lifelinestop", "Lifelinestop"},
        {"Timestate", "Timeline", "Timeline"}, {"Timingdiagram", "State", "State"},
    };
    for (const auto& c : cases) {
        auto it = std::find_if(File().rules.begin(), File().rules.end(), [&](const Rule& r) {
            return r.parent == c.parent && r.name == c.name && !r.symbol.empty();
        });
        ASSERT_NE(it, File().rules.end()) << c.parent << " " << c.name;
        EXPECT_EQ(it->symbol, c.symbol);
    }
    // A class dropped into a class box becomes an attribute, never a part.
    for (const auto& r : File().rules) {
        if (r.parent == "Class" && r.name == "Class") {
            EXPECT_TRUE(r.symbol.empty());
        }
    }
}

TEST(PredefinedUnit, HoldsTheBuiltInTypesAndImportStereotypes)
{
    xmlscan::Document doc = xmlscan::Read(kDataDir + "predefined.uml");
    ASSERT_TRUE(doc.headerOk);
    EXPECT_TRUE(doc.hadBom);
    ASSERT_FALSE(doc.nodes.empty());
    ASSERT_EQ(doc.nodes.front().name, "uml");
    ASSERT_NE(doc.nodes.front().Attr("version"), nullptr);
    EXPECT_EQ(*doc.nodes.front().Attr("version"), "UML2.0");

    std::map<std::string, std::string> classes, stereotypes;
    std::set<std::string> guids;
    const std::string alphabet =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz*+";
    for (size_t i = 1; i < doc.nodes.size(); ++i) {
        const auto& n = doc.nodes[i];
        if (n.kind != XML_START)
            continue;
        EXPECT_TRUE(IsKey(n.name)) << n.name;
        const std::string* name = n.Attr("Name");
        const std::string* guid = n.Attr("GUID");
        ASSERT_TRUE(name && guid) << n.name;
        EXPECT_EQ(guid->size(), 22u) << *name;
        EXPECT_EQ(guid->find_first_not_of(alphabet), std::string::npos) << *name;
        EXPECT_NE(std::string("3456").find(guid->back()), std::string::npos)
            << "not an element identifier: " << *guid;
        EXPECT_TRUE(guids.insert(*guid).second) << "duplicate identifier " << *guid;
        if (n.name == "Class")
            classes[*name] = *guid;
        if (n.name == "Stereotype") {
            const std::string* use = n.Attr("Use");
            stereotypes[*name] = use ? *use : "";
        }
    }
    for (const char* type : {"Integer", "Float", "Boolean", "Char", "String"})
        EXPECT_TRUE(classes.count(type)) << type;
    for (const char* s : {"import", "access"})
        EXPECT_EQ(stereotypes[s], "Dependency") << s;
}

} // namespace
