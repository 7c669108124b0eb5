#include "Controls/EditText.h"

#include "Controls/EditChars.h"
#include "Platform/Messages.h"

#include <cstring>

namespace {

bool IsContinuationByte(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Blanks from column to the next tab stop: at least one.
CString TabBlanks(int column)
{
    return CString(' ', CEditText::kTabWidth - column % CEditText::kTabWidth);
}

} // namespace

EditPos CEditText::Clamp(int column, int line) const
{
    const int count = m_buffer.GetLineCount();
    if (count == 0)
        return EditPos{};
    line = line < 0 ? 0 : (line >= count ? count - 1 : line);
    const CString& text = m_buffer.LineAt(line);
    return EditPos{ column <= 0 ? 0 : SnapColumn(text, column), line };
}

void CEditText::Reset()
{
    m_buffer.RemoveAll();
    if (m_listener)
        m_listener->TextChanged();
    m_caret = m_anchor = EditPos{};
    m_pending.clear();
    m_history.Reset();
}

void CEditText::Load(const char* text, int colourKey)
{
    Reset();
    m_buffer.SetJoinedText(text);
    m_buffer.SetColourKey(colourKey);
    Colourize();
    if (m_listener)
        m_listener->TextChanged();
}

template <class Change> void CEditText::Action(Change change)
{
    m_history.BeginGroup();
    change();
    m_history.EndGroup();
    if (m_listener)
        m_listener->TextChanged();
}

void CEditText::RecordChange(EditRecordKind kind, const CString& text, int line)
{
    EditUndoRecord record;
    record.text = text;
    record.kind = kind;
    record.line = line;
    record.caretColumn = m_caret.column;
    record.caretLine = m_caret.line;
    record.anchorColumn = m_anchor.column;
    record.anchorLine = m_anchor.line;
    m_history.Record(record);
}

void CEditText::DoInsertLine(const CString& text, int index)
{
    const int count = m_buffer.GetLineCount();
    index = index < 0 ? 0 : (index > count ? count : index);
    RecordChange(EditLineInserted, CString(), index);
    m_buffer.InsertLine(text, index);
    if (m_listener)
        m_listener->LineInserted(index);
}

void CEditText::DoSetLine(const CString& text, int index)
{
    if (!HasLine(index))
        return;
    RecordChange(EditLineReplaced, m_buffer.LineAt(index), index);
    m_buffer.SetLine(text, index);
    if (m_listener)
        m_listener->LineChanged(index);
}

void CEditText::DoRemoveLine(int index)
{
    if (!HasLine(index))
        return;
    RecordChange(EditLineRemoved, m_buffer.LineAt(index), index);
    m_buffer.RemoveLine(index);
    if (m_listener)
        m_listener->LineRemoved(index);
}

void CEditText::DeleteSelection()
{
    if (!HasSelection())
        return;
    const EditPos start = SelectionStart(), end = SelectionEnd();
    if (start.line == end.line) {
        const CString& line = m_buffer.LineAt(start.line);
        DoSetLine(line.Left(start.column) + line.Mid(end.column), start.line);
    } else {
        for (int i = start.line + 1; i < end.line; ++i)
            DoRemoveLine(start.line + 1);
        const CString joined = m_buffer.LineAt(start.line).Left(start.column) +
                               m_buffer.LineAt(start.line + 1).Mid(end.column);
        DoSetLine(joined, start.line);
        DoRemoveLine(start.line + 1);
    }
    m_caret = m_anchor = start;
}

void CEditText::InsertAtCaret(const CString& text)
{
    if (text.IsEmpty())
        return;
    if (!HasLine(m_caret.line)) {
        DoInsertLine(text, m_caret.line);
        m_caret.column = text.GetLength();
    } else {
        const CString& line = m_buffer.LineAt(m_caret.line);
        DoSetLine(line.Left(m_caret.column) + text + line.Mid(m_caret.column), m_caret.line);
        m_caret.column += text.GetLength();
    }
    m_anchor = m_caret;
}

void CEditText::BreakLine()
{
    if (!HasLine(m_caret.line))
        DoInsertLine(CString(), m_caret.line);
    const CString line = m_buffer.LineAt(m_caret.line);
    const int column = m_caret.column;
    DoSetLine(line.Left(column), m_caret.line);
    m_caret = EditPos{ 0, m_caret.line + 1 };
    DoInsertLine(line.Mid(column), m_caret.line);
    m_anchor = m_caret;
}

void CEditText::DeleteBefore()
{
    if (!HasLine(m_caret.line) || (m_caret.line == 0 && m_caret.column == 0))
        return;
    if (m_caret.column > 0) {
        const CString& line = m_buffer.LineAt(m_caret.line);
        const int start = PreviousBoundary(line, m_caret.column);
        DoSetLine(line.Left(start) + line.Mid(m_caret.column), m_caret.line);
        m_caret.column = start;
    } else {
        // The caret moves first, so the records (and undo) put it at the join.
        const int line = m_caret.line;
        m_caret = LineEnd(line - 1);
        DoSetLine(m_buffer.LineAt(line - 1) + m_buffer.LineAt(line), line - 1);
        DoRemoveLine(line);
    }
    m_anchor = m_caret;
}

void CEditText::DeleteAt()
{
    if (!HasLine(m_caret.line))
        return;
    const CString& line = m_buffer.LineAt(m_caret.line);
    if (m_caret.column < line.GetLength()) {
        const int length = EditCharLength(line, m_caret.column);
        DoSetLine(line.Left(m_caret.column) + line.Mid(m_caret.column + length), m_caret.line);
    } else if (HasLine(m_caret.line + 1)) {
        DoSetLine(line + m_buffer.LineAt(m_caret.line + 1), m_caret.line);
        DoRemoveLine(m_caret.line + 1);
    }
    m_anchor = m_caret;
}

// Line feeds split the text, tabs become blanks to the next stop, whole
// characters go in; other control bytes and bytes of broken sequences are
// dropped, and a byte that cut a sequence short is taken on its own. After a
// line feed the rest of the caret line follows the last pasted line.
void CEditText::InsertPasted(const char* text)
{
    DeleteSelection();
    CString segment, tail;
    int column = m_caret.column;
    bool broken = false;
    const int length = text ? int(std::strlen(text)) : 0;
    for (int i = 0; i < length;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const int n = MbCharLengthAt(text + i, length - i);
        if (b == '\n') {
            if (!broken && HasLine(m_caret.line)) {
                const CString line = m_buffer.LineAt(m_caret.line);
                tail = line.Mid(m_caret.column);
                DoSetLine(line.Left(m_caret.column) + segment, m_caret.line);
            } else {
                DoInsertLine(segment, m_caret.line);
            }
            broken = true;
            segment.Empty();
            m_caret = EditPos{ 0, m_caret.line + 1 };
            column = 0;
        } else if (b == '\t') {
            const CString blanks = TabBlanks(column);
            segment += blanks;
            column += blanks.GetLength();
        } else if ((b >= 0x20 && b < 0x7F) || n > 1) {
            segment += CString(text + i, n);
            column += n;
        }
        i += n;
    }
    if (broken) {
        // Unlike the line break itself, the last line always goes in: a
        // pasted text that ends with a line feed keeps it.
        DoInsertLine(segment + tail, m_caret.line);
        m_caret.column = segment.GetLength() + tail.GetLength();
    } else if (!segment.IsEmpty()) {
        if (HasLine(m_caret.line)) {
            const CString& line = m_buffer.LineAt(m_caret.line);
            DoSetLine(line.Left(m_caret.column) + segment + line.Mid(m_caret.column), m_caret.line);
            m_caret.column += segment.GetLength();
        } else {
            DoInsertLine(segment, m_caret.line);
            m_caret.column = segment.GetLength();
        }
    }
    m_anchor = m_caret;
}

bool CEditText::KeyDown(UINT key, bool ctrl, bool shift, int page)
{
    switch (key) {
    case VK_BACK:
        if (m_readOnly)
            break;
        Action([this] {
            if (HasSelection())
                DeleteSelection();
            else
                DeleteBefore();
        });
        Colourize();
        break;
    case VK_RETURN:
        break;
    case VK_PRIOR:
        if (m_wantReturn)
            MoveToLine(m_caret.line - page >= 1 ? m_caret.line - page : 0);
        break;
    case VK_NEXT:
        if (m_wantReturn) {
            const int last = m_buffer.GetLineCount() - 1;
            MoveToLine(m_caret.line + page < last ? m_caret.line + page : last);
        }
        break;
    case VK_END:
        m_caret = ctrl ? LineEnd(m_buffer.GetLineCount() - 1) : LineEnd(m_caret.line);
        if (!HasLine(m_caret.line))
            m_caret = EditPos{};
        break;
    case VK_HOME:
        m_caret = ctrl ? EditPos{} : EditPos{ 0, m_caret.line };
        break;
    case VK_LEFT:
        if (ctrl)
            MoveWordLeft();
        else
            MoveLeft();
        break;
    case VK_RIGHT:
        if (ctrl)
            MoveWordRight();
        else
            MoveRight();
        break;
    case VK_UP:
        if (m_wantReturn && m_caret.line > 0)
            MoveToLine(m_caret.line - 1);
        break;
    case VK_DOWN:
        if (m_wantReturn && m_caret.line < m_buffer.GetLineCount() - 1)
            MoveToLine(m_caret.line + 1);
        break;
    case VK_DELETE:
        DeleteCommand();
        break;
    default:
        return false;
    }
    if (!shift)
        m_anchor = m_caret;
    return true;
}

void CEditText::MoveToLine(int line)
{
    if (!HasLine(line))
        return;
    const int column = m_caret.column < LineLength(line) ? m_caret.column : LineLength(line);
    m_caret = Clamp(column, line);
    if (m_listener)
        m_listener->ShowLine(line);
}

void CEditText::MoveLeft()
{
    if (m_caret.column > 0 && HasLine(m_caret.line))
        m_caret.column = PreviousBoundary(m_buffer.LineAt(m_caret.line), m_caret.column);
    else if (m_caret.line > 0)
        m_caret = LineEnd(m_caret.line - 1);
}

void CEditText::MoveRight()
{
    const int count = m_buffer.GetLineCount();
    if (count == 0)
        return;
    if (m_caret.line >= count)
        m_caret = LineEnd(count - 1);
    const CString& line = m_buffer.LineAt(m_caret.line);
    if (m_caret.column < line.GetLength())
        m_caret.column += EditCharLength(line, m_caret.column);
    else if (m_caret.line < count - 1)
        m_caret = EditPos{ 0, m_caret.line + 1 };
}

// Back over blanks next to the caret, then over word bytes; a non-word byte
// right before the caret is stepped over alone.
void CEditText::MoveWordLeft()
{
    if (m_caret.column == 0) {
        if (m_caret.line > 0)
            m_caret = LineEnd(m_caret.line - 1);
        return;
    }
    if (!HasLine(m_caret.line))
        return;
    const CString& line = m_buffer.LineAt(m_caret.line);
    const int c = m_caret.column;
    int i = c - 1;
    while (i >= 0 && IsBlankByte(line[i]))
        --i;
    while (i >= 0 && IsWordByte(line[i]))
        --i;
    if (i < 0)
        m_caret.column = 0;
    else
        m_caret.column = i == c - 1 ? i : i + 1;
}

// Forward over blanks at the caret, then over word bytes; a non-word byte at
// the caret is stepped over alone.
void CEditText::MoveWordRight()
{
    if (!HasLine(m_caret.line))
        return;
    const CString& line = m_buffer.LineAt(m_caret.line);
    const int length = line.GetLength();
    const int c = m_caret.column;
    if (c >= length) {
        if (HasLine(m_caret.line + 1))
            m_caret = EditPos{ 0, m_caret.line + 1 };
        return;
    }
    int i = c;
    while (i < length && IsBlankByte(line[i]))
        ++i;
    while (i < length && IsWordByte(line[i]))
        ++i;
    if (i >= length)
        m_caret.column = length;
    else
        m_caret.column = i == c ? i + 1 : i;
}

void CEditText::TypeByte(unsigned char byte)
{
    if (m_readOnly)
        return;
    CString typed;
    if (!m_pending.empty()) {
        if (IsContinuationByte(byte)) {
            m_pending += char(byte);
            if (int(m_pending.size()) < MbCharLength(static_cast<unsigned char>(m_pending[0])))
                return;
            const std::string whole = m_pending;
            m_pending.clear();
            if (MbCharLengthAt(whole.c_str(), int(whole.size())) != int(whole.size()))
                return;
            typed = CString(whole.c_str(), int(whole.size()));
        } else {
            m_pending.clear();
        }
    }
    if (typed.IsEmpty()) {
        if (byte >= 0x80) {
            if (IsMbLeadByte(byte))
                m_pending = char(byte);
            return;
        }
        if (byte != '\r' && byte != '\t' && (byte < 0x20 || byte >= 0x7F))
            return;
        typed = CString(char(byte));
    }
    if (typed == "\t") {
        Action([this] {
            DeleteSelection();
            InsertAtCaret(TabBlanks(m_caret.column));
        });
    } else if (typed == "\r") {
        if (m_wantReturn) {
            Action([this] {
                DeleteSelection();
                BreakLine();
            });
        }
    } else {
        Action([this, &typed] {
            DeleteSelection();
            InsertAtCaret(typed);
        });
    }
    Colourize();
}

CString CEditText::SelectedText() const
{
    if (!HasSelection())
        return CString();
    const EditPos start = SelectionStart(), end = SelectionEnd();
    const CString& first = m_buffer.LineAt(start.line);
    if (start.line == end.line)
        return first.Mid(start.column, end.column - start.column);
    CString text = first.Mid(start.column) + "\r\n";
    for (int i = start.line + 1; i < end.line; ++i)
        text += m_buffer.LineAt(i) + "\r\n";
    return text + m_buffer.LineAt(end.line).Left(end.column);
}

void CEditText::DeleteSelectionAction()
{
    if (m_readOnly)
        return;
    Action([this] { DeleteSelection(); });
    Colourize();
}

void CEditText::Paste(const char* text)
{
    if (m_readOnly)
        return;
    Action([this, text] { InsertPasted(text); });
    Colourize();
}

void CEditText::DeleteCommand()
{
    if (m_readOnly)
        return;
    Action([this] {
        if (HasSelection())
            DeleteSelection();
        else
            DeleteAt();
    });
    Colourize();
}

void CEditText::SelectAll()
{
    m_anchor = EditPos{};
    m_caret = HasLine(0) ? LineEnd(m_buffer.GetLineCount() - 1) : EditPos{};
}

void CEditText::SelectWordAt(int column, int line)
{
    const EditPos at = Clamp(column, line);
    if (!HasLine(at.line))
        return;
    const CString& text = m_buffer.LineAt(at.line);
    const int length = text.GetLength();
    const int i = at.column;
    int start = i + 1, end = i;
    if (i < length && IsWordByte(text[i])) {
        for (start = i; start > 0 && IsWordByte(text[start - 1]);)
            --start;
        for (end = i; end < length && IsWordByte(text[end]);)
            ++end;
    }
    m_caret = Clamp(start, at.line);
    m_anchor = Clamp(end, at.line);
}

void CEditText::ReplaceLine(const char* text, int line)
{
    if (m_readOnly)
        return;
    Action([this, text, line] { DoSetLine(text, line); });
    m_caret = Clamp(m_caret.column, m_caret.line);
    m_anchor = Clamp(m_anchor.column, m_anchor.line);
    Colourize();
}

void CEditText::Undo()
{
    ApplyGroup(true);
    Colourize();
    if (m_listener)
        m_listener->TextChanged();
}

void CEditText::Redo()
{
    ApplyGroup(false);
    Colourize();
    if (m_listener)
        m_listener->TextChanged();
}

// Applies the newest group of one stack backwards, without recording, and
// pushes the inverse records onto the other stack.
void CEditText::ApplyGroup(bool undo)
{
    CEditUndoStack group, inverse;
    if (!(undo ? m_history.TakeUndo(group) : m_history.TakeRedo(group)))
        return;
    EditUndoRecord record;
    while (group.Pop(record)) {
        if (m_listener)
            m_listener->ShowLine(record.line);
        EditUndoRecord back;
        back.line = record.line;
        back.caretColumn = m_caret.column;
        back.caretLine = m_caret.line;
        back.anchorColumn = m_anchor.column;
        back.anchorLine = m_anchor.line;
        switch (record.kind) {
        case EditLineInserted:
            back.kind = EditLineRemoved;
            back.text = m_buffer.GetLine(record.line);
            m_buffer.RemoveLine(record.line);
            if (m_listener)
                m_listener->LineRemoved(record.line);
            break;
        case EditLineRemoved:
            back.kind = EditLineInserted;
            m_buffer.InsertLine(record.text, record.line);
            if (m_listener)
                m_listener->LineInserted(record.line);
            break;
        default:
            back.kind = EditLineReplaced;
            back.text = m_buffer.GetLine(record.line);
            m_buffer.SetLine(record.text, record.line);
            if (m_listener)
                m_listener->LineChanged(record.line);
            break;
        }
        m_caret = Clamp(record.caretColumn, record.caretLine);
        m_anchor = Clamp(record.anchorColumn, record.anchorLine);
        inverse.Push(back);
    }
    if (undo)
        m_history.PushRedo(inverse);
    else
        m_history.PushUndo(inverse);
}
