#pragma once
// Drives modal dialogs from the inside, as a user at the keyboard would: each
// step runs once the next dialog window (the file dialog, then a message box
// it opens, ...) has been made, from within that dialog's own modal loop. A
// thread-local WH_CBT hook spots the new dialog window and posts the step to
// the owner window, so nested boxes get their turn too.

#include "Platform/Ui/CbtHooks.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <deque>
#include <functional>
#include <vector>
#include <string>

namespace ShellTest {

// Presses a key and lets the dialog handle it before the next one: the
// modifiers are read when a key is handled, not when it is injected.
inline void Key(UiTest::CDialogDriver& driver, UINT key, unsigned modifiers = UiTest::kNoModifier)
{
    driver.Press(key, modifiers);
    driver.PumpUntilIdle();
}

class ModalScript {
public:
    using Step = std::function<void(UiTest::CDialogDriver&)>;

    ModalScript()
    {
        s_current = this;
        m_owner.hwnd = UiTest::Create(&m_handler, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 900, 700);
        SetActiveWindow(m_owner.hwnd);
        m_handler.m_onMessage = [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
            if (message != kRunStep)
                return false;
            RunNext(reinterpret_cast<HWND>(lParam));
            return true;
        };
        m_hook = SetWindowsHookExW(WH_CBT, &ModalScript::Hook, nullptr, GetCurrentThreadId());
        UiTest::Drain();
    }
    ~ModalScript()
    {
        UnhookWindowsHookEx(m_hook);
        m_handler.m_onMessage = nullptr;
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    HWND Owner() const { return m_owner.hwnd; }
    // The steps, one per dialog in the order they come up.
    void Then(Step step) { m_steps.push_back(std::move(step)); }
    std::size_t Left() const { return m_steps.size(); }
    // The caption of each dialog a step ran in.
    const std::vector<std::wstring>& Captions() const { return m_captions; }
    // The texts of the message boxes met (their static text).
    static std::wstring BoxText(HWND box)
    {
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (std::wstring(name) == L"Static" && GetWindowTextLengthW(child) > 0)
                return UiTest::TextOf(child);
        }
        return {};
    }

private:
    static constexpr UINT kRunStep = WM_APP + 0x77;

    static LRESULT Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && s_current != nullptr)
            s_current->OnCreate(reinterpret_cast<HWND>(wParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void OnCreate(HWND window)
    {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770")
            PostMessageW(m_owner.hwnd, kRunStep, 0, reinterpret_cast<LPARAM>(window));
    }

    void RunNext(HWND dialog)
    {
        if (m_steps.empty() || !IsWindow(dialog))
            return;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        m_captions.push_back(UiTest::TextOf(dialog));
        UiTest::CDialogDriver driver(dialog);
        driver.PumpUntilIdle();
        step(driver);
        driver.PumpUntilIdle();
    }

    static inline ModalScript* s_current = nullptr;
    UiTest::Handler m_handler;
    UiTest::WindowGuard m_owner;
    HHOOK m_hook = nullptr;
    std::deque<Step> m_steps;
    std::vector<std::wstring> m_captions;
};

}  // namespace ShellTest
