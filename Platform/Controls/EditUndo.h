#pragma once
// The edit control's one level of undo: the last change, which undoing
// turns into its own reverse (so a second undo redoes). Typing one
// character after another, and Backspace after Backspace, grow one change.
#include <string>

namespace ZELL::Controls {

struct EditChange {
    int start = 0;            // where the change happened
    std::wstring removed;     // what it took out
    std::wstring inserted;    // what it put in at `start`
};

class CEditUndo {
public:
    bool CanUndo() const { return m_has; }
    void Clear() { m_has = false; m_change = {}; m_typing = false; }
    // Records a change; `typed` marks one of a typing (or Backspace) run,
    // which joins the change before it when it continues it.
    void Record(const EditChange& change, bool typed);
    // The change that undoes the recorded one; it becomes the recorded one.
    EditChange TakeReverse();

private:
    bool Continues(const EditChange& change) const;

    EditChange m_change;
    bool m_has = false;
    bool m_typing = false;
};

}
