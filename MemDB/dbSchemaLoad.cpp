// Binding the application's table descriptors to the image at open.
#include "MemDB/dbEngine.h"

bool dbEngine::LoadSchema(bool alter)
{
    (void)alter;
    Commit();
    return true;
}
