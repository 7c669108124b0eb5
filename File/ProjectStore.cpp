#include "File/ProjectStore.h"

#include "File/ModifiedUnits.h"
#include "File/SafeSave.h"
#include "File/UnitFiles.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"
#include "Pub/XmlFile.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

int theProjectRootId = -1;
int theModelRootId = -1;
int theLibraryRootId = -1;
int thePredefinedRootId = -1;
CString theProjectDir;

namespace {

const char kToolText[] = "Vexal 1.10.00";
const int kPathSize = 260;

void LogPath(const char* format, const char* path)
{
    if (!theLog.Enabled(2))
        return;
    char text[kPathSize + 64];
    std::snprintf(text, sizeof text, format, path);
    LOG_FAILURE(2, text);
}

CString Cut(const CString& text)
{
    return text.GetLength() < kPathSize ? text : CString(text, kPathSize - 1);
}

int InsertRoot(CSymbol* prototype, int owner, const char* name, const char* file, int visibility)
{
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, TRUE);
    ModelT row;
    prototype->FillElementRecord(row, owner, name, guid, "");
    row.File = file;
    row.Visibility = static_cast<int8_t>(visibility);
    row.ItemState = ITEM_FIXED;
    theModelDb.InsertRecord(&ModelT::TableInfo, &row);
    return row.ID;
}

std::string Slashed(const char* path)
{
    std::string text = path;
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

void ReadModelEntry(CXmlFile& xml)
{
    while (xml.ReadNextAttribute()) {
        if (!xml.NameIs("file"))
            continue;
        const std::string value = xml.GetValue();
        const std::string stored = Slashed(value.c_str());
        ModifiedUnits::SetUnitFile(theModelRootId, stored.c_str());
        const BOOL loaded = ProjectStore::LoadUnit(theModelRootId, stored.c_str(), FALSE);
        // An incomplete model unit is never written, so it leaves nothing to save.
        if (loaded || ModifiedUnits::IsIncomplete(theModelRootId)) {
            ModifiedUnits::Mark(theModelRootId, 0);
            ModifiedUnits::Mark(theProjectRootId, 0);
        }
        if (!loaded) {
            LogPath("Fail to load %s", value.c_str());
            return;
        }
    }
}

void ReadLibraryEntry(CXmlFile& xml)
{
    while (xml.ReadNextAttribute())
        if (xml.NameIs("file") && xml.GetValue()[0] && !ProjectStore::AddLibrary(Slashed(xml.GetValue()).c_str()))
            LogPath("Fail to load library %s\r\n", xml.GetValue());
    ModifiedUnits::Mark(theLibraryRootId, 0);
}

void WriteProjectFile(CXmlFile& xml)
{
    xml.WriteHeader();
    xml.BeginElement("Settings");
    xml.EndElement();
    xml.BeginElement("Project");
    xml.WriteAttribute("tool", kToolText);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    xml.BeginElement("Model");
    if (c.SelectByKey("ID", theModelRootId) > 0)
        xml.WriteAttribute("file", c->File ? c->File : "");
    xml.EndElement();
    if (c.SelectByKey("FID", theLibraryRootId) > 0)
        do {
            xml.BeginElement("Library");
            xml.WriteAttribute("file", c->File ? c->File : "");
            xml.EndElement();
        } while (c.Next());
    xml.EndElement();
}

} // namespace

namespace ProjectStore {

void InstallHooks()
{
    theShellHooks.MarkModified = ModifiedUnits::Mark;
    theShellHooks.GetProjectRoot = GetProjectRoot;
    theShellHooks.GetLibraryRoot = GetLibraryRoot;
    theShellHooks.GetPredefinedRoot = GetPredefinedRoot;
}

BOOL CreateRoots(const char* path)
{
    if (theProjectRootId > 0)
        return TRUE;
    CSymbol* prototype = nullptr;
    if (!FindMetaclass("Syspackage", prototype))
        return FALSE;
    theProjectDir = PathDir(path);
    const CString file = Cut(PathRelative(theProjectDir, path));
    const CString title = Cut(PathTitle(path));
    ResetModelCounters();
    ForgetLoadedUnitFiles();
    theProjectRootId = InsertRoot(prototype, 0, title, file, 3);
    theModelRootId = InsertRoot(prototype, theProjectRootId, "Model", "", 0);
    theLibraryRootId = InsertRoot(prototype, theProjectRootId, "Library", "", 0);
    thePredefinedRootId = InsertRoot(prototype, theProjectRootId, "Predefined", "", 0);
    const CString predefined = PathJoin(theModuleDir, "cfg/predefined.uml");
    if (!LoadUnit(thePredefinedRootId, predefined, TRUE)) {
        LogPath("Fail to load %s", predefined);
        return FALSE;
    }
    theShellHooks.RefreshModelTree();
    return TRUE;
}

BOOL New(const char* path)
{
    if (theProjectRootId > 0 || !path || !path[0])
        return FALSE;
    const CString unit = PathTitle(path) + CString(".uml");
    const CString unitPath = PathJoin(PathDir(path), unit);
    std::error_code error;
    if (std::filesystem::exists(unitPath.GetString(), error)) {
        ReportStoreProblem(std::string("Cannot create the project: ") + unitPath.GetString() + " exists already");
        return FALSE;
    }
    CreateRoots(path);
    if (theProjectRootId <= 0)
        return FALSE;
    ModifiedUnits::SetUnitFile(theModelRootId, unit);
    return TRUE;
}

BOOL Open(const char* path)
{
    if (theProjectRootId > 0 || !path || !path[0] || access(path, R_OK) != 0)
        return FALSE;
    CXmlFile xml;
    if (!xml.Open(path, XML_READ)) {
        LogPath("Fail to open %s", path);
        ReportStoreProblem(std::string("Fail to open ") + path);
        return FALSE;
    }
    CreateRoots(path);
    bool inProject = false;
    while (xml.ReadNextNode()) {
        if (xml.GetKind() != XML_START)
            continue;
        if (!inProject && xml.NameIs("Project")) {
            while (xml.ReadNextAttribute()) {
            }
            inProject = true;
        } else if (inProject && xml.NameIs("Model")) {
            ReadModelEntry(xml);
        } else if (inProject && xml.NameIs("Library")) {
            ReadLibraryEntry(xml);
        }
    }
    xml.Close();
    return TRUE;
}

void Close()
{
    if (theProjectRootId > 0) {
        theProjectRootId = 0;
        MemDbClearModel();
    }
    ModifiedUnits::Clear();
    ForgetLoadedUnitFiles();
}

int Save(int unit, FileFailures* failures)
{
    if (theProjectRootId <= 0)
        return 1;
    FileFailures local;
    FileFailures& out = failures ? *failures : local;
    char file[kPathSize];
    if (ModifiedUnits::IsModified(theProjectRootId) && ModifiedUnits::GetUnitFile(theProjectRootId, file)) {
        const std::string path = PathJoin(theProjectDir, file).GetString();
        const std::string reason = SaveXmlFile(path, WriteProjectFile);
        if (!reason.empty()) {
            out.push_back({path, reason, false});
            return 0;
        }
        ModifiedUnits::Mark(theProjectRootId, 0);
    }
    return SaveUnits(unit, &out);
}

BOOL IsModified()
{
    return theProjectRootId > 0 && ModifiedUnits::IsModified(-1);
}

BOOL IsClosed()
{
    return theProjectRootId <= 0;
}

int GetProjectRoot()
{
    return theProjectRootId;
}

int GetModelRoot()
{
    return theModelRootId;
}

int GetLibraryRoot()
{
    return theLibraryRootId;
}

int GetPredefinedRoot()
{
    return thePredefinedRootId;
}

CString GetProjectDir()
{
    return theProjectDir;
}

BOOL SetUnitPath(int elementId, const char* path)
{
    const CString full = PathJoin(theProjectDir, path);
    if (!PathInsideFolder(theProjectDir, full))
        return FALSE;
    ModifiedUnits::SetUnitFile(elementId, PathRelative(theProjectDir, full));
    return TRUE;
}

BOOL CheckToolVersion(const char* text)
{
    return std::strcmp(text, kToolText) == 0;
}

} // namespace ProjectStore
