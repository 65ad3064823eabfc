// The clipboard's text and bringing a window to the front, on the real
// clipboard and window layer of the headless display.
#include "Common/SystemHelper/Desktop/WindowHelpers.h"
#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

std::unique_ptr<CWnd> TopLevel(LPCWSTR title, int x)
{
    auto window = std::make_unique<CWnd>();
    EXPECT_TRUE(window->CreateEx(0, CWnd::DefaultClassName(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 40, 220,
                                 120, nullptr, nullptr));
    UiTest::Drain();
    return window;
}

// What the clipboard holds in one text format, read with the plain API.
std::wstring WideClipboardText()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return L"<not open>";
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block))) {
            text = chars;
            ::GlobalUnlock(block);
        }
    }
    ::CloseClipboard();
    return text;
}

void EmptyTheClipboard()
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
}

class ClipboardText : public ::testing::Test {
protected:
    void SetUp() override { m_owner = TopLevel(L"Owner", 20); }
    void TearDown() override { EmptyTheClipboard(); }

    std::unique_ptr<CWnd> m_owner;
};

}

TEST_F(ClipboardText, WideAndNonBmpTextRoundTripsAndOtherReadersSeeIt)
{
    const std::wstring text = L"Ger\u00e4t \u65e5\u672c \U0001F600 end";
    EXPECT_EQ(SetClipboardText(text, m_owner.get()), 1);
    EXPECT_EQ(::GetClipboardOwner(), m_owner->m_hWnd);

    wchar_t buffer[64];
    ASSERT_TRUE(GetClipboardText(buffer, std::size(buffer), m_owner.get()));
    EXPECT_EQ(std::wstring(buffer), text);
    // Readers of the wide form (other controls, other programs) get the same text.
    EXPECT_EQ(WideClipboardText(), text);

    // A second text replaces the first, and an empty one is a text too.
    EXPECT_EQ(SetClipboardText(L"", nullptr), 1);
    std::wmemset(buffer, L'x', std::size(buffer));
    EXPECT_TRUE(GetClipboardText(buffer, std::size(buffer), nullptr));
    EXPECT_EQ(std::wstring(buffer), L"");
}

TEST_F(ClipboardText, LongTextIsCutToTheBufferByCharacters)
{
    ASSERT_EQ(SetClipboardText(L"ab\U0001F600cdef", m_owner.get()), 1);
    wchar_t buffer[5];
    std::wmemset(buffer, L'x', std::size(buffer));
    ASSERT_TRUE(GetClipboardText(buffer, std::size(buffer), m_owner.get()));
    // The character beyond the basic plane counts as one and is not split.
    EXPECT_EQ(std::wstring(buffer), L"ab\U0001F600c");

    wchar_t one[1] = {L'x'};
    EXPECT_TRUE(GetClipboardText(one, 1, nullptr));
    EXPECT_EQ(one[0], L'\0');
    EXPECT_FALSE(GetClipboardText(nullptr, 8, nullptr));
    EXPECT_FALSE(GetClipboardText(one, 0, nullptr));
}

TEST_F(ClipboardText, AnEmptyClipboardGivesNoText)
{
    EmptyTheClipboard();
    wchar_t buffer[8];
    std::wmemset(buffer, L'x', std::size(buffer));
    EXPECT_FALSE(GetClipboardText(buffer, std::size(buffer), m_owner.get()));
    EXPECT_EQ(buffer[0], L'\0');
}

TEST_F(ClipboardText, AClipboardHeldByAnotherThreadIsLeftAlone)
{
    ASSERT_EQ(SetClipboardText(L"before", m_owner.get()), 1);
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        ::OpenClipboard(nullptr);
        ::SetEvent(opened);
        ::WaitForSingleObject(release, 5000);
        ::CloseClipboard();
    });
    ASSERT_EQ(::WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);

    EXPECT_EQ(SetClipboardText(L"after", m_owner.get()), 0);
    wchar_t buffer[16];
    EXPECT_FALSE(GetClipboardText(buffer, std::size(buffer), m_owner.get()));

    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);
    ASSERT_TRUE(GetClipboardText(buffer, std::size(buffer), m_owner.get()));
    EXPECT_EQ(std::wstring(buffer), L"before");
}

namespace {

bool IsTopmost(const CWnd& window) { return (window.GetExStyle() & WS_EX_TOPMOST) != 0; }

CRect ScreenRectOf(const CWnd& window)
{
    CRect rect;
    window.GetWindowRect(&rect);
    return rect;
}

}

TEST(BringWindowToFront, ActivatesAndRaisesAboveOtherWindowsWithoutMovingIt)
{
    auto back = TopLevel(L"Back", 40);
    auto front = TopLevel(L"Front", 80);
    ASSERT_EQ(::GetForegroundWindow(), front->m_hWnd);
    const CRect before = ScreenRectOf(*back);

    EXPECT_TRUE(BringWindowToFront(back.get()));
    UiTest::Drain();
    EXPECT_EQ(::GetForegroundWindow(), back->m_hWnd);
    EXPECT_TRUE(IsTopmost(*back));
    EXPECT_FALSE(IsTopmost(*front));
    EXPECT_EQ(ScreenRectOf(*back), before);
    // Activating the other one again does not put it above a topmost window.
    front->SetFocus();
    ::SetActiveWindow(front->m_hWnd);
    UiTest::Drain();
    HWND above = ::GetWindow(front->m_hWnd, GW_HWNDPREV);
    while (above && above != back->m_hWnd)
        above = ::GetWindow(above, GW_HWNDPREV);
    EXPECT_EQ(above, back->m_hWnd);

    EXPECT_FALSE(BringWindowToFront(nullptr));
}

TEST(BringWindowToFront, ReachesAMinimisedWindow)
{
    auto other = TopLevel(L"Other", 40);
    auto minimised = TopLevel(L"Minimised", 80);
    minimised->ShowWindow(SW_MINIMIZE);
    ::SetActiveWindow(other->m_hWnd);
    UiTest::Drain();

    EXPECT_TRUE(BringWindowToFront(minimised.get()));
    UiTest::Drain();
    EXPECT_EQ(::GetForegroundWindow(), minimised->m_hWnd);
    EXPECT_TRUE(IsTopmost(*minimised));
}

TEST(BringWindowToFront, ReachesAWindowOfAnotherThread)
{
    auto mine = TopLevel(L"Mine", 40);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread owner([&] {
        CWnd window;
        window.CreateEx(0, CWnd::DefaultClassName(), L"Theirs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 40, 200, 100,
                        nullptr, nullptr);
        theirs = window.m_hWnd;
        while (!stop) {
            UiTest::Drain();
            ::Sleep(2);
        }
        window.DestroyWindow();
        finished = true;
    });
    UiTest::CDialogDriver driver(mine->m_hWnd);
    ASSERT_TRUE(driver.PumpUntil([&] { return theirs.load() != nullptr; }));
    ::SetActiveWindow(mine->m_hWnd);
    UiTest::Drain();

    EXPECT_TRUE(BringWindowToFront(CWnd::FromHandle(theirs)));
    EXPECT_TRUE(driver.PumpUntil([&] { return ::GetForegroundWindow() == theirs.load(); }));
    EXPECT_NE(::GetWindowLongPtrW(theirs, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // Its window's end activates ours, which this thread must be there to answer.
    stop = true;
    EXPECT_TRUE(driver.PumpUntil([&] { return finished.load(); }));
    owner.join();
    AfxDeleteTempWindows();
}
