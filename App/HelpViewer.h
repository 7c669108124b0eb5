// The help viewer: one window without owner, made on the first call and
// reused by every later one, that shows a compiled help file: its contents
// (from the file's ".hhc") in a list on the left, indented by depth, and the
// topic on the right, whose links, history and pictures come from the file.
// A missing file or topic shows a page saying so; nothing asks the user.
// Closing the window destroys it; the next call makes a new one.
#pragma once

#include "File/ChmArchive.h"
#include "Platform/ListBox.h"
#include "Platform/TextBrowser.h"

#include <string>

class CHelpViewer : public CWnd {
public:
    // target is "<help file>::<topic>", as Help Topics builds it
    // ("/prog/help.chm::/Index.htm"); without "::" the whole text is the file
    // and the topic "/Index.htm".
    static void ShowTopic(const char* target);
    // The window, null before the first call or after it was closed.
    static CHelpViewer* Get();

    const std::string& HelpFile() const { return file_; }
    CTextBrowser& Browser() { return browser_; }
    CListBox& Contents() { return contents_; }
    // What a click on the contents entry at index does.
    void OpenContentsEntry(int index);

protected:
    void PostNcDestroy() override;

    void OnSize(UINT nType, int cx, int cy);
    void OnContentsSelChange();
    DECLARE_MESSAGE_MAP()

private:
    CHelpViewer() = default;
    bool Make();
    // Opens file when it is not the open one and fills the contents.
    void OpenFile(const std::string& file);
    bool Load(const std::string& path, std::string& bytes) const;
    void SelectEntryOf(const std::string& path);

    ChmArchive archive_;
    std::string file_;
    std::vector<std::string> locals_;  // the topic of each contents line
    CListBox contents_;
    CTextBrowser browser_;
};
