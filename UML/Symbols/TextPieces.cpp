#include "UML/Symbols/TextPieces.h"

#include "MemDB/db.h"
#include "Pub/SyntaxRunCodec.h"
#include "Pub/TextPool.h"
#include "UML/Model/TypeResolution.h"

#include <cstring>

void Piece(const char* text, COLORREF colour)
{
    theSyntaxWriter.AddRun(TextPool.BuiltLength(), colour);
    TextPool.Append(text ? text : "");
}

int StoreBuiltText(const SymbolT& row, oid_t oid, const std::string& stereotype)
{
    const std::string text = TextPool.Built();
    TextPool.Reset();
    auto same = [](const char* a, const char* b) { return std::strcmp(a ? a : "", b ? b : "") == 0; };
    if (same(row.Text, text.c_str()) && same(row.Stereotype, stereotype.c_str()))
        return 0;
    SymbolT updated = row;
    updated.Text = text.c_str();
    updated.Stereotype = stereotype.c_str();
    updated.Syntax = theSyntaxWriter.GetText();
    return MemDbUpdate(&SymbolT::TableInfo, &updated, oid);
}

bool NextWord(const std::string& text, size_t& pos, const char* delimiters, std::string& word, size_t& start)
{
    const size_t from = text.find_first_not_of(delimiters, pos);
    if (from == std::string::npos) {
        pos = text.size();
        return false;
    }
    size_t to = text.find_first_of(delimiters, from);
    if (to == std::string::npos)
        to = text.size();
    word = text.substr(from, to - from);
    start = from;
    pos = to;
    return true;
}

std::string ResolveType(int scope, const std::string& name, const char* metaclass)
{
    if (name.empty())
        return std::string();
    TypeMatchList matches;
    matches.reserve(100);
    if (!ResolveTypeName(scope, MMC_CLASS, metaclass, name.c_str(), &matches) || matches.empty() ||
        !matches[0].guid)
        return std::string();
    return matches[0].guid;
}
