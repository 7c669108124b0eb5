// The colour editor's window: the in-place editing protocol under an owner
// whose filter takes Enter and Esc, growth within the limit, the clipboard
// commands, and painting (PNGs under test-output).
#include "Controls/ColorEdit.h"
#include "Controls/FakeColourer.h"
#include "Platform/Clipboard.h"
#include "Platform/DialogHook.h"
#include "Platform/Menu.h"
#include "Platform/GlobalMemory.h"
#include "Platform/DcFixture.h"
#include "Platform/Messages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kCopy = 57634, kCut = 57635, kPaste = 57637, kUndo = 57643, kRedo = 57644;

// The owner of an in-place edit: Esc cancels, Enter commits unless the editor
// wants it; both keys are consumed. Counts the editor's notifications.
class Owner : public CWnd {
public:
    CColorEdit editor;
    CString committed = "untouched";
    int commits = 0, changes = 0, focusGains = 0;

    void Open()
    {
        ASSERT_TRUE(CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
        LOGFONT font{};
        font.lfHeight = 16;
        std::strcpy(font.lfFaceName, "Arial");
        ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, this, CRect(0, 0, 0, 0), 1026, 8, font, 0));
        editor.ShowWindow(SW_HIDE);
        editor.EnableWindow(FALSE);
        editor.ResetUndo();
    }

    // A key as the message loop delivers it: the filter first, then the
    // key-down and the character bytes to the editor.
    void Press(UINT key, const char* chars = "")
    {
        MSG msg{ editor.GetHwnd(), WM_KEYDOWN, key, 0, 0, {} };
        if (PreTranslateMessage(&msg))
            return;
        ::SendMessage(editor.GetHwnd(), WM_KEYDOWN, key, 0);
        for (const char* c = chars; *c; ++c)
            ::SendMessage(editor.GetHwnd(), WM_CHAR, static_cast<unsigned char>(*c), 0);
    }
    void Type(const char* chars)
    {
        for (const char* c = chars; *c; ++c)
            ::SendMessage(editor.GetHwnd(), WM_CHAR, static_cast<unsigned char>(*c), 0);
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->hwnd != editor.GetHwnd() || msg->message != WM_KEYDOWN)
            return FALSE;
        if (msg->wParam == VK_ESCAPE) {
            editor.HideEdit();
            return TRUE;
        }
        if (msg->wParam == VK_RETURN && !editor.GetWantReturn()) {
            if (editor.EndEdit(committed))
                ++commits;
            return TRUE;
        }
        return FALSE;
    }

    // The page controller's context: a symbol of the fake's type.
    void ColourAsClass()
    {
        SymbolT row;
        row.Type = "Class";
        editor.GetBuffer().SetSyntaxContext(row);
    }

    // The editor's client rectangle in the owner's client coordinates.
    CRect EditorRect() const
    {
        CRect rect;
        const_cast<CColorEdit&>(editor).GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (reinterpret_cast<HWND>(lParam) == editor.GetHwnd()) {
            if (HIWORD(wParam) == EN_CHANGE)
                ++changes;
            if (HIWORD(wParam) == EN_SETFOCUS)
                ++focusGains;
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
};

bool Editing(const CColorEdit& editor)
{
    return editor.IsWindowVisible() && editor.IsWindowEnabled() && CWnd::GetFocus() == &editor;
}

bool Idle(const CColorEdit& editor)
{
    return !editor.IsWindowVisible() && !editor.IsWindowEnabled();
}

TEST(ColorEditProtocol, StatesUnderAnOwnerFilter)
{
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    const CRect box(20, 20, 120, 40);

    // Idle: EndEdit refuses and leaves the text alone.
    CString text = "keep";
    EXPECT_FALSE(editor.EndEdit(text));
    EXPECT_STREQ(text, "keep");
    EXPECT_TRUE(Idle(editor));

    // Begin, type, Enter commits the joined text and returns to idle.
    editor.BeginEdit("name", box, nullptr, POINT{ 0, 0 }, -1);
    EXPECT_TRUE(Editing(editor));
    EXPECT_GE(owner.focusGains, 1);
    EXPECT_EQ(editor.GetCaret(), (EditPos{ 0, 0 }));
    owner.Press(VK_END);
    owner.Type("s");
    owner.Press(VK_RETURN, "\r");
    EXPECT_EQ(owner.commits, 1);
    EXPECT_STREQ(owner.committed, "names");
    EXPECT_TRUE(Idle(editor));
    EXPECT_FALSE(editor.EndEdit(text)); // a second commit finds nothing open

    // Esc cancels; the text stays in the buffer until the next edit.
    editor.BeginEdit("old", box, nullptr, POINT{ 0, 0 }, -1);
    owner.Type("x");
    owner.Press(VK_ESCAPE);
    EXPECT_TRUE(Idle(editor));
    EXPECT_EQ(owner.commits, 1);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "xold");

    // A BeginEdit during an edit starts over; no text gives one empty line.
    editor.BeginEdit("first", box, nullptr, POINT{ 0, 0 }, -1);
    editor.BeginEdit(nullptr, box, nullptr, POINT{ 0, 0 }, -1);
    EXPECT_EQ(editor.GetBuffer().GetLineCount(), 1);
    owner.Press(VK_RETURN, "\r");
    EXPECT_STREQ(owner.committed, "");

    // With want-return Enter reaches the editor; lines come back joined.
    editor.SetWantReturn(TRUE);
    editor.BeginEdit("ab", box, nullptr, POINT{ 0, 0 }, -1);
    owner.Press(VK_RIGHT);
    owner.Press(VK_RETURN, "\r");
    EXPECT_TRUE(Editing(editor));
    ASSERT_TRUE(editor.EndEdit(text));
    EXPECT_STREQ(text, "a\nb\n");
    editor.SetWantReturn(FALSE);

    // Edits notify the parent.
    const int before = owner.changes;
    editor.BeginEdit("z", box, nullptr, POINT{ 0, 0 }, -1);
    owner.Type("q");
    EXPECT_GT(owner.changes, before);
    editor.HideEdit();
}

TEST(ColorEditProtocol, TheCaretLandsAtTheClickedCharacter)
{
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    // "W" is wide and "i" narrow: a column from the average width would miss.
    editor.BeginEdit("WWWWiiii", CRect(10, 10, 200, 40), nullptr, POINT{ 0, 0 }, -1);
    CClientDC dc(&editor);
    LOGFONT font{};
    font.lfHeight = 16;
    std::strcpy(font.lfFaceName, "Arial");
    CFont measure;
    measure.CreateFontIndirect(&font);
    dc.SelectObject(&measure);
    const int w = dc.GetTextExtent("W", 1).cx;
    const int i = dc.GetTextExtent("i", 1).cx;
    struct Case {
        int x;
        int column;
    };
    const Case cases[] = { { 0, 0 }, { 1, 1 }, { w, 1 }, { 3 * w + 1, 4 }, { 4 * w + i, 5 }, { 4 * w + 2 * i + 1, 7 },
                           { 1000, 8 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        editor.BeginEdit("WWWWiiii", CRect(10, 10, 200, 40), nullptr, POINT{ c.x, 3 }, -1);
        EXPECT_EQ(editor.GetCaret(), (EditPos{ c.column, 0 }));
        EXPECT_EQ(editor.GetAnchor(), editor.GetCaret());
    }
    editor.HideEdit();
}

TEST(ColorEditProtocol, GrowsWithinTheLimitInBothModes)
{
    for (int mode : { MM_TEXT, MM_HIMETRIC }) {
        SCOPED_TRACE(mode);
        Owner owner;
        owner.Open();
        CColorEdit& editor = owner.editor;
        editor.SetMapMode(mode);
        editor.SetTextFont("Arial", mode == MM_TEXT ? 16 : 423);
        editor.SetWantReturn(TRUE);
        const CRect box(10, 10, 30, 30), limit(10, 10, 150, 90);
        editor.BeginEdit("a", box, &limit, POINT{ 0, 0 }, -1);
        EXPECT_EQ(owner.EditorRect(), box);
        owner.Press(VK_END);
        owner.Type("bcdefgh");
        CRect grown = owner.EditorRect();
        EXPECT_EQ(grown.TopLeft(), box.TopLeft());
        EXPECT_GT(grown.Width(), box.Width());
        EXPECT_LE(grown.right, limit.right);
        owner.Type("\r\r\r");
        grown = owner.EditorRect();
        EXPECT_GT(grown.Height(), box.Height());
        for (int i = 0; i < 30; ++i)
            owner.Type("wide text, wide text, wide text\r");
        grown = owner.EditorRect();
        EXPECT_EQ(grown, limit);

        // Without a limit the rectangle itself is the limit.
        editor.BeginEdit("a", box, nullptr, POINT{ 0, 0 }, -1);
        owner.Type("many more characters\r\r");
        EXPECT_EQ(owner.EditorRect(), box);
        editor.HideEdit();
    }
}

TEST(ColorEditProtocol, RunTextOfAnEarlierEditStaysWithKeyMinusOne)
{
    FakeFinderInstalled finder;
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    owner.ColourAsClass();
    editor.BeginEdit("one two", CRect(0, 0, 100, 20), nullptr, POINT{ 0, 0 }, 7);
    const std::string coloured = editor.GetBuffer().GetRunText();
    EXPECT_EQ(coloured.size(), 14u); // a run per word
    owner.Press(VK_END);
    owner.Type(" three");
    EXPECT_EQ(std::string(editor.GetBuffer().GetRunText()).size(), 21u); // coloured again after the key
    CString text;
    editor.EndEdit(text);
    const std::string last = editor.GetBuffer().GetRunText();
    const int calls = TheFakeColourer().calls;

    editor.BeginEdit("renamed", CRect(0, 0, 100, 20), nullptr, POINT{ 0, 0 }, -1);
    owner.Type("x");
    editor.EndEdit(text);
    EXPECT_EQ(TheFakeColourer().calls, calls);
    EXPECT_EQ(editor.GetBuffer().GetRunText(), last);
}

TEST(ColorEditCommands, ClipboardCutUndoAndTheCommandGate)
{
    FakeFinderInstalled finder;
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    owner.ColourAsClass();
    editor.SetWantReturn(TRUE);
    editor.BeginEdit("alpha beta\ngamma", CRect(0, 0, 200, 60), nullptr, POINT{ 0, 0 }, 1);

    // Copy and Cut are refused by the gate while nothing is selected.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    editor.SendMessage(WM_COMMAND, kCut);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));

    // Cut over two lines puts them on the clipboard with CR LF and colours again.
    editor.SetSelection(6, 0, 2, 1);
    editor.SendMessage(WM_COMMAND, kCut);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha mma");
    EXPECT_EQ(std::string(editor.GetBuffer().GetRunText()).size(), 14u);
    OpenClipboard(nullptr);
    const char* clip = static_cast<const char*>(GlobalLock(static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))));
    ASSERT_NE(clip, nullptr);
    EXPECT_STREQ(clip, "beta\r\nga");
    CloseClipboard();

    // Undo brings the lines back and colours them again; Redo cuts again.
    editor.SendMessage(WM_COMMAND, kUndo);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha beta\ngamma\n");
    EXPECT_EQ(std::string(editor.GetBuffer().GetRunText()).size(), 21u);
    editor.SendMessage(WM_COMMAND, kRedo);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha mma");

    // Paste inserts the clipboard's lines, dropping the carriage return.
    editor.SendMessage(WM_COMMAND, kPaste);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha beta\ngamma\n");

    // While another window holds the clipboard open, Cut keeps the text.
    editor.SetSelection(0, 0, 5, 0);
    ASSERT_TRUE(OpenClipboard(owner.GetSafeHwnd()));
    editor.SendMessage(WM_COMMAND, kCut);
    CloseClipboard();
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha beta\ngamma\n");

    // Copy is gated open once something is selected.
    editor.SendMessage(WM_COMMAND, kCopy);
    OpenClipboard(nullptr);
    clip = static_cast<const char*>(GlobalLock(static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))));
    ASSERT_NE(clip, nullptr);
    EXPECT_STREQ(clip, "alpha");
    CloseClipboard();
    editor.HideEdit();
}

TEST(ColorEditCommands, ContextMenuItemsComeFromTheRegistry)
{
    CColorEdit editor;
    const std::vector<ColorEditMenuItem> items = editor.GetContextMenuItems();
    const UINT ids[] = { 57634, 57635, 57637, 32773, 57642, 57643, 57644 };
    ASSERT_EQ(items.size(), std::size(ids));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, ids[i]);
        EXPECT_FALSE(items[i].name.IsEmpty());
    }
}

TEST(ColorEditCommands, ContextMenuCommandsActOnTheEditor)
{
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    editor.BeginEdit("alpha beta", CRect(0, 0, 200, 30), nullptr, POINT{ 0, 0 }, -1);
    INT_PTR choice = 0;
    DialogHook old = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind != DialogKind::PopupMenu)
            return false;
        *answer = choice;
        return true;
    });
    // Cut with nothing selected changes nothing.
    // The chosen command is posted to the editor.
    auto click = [&] {
        editor.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        QCoreApplication::processEvents();
    };
    choice = kCut;
    click();
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "alpha beta");
    // Select All, then Cut, both from the menu.
    choice = 57642;
    click();
    EXPECT_EQ(editor.GetAnchor(), (EditPos{ 0, 0 }));
    EXPECT_EQ(editor.GetCaret(), (EditPos{ 10, 0 }));
    choice = kCut;
    click();
    AfxSetDialogHook(old);
    EXPECT_STREQ(editor.GetBuffer().GetJoinedText(), "");
    EXPECT_EQ(CWnd::GetFocus(), &editor);
    editor.HideEdit();
}

TEST(ColorEditProtocol, ADragAboveTheTextGoesToItsStartAndATinyFontStillEdits)
{
    Owner owner;
    owner.Open();
    CColorEdit& editor = owner.editor;
    editor.SetWantReturn(TRUE);
    editor.BeginEdit("first\nsecond\nthird", CRect(0, 0, 200, 80), nullptr, POINT{ 0, 0 }, -1);
    editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(editor.GetAnchor().line, 1);
    editor.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, -10));
    EXPECT_EQ(editor.GetCaret(), (EditPos{ 0, 0 }));
    editor.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, -10));

    // A font too small to measure still maps points and lays out.
    editor.SetMapMode(MM_HIMETRIC);
    editor.SetTextFont("Arial", 1);
    editor.BeginEdit("ab\ncd", CRect(0, 0, 50, 20), nullptr, POINT{ 3, 3 }, -1);
    owner.Type("x\r");
    editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_TRUE(Editing(editor));
    editor.HideEdit();
}

} // namespace
