// Answers the file and folder dialogs through the dialog hook as a user
// choosing `chosen` would, and records what each dialog was given.
#pragma once

#include "Platform/CommonDialogs.h"
#include "Platform/DialogHook.h"

#include <cstring>
#include <string>

struct FileAnswer {
    std::string chosen;
    INT_PTR button = IDOK;
    DialogKind kind = DialogKind::MessageBox;
    std::string filter;
    std::string initial;
    DWORD flags = 0;
    DialogHook old;

    explicit FileAnswer(std::string files, INT_PTR answer = IDOK) : chosen(std::move(files)), button(answer)
    {
        old = AfxSetDialogHook([this](DialogRequest& request, INT_PTR* result) {
            kind = request.kind;
            if (request.kind == DialogKind::Folder) {
                auto* info = static_cast<BROWSEINFO*>(request.data);
                initial = info->lpszInitialFolder ? info->lpszInitialFolder : "";
                std::memcpy(info->pszPath, chosen.c_str(), chosen.size() + 1);
            } else {
                auto* ofn = static_cast<OPENFILENAME*>(request.data);
                flags = ofn->Flags;
                initial = ofn->lpstrFile;
                for (const char* p = ofn->lpstrFilter; p && *p; p += std::strlen(p) + 1)
                    filter += std::string(p) + "|";
                if (chosen.size() + 1 <= ofn->nMaxFile)
                    std::memcpy(ofn->lpstrFile, chosen.data(), chosen.size() + 1);
            }
            *result = button;
            return true;
        });
    }
    ~FileAnswer() { AfxSetDialogHook(old); }
};
