#include "Platform/Controls/EditUndo.h"

namespace ZELL::Controls {

bool CEditUndo::Continues(const EditChange& change) const
{
    if (!m_has || !m_typing)
        return false;
    const int insertedEnd = m_change.start + static_cast<int>(m_change.inserted.size());
    // One more character typed right after the run.
    if (change.removed.empty() && change.start == insertedEnd)
        return true;
    // One more Backspace before a run of them.
    return change.inserted.empty() && m_change.inserted.empty() &&
           change.start + static_cast<int>(change.removed.size()) == m_change.start;
}

void CEditUndo::Record(const EditChange& change, bool typed)
{
    if (typed && Continues(change)) {
        if (change.inserted.empty()) {
            m_change.removed.insert(0, change.removed);
            m_change.start = change.start;
        } else {
            m_change.inserted += change.inserted;
        }
        return;
    }
    m_change = change;
    m_has = true;
    m_typing = typed;
}

EditChange CEditUndo::TakeReverse()
{
    EditChange reverse{m_change.start, m_change.inserted, m_change.removed};
    m_change = reverse;
    m_typing = false;
    return reverse;
}

}
