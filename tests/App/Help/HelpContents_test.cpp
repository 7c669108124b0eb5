#include "App/HelpContents.h"

#include <gtest/gtest.h>

TEST(HelpContents, EntriesWithTheirDepthInFileOrder)
{
    const std::string sitemap =
        "<html><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x827\"></OBJECT>\r\n"
        "<UL>\r\n<LI><OBJECT TYPE=\"text/sitemap\">\r\n<PARAM NAME=\"Name\" VALUE=\"Pkg &lt;&amp;&quot;\">\r\n"
        "<PARAM NAME=\"Local\" VALUE=\"Package1.htm\">\r\n</OBJECT>\r\n<UL>\r\n"
        "<li><object type='text/sitemap'><param name='local' value='Package1/Class2.htm'>"
        "<param name=name value=C></object>\r\n</UL>\r\n"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Last\"></OBJECT>\r\n</UL></BODY></HTML>\r\n";
    const std::vector<HelpContentsEntry> entries = ParseHelpContents(sitemap);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[0].name, "Pkg <&\"");
    EXPECT_EQ(entries[0].local, "Package1.htm");
    EXPECT_EQ(entries[1].depth, 1);
    EXPECT_EQ(entries[1].name, "C");
    EXPECT_EQ(entries[1].local, "Package1/Class2.htm");
    EXPECT_EQ(entries[2].depth, 0);
    EXPECT_EQ(entries[2].local, "");
}

TEST(HelpContents, BrokenTextGivesWhatItHolds)
{
    EXPECT_TRUE(ParseHelpContents("").empty());
    EXPECT_TRUE(ParseHelpContents("</UL></UL><OBJECT type=\"text/sitemap\"><param name=\"Name\"").empty());
    EXPECT_EQ(ParseHelpContents("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>")[0].depth, 0);
}
