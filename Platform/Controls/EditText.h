#pragma once
// The text of an edit control and what is asked of it by character index:
// replacing a range, the runs that make words, and line breaks.
#include <cstddef>
#include <string>

namespace ZELL::Controls {

class CEditText {
public:
    const std::wstring& Text() const { return m_text; }
    int Length() const { return static_cast<int>(m_text.size()); }
    // Both keep the text as it was and answer false when the memory for the
    // new text cannot be had.
    bool Assign(const std::wstring& text);
    // Replaces [start, end) (clamped and ordered) with `with`.
    bool Replace(int start, int end, const std::wstring& with);

    // A test seam: texts longer than this many characters fail as a full
    // memory would (0: no such ceiling). For every edit of the process.
    static void SetAllocationCeilingForTests(std::size_t characters);
    std::wstring Range(int start, int end) const;
    int Clamp(int index) const;

    // Ctrl+Left and Ctrl+Right: the start of the word before `index`, the
    // start of the word after it. Letters and digits, punctuation and
    // spaces (line breaks among them) make separate runs.
    int WordLeft(int index) const;
    int WordRight(int index) const;
    // The run around `index` that a double click selects.
    void WordAt(int index, int& start, int& end) const;

private:
    enum class Kind { Space, Word, Punctuation };
    Kind KindAt(int index) const;

    std::wstring m_text;
};

}
