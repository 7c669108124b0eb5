// Spill files of the undo log: the contents of one image buffer, as a
// 32-bit little-endian length and that many bytes, in a file named
// prefix + number + ".tmp".
//
// The files live in a folder private to this run (mode 0700, named from
// theDbName, under $TMPDIR or /tmp), made at the first spill and removed
// with everything in it when the process exits.
#pragma once

#include <cstddef>
#include <vector>

namespace UndoSpill {

// Writes the first length bytes of data as spill file number of prefix;
// false when the folder or the file cannot be made or written.
bool Write(const char* prefix, int number, const char* data, size_t length);
// Reads spill file number of prefix into buffer (grown to fit); false when
// it is missing, short or longer than its length says.
bool Read(const char* prefix, int number, std::vector<char>& buffer, size_t* length);
// Deletes every spill file of prefix.
void Delete(const char* prefix);
// The private folder; empty until the first spill.
const char* Folder();

} // namespace UndoSpill
