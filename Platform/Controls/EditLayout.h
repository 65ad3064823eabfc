#pragma once
// The lines of an edit control's text as it shows them: split at line
// breaks ("\r\n", or a lone "\n") and, when wrapping, at the last space that
// fits the width (a word longer than the width is cut where it stops
// fitting). Positions within a line are measured with the font selected in
// the context given.
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
    // `wrapWidth` 0: no wrapping.
    void Reflow(HDC dc, const std::wstring& text, int wrapWidth);
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const EditLine& Line(int line) const;
    // The line that shows the character at `index` (the end of a wrapped
    // line belongs to the next one).
    int LineOf(int index) const;

    // The pixel offset of `index` from its line's start, and the index in
    // `line` nearest to the offset `x`.
    static int XOf(HDC dc, const std::wstring& text, const EditLine& line, int index);
    static int IndexAt(HDC dc, const std::wstring& text, const EditLine& line, int x);
    static int Width(HDC dc, const std::wstring& text, const EditLine& line);
    // The widest line.
    int MaxWidth(HDC dc, const std::wstring& text) const;

private:
    void WrapParagraph(HDC dc, const std::wstring& text, int start, int end, int breakLength, int wrapWidth);

    std::vector<EditLine> m_lines{EditLine{}};
};

}
