// The script class fileFinder: the files and folders that match a wildcard
// pattern, one at a time in the manner of CFileFind (findFile, then findNext
// before the first match is read). Accessors without a current match give
// false or null.
#pragma once

#include <jsapi.h>

bool InitFileFinderClass(JSContext* cx, JS::HandleObject global);
