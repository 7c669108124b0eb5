// The calls by which the symbol base reaches the shell and the project files.
// Those subsystems sit above this one, so they fill this table at start-up
// instead of being linked to. Every entry is always callable: the defaults
// need no window (InsertModelElement inserts through the undoable wrapper,
// MarkModified marks nothing and answers -1, the root getters answer -1, GetMainView
// answers null, the rest do nothing). LocateElement stays null while there is no main window.
#pragma once

#include "Platform/Geometry.h"

#include <vector>

struct ModelT;
class CWnd;

// One entry of a context menu: a command and, for a submenu caption, the
// string id of its caption and the entries that follow it inside.
struct ContextMenuItem {
    unsigned commandId;
    unsigned captionStringId; // non-zero for a submenu caption
    std::vector<ContextMenuItem> submenu;
};

struct ShellHooks {
    // Inserts the element undoably, refreshes the model tree and marks the
    // owner's unit; returns the new engine id, 0 when refused.
    unsigned (*InsertModelElement)(const ModelT& element);
    void (*RefreshModelTree)();
    void (*RefreshElementSymbols)(int elementId);
    // The property pane shows the element or symbol id; Show skips it when it
    // is shown already, Reload shows it again in any case.
    void (*PropertyPaneShow)(int id, bool isElement);
    void (*PropertyPaneReload)(int id, bool isElement);
    void (*PropertyPaneClear)();
    // The model browser shows and selects the element; null without a main window.
    void (*LocateElement)(int elementId);
    // The unit that holds the element gets the modified flag; its root's id, or
    // -1 when the owner chain is broken.
    int (*MarkModified)(int elementId, int flag);
    void (*OutputMessage)(const char* text);
    // Shows the menu at the screen point with owner as command target.
    void (*TrackContextMenu)(const std::vector<ContextMenuItem>& items, CWnd* owner, POINT screen);
    int (*GetProjectRoot)();
    int (*GetLibraryRoot)();
    int (*GetPredefinedRoot)();
    // The active diagram view of the main window; null without one.
    CWnd* (*GetMainView)();
};

extern ShellHooks theShellHooks;

// Puts every entry back to its default.
void ResetShellHooks();
