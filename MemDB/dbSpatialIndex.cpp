// The R-tree. Pages are read into local copies and written back through
// the engine's copy-on-write step, so no address into the image is held
// across an allocation.
#include "MemDB/dbSpatialIndex.h"

#include <cstring>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbIndexSearch.h"
#include "MemDB/dbRectangle.h"

static_assert(sizeof(dbRtreeBranch) == 20, "R-tree branch layout");
static_assert(sizeof(dbRtreePage) == 4084, "R-tree page layout");
static_assert(sizeof(dbRtreeHeader) == 8, "R-tree header layout");

namespace {

struct Tree {
    dbEngine* db;
    uint32_t treeId;

    dbRtreeHeader Header() const
    {
        dbRtreeHeader h;
        memcpy(&h, db->GetObject(treeId), sizeof h);
        return h;
    }
    void SetHeader(const dbRtreeHeader& h) const { memcpy(db->PutObject(treeId), &h, sizeof h); }
    void Read(uint32_t page, dbRtreePage& p) const
    {
        memcpy(&p, db->GetObject(page), sizeof p);
    }
    void Write(uint32_t page, const dbRtreePage& p) const
    {
        memcpy(db->PutObject(page), &p, sizeof p);
    }
    uint32_t NewPage(const dbRtreePage& p) const
    {
        uint32_t id = db->AllocateObject(dbRtreePageKind);
        memcpy(db->GetRow(id), &p, sizeof p);
        return id;
    }
    dbRectangle Cover(uint32_t page) const
    {
        dbRtreePage p;
        Read(page, p);
        return CoverOf(p);
    }
    static dbRectangle CoverOf(const dbRtreePage& p)
    {
        dbRectangle r = p.branch[0].rect;
        for (uint32_t i = 1; i < p.n; i++)
            r = dbRectangleCover(r, p.branch[i].rect);
        return r;
    }

    uint32_t InsertAt(uint32_t page, uint32_t level, const dbRtreeBranch& b, uint32_t target) const;
    uint32_t AddBranch(uint32_t page, dbRtreePage& p, const dbRtreeBranch& b) const;
    void InsertBranch(const dbRtreeBranch& b, uint32_t level) const;
    struct Taken {
        uint32_t page;
        uint32_t level;
    };
    bool RemoveFrom(uint32_t page, uint32_t level, const dbRectangle& r, uint32_t record,
                    std::vector<Taken>& taken) const;
    void Free(uint32_t page, uint32_t level) const;
    bool Search(uint32_t page, uint32_t level, const dbRectangle& q, dbIndexSearch& s) const;
};

// The branch needing the least enlargement to cover r; then the smaller
// area; then the first.
uint32_t ChooseBranch(const dbRtreePage& p, const dbRectangle& r)
{
    uint32_t best = 0;
    dbArea bestGrowth = 0, bestArea = 0;
    for (uint32_t i = 0; i < p.n; i++) {
        dbArea area = dbRectangleArea(p.branch[i].rect);
        dbArea growth = dbRectangleArea(dbRectangleCover(p.branch[i].rect, r)) - area;
        if (i == 0 || growth < bestGrowth || (growth == bestGrowth && area < bestArea)) {
            best = i;
            bestGrowth = growth;
            bestArea = area;
        }
    }
    return best;
}

// Splits the page's branches and b into two groups: the first goes to a
// new page, whose identifier is returned, the second stays.
uint32_t Split(const Tree& t, uint32_t page, dbRtreePage& p, const dbRtreeBranch& b)
{
    const uint32_t total = dbRtreePage::MaxBranches + 1;
    const uint32_t fill = dbRtreePage::MinBranches + 1;
    dbRtreeBranch all[total];
    dbArea area[total];
    all[0] = b;
    memcpy(all + 1, p.branch, sizeof p.branch);
    for (uint32_t i = 0; i < total; i++)
        area[i] = dbRectangleArea(all[i].rect);

    uint32_t seed[2] = {0, 1};
    dbArea worst = 0;
    for (uint32_t i = 0; i < total; i++) {
        for (uint32_t j = i + 1; j < total; j++) {
            dbArea waste = dbRectangleArea(dbRectangleCover(all[i].rect, all[j].rect)) - area[i]
                         - area[j];
            if ((i == 0 && j == 1) || waste > worst) {
                worst = waste;
                seed[0] = i;
                seed[1] = j;
            }
        }
    }
    int group[total];
    uint32_t count[2] = {1, 1};
    dbRectangle cover[2] = {all[seed[0]].rect, all[seed[1]].rect};
    dbArea coverArea[2] = {area[seed[0]], area[seed[1]]};
    for (uint32_t i = 0; i < total; i++)
        group[i] = -1;
    group[seed[0]] = 0;
    group[seed[1]] = 1;
    uint32_t left = total - 2;
    while (left > 0 && count[0] < fill && count[1] < fill) {
        int pick = -1;
        dbArea pickDiff = 0, pickGrowth[2] = {0, 0};
        for (uint32_t i = 0; i < total; i++) {
            if (group[i] >= 0)
                continue;
            dbArea growth[2];
            for (int g = 0; g < 2; g++)
                growth[g] = dbRectangleArea(dbRectangleCover(cover[g], all[i].rect)) - coverArea[g];
            dbArea diff = growth[0] > growth[1] ? growth[0] - growth[1] : growth[1] - growth[0];
            if (pick < 0 || diff > pickDiff) {
                pick = static_cast<int>(i);
                pickDiff = diff;
                pickGrowth[0] = growth[0];
                pickGrowth[1] = growth[1];
            }
        }
        int g = pickGrowth[0] < pickGrowth[1] ? 0 : 1;
        group[pick] = g;
        count[g] += 1;
        cover[g] = dbRectangleCover(cover[g], all[pick].rect);
        coverArea[g] = dbRectangleArea(cover[g]);
        left -= 1;
    }
    for (uint32_t i = 0; i < total; i++) {
        if (group[i] < 0) {
            group[i] = count[0] < count[1] ? 0 : 1;
            count[group[i]] += 1;
        }
    }
    dbRtreePage made;
    memset(&made, 0, sizeof made);
    p.n = 0;
    for (uint32_t i = 0; i < total; i++) {
        dbRtreePage& to = group[i] == 0 ? made : p;
        to.branch[to.n++] = all[i];
    }
    t.Write(page, p);
    return t.NewPage(made);
}

uint32_t Tree::AddBranch(uint32_t page, dbRtreePage& p, const dbRtreeBranch& b) const
{
    if (p.n < dbRtreePage::MaxBranches) {
        p.branch[p.n++] = b;
        Write(page, p);
        return 0;
    }
    return Split(*this, page, p, b);
}

// Adds b to the page at level target below page (at level); returns the
// new page when page split.
uint32_t Tree::InsertAt(uint32_t page, uint32_t level, const dbRtreeBranch& b,
                        uint32_t target) const
{
    dbRtreePage p;
    Read(page, p);
    if (level == target)
        return AddBranch(page, p, b);
    uint32_t i = ChooseBranch(p, b.rect);
    uint32_t split = InsertAt(p.branch[i].id, level - 1, b, target);
    if (split == 0) {
        p.branch[i].rect = dbRectangleCover(p.branch[i].rect, b.rect);
        Write(page, p);
        return 0;
    }
    p.branch[i].rect = Cover(p.branch[i].id);
    return AddBranch(page, p, dbRtreeBranch{Cover(split), split});
}

void Tree::InsertBranch(const dbRtreeBranch& b, uint32_t level) const
{
    dbRtreeHeader h = Header();
    if (h.height == 0) {
        dbRtreePage p;
        memset(&p, 0, sizeof p);
        p.n = 1;
        p.branch[0] = b;
        SetHeader(dbRtreeHeader{1, NewPage(p)});
        return;
    }
    uint32_t split = InsertAt(h.root, h.height, b, level);
    if (split == 0)
        return;
    dbRtreePage root;
    memset(&root, 0, sizeof root);
    root.n = 2;
    root.branch[0] = dbRtreeBranch{Cover(h.root), h.root};
    root.branch[1] = dbRtreeBranch{Cover(split), split};
    SetHeader(dbRtreeHeader{h.height + 1, NewPage(root)});
}

bool Tree::RemoveFrom(uint32_t page, uint32_t level, const dbRectangle& r, uint32_t record,
                      std::vector<Taken>& taken) const
{
    dbRtreePage p;
    Read(page, p);
    if (level == 1) {
        for (uint32_t i = 0; i < p.n; i++) {
            if (p.branch[i].id == record && dbRectanglesEqual(p.branch[i].rect, r)) {
                memmove(p.branch + i, p.branch + i + 1, (p.n - i - 1) * sizeof p.branch[0]);
                p.n -= 1;
                Write(page, p);
                return true;
            }
        }
        return false;
    }
    // A branch's cover holds every rectangle below it, improper ones too.
    for (uint32_t i = 0; i < p.n; i++) {
        if (!dbRectangleContains(p.branch[i].rect, r)
            || !RemoveFrom(p.branch[i].id, level - 1, r, record, taken))
            continue;
        dbRtreePage child;
        Read(p.branch[i].id, child);
        if (child.n >= dbRtreePage::MinBranches) {
            p.branch[i].rect = CoverOf(child);
        } else {
            taken.push_back({p.branch[i].id, level - 1});
            memmove(p.branch + i, p.branch + i + 1, (p.n - i - 1) * sizeof p.branch[0]);
            p.n -= 1;
        }
        Write(page, p);
        return true;
    }
    return false;
}

void Tree::Free(uint32_t page, uint32_t level) const
{
    if (level > 1) {
        dbRtreePage p;
        Read(page, p);
        for (uint32_t i = 0; i < p.n; i++)
            Free(p.branch[i].id, level - 1);
    }
    db->FreeObject(page);
}

// Overlap tested without short cuts: most branches of a page are tested
// and miss, and a branchless test does not mispredict.
inline bool Overlaps(const dbRectangle& a, const dbRectangle& b)
{
    return (a.left <= b.right) & (b.left <= a.right) & (a.top <= b.bottom) & (b.top <= a.bottom);
}

bool Tree::Search(uint32_t page, uint32_t level, const dbRectangle& q, dbIndexSearch& s) const
{
    s.probes += 1;
    // Read in place: a search allocates nothing, so the page stays put.
    const auto& p = *reinterpret_cast<const dbRtreePage*>(db->GetObject(page));
    const uint32_t n = p.n;
    const int op = s.spatialOp;
    if (level > 1) {
        // A subtree may hold a rectangle standing to q as op says when its
        // cover contains q (for a rectangle containing q), else overlaps q.
        const bool within = op == dbSpatialEqual || op == dbSpatialContains || op == dbSpatialStrictlyContains;
        for (uint32_t i = 0; i < n; i++) {
            const dbRtreeBranch& b = p.branch[i];
            const bool may = within ? dbRectangleContains(b.rect, q) : Overlaps(b.rect, q);
            if (may && !Search(b.id, level - 1, q, s))
                return false;
        }
        return true;
    }
    for (uint32_t i = 0; i < n; i++) {
        const dbRtreeBranch& b = p.branch[i];
        const bool hit = op == dbSpatialOverlaps ? Overlaps(b.rect, q) : dbRectanglePredicate(op, b.rect, q);
        if (hit && (!s.filter || s.filter(s, b.id)) && !s.cursor->Add(b.id))
            return false;
    }
    return true;
}

dbRectangle RecordRectangle(dbEngine* db, uint32_t recordId, size_t offs)
{
    dbRectangle r;
    memcpy(&r, db->GetRow(recordId) + offs, sizeof r);
    return r;
}

} // namespace

uint32_t dbSpatialIndex::Create(dbEngine* db)
{
    uint32_t id = db->AllocateObject(dbRtreeKind);
    Tree{db, id}.SetHeader(dbRtreeHeader{0, 0});
    return id;
}

void dbSpatialIndex::Insert(dbEngine* db, uint32_t treeId, uint32_t recordId, size_t offs)
{
    Insert(db, treeId, RecordRectangle(db, recordId, offs), recordId);
}

void dbSpatialIndex::Insert(dbEngine* db, uint32_t treeId, const dbRectangle& rect,
                            uint32_t recordId)
{
    Tree{db, treeId}.InsertBranch(dbRtreeBranch{rect, recordId}, 1);
}

void dbSpatialIndex::Remove(dbEngine* db, uint32_t treeId, uint32_t recordId, size_t offs)
{
    Tree t{db, treeId};
    dbRtreeHeader h = t.Header();
    if (h.height == 0)
        return;
    std::vector<Tree::Taken> taken;
    if (!t.RemoveFrom(h.root, h.height, RecordRectangle(db, recordId, offs), recordId, taken))
        return;
    // The highest level first: its branches are pages of the levels below.
    for (size_t k = taken.size(); k-- > 0;) {
        dbRtreePage p;
        t.Read(taken[k].page, p);
        for (uint32_t i = 0; i < p.n; i++)
            t.InsertBranch(p.branch[i], taken[k].level);
        db->FreeObject(taken[k].page);
    }
    h = t.Header();
    dbRtreePage root;
    t.Read(h.root, root);
    if (root.n == 1 && h.height > 1) {
        db->FreeObject(h.root);
        t.SetHeader(dbRtreeHeader{h.height - 1, root.branch[0].id});
    }
}

bool dbSpatialIndex::Find(dbEngine* db, uint32_t treeId, dbIndexSearch& search)
{
    Tree t{db, treeId};
    dbRtreeHeader h = t.Header();
    if (h.height == 0)
        return true;
    return t.Search(h.root, h.height, *static_cast<const dbRectangle*>(search.firstKey), search);
}

void dbSpatialIndex::Clear(dbEngine* db, uint32_t treeId)
{
    Tree t{db, treeId};
    dbRtreeHeader h = t.Header();
    if (h.height != 0) {
        t.Free(h.root, h.height);
        t.SetHeader(dbRtreeHeader{0, 0});
    }
}

void dbSpatialIndex::Drop(dbEngine* db, uint32_t treeId)
{
    Clear(db, treeId);
    db->FreeObject(treeId);
}
