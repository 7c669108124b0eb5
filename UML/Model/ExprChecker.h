// The expression checker: colours the short texts written into behaviour
// symbols (action statements, guards, signals sent and received, operation
// calls) by what each token was recognised as: a classifier, a typed element
// or declared variable, a called behaviour, an operator, a literal, or
// nothing known. Names resolve against the model from a context element
// (type resolution); call arguments are checked against the parameters of
// the called operation or signal, and a call that does not fit is rebound to
// an overload of the same owner when one fits.
//
// Nothing is reported: the first token that cannot be read or resolved
// (kind 0) ends the check and is the last run written, so it and the text
// after it show grey. A check runs from Reset to the writing of the runs;
// only the five built-in types (Integer, Float, Boolean, Char, String under
// the Predefined root) live from one check to the next, as copies.
//
// Nesting is bounded by the depth byte: a text nested deeper ends there
// (kind 0), so the recursion is bounded whatever the text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "UML/Model/TypeResolution.h"

class SyntaxRunCodec;

struct ExprToken {
    int32_t value = 0;          // ID of the element the token resolved to, 0 for none
    std::string reference;      // GUID of the token's type (a behaviour's result type)
    std::string self;           // GUID of a called behaviour itself
    int16_t kind = 0;
    int32_t start = 0;          // byte offsets of the token in the text
    int32_t end = 0;
    uint8_t precedence = 0;
    uint8_t depth = 0;
};

class ExprChecker {
public:
    enum Kind {
        Error = 0,
        Identifier = 1,
        ArgumentType = 2,
        Classifier = 4,
        TypedElement = 5,
        Behaviour = 6,
        Operator = 7,
        IntegerLiteral = 9,
        RealLiteral = 10,
        CharLiteral = 11,
        StringLiteral = 12,
        BoolLiteral = 13,
        OpenParen = 14,
        CloseParen = 15,
        OpenBracket = 16,
        CloseBracket = 17,
        OpenBrace = 18,
        CloseBrace = 19,
        TemplateOpen = 20,
        Dot = 22,
        Comma = 23,
        Semicolon = 24,
        Scope = 25
    };
    static const int MaxDepth = 255;

    ExprChecker();

    // Clears the tokens and the scanner. Resolves the built-in types when
    // they are not resolved yet and the Predefined root exists; force first
    // forgets them (a new project).
    void Reset(bool force);
    // fallback 0 or less means the scope itself.
    void SetContext(bool localsAllowed, int scope, int fallback);

    // Action texts: statements, declarations, calls and operators.
    void CheckExpression(const char* text, SyntaxRunCodec& codec);
    // A call text checked against behaviours of the metaclass.
    void CheckCallOf(const char* text, SyntaxRunCodec& codec, const char* metaclass);
    void CheckSignalCall(const char* text, SyntaxRunCodec& codec);
    void CheckOperationCall(const char* text, SyntaxRunCodec& codec);
    void CheckCall(const char* text, SyntaxRunCodec& codec);

    // The tokens of the last check.
    const std::vector<ExprToken>& Tokens() const { return tokens_; }
    // The colour of a token kind; -1 for kinds that are not drawn.
    static int KindColour(int kind);

private:
    enum Builtin { IntegerType, FloatType, BooleanType, CharType, StringType, BuiltinCount };
    struct Local {
        std::string name;
        std::string reference;
    };

    ExprToken Scan();
    ExprToken Next();
    void Add(const ExprToken& token) { tokens_.push_back(token); }
    std::string TextOf(const ExprToken& token, size_t limit) const;
    bool Resolve(const std::string& name, int scope, int category);
    // The element a name is looked up in: the type of the operand before a
    // "." or "::" that precedes it, else the context.
    int ScopeOf(size_t index) const;
    // The type of the operand before the token (a classifier, or the type of
    // a typed name, call result or operator result); 0 when there is none.
    int OperandScope(size_t index) const;

    void ParseStatement();
    void ParseExpression();
    bool ParseIdentifier(size_t index);
    bool ParseDeclaration(size_t index);
    bool ParseCallArguments(size_t index);
    // Records the type of the argument read from token first on (the last
    // operand at depth) after the token that ended it.
    void AddArgumentType(size_t first, int depth);
    bool CheckArguments(size_t index);
    bool ArgumentsFit(size_t index, int behaviour) const;
    bool CheckOperator(size_t index);
    bool SubscriptAccepted(size_t open) const;
    void EndWith(const ExprToken& token);
    void WriteRuns(SyntaxRunCodec& codec) const;
    const std::string& BuiltinGuid(int kind) const;

    TypeMatchList matches_;
    struct BuiltinType {
        std::string guid;
        int id = 0;
    } builtins_[BuiltinCount];
    std::vector<ExprToken> tokens_;
    std::vector<Local> locals_;
    const char* text_ = "";
    int32_t length_ = 0;
    int32_t tokenStart_ = 0;
    int32_t position_ = 0;
    int scope_ = 0;
    int fallback_ = 0;
    int depth_ = 0;
    bool localsAllowed_ = false;
    size_t nameLimit_ = 99;
    static bool builtinsResolved_;
};

extern ExprChecker theExprChecker;
