// A white picture in the page mapping: page point (x, y) lands on device pixel
// (ZoomScale(x), ZoomScale(y)) x 96 / 2540.
#pragma once

#include "Platform/DcFixture.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageZoom.h"

#include <cmath>

class PageCanvas : public DcCanvas {
public:
    PageCanvas(int width, int height) : DcCanvas(width, height) { RebuildDrawResources(&dc); }

    static int Device(int pageUnits) { return static_cast<int>(std::lround(ZoomScale(pageUnits) * 96.0 / 2540.0)); }
};
