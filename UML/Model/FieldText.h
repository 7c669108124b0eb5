// Fields of a record by column name, for scripts and property rows. A column
// is found among a table's fields in field order, its name compared without
// regard to case; only 8-, 16- and 32-bit signed integers and texts match.
#pragma once

#include <vector>

class dbFieldInfo;
class dbTableInfo;

// Alternating column names and value texts; the texts stay valid until the
// row has been written.
typedef std::vector<const char*> ColumnValueList;

// The first integer or text field named column (any case), or null.
dbFieldInfo* FindColumn(dbTableInfo* table, const char* column);

// An integer field as "%d" (signed) and the number of characters written; a
// text copied whole or cut (a null text reads as empty) and the buffer size.
// No such column: 0 and the buffer unchanged.
int GetFieldText(const char* column, dbTableInfo* table, const void* record, char* buffer, int size);
// An integer field takes atoi of the text, cut to its width; a text field
// takes the pointer itself. False when there is no such column.
bool SetFieldText(const char* column, const char* value, dbTableInfo* table, void* record);

// Integer value of field fd in record, widened; texts read as 0.
int GetIntField(const dbFieldInfo* fd, const void* record);
void SetIntField(const dbFieldInfo* fd, void* record, int value);
const char* GetTextField(const dbFieldInfo* fd, const void* record);
void SetTextField(const dbFieldInfo* fd, void* record, const char* text);
