#include "Controls/SizeBarDockContext.h"

#include "Platform/WindowStyles.h"

void CSizeBarDockContext::StartDrag(CPoint pt) { BeginDrag(pt, WS_THICKFRAME); }
