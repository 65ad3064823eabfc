#include "Platform/Framework/Collections/Array.h"
#include "Platform/Framework/Collections/List.h"
#include "Platform/Framework/Collections/Map.h"
#include "Platform/Framework/Collections/ObArray.h"
#include "Platform/Framework/Collections/StringArray.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

namespace {

// True when `operation` raises the framework's invalid-argument exception.
bool RaisesInvalidArg(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (CInvalidArgException* e) {
        e->Delete();
        return true;
    }
    return false;
}

template<typename Array>
std::vector<int> Values(const Array& array)
{
    std::vector<int> values;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        values.push_back(array[i]);
    return values;
}

std::vector<int> Values(const CList<int, int>& list)
{
    std::vector<int> values;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        values.push_back(list.GetNext(pos));
    return values;
}

}  // namespace

TEST(Array, GrowsInsertsAndRemovesAtBothEnds)
{
    CArray<int, int> array;
    EXPECT_EQ(array.GetData(), nullptr);
    EXPECT_EQ(array.GetUpperBound(), -1);
    array.SetSize(0, 3);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(array.Add(i), i);
    array.InsertAt(0, -1);
    array.InsertAt(array.GetSize(), 10);
    array.InsertAt(13, 99);  // past the end: the gap is value-initialised
    EXPECT_EQ(Values(array), (std::vector<int>{-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 99}));
    array.RemoveAt(0);
    array.RemoveAt(array.GetUpperBound());
    array.RemoveAt(2, 8);
    EXPECT_EQ(Values(array), (std::vector<int>{0, 1, 10, 0}));
    array.InsertAt(1, 5, 3);
    EXPECT_EQ(Values(array), (std::vector<int>{0, 5, 5, 5, 1, 10, 0}));

    array.SetAtGrow(9, 42);
    EXPECT_EQ(array.GetCount(), 10);
    EXPECT_EQ(array[9], 42);
    array.SetSize(2);
    EXPECT_EQ(Values(array), (std::vector<int>{0, 5}));
    array.FreeExtra();
    array.ElementAt(1) = 6;
    EXPECT_EQ(array.GetData()[1], 6);
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
}

TEST(Array, IndexesOutsideTheElementsRaise)
{
    CArray<int, int> array;
    array.Add(1);
    array.Add(2);
    EXPECT_TRUE(RaisesInvalidArg([&] { array.GetAt(2); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array[-1] = 0; }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.SetAt(5, 0); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.RemoveAt(1, 2); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.RemoveAt(-1); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.SetSize(-1); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.InsertAt(-1, 0); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { array.SetAtGrow(-3, 0); }));
    EXPECT_FALSE(RaisesInvalidArg([&] { array.RemoveAt(2, 0); })) << "removing nothing at the end is fine";
    EXPECT_EQ(Values(array), (std::vector<int>{1, 2})) << "a refused call changes nothing";

    try {
        array.SetSize(INT_PTR{1} << 62);
        FAIL() << "an impossible size must raise";
    } catch (CMemoryException* e) {
        e->Delete();
    }
    EXPECT_EQ(array.GetSize(), 2);
}

TEST(Array, CopiesAndAppendsEvenFromItself)
{
    CStringArray texts;
    texts.Add(L"one");
    texts.Add(CString(L"two"));
    CStringArray copy;
    copy.Copy(texts);
    EXPECT_EQ(copy.Append(texts), 2);
    EXPECT_EQ(copy.Append(copy), 4);
    ASSERT_EQ(copy.GetSize(), 8);
    EXPECT_EQ(copy[7], L"two");
    // An element of the array itself as the argument of a growing call.
    copy.SetAtGrow(100, copy[0]);
    EXPECT_EQ(copy[100], L"one");
    copy.InsertAt(0, copy[7]);
    EXPECT_EQ(copy[0], L"two");
    CStringArray inserted;
    inserted.InsertAt(3, &texts);
    EXPECT_EQ(inserted.GetSize(), 5);
    EXPECT_EQ(inserted[3], L"one");
    EXPECT_TRUE(inserted[0].IsEmpty());
    EXPECT_TRUE(texts.IsKindOf(RUNTIME_CLASS(CStringArray)));
}

TEST(Array, ObjectArraysHoldButDoNotOwn)
{
    class CItem : public CObject {};
    CItem a;
    CItem b;
    {
        CObArray items;
        items.Add(&a);
        items.InsertAt(0, &b);
        EXPECT_EQ(items[0], &b);
        EXPECT_EQ(items.GetAt(1), &a);
    }
    EXPECT_EQ(RUNTIME_CLASS(CObArray)->m_pBaseClass, RUNTIME_CLASS(CObject));
}

TEST(List, AddsAndRemovesAtBothEndsAndInTheMiddle)
{
    CList<int, int> list;
    EXPECT_TRUE(RaisesInvalidArg([&] { list.GetHead(); }));
    EXPECT_TRUE(RaisesInvalidArg([&] { list.RemoveTail(); }));
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(2);
    list.AddHead(1);
    POSITION three = list.AddTail(3);
    list.InsertBefore(three, 25);
    list.InsertAfter(three, 35);
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 4);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 25, 3, 35, 4}));
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 4);
    list.RemoveAt(three);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 25, 35}));
    EXPECT_EQ(list.GetHead(), 1);
    EXPECT_EQ(list.GetTail(), 35);

    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(backwards, (std::vector<int>{35, 25, 2, 1}));

    EXPECT_EQ(list.GetAt(list.FindIndex(2)), 25);
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    list.AddTail(2);
    POSITION first = list.Find(2);
    POSITION second = list.Find(2, first);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.Find(2, second), nullptr);
    list.SetAt(second, 7);
    EXPECT_EQ(list.GetTail(), 7);
    EXPECT_TRUE(RaisesInvalidArg([&] { list.GetAt(nullptr); }));
    EXPECT_TRUE(RaisesInvalidArg([&] {
        POSITION end = nullptr;
        list.GetNext(end);
    }));
    EXPECT_EQ(list.GetCount(), 5);
}

TEST(List, RemovingWhileIteratingAndAppendingItself)
{
    CList<int, int> list;
    for (int i = 0; i < 10; ++i)
        list.AddTail(i);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        if (list.GetNext(pos) % 3 != 0)
            list.RemoveAt(current);
    }
    EXPECT_EQ(Values(list), (std::vector<int>{0, 3, 6, 9}));
    list.AddTail(&list);
    list.AddHead(&list);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 3, 6, 9, 0, 3, 6, 9, 0, 3, 6, 9, 0, 3, 6, 9}));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(Map, ManyKeysGrowTheTableAndAllAreFoundAndWalked)
{
    CMap<int, int, int, int> map;
    for (int i = 0; i < 20000; ++i)
        map[i * 7] = i;
    EXPECT_EQ(map.GetCount(), 20000);
    EXPECT_GT(map.GetHashTableSize(), 20000u / 2) << "the table grew with the keys";
    int value = -1;
    ASSERT_TRUE(map.Lookup(7 * 12345, value));
    EXPECT_EQ(value, 12345);
    EXPECT_FALSE(map.Lookup(3, value));
    EXPECT_EQ(value, 12345) << "a miss leaves the value alone";

    std::set<int> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        int key = 0;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value * 7);
        seen.insert(key);
        if (value % 2)
            map.RemoveKey(key);  // the key just returned may go
    }
    EXPECT_EQ(seen.size(), 20000u);
    EXPECT_EQ(map.GetCount(), 10000);
    EXPECT_FALSE(map.RemoveKey(7));
    EXPECT_TRUE(map.RemoveKey(14));
    EXPECT_TRUE(RaisesInvalidArg([&] {
        POSITION end = nullptr;
        int k = 0;
        map.GetNextAssoc(end, k, value);
    }));
    map.RemoveAll();
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map.SetAt(1, 2);
    EXPECT_EQ(map[1], 2);
}

TEST(Map, TextKeysAndAPresizedTable)
{
    CMap<CString, LPCWSTR, int, int> byName;
    byName.InitHashTable(101);
    EXPECT_EQ(byName.GetHashTableSize(), 101u);
    byName.SetAt(L"Alpha", 1);
    byName[L"beta"] = 2;
    byName.SetAt(L"Alpha", 3);
    int value = 0;
    EXPECT_TRUE(byName.Lookup(L"Alpha", value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(byName.Lookup(L"alpha", value)) << "keys compare exactly";
    EXPECT_EQ(byName.GetCount(), 2);
    EXPECT_TRUE(RaisesInvalidArg([&] { byName.InitHashTable(0); }));

    CMap<CString, const CString&, CString, const CString&> texts;
    texts.SetAt(CString(L"k"), CString(L"v"));
    CString text;
    EXPECT_TRUE(texts.Lookup(CString(L"k"), text));
    EXPECT_EQ(text, L"v");

    CMap<CString, CString, int, int> byValue;
    byValue[CString(L"a")] = 4;
    EXPECT_TRUE(byValue.RemoveKey(CString(L"a")));
    EXPECT_TRUE(byValue.IsEmpty());
}
