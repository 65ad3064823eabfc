#include "Platform/Base/HandleTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using Platform::HandleKind;
using Platform::HandleTable;

struct Item {
    explicit Item(int v) : value(v) {}
    int value = 0;
};

using Table = HandleTable<Item>;

TEST(HandleTable, LookupFindsLiveEntriesOnly)
{
    Table table(HandleKind::Kernel);
    HANDLE a = table.Insert(std::make_shared<Item>(1));
    HANDLE b = table.Insert(std::make_shared<Item>(2));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(table.Lookup(a)->value, 1);
    EXPECT_EQ(table.Lookup(b)->value, 2);
    EXPECT_EQ(table.Count(), 2u);

    const auto removed = table.Remove(a);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->value, 1);
    EXPECT_EQ(table.Lookup(a), nullptr);
    EXPECT_EQ(table.Remove(a), nullptr); // closing twice
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Lookup(nullptr), nullptr);
    EXPECT_EQ(table.Lookup(INVALID_HANDLE_VALUE), nullptr);
    EXPECT_EQ(table.Insert(nullptr), nullptr);
}

TEST(HandleTable, NumbersAreNonZeroMultiplesOfFourWithin32Bits)
{
    Table table(HandleKind::Other4);
    for (int i = 0; i < 100; ++i) {
        const auto number = Table::ToNumber(table.Insert(std::make_shared<Item>(i)));
        EXPECT_NE(number, 0u);
        EXPECT_EQ(number % 4, 0u);
        EXPECT_LE(number, UINT32_MAX);
    }
}

TEST(HandleTable, ReusedSlotDoesNotRevivePreviousHandle)
{
    Table table(HandleKind::Kernel);
    std::vector<HANDLE> first;
    for (int i = 0; i < 1500; ++i)
        first.push_back(table.Insert(std::make_shared<Item>(i)));
    for (HANDLE handle : first)
        table.Remove(handle);
    // Enough freed slots are waiting now, so the next inserts reuse them.
    std::vector<HANDLE> second;
    for (int i = 0; i < 1500; ++i)
        second.push_back(table.Insert(std::make_shared<Item>(i)));
    for (HANDLE handle : first)
        EXPECT_EQ(table.Lookup(handle), nullptr);
    const auto slotOf = [](HANDLE h) { return Platform::HandleNumber::Decode(Table::ToNumber(h))->slot; };
    EXPECT_EQ(slotOf(second.front()), slotOf(first.front()));
    EXPECT_NE(second.front(), first.front());
}

TEST(HandleTable, FreshSlotsArePreferredWhileFewAreFree)
{
    Table table(HandleKind::Kernel);
    HANDLE old = table.Insert(std::make_shared<Item>(1));
    table.Remove(old);
    // More open-and-close cycles than the generation counter has values.
    for (int i = 0; i < 300; ++i) {
        HANDLE handle = table.Insert(std::make_shared<Item>(i));
        EXPECT_NE(handle, old) << "stale handle revived after " << i << " cycles";
        table.Remove(handle);
    }
    EXPECT_EQ(table.Lookup(old), nullptr);
}

TEST(HandleTable, TextRoundTrip)
{
    Table table(HandleKind::Kernel);
    HANDLE handle = table.Insert(std::make_shared<Item>(7));
    const std::wstring text = table.ToText(handle);
    EXPECT_EQ(text.substr(0, 2), L"0x");
    EXPECT_EQ(table.FromText(text), handle);
    EXPECT_EQ(table.FromText(std::to_wstring(Table::ToNumber(handle))), handle); // decimal form
    table.Remove(handle);
    EXPECT_EQ(table.FromText(text), nullptr); // closed since written
}

TEST(HandleTable, ForgedNumbersAreRejected)
{
    Table table(HandleKind::Kernel);
    HANDLE handle = table.Insert(std::make_shared<Item>(7));
    const std::uint64_t number = Table::ToNumber(handle);
    const auto parts = *Platform::HandleNumber::Decode(number);

    Platform::HandleNumber otherGeneration = parts;
    otherGeneration.generation ^= 1;
    Platform::HandleNumber beyondEnd = parts;
    beyondEnd.slot = 5000;
    Platform::HandleNumber otherKind = parts;
    otherKind.kind = HandleKind::Window;

    EXPECT_EQ(table.FromNumber(otherGeneration.Encode()), nullptr);
    EXPECT_EQ(table.FromNumber(beyondEnd.Encode()), nullptr);
    EXPECT_EQ(table.FromNumber(otherKind.Encode()), nullptr);
    EXPECT_EQ(table.FromNumber(number + 1), nullptr);              // low bits set
    EXPECT_EQ(table.FromNumber(number | (1ull << 32)), nullptr);   // wider than 32 bits
    EXPECT_EQ(table.FromNumber(0), nullptr);
    EXPECT_EQ(table.FromNumber(number), handle);

    for (const wchar_t* text : {L"", L"0x", L"0xZZ", L"12ab", L" 0x10", L"-4", L"0x1FFFFFFFFFFFFFFFFF",
             L"99999999999999999999999"})
        EXPECT_EQ(table.FromText(text), nullptr) << text;
}

TEST(HandleTable, TablesOfDifferentKindsDoNotShareHandles)
{
    HandleTable<Item, HANDLE> kernel(HandleKind::Kernel);
    HandleTable<Item, HWND> windows(HandleKind::Window);
    HANDLE a = kernel.Insert(std::make_shared<Item>(1));
    HWND w = windows.Insert(std::make_shared<Item>(2));
    // Same slot in both tables, still no confusion.
    EXPECT_EQ(windows.FromNumber(Table::ToNumber(a)), nullptr);
    EXPECT_EQ(kernel.FromNumber(reinterpret_cast<std::uintptr_t>(w)), nullptr);
}

TEST(HandleTable, ParseHandleNumberForms)
{
    EXPECT_EQ(Platform::ParseHandleNumber(L"0x1A"), 26u);
    EXPECT_EQ(Platform::ParseHandleNumber(L"0X1a"), 26u);
    EXPECT_EQ(Platform::ParseHandleNumber(L"26"), 26u);
    EXPECT_EQ(Platform::ParseHandleNumber(L"0xFFFFFFFFFFFFFFFF"), UINT64_MAX);
    EXPECT_FALSE(Platform::ParseHandleNumber(L"0x10000000000000000"));
    EXPECT_FALSE(Platform::ParseHandleNumber(L"1A"));
    EXPECT_EQ(Platform::FormatHandleNumber(0x12AB0), L"0x12AB0");
}

TEST(HandleTable, ConcurrentInsertAndRemoveKeepCount)
{
    Table table(HandleKind::Kernel);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&table, &failures, t] {
            std::vector<HANDLE> mine;
            for (int i = 0; i < 500; ++i)
                mine.push_back(table.Insert(std::make_shared<Item>(t * 1000 + i)));
            for (int i = 0; i < 500; ++i) {
                const auto item = table.Lookup(mine[static_cast<std::size_t>(i)]);
                if (!item || item->value != t * 1000 + i)
                    ++failures;
            }
            for (std::size_t i = 0; i < mine.size(); i += 2)
                table.Remove(mine[i]);
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(table.Count(), 8u * 250u);
}

}
