#include "Pub/XmlFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

class XmlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexal-xml-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        path = dir + "/f.xml";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    void Put(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Contents() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Every node as a line: S name, A name=value, E name, T value, C, O;
    // "!" when the file did not open. With readAttributes false, start tags
    // are passed over without reading their attributes. The same bytes read
    // from memory must give the same lines.
    std::string Events(const std::string& bytes, bool readAttributes = true) const
    {
        Put(bytes);
        auto xml = std::make_unique<CXmlFile>();
        const std::string fromFile = xml->Open(path.c_str(), XML_READ) ? Walk(*xml, readAttributes) : "!";
        auto memory = std::make_unique<CXmlFile>();
        const std::string fromMemory = memory->OpenBytes(bytes) ? Walk(*memory, readAttributes) : "!";
        EXPECT_EQ(fromMemory, fromFile);
        return fromFile;
    }
    static std::string Walk(CXmlFile& xml, bool readAttributes)
    {
        std::string out;
        while (xml.ReadNextNode()) {
            switch (xml.GetKind()) {
            case XML_START:
                out += std::string("S ") + xml.GetName() + "\n";
                while (readAttributes && xml.ReadNextAttribute())
                    out += std::string("A ") + xml.GetName() + "=" + xml.GetValue() + "\n";
                break;
            case XML_END: out += std::string("E ") + xml.GetName() + "\n"; break;
            case XML_TEXT: out += std::string("T ") + xml.GetValue() + "\n"; break;
            case XML_COMMENT: out += "C\n"; break;
            default: out += "O\n"; break;
            }
        }
        return out;
    }
    std::string dir;
    std::string path;
};

} // namespace

TEST_F(XmlTest, HeaderAcceptsOnlyTheOneDeclaration)
{
    struct Case { std::string bytes; bool opens; };
    const Case cases[] = {
        {kBom + kDecl + "\r\n<a/>", true},
        {kDecl + "<a/>", true},                                          // no byte-order mark
        {"<?XML VERSION=\"1.0\" ENCODING=\"utf-8\"?>", true},            // words without case
        {"<?xml\tversion=\"1.0\"  encoding=\"UTF-8\"? standalone>", true}, // extra words ignored
        {"\xEF\xBB\x00" + kDecl, false},                                 // broken byte-order mark
        {"\xEF\xBB", false},
        {"<?xml version='1.0' encoding='UTF-8'?>", false},               // single quotes
        {"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>", false},          // blank before "?"
        {"<?xml encoding=\"UTF-8\" version=\"1.0\"?>", false},           // order
        {"<?xml version=\"1.1\" encoding=\"UTF-8\"?>", false},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>", false},
        {"<a/>", false},
        {"", false},
        {"no markup at all", false},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?", false},            // cut off inside the tag
    };
    for (const Case& c : cases)
        EXPECT_EQ(Events(c.bytes) != "!", c.opens) << c.bytes;

    auto xml = std::make_unique<CXmlFile>();
    EXPECT_FALSE(xml->Open((dir + "/missing.xml").c_str(), XML_READ));
    EXPECT_FALSE(xml->Open(path.c_str(), 2));
    EXPECT_FALSE(xml->Open((dir + "/no/such/dir.xml").c_str(), XML_WRITE));
}

TEST_F(XmlTest, ReaderNodes)
{
    struct Case { std::string body; std::string events; };
    const Case cases[] = {
        {"<a x=\"1\"/>", "S a\nA x=1\nE a\n"},
        {"<a/>", "S a\nE a\n"},
        {"<a />", "S a\nE a\n"},
        {"<a></a>", "S a\nE a\n"},
        {"<a>\r\n  <b/>\r\n</a>", "S a\nT   \nS b\nE b\nE a\n"},
        {"<a>text &amp; more</a>", "S a\nT text & more\nE a\n"},
        {"<a></>", "S a\nE a\n"},
        {"<a X='q' y=\"r s\" z=t/>", "S a\nA X=q\nA y=r s\nA z=t\nE a\n"},
        {"<a v=\"l1\r\nl2\"/>", "S a\nA v=l1l2\n"
                                "E a\n"},                                  // line breaks vanish
        {"<a v=\"l1&#x0A;l2&#x09;\"/>", "S a\nA v=l1\nl2\t\nE a\n"},      // but entities bring them back
        {"<a v=\"&AMP;&#38;&amp;lt;&unknown;&amp\"/>", "S a\nA v=&AMP;&#38;&lt;&unknown;&amp\nE a\n"},
        {"<a n =\"1\"/>", "S a\nA n=\nA \"1\"=\nE a\n"},                     // a name must touch its "="
        {"<!-- note --><!DOCTYPE x><a/>", "C\nO\nS a\nE a\n"},
        {"<a><!-- a > b --></a>", "S a\nC\nT  b --\nE a\n"},               // a tag ends at its first ">"
        {"<Settings/><Project><Model File=\"m.uml\"/></Project>",
         "S Settings\nE Settings\nS Project\nS Model\nA File=m.uml\nE Model\nE Project\n"},
        {"<a / x=\"1\">", "S a\nE a\n"},                                   // a "/" closes the tag once
        {"<a v=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"/>", "S a\nA v=\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\nE a\n"},
        {"<a v=\"\x80\xC3\"/>", "S a\nA v=\xEF\xBF\xBD\xEF\xBF\xBD\nE a\n"}, // malformed UTF-8
        {"<a>unterminated", "S a\n"},
        {"<a", ""},
        {"<>", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Events(kBom + kDecl + "\r\n" + c.body), c.events) << c.body;
}

TEST_F(XmlTest, SelfClosingElementEndsAlsoWhenAttributesAreSkipped)
{
    // A loader that skips an unknown tag's attributes still sees it end.
    for (const char* unknown : {"<unknown a=\"1\" b=\"2\"/>", "<unknown a=\"1\" / >", "<unknown\t/\t>", "<unknown/ >"})
        EXPECT_EQ(Events(kDecl + "<root>" + unknown + "<known/></root>", false),
                  "S root\nS unknown\nE unknown\nS known\nE known\nE root\n")
            << unknown;
}

TEST_F(XmlTest, LongNamesAndValues)
{
    const std::string value(5000, 'v');
    const std::string name(70, 'n');
    EXPECT_EQ(Events(kDecl + "<a big=\"" + value + "\"/>"), "S a\nA big=" + value + "\nE a\n");
    // A name longer than 63 bytes is cut; its rest reads as an attribute name.
    EXPECT_EQ(Events(kDecl + "<" + name + "/>"),
              "S " + name.substr(0, 63) + "\nA " + name.substr(63) + "=\nE " + name.substr(0, 63) + "\n");
}

TEST_F(XmlTest, EndTagsKeepAsMuchOfALongNameAsStartTags)
{
    for (size_t length : {62, 63, 64, 70}) {
        const std::string name(length, 'n');
        const std::string kept = name.substr(0, 63);
        const std::string rest = length > 63 ? "A " + name.substr(63) + "=\n" : "";
        EXPECT_EQ(Events(kDecl + "<" + name + "></" + name + ">"), "S " + kept + "\n" + rest + "E " + kept + "\n")
            << length;
        EXPECT_EQ(Events(kDecl + "<" + name + "></" + name + " >"), "S " + kept + "\n" + rest + "E " + kept + "\n")
            << length;
    }
}

TEST_F(XmlTest, NamesMatchWithoutCase)
{
    Put(kDecl + "<Page Width=\"10\"/>");
    auto xml = std::make_unique<CXmlFile>();
    ASSERT_TRUE(xml->Open(path.c_str(), XML_READ));
    ASSERT_TRUE(xml->ReadNextNode());
    EXPECT_STREQ(xml->GetName(), "Page"); // names come back as written
    EXPECT_TRUE(xml->NameIs("PAGE"));
    EXPECT_FALSE(xml->NameIs("PAGES"));
    ASSERT_TRUE(xml->ReadNextAttribute());
    EXPECT_TRUE(xml->NameIs("width"));
    EXPECT_STREQ(xml->GetValue(), "10");
}

TEST_F(XmlTest, LongValuesRoundTripWhole)
{
    std::string value;
    while (value.size() < 12000)
        value += "\xC3\xA9<&>\r\n";
    {
        auto xml = std::make_unique<CXmlFile>();
        ASSERT_TRUE(xml->Open(path.c_str(), XML_WRITE));
        xml->WriteHeader();
        xml->BeginElement("a");
        xml->WriteAttribute("v", value.c_str());
        xml->EndElement();
        xml->Close();
    }
    EXPECT_EQ(Events(Contents()), "S a\nA v=" + value + "\nE a\n");
}

TEST_F(XmlTest, AttributeKindsDuringReading)
{
    Put(kDecl + "<a x=\"1\"/><b / y=\"2\">");
    auto xml = std::make_unique<CXmlFile>();
    ASSERT_TRUE(xml->Open(path.c_str(), XML_READ));
    ASSERT_TRUE(xml->ReadNextNode());
    EXPECT_EQ(xml->GetKind(), XML_START);
    EXPECT_TRUE(xml->ReadNextAttribute());
    EXPECT_EQ(xml->GetKind(), XML_OTHER);
    EXPECT_FALSE(xml->ReadNextAttribute());
    EXPECT_EQ(xml->GetKind(), XML_CLOSED);
    ASSERT_TRUE(xml->ReadNextNode());
    EXPECT_EQ(xml->GetKind(), XML_END);
    EXPECT_FALSE(xml->ReadNextAttribute()); // nothing to read on an end node
    ASSERT_TRUE(xml->ReadNextNode());
    EXPECT_FALSE(xml->ReadNextAttribute());
    EXPECT_EQ(xml->GetKind(), XML_CLOSED);
    EXPECT_FALSE(xml->ReadNextAttribute());
    ASSERT_TRUE(xml->ReadNextNode());
    EXPECT_EQ(xml->GetKind(), XML_END);
    EXPECT_STREQ(xml->GetName(), "b");
    EXPECT_FALSE(xml->ReadNextNode());
}

TEST_F(XmlTest, WriterProducesExactBytesAndReadsBack)
{
    {
        auto xml = std::make_unique<CXmlFile>();
        ASSERT_TRUE(xml->Open(path.c_str(), XML_WRITE));
        EXPECT_FALSE(xml->ReadNextNode());
        xml->WriteHeader();
        xml->BeginElement("SYSTEMCONFIG");
        xml->WriteAttribute("Name", "a<b>&\"c\"'d'\r\n\t\xC3\xA9\xF0\x9F\x98\x80");
        xml->WriteAttributeInt("Int", -12);
        xml->BeginElement("PAGE");
        xml->WriteAttributeHex("WIDTH", 21000);
        xml->WriteAttributeHex("NEG", int(0x80000000));
        xml->WriteAttributeBool("ON", TRUE);
        xml->WriteAttributeBool("OFF", FALSE);
        xml->EndElement();
        xml->BeginElement("RECT");
        xml->WriteAttributeHex4("R", -0x1000000, 0x7FFFFFFF, 0, -1);
        xml->WriteAttributeRect("Q", RECT{1, 2, 3, 4});
        xml->BeginElement("Empty");
        xml->EndElement();
        xml->EndElement();
        xml->BeginElement("Body");
        xml->WriteText("x < y");
        xml->EndElement();
        xml->WriteComment("note & more");
        xml->EndElement();
        xml->EndElement(); // with an empty stack nothing happens
        xml->Close();
        EXPECT_FALSE(xml->WriteFailed());
    }
    const std::string expected = kBom + kDecl + "\r\n"
        "<SYSTEMCONFIG Name=\"a&lt;b&gt;&amp;&quot;c&quot;&apos;d&apos;&#x0D;&#x0A;&#x09;\xC3\xA9\xF0\x9F\x98\x80\" Int=\"-12\">\r\n"
        "<PAGE WIDTH=\"5208\" NEG=\"-80000000\" ON=\"TRUE\" OFF=\"FALSE\"/>\r\n"
        "<RECT R=\"-1000000,7FFFFFFF,0,-1\" Q=\"1,2,3,4\">\r\n"
        "<Empty/>\r\n"
        "</RECT>\r\n"
        "<Body>x &lt; y</Body>\r\n"
        "<!-- note &amp; more -->\r\n"
        "</SYSTEMCONFIG>\r\n";
    EXPECT_EQ(Contents(), expected);

    EXPECT_EQ(Events(expected),
              "S SYSTEMCONFIG\nA Name=a<b>&\"c\"'d'\r\n\t\xC3\xA9\xF0\x9F\x98\x80\nA Int=-12\n"
              "S PAGE\nA WIDTH=5208\nA NEG=-80000000\nA ON=TRUE\nA OFF=FALSE\nE PAGE\n"
              "S RECT\nA R=-1000000,7FFFFFFF,0,-1\nA Q=1,2,3,4\nS Empty\nE Empty\nE RECT\n"
              "S Body\nT x < y\nE Body\nC\nE SYSTEMCONFIG\n");
    int a, b, c, d;
    ParseHex4("-1000000,7FFFFFFF,0,-1", a, b, c, d);
    EXPECT_EQ(a, -0x1000000);
    EXPECT_EQ(b, 0x7FFFFFFF);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(d, -1);
}

TEST_F(XmlTest, OutputBufferBoundaries)
{
    for (int extra : {0, 1}) {
        const int target = CXmlFile::BlockSize + extra;
        auto xml = std::make_unique<CXmlFile>();
        ASSERT_TRUE(xml->Open(path.c_str(), XML_WRITE));
        // "<a v=\"" + value + "\"" is 7 bytes more than the value.
        xml->BeginElement("a");
        xml->WriteAttribute("v", std::string(size_t(target - 7), 'x').c_str());
        xml->Flush();
        EXPECT_EQ(Contents().size(), size_t(target));
        xml->EndElement();
        xml->Close(); // writes what Flush left behind
        EXPECT_EQ(Contents().size(), size_t(target + 4));
    }
}

TEST(XmlWriteErrors, FullDeviceIsReportedBeforeAndAfterClose)
{
    auto xml = std::make_unique<CXmlFile>();
    ASSERT_TRUE(xml->Open("/dev/full", XML_WRITE));
    xml->WriteHeader();
    xml->BeginElement("a");
    xml->EndElement();
    EXPECT_FALSE(xml->WriteFailed()); // still buffered
    xml->Flush();
    EXPECT_TRUE(xml->WriteFailed());
    xml->Close();
    EXPECT_TRUE(xml->WriteFailed());
    ASSERT_TRUE(xml->Open("/dev/null", XML_WRITE));
    EXPECT_FALSE(xml->WriteFailed()); // a new file starts clean
}

TEST(XmlValues, ParseBoolAndHex4)
{
    struct BoolCase { const char* text; BOOL value; };
    const BoolCase bools[] = {{"TRUE", TRUE}, {"true", TRUE}, {"True", TRUE}, {"1", TRUE}, {"yes", FALSE},
                              {"01", FALSE},  {"", FALSE},    {nullptr, FALSE}, {"truex", FALSE}};
    for (const BoolCase& c : bools)
        EXPECT_EQ(ParseBool(c.text), c.value) << (c.text ? c.text : "(null)");

    struct Hex4Case { const char* text; int a, b, c, d; };
    const Hex4Case quads[] = {
        {"1,2,3,4", 1, 2, 3, 4},
        {"A,-B", 10, -11, 0, 0},
        {"", 0, 0, 0, 0},
        {nullptr, 0, 0, 0, 0},
        {"1,2,3,4,5", 1, 2, 3, 4},
        {"000000000000001F,00000000000001F", 1, 0x1F, 0, 0}, // each number from at most its first 15 characters
    };
    for (const Hex4Case& q : quads) {
        int a = 9, b = 9, c = 9, d = 9;
        ParseHex4(q.text, a, b, c, d);
        EXPECT_EQ(a, q.a);
        EXPECT_EQ(b, q.b);
        EXPECT_EQ(c, q.c);
        EXPECT_EQ(d, q.d);
    }
}
