// A fresh folder of the test's own under the test output, removed afterwards.
#pragma once

#include "TestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
        std::string pattern = std::string(VEXAL_TEST_OUTPUT) + "/scripting-XXXXXX";
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }

    static std::string Read(const std::string& file) { return TestFolder::Read(file); }
    static void Write(const std::string& file, const std::string& bytes) { TestFolder::Write(file, bytes); }

    std::string path;
};
