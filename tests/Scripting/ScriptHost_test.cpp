// The host itself: print, the two-line reports of errors, the one global
// object shared by every run, and how files are read.
#include "ScriptShell.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

namespace {

// The location line of a report on the script the shell wrote.
std::string At(const ScriptShell& shell, int line, int errorNumber)
{
    return shell.Folder() + "script.js,line " + std::to_string(line) + ", errorNumber " + std::to_string(errorNumber);
}

} // namespace

// Every argument, joined by a blank, whole: a long text is not dropped and
// the last argument does not replace the others.
TEST(ScriptHost, PrintWritesAllItsArgumentsWhole)
{
    ScriptShell shell;
    ASSERT_TRUE(shell.Start());
    const struct {
        const char* script;
        std::string line;
    } cases[] = {
        { "print()", "" },
        { "print('a', 1, null, undefined, {}, [2, 3])", "a 1 null undefined [object Object] 2,3" },
        { "print('x'.repeat(1023))", std::string(1023, 'x') },
        { "print('y'.repeat(5000), 'z')", std::string(5000, 'y') + " z" },
        { "print('\\u00e9t\\u00e9', '\\ud83d\\ude00')", "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(shell.Run(c.script), Lines{ c.line }) << c.script;
}

// An error of the script is the engine's message and the location line;
// nothing after it runs.
TEST(ScriptHost, ErrorsReportTheEnginesMessageAndTheLocation)
{
    ScriptShell shell;
    ASSERT_TRUE(shell.Start());
    const struct {
        const char* script;
        const char* message;
        int line;
        int errorNumber;
    } cases[] = {
        { "print('a');\nvar = ;", "SyntaxError: missing variable name", 2, 256 },
        { "print('a');\n\nx.y = 1;\nprint('b');", "ReferenceError: x is not defined", 3, 1 },
        { "throw 'boom';\nprint('b');", "uncaught exception: boom", 1, 135 },
        { "try { throw new Error('in'); } finally { print('f'); }", "Error: in", 1, 0 },
        { "function deep(n) { return deep(n + 1) + 1; }\ndeep(0);\nprint('b');", "InternalError: too much recursion",
          1, 132 },
    };
    for (const auto& c : cases) {
        const Lines lines = shell.Run(c.script);
        ASSERT_GE(lines.size(), 2u) << c.script;
        EXPECT_EQ(lines[lines.size() - 2], c.message) << c.script;
        EXPECT_EQ(lines.back(), At(shell, c.line, c.errorNumber)) << c.script;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "b"), 0) << c.script;
    }
}

// One global object for every run: a function or variable defined by one
// script is there for the next, and a script that fails keeps what it
// defined before the failure.
TEST(ScriptHost, DefinitionsLiveIntoTheNextRun)
{
    ScriptShell shell;
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(shell.Run("function twice(n) { return 2 * n; }\nvar count = 1;", "define.js"), Lines{});
    EXPECT_EQ(shell.Run("count += 1; print(twice(21), count)"), Lines{ "42 2" });
    shell.Run("var kept = 'yes'; missing();");
    EXPECT_EQ(shell.Run("print(kept, count)"), Lines{ "yes 2" });
}

TEST(ScriptHost, AMissingFileIsReportedAndChangesNothing)
{
    ScriptShell shell;
    ASSERT_TRUE(shell.Start());
    shell.Run("var state = 'before';");
    const std::string path = shell.Folder() + "absent.js";
    EXPECT_EQ(shell.RunPath(path),
              (Lines{ "Error: can't open " + path + ": No such file or directory", ",line 0, errorNumber 122" }));
    EXPECT_EQ(shell.Run("print(state)"), Lines{ "before" });
}

// A file that is not UTF-8 is read a byte per character; a UTF-8 file is
// read as UTF-8.
TEST(ScriptHost, FilesAreReadAsUtf8OrAByteACharacter)
{
    ScriptShell shell;
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(shell.Run("print('\xE9t\xE9', '\xE9t\xE9'.length)"), Lines{ "\xC3\xA9t\xC3\xA9 3" });
    EXPECT_EQ(shell.Run("print('\xC3\xA9t\xC3\xA9', '\xC3\xA9t\xC3\xA9'.length)"), Lines{ "\xC3\xA9t\xC3\xA9 3" });
}
