// The colour editor's own undo and redo history, apart from the model's undo
// log. Every change of a line is recorded with the caret and anchor as they
// were before it; one user action is one group of records. Undo applies the
// newest group backwards and turns it into a redo group of inverse records,
// in the reverse order, so applying that group again restores the text step
// by step. Neither stack has a size limit.
#pragma once

#include "Platform/CString.h"

#include <vector>

enum EditRecordKind {
    EditLineInserted = 0,
    EditLineRemoved = 1,
    EditLineReplaced = 2,
};

struct EditUndoRecord {
    CString text;   // empty for an insertion, else the line's text before the change
    int kind = EditLineInserted;
    int line = 0;
    int caretColumn = 0;
    int caretLine = 0;
    int anchorColumn = 0;
    int anchorLine = 0;
};

// One group: a stack of records, copied by value onto the history's stacks.
class CEditUndoStack {
public:
    virtual ~CEditUndoStack() = default;
    void Push(const EditUndoRecord& record) { m_records.push_back(record); }
    // False when empty; otherwise moves the newest record out.
    bool Pop(EditUndoRecord& record);
    void Clear() { m_records.clear(); }
    bool IsEmpty() const { return m_records.empty(); }

private:
    std::vector<EditUndoRecord> m_records;
};

class CEditHistory {
public:
    // Clears the current group and the redo stack: any new action, even one
    // that changes nothing, ends the chance to redo.
    void BeginGroup();
    void Record(const EditUndoRecord& record) { m_current.Push(record); }
    // Moves the current group onto the undo stack when it holds records.
    void EndGroup();
    void Reset();

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // Takes the newest group off the undo (or redo) stack; false when empty.
    bool TakeUndo(CEditUndoStack& group) { return Take(m_undo, group); }
    bool TakeRedo(CEditUndoStack& group) { return Take(m_redo, group); }
    void PushUndo(const CEditUndoStack& group) { m_undo.push_back(group); }
    void PushRedo(const CEditUndoStack& group) { m_redo.push_back(group); }

private:
    static bool Take(std::vector<CEditUndoStack>& from, CEditUndoStack& group);

    CEditUndoStack m_current;
    std::vector<CEditUndoStack> m_undo;
    std::vector<CEditUndoStack> m_redo;
};
