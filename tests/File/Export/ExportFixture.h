// A fresh model for each test (element numbers from 1), a hidden main view
// for the diagram pictures, default help-window settings, the Messages pane
// recorded and a folder of the test's own.
#pragma once

#include "File/ExportCHM.h"
#include "File/ProjectStore.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/Wnd.h"
#include "Pub/GuidText.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> theMessages;
inline CWnd* theExportView = nullptr;

class ExportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        MemDbClearModel();
        ResetModelCounters();
        theSysConfig.SetDefaults();
        theMessages.clear();
        theShellHooks.OutputMessage = [](const char* text) { theMessages.push_back(text); };
        ASSERT_TRUE(view.CreateEx(0, nullptr, "view", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
        theExportView = &view;
        theShellHooks.GetMainView = [] { return theExportView; };
        dir = std::string(VEXAL_TEST_OUTPUT) + "/export/" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        theProjectDir = dir.c_str();
    }
    void TearDown() override
    {
        theExportView = nullptr;
        view.DestroyWindow();
        ResetShellHooks();
        theProjectDir = "";
    }

    static int Add(int owner, const char* key, const char* name)
    {
        CSymbol* prototype = nullptr;
        EXPECT_TRUE(FindMetaclass(key, prototype)) << key;
        char guid[GuidTextLength + 1];
        MakeGuidText(guid, sizeof guid, TRUE);
        return prototype->CreateElement(owner, name, guid, nullptr);
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // Every file below folder as "relative path: bytes", sorted.
    static std::vector<std::string> Snapshot(const std::string& folder)
    {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            files.push_back(std::filesystem::relative(entry.path(), folder).string() + ": " +
                            (entry.is_regular_file() ? Read(entry.path().string()) : "<folder>"));
        std::sort(files.begin(), files.end());
        return files;
    }

    CWnd view;
    std::string dir;
};
