// The Application class in the main window on the fixture project: its
// methods with good, missing and bad arguments, the project commands, the
// message box through the dialog hook and the help export.
#include "ScriptFixture.h"

#include "File/ChmArchive.h"
#include "File/ProjectStore.h"
#include "MemDB/dbCursor.h"
#include "Platform/DialogHook.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using ApplicationTest = ScriptFixture;

TEST_F(ApplicationTest, MethodsTakeGoodMissingAndBadArguments)
{
    shell.Frame()->LocateElement(ElementId("Beta"));
    const std::string roots = std::to_string(ElementId("Beta")) + " " + std::to_string(theModelRootId) + " " +
                              std::to_string(theLibraryRootId) + " " + std::to_string(thePredefinedRootId);
    RunCases({
        { "var a = new Application();\n"
          "print(a.projectOpened, a.checkedModel, a.modelId, a.libraryId, a.predefinedId)",
          { "true " + roots } },
        { "'use strict'; a.projectOpened = false; a.modelId = 1; print(a.projectOpened, a.modelId > 1)", { "true true" } },
        { "print(Application.prototype.modelId)", { "JSApplication has not been initialized", "@1" } },
        { "Application.prototype.outputCHM.call(new Database(), 1);", { "JSApplication has not been initialized", "@1" } },
        { "a.outputCHM();", { "Model ID should be prompted", "@1" } },
        { "a.outputCHM(Symbol());", { "Model ID should be prompted", "@1" } },
        { "a.outputCHM(0);", { "Invalid Model ID prompted", "@1" } },
        { "a.outputCHM(-4);", { "Invalid Model ID prompted", "@1" } },
        // These three work on any object.
        { "print(a.refreshModelTree(), a.refreshDiagram(), a.refreshDiagram(5), a.closeDiagram(), a.closeDiagram(3),\n"
          "      Application.prototype.refreshModelTree(), Application.prototype.closeDiagram.call({}))",
          { "undefined undefined undefined true true undefined true" } },
        { "a.closeDiagram(Symbol());", { "It is a invalid diagram ID", "@1" } },
        { "a.openProject();", { "Project file name should be prompted", "@1" } },
        { "a.newProject(Symbol());", { "Invalid project name", "@1" } },
        { "Application.prototype.openProject('x.fup');", { "JSApplication has not been initialized", "@1" } },
        { "Application.prototype.closeProject();", { "JSApplication has not been initialized", "@1" } },
        { "Application.prototype.saveProject();", { "JSApplication has not been initialized", "@1" } },
        { "Application.messageBox();", { "Message text should be prompted", "@1" } },
        { "Application.messageBox(Symbol());", { "Invalid message text", "@1" } },
        { "Application.messageBox.call({}, 'text');", { "JSApplication has not been initialized", "@1" } },
        { "Application.MB_OK = 9; print(Application.MB_OK, Application.MB_YESNOCANCEL, Application.MB_ICONQUESTION,\n"
          "      Application.MB_ICONINFORMATION, Application.IDOK, Application.IDCANCEL, Application.IDNO)",
          { "0 3 32 64 1 2 7" } },
    });
}

// The box is the main window's, with the title as caption unless one is
// given; the answer is the button's identifier.
TEST_F(ApplicationTest, MessageBoxAsksThroughTheDialogHook)
{
    std::vector<std::pair<std::string, UINT>> boxes;
    DialogHook previous;
    previous = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind == DialogKind::MessageBox)
            boxes.emplace_back(request.title ? request.title : "", request.style);
        return previous(request, answer);
    });
    EXPECT_EQ(shell.Run("print(Application.messageBox('Hello'),\n"
                        "      Application.messageBox('Sure?', '', Application.MB_YESNO),\n"
                        "      new Application().messageBox === undefined,\n"
                        "      Application.messageBox('Go', 'Mine', Application.MB_OKCANCEL | Application.MB_ICONSTOP))",
                        "script.js",
                        { { DialogKind::MessageBox, IDOK, nullptr }, { DialogKind::MessageBox, IDNO, nullptr },
                          { DialogKind::MessageBox, IDCANCEL, nullptr } }),
              Lines{ "1 7 true 2" });
    AfxSetDialogHook(previous);
    const std::vector<std::pair<std::string, UINT>> expected = { { "Vexal", 0 }, { "Vexal", 4 }, { "Mine", 17 } };
    EXPECT_EQ(boxes, expected);
}

TEST_F(ApplicationTest, ProjectCommandsGoThroughTheMainWindow)
{
    const std::string other = shell.MakeProject("Other", "<Class Name=\"Elsewhere\"/>\r\n");
    const std::string made = shell.Folder() + "Made/Made.fup";
    fs::create_directories(shell.Folder() + "Made");
    EXPECT_EQ(shell.Run("var a = new Application();\nprint(a.closeProject(), a.projectOpened)"), Lines{ "true false" });
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_EQ(shell.Run("print(a.openProject('" + other + "'), a.projectOpened, a.modelId)"),
              Lines{ "true true " + std::to_string(theModelRootId) });
    EXPECT_GT(ElementId("Elsewhere"), 0);
    EXPECT_EQ(shell.Run("print(a.newProject('" + made + "'), a.saveProject(), a.projectOpened)"), Lines{ "true true true" });
    EXPECT_TRUE(fs::exists(made));
    EXPECT_TRUE(fs::exists(shell.Folder() + "Made/Made.uml"));
    // A file that cannot be read: the request is made, the shell says why.
    EXPECT_EQ(shell.Run("print(a.openProject('" + shell.Folder() + "none.fup'), a.projectOpened)"),
              (Lines{ "Fail to open " + shell.Folder() + "none.fup", "true false" }));
}

TEST_F(ApplicationTest, OutputChmCompilesTheElementsHelp)
{
    const int core = ElementId("Core");
    EXPECT_EQ(shell.Run("print(new Application().outputCHM(" + std::to_string(core) + ", '" + shell.Folder() + "help/work'))")
                  .back(),
              "true");
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(shell.Folder() + "help/Core.chm"));
    EXPECT_TRUE(archive.Contains("/Core.hhc"));
}

} // namespace
