// Replaces the shell hooks for one test and records every call as a line of
// text, "name id flag"; the defaults come back when the recorder goes.
#pragma once

#include "UML/Model/ShellHooks.h"

#include "MemDB/db.h"

#include <string>
#include <vector>

class HookRecorder {
public:
    HookRecorder()
    {
        calls.clear();
        theShellHooks.InsertModelElement = [](const ModelT& e) {
            calls.push_back("insert " + std::to_string(e.ID) + " " + std::to_string(e.FID));
            return static_cast<unsigned>(MemDbInsert(&ModelT::TableInfo, &e));
        };
        theShellHooks.RefreshModelTree = [] { calls.push_back("tree"); };
        theShellHooks.PropertyPaneShow = [](int id, bool e) { calls.push_back(Line("show", id, e)); };
        theShellHooks.PropertyPaneReload = [](int id, bool e) { calls.push_back(Line("reload", id, e)); };
        theShellHooks.LocateElement = [](int id) { calls.push_back("locate " + std::to_string(id)); };
        theShellHooks.MarkModified = [](int id, int flag) {
            calls.push_back(Line("mark", id, flag));
            return id;
        };
        theShellHooks.TrackContextMenu = [](const std::vector<ContextMenuItem>& items, CWnd*, POINT) {
            menu = items;
            calls.push_back("menu");
        };
    }
    ~HookRecorder() { ResetShellHooks(); }
    HookRecorder(const HookRecorder&) = delete;
    HookRecorder& operator=(const HookRecorder&) = delete;

    bool Has(const std::string& call) const
    {
        for (const std::string& c : calls)
            if (c == call)
                return true;
        return false;
    }

    static inline std::vector<std::string> calls;
    static inline std::vector<ContextMenuItem> menu;

private:
    static std::string Line(const char* name, int id, int flag)
    {
        return std::string(name) + " " + std::to_string(id) + " " + std::to_string(flag);
    }
};
