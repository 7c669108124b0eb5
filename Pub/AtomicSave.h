// The one way the program replaces a file it saves: the new contents go to a
// temporary file in the target's folder, which is flushed to the disk and
// renamed over the target only when every step succeeded. A save that fails
// at any point (a full disk, a refused delayed write at close, a folder that
// cannot be written) leaves the file it would have replaced as it was.
#pragma once

#include "Platform/Types.h"

#include <functional>

// write fills the file at the temporary path it is given (opening it by that
// path truncates it) and returns FALSE when any byte of it failed, closing
// included. A new target gets the permissions a newly created file would;
// an existing one keeps its own. FALSE when the temporary file cannot be
// made, write fails, or flushing, closing or renaming it fails; the
// temporary file is then gone and the target untouched. FALSE also when the
// folder cannot be flushed after the rename: the new file is in place, but a
// crash could still bring the old one back. After a FALSE, errno holds the
// cause of the failed step.
BOOL SaveFileAtomically(const char* path, const std::function<BOOL(const char* temporaryPath)>& write);
