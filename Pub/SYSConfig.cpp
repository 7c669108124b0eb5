// The system configuration and cfg/sys.xml.
#include "Pub/SYSConfig.h"
#include "Pub/AtomicSave.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "Pub/XmlFile.h"

#include <strings.h>

CSysConfig theSysConfig;

namespace {

const int kDefaultPageWidth = 21000;
const int kDefaultPageHeight = 29700;
const int kDefaultFontSize = 500;
const int kDefaultChmWidth = 800;
const int kDefaultChmHeight = 600;
const int kDefaultChmBoardWidth = 180;

bool Is(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

CString ConfigPath() { return CString(theModuleDir) + "cfg/sys.xml"; }

// A size out of its bounds would divide by zero or leave no room later: the
// default stays.
int Bounded(const char* text, bool (*valid)(int), int fallback)
{
    const int value = ParseHex(text);
    return valid(value) ? value : fallback;
}

bool Positive(int value) { return value > 0; }

// The command icons of the program folder, in the order they are added.
struct IconName {
    const char* folder;
    const char* file;
    UINT id;
};

const IconName kIcons[] = {
    {"common", "Workspace.bmp", 3024}, {"common", "empty.bmp", 57642},
    {"toolbar", "new.bmp", 57600},     {"toolbar", "open.bmp", 57601},
    {"toolbar", "save.bmp", 57603},    {"toolbar", "saveas.bmp", 57604},
    {"toolbar", "cut.bmp", 57635},     {"toolbar", "copy.bmp", 57634},
    {"toolbar", "paste.bmp", 57637},   {"toolbar", "print.bmp", 57607},
    {"toolbar", "about.bmp", 57664},   {"toolbar", "close.bmp", 57602},
    {"toolbar", "delete.bmp", 32773},  {"toolbar", "saveall.bmp", 32783},
    {"toolbar", "undo.bmp", 57643},    {"toolbar", "redo.bmp", 57644},
    {"toolbar", "exportchm.bmp", 32784}, {"toolbar", "closewnd.bmp", 32785},
    {"toolbar", "closeall.bmp", 32786}, {"toolbar", "zoomin.bmp", 32787},
    {"toolbar", "zoomout.bmp", 32788}, {"toolbar", "actualsize.bmp", 32789},
    {"toolbar", "moveup.bmp", 32790},  {"toolbar", "movedown.bmp", 32791},
    {"toolbar", "nextpage.bmp", 32793}, {"toolbar", "forepage.bmp", 32794},
    {"toolbar", "search.bmp", 32799},  {"toolbar", "options.bmp", 32798},
    {"toolbar", "javascript.bmp", 32795}, {"toolbar", "loadlib.bmp", 32800},
    {"toolbar", "removelib.bmp", 32801},
};

} // namespace

CSysConfig::CSysConfig() { SetDefaults(); }

void CSysConfig::SetDefaults()
{
    SafeStrCopy(m_szTool, "Vexal 1.10.00", sizeof m_szTool);
    SafeStrCopy(m_szUml, "UML2.0", sizeof m_szUml);
    m_nLogLevel = 2;
    m_bAutoTest = FALSE;
    m_nPageWidth = kDefaultPageWidth;
    m_nPageHeight = kDefaultPageHeight;
    m_clrDiagramBg = 0xFFFFFF;
    m_clrSymbolBg = 0xFFF2F3;
    m_clrSymbolBorder = 0;
    m_nFontSize = kDefaultFontSize;
    m_nSmallFontSize = kDefaultFontSize * 3 / 4;
    SafeStrCopy(m_szFontName, "Arial", sizeof m_szFontName);
    m_nChmLeft = 0;
    m_nChmTop = 0;
    m_nChmWidth = kDefaultChmWidth;
    m_nChmHeight = kDefaultChmHeight;
    m_nChmBoardWidth = kDefaultChmBoardWidth;
    m_bRecPosition = m_bShowSearch = m_bShowBookmark = TRUE;
    m_bHideText = m_bShowPlus = m_bShowLine = TRUE;
}

BOOL CSysConfig::Load() { return LoadFrom(ConfigPath()); }

BOOL CSysConfig::Save() { return SaveTo(ConfigPath()); }

BOOL CSysConfig::LoadFrom(const char* path)
{
    CXmlFile xml;
    if (!xml.Open(path, XML_READ)) {
        const CString message = CString("Fail to open ") + path + "\r\n";
        LOG_FAILURE(4, message);
        return FALSE;
    }
    while (xml.ReadNextNode()) {
        const char* node = xml.GetName();
        if (xml.GetKind() == XML_END && Is(node, "SYSTEMCONFIG"))
            break;
        if (xml.GetKind() != XML_START)
            continue;
        if (Is(node, "SYSTEMCONFIG")) {
            while (xml.ReadNextAttribute()) {
                if (Is(xml.GetName(), "TOOL"))
                    SafeStrCopy(m_szTool, xml.GetValue(), sizeof m_szTool);
                else if (Is(xml.GetName(), "UML"))
                    SafeStrCopy(m_szUml, xml.GetValue(), sizeof m_szUml);
            }
        } else if (Is(node, "PAGE")) {
            while (xml.ReadNextAttribute()) {
                const char* name = xml.GetName();
                if (Is(name, "WIDTH"))
                    m_nPageWidth = Bounded(xml.GetValue(), IsValidPageSide, kDefaultPageWidth);
                else if (Is(name, "HEIGHT"))
                    m_nPageHeight = Bounded(xml.GetValue(), IsValidPageSide, kDefaultPageHeight);
                else if (Is(name, "FONTSIZE")) {
                    m_nFontSize = Bounded(xml.GetValue(), Positive, kDefaultFontSize);
                    m_nSmallFontSize = int(m_nFontSize * 0.75);
                } else if (Is(name, "FONTNAME"))
                    SafeStrCopy(m_szFontName, xml.GetValue(), sizeof m_szFontName);
            }
        } else if (Is(node, "COLOR")) {
            while (xml.ReadNextAttribute()) {
                const char* name = xml.GetName();
                if (Is(name, "DIGRAMBG"))
                    m_clrDiagramBg = COLORREF(ParseHex(xml.GetValue()));
                else if (Is(name, "SYMBOLBG"))
                    m_clrSymbolBg = COLORREF(ParseHex(xml.GetValue()));
                else if (Is(name, "SYMBOLBDR"))
                    m_clrSymbolBorder = COLORREF(ParseHex(xml.GetValue()));
            }
        } else if (Is(node, "DEVELOP")) {
            while (xml.ReadNextAttribute()) {
                if (Is(xml.GetName(), "AUTOTEST"))
                    m_bAutoTest = ParseBool(xml.GetValue());
                else if (Is(xml.GetName(), "LOGLEVEL"))
                    m_nLogLevel = ParseHex(xml.GetValue());
            }
        } else if (Is(node, "CHM")) {
            struct Field {
                const char* name;
                int* number;
                BOOL* flag;
                int fallback;  // of a size, which must be positive
            };
            const Field fields[] = {
                {"Left", &m_nChmLeft, nullptr, 0},
                {"Top", &m_nChmTop, nullptr, 0},
                {"Width", &m_nChmWidth, nullptr, kDefaultChmWidth},
                {"Height", &m_nChmHeight, nullptr, kDefaultChmHeight},
                {"BoardWidth", &m_nChmBoardWidth, nullptr, kDefaultChmBoardWidth},
                {"RecPosition", nullptr, &m_bRecPosition, 0},
                {"ShowSearch", nullptr, &m_bShowSearch, 0},
                {"ShowBookmark", nullptr, &m_bShowBookmark, 0},
                {"HideText", nullptr, &m_bHideText, 0},
                {"ShowPlus", nullptr, &m_bShowPlus, 0},
                {"ShowLine", nullptr, &m_bShowLine, 0},
            };
            while (xml.ReadNextAttribute()) {
                for (const Field& field : fields) {
                    if (!Is(xml.GetName(), field.name))
                        continue;
                    if (field.number && field.fallback)
                        *field.number = Bounded(xml.GetValue(), IsValidHelpSize, field.fallback);
                    else if (field.number)
                        *field.number = ParseHex(xml.GetValue());
                    else
                        *field.flag = ParseBool(xml.GetValue());
                    break;
                }
            }
        } else if (Is(node, "PROJECT")) {
            // Every NAME attribute up to the end of PROJECT names a recent project.
            while (xml.ReadNextNode()) {
                if (xml.GetKind() == XML_END && Is(xml.GetName(), "PROJECT"))
                    break;
                if (xml.GetKind() != XML_START)
                    continue;
                while (xml.ReadNextAttribute())
                    if (Is(xml.GetName(), "NAME"))
                        m_recentProjects.Add(xml.GetValue());
            }
        }
    }
    xml.Close();
    return TRUE;
}

BOOL CSysConfig::SaveTo(const char* path)
{
    BOOL opened = FALSE;
    const BOOL saved = SaveFileAtomically(path, [&](const char* temporaryPath) {
        CXmlFile xml;
        opened = xml.Open(temporaryPath, XML_WRITE);
        if (!opened)
            return FALSE;
        Write(xml);
        xml.Close();
        return xml.WriteFailed() ? FALSE : TRUE;
    });
    if (!saved) {
        const CString message = CString(opened ? "Fail to write " : "Fail to open ") + path + "\r\n";
        LOG_FAILURE(4, message);
    }
    return saved;
}

void CSysConfig::Write(CXmlFile& xml) const
{
    xml.WriteHeader();
    xml.BeginElement("SYSTEMCONFIG");
    xml.WriteAttribute("TOOL", m_szTool);
    xml.WriteAttribute("UML", m_szUml);
    xml.BeginElement("PAGE");
    xml.WriteAttributeHex("WIDTH", m_nPageWidth);
    xml.WriteAttributeHex("HEIGHT", m_nPageHeight);
    xml.WriteAttribute("FONTNAME", m_szFontName);
    xml.WriteAttributeHex("FONTSIZE", m_nFontSize);
    xml.EndElement();
    xml.BeginElement("COLOR");
    xml.WriteAttributeHex("DIGRAMBG", int(m_clrDiagramBg));
    xml.WriteAttributeHex("SYMBOLBG", int(m_clrSymbolBg));
    xml.WriteAttributeHex("SYMBOLBDR", int(m_clrSymbolBorder));
    xml.EndElement();
    xml.BeginElement("DEVELOP");
    xml.WriteAttributeBool("AUTOTEST", m_bAutoTest);
    xml.WriteAttributeHex("LOGLEVEL", m_nLogLevel);
    xml.EndElement();
    xml.BeginElement("CHM");
    xml.WriteAttributeHex("Left", m_nChmLeft);
    xml.WriteAttributeHex("Top", m_nChmTop);
    xml.WriteAttributeHex("Width", m_nChmWidth);
    xml.WriteAttributeHex("Height", m_nChmHeight);
    xml.WriteAttributeHex("BoardWidth", m_nChmBoardWidth);
    xml.WriteAttributeBool("RecPosition", m_bRecPosition);
    xml.WriteAttributeBool("ShowSearch", m_bShowSearch);
    xml.WriteAttributeBool("ShowBookmark", m_bShowBookmark);
    xml.WriteAttributeBool("HideText", m_bHideText);
    xml.WriteAttributeBool("ShowPlus", m_bShowPlus);
    xml.WriteAttributeBool("ShowLine", m_bShowLine);
    xml.EndElement();
    if (m_recentProjects.GetSize() > 0) {
        xml.BeginElement("PROJECT");
        for (INT_PTR i = 0; i < m_recentProjects.GetSize(); ++i) {
            xml.BeginElement("FILE");
            xml.WriteAttribute("NAME", m_recentProjects[i]);
            xml.EndElement();
        }
        xml.EndElement();
    }
    xml.EndElement();
}

void CSysConfig::LoadCommandIcons()
{
    m_commandIcons.clear();
    const CString images = CString(theModuleDir) + "Img/";
    for (const IconName& icon : kIcons)
        m_commandIcons.push_back(CommandIconFile{images + icon.folder + "/" + icon.file, 0xFFFFFF, icon.id});
}

void CSysConfig::AddRecentProject(const char* path)
{
    if (!path)
        return;
    for (INT_PTR i = 0; i < m_recentProjects.GetSize(); ++i) {
        if (m_recentProjects[i].Compare(path) == 0) {
            m_recentProjects.RemoveAt(i);
            break;
        }
    }
    if (m_recentProjects.GetSize() > 4)
        m_recentProjects.RemoveAt(4);
    m_recentProjects.InsertAt(0, path);
}

void CSysConfig::CopyFrom(const CSysConfig& other)
{
    SafeStrCopy(m_szTool, other.m_szTool, sizeof m_szTool);
    SafeStrCopy(m_szUml, other.m_szUml, sizeof m_szUml);
    m_nLogLevel = other.m_nLogLevel;
    m_bAutoTest = other.m_bAutoTest;
    m_nPageWidth = other.m_nPageWidth;
    m_nPageHeight = other.m_nPageHeight;
    m_clrDiagramBg = other.m_clrDiagramBg;
    m_clrSymbolBg = other.m_clrSymbolBg;
    m_clrSymbolBorder = other.m_clrSymbolBorder;
    m_nFontSize = other.m_nFontSize;
    m_nSmallFontSize = other.m_nSmallFontSize;
    SafeStrCopy(m_szFontName, other.m_szFontName, sizeof m_szFontName);
    m_nChmLeft = other.m_nChmLeft;
    m_nChmTop = other.m_nChmTop;
    m_nChmWidth = other.m_nChmWidth;
    m_nChmHeight = other.m_nChmHeight;
    m_nChmBoardWidth = other.m_nChmBoardWidth;
    m_bRecPosition = other.m_bRecPosition;
    m_bShowSearch = other.m_bShowSearch;
    m_bShowBookmark = other.m_bShowBookmark;
    m_bHideText = other.m_bHideText;
    m_bShowPlus = other.m_bShowPlus;
    m_bShowLine = other.m_bShowLine;
    if (other.m_recentProjects.GetSize() > 0) {
        m_recentProjects.RemoveAll();
        for (INT_PTR i = 0; i < other.m_recentProjects.GetSize(); ++i)
            m_recentProjects.Add(other.m_recentProjects[i]);
    }
}

BOOL CSysConfig::IsSameAs(const CSysConfig& other) const
{
    return m_nPageWidth == other.m_nPageWidth && m_nPageHeight == other.m_nPageHeight
           && m_clrDiagramBg == other.m_clrDiagramBg && m_clrSymbolBg == other.m_clrSymbolBg
           && m_clrSymbolBorder == other.m_clrSymbolBorder && m_nChmLeft == other.m_nChmLeft
           && m_nChmTop == other.m_nChmTop && m_nChmWidth == other.m_nChmWidth
           && m_nChmHeight == other.m_nChmHeight && m_nChmBoardWidth == other.m_nChmBoardWidth
           && BoolEqual(m_bRecPosition, other.m_bRecPosition) && BoolEqual(m_bShowSearch, other.m_bShowSearch)
           && BoolEqual(m_bShowBookmark, other.m_bShowBookmark) && BoolEqual(m_bHideText, other.m_bHideText)
           && BoolEqual(m_bShowPlus, other.m_bShowPlus) && BoolEqual(m_bShowLine, other.m_bShowLine);
}
