// Space and identifier allocation.
//
// Space is found in the allocation bitmap a byte at a time through four byte
// tables. Objects smaller than a page and whole-page objects each continue
// from their own position; page objects start on page boundaries. Bitmap
// pages and objects shared with the committed state are copied before they
// change (once per transaction); the old copies are freed by the commit.
#include "MemDB/dbEngine.h"

#include <cstring>
#include <sys/mman.h>

namespace {

struct BitmapTables {
    uint8_t firstHole[256];     // free bits below the lowest used bit
    uint8_t lastHole[256];      // free bits above the highest used bit
    uint8_t maxHole[256];       // longest run of free bits
    uint8_t maxHoleOffset[256]; // where that run starts

    BitmapTables()
    {
        for (int b = 0; b < 256; b++) {
            int first = 0;
            while (first < 8 && !(b & (1 << first)))
                first++;
            int last = 0;
            while (last < 8 && !(b & (0x80 >> last)))
                last++;
            int best = 0, bestAt = 0, run = 0;
            for (int bit = 0; bit < 8; bit++) {
                if (b & (1 << bit)) {
                    run = 0;
                } else if (++run > best) {
                    best = run;
                    bestAt = bit - run + 1;
                }
            }
            firstHole[b] = static_cast<uint8_t>(first);
            lastHole[b] = static_cast<uint8_t>(last);
            maxHole[b] = static_cast<uint8_t>(best);
            maxHoleOffset[b] = static_cast<uint8_t>(bestAt);
        }
    }
};

const BitmapTables bitmapTables;

const size_t quantaPerBitmapPage = dbPageSize * 8;

int SizeArgument(size_t size)
{
    return size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);
}

void SetBits(uint8_t* bitmap, size_t bit, size_t count, bool used)
{
    while (count > 0 && (bit & 7) != 0) {
        if (used)
            bitmap[bit >> 3] |= uint8_t(1 << (bit & 7));
        else
            bitmap[bit >> 3] &= uint8_t(~(1 << (bit & 7)));
        bit++;
        count--;
    }
    if (count >= 8) {
        memset(bitmap + (bit >> 3), used ? 0xFF : 0, count >> 3);
        bit += count & ~size_t(7);
        count &= 7;
    }
    while (count > 0) {
        if (used)
            bitmap[bit >> 3] |= uint8_t(1 << (bit & 7));
        else
            bitmap[bit >> 3] &= uint8_t(~(1 << (bit & 7)));
        bit++;
        count--;
    }
}

} // namespace

// Keeps an area in the chain of areas being allocated while nested
// allocations (copies of shared bitmap pages) run.
class dbEngine::AllocationGuard {
public:
    AllocationGuard(dbEngine& engine, offs_t offset, size_t size) : engine(engine)
    {
        area.offset = offset;
        area.size = size;
        area.next = engine.allocatedAreas;
        engine.allocatedAreas = &area;
    }
    ~AllocationGuard() { engine.allocatedAreas = area.next; }

private:
    dbEngine& engine;
    dbAllocatedArea area;
};

bool dbEngine::OverlapsAllocation(offs_t offset, size_t size) const
{
    for (const dbAllocatedArea* a = allocatedAreas; a != nullptr; a = a->next) {
        if (offset < a->offset + a->size && a->offset < offset + size)
            return true;
    }
    return false;
}

void dbEngine::Fail(int code, const char* message, int arg)
{
    HandleError(code, message, arg);
    throw dbException(code, message != nullptr ? message : dbErrorText(code), arg);
}

void dbEngine::ReportClosed() const
{
    const_cast<dbEngine*>(this)->Fail(dbNullReferenceError, "Database is not opened");
}

void dbEngine::MarkImageDirty()
{
    if (header == nullptr)
        ReportClosed();
    if (IsReadOnlyMode())
        Fail(dbDatabaseReadOnly, "Attempt to modify readonly database");
    if (!header->dirty) {
        header->dirty = 1;
        file.Flush();
    }
    monitor->modified = 1;
    modified = true;
}

void dbEngine::CloneBitmapPage(int slot)
{
    SetDirty(slot);
    offs_t old = currIndex[slot] & ~dbFlagsMask;
    AllocateSpace(dbPageSize, slot);
    CopyBitmapPages(old, dbPageSize);
}

void dbEngine::SetBitmapBits(offs_t offset, size_t quanta, bool used)
{
    while (quanta > 0) {
        int slot = static_cast<int>(offset / dbBitmapPageCoverage) + dbBitmapId;
        if (IsShared(slot))
            CloneBitmapPage(slot);
        size_t bit = (offset % dbBitmapPageCoverage) / dbAllocationQuantum;
        size_t count = quanta < quantaPerBitmapPage - bit ? quanta : quantaPerBitmapPage - bit;
        if (used && bit == 0 && count == quantaPerBitmapPage)
            maxHoles[slot] = 0;
        SetBits(reinterpret_cast<uint8_t*>(BitmapPage(slot)), bit, count, used);
        offset += static_cast<offs_t>(count * dbAllocationQuantum);
        quanta -= count;
    }
}

offs_t dbEngine::FinishAllocation(offs_t offset, size_t size, oid_t moveId)
{
    if (offset + size > header->size)
        GrowImage(offset + size);
    AllocationGuard guard(*this, offset, size);
    if (moveId != 0) {
        oid_t old = currIndex[moveId];
        memcpy(baseAddr + offset, baseAddr + (old & ~dbFlagsMask), size);
        currIndex[moveId] = offset | (old & dbFlagsMask);
        SetDirty(moveId);
    }
    SetBitmapBits(offset, size / dbAllocationQuantum, true);
    return offset;
}

offs_t dbEngine::AllocateSpace(size_t size, oid_t moveId)
{
    MarkImageDirty();
    if (size > dbMaxImageSize - dbPageSize)
        Fail(dbOutOfMemoryError, nullptr, SizeArgument(size));
    if (size == 0)
        size = dbAllocationQuantum;
    size = (size + dbAllocationQuantum - 1) & ~size_t(dbAllocationQuantum - 1);
    allocatedSize += size;
    size_t quanta = size / dbAllocationQuantum;
    bool pageObject = size % dbPageSize == 0;

    if (!pageObject && holeCache.Covers(size)) {
        offs_t hole = holeCache.Get(size);
        if (hole != 0 && hole + size <= header->size && IsSpaceFree(hole, static_cast<int>(quanta))
            && !OverlapsAllocation(hole, size))
            return FinishAllocation(hole, size, moveId);
    }

    dbAllocationPosition& position = pageObject ? pageObjectPosition : smallObjectPosition;
    int startPage = position.page;
    int startOffset = pageObject ? (position.offset + 31) & ~31 : position.offset;
    const BitmapTables& t = bitmapTables;

    for (int pass = 0; pass < 2; pass++) {
        if (pass == 1 && startPage == dbBitmapId && startOffset == 0)
            break;
        int firstPage = pass == 0 ? startPage : int(dbBitmapId);
        int lastPage = pass == 0 ? int(dbFirstUserId) - 1 : startPage;
        size_t holes = 0;
        for (int page = firstPage; page <= lastPage && currIndex[page] != dbFreeHandleFlag; page++) {
            int i = pass == 0 && page == startPage ? startOffset : 0;
            size_t needed = quanta - holes < 32768 ? quanta - holes : 32768;
            if (needed >= static_cast<size_t>(maxHoles[page])) {
                holes = 0;
                continue;
            }
            bool fromStart = i == 0;
            const uint8_t* bitmap = reinterpret_cast<const uint8_t*>(BitmapPage(page));
            offs_t pageBase = static_cast<offs_t>(page - dbBitmapId) * dbBitmapPageCoverage;
            while (i < int(dbPageSize)) {
                offs_t candidate;
                if (!pageObject) {
                    uint8_t b = bitmap[i];
                    if (holes + t.firstHole[b] >= quanta) {
                        candidate = static_cast<offs_t>(pageBase + i * 128 - holes * dbAllocationQuantum);
                    } else if (t.maxHole[b] >= quanta) {
                        candidate = pageBase + i * 128 + t.maxHoleOffset[b] * dbAllocationQuantum;
                    } else {
                        holes = b == 0 ? holes + 8 : t.lastHole[b];
                        i++;
                        continue;
                    }
                } else {
                    if (bitmap[i] != 0) {
                        holes = 0;
                        i = (i + 32) & ~31;
                        continue;
                    }
                    holes += 8;
                    if (holes < quanta) {
                        i++;
                        continue;
                    }
                    candidate = static_cast<offs_t>(pageBase + (i + 1) * 128 - holes * dbAllocationQuantum);
                }
                if (OverlapsAllocation(candidate, size)) {
                    i += static_cast<int>((quanta + 7) / 8);
                    holes = 0;
                    continue;
                }
                position.page = page;
                position.offset = i;
                return FinishAllocation(candidate, size, moveId);
            }
            // A failed page-object search proves nothing about unaligned
            // holes, so only small-object searches lower the bound.
            if (fromStart && holes == 0 && !pageObject)
                maxHoles[page] = static_cast<int32_t>(needed);
        }
    }
    return ExtendAllocatableArea(size, pageObject, moveId);
}

offs_t dbEngine::ExtendAllocatableArea(size_t size, bool pageObject, oid_t moveId)
{
    size_t quanta = size / dbAllocationQuantum;
    int d = dbBitmapId;
    while (d < int(dbFirstUserId) && currIndex[d] != dbFreeHandleFlag)
        d++;
    if (d == int(dbFirstUserId))
        Fail(dbOutOfMemoryError, nullptr, SizeArgument(size));

    // The object begins in the trailing hole of the last page(s), short of
    // any area still being allocated.
    offs_t areaStart = static_cast<offs_t>(d - dbBitmapId) * dbBitmapPageCoverage;
    size_t trailing = 0;
    for (int page = d - 1; page >= int(dbBitmapId) && trailing < quanta; page--) {
        const uint8_t* bitmap = reinterpret_cast<const uint8_t*>(BitmapPage(page));
        int i = dbPageSize - 1;
        while (i >= 0 && bitmap[i] == 0) {
            trailing += 8;
            i--;
        }
        if (i >= 0) {
            trailing += bitmapTables.lastHole[bitmap[i]];
            break;
        }
    }
    if (trailing > quanta)
        trailing = quanta;
    for (const dbAllocatedArea* a = allocatedAreas; a != nullptr; a = a->next) {
        offs_t areaEnd = static_cast<offs_t>(a->offset + a->size);
        if (areaEnd > areaStart - trailing * dbAllocationQuantum && a->offset < areaStart)
            trailing = areaEnd >= areaStart ? 0 : (areaStart - areaEnd) / dbAllocationQuantum;
    }
    if (pageObject)
        trailing &= ~size_t(255);

    size_t extension = extensionQuantum > size ? extensionQuantum : size;
    size_t pages = (extension + dbBitmapPageUsable - 1) / dbBitmapPageUsable;
    if (d + pages > dbFirstUserId)
        pages = (size + dbBitmapPageUsable - 1) / dbBitmapPageUsable;
    size_t inPages = (quanta - trailing + 255) & ~size_t(255); // quanta before the new pages
    while (inPages * dbAllocationQuantum + pages * dbPageSize > pages * dbBitmapPageCoverage)
        pages++;
    if (d + pages > dbFirstUserId)
        Fail(dbOutOfMemoryError, nullptr, SizeArgument(size));

    offs_t objectOffset = static_cast<offs_t>(areaStart - trailing * dbAllocationQuantum);
    offs_t pagesOffset = static_cast<offs_t>(areaStart + inPages * dbAllocationQuantum);
    size_t end = pagesOffset + pages * dbPageSize;
    if (end > header->size)
        GrowImage(end);

    uint8_t* bitmap = reinterpret_cast<uint8_t*>(baseAddr + pagesOffset);
    memset(bitmap, 0, pages * dbPageSize);
    SetBits(bitmap, 0, quanta - trailing, true);
    SetBits(bitmap, inPages, pages * dbPageSize / dbAllocationQuantum, true);
    for (size_t k = 0; k < pages; k++) {
        currIndex[d + k] = static_cast<offs_t>(pagesOffset + k * dbPageSize) | dbBitmapPageKind;
        SetDirty(static_cast<oid_t>(d + k));
        maxHoles[d + k] = (k + 1) * quantaPerBitmapPage <= quanta - trailing ? 0 : 0x7fffffff;
    }
    // The new area is about to be filled: fault its pages in with one call
    // rather than one trap per page. Advice only, so a refusal is harmless.
    size_t areaEnd = areaStart + pages * dbBitmapPageCoverage;
    if (areaEnd > header->size)
        areaEnd = header->size;
    offs_t firstPage = pagesOffset + static_cast<offs_t>(pages * dbPageSize);
    if (areaEnd > firstPage)
        madvise(baseAddr + firstPage, areaEnd - firstPage, MADV_POPULATE_WRITE);

    dbAllocationPosition& position = pageObject ? pageObjectPosition : smallObjectPosition;
    position.page = static_cast<int>((objectOffset + size - 1) / dbBitmapPageCoverage) + dbBitmapId;
    position.offset = 0;

    AllocationGuard guard(*this, objectOffset, size);
    if (moveId != 0) {
        oid_t old = currIndex[moveId];
        memcpy(baseAddr + objectOffset, baseAddr + (old & ~dbFlagsMask), size);
        currIndex[moveId] = objectOffset | (old & dbFlagsMask);
        SetDirty(moveId);
    }
    SetBitmapBits(objectOffset, trailing, true);
    return objectOffset;
}

void dbEngine::FreeSpace(offs_t offset, size_t size)
{
    if (header == nullptr)
        ReportClosed();
    size = (size + dbAllocationQuantum - 1) & ~size_t(dbAllocationQuantum - 1);
    if (size == 0 || offset % dbAllocationQuantum != 0 || offset < dbPageSize
        || offset + size > header->size)
        Fail(dbIndexOutOfRange, nullptr, static_cast<int>(offset));
    int slot = static_cast<int>(offset / dbBitmapPageCoverage) + dbBitmapId;
    if (IsShared(slot))
        CloneBitmapPage(slot);

    deallocatedSize += size;
    int byteInPage = static_cast<int>((offset % dbBitmapPageCoverage) / 128);
    if (deallocatedSize >= freeSpaceReuseThreshold) {
        smallObjectPosition = pageObjectPosition = {dbBitmapId, 0};
        deallocatedSize = 0;
    } else if (offset % dbPageSize != 0 || size < dbPageSize) {
        if (holeCache.Covers(size))
            holeCache.Put(offset, size);
        else if (slot == smallObjectPosition.page && byteInPage < smallObjectPosition.offset)
            smallObjectPosition.offset = byteInPage;
    } else if (slot == pageObjectPosition.page && byteInPage < pageObjectPosition.offset) {
        pageObjectPosition.offset = byteInPage;
    }
    int lastSlot = static_cast<int>((offset + size - 1) / dbBitmapPageCoverage) + dbBitmapId;
    for (int s = slot; s <= lastSlot; s++)
        maxHoles[s] = 0x7fffffff;
    SetBitmapBits(offset, size / dbAllocationQuantum, false);
}

void dbEngine::CopyBitmapPages(offs_t offset, size_t size)
{
    if (size == 0)
        return;
    int first = static_cast<int>(offset / dbBitmapPageCoverage) + dbBitmapId;
    int last = static_cast<int>((offset + size - 1) / dbBitmapPageCoverage) + dbBitmapId;
    for (int slot = first; slot <= last; slot++) {
        if (IsShared(slot))
            CloneBitmapPage(slot);
    }
}

bool dbEngine::IsSpaceFree(offs_t offset, int quanta) const
{
    for (int q = 0; q < quanta; q++, offset += dbAllocationQuantum) {
        int slot = static_cast<int>(offset / dbBitmapPageCoverage) + dbBitmapId;
        if (slot >= int(dbFirstUserId) || currIndex[slot] == dbFreeHandleFlag)
            return false;
        size_t bit = (offset % dbBitmapPageCoverage) / dbAllocationQuantum;
        if (reinterpret_cast<const uint8_t*>(BitmapPage(slot))[bit >> 3] & (1 << (bit & 7)))
            return false;
    }
    return true;
}

void dbEngine::MarkSpaceUsed(offs_t offset, int quanta)
{
    MarkImageDirty();
    SetBitmapBits(offset, static_cast<size_t>(quanta), true);
}

oid_t dbEngine::AllocateIds(int n)
{
    MarkImageDirty();
    if (n <= 0)
        Fail(dbIndexOutOfRange, nullptr, n);
    int w = 1 - header->curr;
    if (n == 1 && header->root[w].freeList != 0) {
        oid_t id = header->root[w].freeList;
        header->root[w].freeList = currIndex[id] & ~dbFreeHandleFlag;
        SetDirty(id);
        return id;
    }
    if (size_t(currIndexSize) + n > dbMaxImageSize / 16)
        Fail(dbOutOfMemoryError, nullptr, n);
    oid_t oldSize = header->root[w].indexSize;
    if (oldSize < currIndexSize + oid_t(n)) {
        size_t newSize = size_t(oldSize) * 2;
        while (newSize < size_t(oldSize) + n)
            newSize *= 2;
        offs_t newIndex = AllocateSpace(newSize * sizeof(oid_t));
        offs_t oldIndex = header->root[w].index;
        memcpy(baseAddr + newIndex, baseAddr + oldIndex, size_t(currIndexSize) * sizeof(oid_t));
        header->root[w].index = newIndex;
        header->root[w].indexSize = static_cast<oid_t>(newSize);
        index[w] = reinterpret_cast<oid_t*>(baseAddr + newIndex);
        currIndex = index[w];
        FreeSpace(oldIndex, size_t(oldSize) * sizeof(oid_t));
    }
    oid_t first = currIndexSize;
    currIndexSize += n;
    header->root[w].indexUsed = currIndexSize;
    return first;
}

void dbEngine::FreeIds(oid_t first, int n)
{
    MarkImageDirty();
    if (n <= 0 || first < dbFirstUserId || size_t(first) + n > currIndexSize)
        Fail(dbIndexOutOfRange, nullptr, static_cast<int>(first));
    int w = 1 - header->curr;
    oid_t head = header->root[w].freeList;
    for (oid_t id = first; id < first + oid_t(n); id++) {
        SetDirty(id);
        currIndex[id] = dbFreeHandleFlag | head;
        head = id;
    }
    header->root[w].freeList = head;
}

void dbEngine::GetSpaceStatistics(dbSpaceStatistics& s)
{
    memset(&s, 0, sizeof s);
    if (header == nullptr)
        return;
    size_t run = 0;
    auto endHole = [&s, &run]() {
        if (run == 0)
            return;
        size_t bytes = run * dbAllocationQuantum;
        s.holeCount++;
        s.holeBytes += bytes;
        if (s.minHole == 0 || bytes < s.minHole)
            s.minHole = bytes;
        if (bytes > s.maxHole)
            s.maxHole = bytes;
        int bucket = 0;
        while ((size_t(dbAllocationQuantum) << (bucket + 1)) <= bytes && bucket < 31)
            bucket++;
        s.histogram[bucket]++;
        run = 0;
    };
    for (int slot = dbBitmapId; slot < int(dbFirstUserId) && currIndex[slot] != dbFreeHandleFlag; slot++) {
        const uint8_t* bitmap = reinterpret_cast<const uint8_t*>(BitmapPage(slot));
        for (size_t bit = 0; bit < quantaPerBitmapPage; bit++) {
            if (bitmap[bit >> 3] & (1 << (bit & 7))) {
                endHole();
                s.usedBytes += dbAllocationQuantum;
            } else {
                run++;
            }
        }
    }
    endHole();
}
