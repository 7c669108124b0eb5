#include "Platform/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

TEST(Process, RunsInTheFolderAndHandsOverEveryLineOfBothStreams)
{
    const std::string shell = FindOnPath("sh");
    ASSERT_FALSE(shell.empty());
    std::vector<std::string> lines;
    const int code = RunProcess(shell, {"-c", "pwd; echo err 1>&2; printf 'a\\r\\nlast'; exit 3"}, "/tmp",
                                [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(code, 3);
    EXPECT_EQ(lines, (std::vector<std::string>{"/tmp", "err", "a", "last"}));
}

TEST(Process, AProgramThatCannotStartGivesMinusOne)
{
    const auto none = [](const std::string&) {};
    EXPECT_EQ(RunProcess("/nonexistent/program", {}, "", none), -1);
    EXPECT_EQ(RunProcess(FindOnPath("sh"), {"-c", "true"}, "/nonexistent-folder", none), -1);
    EXPECT_EQ(RunProcess(FindOnPath("sh"), {"-c", "kill -9 $$"}, "", none), 128 + 9);
}

TEST(Process, FindOnPathLooksOnlyInThePathsFolders)
{
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", "/nonexistent:/bin", 1);
    EXPECT_EQ(FindOnPath("sh"), "/bin/sh");
    EXPECT_EQ(FindOnPath("no-such-program-here"), "");
    EXPECT_EQ(FindOnPath("/bin/sh"), "");
    EXPECT_EQ(FindOnPath(""), "");
    setenv("PATH", saved.c_str(), 1);
}
