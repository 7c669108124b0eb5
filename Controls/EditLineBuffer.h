// CEditLineBuffer: the text of the colour editor as an array of lines, and the
// colouring context that turns the joined text into colour runs.
// Invariants: no line holds a line feed; the joined text is the empty text for
// no lines, the line itself for one line, and every line followed by "\n" for
// two or more. The buffer knows nothing of carets, selection or undo.
// The copied row and the run text belong to the buffer: they stay valid when
// the caller's record goes away and when any other text is coloured in the
// shared run writer.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/CString.h"
#include "Platform/Collections.h"

#include <string>

class CSyntaxColourer;

class CEditLineBuffer {
public:
    CEditLineBuffer() = default;
    CEditLineBuffer(const CEditLineBuffer&) = delete;
    CEditLineBuffer& operator=(const CEditLineBuffer&) = delete;

    int GetLineCount() const { return int(m_lines.GetSize()); }
    // A copy of the line; the empty text outside 0..count-1.
    CString GetLine(int index) const;
    // The line without a copy; index must lie inside the lines.
    const CString& LineAt(int index) const { return m_lines[index]; }
    // Before line index; below 0 inserts first, at or past the end appends.
    void InsertLine(const char* text, int index);
    // SetLine and RemoveLine do nothing outside the lines.
    void SetLine(const char* text, int index);
    void RemoveLine(int index);
    void RemoveAll() { m_lines.RemoveAll(); }

    // Splits at each line feed; a final line feed gives no empty last line,
    // and a text without one (the empty text too) gives one line. Carriage
    // returns stay in the lines.
    void SetJoinedText(const char* text);
    CString GetJoinedText() const;
    int GetTextLength() const;

    // A negative key switches colouring off.
    void SetColourKey(int key) { m_colourKey = key; }
    int GetColourKey() const { return m_colourKey; }
    // Copies the row and finds the colourer of its Type; when none has that
    // Type, no colourer remains and the earlier copy of the row stays.
    void SetSyntaxContext(const SymbolT& row);
    bool HasSyntaxContext() const { return m_colourer != nullptr; }
    // Asks the colourer for runs of the joined text and keeps a copy of them;
    // false, with the last runs kept, without a colourer, with a negative key
    // or without lines.
    bool Colourize();
    // The runs of the last colouring, or null when nothing was coloured yet.
    const char* GetRunText() const { return m_hasRuns ? m_runText.c_str() : nullptr; }

private:
    CStringArray m_lines;
    int m_colourKey = -1;
    SymbolT m_row;
    // The row's texts, owned here; GUID, SGUID and Type cut to 22, 22 and 64 bytes.
    std::string m_model, m_guid, m_sguid, m_type, m_stereotype, m_srcId, m_destId, m_nodes, m_syntax;
    CSyntaxColourer* m_colourer = nullptr;
    std::string m_runText;
    bool m_hasRuns = false;
};
