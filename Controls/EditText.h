// CEditText: the editing logic of the colour editor without its window: the
// line buffer, the caret and anchor, the typed-character state and the undo
// history, with every key, character and command the editor obeys. The window
// (CColorEdit) measures, paints, scrolls and talks to the clipboard; it hears
// of changes through a Listener.
// Invariants: while lines exist the caret and the anchor stand on existing
// lines, at most at the line's end, on a character boundary (a UTF-8 sequence
// is one character; a byte that starts none counts as one). Without lines both
// are at column 0 of line 0. Every change of a line goes through the recording
// operations, and every user action is one group of the history.
#pragma once

#include "Controls/EditHistory.h"
#include "Controls/EditLineBuffer.h"
#include "Platform/Types.h"

#include <string>

struct EditPos {
    int column = 0;
    int line = 0;
    bool operator==(const EditPos& other) const { return column == other.column && line == other.line; }
    bool operator!=(const EditPos& other) const { return !(*this == other); }
    bool operator<(const EditPos& other) const
    {
        return line < other.line || (line == other.line && column < other.column);
    }
};

class CEditText {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void LineInserted(int) {}
        virtual void LineRemoved(int) {}
        virtual void LineChanged(int) {}
        // After each action, undo, redo and clearing of the text.
        virtual void TextChanged() {}
        // Undo and redo show each line they change; Page Up and Down their target.
        virtual void ShowLine(int) {}
    };

    static const int kTabWidth = 4;

    explicit CEditText(Listener* listener = nullptr) : m_listener(listener) {}
    CEditText(const CEditText&) = delete;
    CEditText& operator=(const CEditText&) = delete;

    CEditLineBuffer& Buffer() { return m_buffer; }
    const CEditLineBuffer& Buffer() const { return m_buffer; }

    void SetWantReturn(bool on) { m_wantReturn = on; }
    bool GetWantReturn() const { return m_wantReturn; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    bool IsReadOnly() const { return m_readOnly; }

    EditPos GetCaret() const { return m_caret; }
    EditPos GetAnchor() const { return m_anchor; }
    bool HasSelection() const { return m_caret != m_anchor; }
    // The selection's ends, start first.
    EditPos SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    EditPos SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    // A position clamped to the lines and snapped forward to a boundary.
    EditPos Clamp(int column, int line) const;
    void MoveCaretTo(int column, int line) { m_caret = Clamp(column, line); }
    void MoveAnchorTo(int column, int line) { m_anchor = Clamp(column, line); }

    // Empties the lines (notifying the change), the history and the typed
    // state; caret and anchor go to the start.
    void Reset();
    // Reset, then the text (none is the empty text) coloured with key.
    void Load(const char* text, int colourKey);

    // A key-down; false for a key the editor leaves to default handling.
    // page is the number of lines the window shows.
    bool KeyDown(UINT key, bool ctrl, bool shift, int page);
    // One byte of a typed character; the bytes of a UTF-8 sequence come one
    // message each and are inserted once the sequence is whole.
    void TypeByte(unsigned char byte);

    // The selection as clipboard text, lines joined with "\r\n".
    CString SelectedText() const;
    // One action deleting the selection (the second half of Cut).
    void DeleteSelectionAction();
    // One action inserting text by the rules of pasted text.
    void Paste(const char* text);
    // Deletes the selection or else the character at the caret.
    void DeleteCommand();
    void SelectAll();
    // Selects the word around column on line, the caret before it.
    void SelectWordAt(int column, int line);
    // One action replacing one line.
    void ReplaceLine(const char* text, int line);

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    void Undo();
    void Redo();
    void ResetUndo() { m_history.Reset(); }

private:
    template <class Change> void Action(Change change);
    void Colourize() { m_buffer.Colourize(); }
    void ApplyGroup(bool undo);

    // The recording line operations.
    void DoInsertLine(const CString& text, int index);
    void DoSetLine(const CString& text, int index);
    void DoRemoveLine(int index);
    void RecordChange(EditRecordKind kind, const CString& text, int line);

    bool HasLine(int line) const { return line >= 0 && line < m_buffer.GetLineCount(); }
    int LineLength(int line) const { return HasLine(line) ? m_buffer.LineAt(line).GetLength() : 0; }
    EditPos LineEnd(int line) const { return EditPos{ LineLength(line), line }; }

    void DeleteSelection();
    void InsertAtCaret(const CString& text);
    void BreakLine();
    void DeleteBefore();
    void DeleteAt();
    void InsertPasted(const char* text);

    void MoveLeft();
    void MoveRight();
    void MoveWordLeft();
    void MoveWordRight();
    void MoveToLine(int line);

    Listener* m_listener;
    CEditLineBuffer m_buffer;
    CEditHistory m_history;
    EditPos m_caret;
    EditPos m_anchor;
    std::string m_pending; // the leading bytes of a typed character not yet whole
    bool m_wantReturn = false;
    bool m_readOnly = false;
};
