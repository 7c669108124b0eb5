// The contents of a compiled help file, read from its sitemap (".hhc"): one
// entry per sitemap object, in the file's order, with its depth in the "<UL>"
// lists (0 at the top). Tags and attribute names are matched without regard
// to case; names and targets come back with their entities decoded.
#pragma once

#include <string>
#include <vector>

struct HelpContentsEntry {
    int depth;
    std::string name;
    std::string local;  // the topic's path in the archive, as written
};

std::vector<HelpContentsEntry> ParseHelpContents(const std::string& sitemap);
