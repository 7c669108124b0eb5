#include "Controls/EditChars.h"

int SnapColumn(const CString& line, int column)
{
    const int length = line.GetLength();
    if (column >= length)
        return length;
    int pos = 0;
    while (pos < column)
        pos += EditCharLength(line, pos);
    return pos;
}

int PreviousBoundary(const CString& line, int column)
{
    int pos = 0, previous = 0;
    while (pos < column && pos < line.GetLength()) {
        previous = pos;
        pos += EditCharLength(line, pos);
    }
    return previous;
}
