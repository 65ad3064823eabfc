#pragma once
// A growing array of values. Indexes are INT_PTR; one out of range raises
// CInvalidArgException (SetAtGrow and InsertAt grow the array instead), so no
// index reads or writes outside the elements.

#include "Platform/Framework/Collections/CollectionSupport.h"
#include "Platform/Framework/Core/Object.h"

#include <algorithm>
#include <cstddef>
#include <vector>

template<typename TYPE, typename ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_arrItems.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_arrItems.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // New elements are value-initialised. `growBy` (when not -1) sets how many
    // elements a growing array adds room for at once.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        ZellRequireArgument(newSize >= 0);
        if (growBy >= 0)
            m_nGrowBy = growBy;
        ZellAllocating([&] {
            Reserve(newSize);
            m_arrItems.resize(static_cast<std::size_t>(newSize));
        });
    }
    void FreeExtra() { ZellAllocating([&] { m_arrItems.shrink_to_fit(); }); }
    void RemoveAll() { m_arrItems.clear(); }

    const TYPE& GetAt(INT_PTR index) const { return m_arrItems[Checked(index)]; }
    TYPE& ElementAt(INT_PTR index) { return m_arrItems[Checked(index)]; }
    const TYPE& ElementAt(INT_PTR index) const { return m_arrItems[Checked(index)]; }
    void SetAt(INT_PTR index, ARG_TYPE element) { m_arrItems[Checked(index)] = element; }
    TYPE& operator[](INT_PTR index) { return ElementAt(index); }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    // Null when the array is empty.
    TYPE* GetData() { return m_arrItems.empty() ? nullptr : m_arrItems.data(); }
    const TYPE* GetData() const { return m_arrItems.empty() ? nullptr : m_arrItems.data(); }

    void SetAtGrow(INT_PTR index, ARG_TYPE element)
    {
        ZellRequireArgument(index >= 0);
        const TYPE copy(element);  // the element may live in this array
        if (index >= GetSize())
            SetSize(index + 1);
        m_arrItems[static_cast<std::size_t>(index)] = copy;
    }
    INT_PTR Add(ARG_TYPE element)
    {
        const INT_PTR index = GetSize();
        SetAtGrow(index, element);
        return index;
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& source)
    {
        const INT_PTR first = GetSize();
        const std::vector<TYPE> copy(source.m_arrItems);  // the source may be this array
        ZellAllocating([&] {
            Reserve(first + static_cast<INT_PTR>(copy.size()));
            m_arrItems.insert(m_arrItems.end(), copy.begin(), copy.end());
        });
        return first;
    }
    void Copy(const CArray& source)
    {
        if (&source != this)
            ZellAllocating([&] { m_arrItems = source.m_arrItems; });
    }

    // An index at or past the end grows the array up to it first.
    void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1)
    {
        ZellRequireArgument(index >= 0 && count >= 0);
        const TYPE copy(element);
        if (index >= GetSize()) {
            SetSize(index + count);
            std::fill_n(m_arrItems.begin() + index, count, copy);
            return;
        }
        ZellAllocating([&] {
            Reserve(GetSize() + count);
            m_arrItems.insert(m_arrItems.begin() + index, static_cast<std::size_t>(count), copy);
        });
    }
    void InsertAt(INT_PTR startIndex, const CArray* source)
    {
        ZellRequireArgument(source != nullptr && startIndex >= 0);
        if (source->IsEmpty())
            return;
        const std::vector<TYPE> copy(source->m_arrItems);
        if (startIndex > GetSize())
            SetSize(startIndex);
        ZellAllocating([&] {
            Reserve(GetSize() + static_cast<INT_PTR>(copy.size()));
            m_arrItems.insert(m_arrItems.begin() + startIndex, copy.begin(), copy.end());
        });
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        ZellRequireArgument(index >= 0 && count >= 0 && count <= GetSize() - index);
        m_arrItems.erase(m_arrItems.begin() + index, m_arrItems.begin() + index + count);
    }

private:
    std::size_t Checked(INT_PTR index) const
    {
        ZellRequireArgument(index >= 0 && index < GetSize());
        return static_cast<std::size_t>(index);
    }
    // Growth in steps of the grow-by count, so that adding one element at a
    // time does not reallocate each time.
    void Reserve(INT_PTR needed)
    {
        const auto wanted = static_cast<std::size_t>(needed);
        if (wanted <= m_arrItems.capacity())
            return;
        const std::size_t step =
            m_nGrowBy > 0 ? static_cast<std::size_t>(m_nGrowBy) : std::clamp<std::size_t>(m_arrItems.size() / 8, 4, 1024);
        m_arrItems.reserve(std::max(wanted, m_arrItems.size() + step));
    }

    std::vector<TYPE> m_arrItems;
    INT_PTR m_nGrowBy = 0;
};
