// The T-tree. Node and record addresses are taken afresh after every step
// that may allocate (making an object private, creating a node), since
// allocation may move objects.
//
// Every key comparison reads a record elsewhere in the image, so an insertion
// or removal first finds its way down comparing with the first item of each
// node only (the node that holds or bounds an item is the last one on the way
// whose first item does not order after it) and then changes the tree along
// that way. All comparisons come before the first change, so the key is read
// in place from its record.
#include "MemDB/dbTreeIndex.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbIndexSearch.h"

static_assert(sizeof(dbTtreeNode) == 512, "tree node layout");

namespace {

// The way down from a node to the node where an item is or goes: at each
// level whether it turns right, and whether the item orders strictly inside
// the last node's first and last items.
struct Route {
    // A 2 GB image holds under 2^22 nodes; an AVL tree of n nodes is under
    // 1.45 log2(n + 2) levels deep.
    enum { MaxLevels = 48 };
    bool right[MaxLevels];
    int last = -1;
    uint32_t lastNode = 0; // the node at level `last`
    bool inside = false;
    // Every item of the last node holds the item's key, so that identifiers
    // alone order the item among them (set with `inside`).
    bool sameKeys = false;
    // Of the last node on the way whose first item does not order after
    // the item: whether that first item holds the key, and whether every
    // item of the node does.
    bool boundFirstSame = false;
    bool boundAllSame = false;
};

struct Tree {
    dbEngine* db;
    int type;
    size_t size;
    dbComparator cmp;
    size_t offs;

    const dbTtreeNode* Node(uint32_t id) const
    {
        return reinterpret_cast<const dbTtreeNode*>(db->GetObject(id));
    }
    dbTtreeNode* Writable(uint32_t id) const
    {
        return reinterpret_cast<dbTtreeNode*>(db->PutObject(id));
    }
    const void* KeyOf(uint32_t recordId) const
    {
        auto* rec = reinterpret_cast<const uint8_t*>(db->GetRow(recordId));
        if (type == dbFieldInfo::tpString) {
            uint32_t at;
            memcpy(&at, rec + offs + 4, 4);
            return rec + at;
        }
        return rec + offs;
    }
    // The usual key types compared inline; the rest as the field says.
    int Compare(const void* key, uint32_t recordId) const
    {
        const void* other = KeyOf(recordId);
        if (type == dbFieldInfo::tpInt4) {
            int32_t x, y;
            memcpy(&x, key, 4);
            memcpy(&y, other, 4);
            return x < y ? -1 : x > y;
        }
        if (type == dbFieldInfo::tpString) {
            // Keys are short and differ early: a loop here beats a call.
            // Bytes compare unsigned, as in strcmp.
            auto* x = static_cast<const unsigned char*>(key);
            auto* y = static_cast<const unsigned char*>(other);
            while (*x == *y && *x != 0) {
                x++;
                y++;
            }
            return *x < *y ? -1 : *x > *y;
        }
        return dbFieldInfo::CompareKeys(type, key, other, size, cmp);
    }
    // Items are ordered by key and, among equal keys, by record identifier,
    // so that inserting, removing and finding one record is logarithmic
    // however many records share its key.
    int CompareItem(const void* key, uint32_t keyId, uint32_t item) const
    {
        int c = Compare(key, item);
        if (c != 0)
            return c;
        return CompareIds(keyId, item);
    }
    static int CompareIds(uint32_t keyId, uint32_t item) { return keyId < item ? -1 : keyId > item; }
    uint32_t NewNode(uint32_t recordId) const
    {
        uint32_t id = db->AllocateObject(dbTtreeNodeKind);
        dbTtreeNode* n = Writable(id);
        memset(n, 0, sizeof(*n));
        n->nItems = 1;
        n->item[0] = recordId;
        return id;
    }

    // The key's field, and for a text the line after it, where its bytes
    // usually are: the record's fixed part comes before its texts.
    void LoadRecord(uint32_t recordId) const
    {
        const char* field = db->GetRow(recordId) + offs;
        __builtin_prefetch(field);
        if (type == dbFieldInfo::tpString)
            __builtin_prefetch(field + 64);
    }
    // Starts loading the records a binary search over items [l, r) of n may
    // compare next, once it has compared item m.
    void LoadNextProbes(const dbTtreeNode* n, int l, int m, int r) const
    {
        if (l < m)
            LoadRecord(n->item[(l + m) / 2]);
        if (m + 1 < r)
            LoadRecord(n->item[(m + 1 + r) / 2]);
    }
    // Starts loading what the way down from n reads next while n's first item
    // is compared: its children, prefetched one level earlier, give the
    // records of their first items and their own children.
    void LoadAhead(const dbTtreeNode* n) const
    {
        for (const uint32_t childId : {n->left, n->right}) {
            if (childId == 0)
                continue;
            const dbTtreeNode* child = Node(childId);
            LoadRecord(child->item[0]);
            if (child->left != 0)
                __builtin_prefetch(Node(child->left));
            if (child->right != 0)
                __builtin_prefetch(Node(child->right));
        }
    }
    // The way from nodeId (not 0) down to its end, comparing the item with
    // the first item of each node only. Returns the level of the last node
    // on it whose first item does not order after the item (the one node
    // that may hold or bound it) with that node in boundId, -1 when every
    // first item orders after it.
    int Locate(uint32_t nodeId, uint32_t recordId, const void* key, Route& route, uint32_t& boundId) const;
    // The way from nodeId that turns right (or left) as `first` says, then
    // as `then` says down to the end: Way(id, false, true) leads to where an
    // item ordering before every item of node id and after every item of its
    // left subtree goes; Way(id, true, true) to the rightmost node.
    Route Way(uint32_t nodeId, bool first, bool then) const;

    bool Insert(uint32_t& nodeId, uint32_t recordId, const void* key, const Route& route, int level) const;
    bool GrewLeft(uint32_t& nodeId) const;
    bool GrewRight(uint32_t& nodeId) const;
    int Remove(uint32_t& nodeId, uint32_t recordId, const Route& route, int level) const;
    int ShrankLeft(uint32_t& nodeId) const;
    int ShrankRight(uint32_t& nodeId) const;
    void Free(uint32_t nodeId) const;
    // Whether the tree below nodeId holds recordId under key: the way to it.
    bool Find(uint32_t nodeId, uint32_t recordId, const void* key, Route& route) const;
    // The way from nodeId (not 0) to where recordId goes under key.
    Route InsertionWay(uint32_t nodeId, uint32_t recordId, const void* key) const;
};

int Tree::Locate(uint32_t nodeId, uint32_t recordId, const void* key, Route& route, uint32_t& boundId) const
{
    int bound = -1;
    // Once the way has turned right at a node whose first item holds the key
    // and left at another such node, every item below holds it: a run of
    // equal keys is searched by identifier without reading its records.
    bool atLeastKey = false, atMostKey = false;
    for (int level = 0;; ++level) {
        const dbTtreeNode* n = Node(nodeId);
        const bool sameKeys = atLeastKey && atMostKey;
        int keyOrder = 0;
        if (!sameKeys) {
            LoadAhead(n);
            keyOrder = Compare(key, n->item[0]);
        }
        const bool right = (keyOrder != 0 ? keyOrder : CompareIds(recordId, n->item[0])) >= 0;
        route.right[level] = right;
        if (right) {
            bound = level;
            boundId = nodeId;
            route.boundFirstSame = keyOrder == 0;
            route.boundAllSame = sameKeys;
            atLeastKey = atLeastKey || keyOrder == 0;
            // An insertion compares with the last item of the last such node.
            if (!sameKeys)
                LoadRecord(n->item[n->nItems - 1]);
        } else {
            atMostKey = atMostKey || keyOrder == 0;
        }
        const uint32_t next = right ? n->right : n->left;
        if (next == 0) {
            route.last = level;
            route.lastNode = nodeId;
            route.inside = false;
            break;
        }
        nodeId = next;
        assert(level + 1 < Route::MaxLevels);
    }
    return bound;
}

Route Tree::Way(uint32_t nodeId, bool first, bool then) const
{
    Route route;
    for (int level = 0;; ++level) {
        const dbTtreeNode* n = Node(nodeId);
        const bool right = level == 0 ? first : then;
        route.right[level] = right;
        const uint32_t next = right ? n->right : n->left;
        if (next == 0) {
            route.last = level;
            route.lastNode = nodeId;
            return route;
        }
        nodeId = next;
        assert(level + 1 < Route::MaxLevels);
    }
}

Route Tree::InsertionWay(uint32_t nodeId, uint32_t recordId, const void* key) const
{
    Route route;
    uint32_t boundId = 0;
    const int bound = Locate(nodeId, recordId, key, route, boundId);
    if (bound >= 0) {
        const dbTtreeNode* n = Node(boundId);
        const uint32_t last = n->item[n->nItems - 1];
        const int keyOrder = route.boundAllSame ? 0 : Compare(key, last);
        if ((keyOrder != 0 ? keyOrder : CompareIds(recordId, last)) < 0) {
            route.last = bound;
            route.lastNode = boundId;
            route.inside = true;
            // The items lie in key order between a first and a last that
            // both hold the key.
            route.sameKeys = route.boundFirstSame && keyOrder == 0;
        }
    }
    return route;
}

bool Tree::Find(uint32_t nodeId, uint32_t recordId, const void* key, Route& route) const
{
    if (nodeId == 0)
        return false;
    uint32_t boundId = 0;
    const int bound = Locate(nodeId, recordId, key, route, boundId);
    if (bound < 0)
        return false;
    route.last = bound;
    route.lastNode = boundId;
    const dbTtreeNode* n = Node(boundId);
    for (int i = 0; i < n->nItems; ++i)
        if (n->item[i] == recordId)
            return true;
    return false;
}

// Makes both nodes private before either address is used.
void MakePrivate(const Tree& t, uint32_t a, uint32_t b)
{
    t.Writable(a);
    t.Writable(b);
}

bool Tree::GrewLeft(uint32_t& nodeId) const
{
    dbTtreeNode* n = Writable(nodeId);
    if (n->balance > 0) {
        n->balance = 0;
        return false;
    }
    if (n->balance == 0) {
        n->balance = -1;
        return true;
    }
    uint32_t leftId = n->left;
    MakePrivate(*this, nodeId, leftId);
    n = Writable(nodeId);
    dbTtreeNode* l = Writable(leftId);
    if (l->balance < 0) {
        n->left = l->right;
        l->right = nodeId;
        n->balance = l->balance = 0;
        nodeId = leftId;
        return false;
    }
    uint32_t grandId = l->right;
    MakePrivate(*this, nodeId, leftId);
    Writable(grandId);
    n = Writable(nodeId);
    l = Writable(leftId);
    dbTtreeNode* g = Writable(grandId);
    l->right = g->left;
    n->left = g->right;
    g->left = leftId;
    g->right = nodeId;
    n->balance = g->balance < 0 ? 1 : 0;
    l->balance = g->balance > 0 ? -1 : 0;
    g->balance = 0;
    nodeId = grandId;
    return false;
}

bool Tree::GrewRight(uint32_t& nodeId) const
{
    dbTtreeNode* n = Writable(nodeId);
    if (n->balance < 0) {
        n->balance = 0;
        return false;
    }
    if (n->balance == 0) {
        n->balance = 1;
        return true;
    }
    uint32_t rightId = n->right;
    MakePrivate(*this, nodeId, rightId);
    n = Writable(nodeId);
    dbTtreeNode* r = Writable(rightId);
    if (r->balance > 0) {
        n->right = r->left;
        r->left = nodeId;
        n->balance = r->balance = 0;
        nodeId = rightId;
        return false;
    }
    uint32_t grandId = r->left;
    MakePrivate(*this, nodeId, rightId);
    Writable(grandId);
    n = Writable(nodeId);
    r = Writable(rightId);
    dbTtreeNode* g = Writable(grandId);
    r->left = g->right;
    n->right = g->left;
    g->right = rightId;
    g->left = nodeId;
    n->balance = g->balance > 0 ? -1 : 0;
    r->balance = g->balance < 0 ? 1 : 0;
    g->balance = 0;
    nodeId = grandId;
    return false;
}

bool Tree::Insert(uint32_t& nodeId, uint32_t recordId, const void* key, const Route& route, int level) const
{
    const dbTtreeNode* n = Node(nodeId);
    int count = n->nItems;
    if (level == route.last && route.inside) {
        // Strictly between the first and the last item.
        int l = 1, r = count - 1;
        while (l < r) {
            int m = (l + r) / 2;
            int c;
            if (route.sameKeys) {
                c = CompareIds(recordId, n->item[m]);
            } else {
                LoadNextProbes(n, l, m, r);
                c = CompareItem(key, recordId, n->item[m]);
            }
            if (c == 0) {
                l = m;
                break;
            }
            if (c > 0)
                l = m + 1;
            else
                r = m;
        }
        dbTtreeNode* w = Writable(nodeId);
        if (count < dbTtreeNode::MaxItems) {
            memmove(&w->item[l + 1], &w->item[l], (count - l) * sizeof(uint32_t));
            w->item[l] = recordId;
            w->nItems = static_cast<uint16_t>(count + 1);
            return false;
        }
        // Full: the first (or last) item moves down to the rightmost node on
        // the left (leftmost on the right), where it orders after (before)
        // every item.
        uint32_t pushed;
        const bool left = w->balance >= 0;
        if (!left) {
            pushed = w->item[count - 1];
            memmove(&w->item[l + 1], &w->item[l], (count - 1 - l) * sizeof(uint32_t));
            w->item[l] = recordId;
        } else {
            pushed = w->item[0];
            memmove(&w->item[0], &w->item[1], (l - 1) * sizeof(uint32_t));
            w->item[l - 1] = recordId;
        }
        return Insert(nodeId, pushed, nullptr, Way(nodeId, !left, left), 0);
    }
    if (!route.right[level]) {
        if (count < dbTtreeNode::MaxItems && n->left == 0) {
            dbTtreeNode* w = Writable(nodeId);
            memmove(&w->item[1], &w->item[0], count * sizeof(uint32_t));
            w->item[0] = recordId;
            w->nItems = static_cast<uint16_t>(count + 1);
            return false;
        }
        if (n->left == 0) {
            uint32_t child = NewNode(recordId);
            Writable(nodeId)->left = child;
        } else {
            uint32_t child = n->left;
            bool grew = Insert(child, recordId, key, route, level + 1);
            if (child != Node(nodeId)->left)
                Writable(nodeId)->left = child;
            if (!grew)
                return false;
        }
        return GrewLeft(nodeId);
    }
    if (count < dbTtreeNode::MaxItems && n->right == 0) {
        dbTtreeNode* w = Writable(nodeId);
        w->item[count] = recordId;
        w->nItems = static_cast<uint16_t>(count + 1);
        return false;
    }
    if (n->right == 0) {
        uint32_t child = NewNode(recordId);
        Writable(nodeId)->right = child;
    } else {
        uint32_t child = n->right;
        bool grew = Insert(child, recordId, key, route, level + 1);
        if (child != Node(nodeId)->right)
            Writable(nodeId)->right = child;
        if (!grew)
            return false;
    }
    return GrewRight(nodeId);
}

int Tree::ShrankLeft(uint32_t& nodeId) const
{
    dbTtreeNode* n = Writable(nodeId);
    if (n->balance < 0) {
        n->balance = 0;
        return 1;
    }
    if (n->balance == 0) {
        n->balance = 1;
        return 0;
    }
    uint32_t rightId = n->right;
    MakePrivate(*this, nodeId, rightId);
    n = Writable(nodeId);
    dbTtreeNode* r = Writable(rightId);
    if (r->balance >= 0) {
        n->right = r->left;
        r->left = nodeId;
        nodeId = rightId;
        if (r->balance == 0) {
            n->balance = 1;
            r->balance = -1;
            return 0;
        }
        n->balance = r->balance = 0;
        return 1;
    }
    uint32_t grandId = r->left;
    MakePrivate(*this, nodeId, rightId);
    Writable(grandId);
    n = Writable(nodeId);
    r = Writable(rightId);
    dbTtreeNode* g = Writable(grandId);
    r->left = g->right;
    n->right = g->left;
    g->right = rightId;
    g->left = nodeId;
    n->balance = g->balance > 0 ? -1 : 0;
    r->balance = g->balance < 0 ? 1 : 0;
    g->balance = 0;
    nodeId = grandId;
    return 1;
}

int Tree::ShrankRight(uint32_t& nodeId) const
{
    dbTtreeNode* n = Writable(nodeId);
    if (n->balance > 0) {
        n->balance = 0;
        return 1;
    }
    if (n->balance == 0) {
        n->balance = -1;
        return 0;
    }
    uint32_t leftId = n->left;
    MakePrivate(*this, nodeId, leftId);
    n = Writable(nodeId);
    dbTtreeNode* l = Writable(leftId);
    if (l->balance <= 0) {
        n->left = l->right;
        l->right = nodeId;
        nodeId = leftId;
        if (l->balance == 0) {
            n->balance = -1;
            l->balance = 1;
            return 0;
        }
        n->balance = l->balance = 0;
        return 1;
    }
    uint32_t grandId = l->right;
    MakePrivate(*this, nodeId, leftId);
    Writable(grandId);
    n = Writable(nodeId);
    l = Writable(leftId);
    dbTtreeNode* g = Writable(grandId);
    l->right = g->left;
    n->left = g->right;
    g->left = leftId;
    g->right = nodeId;
    n->balance = g->balance < 0 ? 1 : 0;
    l->balance = g->balance > 0 ? -1 : 0;
    g->balance = 0;
    nodeId = grandId;
    return 1;
}

int Tree::Remove(uint32_t& nodeId, uint32_t recordId, const Route& route, int level) const
{
    const dbTtreeNode* n = Node(nodeId);
    if (level < route.last) {
        const bool right = route.right[level];
        uint32_t child = right ? n->right : n->left;
        int h = Remove(child, recordId, route, level + 1);
        if (child != (right ? Node(nodeId)->right : Node(nodeId)->left)) {
            dbTtreeNode* w = Writable(nodeId);
            (right ? w->right : w->left) = child;
        }
        return h > 0 ? (right ? ShrankRight(nodeId) : ShrankLeft(nodeId)) : 0;
    }
    int count = n->nItems;
    int p = 0;
    while (n->item[p] != recordId)
        ++p;
    if (count == 1 && (n->right == 0 || n->left == 0)) {
        uint32_t child = n->right == 0 ? n->left : n->right;
        db->FreeObject(nodeId);
        nodeId = child;
        return 1;
    }
    // A node with a subtree borrows the item next to its own from it rather
    // than shrink.
    if (count <= dbTtreeNode::MaxItems - 2 && (n->left != 0 || n->right != 0)) {
        if (n->left != 0 && n->balance <= 0) {
            const Route down = Way(n->left, true, true);
            const dbTtreeNode* m = Node(down.lastNode);
            uint32_t moved = m->item[m->nItems - 1];
            dbTtreeNode* w = Writable(nodeId);
            memmove(&w->item[1], &w->item[0], p * sizeof(uint32_t));
            w->item[0] = moved;
            uint32_t child = w->left;
            int h = Remove(child, moved, down, 0);
            if (child != Node(nodeId)->left)
                Writable(nodeId)->left = child;
            return h > 0 ? ShrankLeft(nodeId) : 0;
        }
        if (n->right != 0) {
            const Route down = Way(n->right, false, false);
            uint32_t moved = Node(down.lastNode)->item[0];
            dbTtreeNode* w = Writable(nodeId);
            memmove(&w->item[p], &w->item[p + 1], (count - p - 1) * sizeof(uint32_t));
            w->item[count - 1] = moved;
            uint32_t child = w->right;
            int h = Remove(child, moved, down, 0);
            if (child != Node(nodeId)->right)
                Writable(nodeId)->right = child;
            return h > 0 ? ShrankRight(nodeId) : 0;
        }
    }
    dbTtreeNode* w = Writable(nodeId);
    memmove(&w->item[p], &w->item[p + 1], (count - p - 1) * sizeof(uint32_t));
    w->nItems = static_cast<uint16_t>(count - 1);
    return 0;
}

void Tree::Free(uint32_t nodeId) const
{
    const dbTtreeNode* n = Node(nodeId);
    uint32_t left = n->left, right = n->right;
    db->FreeObject(nodeId);
    if (left)
        Free(left);
    if (right)
        Free(right);
}

Tree MakeTree(dbEngine* db, int type, size_t size, dbComparator cmp, size_t offs)
{
    return Tree{db, type, size, cmp, offs};
}

Tree MakeTree(const dbIndexSearch& s)
{
    return Tree{s.db, s.type, s.sizeofType, s.comparator, s.offs};
}

uint32_t Root(dbEngine* db, uint32_t treeId)
{
    uint32_t root;
    memcpy(&root, db->GetObject(treeId), 4);
    return root;
}

void SetRoot(dbEngine* db, uint32_t treeId, uint32_t root)
{
    memcpy(db->PutObject(treeId), &root, 4);
}

// Filter and adding rule; false stops the whole search.
bool Report(dbIndexSearch& s, uint32_t id)
{
    if (s.filter && !s.filter(s, id))
        return true;
    return s.cursor->Add(id);
}

// Reports an item of a range search; false stops the search.
bool ReportInRange(const Tree& t, dbIndexSearch& s, uint32_t id)
{
    if (s.lastKey) {
        int c = t.Compare(s.lastKey, id);
        if (c < 0 || (c == 0 && !s.lastKeyInclusion))
            return false;
    }
    if (s.prefixLength != 0) {
        auto* key = static_cast<const char*>(t.KeyOf(id));
        if (strncmp(key, static_cast<const char*>(s.firstKey), s.prefixLength) != 0)
            return false;
    }
    return Report(s, id);
}

bool FindInRange(const Tree& t, uint32_t nodeId, dbIndexSearch& s)
{
    while (nodeId != 0) {
        s.probes += 1;
        const dbTtreeNode* n = t.Node(nodeId);
        int count = n->nItems;
        int start = 0;
        if (s.firstKey) {
            // The last item and the children load while the first is compared.
            t.LoadRecord(n->item[count - 1]);
            t.LoadAhead(n);
            int c = t.Compare(s.firstKey, n->item[0]);
            if (c < 0 || (c == 0 && s.firstKeyInclusion)) {
                if (n->left && !FindInRange(t, n->left, s))
                    return false;
                n = t.Node(nodeId);
            } else {
                c = t.Compare(s.firstKey, n->item[count - 1]);
                if (c > 0 || (c == 0 && !s.firstKeyInclusion)) {
                    nodeId = n->right;
                    continue;
                }
                int l = 0, r = count;
                while (l < r) {
                    int m = (l + r) / 2;
                    t.LoadNextProbes(n, l, m, r);
                    c = t.Compare(s.firstKey, n->item[m]);
                    if (c > 0 || (c == 0 && !s.firstKeyInclusion))
                        l = m + 1;
                    else
                        r = m;
                }
                start = l;
            }
        } else if (n->left) {
            if (!FindInRange(t, n->left, s))
                return false;
            n = t.Node(nodeId);
        }
        for (int i = start; i < count; ++i) {
            if (!ReportInRange(t, s, t.Node(nodeId)->item[i]))
                return false;
        }
        nodeId = t.Node(nodeId)->right;
    }
    return true;
}

enum Walk { Go, Stop, End };

// In-order walk reporting keys that are prefixes of the value; End once a
// key above the value over its own length is reached.
Walk FindPrefixes(const Tree& t, uint32_t nodeId, dbIndexSearch& s, const char* value)
{
    if (nodeId == 0)
        return Go;
    s.probes += 1;
    Walk w = FindPrefixes(t, t.Node(nodeId)->left, s, value);
    if (w != Go)
        return w;
    int count = t.Node(nodeId)->nItems;
    for (int i = 0; i < count; ++i) {
        uint32_t id = t.Node(nodeId)->item[i];
        auto* key = static_cast<const char*>(t.KeyOf(id));
        int c = strncmp(key, value, strlen(key));
        if (c > 0)
            return End;
        if (c == 0 && !Report(s, id))
            return Stop;
    }
    return FindPrefixes(t, t.Node(nodeId)->right, s, value);
}

bool WalkNodes(const Tree& t, uint32_t nodeId, dbIndexSearch& s, bool forward)
{
    while (nodeId != 0) {
        s.probes += 1;
        const dbTtreeNode* n = t.Node(nodeId);
        if (!WalkNodes(t, forward ? n->left : n->right, s, forward))
            return false;
        int count = t.Node(nodeId)->nItems;
        for (int i = 0; i < count; ++i) {
            if (!Report(s, t.Node(nodeId)->item[forward ? i : count - 1 - i]))
                return false;
        }
        n = t.Node(nodeId);
        nodeId = forward ? n->right : n->left;
    }
    return true;
}

// Queued insertions that a step about one record must see first. Only a
// record inserted or re-keyed since the last commit, and so no longer shared
// with it, can be queued; the rest of the queue does not bear on the record.
void SettleFor(dbEngine* db, uint32_t treeId, uint32_t recordId)
{
    if (!db->IsShared(recordId))
        db->GetTreeBatches().Settle(db, treeId);
}

} // namespace

uint32_t dbTreeIndex::Create(dbEngine* db)
{
    uint32_t id = db->AllocateObject(dbTtreeKind);
    SetRoot(db, id, 0);
    return id;
}

void dbTreeIndex::Insert(dbEngine* db, uint32_t treeId, uint32_t recordId, int type,
                         size_t size, dbComparator cmp, size_t offs)
{
    Tree t = MakeTree(db, type, size, cmp, offs);
    uint32_t root = Root(db, treeId);
    uint32_t newRoot = root;
    if (root == 0) {
        newRoot = t.NewNode(recordId);
    } else {
        const void* key = t.KeyOf(recordId);
        t.Insert(newRoot, recordId, key, t.InsertionWay(root, recordId, key), 0);
    }
    if (newRoot != root)
        SetRoot(db, treeId, newRoot);
}

void dbTreeIndex::Remove(dbEngine* db, uint32_t treeId, uint32_t recordId, int type,
                         size_t size, dbComparator cmp, size_t offs)
{
    SettleFor(db, treeId, recordId);
    uint32_t root = Root(db, treeId);
    if (root == 0)
        return;
    Tree t = MakeTree(db, type, size, cmp, offs);
    Route route;
    if (!t.Find(root, recordId, t.KeyOf(recordId), route))
        return;
    uint32_t newRoot = root;
    t.Remove(newRoot, recordId, route, 0);
    if (newRoot != root)
        SetRoot(db, treeId, newRoot);
}

int dbTreeIndex::Contains(dbEngine* db, uint32_t treeId, uint32_t recordId, const void* key,
                          int type, size_t size, dbComparator cmp, size_t offs)
{
    SettleFor(db, treeId, recordId);
    Route route;
    return MakeTree(db, type, size, cmp, offs).Find(Root(db, treeId), recordId, key, route) ? 1 : 0;
}

void dbTreeIndex::Clear(dbEngine* db, uint32_t treeId)
{
    db->GetTreeBatches().Discard(treeId);
    uint32_t root = Root(db, treeId);
    if (root != 0) {
        MakeTree(db, 0, 0, nullptr, 0).Free(root);
        SetRoot(db, treeId, 0);
    }
}

void dbTreeIndex::Drop(dbEngine* db, uint32_t treeId)
{
    Clear(db, treeId);
    db->FreeObject(treeId);
}

bool dbTreeIndex::Find(dbEngine* db, uint32_t treeId, dbIndexSearch& search)
{
    db->GetTreeBatches().Settle(db, treeId);
    return FindInRange(MakeTree(search), Root(db, treeId), search);
}

bool dbTreeIndex::FindPrefixesOf(dbEngine* db, uint32_t treeId, dbIndexSearch& search)
{
    db->GetTreeBatches().Settle(db, treeId);
    auto* value = static_cast<const char*>(search.firstKey);
    return FindPrefixes(MakeTree(search), Root(db, treeId), search, value) != Stop;
}

bool dbTreeIndex::WalkForward(dbEngine* db, uint32_t treeId, dbIndexSearch& search)
{
    db->GetTreeBatches().Settle(db, treeId);
    return WalkNodes(MakeTree(search), Root(db, treeId), search, true);
}

bool dbTreeIndex::WalkBackward(dbEngine* db, uint32_t treeId, dbIndexSearch& search)
{
    db->GetTreeBatches().Settle(db, treeId);
    return WalkNodes(MakeTree(search), Root(db, treeId), search, false);
}
