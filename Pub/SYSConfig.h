// CSysConfig: the settings that outlive a project, kept in cfg/sys.xml under
// the program folder. theSysConfig is the one the program reads; the Options
// dialog edits a copy. Values read from the file are range-checked: a font
// size of zero or less, a page side the edges would fill, or a help window
// width, height or navigation width of zero or less keeps the default, so
// nothing later divides by it or lays out into nothing.
#pragma once

#include "Platform/Collections.h"
#include "Platform/CString.h"

#include <vector>

class CXmlFile;

// A command icon the configuration names: the bitmap file, its transparent
// colour and the command. The command icon registry is filled from these.
struct CommandIconFile {
    CString path;
    COLORREF mask;
    UINT id;
};

class CSysConfig {
public:
    // Every page keeps this edge (0.01 mm) on each side.
    static const int PageEdge = 1500;
    // The bounds the file and the Options dialog hold values to.
    static bool IsValidPageSide(int value) { return value > 2 * PageEdge; }
    static bool IsValidHelpSize(int value) { return value > 0; }

    CSysConfig();
    CSysConfig(const CSysConfig&) = delete;
    CSysConfig& operator=(const CSysConfig&) = delete;

    char m_szTool[65];
    char m_szUml[41];
    int m_nLogLevel;
    BOOL m_bAutoTest;
    int m_nPageWidth;
    int m_nPageHeight;
    COLORREF m_clrDiagramBg;
    COLORREF m_clrSymbolBg;
    COLORREF m_clrSymbolBorder;
    int m_nFontSize;
    // Three quarters of the font size, truncated.
    int m_nSmallFontSize;
    char m_szFontName[41];
    int m_nChmLeft;
    int m_nChmTop;
    int m_nChmWidth;
    int m_nChmHeight;
    int m_nChmBoardWidth;
    BOOL m_bRecPosition;
    BOOL m_bShowSearch;
    BOOL m_bShowBookmark;
    BOOL m_bHideText;
    BOOL m_bShowPlus;
    BOOL m_bShowLine;
    // Most recent first.
    CStringArray m_recentProjects;

    // Every setting to its default except the recent projects and the icons.
    void SetDefaults();
    // Reads theModuleDir + "cfg/sys.xml"; FALSE (settings kept, failure
    // logged) when it cannot be opened or its header is rejected.
    BOOL Load();
    // Replaces the file only once the new one is written whole and on the
    // disk; FALSE, logged, with the old file as it was, on any failure.
    BOOL Save();
    // The same with a path of the caller's.
    BOOL LoadFrom(const char* path);
    BOOL SaveTo(const char* path);

    // Fills the list of command icon files: Img/common and Img/toolbar under
    // the program folder, in the order the registry adds them.
    void LoadCommandIcons();
    const std::vector<CommandIconFile>& GetCommandIconFiles() const { return m_commandIcons; }

    void AddRecentProject(const char* path);
    // Copies every setting; the recent projects only when other's list is not empty.
    void CopyFrom(const CSysConfig& other);
    // Compares the page size, the three colours and the eleven help-window settings.
    BOOL IsSameAs(const CSysConfig& other) const;

private:
    void Write(CXmlFile& xml) const;

    std::vector<CommandIconFile> m_commandIcons;
};

extern CSysConfig theSysConfig;
