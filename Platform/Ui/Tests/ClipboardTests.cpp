#include "Platform/Base/LastError.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstring>
#include <string>

using namespace UiTest;

namespace {

HGLOBAL WideBlock(const std::wstring& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

HGLOBAL NarrowBlock(const std::string& text, std::size_t extra = 1)
{
    HGLOBAL block = GlobalAlloc(GHND, text.size() + extra);
    std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    return block;
}

std::wstring WideOf(HANDLE data)
{
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    std::wstring value = text != nullptr ? text : L"";
    GlobalUnlock(data);
    return value;
}

std::string NarrowOf(HANDLE data)
{
    const auto* text = static_cast<const char*>(GlobalLock(data));
    std::string value = text != nullptr ? text : "";
    GlobalUnlock(data);
    return value;
}

std::vector<UINT> AllFormats()
{
    std::vector<UINT> formats;
    for (UINT f = EnumClipboardFormats(0); f != 0 && formats.size() < 50; f = EnumClipboardFormats(f))
        formats.push_back(f);
    return formats;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_g.hwnd = Create(&m_h, WS_POPUP, 0, 0, 10, 10);
        ASSERT_TRUE(OpenClipboard(m_g.hwnd));
        EmptyClipboard();
        CloseClipboard();
    }
    Handler m_h;
    WindowGuard m_g;
};

}

TEST_F(ClipboardTest, UnicodeTextIsOfferedInEveryTextFormAndReachesTheDisplay)
{
    const std::wstring text = L"Gr\u00fc\u00dfe \u8a2d\u5b9a\r\nline 2";
    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL block = WideBlock(text);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), block);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(Headless().GetClipboardText(), std::optional<std::wstring>(text));
    EXPECT_EQ(GetClipboardOwner(), m_g.hwnd);

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(CountClipboardFormats(), 3);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(AllFormats(), (std::vector<UINT>{CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT})) << "what was set comes first";
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), block);
    EXPECT_EQ(WideOf(GetClipboardData(CF_UNICODETEXT)), text);
    EXPECT_EQ(NarrowOf(GetClipboardData(CF_TEXT)), "Gr\xc3\xbc\xc3\x9f" "e \xe8\xa8\xad\xe5\xae\x9a\r\nline 2");
    EXPECT_EQ(GetClipboardData(CF_TEXT), GetClipboardData(CF_TEXT)) << "made once";
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, EightBitTextGivesUnicodeTextAndEndsAtItsBlock)
{
    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EmptyClipboard();
    // No terminator inside the block: the text ends with the block.
    SetClipboardData(CF_TEXT, NarrowBlock("192.168.0.1", 0));
    EXPECT_EQ(WideOf(GetClipboardData(CF_UNICODETEXT)), L"192.168.0.1");
    // A new text replaces the old and everything made from it.
    SetClipboardData(CF_TEXT, NarrowBlock("10.0.0.2"));
    EXPECT_EQ(WideOf(GetClipboardData(CF_UNICODETEXT)), L"10.0.0.2");
    CloseClipboard();
    EXPECT_EQ(Headless().GetClipboardText(), std::optional<std::wstring>(L"10.0.0.2"));
}

TEST_F(ClipboardTest, RegisteredFormatsCarryTheirBytes)
{
    const UINT cells = RegisterClipboardFormatW(L"Zell Grid Cells");
    EXPECT_GE(cells, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(L"ZELL GRID CELLS"), cells) << "names are case-insensitive";
    EXPECT_NE(RegisterClipboardFormatW(L"Zell Other"), cells);
    EXPECT_EQ(RegisterClipboardFormatW(L""), 0u);
    wchar_t name[64]{};
    EXPECT_EQ(GetClipboardFormatNameW(cells, name, 64), 15);
    EXPECT_STREQ(name, L"Zell Grid Cells");
    EXPECT_EQ(GetClipboardFormatNameW(cells, name, 5), 4) << "cut to the buffer";
    EXPECT_STREQ(name, L"Zell");
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, name, 64), 0) << "predefined formats have no name";

    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EmptyClipboard();
    HGLOBAL bytes = NarrowBlock("R1C1\tR1C2");
    SetClipboardData(cells, bytes);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(cells));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "no text was put there";
    EXPECT_EQ(Headless().GetClipboardText(), std::nullopt) << "emptying took the display's text off";

    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EXPECT_EQ(NarrowOf(GetClipboardData(cells)), "R1C1\tR1C2");
    EXPECT_EQ(AllFormats(), std::vector<UINT>{cells});
    EmptyClipboard();
    EXPECT_EQ(GlobalSize(bytes), 0u) << "emptying freed the block";
    EXPECT_FALSE(IsClipboardFormatAvailable(cells));
    CloseClipboard();
}

TEST_F(ClipboardTest, OpeningAndUseFollowThePlatformsRules)
{
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    HGLOBAL block = WideBlock(L"x");
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);

    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EXPECT_TRUE(OpenClipboard(m_g.hwnd)) << "the same window again";
    EXPECT_EQ(GetOpenClipboardWindow(), m_g.hwnd);
    Handler other;
    WindowGuard second{Create(&other, WS_POPUP, 0, 0, 10, 10)};
    EXPECT_FALSE(OpenClipboard(second.hwnd));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    BOOL openedElsewhere = TRUE;
    HANDLE setElsewhere = block;
    std::thread thread([&] {
        openedElsewhere = OpenClipboard(nullptr);
        setElsewhere = SetClipboardData(CF_UNICODETEXT, block);
    });
    thread.join();
    EXPECT_FALSE(openedElsewhere);
    EXPECT_EQ(setElsewhere, nullptr);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, nullptr), nullptr) << "no rendering on request";
    int notABlock = 0;
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(&notABlock)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    GlobalFree(block);
    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7FFFFFF0))));
}

TEST_F(ClipboardTest, AnotherApplicationsTextReplacesOurs)
{
    const UINT cells = RegisterClipboardFormatW(L"Zell Grid Cells");
    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, WideBlock(L"ours"));
    SetClipboardData(cells, NarrowBlock("cells"));
    CloseClipboard();
    ASSERT_EQ(GetClipboardOwner(), m_g.hwnd);

    Headless().InjectForeignClipboardText(L"theirs");
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_FALSE(IsClipboardFormatAvailable(cells)) << "the whole clipboard changed hands";
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EXPECT_EQ(NarrowOf(GetClipboardData(CF_TEXT)), "theirs");
    EXPECT_EQ(WideOf(GetClipboardData(CF_UNICODETEXT)), L"theirs");
    CloseClipboard();

    // Their next copy is seen on the next opening.
    Headless().InjectForeignClipboardText(L"newer");
    ASSERT_TRUE(OpenClipboard(m_g.hwnd));
    EXPECT_EQ(WideOf(GetClipboardData(CF_UNICODETEXT)), L"newer");
    CloseClipboard();
}

TEST_F(ClipboardTest, TheOwnerGoesWithItsWindow)
{
    Handler owner;
    HWND window = Create(&owner, WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, WideBlock(L"kept"));
    CloseClipboard();
    EXPECT_EQ(GetClipboardOwner(), window);
    DestroyWindow(window);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_EQ(Headless().GetClipboardText(), std::optional<std::wstring>(L"kept")) << "the text stays";
}
