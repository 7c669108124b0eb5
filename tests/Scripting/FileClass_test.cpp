// The File class in the main window: its methods and properties with good,
// missing and bad arguments, round trips per type, modes, copies, renames,
// folders and the dialogs answered through the dialog hook. Nothing here
// relies on permissions: the tests may run as root.
#include "ScriptFixture.h"

#include "Platform/CommonDialogs.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileClassTest : public ScriptFixture {
protected:
    void SetUp() override
    {
        ScriptFixture::SetUp();
        dir = shell.Folder() + "files";
        fs::create_directories(dir);
        shell.Run("var dir = '" + dir + "/';", "setup.js");
    }

    // As RunCases; "@N#E" stands for the location line of line N with the
    // error number E of a numbered File error.
    void RunFileCases(const std::vector<ScriptCase>& cases)
    {
        std::vector<ScriptCase> plain;
        int index = 0;
        for (const ScriptCase& c : cases) {
            const std::string file = "case" + std::to_string(index++) + ".js";
            ScriptCase p{ c.script, {} };
            for (const std::string& line : c.lines) {
                const size_t hash = line.find('#');
                if (line.size() > 1 && line[0] == '@' && hash != std::string::npos)
                    p.lines.push_back(shell.Folder() + file + ",line " + line.substr(1, hash - 1) + ", errorNumber " +
                                      line.substr(hash + 1));
                else
                    p.lines.push_back(line);
            }
            plain.push_back(p);
        }
        RunCases(plain);
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string dir;
};

TEST_F(FileClassTest, MethodsTakeGoodMissingAndBadArguments)
{
    const std::string w = dir + "/w.txt";
    RunFileCases({
        { "var f = new File(); print(f.isOpen, '[' + f.path + ']', '[' + f + ']', f.toURL(), File.separator)",
          { "false [] [] file:// /" } },
        { "print(File('x') instanceof File, new File(1, 2).isOpen)", { "true false" } },
        { "File.prototype.open.call(new Database(), 'x', 'r');", { "File has not been initialized", "@1" } },
        { "print(File.prototype.path)", { "File has not been initialized", "@1" } },
        { "f.open();", { "The argument to the File constructor undefined must be a string", "@1#16" } },
        { "f.open(dir + 'w.txt');", { "The first argument " + w + " to file.open must be a string", "@1#3" } },
        { "f.open(dir + 'missing.txt', 'r');", { "File operation open failed", "@1#36" } },
        { "print(f.isOpen, f.path == dir + 'missing.txt', f.exists)", { "false true false" } },
        { "f.open(dir, 'r');",
          { dir + " seems to be a directory, there is no point in trying to open it, proceeding", "@1" } },
        { "new File().close();", { "File  is not open, can't close it, proceeding", "@1" } },
        { "new File().canAppend;", { "File must be open for canAppend", "@1#37" } },
        { "new File().type;", { "File must be open for type", "@1#37" } },
        { "new File().read(1);", { "File must be open for read", "@1#37" } },
        { "new File().writeln('x');", { "File must be open for writeln", "@1#37" } },
        { "new File().renameTo(dir + 'x');", { "File must be open for renameTo", "@1#37" } },
        { "var g = new File(); print(g.open(dir + 'w.txt', 'w'), g.type, g.mode, g.canAppend, g.canReplace,\n"
          "      g.hasRandomAccess, g.position, g.hasAutoFlush, g.isFile, g.isDirectory, g.name)",
          { "true text write false false true 0 false true false w.txt" } },
        { "g.path = 'q'; g.isOpen = false; g.hasAutoFlush = 1; print(g.path == dir + 'w.txt', g.isOpen, g.hasAutoFlush)",
          { "true true true" } },
        { "g.copyTo();", { "Operation copyTo expects one argument, not 0", "@1#9" } },
        { "g.seek(1, 2);", { "Operation seek expects one argument, not 2", "@1#9" } },
        { "g.read(1);", { "Cannot read from " + w + ", file mode is different", "@1#34" } },
        { "g.readln();", { "Cannot read from " + w + ", file mode is different", "@1#34" } },
        { "g.writeAll(1);", { "writeAll expects an array as an argument", "@1#13" } },
        { "g.renameTo(dir + 'z');", { "File must be closed for renameTo", "@1#38" } },
        { "g.position = 'x';", { "First argument to position must be a number, not x", "@1#32" } },
        { "print(g.write('a', 1, null), g.writeln('b'), g.writeAll(['c', 2]), g.position)", { "true true true 12" } },
        { "g.open(dir + 'w.txt', 'r'); print(g.mode, g.read(4));",
          { "File " + w + " is already open, we will close it and reopen, proceeding", "@1", "read a1nu" } },
        { "g.write('x');", { "Cannot write to " + w + ", file mode is different", "@1#33" } },
        { "g.seek('x');", { "First argument to seek must be a number, not x", "@1#32" } },
        { "print(g.seek(1), escape(g.read(3)), g.position = 3, g.readln(), g.readAll())", { "0 lb%0A 3 ullb c,2" } },
        { "print(g.readln(), g.readAll().length)", { "null 0" } },
        { "g.read(1); print('not reached');", {} },
        { "print(g.close(), g.isOpen, '[' + g.path + ']', g.mode);", { "true false [] " } },
        { "var u = new File(); u.open(dir + 'u.txt', 'wu'); print(u.type, u.hasRandomAccess); u.position;",
          { "binary false", "File " + dir + "/u.txt doesn't support random access, can't report the position, proceeding",
            "@1" } },
        { "u.position = 0;",
          { "File " + dir + "/u.txt doesn't support random access, can't report the position, proceeding", "@1" } },
        { "u.seek(0);", { "Cannot read from " + dir + "/u.txt, file mode is different", "@1#34" } },
        { "u.close(); u.open(dir + 'u.txt', 'ru'); u.seek(0);", { "File " + dir + "/u.txt doesn't allow random access", "@1#39" } },
        { "print(new File().toURL(), File.currentDir.toURL().indexOf('file:///'))", { "file:// 0" } },
    });
    EXPECT_EQ(Bytes(w), "a1nullb\nc\n2\n");
}

// A script's warning ends it: later statements and an enclosing finally do
// not run.
TEST_F(FileClassTest, ErrorsEndTheScript)
{
    RunFileCases({
        { "try { new File().read(1); } finally { print('finally'); }\nprint('after');",
          { "File must be open for read", "@1#37" } },
        { "try { new File().close(); } catch (e) { print('caught'); }", { "File  is not open, can't close it, proceeding", "@1" } },
    });
}

// A closed object that holds a path opens it for the operation, saying so.
TEST_F(FileClassTest, ClosedFilesOpenTheirPathForAnOperation)
{
    const std::string path = dir + "/auto.txt";
    RunFileCases({
        { "var m = new File(); m.open(dir + 'auto.txt', 'r');", { "File operation open failed", "@1#36" } },
        { "print(m.writeln('hi'), m.mode)",
          { "File " + path + " is closed, will open it for writing, proceeding", "@1", "true write" } },
        { "m.close(); var n = new File(); n.open(dir + 'auto.txt', 'x');", { "File operation open failed", "@1#36" } },
        { "var p = n.parent; print(p.path == dir.slice(0, -1), p.isDirectory, p.isOpen, n.name, p.parent.parent.path)",
          { "true true false auto.txt " + fs::path(dir).parent_path().parent_path().string() } },
        { "print(n.readln())", { "File " + path + " is closed, will open it for reading, proceeding", "@1", "hi" } },
    });
    EXPECT_EQ(Bytes(path), "hi\n");
}

// What each type writes for é, an astral character and a CR LF line end,
// and what reading gives back.
TEST_F(FileClassTest, RoundTripsPerType)
{
    struct Case {
        const char* mode;
        std::string bytes;
    };
    const Case cases[] = {
        { "u", "\xC3\xA9\xF0\x9F\x98\x80\r\nx\n" },
        { "b", std::string("\xE9\x00\x3D\xD8\x00\xDE\r\x00\n\x00x\x00\n\x00", 14) },
        { "", "\xE9?\r\nx\n" },
    };
    for (const Case& c : cases) {
        const std::string mode = c.mode;
        const Lines lines = shell.Run("var t = new File(); t.open(dir + 't.txt', 'w" + mode + "');\n"
                                      "t.write('\\u00e9\\ud83d\\ude00\\r\\n'); t.writeln('x'); t.close();\n"
                                      "t.open(dir + 't.txt', 'r" + mode + "'); var all = t.readAll(); t.close();\n"
                                      "print(all.length, all[0].length, all[0] == '\\u00e9\\ud83d\\ude00', all[1])");
        EXPECT_EQ(Bytes(dir + "/t.txt"), c.bytes) << mode;
        EXPECT_EQ(lines, Lines{ mode.empty() ? "2 2 false x" : "2 3 true x" }) << mode;
    }
    std::ofstream(dir + "/bad.txt", std::ios::binary) << "a\xFF" "b\xE2\x82";
    EXPECT_EQ(shell.Run("var b = new File(); b.open(dir + 'bad.txt', 'ru'); print(escape(b.read(10)))"),
              Lines{ "a%uFFFDb%uFFFD" });
}

// Mode texts as a table: "+" reads and writes; the letters the standard
// library does not know never reach it.
TEST_F(FileClassTest, ModesAsATable)
{
    std::ofstream(dir + "/m.txt", std::ios::binary) << "abc";
    const struct {
        const char* mode;
        const char* line;
        const char* after;
    } cases[] = {
        { "r", "read true false abc", "abc" },
        { "r+", "readWrite true true abc", "abcZ" },
        { "ru", "read true false abcZ", "abcZ" },
        { "w", "write false true null", "Z" },
        { "w+u", "readWrite true true null", "Z" },
        { "a", "append false true null", "ZZ" },
        { "a+", "readWrite true true ZZ", "ZZZ" },
    };
    for (const auto& c : cases) {
        const Lines lines = shell.Run(std::string("var o = new File(); o.open(dir + 'm.txt', '") + c.mode + "');\n"
                                      "print(o.mode, o.canRead, o.canWrite, o.canRead ? o.readln() : null);\n"
                                      "if (o.canWrite) o.write('Z'); o.close();");
        EXPECT_EQ(lines, Lines{ c.line }) << c.mode;
        EXPECT_EQ(Bytes(dir + "/m.txt"), c.after) << c.mode;
    }
}

TEST_F(FileClassTest, CopiesAndRenames)
{
    std::string big;
    for (int i = 0; i < 150000; ++i)
        big += char('a' + i % 26);
    std::ofstream(dir + "/big.txt", std::ios::binary) << big;
    RunFileCases({
        { "var c = new File(); c.open(dir + 'big.txt', 'r'); c.read(10); print(c.copyTo(dir + 'copy.txt'), c.position)",
          { "true 10" } },
        { "c.copyTo(dir + 'big.txt');", { "An error occured while attempting to copy into file " + dir + "/big.txt", "@1#8" } },
        { "c.copyTo(dir + 'sub/../big.txt');",
          { "An error occured while attempting to copy into file " + dir + "/big.txt", "@1#8" } },
        { "c.copyTo(dir + 'no/such/place');", { "File operation open failed", "@1#36" } },
        { "var r = new File(); r.open(dir + 'copy.txt', 'q');", { "File operation open failed", "@1#36" } },
        { "print(r.renameTo(dir + 'moved.txt'), r.path == dir + 'moved.txt', r.exists, r.size)", { "true true true 150000" } },
        { "r.renameTo(dir + 'big.txt');",
          { "Cannot rename " + dir + "/moved.txt to " + dir + "/big.txt", "@1#24" } },
        { "print('unchanged', r.name)", { "unchanged moved.txt" } },
    });
    EXPECT_EQ(Bytes(dir + "/moved.txt"), big);
    EXPECT_EQ(Bytes(dir + "/big.txt"), big);
}

TEST_F(FileClassTest, MakesAndRemovesFolders)
{
    fs::create_directories(dir + "/target/inner");
    fs::create_directory_symlink(dir + "/target", dir + "/link");
    std::ofstream(dir + "/plain") << "x";
    RunFileCases({
        { "print(File.mkdir(dir + 'a/b/c/d'), File.mkdir(dir + 'a/b/c/d/'))", { "true true" } },
        { "File.mkdir();", { "The argument to the File constructor undefined must be a string", "@1#16" } },
        { "File.mkdir(dir + 'cut\\0off');", { "The argument to the File constructor " + dir + "/cut must be a string", "@1#16" } },
        { "File.remove(dir + 'cut\\0off');", { "The argument to the File constructor " + dir + "/cut must be a string", "@1#16" } },
        { "File.mkdir(dir + 'plain/x');", { "Fail to create directory " + dir + "/plain", "@1" } },
        { "print(File.remove(dir + 'link'), File.remove(dir + 'missing'), File.remove(dir + 'a/b/c/d'))",
          { "true true true" } },
        { "File.remove(dir + 'target');", { "Fail to remove directory " + dir + "/target", "@1" } },
        { "File.currentDir = null; File.separator = '\\\\'; print(File.currentDir instanceof File, File.separator)",
          { "true /" } },
    });
    EXPECT_TRUE(fs::is_directory(dir + "/a/b/c"));
    EXPECT_FALSE(fs::exists(dir + "/a/b/c/d"));
    EXPECT_FALSE(fs::exists(dir + "/link"));
    EXPECT_TRUE(fs::is_directory(dir + "/target/inner"));
    EXPECT_FALSE(fs::exists(dir + "/cut"));
}

// Relative paths start at the working directory of start-up.
TEST_F(FileClassTest, RelativePathsStartAtTheStartUpFolder)
{
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(shell.Run("var q = new File(); q.open(' rel/../name.txt ', 'q');"),
              (Lines{ "File operation open failed", shell.Folder() + "script.js,line 1, errorNumber 36" }));
    EXPECT_EQ(shell.Run("print(q.path, File.currentDir.path)"), Lines{ std::string(cwd) + "/name.txt " + cwd });
}

TEST_F(FileClassTest, DialogsGoThroughTheHook)
{
    auto fillFile = [](std::string bytes) {
        return [bytes](DialogRequest& request) {
            auto* ofn = static_cast<OPENFILENAME*>(request.data);
            std::memcpy(ofn->lpstrFile, bytes.data(), bytes.size());
        };
    };
    auto fillFolder = [](DialogRequest& request) {
        auto* info = static_cast<BROWSEINFO*>(request.data);
        std::snprintf(info->pszPath, info->nMaxPath, "/chosen");
    };
    EXPECT_EQ(shell.Run("var filter = 'Headers|*.h||';\n"
                        "function show(v) { return v === undefined ? 'undefined' : JSON.stringify(v); }\n"
                        "print([File.openDialog('h', filter), File.openDialog('h', filter), File.openDialog('h', filter),\n"
                        "       File.newDialog('h', filter), File.saveAsDialog('t', filter), File.saveAsDialog('t', filter),\n"
                        "       File.selectFolder('Pick'), File.selectFolder()].map(show).join(' '))",
                        "script.js",
                        { { DialogKind::FileOpen, IDOK, fillFile(std::string("/p\0a.h\0b.h\0\0", 13)) },
                          { DialogKind::FileOpen, IDOK, fillFile(std::string("/p/one.h\0", 9)) },
                          { DialogKind::FileOpen, IDCANCEL, nullptr },
                          { DialogKind::FileOpen, IDCANCEL, nullptr },
                          { DialogKind::FileSave, IDCANCEL, nullptr },
                          { DialogKind::FileSave, IDOK, fillFile(std::string("/p/out.txt\0", 11)) },
                          { DialogKind::Folder, IDOK, fillFolder },
                          { DialogKind::Folder, IDCANCEL, nullptr } }),
              Lines{ "\"/p/a.h\\n/p/b.h\" \"/p/one.h\" undefined undefined null \"/p/out.txt\" \"/chosen\" undefined" });
    EXPECT_EQ(shell.Unanswered(), 0u);
    RunFileCases({
        { "File.openDialog('h');", { "File extension and filter should be prompted", "@1" } },
        { "File.newDialog(Symbol(), 'x');", { "Invalid file extension", "@1" } },
        { "File.saveAsDialog('t', Symbol());", { "Invalid file filter", "@1" } },
        { "File.selectFolder(Symbol());", { "Invalid dialog title", "@1" } },
    });
}

} // namespace
