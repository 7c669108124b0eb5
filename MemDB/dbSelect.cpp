// Select execution: fills a cursor's selection with the records of its
// table that satisfy a compiled query, in the order it asks for.
//
// The plan is chosen from the shape of the condition: a single record by
// identifier, an index search for the left operand of an AND (the right one
// filters), a chain of index searches for an OR, a walk of the ORDER BY
// field's tree index, or a scan of every row (in the order of a tree index
// of the table when it has one, else of its row list); FOLLOW BY queries
// traverse references from their START FROM records. START and LIMIT act
// during the search when nothing has to be sorted afterwards, else on the
// sorted result.
//
// An index search prefers the hash index for one key, the tree index for
// ranges and prefixes, and the R-tree for rectangle comparisons; a
// condition on a field reached through references follows inverse
// references back from the records the last table's index found.
#include "MemDB/dbSelect.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbEvaluate.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbRectangle.h"
#include "MemDB/dbSpatialIndex.h"
#include "MemDB/dbIndexSearch.h"
#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTableInfo.h"
#include "MemDB/dbTreeIndex.h"
#include "Platform/ProcessHooks.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

thread_local dbSelectPlan lastPlan;

struct OrderContext {
    dbEngine* db;
    const dbOrderKey* keys;
    const uint8_t* tableRow;
    const char* params;
};

int CompareOrder(uint32_t a, uint32_t b, void* context)
{
    const OrderContext* c = static_cast<const OrderContext*>(context);
    return dbOrderCompare(c->db, a, b, c->keys, c->tableRow, c->params);
}

// An index search made by select execution: the request, and what the
// filter needs to evaluate its condition.
struct SelectSearch : dbIndexSearch {
    const uint8_t* tableRow = nullptr;
    const char* params = nullptr;
};

bool FilterRecord(dbIndexSearch& search, uint32_t id)
{
    SelectSearch& s = static_cast<SelectSearch&>(search);
    return s.db->EvaluateCondition(s.condition, id, s.tableRow, s.params);
}

// What an index search told about the selection's order.
struct Answer {
    dbFieldInfo* field = nullptr;  // the field whose index answered in key order
    bool inKeyOrder = false;
};

class Planner {
  public:
    Planner(dbEngine* db, dbRecordCursor* cursor, const uint8_t* tableRow)
        : db(db), cursor(cursor), tableRow(tableRow),
          params(static_cast<const char*>(cursor->paramBase))
    {
    }

    bool TryIndex(dbOpNode* node, dbOpNode* filter, dbOpNode* andRoot, Answer& answer);

  private:
    SelectSearch NewSearch(dbFieldInfo* field, dbOpNode* filter);
    bool Constant(const dbOpNode* node, dbEvalValue& v);
    bool Equal(dbFieldInfo* field, const dbEvalValue& v, dbOpNode* filter);
    bool Range(dbFieldInfo* field, int rel, const dbEvalValue& v, dbOpNode* filter);
    bool Between(dbFieldInfo* field, const dbEvalValue& lo, const dbEvalValue& hi, dbOpNode* filter);
    bool Like(dbFieldInfo* field, const char* pattern, char escape, dbOpNode* like,
              dbOpNode* filter, dbOpNode* andRoot);
    bool Search(dbFieldInfo* field, SelectSearch& search);
    bool HashSearch(dbFieldInfo* field, SelectSearch& search);
    bool Spatial(dbFieldInfo* field, dbOpNode* node, dbOpNode* filter);
    bool ThroughReference(dbOpNode* node, dbOpNode* filter, Answer& answer);
    std::vector<oid_t> Referrers(const dbFieldInfo* back, const std::vector<oid_t>& ids);

    // A key in the field's stored type, with an open or an empty side.
    struct Bound {
        bool open = true;    // no bound on this side
        bool empty = false;  // nothing can satisfy it
        bool inclusive = true;
        int64_t i = 0;
        double r = 0;
        float f = 0;
        uint8_t b = 0;
        uint32_t oid = 0;
        const void* ptr = nullptr;
        const void* Key(int type) const;
    };
    bool SetBound(dbFieldInfo* field, int rel, const dbEvalValue& v, Bound& low, Bound& high);
    bool SearchBetween(dbFieldInfo* field, const Bound& low, const Bound& high, dbOpNode* filter);
    static bool SameKey(dbFieldInfo* field, const Bound& low, const Bound& high);

    dbEngine* db;
    dbRecordCursor* cursor;
    const uint8_t* tableRow;
    const char* params;
};

const void* Planner::Bound::Key(int type) const
{
    switch (type) {
      case dbFieldInfo::tpBool: return &b;
      case dbFieldInfo::tpReal4: return &f;
      case dbFieldInfo::tpReal8: return &r;
      case dbFieldInfo::tpReference: return &oid;
      case dbFieldInfo::tpString: case dbFieldInfo::tpRawBinary: return ptr;
      default: return &i;
    }
}

SelectSearch Planner::NewSearch(dbFieldInfo* field, dbOpNode* filter)
{
    SelectSearch s;
    s.db = db;
    s.cursor = cursor;
    s.condition = filter;
    s.filter = filter != nullptr ? FilterRecord : nullptr;
    s.type = field->type;
    s.sizeofType = field->dbsSize;
    s.comparator = field->comparator;
    s.offs = field->dbsOffs;
    s.tableRow = tableRow;
    s.params = params;
    return s;
}

bool Planner::Constant(const dbOpNode* node, dbEvalValue& v)
{
    bool constant = node->IsConstant()
        || (node->kind == dbIntToRef && node->op[0]->IsConstant());
    if (!constant || node->kind == dbRectLiteral)
        return false;
    dbEvalContext ctx(db, nullptr, 0, tableRow, params);
    dbEvaluate(node, ctx, v);
    return true;
}

bool Planner::Search(dbFieldInfo* field, SelectSearch& search)
{
    if (field->tTree == 0)
        return false;
    lastPlan.indexSearches += 1;
    dbTreeIndex::Find(db, field->tTree, search);
    return true;
}

// A rectangle comparison or OVERLAPS with a bound rectangle, through the
// field's R-tree.
bool Planner::Spatial(dbFieldInfo* field, dbOpNode* node, dbOpNode* filter)
{
    static const int byRelation[6] = {dbSpatialEqual, -1, dbSpatialStrictlyContains,
                                      dbSpatialContains, dbSpatialStrictlyInside, dbSpatialInside};
    int op = -1;
    if (node->kind == dbRectOverlaps)
        op = dbSpatialOverlaps;
    else if (node->kind >= dbRectRel && node->kind < dbRectRel + 6)
        op = byRelation[node->kind - dbRectRel];
    dbEvalValue v;
    if (op < 0 || field->tTree == 0 || !Constant(node->op[1], v))
        return false;
    dbRectangle query{v.rect[0], v.rect[1], v.rect[2], v.rect[3]};
    SelectSearch s = NewSearch(field, filter);
    s.firstKey = &query;
    s.spatialOp = op;
    lastPlan.indexSearches += 1;
    lastPlan.spatialSearches += 1;
    dbSpatialIndex::Find(db, field->tTree, s);
    return true;
}

bool Planner::HashSearch(dbFieldInfo* field, SelectSearch& search)
{
    lastPlan.indexSearches += 1;
    lastPlan.hashSearches += 1;
    dbHashIndex::Find(db, field->hashTable, search);
    return true;
}

// Whether two closed bounds hold the same key, so that the range is one
// key's equality.
bool Planner::SameKey(dbFieldInfo* field, const Bound& low, const Bound& high)
{
    if (low.open || high.open || !low.inclusive || !high.inclusive)
        return false;
    switch (field->type) {
      case dbFieldInfo::tpReal4: return low.f == high.f;
      case dbFieldInfo::tpReal8: return low.r == high.r;
      case dbFieldInfo::tpString:
        return low.ptr == high.ptr
            || std::strcmp(static_cast<const char*>(low.ptr), static_cast<const char*>(high.ptr)) == 0;
      case dbFieldInfo::tpRawBinary:
        return std::memcmp(low.ptr, high.ptr, field->dbsSize) == 0;
      default:
        return std::memcmp(low.Key(field->type), high.Key(field->type), field->dbsSize) == 0;
    }
}

// Integer keys are compared as inclusive int64 bounds clamped to the
// field's range, so a constant outside the range answers as a scan would.
bool Planner::SetBound(dbFieldInfo* field, int rel, const dbEvalValue& v, Bound& low, Bound& high)
{
    switch (field->type) {
      case dbFieldInfo::tpInt1: case dbFieldInfo::tpInt2: case dbFieldInfo::tpInt4:
      case dbFieldInfo::tpInt8: {
        int bits = field->type == dbFieldInfo::tpInt1 ? 8 : field->type == dbFieldInfo::tpInt2 ? 16
                 : field->type == dbFieldInfo::tpInt4 ? 32 : 64;
        int64_t max = bits == 64 ? std::numeric_limits<int64_t>::max() : (int64_t(1) << (bits - 1)) - 1;
        int64_t min = -max - 1;
        int64_t x = v.ivalue;
        if (rel == relEq) {
            if (x < min || x > max) {
                low.empty = true;
            } else {
                low.open = high.open = false;
                low.i = high.i = x;
            }
        } else if (rel == relGe || rel == relGt) {
            if (rel == relGt && x >= max)
                low.empty = true;
            else if (rel == relGt)
                x += 1;
            if (x > max)
                low.empty = true;
            else if (x > min) {
                low.open = false;
                low.i = x;
            }
        } else {
            if (rel == relLt && x <= min)
                high.empty = true;
            else if (rel == relLt)
                x -= 1;
            if (x < min)
                high.empty = true;
            else if (x < max) {
                high.open = false;
                high.i = x;
            }
        }
        // The key is the low bytes of i: the field's own width, little-endian.
        return true;
      }
      case dbFieldInfo::tpReal4: case dbFieldInfo::tpReal8: {
        double x = v.rvalue;
        if (std::isnan(x)) {
            low.empty = true;
            return true;
        }
        // Real ranges always carry both bounds, so that NaN keys, which sit
        // at one end of the index, are never reported.
        double inf = std::numeric_limits<double>::infinity();
        if (low.open) {
            low.open = false;
            low.r = -inf;
            low.inclusive = true;
        }
        if (high.open) {
            high.open = false;
            high.r = inf;
            high.inclusive = true;
        }
        if (rel == relEq || rel == relGe || rel == relGt) {
            low.r = x;
            low.inclusive = rel != relGt;
        }
        if (rel == relEq || rel == relLe || rel == relLt) {
            high.r = x;
            high.inclusive = rel != relLt;
        }
        if (field->type == dbFieldInfo::tpReal4) {
            // Round each bound to a float without letting in values the
            // double comparison would refuse.
            float lf = static_cast<float>(low.r);
            if (static_cast<double>(lf) < low.r) {
                lf = std::nextafter(lf, std::numeric_limits<float>::infinity());
                low.inclusive = true;
            } else if (static_cast<double>(lf) > low.r) {
                low.inclusive = true;
            }
            float hf = static_cast<float>(high.r);
            if (static_cast<double>(hf) > high.r) {
                hf = std::nextafter(hf, -std::numeric_limits<float>::infinity());
                high.inclusive = true;
            } else if (static_cast<double>(hf) < high.r) {
                high.inclusive = true;
            }
            low.f = lf;
            high.f = hf;
            if (lf > hf || (lf == hf && !(low.inclusive && high.inclusive)))
                low.empty = true;
        }
        return true;
      }
      case dbFieldInfo::tpString: case dbFieldInfo::tpRawBinary: {
        Bound* sides[2] = {&low, &high};
        for (Bound* side : sides) {
            bool applies = side == &low ? (rel == relEq || rel == relGe || rel == relGt)
                                        : (rel == relEq || rel == relLe || rel == relLt);
            if (!applies)
                continue;
            side->open = false;
            side->ptr = field->type == dbFieldInfo::tpString ? static_cast<const void*>(v.str.chars) : v.ptr;
            side->inclusive = rel == relEq || rel == relGe || rel == relLe;
        }
        return true;
      }
      case dbFieldInfo::tpBool:
        if (rel != relEq)
            return false;
        low.open = high.open = false;
        low.b = high.b = v.ivalue != 0;
        return true;
      case dbFieldInfo::tpReference:
        if (rel != relEq)
            return false;
        low.open = high.open = false;
        low.oid = high.oid = v.oid;
        return true;
      default:
        return false;
    }
}

bool Planner::Equal(dbFieldInfo* field, const dbEvalValue& v, dbOpNode* filter)
{
    return Range(field, relEq, v, filter);
}

bool Planner::Range(dbFieldInfo* field, int rel, const dbEvalValue& v, dbOpNode* filter)
{
    if (rel != relEq && field->tTree == 0)
        return false;
    Bound low, high;
    if (!SetBound(field, rel, v, low, high))
        return false;
    if (low.empty || high.empty)
        return true;
    return SearchBetween(field, low, high, filter);
}

bool Planner::Between(dbFieldInfo* field, const dbEvalValue& lo, const dbEvalValue& hi, dbOpNode* filter)
{
    Bound low, lowsHigh, highsLow, high;
    if (!SetBound(field, relGe, lo, low, lowsHigh) || !SetBound(field, relLe, hi, highsLow, high))
        return false;
    if (low.empty || lowsHigh.empty || highsLow.empty || high.empty)
        return true;
    return SearchBetween(field, low, high, filter);
}

bool Planner::SearchBetween(dbFieldInfo* field, const Bound& low, const Bound& high, dbOpNode* filter)
{
    SelectSearch s = NewSearch(field, filter);
    if (!low.open) {
        s.firstKey = low.Key(field->type);
        s.firstKeyInclusion = low.inclusive;
    }
    if (!high.open) {
        s.lastKey = high.Key(field->type);
        s.lastKeyInclusion = high.inclusive;
    }
    if (field->hashTable != 0 && SameKey(field, low, high))
        return HashSearch(field, s);
    return Search(field, s);
}

bool Planner::Like(dbFieldInfo* field, const char* pattern, char escape, dbOpNode* like,
                   dbOpNode* filter, dbOpNode* andRoot)
{
    if (field->type != dbFieldInfo::tpString)
        return false;
    size_t w = 0;
    while (pattern[w] != '\0' && pattern[w] != '%' && pattern[w] != '_'
           && (escape == '\0' || pattern[w] != escape))
        w++;
    if (pattern[w] == '\0') {
        dbEvalValue v;
        v.str.chars = pattern;
        v.str.len = static_cast<int32_t>(w + 1);
        return Equal(field, v, filter);
    }
    if (field->tTree == 0)
        return false;
    if (w == 0) {
        if (pattern[0] != '%' || pattern[1] != '\0')
            return false;
        SelectSearch s = NewSearch(field, filter);
        lastPlan.indexSearches += 1;
        dbTreeIndex::WalkForward(db, field->tTree, s);
        return true;
    }
    std::string prefix(pattern, w);
    bool pure = pattern[w] == '%' && pattern[w + 1] == '\0';
    dbOpNode* check = pure ? filter : andRoot != nullptr ? andRoot : like;
    SelectSearch s = NewSearch(field, check);
    s.firstKey = prefix.c_str();
    s.firstKeyInclusion = true;
    s.prefixLength = w;
    return Search(field, s);
}

bool Planner::TryIndex(dbOpNode* node, dbOpNode* filter, dbOpNode* andRoot, Answer& answer)
{
    while (node->kind == dbExists)
        node = node->op[0];
    int kind = node->kind;
    if (dbNodeOperandCount(kind) < 2 && kind != dbIsNull)
        return false;

    // Records whose key is a prefix of a value: value like Field || '%'.
    if (kind == dbLike && node->op[1]->kind == dbConcat) {
        dbOpNode* concat = node->op[1];
        dbOpNode* keyLoad = concat->op[0];
        dbOpNode* percent = concat->op[1];
        dbEvalValue subject;
        if (keyLoad->kind == dbLoadCurrent + dbFieldInfo::tpString && keyLoad->load.field->tTree != 0
            && percent->kind == dbStrLiteral && std::strcmp(percent->str.chars, "%") == 0
            && Constant(node->op[0], subject)) {
            dbFieldInfo* field = keyLoad->load.field;
            SelectSearch s = NewSearch(field, filter);
            s.firstKey = subject.str.chars;
            lastPlan.indexSearches += 1;
            dbTreeIndex::FindPrefixesOf(db, field->tTree, s);
            answer.field = field;
            answer.inKeyOrder = true;
            return true;
        }
        return false;
    }

    dbOpNode* left = node->op[0];
    if (left->kind < dbLoadCurrent && left->load.base != nullptr && left->load.base->kind == dbDeref)
        return ThroughReference(node, filter, answer);
    if (!left->IsCurrentLoad())
        return false;
    dbFieldInfo* field = left->load.field;
    if (field->type == dbFieldInfo::tpRectangle) {
        if (!Spatial(field, node, filter))
            return false;
        answer.field = field;
        answer.inKeyOrder = false;
        return true;
    }
    if (field->tTree == 0 && field->hashTable == 0)
        return false;

    dbEvalValue v, w;
    bool answered = false;
    bool inKeyOrder = true;
    if (kind == dbIsNull) {
        v.oid = 0;
        answered = Equal(field, v, filter);
    } else if (kind == dbIntRel + relEq || kind == dbRealRel + relEq || kind == dbStrRel + relEq
               || kind == dbRefRel + relEq || kind == dbBoolRel + relEq || kind == dbRawRel + relEq) {
        answered = Constant(node->op[1], v) && Equal(field, v, filter);
    } else if ((kind > dbIntRel + relNe && kind < dbIntRel + 6)
               || (kind > dbRealRel + relNe && kind < dbRealRel + 6)
               || (kind > dbStrRel + relNe && kind < dbStrRel + 6)
               || (kind > dbRawRel + relNe && kind < dbRawRel + 6)) {
        int rel = kind >= dbStrRel ? kind - dbStrRel : kind >= dbRealRel ? kind - dbRealRel
                : kind >= dbRawRel ? kind - dbRawRel : kind - dbIntRel;
        answered = Constant(node->op[1], v) && Range(field, rel, v, filter);
    } else if (kind == dbIntBetween || kind == dbRealBetween || kind == dbStrBetween
               || kind == dbRawBetween) {
        answered = Constant(node->op[1], v) && Constant(node->op[2], w) && Between(field, v, w, filter);
    } else if (kind >= dbInArray && kind < dbInArrayRectangle) {
        dbOpNode* array = node->op[1];
        int frag = array->kind - dbVariable;
        bool fits = (field->type == dbFieldInfo::tpInt4
                     && (frag == dbFragArrayOfInt4 || frag == dbFragArrayPtrOfInt4))
            || (field->type == dbFieldInfo::tpInt8
                && (frag == dbFragArrayOfInt8 || frag == dbFragArrayPtrOfInt8))
            || (field->type == dbFieldInfo::tpReference
                && (frag == dbFragArrayOfRef || frag == dbFragArrayPtrOfRef));
        if (!fits || !Constant(array, v))
            return false;
        cursor->AllocateDuplicateBitmap();
        size_t size = field->type == dbFieldInfo::tpInt8 ? 8 : 4;
        for (int32_t i = 0; i < v.arr.n; i++) {
            dbEvalValue e;
            if (size == 8) {
                std::memcpy(&e.ivalue, v.arr.base + 8 * i, 8);
            } else {
                int32_t x;
                std::memcpy(&x, v.arr.base + 4 * i, 4);
                e.ivalue = x;
                e.oid = static_cast<uint32_t>(x);
            }
            Equal(field, e, filter);
        }
        answered = true;
        inKeyOrder = false;
    } else if (kind == dbLike || kind == dbLikeEscape) {
        dbEvalValue esc;
        if (!Constant(node->op[1], v))
            return false;
        char escape = '\0';
        if (kind == dbLikeEscape) {
            if (!Constant(node->op[2], esc))
                return false;
            escape = esc.str.chars[0];
        }
        std::string pattern(v.str.chars);
        answered = Like(field, pattern.c_str(), escape, node, filter, andRoot);
    }
    if (answered) {
        answer.field = field;
        answer.inKeyOrder = inKeyOrder;
    }
    return answered;
}

// A condition on a field of a record reached through references. When
// every reference on the path has an inverse, the last table's index is
// searched and the inverses are followed back to this table; otherwise,
// for a path of one indexed reference field, this table's index of it is
// searched for each record found in the referenced table.
bool Planner::ThroughReference(dbOpNode* node, dbOpNode* filter, Answer& answer)
{
    dbOpNode* left = node->op[0];
    std::vector<dbFieldInfo*> path;  // reference fields, this table's first
    dbTableInfo* target = nullptr;
    for (dbOpNode* at = left;;) {
        if (at->load.base == nullptr || at->load.base->kind != dbDeref)
            return false;
        dbOpNode* ref = at->load.base->op[0];
        if (ref->kind != dbLoadCurrent + dbFieldInfo::tpReference
            && ref->kind != dbLoadField + dbFieldInfo::tpReference)
            return false;
        if (target == nullptr)
            target = ref->refTable;
        path.insert(path.begin(), ref->load.field);
        if (ref->kind == dbLoadCurrent + dbFieldInfo::tpReference)
            break;
        at = ref;
    }
    auto indexed = [](const dbFieldInfo* f) { return f->tTree != 0 || f->hashTable != 0; };
    bool inverse = true;
    for (const dbFieldInfo* f : path)
        inverse = inverse && f->inverseRef != nullptr;
    if (target == nullptr || target->tableId == 0 || target->db != db || !indexed(left->load.field)
        || (!inverse && (path.size() != 1 || !indexed(path[0]))))
        return false;
    dbOpNode load = *left;
    load.kind = static_cast<uint8_t>(left->kind + dbLoadCurrent);
    load.load.base = nullptr;
    dbOpNode probe = *node;
    probe.op[0] = &load;
    dbRecordCursor found(target);
    Planner inner(db, &found, reinterpret_cast<const uint8_t*>(db->GetRow(target->tableId)));
    inner.params = params;
    Answer ignored;
    if (!inner.TryIndex(&probe, nullptr, nullptr, ignored))
        return false;
    std::vector<oid_t> ids;
    for (const dbIdSelection::Segment* seg = found.selection.first; seg != nullptr; seg = seg->next)
        ids.insert(ids.end(), seg->rows, seg->rows + seg->nRows);
    answer.field = nullptr;
    answer.inKeyOrder = false;
    if (!inverse) {
        for (oid_t id : ids) {
            dbEvalValue v;
            v.oid = id;
            Equal(path[0], v, filter);
        }
        return true;
    }
    lastPlan.inverseSearches += 1;
    for (size_t k = path.size(); k-- > 0;)
        ids = Referrers(path[k]->inverseRef, ids);
    // A record may be reached from several found ones.
    cursor->AllocateDuplicateBitmap();
    for (oid_t id : ids) {
        if (filter != nullptr && !db->EvaluateCondition(filter, id, tableRow, params))
            continue;
        if (!cursor->Add(id))
            break;
    }
    return true;
}

// The records that the inverse field back holds in the records ids.
std::vector<oid_t> Planner::Referrers(const dbFieldInfo* back, const std::vector<oid_t>& ids)
{
    std::vector<oid_t> referrers;
    for (oid_t id : ids) {
        const char* rec = db->GetRow(id);
        uint32_t held[2];
        std::memcpy(held, rec + back->dbsOffs, 8);
        if (back->type != dbFieldInfo::tpArray) {
            if (held[0] != 0)
                referrers.push_back(held[0]);
            continue;
        }
        for (uint32_t i = 0; i < held[0]; i++) {
            oid_t r;
            std::memcpy(&r, rec + held[1] + 4 * i, 4);
            if (r != 0)
                referrers.push_back(r);
        }
    }
    return referrers;
}

// One share of a parallel scan: rows k, k + T, k + 2T, ... of the row list.
struct ScanShare {
    dbEngine* db;
    const dbOpNode* condition;
    const dbOrderKey* order;
    const uint8_t* tableRow;
    const char* params;
    int share;
    int shares;
    std::vector<uint32_t> ids;
    std::exception_ptr fault;  // what ended the share early, rethrown by the caller

    static void Run(void* arg)
    {
        AfxThreadStarted();
        ScanShare* s = static_cast<ScanShare*>(arg);
        try {
            s->Scan();
        } catch (...) {
            s->fault = std::current_exception();
        }
    }

    void Scan()
    {
        uint32_t id = dbDictionaryRecord(tableRow).FirstRow();
        for (int i = 0; i < share && id != 0; i++)
            id = reinterpret_cast<const dbRecordHeader*>(db->GetRow(id))->next;
        while (id != 0) {
            if (condition == nullptr || db->EvaluateCondition(condition, id, tableRow, params))
                ids.push_back(id);
            for (int i = 0; i < shares && id != 0; i++)
                id = reinterpret_cast<const dbRecordHeader*>(db->GetRow(id))->next;
        }
        if (order != nullptr) {
            OrderContext ctx{db, order, tableRow, params};
            dbIdSelection sel;
            for (uint32_t x : ids)
                sel.Add(x);
            sel.Sort(CompareOrder, &ctx);
            ids.resize(sel.nRows);
            sel.ToArray(ids.data());
        }
    }
};

// Sorts distinct identifiers below idLimit through a bitmap of them. Rows
// are placed in the image in the order their identifiers are handed out, so
// this order mostly walks the image forwards, as the processor's own loading
// ahead follows best.
void InIdOrder(std::vector<oid_t>& ids, oid_t idLimit)
{
    std::vector<uint64_t> present((size_t(idLimit) + 63) / 64);
    for (const oid_t id : ids)
        present[id >> 6] |= uint64_t(1) << (id & 63);
    ids.clear();
    for (size_t word = 0; word < present.size(); word++)
        for (uint64_t bits = present[word]; bits != 0; bits &= bits - 1)
            ids.push_back(static_cast<oid_t>(word * 64 + __builtin_ctzll(bits)));
}

// The order in which a scan tests the table's rows. Following the row list
// costs one dependent cache miss per row, since copy-on-write scatters rows
// over the image; a tree index of the table lists every row 125 to a node,
// so the rows it lists, taken in identifier order, can be loaded ahead of
// need. Answers true with the rows in that order, or false with the rows in
// row-list order when the table has no such index or it disagrees with the
// row count.
bool TreeOrder(dbEngine* db, dbTableInfo* table, const uint8_t* tableRow, std::vector<oid_t>& rows)
{
    dbDictionaryRecord dict(tableRow);
    const uint32_t count = dict.RowCount();
    rows.clear();
    rows.reserve(count);
    dbFieldInfo* index = table->indexedFields;
    while (index != nullptr && (index->tTree == 0 || index->type == dbFieldInfo::tpRectangle))
        index = index->nextIndexedField;
    if (index != nullptr) {
        std::vector<uint32_t> path;
        uint32_t root;
        db->GetTreeBatches().Settle(db, index->tTree);
        std::memcpy(&root, db->GetObject(index->tTree), 4);
        if (root != 0)
            path.push_back(root);
        while (!path.empty() && rows.size() <= count) {
            const dbTtreeNode* n = reinterpret_cast<const dbTtreeNode*>(db->GetObject(path.back()));
            path.pop_back();
            rows.insert(rows.end(), n->item, n->item + n->nItems);
            if (n->left != 0)
                path.push_back(n->left);
            if (n->right != 0)
                path.push_back(n->right);
        }
        const oid_t idLimit = db->GetCurrentIndexSize();
        bool valid = rows.size() == count && idLimit <= 0x80000000u;
        for (size_t i = 0; i < rows.size() && valid; i++)
            valid = rows[i] < idLimit;
        if (valid) {
            InIdOrder(rows, idLimit);
            if (rows.size() == count)
                return true;
        }
        rows.clear();
    }
    for (oid_t id = dict.FirstRow(); id != 0;
         id = reinterpret_cast<const dbRecordHeader*>(db->GetRow(id))->next)
        rows.push_back(id);
    return false;
}

}  // namespace

const dbSelectPlan& dbLastSelectPlan()
{
    return lastPlan;
}

int dbOrderCompare(dbEngine* db, uint32_t a, uint32_t b, const dbOrderKey* keys,
                   const uint8_t* tableRow, const char* params)
{
    const char* ra = db->GetRow(a);
    const char* rb = db->GetRow(b);
    for (const dbOrderKey* k = keys; k != nullptr; k = k->next) {
        int d = 0;
        if (k->field != nullptr) {
            dbFieldInfo* f = k->field;
            const char* pa = ra + f->dbsOffs;
            const char* pb = rb + f->dbsOffs;
            switch (f->type) {
              case dbFieldInfo::tpString: {
                uint32_t oa, ob;
                std::memcpy(&oa, pa + 4, 4);
                std::memcpy(&ob, pb + 4, 4);
                d = dbCompareStrings(ra + oa, rb + ob);
                break;
              }
              case dbFieldInfo::tpArray: {
                uint32_t na, nb;
                std::memcpy(&na, pa, 4);
                std::memcpy(&nb, pb, 4);
                d = na < nb ? -1 : na > nb;
                break;
              }
              case dbFieldInfo::tpReal4: {
                float x, y;
                std::memcpy(&x, pa, 4);
                std::memcpy(&y, pb, 4);
                d = dbCompareReals(x, y);
                break;
              }
              case dbFieldInfo::tpReal8: {
                double x, y;
                std::memcpy(&x, pa, 8);
                std::memcpy(&y, pb, 8);
                d = dbCompareReals(x, y);
                break;
              }
              case dbFieldInfo::tpBool: case dbFieldInfo::tpInt1: case dbFieldInfo::tpInt2:
              case dbFieldInfo::tpInt4: case dbFieldInfo::tpInt8: case dbFieldInfo::tpReference:
              case dbFieldInfo::tpRawBinary:
                d = dbFieldInfo::CompareKeys(f->type, pa, pb, f->dbsSize, f->comparator);
                break;
              default:
                d = 0;
            }
        } else {
            dbEvalContext ca(db, ra, a, tableRow, params);
            dbEvalContext cb(db, rb, b, tableRow, params);
            dbEvalValue va, vb;
            dbEvaluate(k->expr, ca, va);
            dbEvaluate(k->expr, cb, vb);
            switch (k->expr->type) {
              case exInteger: d = va.ivalue < vb.ivalue ? -1 : va.ivalue > vb.ivalue; break;
              case exBoolean: d = (va.ivalue != 0) - (vb.ivalue != 0); break;
              case exReal: d = dbCompareReals(va.rvalue, vb.rvalue); break;
              case exString: d = dbCompareStrings(va.str.chars, vb.str.chars); break;
              case exReference: d = va.oid < vb.oid ? -1 : va.oid > vb.oid; break;
              default: d = 0;
            }
        }
        if (d != 0)
            return k->ascending ? d : -d;
    }
    return 0;
}

int dbRecordCursor::Select(dbQueryText& query, int cursorType, void* params)
{
    type = cursorType;
    Reset();
    if (db == nullptr || table == nullptr || table->tableId == 0)
        return 0;
    paramBase = params;
    struct ParamsGuard {
        void*& slot;
        ~ParamsGuard() { slot = nullptr; }
    } guard{paramBase};
    db->Select(this, query);
    if (!allRecords && GotoFirst() && prefetch)
        Fetch();
    return static_cast<int>(allRecords ? dbDictionaryRecord(reinterpret_cast<const uint8_t*>(
                                             db->GetRow(table->tableId))).RowCount()
                                       : selection.nRows);
}

bool dbEngine::EvaluateCondition(const dbOpNode* condition, oid_t id, const uint8_t* tableRow,
                                 const char* params)
{
    dbEvalContext ctx(this, GetRow(id), id, tableRow, params);
    dbEvalValue v;
    dbEvaluate(condition, ctx, v);
    return v.ivalue != 0;
}

void dbEngine::Select(dbRecordCursor* cursor, dbQueryText& query)
{
    dbTableInfo* table = cursor->table;
    dbQueryTree& q = query.tree;
    lastPlan = dbSelectPlan{};
    {
        std::lock_guard<std::mutex> guard(query.lock);
        if (q.root == nullptr || q.table != table || q.schemaVersion != schemaVersion) {
            q.schemaVersion = schemaVersion;
            dbQueryCompiler compiler(this);
            if (!compiler.Compile(query, table))
                return;
        }
    }
    if (!BeginTransaction(cursor->type == dbCursorForUpdate ? dbExclusiveLock : dbSharedLock))
        return;

    const uint8_t* tableRow = reinterpret_cast<const uint8_t*>(GetRow(table->tableId));
    const char* params = static_cast<const char*>(cursor->paramBase);
    dbOpNode* condition = q.root->kind == dbEmpty ? nullptr : q.root;
    bool ordered = q.order != nullptr;
    size_t start = 0;
    size_t count = dbRecordCursor::DefaultLimit;
    if (q.limit) {
        int32_t s = q.limitStartVar != nullptr ? *q.limitStartVar : q.limitStart;
        int32_t c = q.limitCountVar != nullptr ? *q.limitCountVar : q.limitCount;
        start = s > 0 ? static_cast<size_t>(s) : 0;
        count = c > 0 ? static_cast<size_t>(c) : 0;
    }
    cursor->nSkipped = 0;
    cursor->stmtLimitStart = q.limit && !ordered ? start : 0;
    cursor->stmtLimitLen = q.limit && !ordered ? count : size_t(dbRecordCursor::DefaultLimit);
    OrderContext order{this, q.order, tableRow, params};
    auto truncate = [&] {
        if (q.limit && ordered)
            cursor->selection.Truncate(start, count);
    };

    if (q.startFrom != dbStartNone) {
        cursor->LinkToThread();
        FollowBy(cursor, q, condition, tableRow, params);
        if (ordered) {
            lastPlan.sorted = true;
            cursor->selection.Sort(CompareOrder, &order);
        }
        truncate();
        return;
    }

    if (condition == nullptr && !ordered && !q.limit) {
        lastPlan.allRows = true;
        cursor->SelectAllRows();
        return;
    }

    if (condition != nullptr && condition->kind == dbRefRel + relEq) {
        const dbOpNode* other = condition->op[0]->kind == dbCurrent ? condition->op[1]
                              : condition->op[1]->kind == dbCurrent ? condition->op[0] : nullptr;
        if (other != nullptr && (other->kind == dbVariable + dbFragReference
                                 || (other->kind == dbIntToRef && other->op[0]->IsConstant()))) {
            dbEvalContext ctx(this, nullptr, 0, tableRow, params);
            dbEvalValue v;
            dbEvaluate(other, ctx, v);
            if (v.oid == 0) {
                HandleError(dbNullReferenceError, "Attempt to set NULL reference as cursor current value");
                return;
            }
            lastPlan.byId = true;
            cursor->SelectById(v.oid);
            return;
        }
    }

    cursor->LinkToThread();
    Planner planner(this, cursor, tableRow);
    Answer answer;
    bool answered = false;
    bool orChain = false;
    dbOpNode* rest = condition;
    if (condition != nullptr) {
        if (condition->kind == dbAnd) {
            answered = planner.TryIndex(condition->op[0], condition->op[1], condition, answer);
        } else if (condition->kind == dbOr) {
            orChain = true;
            cursor->AllocateDuplicateBitmap();
            auto belowLimits = [&] {
                return cursor->selection.nRows < cursor->limit
                    && cursor->selection.nRows < cursor->stmtLimitLen;
            };
            while (rest->kind == dbOr && belowLimits()
                   && planner.TryIndex(rest->op[0], nullptr, nullptr, answer))
                rest = rest->op[1];
            if (belowLimits())
                answered = planner.TryIndex(rest, nullptr, nullptr, answer);
            else
                answered = true;
        } else {
            answered = planner.TryIndex(condition, nullptr, nullptr, answer);
        }
    }
    if (answered) {
        if (ordered) {
            const dbOrderKey* key = q.order;
            bool keyOrder = key->next == nullptr && key->field != nullptr && key->field == answer.field
                         && answer.inKeyOrder && !orChain;
            if (!keyOrder) {
                lastPlan.sorted = true;
                cursor->selection.Sort(CompareOrder, &order);
            } else if (!key->ascending) {
                lastPlan.reversed = true;
                cursor->selection.Reverse();
            }
        }
        truncate();
        return;
    }

    const dbOrderKey* key = q.order;
    if (cursor->selection.nRows == 0 && key != nullptr && key->next == nullptr && key->field != nullptr
        && key->field->type != dbFieldInfo::tpRectangle && key->field->tTree != 0) {
        cursor->stmtLimitStart = start;
        cursor->stmtLimitLen = count;
        SelectSearch s;
        s.db = this;
        s.cursor = cursor;
        s.condition = rest;
        s.filter = rest != nullptr ? FilterRecord : nullptr;
        s.type = key->field->type;
        s.sizeofType = key->field->dbsSize;
        s.comparator = key->field->comparator;
        s.offs = key->field->dbsOffs;
        s.tableRow = tableRow;
        s.params = params;
        lastPlan.treeWalks += 1;
        if (key->ascending)
            dbTreeIndex::WalkForward(this, key->field->tTree, s);
        else
            dbTreeIndex::WalkBackward(this, key->field->tTree, s);
        return;
    }

    int threads = GetThreadCount();
    uint32_t rows = dbDictionaryRecord(tableRow).RowCount();
    bool parallel = cursor->selection.nRows == 0 && threads > 1
                 && rows >= static_cast<uint32_t>(parallelScanThreshold)
                 && cursor->limit >= dbRecordCursor::DefaultLimit;
    if (!parallel) {
        dbEvalContext ctx(this, nullptr, 0, tableRow, params);
        // A constant text searched in a string field of the row is tested
        // without the interpreter: the commonest scan, a search in names.
        dbEvalValue needle;
        bool substring = rest != nullptr && rest->kind == dbInString
                      && rest->op[1]->kind == dbLoadCurrent + dbFieldInfo::tpString
                      && rest->op[0]->IsConstant();
        if (substring)
            dbEvaluate(rest->op[0], ctx, needle);
        std::vector<oid_t> visit;
        const bool treeOrder = TreeOrder(this, table, tableRow, visit);
        // Rows tested out of list order keep, by id, their link shifted left
        // one bit and their result in the low bit, until the list is followed
        // to report the matches in order. The array is the thread's, kept
        // from scan to scan: only entries of the table's rows are read.
        thread_local std::vector<oid_t> links;
        if (treeOrder && links.size() < GetCurrentIndexSize())
            links.resize(GetCurrentIndexSize());
        const size_t ahead = 8;
        for (size_t i = 0; i < visit.size(); i++) {
            // Rows lie anywhere in the image: load those ahead while this
            // one is tested, so that their cache misses overlap.
            if (i + ahead < visit.size()) {
                const char* later = GetRow(visit[i + ahead]);
                __builtin_prefetch(later);
                __builtin_prefetch(later + 64);
            }
            oid_t id = visit[i];
            const char* rec = GetRow(id);
            bool match = true;
            if (substring) {
                uint32_t field[2];
                std::memcpy(field, rec + rest->op[1]->offs, 8);
                match = dbContainsSubstring(rec + field[1], field[0] - 1, needle.str.chars,
                                            needle.str.len - 1);
            } else if (rest != nullptr) {
                ctx.record = rec;
                ctx.recordId = id;
                ctx.textUsed = 0;
                dbEvalValue v;
                dbEvaluate(rest, ctx, v);
                ctx.FreeHeapTexts();
                match = v.ivalue != 0;
            }
            lastPlan.rowsScanned += 1;
            if (treeOrder) {
                links[id] = reinterpret_cast<const dbRecordHeader*>(rec)->next << 1 | (match ? 1 : 0);
            } else if (match && !cursor->Add(id)) {
                break;
            }
        }
        if (treeOrder) {
            const oid_t idLimit = GetCurrentIndexSize();
            size_t listed = 0;
            for (oid_t id = dbDictionaryRecord(tableRow).FirstRow();
                 id != 0 && id < idLimit && listed < visit.size(); id = links[id] >> 1, listed++)
                if ((links[id] & 1) != 0 && !cursor->Add(id))
                    break;
        }
        if (ordered) {
            lastPlan.sorted = true;
            cursor->selection.Sort(CompareOrder, &order);
        }
        truncate();
        return;
    }

    std::vector<ScanShare> shares(static_cast<size_t>(threads));
    // The shares run on threads of their own (the worker pool runs one
    // function at a time); a share whose thread cannot start runs here.
    std::vector<std::thread> workers;
    std::vector<int> here;
    for (int k = 0; k < threads; k++)
        shares[k] = ScanShare{this, rest, q.order, tableRow, params, k, threads, {}, nullptr};
    for (int k = 0; k + 1 < threads; k++) {
        try {
            workers.emplace_back(ScanShare::Run, &shares[k]);
        } catch (const std::system_error&) {
            here.push_back(k);
        }
    }
    ScanShare::Run(&shares[threads - 1]);
    for (int k : here)
        ScanShare::Run(&shares[k]);
    for (std::thread& t : workers)
        t.join();
    for (ScanShare& s : shares)
        if (s.fault)
            std::rethrow_exception(s.fault);
    if (ordered) {
        std::vector<size_t> next(shares.size(), 0);
        for (;;) {
            int best = -1;
            for (size_t k = 0; k < shares.size(); k++) {
                if (next[k] >= shares[k].ids.size())
                    continue;
                if (best < 0 || CompareOrder(shares[k].ids[next[k]], shares[best].ids[next[best]], &order) < 0)
                    best = static_cast<int>(k);
            }
            if (best < 0)
                break;
            cursor->selection.Add(shares[best].ids[next[best]++]);
        }
    } else {
        for (ScanShare& s : shares)
            for (uint32_t id : s.ids)
                cursor->selection.Add(id);
    }
    if (q.limit)
        cursor->selection.Truncate(start, count);
}

void dbEngine::FollowBy(dbRecordCursor* cursor, const dbQueryTree& q, const dbOpNode* condition,
                        const uint8_t* tableRow, const char* params)
{
    dbTableInfo* table = cursor->table;
    std::vector<oid_t> stack;
    stack.reserve(1024);
    auto pushArray = [&](const dbAnyArray* a) {
        if (a == nullptr)
            return;
        const uint32_t* items = static_cast<const uint32_t*>(a->data);
        for (uint32_t i = a->used; i-- > 0;)
            if (items[i] != 0)
                stack.push_back(items[i]);
    };
    dbDictionaryRecord dict(tableRow);
    switch (q.startFrom) {
      case dbStartFirst: if (dict.FirstRow() != 0) stack.push_back(dict.FirstRow()); break;
      case dbStartLast: if (dict.LastRow() != 0) stack.push_back(dict.LastRow()); break;
      case dbStartRef: {
        uint32_t id;
        std::memcpy(&id, q.startFromVar, 4);
        if (id != 0)
            stack.push_back(id);
        break;
      }
      case dbStartArray: pushArray(static_cast<const dbAnyArray*>(q.startFromVar)); break;
      default: pushArray(*static_cast<const dbAnyArray* const*>(q.startFromVar)); break;
    }
    cursor->AllocateDuplicateBitmap();
    // Every record is visited once even over cyclic references.
    std::unordered_set<oid_t> visited;
    while (!stack.empty()) {
        oid_t id = stack.back();
        stack.pop_back();
        if (!IsRecordOf(id, table) || !visited.insert(id).second)
            continue;
        if ((condition == nullptr || EvaluateCondition(condition, id, tableRow, params))
            && !cursor->Add(id))
            return;
        const char* rec = GetRow(id);
        for (const dbFollowField* f = q.follow; f != nullptr; f = f->next) {
            const char* at = rec + f->field->dbsOffs;
            if (f->field->type == dbFieldInfo::tpReference) {
                uint32_t target;
                std::memcpy(&target, at, 4);
                if (target != 0 && visited.count(target) == 0)
                    stack.push_back(target);
            } else {
                uint32_t n, offs;
                std::memcpy(&n, at, 4);
                std::memcpy(&offs, at + 4, 4);
                for (uint32_t i = n; i-- > 0;) {
                    uint32_t target;
                    std::memcpy(&target, rec + offs + 4 * i, 4);
                    if (target != 0 && visited.count(target) == 0)
                        stack.push_back(target);
                }
            }
        }
    }
}
