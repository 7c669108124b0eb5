#include "Platform/CString.h"
#include "Platform/Resource.h"
#include "Platform/TextConv.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(String, ExtractionClampsOutOfRangeArguments)
{
    const CString s("abcdef");
    struct Case { CString got; const char* want; };
    const Case cases[] = {
        {s.Mid(2), "cdef"},
        {s.Mid(2, 2), "cd"},
        {s.Mid(-3, 2), "ab"},
        {s.Mid(4, 100), "ef"},
        {s.Mid(10), ""},
        {s.Mid(1, -1), ""},
        {s.Left(3), "abc"},
        {s.Left(-1), ""},
        {s.Left(99), "abcdef"},
        {s.Right(2), "ef"},
        {s.Right(99), "abcdef"},
        {s.Right(0), ""},
        {s.SpanIncluding("cba"), "abc"},
        {s.SpanExcluding("dx"), "abc"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.got, c.want);
}

TEST(String, SearchesReportByteIndexOrMinusOne)
{
    const CString s("a.b.c\xC3\xA9z");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.Find('.', 99), -1);
    EXPECT_EQ(s.Find('.', -1), -1);
    EXPECT_EQ(s.Find("b.c"), 2);
    EXPECT_EQ(s.Find("z", 6), 7);
    EXPECT_EQ(s.Find("q"), -1);
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.ReverseFind('q'), -1);
    EXPECT_EQ(s.FindOneOf("zc"), 4);
    EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(String, EditingOperations)
{
    CString s("one two one");
    EXPECT_EQ(s.Replace("one", "three"), 2);
    EXPECT_STREQ(s, "three two three");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace('t', 'T'), 3);
    EXPECT_STREQ(s, "Three Two Three");
    EXPECT_EQ(s.Remove(' '), 2);
    EXPECT_STREQ(s, "ThreeTwoThree");
    s.Delete(5, 3);
    EXPECT_STREQ(s, "ThreeThree");
    s.Delete(8, 50);
    EXPECT_STREQ(s, "ThreeThr");
    s.Insert(0, '[');
    s.Insert(99, "]");
    EXPECT_STREQ(s, "[ThreeThr]");
    s.SetAt(1, 't');
    s.SetAt(99, '!');
    EXPECT_STREQ(s, "[threeThr]");
    EXPECT_EQ(s.GetAt(99), 0);
}

TEST(String, TrimmingAndCase)
{
    CString s(" \t\r\nMixed Case \xC3\x84 \n");
    s.Trim();
    EXPECT_STREQ(s, "Mixed Case \xC3\x84");
    s.MakeUpper();
    EXPECT_STREQ(s, "MIXED CASE \xC3\x84");
    s.MakeLower();
    EXPECT_STREQ(s, "mixed case \xC3\x84");

    CString t("xxabcxx");
    t.TrimLeft('x');
    EXPECT_STREQ(t, "abcxx");
    t.TrimRight("xc");
    EXPECT_STREQ(t, "ab");
    CString all("    ");
    all.TrimRight();
    EXPECT_TRUE(all.IsEmpty());
}

TEST(String, ComparisonWithAndWithoutCase)
{
    const CString s("Class");
    EXPECT_EQ(s.Compare("Class"), 0);
    EXPECT_LT(s.Compare("class"), 0);
    EXPECT_EQ(s.CompareNoCase("CLASS"), 0);
    EXPECT_LT(s.CompareNoCase("classes"), 0);
    EXPECT_GT(s.CompareNoCase("clasa"), 0);
    EXPECT_EQ(s.Compare(nullptr), 1);
    EXPECT_TRUE(s == "Class");
    EXPECT_TRUE("Class" == s);
    EXPECT_TRUE(s != CString("class"));
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_TRUE(CString("\xC3\xA9") > CString("z")); // byte order is code-point order
}

TEST(String, FormatHandlesLongOutputAndAppends)
{
    CString s;
    s.Format("%s(%d):", "Pub/Log.cpp", 33);
    EXPECT_STREQ(s, "Pub/Log.cpp(33):");
    const std::string big(10000, 'q');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(s.GetLength(), 10002);
    EXPECT_EQ(s[10001], '>');
    s = "page";
    s.AppendFormat("%d.htm", 12);
    EXPECT_STREQ(s, "page12.htm");
}

TEST(String, BufferAccess)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::strcpy(p, "hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_STREQ(s, "hello");

    p = s.GetBuffer(0);
    p[2] = 0;
    s.ReleaseBuffer(4);
    EXPECT_EQ(s.GetLength(), 4); // an explicit length keeps the bytes
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 2);

    p = s.GetBufferSetLength(3);
    p[2] = 'z';
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s[2], 'z');
}

TEST(String, TokenizeWalksTokens)
{
    const CString s(",,a,bc;;d,");
    int pos = 0;
    EXPECT_STREQ(s.Tokenize(",;", pos), "a");
    EXPECT_STREQ(s.Tokenize(",;", pos), "bc");
    EXPECT_STREQ(s.Tokenize(",;", pos), "d");
    EXPECT_STREQ(s.Tokenize(",;", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(String, ReverseKeepsMultiByteCharactersWhole)
{
    CString s("ab\xC3\xA9\xE2\x82\xAC");
    s.MakeReverse();
    EXPECT_STREQ(s, "\xE2\x82\xAC\xC3\xA9" "ba");
}

TEST(String, Utf16RoundTripAndMalformedInput)
{
    const char* text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::u16string wide = CString(text).ToUtf16();
    EXPECT_EQ(wide, (std::u16string{u'A', 0xE9, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_STREQ(CString(wide.c_str()), text);

    struct Case { const char* bytes; std::u16string want; };
    const Case bad[] = {
        {"\x80z", {0xFFFD, u'z'}},             // stray continuation byte
        {"\xC3", {0xFFFD}},                    // truncated sequence
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},        // overlong form
        {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}}, // encoded surrogate
    };
    for (const Case& c : bad)
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.want) << c.bytes;
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(Utf16ToUtf8(lone), "\xEF\xBF\xBDx");
}

TEST(String, ResourceChainPrefersLibraryThenProgram)
{
    CString s("unchanged");
    EXPECT_FALSE(s.LoadString(1));
    EXPECT_STREQ(s, "unchanged");
    EXPECT_TRUE(s.LoadString(61470));
    EXPECT_STREQ(s, "Name");
    EXPECT_STREQ(LoadResString(1), "");

    int libraryTag = 0;
    const HINSTANCE library = reinterpret_cast<HINSTANCE>(&libraryTag);
    const ResourceString table[] = {{61471, "Typ"}, {61470, "Nom"}};
    AfxSetStringTable(library, table, 2);
    AfxSetResourceHandle(library);
    EXPECT_EQ(AfxGetResourceHandle(), library);
    EXPECT_STREQ(LoadResString(61470), "Nom");
    EXPECT_STREQ(LoadResString(61472), "Stereotype"); // missing in the library
    EXPECT_EQ(AfxFindResourceHandle(61472), AfxGetInstanceHandle());
    AfxSetResourceHandle(nullptr);
    AfxSetStringTable(library, nullptr, 0);
    EXPECT_STREQ(LoadResString(61470), "Name");
}

TEST(String, LoadStringIntoSmallBufferCutsAtCharacterBoundary)
{
    char buf[6];
    EXPECT_EQ(LoadString(AfxGetInstanceHandle(), 61470, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "Name");
    EXPECT_EQ(LoadString(AfxGetInstanceHandle(), 61447, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "Base ");
    EXPECT_EQ(LoadString(AfxGetInstanceHandle(), 1, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");

    int tag = 0;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(&tag);
    const ResourceString table[] = {{7, "ab\xE2\x82\xAC"}};
    AfxSetStringTable(module, table, 1);
    char four[4];
    EXPECT_EQ(LoadString(module, 7, four, sizeof four), 2);
    EXPECT_STREQ(four, "ab");
    AfxSetStringTable(module, nullptr, 0);
}
