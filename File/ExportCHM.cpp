#include "File/ExportCHM.h"

#include "File/ChmWorkFolder.h"
#include "File/ProjectStore.h"
#include "Platform/FileSystem.h"
#include "Platform/Process.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const UINT kStartCompiling = 61510;
const UINT kFailToCompile = 61512;
const UINT kSuccess = 61514;

void Message(const std::string& text)
{
    theShellHooks.OutputMessage(text.c_str());
}

bool IsRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The style word of the help window's navigation pane.
int NavigationStyle(const CSysConfig& config)
{
    int style = config.m_bShowBookmark ? 0x61460 : 0x60460;
    if (!config.m_bShowSearch)
        style &= ~0x20400;
    if (!config.m_bHideText)
        style &= ~0x40;
    if (!config.m_bRecPosition)
        style &= ~0x40000;
    return style;
}

int TreeStyle(const CSysConfig& config)
{
    int style = config.m_bShowPlus ? 0x827 : 0x826;
    if (!config.m_bShowLine)
        style &= ~2;
    return style;
}

// One export: the work folder and the three project files being written.
struct ChmProject {
    ChmWorkFolder work;
    CBufferedFile hhp;
    CBufferedFile hhc;
    CBufferedFile hhk;
    // Elements written so far: an owner loop ends at the first repeat.
    std::set<int> visited;
};

std::string SitemapEntry(const char* name, const std::string& local)
{
    return "<LI><OBJECT TYPE=\"text/sitemap\">\r\n<PARAM NAME=\"Name\" VALUE=\"" + HtmlEscape(name) +
           "\">\r\n<PARAM NAME=\"Local\" VALUE=\"" + HtmlEscape(local.c_str()) + "\">\r\n</OBJECT>\r\n";
}

// The relative targets of src="..." in a page: the pictures it shows.
std::vector<std::string> PicturesOf(const std::string& page)
{
    std::vector<std::string> pictures;
    const std::string key = "src=\"";
    for (size_t at = page.find(key); at != std::string::npos; at = page.find(key, at)) {
        at += key.size();
        const size_t end = page.find('"', at);
        if (end == std::string::npos)
            break;
        const std::string target = page.substr(at, end - at);
        if (!target.empty() && target[0] != '/' && target.find(':') == std::string::npos &&
            target.find("..") == std::string::npos)
            pictures.push_back(target);
    }
    return pictures;
}

// Writes element's page into folder and its lines into the three files, then
// its children's below it; false, nothing written, when its Type is no
// metaclass or it was written already.
bool WriteChmTocNode(ChmProject& project, const std::string& folder, const ModelT& element)
{
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(element.Type, prototype) || !prototype)
        return false;
    if (!project.visited.insert(element.ID).second)
        return false;
    if (!project.work.MakeFolder(folder))
        Message("Can't create \"" + folder + "\"");
    prototype->WriteHtmlPage(folder.c_str(), element);
    const std::string pageName = prototype->HtmlPageName(element).GetString();
    const std::string pagePath = folder + "/" + pageName;
    project.work.AddFile(pagePath);
    const std::string base = pageName.substr(0, pageName.size() - 4);
    const std::string childFolder = folder + "/" + base;
    const std::string relative = PathRelative(project.work.Root().c_str(), childFolder.c_str()).GetString();
    project.hhk.WriteString(SitemapEntry(element.Name, relative + ".htm").c_str());
    project.hhp.WriteString((relative + ".htm\r\n").c_str());
    // chmcmd does not follow the pages' references: every picture is listed.
    const std::string relativeFolder = PathDir(relative.c_str()).GetString();
    for (const std::string& picture : PicturesOf(ReadFile(pagePath))) {
        const std::string path = folder + "/" + picture;
        if (!IsRegularFile(path))
            continue;
        project.work.AddFile(path);
        project.hhp.WriteString(((relativeFolder.empty() ? "" : relativeFolder + "/") + picture + "\r\n").c_str());
    }
    const std::vector<int> children = prototype->mmc == MMC_DIAGRAM ? std::vector<int>() : ChildElementIds(element.ID);
    const std::string entry = SitemapEntry(prototype->GetLabel(element), relative + ".htm");
    if (children.empty()) {
        project.hhc.WriteString(entry.c_str());
    } else {
        project.hhc.WriteString((entry + "<UL>\r\n").c_str());
        for (const int id : children) {
            ModelT child;
            if (FetchElementById(id, child))
                WriteChmTocNode(project, childFolder, child);
        }
        project.hhc.WriteString("</UL>\r\n");
    }
    Message(relative);
    return true;
}

void WriteProjectHead(ChmProject& project, const std::string& name, const std::string& topic)
{
    const CSysConfig& c = theSysConfig;
    CString head;
    head.Format("[OPTIONS]\r\n"
                "Compatibility=1.1 or later\r\n"
                "Compiled file=%s.chm\r\n"
                "Default Window=Main\r\n"
                "Default topic=%s\r\n"
                "Default font=\xE5\xAE\x8B\xE4\xBD\x93,9,1\r\n"
                "Contents file=%s.hhc\r\n"
                "Index file=%s.hhk\r\n"
                "Display compile progress=Yes\r\n"
                "Full-text search=Yes\r\n"
                "Language=0x804 \xE4\xB8\xAD\xE6\x96\x87(\xE4\xB8\xAD\xE5\x9B\xBD)\r\n"
                "[WINDOWS]\r\n"
                "Main=\"%s\",\"%s.hhc\",\"%s.hhk\",\"%s\",\"%s\",,,,,0x%X,%d,0x10304e,[%d,%d,%d,%d],0x0,0x0,,,,,0\r\n"
                "\r\n"
                "[FILES]\r\n",
                name.c_str(), topic.c_str(), name.c_str(), name.c_str(), name.c_str(), name.c_str(), name.c_str(),
                topic.c_str(), topic.c_str(), NavigationStyle(c), c.m_nChmBoardWidth, c.m_nChmLeft, c.m_nChmTop,
                c.m_nChmLeft + c.m_nChmWidth, c.m_nChmTop + c.m_nChmHeight);
    project.hhp.WriteString(head);
    project.hhk.WriteString("<HTML><HEAD></HEAD><BODY><UL>\r\n");
    CString contents;
    contents.Format("<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window "
                    "Styles\" value=\"0x%X\"></OBJECT>\r\n<UL>\r\n",
                    TreeStyle(c));
    project.hhc.WriteString(contents);
}

bool Failed()
{
    Message(LoadResString(kFailToCompile).GetString());
    return false;
}

// Opens the three project files "<root>/<name>.hh?"; false when one does not open.
bool OpenProjectFiles(ChmProject& project, const std::string& name)
{
    const std::string stem = project.work.Root() + "/" + name;
    CBufferedFile* files[] = {&project.hhp, &project.hhc, &project.hhk};
    const char* extensions[] = {".hhp", ".hhc", ".hhk"};
    for (int i = 0; i < 3; ++i) {
        if (!files[i]->Open((stem + extensions[i]).c_str(), CFile::modeCreate | CFile::modeWrite))
            return false;
        project.work.AddFile(stem + extensions[i]);
    }
    return true;
}

bool CloseProjectFiles(ChmProject& project)
{
    project.hhc.WriteString("</UL></BODY></HTML>\r\n");
    project.hhk.WriteString("</UL></BODY></HTML>\r\n");
    bool whole = true;
    for (CBufferedFile* file : {&project.hhp, &project.hhc, &project.hhk}) {
        file->Close();
        whole = whole && !file->HasWriteError();
    }
    return whole;
}

} // namespace

bool ExportChm(int elementId, const char* folder)
{
    ModelT element;
    if (elementId <= 0 || !folder || !*folder || !FetchElementById(elementId, element))
        return Failed();
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(element.Type, prototype) || !prototype)
        return Failed();
    ChmProject project;
    if (!project.work.Prepare(folder, theProjectDir.GetString())) {
        Message("Can't use \"" + std::string(folder) + "\" as the work folder");
        return Failed();
    }
    const std::string page = prototype->HtmlPageName(element).GetString();
    const std::string name = CleanFileName(element.Name, page.substr(0, page.size() - 4).c_str()).GetString();
    if (!OpenProjectFiles(project, name)) {
        project.work.RemoveMade();
        return Failed();
    }
    WriteProjectHead(project, name, page);
    WriteChmTocNode(project, project.work.Root(), element);
    if (!CloseProjectFiles(project)) {
        project.work.RemoveMade();
        return Failed();
    }
    Message(LoadResString(kStartCompiling).GetString());
    const std::string hhp = project.work.Root() + "/" + name + ".hhp";
    if (!CompileChm(hhp.c_str()))
        return Failed();
    const std::string compiled = project.work.Root() + "/" + name + ".chm";
    const std::string target = PathJoin(project.work.Parent().c_str(), (name + ".chm").c_str()).GetString();
    if (std::rename(compiled.c_str(), target.c_str()) != 0) {
        Message("Can't move \"" + compiled + "\" to \"" + target + "\": " + std::strerror(errno));
        return false;
    }
    project.work.RemoveMade();
    CString done;
    done.Format(LoadResString(kSuccess).GetString(), target.c_str());
    Message(done.GetString());
    return true;
}

BOOL OnChmCompileText(const char* text)
{
    Message(text ? text : "");
    return TRUE;
}

int CompileChm(const char* hhpPath)
{
    std::string program = FindOnPath("chmcmd");
    if (program.empty()) {
        const std::string bundled = std::string(theModuleDir) + "Lib/chmcmd";
        if (access(bundled.c_str(), X_OK) != 0) {
            LOG_FAILURE(3, ("Can't load " + bundled + "\r\n").c_str());
            Message("Can't load chmcmd");
            return 0;
        }
        program = bundled;
    }
    const std::string project = hhpPath ? hhpPath : "";
    const std::string compiled = PathStripExt(project.c_str()).GetString() + std::string(".chm");
    DeleteFile(compiled.c_str());
    bool complained = false;
    const int code = RunProcess(program, {"--no-html-scan", PathFileName(project.c_str()).GetString()},
                                PathDir(project.c_str()).GetString(), [&](const std::string& line) {
                                    complained = complained || line.find("Error:") != std::string::npos ||
                                                 line.find("Warning:") != std::string::npos ||
                                                 line.find("Can't find") != std::string::npos;
                                    OnChmCompileText(line.c_str());
                                });
    struct stat st;
    const bool made = stat(compiled.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    return code == 0 && made && !complained ? 1 : 0;
}
