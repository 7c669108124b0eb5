// The project store: turns a project on disk into rows of the model database
// and back. A project is a project file ("*.fup") naming one model unit file
// and any library unit files ("*.uml"), all paths relative to the project
// folder (or absolute for libraries outside it), "/"-separated when written.
// While a project is open four roots exist, never written to any file: the
// project root (File = the project file) and below it "Model" (File = the
// model unit), "Library" and "Predefined".
//
// A unit whose file did not load whole is marked incomplete and is never
// written over its file; units loaded read-only (the predefined unit,
// libraries and the units nested in them) are never written either. A save
// that skips such a unit, or that fails, names the file and the reason.
#pragma once

#include "Platform/CString.h"
#include "Platform/Types.h"

#include <string>
#include <vector>

class CXmlFile;

// theProjectRootId is -1 at start-up, 0 after a close: 0 or less means no
// project is open. The other roots and the folder keep their last values.
extern int theProjectRootId;
extern int theModelRootId;
extern int theLibraryRootId;
extern int thePredefinedRootId;
extern CString theProjectDir;

// A file that a save did not write, and why. A skipped unit (read-only, or
// not loaded whole) was left alone on purpose; any other failed to write.
struct FileFailure {
    std::string path;
    std::string reason;
    bool skipped = false;
};
using FileFailures = std::vector<FileFailure>;

namespace ProjectStore {

// Points the symbol base's unit and root hooks at this store.
void InstallHooks();

// Creates the roots for a new project file; the model unit is "<title>.uml"
// beside it; nothing is written. FALSE, changing nothing, while a project is
// open or when that unit file exists already.
BOOL New(const char* path);
// Reads the project file and loads its model unit and libraries. FALSE,
// changing nothing, while a project is open, when the file cannot be read or
// when its header is rejected.
BOOL Open(const char* path);
// Empties the model tables when a project is open; always clears the registry.
void Close();
// Writes the project file when its root is flagged, then the flagged units
// (all for 0 or less, else the unit holding the element). 0 when the project
// file could not be written (no unit is then written) or a unit was not;
// every file not written goes to failures.
int Save(int unit, FileFailures* failures = nullptr);
int SaveUnits(int unit, FileFailures* failures = nullptr);
BOOL IsModified();
BOOL IsClosed();
int GetProjectRoot();
int GetModelRoot();
int GetLibraryRoot();
int GetPredefinedRoot();
CString GetProjectDir();
// Makes the element the root of a unit stored at path (kept relative to the
// project folder); FALSE when the path leaves the project folder.
BOOL SetUnitPath(int elementId, const char* path);
// The four roots and the predefined unit; TRUE at once while a project is open.
BOOL CreateRoots(const char* path);
BOOL CheckToolVersion(const char* text);

// Loads the unit file below owner. FALSE for an empty path, a missing file,
// and every load that is not whole (the unit is then marked incomplete and a
// message names the file and the cause).
BOOL LoadUnit(int ownerId, const char* path, BOOL readOnly);
BOOL CheckUmlVersion(const char* text);
// Writes the element's children, in sibling order, as unit file elements.
void WriteChildren(int elementId, CXmlFile& xml);
// Adds a library element under the "Library" root and loads the file into it.
BOOL AddLibrary(const char* path);

} // namespace ProjectStore
