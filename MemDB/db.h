// The model database wrapper: opening and closing theModelDb, and the one
// road by which a user's change of a row reaches the engine. Every insert,
// update and remove made here is first logged in the undo log, so that one
// gesture can be undone and redone as a whole. Writes that must not be
// undoable (loading, metamodel, tree and selection state) call the engine
// directly.
#pragma once

#include <cstddef>

#include "MemDB/FlatImage.h"
#include "MemDB/ModelSchema.h"

const int DbNameSize = 23;

// The run's 22-character identifier text and its terminator: names the
// model database and begins every clipboard block. Filled once at start-up,
// before the database is opened.
extern char theDbName[DbNameSize];

// 1 when theModelDb opened under theDbName, else 0 after a log entry.
int MemDbOpen();
// Commits and closes theModelDb when it is open; returns 1.
int MemDbClose();

// Inserts the record and logs the insertion; returns the new engine id, 0
// when the engine refused it (nothing logged).
oid_t MemDbInsert(dbTableInfo* table, const void* record);
// Writes record over the row id when it differs from the stored one (the
// old state logged first); 1 written, 0 unchanged or no such row.
int MemDbUpdate(dbTableInfo* table, const void* record, oid_t id);
// Removes the row id, then logs it with its contents; nothing, and nothing
// logged, when there is no such row or the engine refuses the removal.
void MemDbRemove(dbTableInfo* table, oid_t id);

// 1 when some integer field or text of a and b differs, else 0. Texts
// compare by content, a null text counting as empty (the engine stores
// null as empty).
int MemDbRecordChanged(dbTableInfo* table, const void* a, const void* b);

// Stores value into the record's field ID by that field's width; 0 when the
// table has no integer field ID.
int MemDbSetId(dbTableInfo* table, void* record, int value);

// Empties every model table but MetaEle, without logging; the caller resets
// the undo log.
void MemDbClearModel();
