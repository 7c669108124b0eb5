// The scanner of the query compiler: one token per call from the fragment
// chain. A token never spans two fragments: the end of a text fragment ends
// the token being read.
#include "MemDB/dbQueryCompiler.h"

#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryToken.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct Keyword {
    const char* text;
    int token;
};

const Keyword kKeywords[] = {
    {"all", tkAll}, {"abs", tkAbs}, {"and", tkAnd}, {"area", tkArea}, {"asc", tkAsc},
    {"between", tkBetween}, {"by", tkBy}, {"current", tkCurrent}, {"desc", tkDesc},
    {"escape", tkEscape}, {"exists", tkExists}, {"first", tkFirst}, {"false", tkFalse},
    {"follow", tkFollow}, {"from", tkFrom}, {"in", tkIn}, {"is", tkIs},
    {"integer", tkInteger}, {"insert", tkInsert}, {"into", tkInto}, {"last", tkLast},
    {"length", tkLength}, {"like", tkLike}, {"limit", tkLimit}, {"lower", tkLower},
    {"not", tkNot}, {"null", tkNull}, {"or", tkOr}, {"order", tkOrder},
    {"overlaps", tkOverlaps}, {"real", tkRealFn}, {"select", tkSelect}, {"start", tkStart},
    {"string", tkStringFn}, {"table", tkTable}, {"true", tkTrue}, {"upper", tkUpper},
    {"where", tkWhere},
};

bool IsNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' || c == '_';
}

bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

int HexDigit(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

int dbQueryCompiler::StartPos(int at) const
{
    int p = at < wherePos ? wherePos : at;
    return p + lineBias >= 0 ? p + lineBias : p;
}

int dbQueryCompiler::LastPos() const
{
    int p = pos > 0 ? pos - 1 : 0;
    return p + lineBias >= 0 ? p + lineBias : p;
}

void dbQueryCompiler::Error(const char* message, int position)
{
    if (engine == nullptr)
        throw dbException(dbQuerySyntaxError, message, position);
    engine->HandleError(dbQuerySyntaxError, message, position);
    throw Aborted();
}

int dbQueryCompiler::Scan()
{
    if (pushedBack) {
        pushedBack = false;
        return pushedToken;
    }
    tokenPos = pos;
    for (;;) {
        if (frag == nullptr)
            return tkEof;
        if (frag->kind != dbFragText) {
            varKind = frag->kind;
            varAddr = frag->value;
            varTable = BoundTable(frag->table);
            frag = frag->next;
            pos = tokenPos = 0;
            lineBias = 0;
            return tkVar;
        }
        const char* text = static_cast<const char*>(frag->value);
        const char* p = text + pos;
        while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) {
            if (*p == '\n') {
                wherePos = 0;
                lineBias = -static_cast<int>(p + 1 - text);
            }
            p++;
        }
        pos = static_cast<int>(p - text);
        if (*p == '\0') {
            // At the end of the chain the position stays at the end of the
            // last text, so that "last" names its last character.
            if (frag->next == nullptr) {
                frag = nullptr;
                return tkEof;
            }
            frag = frag->next;
            pos = tokenPos = 0;
            lineBias = 0;
            continue;
        }
        const char* start = p;
        unsigned char c = static_cast<unsigned char>(*p++);
        pos = static_cast<int>(p - text);
        switch (c) {
          case '-':
            if (*p == '-') {
                while (*p != '\0' && *p != '\n')
                    p++;
                pos = static_cast<int>(p - text);
                continue;
            }
            return tkSub;
          case '!':
            if (*p != '=')
                ErrorAtLast("Invalid token '!'");
            pos += 1;
            return tkNe;
          case '|':
            if (*p != '|')
                ErrorAtLast("Invalid token '|'");
            pos += 1;
            return tkAdd;
          case '<':
            if (*p == '=') {
                pos += 1;
                return tkLe;
            }
            if (*p == '>') {
                pos += 1;
                return tkNe;
            }
            return tkLt;
          case '>':
            if (*p == '=') {
                pos += 1;
                return tkGe;
            }
            return tkGt;
          case '=': return tkEq;
          case '+': return tkAdd;
          case '*': return tkMul;
          case '/': return tkDiv;
          case '^': return tkPower;
          case '(': return tkLpar;
          case ')': return tkRpar;
          case '[': return tkLbr;
          case ']': return tkRbr;
          case '.': return tkDot;
          case ',': return tkComma;
          case ':': return tkColon;
          case '#': {
            uint64_t v = 0;
            int digits = 0;
            int d;
            while ((d = HexDigit(static_cast<unsigned char>(*p))) >= 0) {
                if (digits > 0 || d != 0)
                    digits++;
                v = v * 16 + static_cast<unsigned>(d);
                p++;
            }
            pos = static_cast<int>(p - text);
            if (digits > 16)
                ErrorAtLast("Bad integer constant");
            ivalue = static_cast<int64_t>(v);
            return tkInt;
          }
          case '\'':
            return ScanString(p);
          default:
            if (c >= '0' && c <= '9')
                return ScanNumber(p, start);
            if (IsNameStart(c))
                return ScanName(start);
            ErrorAtLast("Invalid symbol");
        }
    }
}

int dbQueryCompiler::ScanNumber(const char* p, const char* start)
{
    const char* text = static_cast<const char*>(frag->value);
    while (*p >= '0' && *p <= '9')
        p++;
    if (*p == '.' || *p == 'e' || *p == 'E') {
        double v = 0;
        std::from_chars_result r = std::from_chars(start, start + std::strlen(start), v);
        if (r.ec != std::errc()) {
            pos = static_cast<int>((r.ec == std::errc::result_out_of_range ? r.ptr : p) - text);
            ErrorAtLast("Bad floating point constant");
        }
        pos = static_cast<int>(r.ptr - text);
        fvalue = v;
        return tkReal;
    }
    pos = static_cast<int>(p - text);
    int64_t v = 0;
    std::from_chars_result r = std::from_chars(start, p, v);
    if (r.ec != std::errc())
        ErrorAtLast("Bad integer constant");
    ivalue = v;
    return tkInt;
}

int dbQueryCompiler::ScanString(const char* p)
{
    const char* text = static_cast<const char*>(frag->value);
    std::string chars;
    for (;;) {
        if (*p == '\0') {
            pos = static_cast<int>(p - text);
            ErrorAtLast("Unterminated character constant");
        }
        if (*p == '\'') {
            if (p[1] != '\'')
                break;
            p++;
        }
        if (chars.size() >= maxLiteralLength) {
            pos = static_cast<int>(p - text);
            ErrorAtLast("String constant too long");
        }
        chars += *p++;
    }
    pos = static_cast<int>(p + 1 - text);
    char* copy = static_cast<char*>(std::malloc(chars.size() + 1));
    if (copy == nullptr)
        throw std::bad_alloc();
    std::memcpy(copy, chars.c_str(), chars.size() + 1);
    std::free(svalue);
    svalue = copy;
    slength = static_cast<int32_t>(chars.size() + 1);
    return tkString;
}

int dbQueryCompiler::ScanName(const char* start)
{
    const char* text = static_cast<const char*>(frag->value);
    const char* p = start;
    while (IsNameChar(static_cast<unsigned char>(*p)))
        p++;
    pos = static_cast<int>(p - text);
    if (p - start > maxLiteralLength)
        ErrorAtLast("Name too long");
    name.assign(start, p - start);
    for (const Keyword& k : kKeywords)
        if (name == k.text)
            return k.token;
    ident = name.c_str();
    return tkIdent;
}
