#pragma once
// The items of a list box: text, item data, height and selection flag, with
// the platform's rules for sorted insertion and for finding by text.
#include "Platform/Base/Types.h"

#include <functional>
#include <string>
#include <vector>

namespace ZELL::Controls {

struct ListBoxItem {
    std::wstring text;
    ULONG_PTR data = 0;
    int height = 0;  // only for LBS_OWNERDRAWVARIABLE
    bool selected = false;
};

class CListBoxItems {
public:
    // Negative when `item` sorts before the item at `index`, as
    // WM_COMPAREITEM answers.
    using Compare = std::function<int(const ListBoxItem& item, int index)>;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    ListBoxItem& At(int index) { return m_items[static_cast<std::size_t>(index)]; }
    const ListBoxItem& At(int index) const { return m_items[static_cast<std::size_t>(index)]; }

    // Inserts at `index` (-1 or the count: at the end); -1 for an index past
    // the end. Throws std::bad_alloc when memory runs out.
    int Insert(int index, ListBoxItem item);
    // Where `item` goes in an order kept by `compare`: after its equals.
    int SortedPosition(const ListBoxItem& item, const Compare& compare) const;
    ListBoxItem Remove(int index);
    std::vector<ListBoxItem> TakeAll();
    // Makes room for `more` items; false when that cannot be had.
    bool Reserve(std::size_t more);

    // The first item after `start` (wrapping round to it; -1 searches from
    // the beginning) whose text begins with `text` (or equals it with
    // `exact`), ignoring case; -1 when none does.
    int Find(int start, const std::wstring& text, bool exact) const;
    // The same by item data, for lists that keep no strings.
    int FindData(int start, ULONG_PTR data) const;

    std::vector<int> Selected() const;
    // Selects or clears [first, last] (in either order), within the items.
    // Returns the indexes whose flag changed.
    std::vector<int> SetRange(int first, int last, bool selected);
    // Only `index` selected afterwards (none for -1); the changed indexes.
    std::vector<int> SelectOnly(int index);

    // Case-insensitive comparison of two texts: negative, zero or positive.
    static int CompareText(const std::wstring& a, const std::wstring& b);

private:
    template <class Match>
    int FindFrom(int start, Match match) const;

    std::vector<ListBoxItem> m_items;
};

}
