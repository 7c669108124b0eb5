#include "File/UnitFiles.h"

#include "File/ModifiedUnits.h"
#include "File/SafeSave.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/GuidText.h"
#include "Pub/Log.h"
#include "Pub/Paths.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "Pub/XmlFile.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/PageSymbol.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char kUmlVersion[] = "UML2.0";
const char kToolText[] = "Vexal 1.10.00";

// Files read for the open project, and the chain of files being read, outer
// first: a file met again is refused instead of loaded twice or forever.
std::set<std::string> theLoadedFiles;
std::vector<std::string> theLoadChain;

// The units written by the save under way; failures collect here.
struct SaveSession {
    FileFailures* failures;
    std::set<int> visited;
};
SaveSession* theSaveSession = nullptr;

// The causes of one unit load that was not whole, each named once.
class LoadCauses {
public:
    void Add(const std::string& cause)
    {
        if (std::find(causes_.begin(), causes_.end(), cause) == causes_.end())
            causes_.push_back(cause);
    }
    bool Empty() const { return causes_.empty(); }
    std::string Text() const
    {
        std::string text;
        for (const std::string& c : causes_)
            text += (text.empty() ? "" : "; ") + c;
        return text;
    }

private:
    std::vector<std::string> causes_;
};

std::string FileKey(const std::string& path)
{
    std::error_code ignored;
    const fs::path canonical = fs::weakly_canonical(fs::path(path), ignored);
    return (canonical.empty() ? fs::path(path).lexically_normal() : canonical).string();
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The path as written when it exists, else the one file of its folder that
// matches it without regard to case, else the path as written.
std::string ResolveCase(const std::string& path)
{
    std::error_code error;
    if (fs::exists(path, error))
        return path;
    const fs::path p(path);
    const std::string name = p.filename().string();
    std::string match;
    int matches = 0;
    for (fs::directory_iterator it(p.parent_path().empty() ? fs::path(".") : p.parent_path(), error), end;
         !error && it != end; it.increment(error))
        if (SameIgnoringCase(it->path().filename().string(), name)) {
            match = (p.parent_path() / it->path().filename()).string();
            ++matches;
        }
    return matches == 1 ? match : path;
}

bool ValidUtf8(const std::string& bytes)
{
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        unsigned min = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + follow >= n)
            return false;
        for (int k = 1; k <= follow; ++k) {
            const unsigned char f = static_cast<unsigned char>(bytes[i + k]);
            if ((f & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (f & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

// The whole file in bytes; false when it cannot be read.
bool ReadWhole(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
    if (size < 0)
        return false;
    bytes.resize(size_t(size));
    in.seekg(0);
    in.read(&bytes[0], size);
    return in.gcount() == size;
}

// Why the bytes cannot be read as this system's UTF-8; empty when they can.
std::string EncodingProblem(const std::string& bytes)
{
    if (bytes.empty())
        return "the file is empty";
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return "the file is in UTF-16, not UTF-8";
    if (!ValidUtf8(bytes))
        return "the file holds bytes that are not UTF-8";
    return std::string();
}

bool Blank(const char* text)
{
    for (; *text; ++text)
        if (*text != ' ')
            return false;
    return true;
}

// Passes over the rest of the element whose start tag was just read, its end
// included; true when it held anything.
bool SkipElement(CXmlFile& xml)
{
    bool content = false;
    for (int depth = 1; depth > 0 && xml.ReadNextNode();) {
        if (xml.GetKind() == XML_START)
            ++depth, content = true;
        else if (xml.GetKind() == XML_END)
            --depth;
        else if (xml.GetKind() == XML_TEXT && !Blank(xml.GetValue()))
            content = true;
    }
    return content;
}

void StoreSlashedFile(int elementId, char* file)
{
    if (!std::strchr(file, '\\'))
        return;
    std::replace(file, file + std::strlen(file), '\\', '/');
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("ID", elementId) <= 0)
        return;
    ModelT row = *c.GetRecord();
    row.File = file;
    theModelDb.UpdateRecord(c.GetCurrentOid(), &ModelT::TableInfo, &row);
}

// The elements of one "uml" element below owner; the reader stands on its start tag.
void ReadUnitElements(CXmlFile& xml, int owner, BOOL readOnly, LoadCauses& causes)
{
    std::string version;
    bool refused = false;
    while (xml.ReadNextAttribute())
        if (xml.NameIs("version") && !ProjectStore::CheckUmlVersion(xml.GetValue())) {
            version = xml.GetValue();
            refused = true;
        }
    if (refused) {
        causes.Add("its \"uml\" version \"" + version + "\" is not " + kUmlVersion);
        SkipElement(xml);
        return;
    }
    std::vector<int> parents{owner};
    while (xml.ReadNextNode()) {
        const int kind = xml.GetKind();
        if (kind == XML_END) {
            parents.pop_back();
            if (parents.empty())
                return;
        } else if (kind == XML_TEXT) {
            if (!Blank(xml.GetValue()))
                causes.Add("text between its elements could not be kept");
        } else if (kind == XML_START && xml.NameIs("Stereo")) {
            ReadStereoValues(xml, parents.back());
            if (SkipElement(xml))
                causes.Add("the content of a \"Stereo\" element could not be kept");
        } else if (kind == XML_START) {
            CSymbol* prototype = nullptr;
            if (!FindMetaclass(xml.GetName(), prototype)) {
                causes.Add(std::string("the tag \"") + xml.GetName() + "\" names no metaclass");
                SkipElement(xml);
                continue;
            }
            ModelT row;
            row.Type = prototype->metaName[0] ? prototype->metaName : xml.GetName();
            row.MMC = prototype->mmc;
            row.ItemState = readOnly ? ITEM_FIXED : 0;
            char file[260] = "";
            const int skipped = CPageSymbol::SkippedElements();
            const int id = prototype->LoadElementXml(xml, row, parents.back(), file);
            if (CPageSymbol::SkippedElements() != skipped)
                causes.Add("a page holds elements that name no symbol");
            if (id > 0)
                parents.push_back(id);
            if (id > 0 && file[0]) {
                StoreSlashedFile(id, file);
                ModifiedUnits::SetUnitFile(id, file);
                ModifiedUnits::Mark(id, 0);
                ProjectStore::LoadUnit(id, file, readOnly);
            }
        }
    }
    causes.Add("the file ends inside its \"uml\" element");
}

void ReadUnitNodes(CXmlFile& xml, int owner, BOOL readOnly, LoadCauses& causes)
{
    bool sawUml = false;
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_START && xml.NameIs("uml")) {
            sawUml = true;
            ReadUnitElements(xml, owner, readOnly, causes);
        } else if (xml.GetKind() == XML_START) {
            causes.Add(std::string("the element \"") + xml.GetName() + "\" stands outside any \"uml\" element");
            SkipElement(xml);
        } else if (xml.GetKind() == XML_TEXT && !Blank(xml.GetValue())) {
            causes.Add("text outside any \"uml\" element could not be kept");
        }
    }
    if (!sawUml)
        causes.Add("it holds no \"uml\" element");
}

void WriteUnitFile(int root, CXmlFile& xml)
{
    xml.WriteHeader();
    xml.BeginElement("uml");
    xml.WriteAttribute("version", kUmlVersion);
    xml.WriteAttribute("tool", kToolText);
    ProjectStore::WriteChildren(root, xml);
    xml.EndElement();
}

void SaveUnit(int root, SaveSession& session)
{
    if (!session.visited.insert(root).second || ModifiedUnits::IsModified(root) != 1)
        return;
    char file[260];
    if (!ModifiedUnits::GetUnitFile(root, file) || root == theProjectRootId)
        return;
    const std::string path = PathJoin(theProjectDir, file).GetString();
    std::string reason;
    const bool skipped = ModifiedUnits::IsReadOnly(root) || ModifiedUnits::IsIncomplete(root);
    if (ModifiedUnits::IsReadOnly(root))
        reason = "the unit is read-only and was not written";
    else if (ModifiedUnits::IsIncomplete(root))
        reason = "the unit did not load whole and was not written over its file";
    else
        reason = SaveXmlFile(path, [root](CXmlFile& xml) { WriteUnitFile(root, xml); });
    if (reason.empty())
        ModifiedUnits::Mark(root, 0);
    else
        session.failures->push_back({path, reason, skipped});
}

} // namespace

void ReportStoreProblem(const std::string& text)
{
    LOG_FAILURE(2, text.c_str());
    theShellHooks.OutputMessage(text.c_str());
}

void ForgetLoadedUnitFiles()
{
    theLoadedFiles.clear();
    theLoadChain.clear();
}

bool PathInsideFolder(const char* folder, const char* path)
{
    const fs::path base = fs::path(folder).lexically_normal();
    const fs::path relative = fs::path(path).lexically_normal().lexically_relative(base);
    return !relative.empty() && *relative.begin() != ".." && !relative.is_absolute();
}

namespace ProjectStore {

BOOL CheckUmlVersion(const char* text)
{
    return std::strcmp(text, kUmlVersion) == 0;
}

BOOL LoadUnit(int ownerId, const char* path, BOOL readOnly)
{
    if (!path || !path[0])
        return FALSE;
    if (readOnly)
        ModifiedUnits::SetReadOnly(ownerId);
    const std::string full = ResolveCase(PathJoin(theProjectDir, path).GetString());
    auto refuse = [&](const std::string& cause) {
        ReportStoreProblem(std::string("Fail to load ") + path + ": " + cause);
        ModifiedUnits::SetIncomplete(ownerId);
        return FALSE;
    };
    if (!readOnly && !PathInsideFolder(theProjectDir, full.c_str()))
        return refuse("the path leaves the project folder");
    const std::string key = FileKey(full);
    if (std::find(theLoadChain.begin(), theLoadChain.end(), key) != theLoadChain.end())
        return refuse("the file includes itself");
    if (theLoadedFiles.count(key))
        return refuse("the file is loaded already in this project");
    std::error_code error;
    if (!fs::exists(full, error)) {
        ReportStoreProblem(std::string("Fail to load ") + path + ": the file does not exist");
        return FALSE;
    }
    // One read serves the encoding check and the XML reader.
    std::string bytes;
    if (!ReadWhole(full, bytes))
        return refuse("the file could not be read");
    const std::string encoding = EncodingProblem(bytes);
    if (!encoding.empty())
        return refuse(encoding);
    CXmlFile xml;
    if (!xml.OpenBytes(std::move(bytes)))
        return refuse("the XML reader rejected the file");
    theLoadedFiles.insert(key);
    theLoadChain.push_back(key);
    LoadCauses causes;
    ReadUnitNodes(xml, ownerId, readOnly, causes);
    theLoadChain.pop_back();
    xml.Close();
    TextPool.Reset();
    return causes.Empty() ? TRUE : refuse(causes.Text());
}

void WriteChildren(int elementId, CXmlFile& xml)
{
    // Children in SN order, read through the FID index: a compiled query
    // per element was half the cost of a save.
    std::vector<std::pair<int, oid_t>> children;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("FID", elementId) > 0)
        do
            children.emplace_back(c->SN, c.GetCurrentOid());
        while (c.Next());
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& child : children) {
        ModelT element;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(child.second, &ModelT::TableInfo, &element) ||
            !FindMetaclass(element.Type, prototype))
            continue;
        const int id = element.ID;
        xml.BeginElement(element.Type);
        prototype->SaveElementXml(xml, element);
        if (element.Stereotype && element.Stereotype[0])
            WriteStereoValues(xml, id);
        if (element.File && element.File[0]) {
            if (theSaveSession)
                SaveUnit(id, *theSaveSession);
        } else {
            WriteChildren(id, xml);
        }
        xml.EndElement();
    }
}

int SaveUnits(int unit, FileFailures* failures)
{
    FileFailures local;
    SaveSession session{failures ? failures : &local, {}};
    const size_t before = session.failures->size();
    if (unit > 0)
        unit = ModifiedUnits::FindUnitRoot(unit);
    SaveSession* outer = theSaveSession;
    theSaveSession = &session;
    for (const int root : ModifiedUnits::FlaggedRoots())
        if (unit <= 0 || root == unit)
            SaveUnit(root, session);
    theSaveSession = outer;
    return session.failures->size() == before ? 1 : 0;
}

BOOL AddLibrary(const char* path)
{
    CSymbol* package = nullptr;
    if (!path || !path[0] || !FindMetaclass("Package", package))
        return FALSE;
    const CString full = PathJoin(theProjectDir, path);
    const CString stored = PathRelative(theProjectDir, full);
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, TRUE);
    const CString title = PathTitle(path);
    ModelT row;
    package->FillElementRecord(row, theLibraryRootId, title, guid, "");
    row.File = stored;
    row.ItemState = ITEM_FIXED;
    theModelDb.InsertRecord(&ModelT::TableInfo, &row);
    ModifiedUnits::SetReadOnly(row.ID);
    if (!LoadUnit(row.ID, full, TRUE)) {
        if (theLog.Enabled(2))
            LOG_FAILURE(2, (std::string("Fail to load ") + path).c_str());
        return FALSE;
    }
    ModifiedUnits::Mark(theProjectRootId, 1);
    return TRUE;
}

} // namespace ProjectStore
