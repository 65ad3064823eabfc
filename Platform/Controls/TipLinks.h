#pragma once
// The text of a tool with TTF_PARSELINKS: "<a>" ... "</a>" (with or without
// attributes) marks a link. The marks are not shown; the linked text is drawn
// in the link colour, underlined, and a click on it is found by LinkAt. The
// lines are broken at spaces to fit a width, as the edit control breaks them.
#include "Platform/Controls/EditLayout.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CTipLinks {
public:
    struct Link {
        int start = 0;  // in the shown text
        int end = 0;
    };

    // The shown text and its links; a mark left open runs to the end.
    static CTipLinks Parse(const std::wstring& marked);

    bool Any() const { return !m_links.empty(); }
    const std::wstring& Shown() const { return m_shown; }
    const std::vector<Link>& Links() const { return m_links; }

    // Breaks the lines for `wrapWidth` (0: only at line breaks) with the font
    // selected in `dc`; the size of the laid-out text.
    SIZE Layout(HDC dc, int wrapWidth);
    void Paint(HDC dc, const RECT& area, COLORREF text, COLORREF link) const;
    // The link under `at` (relative to the drawing area's corner), or -1.
    int LinkAt(HDC dc, POINT at) const;

private:
    void PaintRun(HDC dc, POINT origin, const EditLine& line, int from, int to) const;

    std::wstring m_shown;
    std::vector<Link> m_links;
    CEditLayout m_layout;
    int m_lineHeight = 0;
};

}
