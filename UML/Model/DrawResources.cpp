#include "UML/Model/DrawResources.h"

#include "Platform/Dc.h"

int DrawResources::PixelSize = 0;

void RebuildDrawResources(CDC* dc)
{
    if (dc) {
        dc->SetMapMode(MM_HIMETRIC);
        CSize pixel(1, 1);
        dc->DPtoLP(&pixel);
        DrawResources::PixelSize = pixel.cx;
    }
}
