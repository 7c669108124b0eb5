// Flat record images: one self-contained, position-independent copy of an
// application record and its texts, as kept by the undo log and carried by
// the clipboard.
//
// Layout: the record's bytes (the table's application record size, padding
// copied as it stands), then for each text field in field-list order its
// characters and a NUL (a null text gives the NUL alone). Each text field of
// the fixed part holds the byte offset of its text from the start of the
// image instead of an address, so an image may be copied or read back
// anywhere. The texts follow the fixed part without gaps, in field order;
// MemDbReadImage accepts nothing else.
#pragma once

#include <cstddef>

class dbTableInfo;

// Bytes the texts of record take in its image: the length plus 1 of each
// text field, 1 for a null text; for a null record, 1 per text field.
size_t MemDbStringSpace(dbTableInfo* table, const void* record);

// Size of the image of record: record size plus string space.
size_t MemDbImageSize(dbTableInfo* table, const void* record);

// Writes the image of source at destination, which must hold
// MemDbImageSize bytes; returns the image size.
size_t MemDbFlatten(dbTableInfo* table, const void* source, void* destination);

// Checks the image at the start of a block of size bytes and fills record
// (the table's record size) with its fields, the texts pointing into the
// block. Returns the image size, or 0 when the block holds no whole, well
// formed image of the table: record untouched.
size_t MemDbReadImage(dbTableInfo* table, const void* block, size_t size, void* record);
