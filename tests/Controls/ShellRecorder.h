// Records what the desktop's handler would be asked to open, and answers
// for it, while in scope.
#pragma once

#include "Platform/Shell.h"

#include <string>
#include <vector>

struct ShellRecorder {
    std::vector<std::string> opened;
    bool answer = true;
    ShellOpenHook old;

    ShellRecorder()
    {
        old = AfxSetShellOpenHook([this](const char* url) {
            opened.push_back(url);
            return answer;
        });
    }
    ~ShellRecorder() { AfxSetShellOpenHook(old); }
};
