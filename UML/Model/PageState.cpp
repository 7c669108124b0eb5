#include "UML/Model/PageState.h"

#include "Pub/SYSConfig.h"

// Static initialisation cannot rely on the configuration being built yet, so the
// block starts with the size of a new page; controllers reset it from the
// configuration before any page is shown.
PageState thePageState = {-1, -1, -1, 0, "", 18000, 26700, 21000, 29700, 1500, 1500, 0, 0, 0};

void ResetPageState()
{
    thePageState.DiagramId = -1;
    thePageState.PageId = -1;
    thePageState.PageIndex = -1;
    thePageState.PageWidth = theSysConfig.m_nPageWidth;
    thePageState.PageHeight = theSysConfig.m_nPageHeight;
    thePageState.EdgeX = 1500;
    thePageState.EdgeY = 1500;
    thePageState.UsableWidth = thePageState.PageWidth - 3000;
    thePageState.UsableHeight = thePageState.PageHeight - 3000;
    thePageState.ReadOnlyPage = 0;
}
