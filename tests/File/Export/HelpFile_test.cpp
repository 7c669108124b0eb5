// The program's help file as the build compiled it into the program folder:
// the index, every topic the metamodel names, and nothing that leads nowhere.
#include "ChmChecks.h"

#include "File/ChmArchive.h"

#include <fstream>
#include <sstream>

namespace {

const std::string kHelpFile = std::string(VEXAL_TEST_OUTPUT) + "/../bin/help.chm";

// The help="..." topics of the shipped metamodel.
std::vector<std::string> MetamodelTopics()
{
    std::ifstream in(VEXAL_SOURCE_DIR "/cfg/meta.xml", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return AttributeValues(text.str(), "help");
}

TEST(HelpFile, HoldsTheIndexAndEveryTopicOfTheMetamodel)
{
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(kHelpFile)) << kHelpFile;
    std::string index;
    ASSERT_TRUE(archive.Read("/Index.htm", index));
    EXPECT_NE(index.find("charset=utf-8"), std::string::npos);
    const std::vector<std::string> topics = MetamodelTopics();
    EXPECT_EQ(topics.size(), 79u);
    for (const std::string& topic : topics) {
        std::string page;
        EXPECT_TRUE(archive.Read(topic, page)) << topic;
        EXPECT_NE(page.find("<h2>Where it may stand</h2>"), std::string::npos) << topic;
    }
    std::string classPage;
    ASSERT_TRUE(archive.Read("/Class.htm", classPage));
    EXPECT_NE(classPage.find("Owns in the model browser: <a href=\"Attribute.htm\">Attribute</a>"), std::string::npos);
}

TEST(HelpFile, EveryLinkAndContentsEntryLeadsToATopic)
{
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(kHelpFile)) << kHelpFile;
    ExpectArchiveWhole(archive, {"/help.hhc", "/help.hhk"});
    std::string contents;
    ASSERT_TRUE(archive.Read("/help.hhc", contents));
    for (const std::string& topic : MetamodelTopics())
        EXPECT_NE(contents.find("VALUE=\"" + topic.substr(1) + "\""), std::string::npos) << topic;
}

} // namespace
