// A resource library as a translation of the program would ship it: its
// own string table and a menu 128 whose first popup reads "&Datei".
#include "Platform/Library.h"

namespace {

const ResourceString kStrings[] = {
    { 61557, "Kein Projekt ist offen" },
};

// Version and header words, then one popup holding one item, both last of
// their levels: "&Datei" { "Neu" 57600 }.
const WORD kMenu[] = { 0,   0,   0x0090, '&', 'D', 'a', 't', 'e', 'i', 0,
                       0x0080, 57600, 'N', 'e', 'u', 0 };

// A 1 by 1 white 24-bit BMP file as bitmap 164.
const BYTE kBitmap[] = { 'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                         0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 255, 255, 255, 0 };

const RESOURCE_ENTRY kResources[] = {
    { 4, 128, kMenu, sizeof kMenu },
    { 2, 164, kBitmap, sizeof kBitmap },
};

const VEXAL_RESOURCE_LIBRARY kLibrary = { VEXAL_RESOURCE_VERSION, kStrings, 1, kResources, 2 };

} // namespace

extern "C" __attribute__((visibility("default"))) const VEXAL_RESOURCE_LIBRARY* VexalResourceLibrary()
{
    return &kLibrary;
}
