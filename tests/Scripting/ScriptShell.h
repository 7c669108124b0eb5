// The main window with the real script host: scripts are written under the
// program folder and run through Tools/Run Javascript, as a user runs them.
#pragma once

#include "../App/ShellHarness.h"

#include <string>
#include <vector>

class ScriptShell : public ShellHarness {
public:
    ScriptShell();

    // Writes the script as the file and runs it; the Messages lines it
    // added. The answers are for the dialogs the script opens.
    std::vector<std::string> Run(const std::string& script, const std::string& file = "script.js",
                                 const std::vector<Answer>& answers = {});
    // Runs the file at the path as it stands.
    std::vector<std::string> RunPath(const std::string& path, const std::vector<Answer>& answers = {});
};
