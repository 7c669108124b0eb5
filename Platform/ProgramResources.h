// The program's own resource table (menus, accelerator tables, dialog
// templates, and what other parts add at start-up, such as bitmaps).
#pragma once

#include "Platform/ResourceTable.h"

const RESOURCE_ENTRY* ProgramResources(int* count);
// Adds entries to the program's table (the entries must outlive the run);
// an id already present keeps its first entry.
void AfxAddProgramResources(const RESOURCE_ENTRY* entries, int count);
