// The keyboard: system keys, the layout functions and accelerator tables.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"


using namespace UiTest;

namespace {

struct KeyScene {
    Handler log;
    WindowGuard guard;
    CDialogDriver driver{nullptr};

    KeyScene()
    {
        guard.hwnd = Create(&log, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300, 200);
        SetActiveWindow(guard.hwnd);
        SetFocus(guard.hwnd);
        Drain();
        log.Clear();
    }
    std::vector<WPARAM> SysCommands() const
    {
        std::vector<WPARAM> codes;
        for (const Record& r : log.Of(WM_SYSCOMMAND))
            codes.push_back(r.wParam & 0xFFF0);
        return codes;
    }
};

}

TEST(Keyboard, AltCombinationsAreSystemKeysWithTheirCharacter)
{
    KeyScene s;
    s.driver.Press('X', kAlt);
    s.driver.PumpUntilIdle();
    EXPECT_EQ(s.log.Ids({WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_CHAR}),
              (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR}));
    ASSERT_EQ(s.log.Of(WM_SYSCHAR).size(), 1u);
    EXPECT_EQ(s.log.Of(WM_SYSCHAR)[0].wParam, static_cast<WPARAM>(L'x'));
    EXPECT_NE(s.log.Of(WM_SYSCHAR)[0].lParam & (1 << 29), 0);
    // Unanswered, the character asks for the menu with it.
    ASSERT_EQ(s.SysCommands(), std::vector<WPARAM>{SC_KEYMENU});
    EXPECT_EQ(s.log.Of(WM_SYSCOMMAND)[0].lParam, static_cast<LPARAM>(L'x'));

    // Alt alone, and F10, ask for the menu without a character.
    s.log.Clear();
    s.driver.Press(VK_MENU);
    s.driver.Press(VK_F10);
    s.driver.PumpUntilIdle();
    EXPECT_EQ(s.SysCommands(), (std::vector<WPARAM>{SC_KEYMENU, SC_KEYMENU}));
    for (const Record& r : s.log.Of(WM_SYSCOMMAND))
        EXPECT_EQ(r.lParam, 0);
    EXPECT_EQ(s.log.Of(WM_SYSKEYUP).size(), 2u);
    EXPECT_TRUE(IsWindow(s.guard.hwnd));
}

TEST(Keyboard, AltF4ClosesTheTopLevelFromAChild)
{
    KeyScene s;
    Handler childLog;
    HWND child = Create(&childLog, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, s.guard.hwnd, 1);
    SetFocus(child);
    s.driver.Press(VK_F4, kAlt);
    s.driver.PumpUntilIdle();
    EXPECT_EQ(childLog.Of(WM_SYSKEYDOWN).size(), 2u);  // Alt, then F4
    EXPECT_EQ(s.SysCommands(), std::vector<WPARAM>{SC_CLOSE});
    EXPECT_EQ(s.log.Of(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(s.guard.hwnd));
    // The releases meant for the closed window still let Alt and F4 go.
    EXPECT_EQ(GetKeyState(VK_MENU) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_F4) & 0x8000, 0);
}

TEST(Keyboard, KeyboardStateFollowsTheRetrievedKeys)
{
    KeyScene s;
    BYTE state[256]{};
    Headless().InjectKeyDown(VK_SHIFT);
    s.driver.PumpUntilIdle();
    ASSERT_TRUE(GetKeyboardState(state));
    EXPECT_NE(state[VK_SHIFT] & 0x80, 0);
    Headless().InjectKeyUp(VK_SHIFT);
    s.driver.PumpUntilIdle();
    GetKeyboardState(state);
    EXPECT_EQ(state[VK_SHIFT] & 0x80, 0);
    EXPECT_FALSE(GetKeyboardState(nullptr));
}

TEST(Keyboard, VirtualKeysScanCodesAndCharactersOfTheLayout)
{
    EXPECT_EQ(MapVirtualKeyW('A', MAPVK_VK_TO_VSC), 0x1Eu);
    EXPECT_EQ(MapVirtualKeyW(0x1E, MAPVK_VSC_TO_VK), static_cast<UINT>('A'));
    EXPECT_EQ(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC), 0x1Cu);
    EXPECT_EQ(MapVirtualKeyW(0x2A, MAPVK_VSC_TO_VK_EX), VK_LSHIFT);
    EXPECT_EQ(MapVirtualKeyW('q', MAPVK_VK_TO_CHAR), 0u);  // no such virtual key
    EXPECT_EQ(MapVirtualKeyW('Q', MAPVK_VK_TO_CHAR), static_cast<UINT>('Q'));
    EXPECT_EQ(MapVirtualKeyW(VK_OEM_2, MAPVK_VK_TO_CHAR), static_cast<UINT>('/'));
    EXPECT_EQ(MapVirtualKeyW(VK_F1, MAPVK_VK_TO_CHAR), 0u);
    EXPECT_EQ(MapVirtualKeyW(0xFFFF, 7), 0u);

    BYTE state[256]{};
    wchar_t out[4]{};
    EXPECT_EQ(ToUnicode('A', 0x1E, state, out, 4, 0), 1);
    EXPECT_EQ(out[0], L'a');
    state[VK_SHIFT] = 0x80;
    ToUnicode('2', 0x03, state, out, 4, 0);
    EXPECT_EQ(out[0], L'@');
    state[VK_CAPITAL] = 0x01;  // Caps Lock with Shift gives small letters
    ToUnicode('A', 0x1E, state, out, 4, 0);
    EXPECT_EQ(out[0], L'a');
    state[VK_SHIFT] = 0;
    state[VK_CAPITAL] = 0;
    state[VK_CONTROL] = 0x80;
    ToUnicode('C', 0x2E, state, out, 4, 0);
    EXPECT_EQ(out[0], L'\x03');
    EXPECT_EQ(ToUnicode('1', 0x02, state, out, 4, 0), 0);
    state[VK_CONTROL] = 0;
    EXPECT_EQ(ToUnicode(VK_F5, 0x3F, state, out, 4, 0), 0);
    EXPECT_EQ(ToUnicode('A', 0x1E | 0x8000, state, out, 4, 0), 0);  // a release
    EXPECT_EQ(ToUnicode('A', 0x1E, nullptr, out, 4, 0), 0);
}

TEST(Keyboard, AcceleratorsSendTheirCommandForTheExactModifiers)
{
    KeyScene s;
    ACCEL entries[] = {
        {FVIRTKEY | FCONTROL, 'S', 100},
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', 101},
        {FVIRTKEY, VK_F5, 102},
        {0, L'?', 103},
        {FALT, L'q', 104},
    };
    const HACCEL table = CreateAcceleratorTableW(entries, 5);
    ASSERT_NE(table, nullptr);
    std::vector<WORD> commands;
    s.log.m_onMessage = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m == WM_COMMAND) {
            EXPECT_EQ(HIWORD(w), 1);
            commands.push_back(LOWORD(w));
        }
        return false;
    };
    auto pump = [&] {
        MSG msg;
        for (int i = 0; i < 200 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (!TranslateAcceleratorW(s.guard.hwnd, table, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    };
    s.driver.Press('S', kControl);
    pump();
    s.driver.Press('S', kControl | kShift);
    pump();
    s.driver.Press('S');
    s.driver.Press(VK_F5, kShift);  // Shift is not in the entry
    s.driver.Press(VK_F5);
    pump();
    Headless().InjectText(L"?");
    s.driver.Press('Q', kAlt);
    pump();
    EXPECT_EQ(commands, (std::vector<WORD>{100, 101, 102, 103, 104}));
    // The keys that matched went no further; the plain 'S' did.
    EXPECT_EQ(s.log.Of(WM_CHAR).size(), 1u);

    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'S';
    SetLastError(0);
    EXPECT_EQ(TranslateAcceleratorW(s.guard.hwnd, reinterpret_cast<HACCEL>(static_cast<std::uintptr_t>(0x4A12)), &msg), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ACCEL_HANDLE);
    EXPECT_EQ(TranslateAcceleratorW(s.guard.hwnd, table, nullptr), 0);
    DestroyAcceleratorTable(table);
}
