// The undo and redo log: two sides of records and image buffers, and the
// replay that moves a group from one side to the other.
#include "MemDB/UndoLog.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "MemDB/FlatImage.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoSpill.h"
#include "MemDB/dbTableInfo.h"
#include "Pub/Log.h"

namespace {

// One logged change; its image is imageSize bytes of its side's buffer.
struct UndoRecord {
    int32_t operation;  // UndoLog::Operation
    int32_t imageSize;
    int32_t group;      // the group counter when the change was logged
    oid_t id;           // engine id of the row
    dbTableInfo* table;
};

const size_t StackRoom = 10000;

// One direction. Invariants: the images of the records whose images are
// not spilled lie in buffer[0, position) in stack order, the top record's
// last; spill files 0 .. spillCount-1 hold the images of the records below
// them, file spillCount-1 the newest; an empty stack has no spill files.
struct Side {
    const char* prefix;
    std::vector<UndoRecord> stack;
    std::vector<char> buffer;
    size_t position = 0;
    int spillCount = 0;
    // After a failed spill the rest of that group is not kept either, so
    // that no gesture is replayed in part.
    bool dropping = false;
    int32_t droppedGroup = 0;
    // The records naming one id form a chain down the stack: topOf gives
    // the highest record naming an engine id (parkedTopOf for a parked
    // id), below[i] the next lower record naming the id of record i; -1
    // ends a chain. Renaming walks only the records of the rows concerned.
    std::vector<int32_t> below;
    std::vector<int32_t> topOf;
    std::unordered_map<oid_t, int32_t> parkedTopOf;

    explicit Side(const char* p) : prefix(p) {}
};

Side undoSide("vexalundo");
Side redoSide("vexalredo");
int32_t groupCounter = 0;
int quietDepth = 0;
// Parked ids count down from the top of the id range, far above any
// engine id.
const oid_t FirstParkedId = 0xFFFFFFFFu;
const oid_t MaxParkedIds = 0x10000000u;
oid_t nextParkedId = FirstParkedId;
std::vector<uint64_t> scratch[2];
std::vector<UndoLog::ReplayedRow> replayed;

bool IsParked(oid_t id)
{
    return id > FirstParkedId - MaxParkedIds;
}

// The highest record of the stack naming id; -1 when there is none.
int32_t TopOf(const Side& side, oid_t id)
{
    if (IsParked(id)) {
        auto found = side.parkedTopOf.find(id);
        return found == side.parkedTopOf.end() ? -1 : found->second;
    }
    return id < side.topOf.size() ? side.topOf[id] : -1;
}

void SetTopOf(Side& side, oid_t id, int32_t index)
{
    if (IsParked(id)) {
        if (index < 0)
            side.parkedTopOf.erase(id);
        else
            side.parkedTopOf[id] = index;
        return;
    }
    if (id >= side.topOf.size()) {
        if (index < 0)
            return;
        side.topOf.resize(std::max<size_t>(id + 1, 2 * side.topOf.size()), -1);
    }
    side.topOf[id] = index;
}

void* Scratch(int which, size_t size)
{
    std::vector<uint64_t>& s = scratch[which];
    size_t words = (size + sizeof(uint64_t) - 1) / sizeof(uint64_t);
    if (s.size() < words)
        s.resize(words);
    return s.data();
}

void Empty(Side& side)
{
    for (const UndoRecord& r : side.stack)
        SetTopOf(side, r.id, -1);
    side.stack.clear();
    side.below.clear();
    side.position = 0;
    side.spillCount = 0;
    side.dropping = false;
}

// Forgets the side's whole history, which can no longer be replayed
// soundly, and says so in the log.
void Drop(Side& side, const char* message)
{
    Empty(side);
    UndoSpill::Delete(side.prefix);
    LOG_FAILURE(3, message);
}

// Room for an image of size bytes at the buffer's position, spilling the
// buffer first when it would overflow; null when the record is not kept.
char* Reserve(Side& side, int32_t group, size_t size)
{
    if (side.dropping && side.droppedGroup == group)
        return nullptr;
    side.dropping = false;
    if (side.buffer.size() < UndoLog::BufferSize)
        side.buffer.resize(UndoLog::BufferSize);
    if (side.position + size > side.buffer.size() && side.position > 0) {
        if (!UndoSpill::Write(side.prefix, side.spillCount, side.buffer.data(), side.position)) {
            Drop(side, "Fail to write the undo spill file; earlier history dropped\r\n");
            side.dropping = true;
            side.droppedGroup = group;
            return nullptr;
        }
        side.spillCount++;
        side.position = 0;
    }
    // A single image larger than the buffer gets a buffer of its size.
    if (size > side.buffer.size())
        side.buffer.resize(size);
    return side.buffer.data() + side.position;
}

void Commit(Side& side, UndoRecord record, size_t size)
{
    record.imageSize = static_cast<int32_t>(size);
    side.position += size;
    side.below.push_back(TopOf(side, record.id));
    SetTopOf(side, record.id, static_cast<int32_t>(side.stack.size()));
    side.stack.push_back(record);
}

void PushRecord(Side& side, const UndoRecord& record, const void* data)
{
    size_t size = MemDbImageSize(record.table, data);
    char* at = Reserve(side, record.group, size);
    if (!at)
        return;
    MemDbFlatten(record.table, data, at);
    Commit(side, record, size);
}

// Pushes a record with an image already made; the image does not lie in
// side's buffer.
void PushImage(Side& side, const UndoRecord& record, const char* image)
{
    size_t size = static_cast<size_t>(record.imageSize);
    char* at = Reserve(side, record.group, size);
    if (!at)
        return;
    memcpy(at, image, size);
    Commit(side, record, size);
}

// Drops the top record, reading the previous spill file back once the
// buffer has run empty.
void Pop(Side& side)
{
    SetTopOf(side, side.stack.back().id, side.below.back());
    side.stack.pop_back();
    side.below.pop_back();
    if (side.stack.empty()) {
        Empty(side);
        return;
    }
    if (side.position > 0 || side.spillCount == 0)
        return;
    side.spillCount--;
    size_t length = 0;
    if (!UndoSpill::Read(side.prefix, side.spillCount, side.buffer, &length)) {
        Drop(side, "Fail to read the undo spill file back; earlier history dropped\r\n");
        return;
    }
    side.position = length;
}

// Every record of the stack but its top that names oldId names newId.
// Records there that still name newId belong to a row removed since, whose
// engine id was freed and has now been handed out again; they are parked
// under an id the engine never gives, which that row's own re-insertion
// renames in turn.
void RenameObject(Side& side, oid_t oldId, oid_t newId)
{
    if (oldId == newId || side.stack.empty())
        return;
    int32_t top = static_cast<int32_t>(side.stack.size()) - 1;
    int32_t clashing = TopOf(side, newId);
    if (clashing >= 0) {
        oid_t parked = nextParkedId--;
        for (int32_t i = clashing; i >= 0; i = side.below[i])
            side.stack[i].id = parked;
        SetTopOf(side, parked, clashing);
    }
    int32_t renamed = side.below[top];
    for (int32_t i = renamed; i >= 0; i = side.below[i])
        side.stack[i].id = newId;
    SetTopOf(side, newId, renamed);
    side.below[top] = -1;
}

// Replays the top group of from and moves its records onto to. Undoing
// replays each change backwards (an insert is removed, a remove inserted
// again), redoing forwards; an update writes the logged image back after
// logging the row's current state. Each row changed is reported in
// replayed.
int Replay(Side& from, Side& to, bool undo)
{
    replayed.clear();
    if (from.stack.empty())
        return 0;
    int32_t group = from.stack.back().group;
    int done = 0;
    while (!from.stack.empty() && from.stack.back().group == group) {
        UndoRecord r = from.stack.back();
        size_t size = static_cast<size_t>(r.imageSize);
        void* logged = Scratch(0, r.table->appSize);
        if (size > from.position
            || MemDbReadImage(r.table, from.buffer.data() + from.position - size, size, logged)
                   != size) {
            Drop(from, "Damaged undo image; earlier history dropped\r\n");
            break;
        }
        from.position -= size;
        const char* image = from.buffer.data() + from.position;
        bool insertAgain = r.operation == (undo ? UndoLog::Removed : UndoLog::Inserted);
        bool removeAgain = r.operation == (undo ? UndoLog::Inserted : UndoLog::Removed);
        std::vector<char> logImage(image, image + size);
        if (removeAgain) {
            theModelDb.RemoveRecord(r.table, r.id);
            PushImage(to, r, image);
            replayed.push_back({r.table, std::move(logImage), {}});
        } else if (insertAgain) {
            oid_t id = theModelDb.InsertRecord(r.table, logged);
            if (id != 0) {
                RenameObject(from, r.id, id);
                r.id = id;
                PushImage(to, r, image);
                replayed.push_back({r.table, {}, std::move(logImage)});
            }
        } else {
            void* current = Scratch(1, r.table->appSize);
            if (theModelDb.FetchRecord(r.id, r.table, current)) {
                std::vector<char> before(MemDbImageSize(r.table, current));
                MemDbFlatten(r.table, current, before.data());
                PushRecord(to, r, current);
                theModelDb.UpdateRecord(r.id, r.table, logged);
                replayed.push_back({r.table, std::move(before), std::move(logImage)});
            }
        }
        Pop(from);
        done = 1;
    }
    return done;
}

} // namespace

namespace UndoLog {

Quiet::Quiet() { ++quietDepth; }

Quiet::~Quiet() { --quietDepth; }

int Push(int operation, oid_t id, dbTableInfo* table, const void* record)
{
    if (quietDepth > 0)
        return 1;
    PushRecord(undoSide, UndoRecord{operation, 0, groupCounter, id, table}, record);
    Empty(redoSide);
    return 1;
}

void NewGroup()
{
    groupCounter++;
}

int Undo()
{
    return Replay(undoSide, redoSide, true);
}

int Redo()
{
    return Replay(redoSide, undoSide, false);
}

void Clear()
{
    for (Side* side : {&undoSide, &redoSide}) {
        Empty(*side);
        if (side->stack.capacity() < StackRoom) {
            std::vector<UndoRecord> room;
            room.reserve(StackRoom);
            side->stack.swap(room);
        }
        if (side->buffer.size() != BufferSize) {
            side->buffer.assign(BufferSize, 0);
            side->buffer.shrink_to_fit();
        }
    }
    groupCounter = 0;
    nextParkedId = FirstParkedId;
    replayed.clear();
}

void Reset()
{
    UndoSpill::Delete(undoSide.prefix);
    UndoSpill::Delete(redoSide.prefix);
    Clear();
}

const std::vector<ReplayedRow>& LastReplayed()
{
    return replayed;
}

size_t UndoDepth()
{
    return undoSide.stack.size();
}

size_t RedoDepth()
{
    return redoSide.stack.size();
}

} // namespace UndoLog
