#include "Platform/Collections.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

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

    // An element of the array itself, passed while the array grows.
    CStringArray self;
    self.Add("first");
    self.SetAtGrow(40, self[0]);
    self.InsertAt(60, self[40]);
    self.InsertAt(0, self[60], 30);
    EXPECT_STREQ(self[0], "first");
    EXPECT_STREQ(self[70], "first");
    EXPECT_STREQ(self[90], "first");
    EXPECT_EQ(self.GetSize(), 91);
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

// The pointer list against a reference under a fixed random mix of insertions
// at both ends and beside any node, removals and searches; walked both ways,
// and emptied by removing each node behind the walk.
TEST(Collections, PtrListAgreesWithReference)
{
    CPtrList list(3);
    std::vector<void*> ref;
    std::mt19937 rng(777);
    auto item = [](int n) { return reinterpret_cast<void*>(uintptr_t(n + 1)); };
    for (int step = 0; step < 3000; ++step) {
        const int size = int(ref.size());
        const int at = size ? int(rng() % unsigned(size)) : 0;
        switch (rng() % 6) {
        case 0: list.AddHead(item(step)); ref.insert(ref.begin(), item(step)); break;
        case 1: list.AddTail(item(step)); ref.push_back(item(step)); break;
        case 2:
            if (size) {
                list.InsertBefore(list.FindIndex(at), item(step));
                ref.insert(ref.begin() + at, item(step));
            }
            break;
        case 3:
            if (size) {
                list.InsertAfter(list.FindIndex(at), item(step));
                ref.insert(ref.begin() + at + 1, item(step));
            }
            break;
        default:
            if (size) {
                EXPECT_EQ(list.Find(ref[size_t(at)]), list.FindIndex(at));
                list.RemoveAt(list.FindIndex(at));
                ref.erase(ref.begin() + at);
            }
            break;
        }
        ASSERT_EQ(list.GetCount(), INT_PTR(ref.size()));
    }
    ASSERT_FALSE(ref.empty());
    EXPECT_EQ(list.GetHead(), ref.front());
    EXPECT_EQ(list.GetTail(), ref.back());
    EXPECT_EQ(list.FindIndex(INT_PTR(ref.size())), nullptr);
    EXPECT_EQ(list.Find(item(-5)), nullptr);

    std::vector<void*> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(std::vector<void*>(backwards.rbegin(), backwards.rend()), ref);

    size_t visited = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const POSITION here = pos;
        EXPECT_EQ(list.GetNext(pos), ref[visited++]);
        list.RemoveAt(here);
    }
    EXPECT_EQ(visited, ref.size());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(item(1));
    list.AddHead(item(0));
    EXPECT_EQ(list.RemoveTail(), item(1));
    EXPECT_EQ(list.RemoveHead(), item(0));
    EXPECT_TRUE(list.IsEmpty());
}
