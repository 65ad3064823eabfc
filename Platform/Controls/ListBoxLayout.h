#pragma once
// Where the items of a list box lie along its height: one height for all, or
// each item's own (LBS_OWNERDRAWVARIABLE); which item stands at a point, how
// many fit, and which first item shows a given one. `top` is the first item
// shown, `view` the height of the client area.
#include "Platform/Controls/ListBoxItems.h"

namespace ZELL::Controls {

class CListBoxLayout {
public:
    explicit CListBoxLayout(const CListBoxItems& items) : m_items(items) {}

    void SetVariable(bool variable) { m_variable = variable; }
    bool Variable() const { return m_variable; }
    void SetFixedHeight(int height) { m_fixedHeight = height; }
    int FixedHeight() const { return m_fixedHeight; }
    int HeightOf(int index) const;

    // The item's top edge in the client area (negative above the view).
    int ItemY(int index, int top) const;
    // The item at `y`; `outside` when `y` lies above the view or below the
    // items or the view (the nearest item is returned then). -1 when empty.
    int ItemAt(int y, int top, int view, bool* outside) const;
    // How many items from `top` on fit whole.
    int FullyShownFrom(int top, int view) const;
    // The items a page key or a page of the bar moves by.
    int PageSize(int top, int view) const;
    // The highest first item that still fills the view.
    int MaxTop(int view) const;
    // The first item that shows `index` whole (or at least partly).
    int TopShowing(int index, int top, int view, bool partly) const;

private:
    const CListBoxItems& m_items;
    bool m_variable = false;
    int m_fixedHeight = 16;
};

}
