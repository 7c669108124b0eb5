// A small project open in the main window with the real script host, and
// the shape of a case: a script and the Messages lines it must write.
#pragma once

#include "ScriptShell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

struct ScriptCase {
    std::string script;
    Lines lines;   // "@N" stands for the location line of line N of the script
};

class ScriptFixture : public ::testing::Test {
protected:
    // A package Core holding the classes Alpha (with an attribute and an
    // operation) and Beta, and a comment.
    static const char* const kElements;

    void SetUp() override;

    // The location line of a report from line n of the script file.
    std::string At(int n, const std::string& file = "script.js") const;
    // The ID of the element with the name, 0 unless there is exactly one.
    static int ElementId(const char* name);
    // Runs every case in the same global object, each from its own file.
    void RunCases(const std::vector<ScriptCase>& cases);

    ScriptShell shell;
};
