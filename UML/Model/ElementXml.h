// Element attributes of the unit files. Any attribute named like a column of
// a record (any case) loads into that column: a handler reads back whatever
// its writer produced without naming it, and unknown attributes are ignored.
// Numbers are upper-case hexadecimal with "-" before a negative magnitude.
#pragma once

class CXmlFile;
class dbTableInfo;

// The reader's current attribute into the field of the same name: integers
// by ParseHex cut to the field's width, texts as copies staged in the
// TextPool (a text that does not fit leaves the field unchanged). False when
// no integer or text field has that name.
bool LoadRecordFromXml(CXmlFile& xml, dbTableInfo* table, void* record);

// Columns that place and number a row (ID, SN, FID, Type, MMC): the tag, the
// nesting and the counter give them, never an attribute.
bool IsStructuralColumn(const char* name);

void XmlWriteTextIfSet(CXmlFile& xml, const char* name, const char* text);
void XmlWriteHexIfNotDefault(CXmlFile& xml, const char* name, int value, int defaultValue);
