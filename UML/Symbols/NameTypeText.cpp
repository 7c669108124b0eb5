#include "UML/Symbols/NameTypeText.h"

#include "Pub/TextHelpers.h"
#include "UML/Symbols/ExtendedElement.h"
#include "UML/Symbols/TextPieces.h"

namespace {

const int kWordCharacters = 64;

// At most kWordCharacters whole characters of word.
std::string Bounded(const std::string& word)
{
    size_t bytes = 0;
    char ch[MbCharBufferSize];
    for (int n = 0; n < kWordCharacters; ++n) {
        const int length = CopyMbChar(word.c_str(), ch, int(bytes));
        if (length == 0)
            break;
        bytes += size_t(length);
    }
    return word.substr(0, bytes);
}

std::string Trimmed(const std::string& text)
{
    const size_t from = text.find_first_not_of(" \t");
    if (from == std::string::npos)
        return std::string();
    return text.substr(from, text.find_last_not_of(" \t") - from + 1);
}

} // namespace

NameTypeText ParseNameTypeText(const char* text)
{
    NameTypeText f;
    const std::string s = text ? text : "";
    size_t pos = 0, start = 0;
    std::string word;
    if (!NextWord(s, pos, " \t:[", word, start))
        return f;
    f.hasName = true;
    f.name = Bounded(word);
    char ender = pos < s.size() ? s[pos] : '\0';
    if (ender == ':') {
        const size_t open = s.find('[', pos + 1);
        const std::string type = Trimmed(s.substr(pos + 1, open == std::string::npos ? std::string::npos
                                                                                      : open - pos - 1));
        if (!type.empty()) {
            f.hasType = true;
            f.type = type;
        }
        pos = open == std::string::npos ? s.size() : open;
        ender = pos < s.size() ? s[pos] : '\0';
    }
    if (ender == '[') {
        const size_t close = s.find(']', pos + 1);
        const std::string inside =
            s.substr(pos + 1, close == std::string::npos ? std::string::npos : close - pos - 1);
        if (!inside.empty()) {
            f.hasMultiplicity = true;
            f.multiplicity = Bounded(inside);
        }
    }
    return f;
}

bool ReadNamedElement(const SymbolT& row, ModelT& element, oid_t& oid, NameTypeText& text)
{
    if (IsEmpty(row.Text) || !ElementOfSymbol(row, element, oid))
        return false;
    text = ParseNameTypeText(row.Text);
    if (!text.hasName)
        return false;
    element.Name = text.name.c_str();
    return true;
}
