// The fileFinder class in the main window: a search read in the manner of
// CFileFind, and accessors that give false and null with no current match.
#include "ScriptFixture.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using FileFinderTest = ScriptFixture;

TEST_F(FileFinderTest, ListsMatchesOneAtATime)
{
    const std::string dir = shell.Folder() + "find";
    fs::create_directories(dir + "/sub");
    std::ofstream(dir + "/a.h") << "x";
    std::ofstream(dir + "/b.hpp") << "y";
    shell.Run("var dir = '" + dir + "/';\n"
              "function list(pattern) {\n"
              "  var names = [], more;\n"
              "  if (!ff.findFile(pattern)) return 'none';\n"
              "  do {\n"
              "    more = ff.findNext();\n"
              "    names.push(ff.getFileName() + (ff.isDots() ? ':dots' : '') + (ff.isDirectory() ? '/' : ''));\n"
              "  } while (more);\n"
              "  return names.join(' ');\n"
              "}",
              "setup.js");
    RunCases({
        { "var ff = new fileFinder(); print(ff.isDirectory(), ff.isDots(), ff.getFullName(), ff.getFileName())",
          { "false false null null" } },
        { "print(list(dir + '*'))", { ".:dots/ ..:dots/ a.h b.hpp sub/" } },
        { "print(list(dir + '*.H'), ff.getFullName() == dir + 'a.h', ff.findNext(), ff.getFileName())",
          { "a.h true false a.h" } },
        // A new search ends the last one; a search that finds nothing has no match.
        { "print(ff.findFile(dir + '*.zz'), ff.isDirectory(), ff.getFullName(), ff.findNext(), ff.getFileName())",
          { "false false null false null" } },
        { "print(ff.findFile(dir + 'sub'), ff.getFileName(), ff.findNext(), ff.isDirectory(), ff.getFileName())",
          { "true null false true sub" } },
        { "ff.findFile();", { "Project file name should be prompted", "@1" } },
        { "ff.findFile(Symbol());", { "Invalid project name", "@1" } },
        { "fileFinder.prototype.findNext();", { "JSFileFinder has not been initialized", "@1" } },
        { "fileFinder.prototype.getFileName.call(new File());", { "JSFileFinder has not been initialized", "@1" } },
        { "print(fileFinder() instanceof fileFinder)", { "true" } },
    });
}

} // namespace
