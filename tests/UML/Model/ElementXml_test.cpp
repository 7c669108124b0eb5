#include "UML/Model/ElementXml.h"

#include "ModelFixture.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"
#include "UML/Model/FieldText.h"
#include "UML/Model/StereotypeValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class ElementXml : public ModelRows {
protected:
    static std::string Read(const std::string& path) { return TestFolder::Read(path); }
    static void Write(const std::string& path, const std::string& bytes) { TestFolder::Write(path, bytes); }
    // The unit writer's walk: each child of owner with its stereotype values.
    void WriteChildren(CXmlFile& xml, int owner)
    {
        std::vector<ModelT> children;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("FID", owner) > 0)
            do
                children.push_back(*c.GetRecord());
            while (c.Next());
        for (const ModelT& e : children) {
            xml.BeginElement(e.Type);
            Prototype(e.Type)->SaveElementXml(xml, e);
            WriteStereoValues(xml, e.ID);
            WriteChildren(xml, e.ID);
            xml.EndElement();
        }
    }
    std::string Save(int owner)
    {
        const std::string path = dir + "unit.uml";
        CXmlFile xml;
        EXPECT_TRUE(xml.Open(path.c_str(), XML_WRITE));
        xml.WriteHeader();
        xml.BeginElement("uml");
        WriteChildren(xml, owner);
        xml.EndElement();
        xml.Close();
        return Read(path);
    }
    // The unit reader's walk; returns the path out of each element in order.
    std::vector<std::string> Load(const std::string& bytes, int owner, int itemState = 0)
    {
        const std::string path = dir + "in.uml";
        Write(path, bytes);
        CXmlFile xml;
        EXPECT_TRUE(xml.Open(path.c_str(), XML_READ));
        std::vector<int> owners{owner};
        std::vector<std::string> paths;
        while (xml.ReadNextNode()) {
            if (xml.GetKind() == XML_END) {
                if (!xml.NameIs("uml") && !xml.NameIs("Stereo") && owners.size() > 1)
                    owners.pop_back();
                continue;
            }
            if (xml.GetKind() != XML_START)
                continue;
            if (xml.NameIs("uml")) {
                while (xml.ReadNextAttribute()) {
                }
                continue;
            }
            if (xml.NameIs("Stereo")) {
                ReadStereoValues(xml, owners.back());
                continue;
            }
            CSymbol* p = nullptr;
            EXPECT_TRUE(FindMetaclass(xml.GetName(), p)) << xml.GetName();
            ModelT record;
            record.Type = p->metaName;
            record.MMC = p->mmc;
            record.ItemState = static_cast<int16_t>(itemState);
            char out[260] = "unchanged";
            owners.push_back(p->LoadElementXml(xml, record, owners.back(), out));
            paths.push_back(out);
        }
        return paths;
    }
    static std::string Value(int owner, const std::string& tag)
    {
        dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
        if (c.SelectByKey("OID", owner) > 0)
            do
                if (tag == c->SSGUID)
                    return c->Value;
            while (c.Next());
        return "(none)";
    }
    TestFolder folder{"element-xml"};
    const std::string& dir = folder.path;
};

TEST_F(ElementXml, ElementsRoundTripByteForByte)
{
    for (const char* kind : {"Class", "Package", "Attribute", "Stereotype"})
        Prototype(kind);
    const int root = Add(0, "Package", "root");
    const int pkg = Add(root, "Package", "Geo <&> \"q\" 'a' \xC3\xA9t\xC3\xA9", "", VISIBILITY_PUBLIC, "E9");
    const int cls = Add(pkg, "Class", "", "E1", -2);
    Add(cls, "Attribute", "x", "", 10);
    ModelT withFile = Element(cls);
    withFile.File = "units/shape.uml";
    theModelDb.UpdateRecord(ElementOid(cls), &ModelT::TableInfo, &withFile);
    StereotypeT value{pkg, "TAG1", "a < b"};
    theModelDb.InsertRecord(&StereotypeT::TableInfo, &value);
    StereotypeT empty{pkg, "TAG2", ""};
    theModelDb.InsertRecord(&StereotypeT::TableInfo, &empty);

    const std::string expected = kHead + "<uml>\r\n"
        "<Package Name=\"Geo &lt;&amp;&gt; &quot;q&quot; &apos;a&apos; \xC3\xA9t\xC3\xA9\" Stereotype=\"E9\" "
        "GUID=\"E2\" Visibility=\"3\">\r\n"
        "<Stereo SSGUID=\"TAG1\" Value=\"a &lt; b\"/>\r\n"
        "<Class File=\"units/shape.uml\" GUID=\"E3\" Use=\"E1\" Visibility=\"-2\">\r\n"
        "<Attribute Name=\"x\" GUID=\"E4\" Visibility=\"A\"/>\r\n"
        "</Class>\r\n"
        "</Package>\r\n"
        "</uml>\r\n";
    const std::string saved = Save(root);
    ASSERT_EQ(saved, expected);

    const int target = Add(0, "Package", "target");
    const int firstNew = theNextElementId + 1;
    EXPECT_EQ(Load(saved, target), (std::vector<std::string>{"", "units/shape.uml", ""}));
    const ModelT p = Element(firstNew);
    EXPECT_EQ(p.FID, target);
    EXPECT_EQ(p.SN, firstNew);
    EXPECT_STREQ(p.Type, "Package");
    EXPECT_EQ(p.MMC, MMC_NAMESPACE);
    EXPECT_STREQ(p.Name, "Geo <&> \"q\" 'a' \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Element(firstNew + 1).FID, firstNew);
    EXPECT_EQ(Element(firstNew + 1).Visibility, -2);
    EXPECT_EQ(Element(firstNew + 2).FID, firstNew + 1);
    EXPECT_EQ(Value(firstNew, "TAG1"), "a < b");
    EXPECT_EQ(Value(firstNew, "TAG2"), "(none)");
    dbTypedCursor<StereotypeObj> link(&StereotypeObj::TableInfo);
    ASSERT_EQ(link.SelectByKey("OID", firstNew), 1);
    EXPECT_STREQ(link->StereotypeGUID, "E9");
    // Written again, the loaded copy gives the same bytes.
    EXPECT_EQ(Save(target), expected);
}

TEST_F(ElementXml, LoadingTakesColumnsInAnyCaseButNeverStructuralOnes)
{
    Prototype("Class");
    const int owner = Add(0, "Package", "owner");
    const int elsewhere = Add(0, "Package", "elsewhere");
    const std::string fid = std::to_string(elsewhere);
    const std::string bytes = kHead + "<uml>\r\n"
        "<Class name=\"lower\" VISIBILITY=\"a\" ID=\"50\" SN=\"51\" FID=\"" + fid + "\" Type=\"Package\" "
        "MMC=\"3\" ItemState=\"21\" Colour=\"red\" use=\"U\">\r\n"
        "<Stereo ssguid=\"T1\" VALUE=\"v1\"/>\r\n"
        "<Stereo SSGUID=\"\" Value=\"lost\"/>\r\n"
        "<Stereo Value=\"lost\"/>\r\n"
        "<Stereo SSGUID=\"T2\" Value=\"\"/>\r\n"
        "</Class>\r\n"
        "</uml>\r\n";
    const int id = theNextElementId + 1;
    Load(bytes, owner);
    const ModelT e = Element(id);
    EXPECT_STREQ(e.Name, "lower");
    EXPECT_STREQ(e.Use, "U");
    EXPECT_EQ(e.Visibility, 10);
    EXPECT_EQ(e.FID, owner);
    EXPECT_EQ(e.SN, id);
    EXPECT_STREQ(e.Type, "Class");
    EXPECT_EQ(e.MMC, MMC_CLASS);
    EXPECT_EQ(e.ItemState, 1); // the fixed bit is the caller's
    EXPECT_FALSE(Exists(50));
    EXPECT_EQ(Value(id, "T1"), "v1");
    dbTypedCursor<StereotypeT> values(&StereotypeT::TableInfo);
    EXPECT_EQ(values.SelectByKey("OID", id), 1);

    // A library element stays fixed whatever its attributes say.
    const int library = theNextElementId + 1;
    Load(kHead + "<uml><Class Name=\"fixed\" ItemState=\"1\"/></uml>", owner, ITEM_FIXED);
    EXPECT_EQ(Element(library).ItemState, ITEM_FIXED | 1);
    EXPECT_EQ(TextPool.Count(), 0);
}

TEST_F(ElementXml, EveryModelTableLoadsByColumnName)
{
    dbTableInfo* const tables[] = {&ModelT::TableInfo,         &SymbolT::TableInfo,        &ModelPage::TableInfo,
                                   &ModelClass::TableInfo,     &ModelOperation::TableInfo, &ModelAttribute::TableInfo,
                                   &ModelParameter::TableInfo, &ModelUsecase::TableInfo,   &StereotypeT::TableInfo,
                                   &StereotypeObj::TableInfo,  &MetaEle::TableInfo};
    for (dbTableInfo* table : tables) {
        std::string tag = "<r";
        std::vector<std::pair<std::string, std::string>> expected;
        int n = 0;
        dbFieldInfo* fd = table->columns;
        do {
            ++n;
            if (fd->appType == dbFieldInfo::tpString) {
                const std::string text = "t" + std::to_string(n) + " &amp; \xC3\xA9";
                tag += " " + std::string(fd->name) + "=\"" + text + "\"";
                expected.emplace_back(fd->name, "t" + std::to_string(n) + " & \xC3\xA9");
            } else {
                // Hexadecimal, negative every other field, within every width.
                const int value = (n % 2 ? -1 : 1) * (0x10 + n);
                char hex[16];
                FormatHex(value, hex, sizeof hex);
                tag += " " + std::string(fd->name) + "=\"" + hex + "\"";
                expected.emplace_back(fd->name, std::to_string(value));
            }
        } while ((fd = fd->next) != table->columns);
        const std::string path = dir + "record.xml";
        Write(path, kHead + tag + " unknown=\"1\"/>");
        CXmlFile xml;
        ASSERT_TRUE(xml.Open(path.c_str(), XML_READ));
        ASSERT_TRUE(xml.ReadNextNode());
        std::vector<uint64_t> record((table->appSize + 7) / 8);
        int loaded = 0;
        while (xml.ReadNextAttribute())
            loaded += LoadRecordFromXml(xml, table, record.data());
        EXPECT_EQ(loaded, n) << table->name;
        for (const auto& column : expected) {
            char buffer[64];
            GetFieldText(column.first.c_str(), table, record.data(), buffer, sizeof buffer);
            EXPECT_EQ(buffer, column.second) << table->name << "." << column.first;
        }
        TextPool.Reset();
    }
}

} // namespace
