#include "Pub/TextPool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(TextPool, StagesSixteenTextsAndRefusesMore)
{
    auto pool = std::make_unique<CTextPool>();
    const char* copies[CTextPool::MaxTexts];
    for (int i = 0; i < CTextPool::MaxTexts; ++i) {
        const std::string text = "text" + std::to_string(i);
        copies[i] = pool->Stage(text.c_str());
        ASSERT_NE(copies[i], nullptr);
    }
    EXPECT_EQ(pool->Stage("seventeenth"), nullptr);
    EXPECT_EQ(pool->Count(), CTextPool::MaxTexts);
    for (int i = 0; i < CTextPool::MaxTexts; ++i)
        EXPECT_EQ(copies[i], "text" + std::to_string(i)); // earlier texts stay intact
    pool->Reset();
    EXPECT_EQ(pool->Count(), 0);
    EXPECT_NE(pool->Stage("again"), nullptr);
}

TEST(TextPool, RefusesTextsThatDoNotFit)
{
    auto pool = std::make_unique<CTextPool>();
    const std::string big(CTextPool::Capacity - 10, 'a');
    ASSERT_NE(pool->Stage(big.c_str()), nullptr);
    // Used is Capacity - 9: a text fits while used + length + 1 stays below Capacity.
    EXPECT_EQ(pool->Stage("12345678"), nullptr);
    const char* last = pool->Stage("1234567");
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last, "1234567");
    EXPECT_EQ(pool->Stage(""), nullptr);
    EXPECT_EQ(pool->Used(), CTextPool::Capacity - 1);

    pool->Reset();
    EXPECT_EQ(pool->Stage(std::string(CTextPool::Capacity, 'b').c_str()), nullptr);
    EXPECT_NE(pool->Stage(nullptr), nullptr);
}

TEST(TextPool, BuildsOneTextWithinTheArea)
{
    auto pool = std::make_unique<CTextPool>();
    const char* name = pool->Stage("name");
    EXPECT_TRUE(pool->Append("1,2;"));
    EXPECT_TRUE(pool->Append("3,4", 3));
    EXPECT_STREQ(pool->Built(), "1,2;3,4");
    EXPECT_STREQ(name, "name");
    const std::string tooMuch(CTextPool::Capacity, 'x');
    EXPECT_FALSE(pool->Append(tooMuch.c_str()));
    EXPECT_STREQ(pool->Built(), "1,2;3,4"); // a refused piece leaves the text as it was
    EXPECT_EQ(pool->BuiltLength(), 7);
}
