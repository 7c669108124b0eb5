#include "UML/Model/PageZoom.h"

#include "UML/Model/DrawResources.h"

namespace {

float theZoom = 1.0f;

} // namespace

bool SetZoom(float z)
{
    if (!(z >= 0.5f && z <= 2.0f) || z == theZoom)
        return false;
    theZoom = z;
    RebuildDrawFonts();
    return true;
}

float GetZoom()
{
    return theZoom;
}

int ZoomScale(int v)
{
    if (theZoom == 1.0f)
        return v;
    return static_cast<int>(static_cast<double>(v) * theZoom);
}

int ZoomUnscale(int v)
{
    if (theZoom == 1.0f)
        return v;
    return static_cast<int>(static_cast<double>(v) / theZoom);
}

void ZoomScaleRect(RECT& r)
{
    r.left = ZoomScale(r.left);
    r.top = ZoomScale(r.top);
    r.right = ZoomScale(r.right);
    r.bottom = ZoomScale(r.bottom);
}

void ZoomScalePoint(POINT& p)
{
    p.x = ZoomScale(p.x);
    p.y = ZoomScale(p.y);
}

void ZoomUnscalePoint(POINT& p)
{
    p.x = ZoomUnscale(p.x);
    p.y = ZoomUnscale(p.y);
}
