#include "UML/Model/LineNodes.h"

#include "Pub/TextHelpers.h"

#include <cstring>

namespace {

const int kMaxNumber = 64;

// Copies the number at pos up to the next comma or the terminator into out;
// returns its length, or -1 when it is longer than kMaxNumber characters.
int ReadNumber(const char* text, int pos, char (&out)[kMaxNumber + 1])
{
    int n = 0;
    while (text[pos + n] != '\0' && text[pos + n] != ',') {
        if (n == kMaxNumber)
            return -1;
        out[n] = text[pos + n];
        ++n;
    }
    out[n] = '\0';
    return n;
}

} // namespace

int NextLineNode(const char* nodes, int& x, int& y, int pos)
{
    if (!nodes || pos < 0 || pos >= static_cast<int>(std::strlen(nodes)))
        return -1;
    char xs[kMaxNumber + 1], ys[kMaxNumber + 1];
    const int xl = ReadNumber(nodes, pos, xs);
    if (xl < 0 || nodes[pos + xl] != ',')
        return -1;
    const int yPos = pos + xl + 1;
    const int yl = ReadNumber(nodes, yPos, ys);
    if (yl < 0)
        return -1;
    x = ParseHex(xs);
    y = ParseHex(ys);
    const int end = yPos + yl;
    return nodes[end] == ',' ? end + 1 : end;
}

bool GetLineNode(const char* nodes, int& x, int& y, int n)
{
    int px = 0, py = 0, pos = 0, count = 0;
    while ((pos = NextLineNode(nodes, px, py, pos)) >= 0) {
        if (count == n)
            break;
        ++count;
    }
    if (pos < 0 && (n != -1 || count == 0))
        return false;
    x = px;
    y = py;
    return true;
}
