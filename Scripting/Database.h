// The script class Database: element or symbol rows selected by a condition
// in the engine's query language, walked and read column by column, and rows
// made or changed from queued column settings through the metaclass
// prototypes, straight into the engine (no undo record, no refresh).
// Invariant of an object: 0 <= curPosition < ids.size() while ids is not
// empty; the ids are record identifiers, read again at every getColumn, so
// a row removed since the query reads null.
#pragma once

#include <jsapi.h>

bool InitDatabaseClass(JSContext* cx, JS::HandleObject global);
