#include "Pub/BufferedFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

class BufferedFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexal-buf-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        path = dir + "/out.bin";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    long OnDisk() const
    {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
    }
    std::string Contents() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir;
    std::string path;
};

std::string Pattern(size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = char('a' + (i * 7 + seed) % 26);
    return s;
}

} // namespace

TEST_F(BufferedFileTest, WritesAroundTheBufferSizeArriveWholeAndInOrder)
{
    const int B = CBufferedFile::BufferSize;
    const int sizes[] = {0, 1, 2, B - 2, B - 1, B, B + 1, 2 * B, 3, B - 3, 70000, 1};
    auto file = std::make_unique<CBufferedFile>();
    ASSERT_TRUE(file->Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    std::string expected;
    unsigned seed = 0;
    for (int n : sizes) {
        const std::string piece = Pattern(size_t(n), seed++);
        if (seed % 2)
            file->Write(piece.data(), UINT(piece.size()));
        else
            file->WriteString(piece.c_str());
        expected += piece;
        EXPECT_EQ(OnDisk() + file->Pending(), long(expected.size())) << "after a piece of " << n;
    }
    file->Close();
    EXPECT_FALSE(file->HasWriteError());
    EXPECT_EQ(Contents(), expected);
}

TEST_F(BufferedFileTest, FullBufferGoesOutBeforeTheDirectWrite)
{
    auto file = std::make_unique<CBufferedFile>();
    ASSERT_TRUE(file->Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    const std::string big = Pattern(CBufferedFile::BufferSize - 1, 1);
    file->Write(big.data(), UINT(big.size()));
    EXPECT_EQ(OnDisk(), 0);
    EXPECT_EQ(file->Pending(), CBufferedFile::BufferSize - 1);
    file->Write("!", 1);
    EXPECT_EQ(OnDisk(), long(CBufferedFile::BufferSize));
    EXPECT_EQ(file->Pending(), 0);
    file->Close();
    EXPECT_EQ(Contents(), big + "!");
}

TEST_F(BufferedFileTest, WriteStringFlushesFullBuffers)
{
    auto file = std::make_unique<CBufferedFile>();
    ASSERT_TRUE(file->Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    const std::string text = Pattern(70000, 3);
    file->WriteString(text.c_str());
    EXPECT_EQ(OnDisk(), long(CBufferedFile::BufferSize));
    EXPECT_EQ(file->Pending(), 70000 - CBufferedFile::BufferSize);
    file->Close();
    EXPECT_EQ(Contents(), text);
}

TEST_F(BufferedFileTest, CloseAndDestructor)
{
    {
        CBufferedFile* file = new CBufferedFile;
        ASSERT_TRUE(file->Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        file->Close();
        EXPECT_EQ(OnDisk(), 0);
        delete file;
    }
    {
        auto file = std::make_unique<CBufferedFile>();
        ASSERT_TRUE(file->Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        file->WriteString("kept");
    } // a writer that forgets Close loses nothing
    EXPECT_EQ(Contents(), "kept");

    auto full = std::make_unique<CBufferedFile>();
    ASSERT_TRUE(full->Open("/dev/full", CFile::modeWrite));
    full->WriteString("lost");
    EXPECT_FALSE(full->HasWriteError());
    full->Close();
    EXPECT_TRUE(full->HasWriteError());

    auto unopened = std::make_unique<CBufferedFile>();
    unopened->WriteString("nowhere");
    unopened->Close();
    EXPECT_TRUE(unopened->HasWriteError());
}
