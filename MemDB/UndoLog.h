// The undo and redo log of the model database.
//
// The write wrapper logs each change with a flat image of the row: for an
// insert the row as inserted, for an update or remove the row as it was.
// Changes are grouped: each user gesture starts a group, and Undo and Redo
// replay a whole group. A replay writes through the engine directly, so it
// is never logged itself.
//
// Each direction keeps a stack of records and a buffer of their images,
// stored back to back in push order, so the top record's image ends at the
// buffer position. A buffer that would overflow is written to a spill file
// and read back when the replay reaches it again; the older history is
// dropped, with a log entry, when a spill cannot be written or read back or
// an image is damaged, so that nothing is replayed from garbage.
//
// Record ids are the engine's: a row re-inserted by a replay gets a new id,
// and every other record of that stack naming the old id is renamed to it.
#pragma once

#include <cstddef>
#include <vector>

#include "MemDB/dbImage.h"

class dbTableInfo;

namespace UndoLog {

enum Operation { Inserted = 1, Removed = 2, Updated = 3 };

const size_t BufferSize = 0x40000;

// Logs a change of row id of table with an image of record in the current
// group and empties the redo side; returns 1.
int Push(int operation, oid_t id, dbTableInfo* table, const void* record);
// Starts a new group: the next pushes form one undo step.
void NewGroup();
// Replays the top group backwards; 0 when there is nothing to undo.
int Undo();
// Replays the top redo group forwards; 0 when there is nothing to redo.
int Redo();
// Empties both sides and sets the group counter to 0.
void Clear();
// Deletes the spill files of both sides, then clears.
void Reset();

// A row the last replay changed: its table and flat images of it before and
// after the replay; an image is empty on the side where the row did not
// exist. Read them back with MemDbReadImage.
struct ReplayedRow {
    dbTableInfo* table;
    std::vector<char> before;
    std::vector<char> after;
};

// The rows the last Undo or Redo changed, in replay order; each replay
// replaces them, and Clear empties them.
const std::vector<ReplayedRow>& LastReplayed();

// While one lives, changes are not logged and the redo side is kept: for
// writes that only fill in values derived from stored ones, such as the
// first layout of a page's symbols, which no Undo may take back. Nests.
class Quiet {
public:
    Quiet();
    ~Quiet();
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;
};

// Records on each side, for tests and the status of Edit commands.
size_t UndoDepth();
size_t RedoDepth();

} // namespace UndoLog
