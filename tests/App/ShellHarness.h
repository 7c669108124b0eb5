// The test harness of the shell: it gives the program a program folder, a
// profile and a log of its own under build/test-output/App/, starts it with
// CVexalApp::InitInstance, answers its dialogs and message boxes from a
// queue (recording each question), gives commands as menu choices, toolbar
// buttons or keys through the real message filter, runs idle processing,
// reads back the Messages pane, menus and bars, and writes screenshots.
#pragma once

#include "App/MainFrm.h"
#include "App/VexalApp.h"
#include "Platform/DialogHook.h"
#include "Platform/Messages.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct Question {
    DialogKind kind;
    std::string text;   // a message box's text
    UINT templateId;
};

// What the user answers to the next dialog of a kind; fill sets the
// dialog's own data (a file dialog's path) as the user would. A popup
// menu's answer is the command chosen; unanswered, it chooses none.
struct Answer {
    DialogKind kind;
    INT_PTR result;
    std::function<void(DialogRequest&)> fill;
};

struct MenuItemState {
    std::string text;
    UINT id;
    bool checked;
};

enum class Via { Menu, Key, ToolBar };

class ShellHarness {
public:
    // A program folder named after the test, with the shipped cfg/ and Img/
    // (without cfg/meta.xml or cfg/sys.xml when asked).
    explicit ShellHarness(bool withMetaModel = true, bool withSysConfig = true);
    ~ShellHarness();

    const std::string& Folder() const { return folder_; }
    // Writes a file under the program folder, making its folders.
    void WriteFile(const std::string& relative, const std::string& text) const;

    // Runs InitInstance with the command line's arguments.
    bool Start(const std::vector<std::string>& arguments = {});
    CMainFrame* Frame() const { return GetMainFrame(); }

    void Queue(Answer answer) { answers_.push_back(std::move(answer)); }
    // Every question asked so far; unanswered ones were cancelled.
    const std::vector<Question>& Questions() const { return questions_; }
    size_t Unanswered() const { return answers_.size(); }

    // A menu choice: posted to the main window, through the message filter.
    void Command(UINT id);
    // The toolbar's button for the command, clicked with the mouse.
    bool ClickToolBarButton(UINT id);
    // A key press with MK_SHIFT, MK_CONTROL or MK_ALT held.
    void Key(UINT vk, UINT keyFlags = 0);
    void Give(UINT id, Via via, UINT vk = 0, UINT keyFlags = 0);
    // Dispatches what is queued and runs idle processing until it rests.
    void Pump();
    void Idle();

    std::vector<std::string> Messages() const;
    // The items of the popup at the path of positions in the menu bar.
    std::vector<MenuItemState> MenuItems(std::vector<int> path) const;
    // A window's rectangle in the main window's client coordinates.
    CRect RectOf(CWnd* window) const;
    // build/test-output/App/<name>.png; true when written.
    bool Screenshot(const std::string& name) const;

    // The diagram view. Page points become client pixels where the last
    // paint put the page; mouse messages at page points go through the
    // desktop's input path.
    POINT PageToClient(POINT page) const;
    void ViewMouse(UINT message, POINT page, UINT keyFlags = 0);
    // Gives the view a client area of about width x height and paints it.
    void SizeView(int width, int height);
    // A pixel of the view as last painted.
    COLORREF ViewPixel(int x, int y) const;
    // build/test-output/App/<name>.png of the view alone.
    bool ViewScreenshot(const std::string& name) const;

    // Writes a project <name>/<name>.fup under the program folder whose
    // model unit holds the elements (unit file XML); returns its path.
    std::string MakeProject(const std::string& name, const std::string& elements = "");

private:
    bool AnswerRequest(DialogRequest& request, INT_PTR* answer);

    std::string folder_;
    std::deque<Answer> answers_;
    std::vector<Question> questions_;
};

// The current test's name, safe for file names.
std::string TestName();
