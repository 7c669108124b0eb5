// The cursors of the program's resources.
#include "Platform/CursorData.h"

HCURSOR FindResourceCursor(HINSTANCE hInstance, WORD id)
{
    (void)hInstance;
    (void)id;
    return nullptr;
}
