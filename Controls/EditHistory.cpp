#include "Controls/EditHistory.h"

#include <utility>

bool CEditUndoStack::Pop(EditUndoRecord& record)
{
    if (m_records.empty())
        return false;
    record = std::move(m_records.back());
    m_records.pop_back();
    return true;
}

void CEditHistory::BeginGroup()
{
    m_current.Clear();
    m_redo.clear();
}

void CEditHistory::EndGroup()
{
    if (m_current.IsEmpty())
        return;
    m_undo.push_back(m_current);
    m_current.Clear();
}

void CEditHistory::Reset()
{
    m_current.Clear();
    m_undo.clear();
    m_redo.clear();
}

bool CEditHistory::Take(std::vector<CEditUndoStack>& from, CEditUndoStack& group)
{
    if (from.empty())
        return false;
    group = std::move(from.back());
    from.pop_back();
    return true;
}
