// The page open in the view, as one plain block: the view copies it whole
// before printing and restores it afterwards, so it holds no pointers.
#pragma once

#include <cstdint>

struct PageState {
    int32_t DiagramId;    // element ID of the diagram shown, -1 for none
    int32_t PageId;       // element ID of the current page, -1 for none
    int32_t PageIndex;    // 0-based among the diagram's pages by SN, -1 for none
    int32_t PageCount;
    char Title[65];       // diagram title drawn at the top left of every page
    int32_t UsableWidth;  // PageWidth - 2 x EdgeX
    int32_t UsableHeight; // PageHeight - 2 x EdgeY
    int32_t PageWidth;
    int32_t PageHeight;
    int32_t EdgeX;
    int32_t EdgeY;
    int32_t OriginX;      // device position of the page's top-left corner, set by the view
    int32_t OriginY;
    int32_t ReadOnlyPage; // 1 when the page element carries the fixed bit
};

extern PageState thePageState;

// No diagram and no page, the configured page size with edges of 1500. The page
// count, the title and the origin keep their values.
void ResetPageState();
