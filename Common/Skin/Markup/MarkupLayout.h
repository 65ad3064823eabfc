#pragma once
// Lays out the runs of a parsed mark-up text in two steps. Measure breaks
// the text into lines and tables at the maximum width and finds the size of
// the result; Arrange places what Measure found in an area of a given width
// (alignment, tables widened to the area) and hands out boxes with their
// final rectangles, which is all that drawing and hit testing read. Arrange
// reads nothing but the records of the last Measure, so no text can make it
// run past them.

#include "Common/Skin/Markup/MarkupMeasurer.h"
#include "Common/Skin/Markup/MarkupRun.h"

#include <memory>
#include <string>
#include <vector>

namespace ZELL::Skin {

enum class MarkupBoxKind {
    Text,
    Image,
    Rule,
    // The background and border of a table or a cell.
    Frame,
};

struct CMarkupBox {
    MarkupBoxKind kind = MarkupBoxKind::Text;
    RECT rect{};
    // The run the box comes from (its style, attributes and link).
    std::size_t run = 0;
    std::wstring text;
    // Extra pixels spread over the blanks of a justified text piece.
    int justifyExtra = 0;
    int justifyBreaks = 0;
};

class CMarkupLayout {
public:
    // Counts of "br=n" and "t=n" are bounded by the parser; spans and the
    // size of a table are bounded here, so a table costs memory in
    // proportion to the text that writes it.
    static constexpr int kMaxSpan = 64;
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxRows = 1024;

    CMarkupLayout();
    ~CMarkupLayout();
    CMarkupLayout(const CMarkupLayout&) = delete;
    CMarkupLayout& operator=(const CMarkupLayout&) = delete;

    // 0 = no wrapping.
    void SetMaxWidth(int width) { m_maxWidth = width < 0 ? 0 : width; }
    int MaxWidth() const { return m_maxWidth; }
    // A tab size below 1 counts as 1 pixel.
    void SetTabSize(int pixels) { m_tabSize = pixels < 1 ? 1 : pixels; }
    int TabSize() const { return m_tabSize; }

    // The size of the laid-out runs (without the one pixel the drawer adds).
    SIZE Measure(const std::vector<CMarkupRun>& runs, IMarkupMeasurer& measurer);
    // The boxes of the last measurement in an area of that width whose top
    // left corner is the origin.
    std::vector<CMarkupBox> Arrange(int areaWidth) const;

    struct Flow;

private:
    std::unique_ptr<Flow> m_flow;
    SIZE m_size{};
    int m_maxWidth = 0;
    int m_tabSize = 32;
};

}  // namespace ZELL::Skin
