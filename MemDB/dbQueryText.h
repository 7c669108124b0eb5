// Query text objects: a condition held as a chain of text fragments and
// program variables bound by address, plus its compiled form.
//
// Invariants:
//   - the chain is head..last, linked through dbQueryFragment::next; `tail`
//     points at the link the next append fills (`head` while empty);
//   - fragments come from one process-wide pool and go back to it whole on
//     Reset, so refilling a long-lived query allocates nothing once warm;
//   - text fragments are not copied: the caller keeps them alive while the
//     query is used; variables are read through their address at each run.
#ifndef VEXAL_MEMDB_DBQUERYTEXT_H
#define VEXAL_MEMDB_DBQUERYTEXT_H

#include "MemDB/dbQueryTree.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

class dbTableInfo;

enum dbFragmentKind {
    dbFragText = 0,
    dbFragBoolean,
    dbFragInt1,
    dbFragInt2,
    dbFragInt4,
    dbFragInt8,
    dbFragReal4,
    dbFragReal8,
    dbFragString,
    dbFragStringPtr,
    dbFragReference,
    dbFragRectangle,
    dbFragArrayOfRef,
    dbFragArrayOfInt4,
    dbFragArrayOfInt8,
    dbFragArrayPtrOfRef,
    dbFragArrayPtrOfInt4,
    dbFragArrayPtrOfInt8,
    dbFragRawBinary,
    dbFragStdString,
    dbFragKindCount
};

struct dbQueryFragment {
    dbQueryFragment* next;
    void* value;
    int32_t kind;
    dbTableInfo* table;  // referenced table of reference variables, else null
};

// A piece of condition built apart and appended as one parenthesised operand.
class dbQueryExpression {
  public:
    explicit dbQueryExpression(const char* fieldName);
    dbQueryExpression(const char* fieldName, const char* componentName);
    explicit dbQueryExpression(dbQueryExpression& inner);  // takes inner's chain, wrapped in ( )
    ~dbQueryExpression();
    dbQueryExpression(const dbQueryExpression&) = delete;
    dbQueryExpression& operator=(const dbQueryExpression&) = delete;

  private:
    friend class dbQueryText;
    void AppendText(const char* text);
    dbQueryFragment* first = nullptr;
    dbQueryFragment** tail = &first;
    bool expectingValue = false;
};

class dbQueryText {
  public:
    dbQueryText();
    ~dbQueryText();
    dbQueryText(const dbQueryText&) = delete;
    dbQueryText& operator=(const dbQueryText&) = delete;

    dbQueryText& Append(int kind, const void* value, dbTableInfo* table = nullptr);
    // A value after text, else text; a null value reads as the empty text.
    dbQueryText& AppendString(const char* s);
    dbQueryText& Append(dbQueryExpression& expr);  // takes expr's chain, wrapped in ( )
    dbQueryText& Reset();

    // The fragments with each variable as its type descriptor / as its value.
    // Both write at most size - 1 bytes and always terminate; they return the
    // length the whole dump needs.
    size_t Dump(char* buf, size_t size) const;
    size_t DumpValues(char* buf, size_t size) const;

    const dbQueryFragment* Fragments() const { return head; }
    bool ExpectingValue() const { return expectingValue; }

    dbQueryTree tree;   // compiled part; valid while tree.root is set
    std::mutex lock;    // serialises compile-or-reuse

  private:
    dbQueryFragment* head = nullptr;
    dbQueryFragment** tail = &head;
    bool expectingValue = false;
};

// The process-wide fragment pool.
dbQueryFragment* dbTakeFragment();
void dbGiveBackFragments(dbQueryFragment* first, dbQueryFragment* last);

#endif
