// Node pool, tree destruction and copying, clearing of a compiled part.
#include "MemDB/dbQueryTree.h"

#include "MemDB/dbCustomFunction.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr size_t kNodesPerBlock = 1024;

struct NodeBlock {
    NodeBlock* next;
    dbOpNode nodes[kNodesPerBlock];
};

// Outlives every static query object: it is never destroyed, and its
// blocks stay with the process until exit.
struct NodePool {
    std::mutex lock;
    NodeBlock* blocks = nullptr;
    dbOpNode* freeList = nullptr;
    size_t freeCount = 0;
};

NodePool& Pool()
{
    static NodePool* pool = new NodePool;
    return *pool;
}

}  // namespace

dbOpNode* dbNewNode(int kind, int type)
{
    NodePool& pool = Pool();
    dbOpNode* node;
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (pool.freeList == nullptr) {
            NodeBlock* block = static_cast<NodeBlock*>(std::malloc(sizeof(NodeBlock)));
            if (block == nullptr)
                throw std::bad_alloc();
            block->next = pool.blocks;
            pool.blocks = block;
            for (size_t i = 1; i < kNodesPerBlock; i++) {
                block->nodes[i].kind = dbFreedNode;
                block->nodes[i].op[0] = pool.freeList;
                pool.freeList = &block->nodes[i];
            }
            pool.freeCount += kNodesPerBlock - 1;
            node = &block->nodes[0];
        } else {
            node = pool.freeList;
            pool.freeList = node->op[0];
            pool.freeCount -= 1;
        }
    }
    std::memset(static_cast<void*>(node), 0, sizeof(dbOpNode));
    node->kind = static_cast<uint8_t>(kind);
    node->type = static_cast<uint8_t>(type);
    return node;
}

void dbFreeNode(dbOpNode* node)
{
    if (node == nullptr)
        return;
    if (node->kind == dbStrLiteral)
        std::free(node->str.chars);
    NodePool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.lock);
    node->kind = dbFreedNode;
    node->op[0] = pool.freeList;
    pool.freeList = node;
    pool.freeCount += 1;
}

int dbNodeOperandCount(int kind)
{
    if (kind < dbLoadCurrent)
        return 1;  // base (may be null)
    if (kind <= dbLoadCurrent + 20)
        return 0;
    switch (kind) {
      case dbRectArea: case dbArrayLength: case dbStringLength:
      case dbNot: case dbIsNull: case dbIntNeg: case dbIntNot: case dbIntAbs:
      case dbRealNeg: case dbRealAbs:
      case dbUpper: case dbLower: case dbIntToRef: case dbIntToReal: case dbRealToInt:
      case dbIntToStr: case dbRealToStr: case dbDeref: case dbExists:
        return 1;
      case dbIntBetween: case dbRawBetween: case dbRealBetween: case dbStrBetween:
      case dbLikeEscape:
        return 3;
      case dbEmpty: case dbExistsVar: case dbFreedNode:
        return 0;
      default:
        break;
    }
    if (kind >= dbLitFirst && kind <= dbLast)
        return 0;
    if (kind >= dbUserFunction && kind < dbUserFunction + dbCustomFunction::KindCount)
        return dbCustomFunction::ArgumentCount(kind - dbUserFunction);
    return 2;
}

// Iterative along each node's last operand, so that long OR and AND chains
// (right-nested) need no deep recursion.
void dbDestroyTree(dbOpNode* node)
{
    while (node != nullptr) {
        int n = dbNodeOperandCount(node->kind);
        for (int i = 0; i + 1 < n; i++)
            dbDestroyTree(node->op[i]);
        dbOpNode* last = n > 0 ? node->op[n - 1] : nullptr;
        dbFreeNode(node);
        node = last;
    }
}

static dbOpNode* CopyNode(const dbOpNode* node)
{
    dbOpNode* copy = dbNewNode(node->kind, node->type);
    std::memcpy(static_cast<void*>(copy), node, sizeof(dbOpNode));
    if (node->kind == dbStrLiteral) {
        copy->str.chars = static_cast<char*>(std::malloc(node->str.len));
        if (copy->str.chars == nullptr) {
            copy->kind = dbEmpty;
            dbFreeNode(copy);
            throw std::bad_alloc();
        }
        std::memcpy(copy->str.chars, node->str.chars, node->str.len);
        return copy;
    }
    for (int i = 0; i < dbNodeOperandCount(node->kind); i++)
        copy->op[i] = nullptr;
    return copy;
}

dbOpNode* dbCopyTree(const dbOpNode* node)
{
    dbOpNode* root = nullptr;
    dbOpNode** link = &root;
    try {
        while (node != nullptr) {
            dbOpNode* copy = CopyNode(node);
            *link = copy;
            int n = dbNodeOperandCount(node->kind);
            for (int i = 0; i + 1 < n; i++)
                copy->op[i] = dbCopyTree(node->op[i]);
            link = n > 0 ? &copy->op[n - 1] : nullptr;
            node = n > 0 ? node->op[n - 1] : nullptr;
        }
    } catch (...) {
        dbDestroyTree(root);
        throw;
    }
    return root;
}

void dbFreeOrderKeys(dbOrderKey* key)
{
    while (key != nullptr) {
        dbOrderKey* next = key->next;
        dbDestroyTree(key->expr);
        delete key;
        key = next;
    }
}

void dbFreeFollowFields(dbFollowField* field)
{
    while (field != nullptr) {
        dbFollowField* next = field->next;
        delete field;
        field = next;
    }
}

void dbQueryTree::Clear()
{
    dbDestroyTree(root);
    root = nullptr;
    dbFreeOrderKeys(order);
    order = nullptr;
    dbFreeFollowFields(follow);
    follow = nullptr;
    table = nullptr;
    limit = false;
    limitStart = 0;
    limitCount = 0;
    limitStartVar = nullptr;
    limitCountVar = nullptr;
    startFrom = dbStartNone;
    startFromVar = nullptr;
}

size_t dbNodePoolFreeCount()
{
    NodePool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.lock);
    return pool.freeCount;
}
