// A folder of the test's own under the test output, emptied when made and
// removed afterwards; the process's database name keeps test programs that
// run side by side apart.
#pragma once

#include "MemDB/db.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TestFolder {
public:
    explicit TestFolder(const std::string& name)
        : path(std::string(VEXAL_TEST_OUTPUT) + "/" + name + "-" + theDbName + "/")
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    static std::string Read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Writes bytes to file, making its folders first.
    static void Write(const std::string& file, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    const std::string path;
};
