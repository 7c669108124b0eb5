// The query compiler: scanner, recursive-descent parser and type rules that
// turn a dbQueryText into its dbQueryTree.
//
// Errors go to the engine's error handler as code 1 with a message and a
// position within the current text fragment; when the handler returns, the
// compile is abandoned all the same. Either way every node made during the
// compile is given back and the query is left without a compiled part, so it
// can be refilled or selected with again.
#ifndef VEXAL_MEMDB_DBQUERYCOMPILER_H
#define VEXAL_MEMDB_DBQUERYCOMPILER_H

#include "MemDB/dbQueryText.h"

#include <cstdint>
#include <string>
#include <vector>

class dbCustomFunction;
class dbEngine;
class dbFieldInfo;
class dbTableInfo;

class dbQueryCompiler {
  public:
    // Errors go to the engine's handler; without an engine they throw
    // dbException directly.
    explicit dbQueryCompiler(dbEngine* engine);
    ~dbQueryCompiler();
    dbQueryCompiler(const dbQueryCompiler&) = delete;
    dbQueryCompiler& operator=(const dbQueryCompiler&) = delete;

    // Compiles the query's text against the table into query.tree; the
    // caller holds the query's lock. True on success.
    bool Compile(dbQueryText& query, dbTableInfo* table);

    // Bounds that keep the parser's and the interpreter's recursion shallow:
    // operands nested in parentheses, unary operators and function calls,
    // and the evaluation depth of a tree.
    enum { maxExistsDepth = 4, maxLiteralLength = 4096, maxNesting = 400, maxDepth = 1000 };

  private:
    struct Aborted {};  // the error handler returned: abandon the compile quietly

    struct FreeVar {
        std::string name;
        bool used;
        int level;
    };

    // Scanner.
    int Scan();
    void Unscan(int token) { pushedBack = true; pushedToken = token; }
    int ScanNumber(const char* p, const char* start);
    int ScanString(const char* p);
    int ScanName(const char* p);
    int NextStart() const { return pushedBack ? tokenPos : pos; }
    int StartPos(int at) const;
    int LastPos() const;
    [[noreturn]] void Error(const char* message, int position);
    [[noreturn]] void ErrorAtStart(const char* message, int at) { Error(message, StartPos(at)); }
    [[noreturn]] void ErrorAtLast(const char* message) { Error(message, LastPos()); }

    // Grammar, loosest binding first; each leaves the following token in lex.
    dbOpNode* Disjunction();
    dbOpNode* Conjunction();
    dbOpNode* Comparison();
    dbOpNode* Addition();
    dbOpNode* Multiplication();
    dbOpNode* Power();
    dbOpNode* Infix();
    dbOpNode* Term();
    dbOpNode* UserCall(const dbCustomFunction* function);
    dbOpNode* Selectors(dbOpNode* node);
    dbOpNode* FieldLoad(dbOpNode* base, dbFieldInfo* field);
    dbOpNode* Parenthesised(bool inList);
    dbOpNode* Variable();
    dbOpNode* StringLiteral();
    void Abandon();
    dbOpNode* Exists();
    dbOpNode* Function(int token);
    void StartFromClause();
    void OrderByClause();
    void LimitClause();
    void LimitValue(int32_t& constant, const int32_t*& variable);

    // Type rules.
    dbOpNode* Node(int kind, int type, dbOpNode* a = nullptr, dbOpNode* b = nullptr,
                   dbOpNode* c = nullptr);
    void Free(dbOpNode* node);
    void FreeTree(dbOpNode* node);
    dbOpNode* CopyTree(const dbOpNode* node);
    dbOpNode* IntLiteral(int64_t value);
    dbOpNode* ToReal(dbOpNode* node);
    dbOpNode* ListToRectangle(dbOpNode* list);
    dbOpNode* Logical(int token, dbOpNode* a, dbOpNode* b, int bStart);
    dbOpNode* Arithmetic(int token, dbOpNode* a, dbOpNode* b, int aStart, int bStart);
    dbOpNode* Relation(int rel, dbOpNode* a, dbOpNode* b, int aStart, int bStart);
    dbOpNode* RelationNode(int rel, dbOpNode* a, dbOpNode* b, int* error);
    dbOpNode* Equality(dbOpNode* a, dbOpNode* b);  // null when the types do not fit
    dbOpNode* Between(dbOpNode* v, dbOpNode* lo, dbOpNode* hi, int vStart, int loStart,
                      int hiStart);
    dbOpNode* Like(dbOpNode* subject, dbOpNode* pattern, dbOpNode* escape, int start);
    dbOpNode* In(dbOpNode* a, dbOpNode* b, int bStart);
    dbOpNode* Overlaps(dbOpNode* a, dbOpNode* b, int start);
    dbTableInfo* ReferencedTable(const dbOpNode* node) const;
    int ArrayElementType(const dbOpNode* node) const;
    dbTableInfo* BoundTable(dbTableInfo* table) const;
    dbTableInfo* FieldTable(const dbFieldInfo* field) const;

    dbEngine* engine;
    dbTableInfo* table = nullptr;
    dbQueryTree* tree = nullptr;

    const dbQueryFragment* frag = nullptr;
    int pos = 0;        // next character within frag's text
    int tokenPos = 0;   // end of the token before the last one scanned
    int wherePos = 0;
    bool whereSeen = false;
    int lineBias = 0;
    int lex = 0;
    bool pushedBack = false;
    int pushedToken = 0;
    bool afterIn = false;
    int nesting = 0;

    int64_t ivalue = 0;
    double fvalue = 0;
    char* svalue = nullptr;  // heap copy of the last string literal until a node owns it
    int32_t slength = 0;     // counts the NUL
    std::string name;            // the last identifier or keyword
    const char* ident = nullptr; // the last identifier, held in name

    int varKind = 0;
    const void* varAddr = nullptr;
    dbTableInfo* varTable = nullptr;

    std::vector<FreeVar> freeVars;
    int existsDepth = 0;

    std::string message;          // formatted error text
    std::vector<dbOpNode*> made;  // every node taken during this compile
};

#endif
