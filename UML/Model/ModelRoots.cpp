#include "UML/Model/ModelRoots.h"

namespace {

int theProjectRoot = -1;
int theLibraryRoot = -1;
int thePredefinedRoot = -1;

} // namespace

int ProjectRootId()
{
    return theProjectRoot;
}

int LibraryRootId()
{
    return theLibraryRoot;
}

int PredefinedRootId()
{
    return thePredefinedRoot;
}

void SetModelRoots(int project, int library, int predefined)
{
    theProjectRoot = project;
    theLibraryRoot = library;
    thePredefinedRoot = predefined;
}
