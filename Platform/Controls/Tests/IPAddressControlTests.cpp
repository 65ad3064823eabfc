// The IP-address control as a user types into it: the fields, the notices
// and the notifications in their order.
#include "AddressTestSupport.h"

#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <filesystem>

#include <cstring>

using namespace AddressTest;

namespace {

constexpr UINT kChange = 0x0300;
constexpr UINT kSetFocus = 0x0100;
constexpr UINT kKillFocus = 0x0200;

struct Address {
    Host host;
    HWND ip = nullptr;
    explicit Address(DWORD style = 0) { ip = host.Add(WC_IPADDRESSW, style, RECT{10, 10, 170, 32}); }
    DWORD Value(int* filled = nullptr) const
    {
        DWORD value = 0;
        const auto count = static_cast<int>(SendMessageW(ip, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value)));
        if (filled != nullptr)
            *filled = count;
        return value;
    }
    void Focus(int field)
    {
        SendMessageW(ip, IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
        UiTest::Drain();
        host.Clear();
    }
    std::vector<std::pair<int, int>> FieldChanges() const
    {
        std::vector<std::pair<int, int>> changes;
        for (const Heard& h : host.Notes(WM_NOTIFY, IPN_FIELDCHANGED))
            changes.emplace_back(h.field, h.value);
        return changes;
    }
};

void PutOnClipboard(HWND owner, const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

}

TEST(IPAddressControl, TheMacrosPackTheAddressHighByteFirst)
{
    const auto packed = static_cast<DWORD>(MAKEIPADDRESS(192, 168, 1, 20));
    EXPECT_EQ(packed, 0xC0A80114u);
    EXPECT_EQ(FIRST_IPADDRESS(packed), 192u);
    EXPECT_EQ(SECOND_IPADDRESS(packed), 168u);
    EXPECT_EQ(THIRD_IPADDRESS(packed), 1u);
    EXPECT_EQ(FOURTH_IPADDRESS(packed), 20u);
    EXPECT_EQ(MAKEIPRANGE(10, 200), 0xC80A);
}

TEST(IPAddressControl, ThreeDigitsOrADotMoveOnAndTheLeftFieldIsReported)
{
    Address a;
    a.Focus(0);
    a.host.Type(L"192");
    EXPECT_EQ(a.FieldChanges(), (std::vector<std::pair<int, int>>{{0, 192}})) << "the third digit leaves the field";
    EXPECT_EQ(a.host.Notes(WM_COMMAND, kChange).size(), 3u) << "each digit changes the text";
    EXPECT_EQ(a.host.Codes().back(), IPN_FIELDCHANGED);
    a.host.Type(L"168.1.");
    a.host.Type(L"7");
    EXPECT_EQ(a.FieldChanges(), (std::vector<std::pair<int, int>>{{0, 192}, {1, 168}, {2, 1}}));
    int filled = 0;
    EXPECT_EQ(a.Value(&filled), static_cast<DWORD>(MAKEIPADDRESS(192, 168, 1, 7)));
    EXPECT_EQ(filled, 4);
    EXPECT_EQ(TextOf(a.ip), L"192.168.1.7");
    // A dot in a blank field stays there; letters are refused.
    SendMessageW(a.ip, IPM_CLEARADDRESS, 0, 0);
    a.Focus(0);
    a.host.Type(L".x4");
    EXPECT_EQ(a.Value(&filled), static_cast<DWORD>(MAKEIPADDRESS(4, 0, 0, 0)));
    EXPECT_EQ(filled, 1);
}

TEST(IPAddressControl, GetAddressCountsTheFieldsThatAreNotBlank)
{
    Address a;
    EXPECT_TRUE(SendMessageW(a.ip, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(a.Value(), 0u);
    SendMessageW(a.ip, IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 0, 0, 1));
    int filled = 0;
    EXPECT_EQ(a.Value(&filled), static_cast<DWORD>(MAKEIPADDRESS(10, 0, 0, 1)));
    EXPECT_EQ(filled, 4) << "a zero is a value, not a blank";
    EXPECT_FALSE(SendMessageW(a.ip, IPM_ISBLANK, 0, 0));
    SendMessageW(a.ip, IPM_CLEARADDRESS, 0, 0);
    EXPECT_TRUE(SendMessageW(a.ip, IPM_ISBLANK, 0, 0));
    a.Focus(0);
    a.host.Type(L"10.5");
    EXPECT_EQ(a.Value(&filled), static_cast<DWORD>(MAKEIPADDRESS(10, 5, 0, 0)));
    EXPECT_EQ(filled, 2);
    // IPM_SETFOCUS past the last field goes to the first blank one.
    SendMessageW(a.ip, IPM_SETFOCUS, 4, 0);
    UiTest::Drain();
    a.host.Type(L"9");
    EXPECT_EQ(a.Value(&filled), static_cast<DWORD>(MAKEIPADDRESS(10, 5, 9, 0)));
    EXPECT_EQ(filled, 3);
}

TEST(IPAddressControl, AValueOutOfRangeIsPulledBackWithANotice)
{
    Address a;
    a.Focus(0);
    a.host.Type(L"300");
    ASSERT_EQ(a.host.m_notices.size(), 1u);
    EXPECT_EQ(a.host.m_notices[0], L"300 is not a valid entry. Please specify a value between 0 and 255.");
    EXPECT_EQ(a.FieldChanges(), (std::vector<std::pair<int, int>>{{0, 255}})) << "the parent hears the clamped value";
    EXPECT_TRUE(a.host.Notes(WM_COMMAND, kKillFocus).empty()) << "the notice does not count as leaving the control";
    // A field with a range of its own.
    EXPECT_TRUE(SendMessageW(a.ip, IPM_SETRANGE, 1, MAKEIPRANGE(10, 20)));
    EXPECT_FALSE(SendMessageW(a.ip, IPM_SETRANGE, 2, MAKEIPRANGE(20, 10)));
    EXPECT_FALSE(SendMessageW(a.ip, IPM_SETRANGE, 4, MAKEIPRANGE(0, 10)));
    a.host.Type(L"5.");
    ASSERT_EQ(a.host.m_notices.size(), 2u);
    EXPECT_EQ(a.host.m_notices[1], L"5 is not a valid entry. Please specify a value between 10 and 20.");
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(255, 10, 0, 0)));
    // IPM_SETADDRESS holds the values to the ranges without a notice.
    SendMessageW(a.ip, IPM_SETADDRESS, 0, MAKEIPADDRESS(1, 99, 3, 4));
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(1, 20, 3, 4)));
    EXPECT_EQ(a.host.m_notices.size(), 2u);
}

TEST(IPAddressControl, BackspaceAndTheArrowsCrossTheFields)
{
    Address a;
    a.Focus(0);
    a.host.Type(L"1.2.3");
    a.host.Press(VK_BACK);
    a.host.Press(VK_BACK);
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(1, 0, 0, 0)));
    int filled = 0;
    a.Value(&filled);
    EXPECT_EQ(filled, 1) << "the second Backspace went on into the field before";
    a.host.Type(L"9");
    a.host.Press(VK_HOME);
    a.host.Type(L"5");
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(51, 9, 0, 0))) << "Home puts the caret before the first digit";
    a.host.Press(VK_RIGHT);  // after the 1
    a.host.Press(VK_RIGHT);  // into the second field
    a.host.Press(VK_RIGHT);  // after its 9
    a.host.Type(L"0");
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(51, 90, 0, 0)));
    a.host.Press(VK_END);
    a.host.Type(L"8");
    a.host.Press(VK_LEFT);
    a.host.Press(VK_LEFT);
    a.host.Type(L"4");
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(51, 90, 4, 8)));
    std::vector<int> left;
    for (const auto& [field, value] : a.FieldChanges())
        left.push_back(field);
    EXPECT_EQ(left, (std::vector<int>{0, 1, 2, 1, 0, 1, 3})) << "End jumps over the third field";
}

TEST(IPAddressControl, ADottedAddressIsPastedAndOtherTextIsRefused)
{
    Address a;
    a.Focus(0);
    PutOnClipboard(a.host.Top(), L"10.20.30.40");
    a.host.Press('V', UiTest::kControl);
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(10, 20, 30, 40)));
    EXPECT_FALSE(a.host.Notes(WM_COMMAND, kChange).empty());
    PutOnClipboard(a.host.Top(), L"not an address");
    SendMessageW(a.ip, WM_PASTE, 0, 0);
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(10, 20, 30, 40)));
    PutOnClipboard(a.host.Top(), L"1.2.3.4.5");
    SendMessageW(a.ip, WM_PASTE, 0, 0);
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(10, 20, 30, 40))) << "five parts are no address";
    PutOnClipboard(a.host.Top(), L" 300.1.2.3\n");
    SendMessageW(a.ip, WM_PASTE, 0, 0);
    EXPECT_EQ(a.Value(), static_cast<DWORD>(MAKEIPADDRESS(255, 1, 2, 3)));
    EXPECT_TRUE(SetWindowTextW(a.ip, L"172.16.0.9"));
    EXPECT_EQ(TextOf(a.ip), L"172.16.0.9");
}

TEST(IPAddressControl, FocusComesAndGoesAsFromAnEditAndTheParentMayCorrectAField)
{
    Address a;
    HWND other = a.host.Add(WC_IPADDRESSW, 0, RECT{10, 40, 170, 62}, 8);
    EXPECT_EQ(SendMessageW(a.ip, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_WANTARROWS);
    a.host.Clear();
    a.host.Click(a.ip, POINT{20, 11});
    ASSERT_EQ(GetFocus(), a.ip);
    EXPECT_EQ(a.host.Codes(), (std::vector<UINT>{kSetFocus}));
    a.host.m_onNotify = [](NMHDR* header) {
        auto* change = reinterpret_cast<NMIPADDRESS*>(header);
        if (change->iField == 0 && change->iValue == 77)
            change->iValue = 42;
    };
    a.host.Type(L"77");
    a.host.Clear();
    SetFocus(other);
    UiTest::Drain();
    const std::vector<Heard> heard = a.host.Notes(WM_NOTIFY, IPN_FIELDCHANGED);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front().id, Host::kFirstId);
    EXPECT_EQ(a.host.Notes(WM_COMMAND, kKillFocus).size(), 1u);
    EXPECT_EQ(a.host.Codes().front(), IPN_FIELDCHANGED) << "the field is reported before the focus goes";
    EXPECT_EQ(a.host.Codes().back(), kSetFocus) << "the other control's";
    EXPECT_EQ(FIRST_IPADDRESS(a.Value()), 42u);
}

TEST(IPAddressControl, GoldenFocusedAndDisabled)
{
    Address a;
    HWND off = a.host.Add(WC_IPADDRESSW, WS_DISABLED, RECT{10, 40, 170, 62}, 8);
    SendMessageW(off, IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 0, 0, 254));
    a.Focus(0);
    a.host.Type(L"192.168.");
    UpdateWindow(a.host.Top());
    UiTest::Drain();
    const std::string shown = std::string(ZELL_CONTROLS_OUTPUT_DIR) + "/ip-address.png";
    std::filesystem::create_directories(ZELL_CONTROLS_OUTPUT_DIR);
    ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(a.host.Top()), shown));
    EXPECT_TRUE(UiTest::MatchesGolden(shown, "ip-address", ZELL_CONTROLS_GOLDEN_DIR));
}
