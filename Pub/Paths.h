// Path texts. Both "/" and "\" count as separators on reading; results use
// "/". A path is absolute when it starts with a separator or holds a drive
// colon, and joining keeps an absolute name unchanged.
#pragma once

#include "Platform/CString.h"

// name alone when it is absolute; empty when dir is empty; else dir and name
// with one separator between them. Every "\" of the result becomes "/".
CString PathJoin(const char* dir, const char* name);
// The text before the last separator; empty when there is none.
CString PathDir(const char* path);
// The file name without its extension.
CString PathTitle(const char* path);
// path relative to the folder base when path lies inside it, else path; both
// with "/" separators. Drive-letter paths compare without regard to case.
CString PathRelative(const char* base, const char* path);
// The text after the last "." of the file name; empty when it has none or
// the name starts with its only ".".
CString PathExt(const char* path);
// path without the extension of its file name.
CString PathStripExt(const char* path);
// The text after the last separator.
CString PathFileName(const char* path);
BOOL PathIsAbsolute(const char* path);
// A file name made from a model name: separators, control characters and
// "*:<>?| replaced by "_", so it names one file in the folder it is joined
// to; fallback when that leaves "", "." or "..".
CString CleanFileName(const char* name, const char* fallback);

// Deletes everything below dir and then dir itself; failures are ignored.
void DeleteDirTree(const char* dir);
