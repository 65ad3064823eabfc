#pragma once
// Runs the library's message box as a user meets it: the steps run one
// after another from inside the box's own loop (each on a timer of the
// owner window, so that the input the previous step injected is handled
// first), drive the box through the shared dialog helper, and note what it
// showed. A box the steps leave open is ended by a WM_QUIT.
#include "Common/Tessel/Tests/TesselTestSupport.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace TesselTest {

struct SeenBox {
    HWND box = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttonIds;          // push buttons, left to right
    std::vector<std::wstring> captions;  // of those buttons
    std::wstring checkBox;               // its caption, empty without one
    bool hasIcon = false;
    int focusId = 0;
    bool ownerEnabled = true;
    HWND owner = nullptr;
    bool closeGreyed = false;
};

using UiTest::TextOf;

using Step = std::function<void(UiTest::CDialogDriver&)>;

// A step that compares the dialog, frame included, with its golden picture.
inline Step LooksAsGolden(const std::string& name)
{
    return [name](UiTest::CDialogDriver& d) {
        UpdateWindow(d.Dialog());
        d.PumpUntilIdle();
        const std::string png =
            (std::filesystem::temp_directory_path() / ("Tessel" + name + "-" + std::to_string(getpid()) + ".png"))
                .string();
        ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(d.Dialog()), png));
        EXPECT_TRUE(UiTest::MatchesGolden(png, name, ZELL_TESSEL_GOLDEN_DIR));
        std::filesystem::remove(png);
    };
}

class CMessageBoxFixture : public CFreshLibrary {
protected:
    static constexpr UINT_PTR kStepTimer = 4711;
    static constexpr int kEndedByQuit = 77;

    void SetUp() override
    {
        CFreshLibrary::SetUp();
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        m_owner.hwnd = UiTest::Create(&m_ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480);
        SetActiveWindow(m_owner.hwnd);
        UiTest::Drain();
    }

    // Shows the box over the active test window and runs the steps in it.
    int Show(LPCWSTR text, UINT type, std::vector<Step> steps, LPCWSTR caption = L"Coupler",
             const std::function<int()>& show = {})
    {
        m_seen = SeenBox{};
        m_endedByQuit = false;
        std::size_t next = 0;
        m_ownerLog.m_onMessage = [&](HWND hwnd, UINT m, WPARAM w, LPARAM, LRESULT&) {
            if (m != WM_TIMER || w != kStepTimer)
                return false;
            KillTimer(hwnd, kStepTimer);
            HWND box = GetActiveWindow();
            if (next == 0)
                Observe(box);
            UiTest::CDialogDriver driver(box);
            if (next < steps.size()) {
                steps[next++](driver);
                SetTimer(hwnd, kStepTimer, 10, nullptr);
            } else {
                m_endedByQuit = true;
                PostQuitMessage(kEndedByQuit);
            }
            return true;
        };
        SetTimer(m_owner.hwnd, kStepTimer, 10, nullptr);
        const int answer = show ? show() : ZELLMessageBox(text, type, caption, 0);
        KillTimer(m_owner.hwnd, kStepTimer);
        m_ownerLog.m_onMessage = nullptr;
        if (m_endedByQuit) {
            MSG quit{};
            EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
            EXPECT_EQ(quit.wParam, WPARAM{kEndedByQuit});
        }
        return answer;
    }

    void Observe(HWND box)
    {
        m_seen.box = box;
        m_seen.caption = TextOf(box);
        m_seen.ownerEnabled = IsWindowEnabled(m_owner.hwnd) != FALSE;
        m_seen.owner = GetWindow(box, GW_OWNER);
        std::vector<std::pair<LONG, HWND>> buttons;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            RECT r{};
            GetWindowRect(child, &r);
            if (id == 1000)
                m_seen.hasIcon = true;
            else if (id == 1001)
                m_seen.text = TextOf(child);
            else if (id == 5555)
                m_seen.checkBox = TextOf(child);
            else
                buttons.emplace_back(r.left, child);
        }
        std::sort(buttons.begin(), buttons.end());
        for (const auto& [left, button] : buttons) {
            m_seen.buttonIds.push_back(GetDlgCtrlID(button));
            m_seen.captions.push_back(TextOf(button));
        }
        m_seen.focusId = UiTest::CDialogDriver(box).FocusId();
        m_seen.closeGreyed = (GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    static Step Press(UINT key, unsigned modifiers = UiTest::kNoModifier)
    {
        return [=](UiTest::CDialogDriver& d) { d.Press(key, modifiers); };
    }
    static Step Click(int id)
    {
        return [=](UiTest::CDialogDriver& d) { d.Click(id); };
    }
    static Step Nothing()
    {
        return [](UiTest::CDialogDriver&) {};
    }

    UiTest::Handler m_ownerLog;
    UiTest::WindowGuard m_owner;
    SeenBox m_seen;
    bool m_endedByQuit = false;
};

}
