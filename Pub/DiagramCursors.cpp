#include "Pub/DiagramCursors.h"

#include "Platform/Cursor.h"
#include "Platform/Resource.h"

HCURSOR theDiagramCursors[DiagramCursorCount];

namespace {

// A cursor of the first module of the resource chain that has it.
HCURSOR ResourceCursor(WORD id)
{
    HINSTANCE chain[2];
    const int n = AfxGetResourceChain(chain);
    for (int i = 0; i < n; ++i)
        if (HCURSOR cursor = LoadCursor(chain[i], MAKEINTRESOURCE(id)))
            return cursor;
    return nullptr;
}

} // namespace

void LoadDiagramCursors()
{
    theDiagramCursors[0] = LoadCursor(nullptr, IDC_ARROW);
    theDiagramCursors[1] = nullptr;
    theDiagramCursors[2] = ResourceCursor(146);
    theDiagramCursors[3] = ResourceCursor(147);
    theDiagramCursors[4] = LoadCursor(nullptr, IDC_SIZEALL);
    theDiagramCursors[5] = nullptr;
    theDiagramCursors[6] = ResourceCursor(145);
    theDiagramCursors[7] = ResourceCursor(144);
    theDiagramCursors[8] = LoadCursor(nullptr, IDC_SIZENWSE);
    theDiagramCursors[9] = ResourceCursor(136);
    theDiagramCursors[10] = ResourceCursor(137);
}

HCURSOR GetDiagramCursor(int slot)
{
    if (slot < 0 || slot >= DiagramCursorCount)
        slot = 0;
    return theDiagramCursors[slot];
}
