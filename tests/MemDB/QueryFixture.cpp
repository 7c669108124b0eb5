#include "QueryFixture.h"

#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"

#include <cstdio>
#include <cstring>

dbFieldInfo* DescribeQueryRow()
{
    return dbFieldList({
        dbDescribe<int32_t>("ID", offsetof(QueryRow, ID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("FID", offsetof(QueryRow, FID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("SN", offsetof(QueryRow, SN)),
        dbDescribe<int32_t>("PID", offsetof(QueryRow, PID), dbFieldInfo::INDEXED),
        dbDescribe<int8_t>("MMC", offsetof(QueryRow, MMC), dbFieldInfo::INDEXED),
        dbDescribe<int16_t>("Kind", offsetof(QueryRow, Kind)),
        dbDescribe<int64_t>("Big", offsetof(QueryRow, Big)),
        dbDescribe<double>("Weight", offsetof(QueryRow, Weight), dbFieldInfo::INDEXED),
        dbDescribe<float>("Ratio", offsetof(QueryRow, Ratio)),
        dbDescribe<bool>("Flag", offsetof(QueryRow, Flag)),
        dbDescribe<char*>("Name", offsetof(QueryRow, Name), dbFieldInfo::INDEXED),
        dbDescribe<char*>("GUID", offsetof(QueryRow, GUID), dbFieldInfo::INDEXED),
        dbDescribe<char*>("Type", offsetof(QueryRow, Type)),
        dbDescribe<char*>("Symbol", offsetof(QueryRow, Symbol)),
        dbDescribeReference("Parent", offsetof(QueryRow, Parent), "QueryRow", nullptr,
                            dbFieldInfo::INDEXED),
        dbDescribeArray<int32_t>("Items", offsetof(QueryRow, Items)),
        dbDescribe<dbRectangle>("Box", offsetof(QueryRow, Box)),
        dbDescribeStruct("Pos", offsetof(QueryRow, Pos), sizeof(QueryRow::Pos),
                         dbFieldList({dbDescribe<int32_t>("x", 0), dbDescribe<int32_t>("y", 4)})),
    });
}

namespace {

const char* const kKindNames[] = {
    "bool@", "int1@", "int2@", "int4@", "int8@", "real4@", "real8@", "str@", "ref@", "arr@",
    "m10", "m11", "m12", "m13", "m14", "m15", "m16", "m17", "m18", "rect@", "raw@",
};

std::string Relation(const char* family, int rel)
{
    static const char* const ops[] = {"=", "<>", ">", ">=", "<", "<="};
    return std::string(family) + ops[rel];
}

std::string KindName(const dbOpNode* n)
{
    int k = n->kind;
    if (k >= dbIntRel && k < dbIntRel + 6) return Relation("int", k - dbIntRel);
    if (k >= dbRealRel && k < dbRealRel + 6) return Relation("real", k - dbRealRel);
    if (k >= dbStrRel && k < dbStrRel + 6) return Relation("str", k - dbStrRel);
    if (k >= dbRectRel && k < dbRectRel + 6) return Relation("rect", k - dbRectRel);
    if (k >= dbRawRel && k < dbRawRel + 6) return Relation("raw", k - dbRawRel);
    if (k >= dbBoolRel && k < dbBoolRel + 2) return Relation("bool", k - dbBoolRel);
    if (k >= dbRefRel && k < dbRefRel + 2) return Relation("ref", k - dbRefRel);
    if (k >= dbInArray && k <= dbInArrayRectangle) return "in-array";
    if (k < dbLoadCurrent) return kKindNames[k];
    switch (k) {
      case dbInString: return "in-str";
      case dbRectOverlaps: return "overlaps";
      case dbRectArea: return "area";
      case dbArrayLength: return "arr-len";
      case dbStringLength: return "str-len";
      case dbArrayElement: return "elem";
      case dbStringChar: return "char";
      case dbOr: return "or";
      case dbAnd: return "and";
      case dbNot: return "not";
      case dbIsNull: return "is-null";
      case dbIntNeg: return "int-neg";
      case dbIntAdd: return "int+";
      case dbIntSub: return "int-";
      case dbIntMul: return "int*";
      case dbIntDiv: return "int/";
      case dbIntAnd: return "int-and";
      case dbIntOr: return "int-or";
      case dbIntNot: return "int-not";
      case dbIntAbs: return "int-abs";
      case dbIntPow: return "int^";
      case dbIntBetween: return "int-between";
      case dbRealNeg: return "real-neg";
      case dbRealAdd: return "real+";
      case dbRealSub: return "real-";
      case dbRealMul: return "real*";
      case dbRealDiv: return "real/";
      case dbRealAbs: return "real-abs";
      case dbRealPow: return "real^";
      case dbRealPowInt: return "real^int";
      case dbRawBetween: return "raw-between";
      case dbRectAdd: return "rect+";
      case dbRectCoord: return "coord";
      case dbRealBetween: return "real-between";
      case dbStrBetween: return "str-between";
      case dbLike: return "like";
      case dbLikeEscape: return "like-escape";
      case dbUpper: return "upper";
      case dbLower: return "lower";
      case dbIntToRef: return "int->ref";
      case dbIntToReal: return "int->real";
      case dbRealToInt: return "real->int";
      case dbIntToStr: return "int->str";
      case dbRealToStr: return "real->str";
      case dbConcat: return "concat";
      case dbDeref: return "deref";
      case dbExists: return "exists";
      default: return "kind" + std::to_string(k);
    }
}

}  // namespace

// Fixed to an engine that is never opened, so that no engine of another
// test binds it.
dbTableInfo& QueryRowTable()
{
    static dbEngine unopened;
    static dbTableInfo table("QueryRow", &unopened, sizeof(QueryRow), DescribeQueryRow);
    return table;
}

StoredRow::StoredRow(const QueryRow& row)
{
    dbTableInfo& table = QueryRowTable();
    const uint8_t* app = reinterpret_cast<const uint8_t*>(&row);
    size_t size = dbFieldInfo::StoredSize(table.columns, app, table.fixedSize);
    words.assign((size + 15) / 8, 0);
    uint8_t* rec = reinterpret_cast<uint8_t*>(words.data());
    uint32_t size32 = static_cast<uint32_t>(size);
    std::memcpy(rec, &size32, 4);
    dbFieldInfo::StoreRecordFields(table.columns, rec, app, table.fixedSize);
}

std::string RenderTree(const dbOpNode* n)
{
    if (n == nullptr)
        return "null";
    int k = n->kind;
    if (k >= dbLoadCurrent && k <= dbLoadCurrent + dbLoadRawOffs)
        return n->load.field->longName;
    if (k < dbLoadCurrent)
        return "(" + RenderTree(n->load.base) + "." + n->load.field->longName + ")";
    char buf[64];
    switch (k) {
      case dbIntLiteral:
        return std::to_string(n->ivalue);
      case dbRealLiteral:
        std::snprintf(buf, sizeof buf, "%gr", n->rvalue);
        return buf;
      case dbStrLiteral:
        return "'" + std::string(n->str.chars) + "'";
      case dbRectLiteral:
        std::snprintf(buf, sizeof buf, "[%d,%d,%d,%d]", n->rect[0], n->rect[1], n->rect[2], n->rect[3]);
        return buf;
      case dbTrue: return "true";
      case dbFalse: return "false";
      case dbNull: return "null";
      case dbCurrent: return "current";
      case dbFirst: return "first";
      case dbLast: return "last";
      case dbEmpty: return "empty";
      case dbExistsVar: return "$" + std::to_string(n->offs);
      default:
        break;
    }
    if (k > dbVariable && k < dbTrue)
        return "var" + std::to_string(k - dbVariable);
    std::string s = "(" + KindName(n);
    for (int i = 0; i < dbNodeOperandCount(k); i++)
        s += " " + RenderTree(n->op[i]);
    return s + ")";
}

std::string RenderOrder(const dbOrderKey* keys)
{
    std::string s;
    for (const dbOrderKey* k = keys; k != nullptr; k = k->next) {
        if (!s.empty())
            s += ", ";
        s += k->field != nullptr ? std::string(k->field->longName) : RenderTree(k->expr);
        if (!k->ascending)
            s += " desc";
    }
    return s;
}
