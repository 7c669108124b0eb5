#include "Pub/XmlBuffer.h"

#include <gtest/gtest.h>

#include <memory>

TEST(XmlBuffer, GrowsByBlocksAndKeepsEveryByte)
{
    auto buf = std::make_unique<CXmlBuffer>();
    const int n = 3 * CXmlBuffer::BlockSize + 5;
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(buf->Push(char(i * 31)));
    EXPECT_EQ(buf->Count(), n);
    for (int i : {0, CXmlBuffer::BlockSize - 1, CXmlBuffer::BlockSize, 2 * CXmlBuffer::BlockSize + 1, n - 1}) {
        char c = 0;
        ASSERT_TRUE(buf->GetAt(i, c));
        EXPECT_EQ(c, char(i * 31));
    }
    char c;
    EXPECT_FALSE(buf->GetAt(n, c));
    EXPECT_FALSE(buf->GetAt(-1, c));
    EXPECT_TRUE(buf->SetCursor(4 * CXmlBuffer::BlockSize - 1)); // below capacity, past count
    EXPECT_FALSE(buf->Next(c));
    EXPECT_FALSE(buf->SetCursor(4 * CXmlBuffer::BlockSize));
    buf->Clear();
    EXPECT_EQ(buf->Count(), 0);
    EXPECT_TRUE(buf->SetCursor(4 * CXmlBuffer::BlockSize - 1)); // the blocks are kept
}

TEST(XmlBuffer, ReadTokenStopsAtDelimitersAndSize)
{
    auto buf = std::make_unique<CXmlBuffer>();
    for (const char* p = "  = name=\"v\" toolongname/"; *p; ++p)
        buf->Push(*p);
    char out[8];
    char stop = 'x';
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " \t=/", &stop), 4); // leading "=" skipped with "=" a delimiter
    EXPECT_STREQ(out, "name");
    EXPECT_EQ(stop, '=');
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " ", &stop), 3);
    EXPECT_STREQ(out, "\"v\"");
    EXPECT_EQ(stop, ' ');
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " /", &stop), 7); // cut at size - 1
    EXPECT_STREQ(out, "toolong");
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " /", &stop), 4);
    EXPECT_STREQ(out, "name");
    EXPECT_EQ(stop, '/');
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " /", &stop), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(stop, 0);

    buf->Clear();
    for (const char* p = "=x"; *p; ++p)
        buf->Push(*p);
    EXPECT_EQ(buf->ReadToken(out, sizeof out, " ", &stop), 2); // "=" is kept when it is no delimiter
    EXPECT_STREQ(out, "=x");
}
