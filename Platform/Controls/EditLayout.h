#pragma once
// The lines of an edit control's text as it shows them: split at line
// breaks ("\r\n", or a lone "\n") and, when wrapping, at the last space that
// fits the width (a word longer than the width is cut where it stops
// fitting). Positions within a line are measured with the font selected in
// the context given. With tab stops set (a multi-line edit), a tab reaches to
// the next stop, measured from the line's start; otherwise it is measured
// as the font draws it.
#include "Platform/Gdi/GdiTypes.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

struct EditLine {
    int start = 0;
    int length = 0;       // without the break
    int breakLength = 0;  // 2 for "\r\n", 1 for "\n", 0 for a wrap or the last line
};

class CEditLayout {
public:
    // `wrapWidth` 0: no wrapping. Without `breakLines` the text is one line,
    // its line breaks shown as characters (as a single-line edit has it).
    void Reflow(HDC dc, const std::wstring& text, int wrapWidth, bool breakLines = true);
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const EditLine& Line(int line) const;
    // The line that shows the character at `index` (the end of a wrapped
    // line belongs to the next one).
    int LineOf(int index) const;

    // Stops in pixels from the line's start, ascending; past the last one
    // (or with none) every `every` pixels. `every` 0 turns tabs off.
    void SetTabStops(std::vector<int> stops, int every);

    // The pixel offset of `index` from its line's start, and the index in
    // `line` nearest to the offset `x`.
    int XOf(HDC dc, const std::wstring& text, const EditLine& line, int index) const;
    int IndexAt(HDC dc, const std::wstring& text, const EditLine& line, int x) const;
    int Width(HDC dc, const std::wstring& text, const EditLine& line) const;
    // The widest line.
    int MaxWidth(HDC dc, const std::wstring& text) const;

private:
    void WrapParagraph(HDC dc, const std::wstring& text, int start, int end, int breakLength, int wrapWidth);
    // How many characters from `start` fit `width`, and their extent.
    int Fit(HDC dc, const std::wstring& text, int start, int end, int width) const;
    bool ExpandsTabs(const std::wstring& text, int start, int end) const;
    // The offset after each character of [start, end), tabs expanded.
    std::vector<int> Positions(HDC dc, const std::wstring& text, int start, int end) const;
    int NextStop(int x) const;

    std::vector<EditLine> m_lines{EditLine{}};
    std::vector<int> m_tabStops;
    int m_tabEvery = 0;
};

}
