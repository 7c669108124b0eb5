// The sheets of a PDF file as the printer writes it: each page's paper size
// and the extent of the paths drawn on it, both in points, the extent from
// the paper's top-left corner.
#pragma once

#include <string>
#include <vector>

struct PdfSheet {
    double width = 0, height = 0;
    // All 0 when nothing was drawn.
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The sheets in page order; empty when the file cannot be read.
std::vector<PdfSheet> ReadPdfSheets(const std::string& path);
