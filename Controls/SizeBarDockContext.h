// CSizeBarDockContext: the dock context of a sizing bar. Its drag outlines
// are the bar's sizes for each docking, and its floating outline that of a
// floating frame without a caption (the bar draws its own).
#pragma once

#include "Platform/DockContext.h"

class CSizeBarDockContext : public CDockContext {
public:
    explicit CSizeBarDockContext(CControlBar* pBar) : CDockContext(pBar) {}
    void StartDrag(CPoint pt) override;
};
