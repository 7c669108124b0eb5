// What the project store and the unit files share inside this folder.
#pragma once

#include "File/ProjectStore.h"

#include <string>

// The Messages pane line and its log entry (severity 2).
void ReportStoreProblem(const std::string& text);
// Forgets the unit files read for the project that closes.
void ForgetLoadedUnitFiles();
// Whether path (after "." and "..") lies inside folder.
bool PathInsideFolder(const char* folder, const char* path);
