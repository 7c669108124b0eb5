#include "Platform/Collections.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

TEST(Collections, StringArrayInsertRemoveAndGrow)
{
    CStringArray a;
    EXPECT_EQ(a.Add("b"), 0);
    EXPECT_EQ(a.Add("d"), 1);
    a.InsertAt(0, "a");
    a.InsertAt(2, "c");
    a.SetAtGrow(5, "f");
    ASSERT_EQ(a.GetSize(), 6);
    const char* want[] = {"a", "b", "c", "d", "", "f"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(a[i], want[i]);
    a.RemoveAt(1, 2);
    EXPECT_EQ(a.GetUpperBound(), 3);
    EXPECT_STREQ(a[1], "d");
    CStringArray b;
    b.Add("x");
    EXPECT_EQ(b.Append(a), 1);
    EXPECT_EQ(b.GetSize(), 5);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

// The map against a reference under a fixed random mix of inserts, updates
// and removals, with iteration that removes the returned key as it goes.
TEST(Collections, StringMapAgreesWithReference)
{
    CMapStringToPtr map(10);
    map.InitHashTable(7);
    std::map<std::string, void*> ref;
    std::mt19937 rng(12345);
    for (int step = 0; step < 4000; ++step) {
        const std::string key = "k" + std::to_string(rng() % 300);
        void* value = reinterpret_cast<void*>(uintptr_t(step + 1));
        if (rng() % 3 == 0) {
            EXPECT_EQ(bool(map.RemoveKey(key.c_str())), ref.erase(key) == 1);
        } else {
            map.SetAt(key.c_str(), value);
            ref[key] = value;
        }
    }
    ASSERT_EQ(map.GetCount(), INT_PTR(ref.size()));
    for (const auto& [key, value] : ref) {
        void* got = nullptr;
        ASSERT_TRUE(map.Lookup(key.c_str(), got)) << key;
        EXPECT_EQ(got, value);
    }
    void* none;
    EXPECT_FALSE(map.Lookup("missing", none));

    size_t visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(ref.at(key.GetString()), value);
        EXPECT_TRUE(map.RemoveKey(key));
        ++visited;
    }
    EXPECT_EQ(visited, ref.size());
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(Collections, IntegerKeysDropLowFourBits)
{
    CMap<UINT, UINT, int, int> map;
    map.InitHashTable(250);
    EXPECT_EQ(HashKey(UINT(57634)) % 250, (57634u >> 4) % 250);
    map[57634] = 1;
    map[57635] = 2;
    map[57634] += 10;
    int v = 0;
    EXPECT_TRUE(map.Lookup(57634, v));
    EXPECT_EQ(v, 11);
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_EQ(map.GetHashTableSize(), 250u);
}
