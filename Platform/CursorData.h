// What an HCURSOR points to. Cursors live for the whole run.
#pragma once

#include "Platform/ResourceTable.h"

#include <QCursor>

struct CursorData {
    QCursor cursor;
    HCURSOR handle() { return reinterpret_cast<HCURSOR>(this); }
    static CursorData* From(HCURSOR h) { return reinterpret_cast<CursorData*>(h); }
};

// A cursor of the resources of a module of the chain, or null.
HCURSOR FindResourceCursor(HINSTANCE hInstance, WORD id);
// The program's own cursor resources.
const RESOURCE_ENTRY* ProgramCursorResources(int* count);
