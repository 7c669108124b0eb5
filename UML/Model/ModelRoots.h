// The root elements of the open project, as the project files report them:
// the project root ("Syspackage"; -1 before the first project, 0 after one
// was closed) and the "Library" and "Predefined" roots (-1 until the first
// project). Type look-ups end at the project root and fall back to the two
// others.
#pragma once

int ProjectRootId();
int LibraryRootId();
int PredefinedRootId();
// Set by the project files whenever a project is created, opened or closed.
void SetModelRoots(int project, int library, int predefined);
