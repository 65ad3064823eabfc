#pragma once
// Where the tabs of a tab control go: items in order into rows of the
// available width (one row unless multi-line), rows stretched to the full
// width when asked, and for tabs the row of the selected item moved next to
// the panel, the others rotated behind it in their order.
#include "Platform/Ui/WinUser.h"

#include <vector>

namespace ZELL::Controls {

struct TabLayoutRequest {
    std::vector<int> widths;
    int available = 0;
    int itemHeight = 0;
    int selected = -1;
    bool multiline = false;
    bool justify = false;
    bool buttons = false;
    // A single row scrolled by arrows starts with this item.
    int firstVisible = 0;
};

class CTabLayout {
public:
    // The room above the tabs and at their left, into which the selected tab grows.
    static constexpr int kRaise = 2;
    // The gap between buttons.
    static constexpr int kButtonGap = 3;

    void Arrange(const TabLayoutRequest& request);

    // Whether one row of these items is wider than the room.
    static bool Overflows(const TabLayoutRequest& request);

    int Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rects.size()); }
    // The item's rectangle, unraised; empty for an index out of range.
    RECT ItemRect(int index) const;
    // The height of the band of rows above the panel.
    int BandHeight() const;
    // The item under the point, the selected one (raised) first; -1 for none.
    int ItemAt(POINT point, int selected) const;
    // The selected tab as drawn: two pixels larger on each side but the bottom.
    static RECT Raised(RECT rect);

private:
    // Lays the items out left to right, a new row where one is full; the
    // rectangles get their horizontal place, the result their rows.
    std::vector<int> BreakRows(const TabLayoutRequest& request);
    void Justify(const TabLayoutRequest& request, const std::vector<int>& rowOf);
    void PlaceRows(const TabLayoutRequest& request, const std::vector<int>& rowOf);

    std::vector<RECT> m_rects;
    int m_rows = 0;
    int m_rowHeight = 0;
};

}
