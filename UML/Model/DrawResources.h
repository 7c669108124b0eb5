// What every symbol draws with, measured on the drawing context.
#pragma once

class CDC;

struct DrawResources {
    // Page units covered by one device pixel in x at the last rebuild given a
    // context; 0 before that, so pixel offsets collapse to nothing.
    static int PixelSize;
};

// With a context: switches it to MM_HIMETRIC and measures PixelSize on it.
void RebuildDrawResources(CDC* dc);
