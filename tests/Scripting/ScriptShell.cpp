#include "ScriptShell.h"

#include "Platform/CommonDialogs.h"
#include "Scripting/ScriptHost.h"

#include <gtest/gtest.h>

#include <cstdio>

ScriptShell::ScriptShell() { InstallScriptHost(); }

std::vector<std::string> ScriptShell::Run(const std::string& script, const std::string& file,
                                          const std::vector<Answer>& answers)
{
    WriteFile(file, script);
    return RunPath(Folder() + file, answers);
}

std::vector<std::string> ScriptShell::RunPath(const std::string& path, const std::vector<Answer>& answers)
{
    const size_t before = Messages().size();
    Queue({ DialogKind::FileOpen, IDOK, [path](DialogRequest& request) {
               auto* ofn = static_cast<OPENFILENAME*>(request.data);
               std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", path.c_str());
           } });
    for (const Answer& answer : answers)
        Queue(answer);
    Command(32795);
    std::vector<std::string> lines = Messages();
    lines.erase(lines.begin(), lines.begin() + std::min(before, lines.size()));
    return lines;
}
