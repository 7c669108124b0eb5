// The bend-point text of a line symbol: the points between its start and end as
// x,y,x,y,... in upper-case hexadecimal ("-" before a negative magnitude),
// separated by single commas, empty for a straight line. A number longer than
// 64 characters makes the rest of the text unreadable.
#pragma once

// Reads the pair that starts at pos. Returns the position after the comma that
// follows y, or the position of the terminator when y ended the text; -1, with x
// and y unchanged, for a null or empty text, a position at or past its end, or a
// pair that is not two numbers of at most 64 characters.
int NextLineNode(const char* nodes, int& x, int& y, int pos);

// Bend point n (0-based), or the last one for n = -1; false for an empty text or
// when n lies past the last point.
bool GetLineNode(const char* nodes, int& x, int& y, int n);
