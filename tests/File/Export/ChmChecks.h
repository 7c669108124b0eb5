// Checks of a compiled help file read back through ChmArchive: every entry of
// its contents and index, and every link and picture of every page, names a
// topic of the archive, and no page is empty.
#pragma once

#include "File/ChmArchive.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

// The values of attr="..." (or attr='...') in html, in order; attr is matched
// without regard to case.
inline std::vector<std::string> AttributeValues(const std::string& html, const std::string& attr)
{
    std::string lower = html;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::vector<std::string> values;
    const std::string key = attr + "=";
    for (size_t at = lower.find(key); at != std::string::npos; at = lower.find(key, at + 1)) {
        const size_t open = at + key.size();
        if (open >= html.size() || (html[open] != '"' && html[open] != '\''))
            continue;
        const size_t close = html.find(html[open], open + 1);
        if (close == std::string::npos)
            break;
        values.push_back(html.substr(open + 1, close - open - 1));
    }
    return values;
}

// The Local targets of a sitemap (.hhc or .hhk): the VALUE after each
// NAME="Local".
inline std::vector<std::string> SitemapLocals(const std::string& sitemap)
{
    std::vector<std::string> locals;
    const std::string key = "NAME=\"Local\" VALUE=\"";
    for (size_t at = sitemap.find(key); at != std::string::npos; at = sitemap.find(key, at + 1)) {
        const size_t start = at + key.size();
        locals.push_back(sitemap.substr(start, sitemap.find('"', start) - start));
    }
    return locals;
}

// target relative to the archive folder of page, "#fragment" dropped.
inline std::string ArchiveTarget(const std::string& page, const std::string& target)
{
    const std::string path = target.substr(0, target.find('#'));
    if (!path.empty() && path[0] == '/')
        return path;
    std::string folder = page.substr(0, page.rfind('/') + 1);
    std::string rest = path;
    while (rest.compare(0, 3, "../") == 0) {
        folder = folder.substr(0, folder.rfind('/', folder.size() - 2) + 1);
        rest = rest.substr(3);
    }
    return folder + rest;
}

inline bool IsExternal(const std::string& target)
{
    return target.empty() || target[0] == '#' || target.find(':') != std::string::npos;
}

// Every page of the archive is not empty, and each of its links and pictures
// resolves; so does every Local of the named sitemaps.
inline void ExpectArchiveWhole(const ChmArchive& archive, const std::vector<std::string>& sitemaps)
{
    for (const std::string& sitemap : sitemaps) {
        std::string text;
        ASSERT_TRUE(archive.Read(sitemap, text)) << sitemap;
        const std::vector<std::string> locals = SitemapLocals(text);
        EXPECT_FALSE(locals.empty()) << sitemap;
        for (const std::string& local : locals)
            EXPECT_TRUE(archive.Contains("/" + local)) << sitemap << " names " << local;
    }
    for (const std::string& file : archive.List()) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".htm") != 0)
            continue;
        std::string page;
        ASSERT_TRUE(archive.Read(file, page)) << file;
        EXPECT_NE(page.find("<body"), std::string::npos) << file << " is empty";
        for (const char* attr : {"href", "src"})
            for (const std::string& target : AttributeValues(page, attr)) {
                if (IsExternal(target))
                    continue;
                EXPECT_TRUE(archive.Contains(ArchiveTarget(file, target))) << file << " links to the missing " << target;
            }
    }
}
