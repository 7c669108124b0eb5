// The help export: a model element and everything below it as an HTML Help
// project (a page per element written by its metaclass's prototype, the
// project file ".hhp", the contents ".hhc" and the index ".hhk"), compiled by
// chmcmd into "<name>.chm" beside the work folder.
//
// Files are named after the element's name cleaned (CleanFileName); every
// model text in the project files is HTML-escaped; page paths are relative to
// the work folder with "/". The work folder (ChmWorkFolder) is one the export
// made or found empty, and only what the export made is removed, once the
// compiled file has replaced the old one by rename. A failed compile or move
// leaves the work folder with everything in it. Every step is reported in
// the Messages pane.
#pragma once

#include "Platform/Types.h"

// Exports elementId into folder (a relative folder lies in the project
// folder) and compiles it; true when the compiled file is in place.
bool ExportChm(int elementId, const char* folder);
// Compiles the project file with chmcmd (on PATH, else Lib/chmcmd in the
// program folder) in the project file's folder, into the project file's path
// with ".chm" (an older one is deleted first). Non-zero when chmcmd exits with
// 0, the compiled file is not empty and chmcmd printed no "Error:",
// "Warning:" or "Can't find"; 0 otherwise, or when chmcmd is missing.
int CompileChm(const char* hhpPath);
// One line of the compiler's output, written to the Messages pane.
BOOL OnChmCompileText(const char* text);
