// The zoom factor between page units and the drawing context. At exactly 1.0
// every conversion returns its argument untouched; otherwise values are scaled
// in double precision and truncated towards zero.
#pragma once

#include "Platform/Geometry.h"

// Accepts 0.5 <= z <= 2.0 when it differs from the current factor, and then
// rebuilds the drawing fonts; otherwise false and nothing changes.
bool SetZoom(float z);
float GetZoom();

int ZoomScale(int v);
int ZoomUnscale(int v);
void ZoomScaleRect(RECT& r);
void ZoomScalePoint(POINT& p);
void ZoomUnscalePoint(POINT& p);
