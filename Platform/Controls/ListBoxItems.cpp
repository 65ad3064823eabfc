#include "Platform/Controls/ListBoxItems.h"

#include <algorithm>
#include <cwctype>
#include <new>
#include <stdexcept>

namespace ZELL::Controls {

namespace {

wchar_t Folded(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool StartsWithFolded(const std::wstring& text, const std::wstring& prefix)
{
    if (prefix.size() > text.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](wchar_t a, wchar_t b) { return Folded(a) == Folded(b); });
}

}

int CListBoxItems::CompareText(const std::wstring& a, const std::wstring& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t x = Folded(a[i]);
        const wchar_t y = Folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CListBoxItems::Insert(int index, ListBoxItem item)
{
    if (index < 0)
        index = Count();
    if (index > Count())
        return -1;
    m_items.insert(m_items.begin() + index, std::move(item));
    return index;
}

int CListBoxItems::SortedPosition(const ListBoxItem& item, const Compare& compare) const
{
    int low = 0;
    int high = Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compare(item, middle) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

ListBoxItem CListBoxItems::Remove(int index)
{
    ListBoxItem removed = std::move(At(index));
    m_items.erase(m_items.begin() + index);
    return removed;
}

std::vector<ListBoxItem> CListBoxItems::TakeAll()
{
    std::vector<ListBoxItem> all;
    all.swap(m_items);
    return all;
}

bool CListBoxItems::Reserve(std::size_t more)
{
    if (more > m_items.max_size() - m_items.size())
        return false;
    try {
        m_items.reserve(m_items.size() + more);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

template <class Match>
int CListBoxItems::FindFrom(int start, Match match) const
{
    const int count = Count();
    if (count == 0)
        return -1;
    const int first = Valid(start) ? start + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (match(At(index)))
            return index;
    }
    return -1;
}

int CListBoxItems::Find(int start, const std::wstring& text, bool exact) const
{
    return FindFrom(start, [&](const ListBoxItem& item) {
        return exact ? CompareText(item.text, text) == 0 : StartsWithFolded(item.text, text);
    });
}

int CListBoxItems::FindData(int start, ULONG_PTR data) const
{
    return FindFrom(start, [data](const ListBoxItem& item) { return item.data == data; });
}

std::vector<int> CListBoxItems::Selected() const
{
    std::vector<int> selected;
    for (int i = 0; i < Count(); ++i) {
        if (At(i).selected)
            selected.push_back(i);
    }
    return selected;
}

std::vector<int> CListBoxItems::SetRange(int first, int last, bool selected)
{
    std::vector<int> changed;
    const int from = std::max(0, std::min(first, last));
    const int to = std::min(Count() - 1, std::max(first, last));
    for (int i = from; i <= to; ++i) {
        if (At(i).selected != selected) {
            At(i).selected = selected;
            changed.push_back(i);
        }
    }
    return changed;
}

std::vector<int> CListBoxItems::SelectOnly(int index)
{
    std::vector<int> changed;
    for (int i = 0; i < Count(); ++i) {
        const bool selected = i == index;
        if (At(i).selected != selected) {
            At(i).selected = selected;
            changed.push_back(i);
        }
    }
    return changed;
}

}
