// Font enumeration for the font dialog.
#include "Platform/FontEnum.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct Seen {
    std::set<std::string> faces;
    DWORD types = 0;
    DWORD flags = 0;
    int calls = 0;
};

int Collect(const LOGFONT* font, const TEXTMETRIC* metrics, DWORD type, LPARAM data)
{
    auto* seen = reinterpret_cast<Seen*>(data);
    seen->faces.insert(font->lfFaceName);
    seen->types |= type;
    seen->flags |= static_cast<const NEWTEXTMETRIC*>(metrics)->ntmFlags;
    EXPECT_STRNE(reinterpret_cast<const ENUMLOGFONTEX*>(font)->elfStyle, "");
    EXPECT_GT(metrics->tmHeight, 0);
    ++seen->calls;
    return 1;
}

int StopAtOnce(const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM data)
{
    ++*reinterpret_cast<int*>(data);
    return 0;
}

TEST(FontEnum, FamiliesThenTheStylesOfOneFamily)
{
    LOGFONT all{};
    Seen families;
    EXPECT_EQ(EnumFontFamiliesEx(nullptr, &all, Collect, LPARAM(&families), 0), 1);
    EXPECT_TRUE(families.faces.count("Liberation Sans"));
    EXPECT_TRUE(families.faces.count("DejaVu Sans"));
    EXPECT_EQ(size_t(families.calls), families.faces.size()); // one entry per family
    EXPECT_TRUE(families.types & TRUETYPE_FONTTYPE);

    LOGFONT one{};
    std::strcpy(one.lfFaceName, "Liberation Sans");
    Seen styles;
    EnumFontFamiliesEx(nullptr, &one, Collect, LPARAM(&styles), 0);
    EXPECT_EQ(styles.faces, std::set<std::string>{"Liberation Sans"});
    EXPECT_GE(styles.calls, 4);
    EXPECT_EQ(styles.flags, DWORD(NTM_REGULAR | NTM_BOLD | NTM_ITALIC));

    int calls = 0;
    EXPECT_EQ(EnumFontFamiliesEx(nullptr, &all, StopAtOnce, LPARAM(&calls), 0), 0);
    EXPECT_EQ(calls, 1);
    LOGFONT none{};
    std::strcpy(none.lfFaceName, "No Such Face Anywhere");
    EXPECT_EQ(EnumFontFamiliesEx(nullptr, &none, StopAtOnce, LPARAM(&calls), 0), 1);
    EXPECT_EQ(calls, 1);
}

} // namespace
