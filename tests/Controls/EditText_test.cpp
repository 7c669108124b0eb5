// The editor's editing logic without a window: one table of scripts of keys,
// typed bytes and commands; each row also undoes to its start and redoes to
// its end. Then the history's own rules and a long random run.
#include "Controls/EditText.h"
#include "Platform/Messages.h"
#include "Platform/TextConv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const CEditText& text)
{
    std::vector<std::string> lines;
    for (int i = 0; i < text.Buffer().GetLineCount(); ++i)
        lines.push_back(text.Buffer().GetLine(i).GetString());
    return lines;
}

// Runs a script: plain bytes are typed one WM_CHAR each; {Key}, {C-Key},
// {S-Key} and {CS-Key} press a key with Ctrl and Shift; {copy}, {cut},
// {paste}, {delete}, {all}, {undo}, {redo} and {word} (double click at the
// caret) are commands. Copy and cut fill clipboard; paste reads it.
struct Runner {
    CEditText& text;
    std::string& clipboard;

    void Key(const std::string& name)
    {
        static const std::pair<const char*, UINT> keys[] = {
            { "Left", VK_LEFT }, { "Right", VK_RIGHT }, { "Up", VK_UP },     { "Down", VK_DOWN },
            { "Home", VK_HOME }, { "End", VK_END },     { "PgUp", VK_PRIOR }, { "PgDn", VK_NEXT },
            { "Back", VK_BACK }, { "Del", VK_DELETE },  { "Enter", VK_RETURN }, { "F1", VK_F1 },
        };
        bool ctrl = false, shift = false;
        std::string key = name;
        const size_t dash = name.find('-');
        if (dash != std::string::npos) {
            ctrl = name.compare(0, dash, "C") == 0 || name.compare(0, dash, "CS") == 0;
            shift = name.compare(0, dash, "S") == 0 || name.compare(0, dash, "CS") == 0;
            key = name.substr(dash + 1);
        }
        for (const auto& k : keys) {
            if (key == k.first) {
                text.KeyDown(k.second, ctrl, shift, 2);
                return;
            }
        }
        if (name == "copy") {
            if (text.HasSelection())
                clipboard = text.SelectedText().GetString();
        } else if (name == "cut") {
            if (text.HasSelection() && !text.IsReadOnly()) {
                clipboard = text.SelectedText().GetString();
                text.DeleteSelectionAction();
            }
        } else if (name == "paste") {
            text.Paste(clipboard.c_str());
        } else if (name == "delete") {
            text.DeleteCommand();
        } else if (name == "all") {
            text.SelectAll();
        } else if (name == "undo") {
            text.Undo();
        } else if (name == "redo") {
            text.Redo();
        } else if (name == "word") {
            text.SelectWordAt(text.GetCaret().column, text.GetCaret().line);
        } else {
            ADD_FAILURE() << "unknown step " << name;
        }
    }

    void Run(const std::string& script)
    {
        for (size_t i = 0; i < script.size(); ++i) {
            if (script[i] == '{' && script.find('}', i) != std::string::npos) {
                const size_t end = script.find('}', i);
                Key(script.substr(i + 1, end - i - 1));
                i = end;
            } else {
                text.TypeByte(static_cast<unsigned char>(script[i]));
            }
        }
    }
};

struct Row {
    const char* name;
    const char* start;
    EditPos caret, anchor;
    const char* script;
    std::vector<std::string> lines;
    EditPos endCaret, endAnchor;
    const char* clipboard = "";
    bool wantReturn = true;
    bool readOnly = false;
    const char* startClipboard = "";
};

const Row kRows[] = {
    { "typing inserts at the caret", "x", { 1, 0 }, { 1, 0 }, "abc", { "xabc" }, { 4, 0 }, { 4, 0 } },
    { "typing replaces a selection", "hello", { 1, 0 }, { 4, 0 }, "J", { "hJo" }, { 2, 0 }, { 2, 0 } },
    { "backspace in a line", "abc", { 2, 0 }, { 2, 0 }, "{Back}", { "ac" }, { 1, 0 }, { 1, 0 } },
    { "backspace at the text's start", "abc", { 0, 0 }, { 0, 0 }, "{Back}", { "abc" }, { 0, 0 }, { 0, 0 } },
    { "backspace joins lines", "ab\ncd", { 0, 1 }, { 0, 1 }, "{Back}", { "abcd" }, { 2, 0 }, { 2, 0 } },
    { "backspace takes a whole character", "a€", { 4, 0 }, { 4, 0 }, "{Back}", { "a" }, { 1, 0 }, { 1, 0 } },
    { "delete a 4-byte character", "𝄞b", { 0, 0 }, { 0, 0 }, "{Del}", { "b" }, { 0, 0 }, { 0, 0 } },
    { "delete joins lines", "ab\ncd", { 2, 0 }, { 2, 0 }, "{Del}", { "abcd" }, { 2, 0 }, { 2, 0 } },
    { "delete at the text's end", "ab", { 2, 0 }, { 2, 0 }, "{Del}{delete}", { "ab" }, { 2, 0 }, { 2, 0 } },
    { "delete command over lines", "abc\ndef\nghi", { 2, 2 }, { 1, 0 }, "{delete}", { "ai" }, { 1, 0 }, { 1, 0 } },
    { "left at a line start", "ab\ncd", { 0, 1 }, { 0, 1 }, "{Left}", { "ab", "cd" }, { 2, 0 }, { 2, 0 } },
    { "left over a 4-byte character", "a𝄞", { 5, 0 }, { 5, 0 }, "{Left}", { "a𝄞" }, { 1, 0 }, { 1, 0 } },
    { "right at a line end, then at the text's end", "ab\ncd", { 2, 0 }, { 2, 0 }, "{Right}{End}{Right}",
      { "ab", "cd" }, { 2, 1 }, { 2, 1 } },
    { "right over é", "éa", { 0, 0 }, { 0, 0 }, "{Right}", { "éa" }, { 2, 0 }, { 2, 0 } },
    { "home, end and their ctrl forms", "ab\ncde\nf", { 1, 1 }, { 1, 1 }, "{End}{Home}{C-End}", { "ab", "cde", "f" },
      { 1, 2 }, { 1, 2 } },
    { "ctrl home", "ab\ncd", { 1, 1 }, { 1, 1 }, "{C-Home}", { "ab", "cd" }, { 0, 0 }, { 0, 0 } },
    { "up and down keep the column where they can", "abcd\nx\nabcd", { 3, 0 }, { 3, 0 }, "{Down}{Down}{Up}",
      { "abcd", "x", "abcd" }, { 1, 1 }, { 1, 1 } },
    { "down snaps into a character", "abcd\néé", { 3, 0 }, { 3, 0 }, "{Down}", { "abcd", "éé" }, { 4, 1 },
      { 4, 1 } },
    { "without want-return up, down and pages stay", "ab\ncd\nef", { 1, 1 }, { 1, 1 }, "{Up}{Down}{PgUp}{PgDn}",
      { "ab", "cd", "ef" }, { 1, 1 }, { 1, 1 }, "", false },
    { "page down and up by two lines", "a\nb\nc\nd\ne\nf", { 0, 1 }, { 0, 1 }, "{PgDn}{PgDn}{PgUp}",
      { "a", "b", "c", "d", "e", "f" }, { 0, 3 }, { 0, 3 } },
    { "word right", "foo bar.baz\nq", { 0, 0 }, { 0, 0 }, "{C-Right}{C-Right}{C-Right}", { "foo bar.baz", "q" },
      { 8, 0 }, { 8, 0 } },
    { "word right to the line end and on", "foo bar.baz\nq", { 8, 0 }, { 8, 0 }, "{C-Right}{C-Right}",
      { "foo bar.baz", "q" }, { 0, 1 }, { 0, 1 } },
    { "word left", "foo bar.baz", { 11, 0 }, { 11, 0 }, "{C-Left}{C-Left}{C-Left}{C-Left}", { "foo bar.baz" },
      { 0, 0 }, { 0, 0 } },
    { "word left at a line start", "ab\ncd", { 0, 1 }, { 0, 1 }, "{C-Left}", { "ab", "cd" }, { 2, 0 }, { 2, 0 } },
    { "Größe is one word", "Größe x", { 0, 0 }, { 0, 0 }, "{C-Right}", { "Größe x" }, { 7, 0 }, { 7, 0 } },
    { "shift extends, a plain move collapses", "abc", { 0, 0 }, { 0, 0 }, "{S-End}{copy}{Left}", { "abc" }, { 2, 0 },
      { 2, 0 }, "abc" },
    { "ctrl shift selects words", "ab cd", { 0, 0 }, { 0, 0 }, "{CS-Right}{cut}", { " cd" }, { 0, 0 }, { 0, 0 }, "ab" },
    { "tab to the next stop", "ab", { 2, 0 }, { 2, 0 }, "\t\t", { "ab      " }, { 8, 0 }, { 8, 0 } },
    { "tab replaces a selection", "abcdef", { 1, 0 }, { 5, 0 }, "\t", { "a   f" }, { 4, 0 }, { 4, 0 } },
    { "enter breaks the line", "abcd", { 2, 0 }, { 2, 0 }, "\r", { "ab", "cd" }, { 0, 1 }, { 0, 1 } },
    { "enter without want-return inserts nothing", "abcd", { 2, 0 }, { 2, 0 }, "\r", { "abcd" }, { 2, 0 }, { 2, 0 },
      "", false },
    { "enter key-down alone changes nothing", "abcd", { 2, 0 }, { 2, 0 }, "{Enter}{F1}", { "abcd" }, { 2, 0 },
      { 2, 0 } },
    { "typing over three lines", "abc\ndef\nghi", { 2, 2 }, { 1, 0 }, "X", { "aXi" }, { 2, 0 }, { 2, 0 } },
    { "copy over three lines", "abc\ndef\nghi", { 2, 2 }, { 1, 0 }, "{copy}", { "abc", "def", "ghi" }, { 2, 2 },
      { 1, 0 }, "bc\r\ndef\r\ngh" },
    { "cut over two lines", "abc\ndef", { 1, 0 }, { 2, 1 }, "{cut}", { "af" }, { 1, 0 }, { 1, 0 }, "bc\r\nde" },
    { "cut with nothing selected", "abc", { 1, 0 }, { 1, 0 }, "{cut}", { "abc" }, { 1, 0 }, { 1, 0 }, "old", true,
      false, "old" },
    { "select all then type", "ab\ncd", { 1, 0 }, { 1, 0 }, "{all}z", { "z" }, { 1, 0 }, { 1, 0 } },
    { "double click selects the word, caret first", "foo bar", { 5, 0 }, { 5, 0 }, "{word}{copy}", { "foo bar" },
      { 4, 0 }, { 7, 0 }, "bar" },
    { "double click on punctuation selects it", "a.b", { 1, 0 }, { 1, 0 }, "{word}{copy}", { "a.b" }, { 2, 0 },
      { 1, 0 }, "." },
    { "é typed byte by byte", "ab", { 1, 0 }, { 1, 0 }, "\xC3\xA9", { "aéb" }, { 3, 0 }, { 3, 0 } },
    { "a 4-byte character typed byte by byte", "", { 0, 0 }, { 0, 0 }, "\xF0\x9D\x84\x9Ex", { "𝄞x" }, { 5, 0 },
      { 5, 0 } },
    // A pending lead byte cut short by an ASCII byte: the lead goes, the byte stays.
    { "a cut-short sequence is dropped, the byte typed", "", { 0, 0 }, { 0, 0 }, "\xC3" "a\xE2\x82" "b", { "ab" },
      { 2, 0 }, { 2, 0 } },
    { "stray continuation and control bytes are dropped", "", { 0, 0 }, { 0, 0 }, "\xA9\x01\x1B" "c", { "c" },
      { 1, 0 }, { 1, 0 } },
    { "read-only refuses every edit but copy", "ab\ncd", { 0, 0 }, { 2, 0 },
      "x\t\r{delete}{cut}{paste}{copy}{Back}{Del}", { "ab", "cd" }, { 0, 0 }, { 0, 0 }, "ab", true, true, "q" },
    { "paste keeps non-ASCII and drops carriage returns", "abcd", { 2, 0 }, { 2, 0 }, "{paste}",
      { "abGröße", "xcd" }, { 3, 1 }, { 3, 1 }, "Größe\r\nx", true, false, "Größe\r\nx" },
    { "paste drops control bytes and broken sequences", "", { 0, 0 }, { 0, 0 }, "{paste}", { "aébc" }, { 5, 0 },
      { 5, 0 }, "a\x01\xC3\xA9\xC3" "b\x80" "c", true, false, "a\x01\xC3\xA9\xC3" "b\x80" "c" },
    { "paste expands tabs from the caret column", "ab", { 1, 0 }, { 1, 0 }, "{paste}", { "ax      y b" }, { 10, 0 },
      { 10, 0 }, "x\t\ty ", true, false, "x\t\ty " },
    { "a pasted final line feed is kept", "ab\ncd", { 2, 0 }, { 2, 0 }, "{paste}", { "abx", "", "cd" }, { 0, 1 },
      { 0, 1 }, "x\n", true, false, "x\n" },
    { "undo takes back one character each", "x", { 1, 0 }, { 1, 0 }, "abc{undo}{undo}", { "xa" }, { 2, 0 },
      { 2, 0 } },
    { "redo after undo", "x", { 1, 0 }, { 1, 0 }, "ab{undo}{undo}{redo}", { "xa" }, { 2, 0 }, { 2, 0 } },
    { "undo of a two-line paste", "abcd", { 2, 0 }, { 2, 0 }, "{paste}{undo}", { "abcd" }, { 2, 0 }, { 2, 0 }, "1\n2",
      true, false, "1\n2" },
};

TEST(EditText, EditingTable)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        CEditText text;
        text.Load(row.start, -1);
        text.SetWantReturn(row.wantReturn);
        text.SetReadOnly(row.readOnly);
        text.MoveAnchorTo(row.anchor.column, row.anchor.line);
        text.MoveCaretTo(row.caret.column, row.caret.line);
        const std::vector<std::string> start = Lines(text);
        std::string clipboard = row.startClipboard;
        Runner runner{ text, clipboard };
        runner.Run(row.script);
        EXPECT_EQ(Lines(text), row.lines);
        EXPECT_EQ(text.GetCaret().column, row.endCaret.column);
        EXPECT_EQ(text.GetCaret().line, row.endCaret.line);
        EXPECT_EQ(text.GetAnchor().column, row.endAnchor.column);
        EXPECT_EQ(text.GetAnchor().line, row.endAnchor.line);
        EXPECT_EQ(clipboard, row.clipboard);

        text.SetReadOnly(false);
        int undone = 0;
        for (; text.CanUndo(); ++undone)
            text.Undo();
        EXPECT_EQ(Lines(text), start);
        for (int i = 0; i < undone; ++i)
            text.Redo();
        EXPECT_EQ(Lines(text), row.lines);
    }
}

TEST(EditText, HistoryRules)
{
    CEditText text;
    text.Load("ab\ncd", -1);
    EXPECT_FALSE(text.CanUndo());
    text.Undo(); // nothing to undo changes nothing
    EXPECT_EQ(Lines(text), (std::vector<std::string>{ "ab", "cd" }));

    // A join is one action; undo brings both lines back with the caret at the join.
    text.MoveCaretTo(0, 1);
    text.MoveAnchorTo(0, 1);
    text.KeyDown(VK_BACK, false, false, 1);
    text.Undo();
    EXPECT_EQ(Lines(text), (std::vector<std::string>{ "ab", "cd" }));
    EXPECT_EQ(text.GetCaret(), (EditPos{ 2, 0 }));
    EXPECT_TRUE(text.CanRedo());

    // Any action, even one that changes nothing, ends the chance to redo.
    text.MoveCaretTo(0, 0);
    text.MoveAnchorTo(0, 0);
    text.KeyDown(VK_BACK, false, false, 1);
    EXPECT_FALSE(text.CanRedo());

    // Undo restores the selection a typed character replaced.
    text.MoveAnchorTo(0, 0);
    text.MoveCaretTo(1, 1);
    text.TypeByte('z');
    text.Undo();
    EXPECT_EQ(text.GetAnchor(), (EditPos{ 0, 0 }));
    EXPECT_EQ(text.GetCaret(), (EditPos{ 1, 1 }));

    // A new text empties the history.
    text.Load("x", -1);
    EXPECT_FALSE(text.CanUndo());
    EXPECT_FALSE(text.CanRedo());
}

bool OnBoundary(const CEditText& text, EditPos pos)
{
    const int count = text.Buffer().GetLineCount();
    if (count == 0)
        return pos == EditPos{};
    if (pos.line < 0 || pos.line >= count)
        return false;
    const CString& line = text.Buffer().LineAt(pos.line);
    int at = 0;
    while (at < pos.column)
        at += MbCharLengthAt(line.GetString() + at, line.GetLength() - at);
    return at == pos.column && pos.column <= line.GetLength();
}

bool ValidUtf8(const CString& text)
{
    for (int i = 0; i < text.GetLength();) {
        const int n = MbCharLengthAt(text.GetString() + i, text.GetLength() - i);
        if (n == 1 && static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
        i += n;
    }
    return true;
}

TEST(EditText, RandomActionsKeepPositionsOnBoundariesAndUndoRestoresTheStart)
{
    const char* start = "Größe: Integer [0..1]\n€ 𝄞 naïve\n\nend";
    const std::vector<std::string> pieces = { "a", " ", "é", "€", "𝄞", "\t", "\r", "ß", "\xC3", "\x9D", "x" };
    const std::vector<std::string> pastes = { "q\r\nw", "Größe", "\xE2\x82", "1\n2\n", "\t€" };
    const UINT keys[] = { VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_BACK, VK_DELETE };
    std::mt19937 random(20261210);
    CEditText text;
    text.Load(start, -1);
    text.SetWantReturn(true);
    const std::vector<std::string> startLines = Lines(text);
    for (int step = 0; step < 10000; ++step) {
        const int action = int(random() % 10);
        if (action < 4) {
            for (unsigned char b : pieces[random() % pieces.size()])
                text.TypeByte(b);
        } else if (action < 8) {
            text.KeyDown(keys[random() % std::size(keys)], random() % 4 == 0, random() % 3 == 0, 3);
        } else if (action == 8) {
            text.Paste(pastes[random() % pastes.size()].c_str());
        } else {
            switch (random() % 5) {
            case 0: text.Undo(); break;
            case 1: text.Redo(); break;
            case 2: text.SelectAll(); break;
            case 3: text.SelectWordAt(int(random() % 8), int(random() % 4)); break;
            default: text.DeleteSelectionAction(); break;
            }
        }
        ASSERT_TRUE(OnBoundary(text, text.GetCaret())) << "step " << step;
        ASSERT_TRUE(OnBoundary(text, text.GetAnchor())) << "step " << step;
        ASSERT_TRUE(ValidUtf8(text.Buffer().GetJoinedText())) << "step " << step;
    }
    while (text.CanUndo())
        text.Undo();
    EXPECT_EQ(Lines(text), startLines);
}

} // namespace
