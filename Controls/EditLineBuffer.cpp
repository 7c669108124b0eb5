#include "Controls/EditLineBuffer.h"

#include "Controls/SyntaxColourer.h"
#include "Platform/TextConv.h"

#include <cstring>

namespace {

// The text cut to at most room bytes without splitting a character.
std::string Cut(const char* text, int room)
{
    if (!text)
        return std::string();
    return std::string(text, size_t(MbFitLength(text, room)));
}

std::string Owned(const char* text)
{
    return text ? std::string(text) : std::string();
}

} // namespace

CString CEditLineBuffer::GetLine(int index) const
{
    if (index < 0 || index >= GetLineCount())
        return CString();
    return m_lines[index];
}

void CEditLineBuffer::InsertLine(const char* text, int index)
{
    if (index < 0)
        index = 0;
    if (index >= GetLineCount())
        m_lines.Add(text ? text : "");
    else
        m_lines.InsertAt(index, text ? text : "");
}

void CEditLineBuffer::SetLine(const char* text, int index)
{
    if (index >= 0 && index < GetLineCount())
        m_lines[index] = text ? text : "";
}

void CEditLineBuffer::RemoveLine(int index)
{
    if (index >= 0 && index < GetLineCount())
        m_lines.RemoveAt(index);
}

void CEditLineBuffer::SetJoinedText(const char* text)
{
    m_lines.RemoveAll();
    if (!text)
        text = "";
    const char* start = text;
    for (const char* feed; (feed = std::strchr(start, '\n')) != nullptr; start = feed + 1)
        m_lines.Add(CString(start, int(feed - start)));
    if (*start || start == text)
        m_lines.Add(start);
}

CString CEditLineBuffer::GetJoinedText() const
{
    const int count = GetLineCount();
    if (count == 1)
        return m_lines[0];
    CString joined;
    joined.GetBuffer(GetTextLength());
    joined.ReleaseBuffer(0);
    for (int i = 0; i < count; ++i) {
        joined += m_lines[i];
        joined += '\n';
    }
    return joined;
}

int CEditLineBuffer::GetTextLength() const
{
    const int count = GetLineCount();
    if (count == 1)
        return m_lines[0].GetLength();
    int length = 0;
    for (int i = 0; i < count; ++i)
        length += m_lines[i].GetLength() + 1;
    return length;
}

void CEditLineBuffer::SetSyntaxContext(const SymbolT& row)
{
    m_colourer = FindSyntaxColourer(row.Type);
    if (!m_colourer)
        return;
    m_row = row;
    m_model = Owned(row.Model);
    m_guid = Cut(row.GUID, 22);
    m_sguid = Cut(row.SGUID, 22);
    m_type = Cut(row.Type, 64);
    m_stereotype = Owned(row.Stereotype);
    m_srcId = Owned(row.SrcID);
    m_destId = Owned(row.DestID);
    m_nodes = Owned(row.Nodes);
    m_syntax = Owned(row.Syntax);
    m_row.Model = m_model.c_str();
    m_row.GUID = m_guid.c_str();
    m_row.SGUID = m_sguid.c_str();
    m_row.Type = m_type.c_str();
    m_row.Stereotype = m_stereotype.c_str();
    m_row.SrcID = m_srcId.c_str();
    m_row.DestID = m_destId.c_str();
    m_row.Nodes = m_nodes.c_str();
    m_row.Syntax = m_syntax.c_str();
    m_row.Text = nullptr;
}

bool CEditLineBuffer::Colourize()
{
    if (!m_colourer || m_colourKey < 0 || GetLineCount() == 0)
        return false;
    const CString joined = GetJoinedText();
    m_row.Text = joined;
    const char* runs = m_colourer->MakeSyntax(m_row, m_colourKey);
    m_row.Text = nullptr;
    m_runText = runs ? runs : "";
    m_hasRuns = true;
    return true;
}
