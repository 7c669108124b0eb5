// Scanning, parsing and colouring of behaviour texts. Each statement raises
// the depth by one; tokens read inside parentheses, brackets and call
// arguments sit one level deeper than the token that opened them, so a walk
// over the tokens of one level sees one operand chain.
#include "UML/Model/ExprChecker.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/ShellHooks.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

ExprChecker theExprChecker;
bool ExprChecker::builtinsResolved_ = false;

namespace {

struct OperatorEntry {
    const char* text;
    uint8_t precedence;
    uint8_t kind; // 2 increment and decrement, 1 "!", 0 the others
};

// Searched in this order.
const OperatorEntry kOperators[] = {
    {"++", 80, 2}, {"--", 80, 2}, {"!", 80, 1},   {"~", 80, 0},   {"*", 70, 0},   {"/", 70, 0},   {"%", 70, 0},
    {"*=", 70, 0}, {"/=", 70, 0}, {"%=", 70, 0},  {"+", 60, 0},   {"-", 60, 0},   {"+=", 60, 0},  {"-=", 60, 0},
    {"<<", 50, 0}, {">>", 50, 0}, {">", 40, 0},   {"<", 40, 0},   {"<=", 40, 0},  {">=", 40, 0},  {"==", 40, 0},
    {"!=", 40, 0}, {"&", 30, 0},  {"^", 30, 0},   {"|", 30, 0},   {"=", 30, 0},   {"<<=", 30, 0}, {">>=", 30, 0},
    {"&=", 30, 0}, {"^=", 30, 0}, {"|=", 30, 0},  {"&&", 20, 0},  {"||", 20, 0},
};

const OperatorEntry* FindOperator(const std::string& text)
{
    for (const OperatorEntry& e : kOperators)
        if (text == e.text)
            return &e;
    return nullptr;
}

bool BeginsOperator(const char* text, size_t length)
{
    for (const OperatorEntry& e : kOperators)
        if (std::strlen(e.text) >= length && std::strncmp(e.text, text, length) == 0)
            return true;
    return false;
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Bytes of multi-byte characters count as letters, so identifiers may hold
// any UTF-8 letter and a character is never split.
bool IsLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}

bool IsWordChar(unsigned char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_';
}

bool IsSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsLiteral(int kind)
{
    return kind >= ExprChecker::IntegerLiteral && kind <= ExprChecker::BoolLiteral;
}

// Tokens whose reference types an operand.
bool IsValue(int kind)
{
    return kind == ExprChecker::Classifier || kind == ExprChecker::TypedElement || kind == ExprChecker::Behaviour ||
           kind == ExprChecker::Operator || IsLiteral(kind);
}

bool EndsArgument(int kind)
{
    return kind == ExprChecker::Comma || kind == ExprChecker::CloseParen || kind == ExprChecker::Semicolon ||
           kind == ExprChecker::CloseBracket;
}

// The Parameter children of an element in SN order: their type GUIDs.
std::vector<std::string> ParameterTypes(int owner)
{
    static dbQueryText q;
    static int32_t bound = 0;
    if (!q.Fragments())
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &bound).Append(dbFragText, " and Type='Parameter' order by SN");
    bound = owner;
    std::vector<std::string> types;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            types.push_back(c->Use ? c->Use : "");
        while (c.Next());
    return types;
}

ModelT ElementById(int id, bool& found)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    found = id > 0 && c.SelectByKey("ID", id) > 0;
    return found ? *c.GetRecord() : ModelT();
}

// Whether a value typed by argument may be passed for a parameter typed by
// parameter: the same type, one realizing it, or an untyped parameter.
bool Accepts(const std::string& parameter, const std::string& argument)
{
    if (parameter.empty() || parameter == "type" || parameter == argument)
        return true;
    if (argument.empty())
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", parameter.c_str()) <= 0)
        return false;
    const std::string name = c->Name ? c->Name : "";
    return IsKindOfNamed(argument.c_str(), name.c_str());
}

} // namespace

ExprChecker::ExprChecker()
{
    matches_.reserve(20);
    tokens_.reserve(100);
}

int ExprChecker::KindColour(int kind)
{
    switch (kind) {
    case Classifier: return 0x5000;
    case TypedElement: return 0x8000;
    case Behaviour: return 0xC02040;
    case Operator: return 0xC87689;
    case IntegerLiteral:
    case RealLiteral: return 0xFF;
    case CharLiteral:
    case StringLiteral: return 0xFF0000;
    case BoolLiteral: return 0;
    case OpenParen:
    case CloseParen:
    case OpenBracket:
    case CloseBracket:
    case OpenBrace:
    case CloseBrace:
    case Comma:
    case Semicolon: return 0xC87689;
    case TemplateOpen:
    case Dot:
    case Scope: return 0;
    case ArgumentType: return -1;
    default: return 0x969696;
    }
}

void ExprChecker::Reset(bool force)
{
    tokens_.clear();
    matches_.clear();
    locals_.clear();
    depth_ = 0;
    tokenStart_ = position_ = 0;
    if (force) {
        for (BuiltinType& b : builtins_)
            b = BuiltinType();
        builtinsResolved_ = false;
    }
    const int root = theShellHooks.GetPredefinedRoot();
    if (builtinsResolved_ || root <= 0)
        return;
    builtinsResolved_ = true;
    static const char* const names[BuiltinCount] = {"Integer", "Float", "Boolean", "Char", "String"};
    for (int i = 0; i < BuiltinCount; ++i) {
        TypeMatchList found;
        if (FindSubtreeMembers(root, MMC_CLASS, nullptr, names[i], &found) && !found.empty()) {
            builtins_[i].guid = found.front().guid ? found.front().guid : "";
            builtins_[i].id = found.front().id;
        }
    }
}

void ExprChecker::SetContext(bool localsAllowed, int scope, int fallback)
{
    localsAllowed_ = localsAllowed;
    scope_ = scope;
    fallback_ = fallback > 0 ? fallback : scope;
}

const std::string& ExprChecker::BuiltinGuid(int kind) const
{
    switch (kind) {
    case RealLiteral: return builtins_[FloatType].guid;
    case CharLiteral: return builtins_[CharType].guid;
    case StringLiteral: return builtins_[StringType].guid;
    case BoolLiteral: return builtins_[BooleanType].guid;
    default: return builtins_[IntegerType].guid;
    }
}

ExprToken ExprChecker::Scan()
{
    ExprToken t;
    t.depth = static_cast<uint8_t>(depth_);
    while (position_ < length_ && IsSpace(static_cast<unsigned char>(text_[position_])))
        ++position_;
    tokenStart_ = position_;
    t.start = t.end = position_;
    if (position_ >= length_) {
        t.kind = Error;
        return t;
    }
    const char* p = text_ + position_;
    const int left = length_ - position_;
    const unsigned char c = static_cast<unsigned char>(p[0]);
    int n = 1;
    if (c == '"' || c == '\'') {
        const void* close = left > 1 ? std::memchr(p + 1, c, size_t(left - 1)) : nullptr;
        if (!close) {
            t.kind = Error;
            n = left;
        } else {
            n = int(static_cast<const char*>(close) - p) + 1;
            const int inside = n - 2;
            t.kind = c == '"' ? StringLiteral : (inside >= 2 && p[n - 3] != '\\') ? Error : CharLiteral;
        }
    } else if (IsDigit(c)) {
        int dots = 0;
        while (n < left && (IsDigit(static_cast<unsigned char>(p[n])) || p[n] == '.'))
            dots += p[n++] == '.';
        const bool letterAfter = n < left && IsWordChar(static_cast<unsigned char>(p[n]));
        t.kind = dots > 1 || p[n - 1] == '.' || letterAfter ? Error : dots ? RealLiteral : IntegerLiteral;
    } else if (IsLetter(c) || c == '_') {
        while (n < left && IsWordChar(static_cast<unsigned char>(p[n])))
            ++n;
        const std::string word(p, size_t(n));
        t.kind = word == "True" || word == "False" ? BoolLiteral : Identifier;
    } else {
        switch (c) {
        case '(': t.kind = OpenParen; break;
        case ')': t.kind = CloseParen; break;
        case '[': t.kind = OpenBracket; break;
        case ']': t.kind = CloseBracket; break;
        case '{': t.kind = OpenBrace; break;
        case '}': t.kind = CloseBrace; break;
        case '.': t.kind = Dot; break;
        case ',': t.kind = Comma; break;
        case ';': t.kind = Semicolon; break;
        case ':':
            t.kind = left > 1 && p[1] == ':' ? Scope : Error;
            n = t.kind == Scope ? 2 : 1;
            break;
        default:
            if (c < 0x21 || c > 0x7E) {
                t.kind = Error;
                break;
            }
            while (n < left) {
                const unsigned char d = static_cast<unsigned char>(p[n]);
                if (IsWordChar(d) || IsSpace(d) || d < 0x21 || d > 0x7E)
                    break;
                ++n;
            }
            while (n > 0 && !BeginsOperator(p, size_t(n)))
                --n;
            t.kind = n > 0 ? Operator : Error;
            n = std::max(n, 1);
            break;
        }
    }
    t.end = position_ + n;
    position_ = t.end;
    return t;
}

ExprToken ExprChecker::Next()
{
    return Scan();
}

std::string ExprChecker::TextOf(const ExprToken& token, size_t limit) const
{
    return std::string(text_ + token.start, std::min(size_t(token.end - token.start), limit));
}

bool ExprChecker::Resolve(const std::string& name, int scope, int category)
{
    matches_.clear();
    ResolveTypeName(scope, category, nullptr, name.c_str(), &matches_);
    if (matches_.empty() && fallback_ != scope)
        ResolveTypeName(fallback_, category, nullptr, name.c_str(), &matches_);
    // One element reached along several roads is one match.
    std::unordered_set<int> seen;
    matches_.erase(std::remove_if(matches_.begin(), matches_.end(),
                                  [&](const TypeMatch& m) { return !seen.insert(m.id).second; }),
                   matches_.end());
    return !matches_.empty();
}

int ExprChecker::OperandScope(size_t index) const
{
    const int depth = tokens_[index].depth;
    for (size_t j = index; j-- > 0;) {
        const ExprToken& t = tokens_[j];
        if (t.depth != depth || t.kind == OpenParen || t.kind == OpenBracket)
            continue;
        if (t.kind == Classifier && t.value)
            return t.value;
        if ((t.kind == TypedElement || t.kind == Behaviour || t.kind == Operator) && !t.reference.empty())
            return FindElementIdByGuid(t.reference.c_str());
        return 0;
    }
    return 0;
}

int ExprChecker::ScopeOf(size_t index) const
{
    const int depth = tokens_[index].depth;
    for (size_t j = index; j-- > 0;) {
        const ExprToken& t = tokens_[j];
        if (t.depth != depth)
            continue;
        if (t.kind != Dot && t.kind != Scope)
            break;
        const int scope = OperandScope(j);
        return scope > 0 ? scope : scope_;
    }
    return scope_;
}

void ExprChecker::EndWith(const ExprToken& token)
{
    ExprToken t = token;
    t.kind = Error;
    Add(t);
}

void ExprChecker::CheckExpression(const char* text, SyntaxRunCodec& codec)
{
    const TypeLookupSession session;
    Reset(false);
    text_ = text ? text : "";
    length_ = static_cast<int32_t>(std::strlen(text_));
    nameLimit_ = 99;
    do
        ParseStatement();
    while (tokens_.back().kind != Error);
    WriteRuns(codec);
}

void ExprChecker::ParseStatement()
{
    if (depth_ >= MaxDepth) {
        EndWith(Next());
        return;
    }
    ++depth_;
    ParseExpression();
    --depth_;
}

void ExprChecker::ParseExpression()
{
    for (;;) {
        ExprToken t = Next();
        if (IsLiteral(t.kind))
            t.reference = BuiltinGuid(t.kind);
        Add(t);
        const size_t index = tokens_.size() - 1;
        switch (t.kind) {
        case Identifier:
            if (!ParseIdentifier(index))
                return;
            break;
        case Operator:
            if (!CheckOperator(index))
                return;
            break;
        case OpenParen:
        case OpenBracket:
            ParseStatement();
            return;
        case Error:
        case CloseParen:
        case CloseBracket:
        case Comma:
        case Semicolon:
            return;
        default:
            break;
        }
    }
}

bool ExprChecker::ParseIdentifier(size_t index)
{
    const std::string name = TextOf(tokens_[index], nameLimit_);
    const int scope = ScopeOf(index);
    if (localsAllowed_ && scope == scope_)
        for (auto local = locals_.rbegin(); local != locals_.rend(); ++local)
            if (local->name == name) {
                tokens_[index].kind = TypedElement;
                tokens_[index].reference = local->reference;
                return true;
            }
    if (!Resolve(name, scope, 0)) {
        tokens_[index].kind = Error;
        return false;
    }
    const TypeMatch m = matches_.front();
    ExprToken& t = tokens_[index];
    t.value = m.id;
    switch (m.mmc) {
    case MMC_CLASS: {
        t.kind = Classifier;
        t.reference = m.guid ? m.guid : "";
        const int32_t save = position_;
        const ExprToken after = Next();
        if (after.kind == Scope) {
            Add(after);
            return true;
        }
        position_ = save;
        return ParseDeclaration(index);
    }
    case MMC_OPERATION:
        t.kind = Behaviour;
        t.precedence = 100;
        t.reference = m.use ? m.use : "";
        t.self = m.guid ? m.guid : "";
        return ParseCallArguments(index);
    case MMC_ATTRIBUTE:
        if (matches_.size() != 1)
            return false;
        t.kind = TypedElement;
        t.reference = m.use ? m.use : "";
        return true;
    case MMC_LITERAL:
        t.kind = IntegerLiteral;
        t.reference = BuiltinGuid(IntegerLiteral);
        return true;
    default:
        t.kind = Error;
        return false;
    }
}

bool ExprChecker::ParseDeclaration(size_t index)
{
    const int declared = tokens_[index].value;
    const std::string type = tokens_[index].reference;
    int32_t save = position_;
    ExprToken t = Next();
    if (t.kind == Operator && TextOf(t, 2) == "<") {
        t.kind = TemplateOpen;
        Add(t);
        size_t arguments = 0;
        for (;;) {
            t = Next();
            if (t.kind == Identifier) {
                Add(t);
                if (!Resolve(TextOf(t, nameLimit_), declared, MMC_CLASS)) {
                    tokens_.back().kind = Error;
                    return false;
                }
                tokens_.back().kind = Classifier;
                tokens_.back().value = matches_.front().id;
                tokens_.back().reference = matches_.front().guid ? matches_.front().guid : "";
                ++arguments;
            } else if (IsLiteral(t.kind)) {
                t.reference = BuiltinGuid(t.kind);
                Add(t);
                ++arguments;
            } else if (t.kind == Comma) {
                Add(t);
            } else if (t.kind == Operator && TextOf(t, 2) == ">") {
                Add(t);
                break;
            } else {
                EndWith(t);
                return false;
            }
        }
        if (arguments != ParameterTypes(declared).size())
            return false;
        save = position_;
        t = Next();
    }
    if (t.kind == OpenBracket) {
        Add(t);
        const size_t open = tokens_.size() - 1;
        ParseStatement();
        if (tokens_.back().kind == Error || !SubscriptAccepted(open))
            return false;
        save = position_;
        t = Next();
    }
    bool named = false;
    for (;;) {
        if (t.kind == Identifier) {
            t.kind = TypedElement;
            t.reference = type;
            Add(t);
            locals_.push_back(Local{TextOf(t, nameLimit_), type});
            named = true;
        } else if (t.kind == Comma && named) {
            Add(t);
        } else if (t.kind == Semicolon) {
            Add(t);
            return false;
        } else {
            // Not a list of names: the text goes on as an expression.
            position_ = save;
            return true;
        }
        save = position_;
        t = Next();
    }
}

bool ExprChecker::SubscriptAccepted(size_t open) const
{
    const int depth = tokens_[open].depth + 1;
    const ExprToken* typed = nullptr;
    for (size_t j = open + 1; j < tokens_.size(); ++j) {
        const ExprToken& t = tokens_[j];
        if (t.depth != depth)
            continue;
        if ((t.kind == Behaviour || t.kind == Operator) && !t.reference.empty()) {
            typed = &t;
            break;
        }
        if (t.kind == TypedElement || t.kind == IntegerLiteral)
            typed = &t;
    }
    return typed && IsKindOfNamed(typed->reference.c_str(), "Integer");
}

bool ExprChecker::ParseCallArguments(size_t index)
{
    const int32_t save = position_;
    ExprToken open = Next();
    if (open.kind != OpenParen) {
        position_ = save;
        return true;
    }
    Add(open);
    const int argumentDepth = depth_ + 1;
    for (;;) {
        const size_t first = tokens_.size();
        // An argument holding parentheses takes more than one statement.
        do
            ParseStatement();
        while (tokens_.back().kind != Error &&
               !(EndsArgument(tokens_.back().kind) && tokens_.back().depth == argumentDepth));
        const ExprToken end = tokens_.back();
        if (end.kind == Error)
            return false;
        AddArgumentType(first, argumentDepth);
        if (end.kind != Comma)
            return end.kind == CloseParen && CheckArguments(index);
    }
}

void ExprChecker::AddArgumentType(size_t first, int depth)
{
    const int32_t end = tokens_.back().start;
    for (size_t j = tokens_.size() - 1; j-- > first;)
        if (tokens_[j].depth == depth && IsValue(tokens_[j].kind)) {
            ExprToken argument;
            argument.kind = ArgumentType;
            argument.reference = tokens_[j].reference;
            argument.depth = static_cast<uint8_t>(depth);
            argument.start = argument.end = end;
            Add(argument);
            return;
        }
}

bool ExprChecker::ArgumentsFit(size_t index, int behaviour) const
{
    const std::vector<std::string> parameters = ParameterTypes(behaviour);
    size_t walked = 0;
    const int depth = tokens_[index].depth + 1;
    for (size_t j = index + 1; j < tokens_.size(); ++j) {
        const ExprToken& t = tokens_[j];
        if (t.kind != ArgumentType || t.depth != depth)
            continue;
        if (walked >= parameters.size() || !Accepts(parameters[walked], t.reference))
            return false;
        ++walked;
    }
    return walked == parameters.size();
}

bool ExprChecker::CheckArguments(size_t index)
{
    bool found = false;
    const ModelT called = ElementById(FindElementIdByGuid(tokens_[index].self.c_str()), found);
    if (!found)
        return false;
    if (ArgumentsFit(index, called.ID))
        return true;
    // An overload: another behaviour of the same name in the same owner.
    TypeMatchList candidates;
    FindScopeMembers(called.FID, MMC_OPERATION, nullptr, called.Name, 0, &candidates);
    for (const TypeMatch& c : candidates)
        if (c.id != called.ID && ArgumentsFit(index, c.id)) {
            ExprToken& t = tokens_[index];
            t.value = c.id;
            t.reference = c.use ? c.use : "";
            t.self = c.guid ? c.guid : "";
            return true;
        }
    return false;
}

bool ExprChecker::CheckOperator(size_t index)
{
    const OperatorEntry* entry = FindOperator(TextOf(tokens_[index], 5));
    const int left = OperandScope(index);
    if (!entry || left <= 0 || !Resolve(entry->text, left, MMC_OPERATION))
        return true;
    const TypeMatch m = matches_.front();
    ExprToken& t = tokens_[index];
    t.value = m.id;
    t.reference = m.use ? m.use : "";
    t.self = m.guid ? m.guid : "";
    t.precedence = entry->precedence;
    if (entry->kind == 2)
        return true;
    // The right operand: the rest of the expression, one argument.
    const size_t first = tokens_.size();
    const int operandDepth = depth_ + 1;
    ParseStatement();
    if (tokens_.back().kind == Error)
        return false;
    AddArgumentType(first, operandDepth);
    CheckArguments(index);
    return false;
}

void ExprChecker::CheckCallOf(const char* text, SyntaxRunCodec& codec, const char* metaclass)
{
    const TypeLookupSession session;
    Reset(false);
    text_ = text ? text : "";
    length_ = static_cast<int32_t>(std::strlen(text_));
    localsAllowed_ = false;
    nameLimit_ = 100;
    depth_ = 1;
    for (;;) {
        ExprToken t = Next();
        if (t.kind == Dot || t.kind == Scope) {
            Add(t);
            continue;
        }
        if (t.kind != Identifier && t.kind != Operator) {
            EndWith(t);
            break;
        }
        Add(t);
        const size_t index = tokens_.size() - 1;
        if (!Resolve(TextOf(t, nameLimit_), ScopeOf(index), 0))
            continue;
        const TypeMatch m = matches_.front();
        ExprToken& token = tokens_[index];
        token.value = m.id;
        if (m.mmc == MMC_CLASS) {
            token.kind = Classifier;
            token.reference = m.guid ? m.guid : "";
        } else if (m.mmc == MMC_ATTRIBUTE) {
            token.kind = TypedElement;
            token.reference = m.use ? m.use : "";
        } else if (m.mmc == MMC_OPERATION) {
            bool found = false;
            const ModelT element = ElementById(m.id, found);
            if (!found || std::strcmp(element.Type ? element.Type : "", metaclass ? metaclass : "") != 0)
                continue;
            token.reference = token.self = m.guid ? m.guid : "";
            if (token.kind != Operator)
                token.kind = Behaviour;
            token.precedence = 100;
            if (!ParseCallArguments(index) && tokens_.back().kind == Error)
                break;
        }
    }
    WriteRuns(codec);
}

void ExprChecker::CheckSignalCall(const char* text, SyntaxRunCodec& codec)
{
    CheckCallOf(text, codec, "Signal");
}

void ExprChecker::CheckOperationCall(const char* text, SyntaxRunCodec& codec)
{
    CheckCallOf(text, codec, "Operation");
}

void ExprChecker::CheckCall(const char* text, SyntaxRunCodec& codec)
{
    CheckCallOf(text, codec, "Operation");
}

void ExprChecker::WriteRuns(SyntaxRunCodec& codec) const
{
    codec.Reset();
    int last = -1;
    for (const ExprToken& t : tokens_) {
        if (t.kind == ArgumentType)
            continue;
        if (t.start > last) {
            codec.AddRun(t.start, static_cast<COLORREF>(KindColour(t.kind)));
            last = t.start;
        }
        if (t.kind == Error)
            break;
    }
}
