// The command icon registry: additions, lookups and misses, and its removals.
#include "Controls/CommandImageList.h"
#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string kToolbar = VEXAL_SOURCE_DIR "/Img/toolbar/";

class CommandImagesTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(registry.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1)); }
    int Add(const char* file, UINT id, const char* name = nullptr)
    {
        return registry.AddBitmap((kToolbar + file).c_str(), 0xFFFFFF, id, name);
    }
    CCommandImageList registry;
};

TEST_F(CommandImagesTest, LookupsFindTheRecordAndMissesSayNone)
{
    EXPECT_EQ(Add("copy.bmp", 57634), 0);
    EXPECT_EQ(Add("cut.bmp", 57635, "Snip"), 1);
    CommandImageInfo info;
    ASSERT_TRUE(registry.Lookup(57634, info));
    EXPECT_EQ(info.id, 57634u);
    EXPECT_EQ(info.image, 0);
    EXPECT_STREQ(info.name, "Copy"); // the tip after the line break of the string-table entry
    EXPECT_EQ(info.mask, 0xFFFFFFu);
    ASSERT_TRUE(registry.Lookup(57635, info));
    EXPECT_STREQ(info.name, "Snip");

    std::strcpy(info.name, "kept");
    info.mask = 7;
    EXPECT_FALSE(registry.Lookup(12345, info));
    EXPECT_EQ(info.id, 0u);
    EXPECT_EQ(info.image, -1);
    EXPECT_STREQ(info.name, "kept");
    EXPECT_EQ(info.mask, 7u);
    EXPECT_FALSE(registry.GetAt(2, info));
    EXPECT_EQ(info.image, -1);
}

TEST_F(CommandImagesTest, AnIdAddedTwiceStandsOnceInTheMapAndTwiceInOrder)
{
    Add("copy.bmp", 57634);
    Add("paste.bmp", 57637);
    EXPECT_EQ(Add("cut.bmp", 57634, "Second"), 2);
    EXPECT_EQ(registry.GetCount(), 2);
    EXPECT_EQ(registry.GetImageCount(), 3);
    CommandImageInfo info;
    ASSERT_TRUE(registry.Lookup(57634, info));
    EXPECT_EQ(info.image, 2);
    EXPECT_STREQ(info.name, "Second");
    ASSERT_TRUE(registry.GetAt(1, info));
    EXPECT_EQ(info.id, 57637u);
    EXPECT_FALSE(registry.GetAt(2, info)); // only the first GetCount positions
}

TEST_F(CommandImagesTest, NamesAreCutAndTipsTakenWhole)
{
    const std::string longName(70, 'n');
    Add("new.bmp", 57600, longName.c_str());
    CommandImageInfo info;
    registry.Lookup(57600, info);
    EXPECT_EQ(std::strlen(info.name), 63u);
    // A name of multi-byte characters is cut before a whole character.
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "\xC3\xA9";
    Add("open.bmp", 57601, wide.c_str());
    registry.Lookup(57601, info);
    EXPECT_EQ(std::strlen(info.name), 62u);
    EXPECT_EQ(CCommandImageList::GetCommandTip(57634), "Copy");
    EXPECT_EQ(CCommandImageList::GetCommandTip(1), "");
}

TEST_F(CommandImagesTest, UnreadableFilesAndAnUncreatedListRecordNothing)
{
    EXPECT_EQ(Add("no-such-icon.bmp", 57600), -1);
    CommandImageInfo info;
    EXPECT_FALSE(registry.Lookup(57600, info));
    CCommandImageList uncreated;
    EXPECT_EQ(uncreated.AddBitmap((kToolbar + "new.bmp").c_str(), 0xFFFFFF, 57600, nullptr), -1);
    EXPECT_EQ(uncreated.GetCount(), 0);
}

TEST_F(CommandImagesTest, RemovalsRenumberTheLaterRecords)
{
    Add("new.bmp", 1);
    Add("open.bmp", 2);
    Add("save.bmp", 3);
    registry.RemoveAt(0);
    CommandImageInfo info;
    EXPECT_FALSE(registry.Lookup(1, info));
    ASSERT_TRUE(registry.Lookup(3, info));
    EXPECT_EQ(info.image, 1);
    ASSERT_TRUE(registry.GetAt(1, info));
    EXPECT_EQ(info.id, 3u);
    EXPECT_EQ(registry.GetImageCount(), 2);
    registry.Remove(2);
    registry.Remove(99);
    registry.RemoveAt(5);
    EXPECT_EQ(registry.GetCount(), 1);
    registry.SetName(3, "Save it");
    registry.SetName(3, nullptr);
    ASSERT_TRUE(registry.GetAt(0, info));
    EXPECT_STREQ(info.name, "Save it");
    ASSERT_NE(registry.GetBitmapById(3), nullptr);
    EXPECT_EQ(registry.GetBitmapById(2), nullptr);
    registry.Remove(3);
    EXPECT_EQ(registry.GetCount(), 0);
    EXPECT_EQ(Add("new.bmp", 4), 0); // an emptied map takes new records
}

TEST(CommandImages, TheShippedIconsFillTheRegistry)
{
    CSysConfig config;
    config.LoadCommandIcons();
    std::vector<CommandIconFile> files = config.GetCommandIconFiles();
    // The configuration names files under the program folder; the tests take the shipped ones.
    const size_t folder = std::string(files[0].path).find("Img/");
    for (CommandIconFile& file : files)
        file.path = CString(VEXAL_SOURCE_DIR "/") + (file.path.GetString() + folder);
    files.push_back(CommandIconFile{"/no/such.bmp", 0xFFFFFF, 40000});
    CCommandImageList registry;
    ASSERT_TRUE(registry.LoadCommandIcons(files));
    EXPECT_EQ(registry.GetCount(), 31);
    CommandImageInfo info;
    for (UINT id : {3024u, 57642u, 57634u, 57635u, 57637u, 32773u, 57643u, 57644u, 32787u, 32788u, 32789u})
        EXPECT_TRUE(registry.Lookup(id, info)) << id;
    EXPECT_FALSE(registry.Lookup(40000, info));
    for (int i = 0; i < registry.GetCount(); ++i) {
        ASSERT_TRUE(registry.GetAt(i, info));
        EXPECT_EQ(info.image, i);
    }
}

// Every command icon is one 16x16 image whose white (transparent) pixels all
// reach its border: white enclosed by ink would show the toolbar or a
// highlighted menu row through the picture.
TEST(CommandImages, ShippedIconsAreOpaqueInside)
{
    CSysConfig config;
    config.LoadCommandIcons();
    for (const CommandIconFile& file : config.GetCommandIconFiles()) {
        const std::string path = file.path.GetString();
        const std::string shipped = VEXAL_SOURCE_DIR "/" + path.substr(path.find("Img/"));
        SCOPED_TRACE(shipped);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromFile(shipped.c_str()));
        ASSERT_EQ(bitmap.GetSize(), CSize(16, 16));
        DWORD pixels[16 * 16];
        ASSERT_EQ(bitmap.GetBitmapBits(sizeof pixels, pixels), DWORD(sizeof pixels));
        auto white = [&](int x, int y) { return (pixels[y * 16 + x] & 0xFFFFFF) == 0xFFFFFF; };
        bool reached[16 * 16] = {};
        std::vector<std::pair<int, int>> open;
        for (int i = 0; i < 16; ++i)
            for (auto [x, y] : {std::pair{i, 0}, {i, 15}, {0, i}, {15, i}})
                open.emplace_back(x, y);
        while (!open.empty()) {
            const auto [x, y] = open.back();
            open.pop_back();
            if (x < 0 || y < 0 || x > 15 || y > 15 || reached[y * 16 + x] || !white(x, y))
                continue;
            reached[y * 16 + x] = true;
            open.insert(open.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
        int holes = 0, ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                holes += white(x, y) && !reached[y * 16 + x];
                ink += !white(x, y);
            }
        EXPECT_EQ(holes, 0);
        if (file.id != 57642) { // the empty icon of Select All
            EXPECT_GT(ink, 0);
        }
    }
}

} // namespace
