// Running another program and reading what it prints. The program's standard
// output and standard error arrive merged, one line at a time without its line
// end, on the caller's thread while the program runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The path of the first executable file named `name` in the folders of PATH;
// empty when there is none. A name holding "/" is not looked up.
std::string FindOnPath(const char* name);

// Runs program (a path) with args in folder and waits for it. Its exit code;
// -1 when it could not be started, 128 plus the signal when a signal ended it.
int RunProcess(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
               const std::function<void(const std::string& line)>& onLine);
