// Writers of the help pages: every element page is one two-column table, a
// grey label cell and a value cell per row, written through the page's
// buffered file. Every model text (names, types, values) is HTML-escaped, so
// a name holding "<" or "&" shows as typed and cannot break the page; labels
// come from the string table and are written as they stand.
//
// A row is "<tr><td bgcolor='lightgrey'>" label "</td><td>" value
// "</td></tr>\r\n". Empty texts and enumerated values outside their list
// write "&nbsp;". Pages declare UTF-8: the help project's language is
// Chinese, and a viewer that went by it would read the bytes as GBK.
#pragma once

#include "MemDB/ModelSchema.h"

#include <string>

class CBufferedFile;

// text with &, <, >, " and ' replaced by their entities; null gives "".
std::string HtmlEscape(const char* text);

void HtmlPageHead(const ModelT& element, CBufferedFile& file);
void HtmlPageTail(CBufferedFile& file);
// A row spanning both columns in steelblue with the label in bold.
void HtmlSectionRow(CBufferedFile& file, const char* label);

void HtmlRowText(CBufferedFile& file, const char* label, const char* text);
void HtmlRowInt(CBufferedFile& file, const char* label, int value);
// "True" when the low byte is not 0.
void HtmlRowBool(CBufferedFile& file, const char* label, int flag);
// Codes are read as signed bytes.
void HtmlRowVisibility(CBufferedFile& file, const char* label, int code);
void HtmlRowDirection(CBufferedFile& file, const char* label, int code);
void HtmlRowVirtuality(CBufferedFile& file, const char* label, int code);
void HtmlRowAggregation(CBufferedFile& file, const char* label, int code);
// The Name of the element with that GUID; "&nbsp;" for none.
void HtmlRowElementRef(CBufferedFile& file, const char* label, const char* guid);

// Name, Type, Stereotype and Visibility rows, labelled from the string table.
void HtmlCommonRows(const ModelT& element, CBufferedFile& file);
