// The files an open project is made of, for the browser's Save As and Load
// library. Paths compare absolute and normalised ("\" read as "/", "." and
// ".." resolved, relative ones taken from the project folder) and
// case-sensitively: file names are case-sensitive here.
#pragma once

#include <string>

// What the file is to the project: the project file, the file of a unit or
// a library, or the predefined unit; empty when it is none of them. The
// element exceptId's own file does not count.
std::string ProjectFileRole(const char* path, int exceptId = 0);

// Why the element may not be stored as a unit at path: the path names a
// file the project already has, or lies outside the project folder; empty
// when it may.
std::string UnitPathConflict(const char* path, int elementId);
