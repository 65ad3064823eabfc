#pragma once
// Answers the program's message boxes as a user does: a timer of a hidden
// window of the test thread fires inside every modal loop, finds the box in
// front (a window with the box's message text), notes its text and runs the
// next planned step in it. A box nobody planned for is noted and closed
// with one of its buttons, so a test never hangs on an unexpected question.

#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace Corvane {

namespace CommandsTest {

class CBoxAnswerer {
public:
    using Step = std::function<void(UiTest::CDialogDriver&)>;
    static constexpr int kMessageTextId = 1001;
    static constexpr int kCheckBoxId = 5555;

    explicit CBoxAnswerer(std::vector<Step> steps) : m_arrSteps(steps.begin(), steps.end())
    {
        m_Handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (message != WM_TIMER || wParam != kTimerId)
                return false;
            AnswerFront();
            return true;
        };
        m_hWindow = UiTest::Create(&m_Handler, WS_POPUP, 0, 0, 1, 1);
        SetTimer(m_hWindow, kTimerId, 15, nullptr);
    }
    ~CBoxAnswerer()
    {
        if (m_hWindow != nullptr && IsWindow(m_hWindow)) {
            KillTimer(m_hWindow, kTimerId);
            DestroyWindow(m_hWindow);
        }
        m_Handler.m_onMessage = nullptr;
    }
    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;

    std::size_t Left() const { return m_arrSteps.size(); }
    // The message texts of the boxes met, in order.
    const std::vector<std::wstring>& Texts() const { return m_arrTexts; }
    std::size_t Unplanned() const { return m_nUnplanned; }

    // A box's message is a static text; a dialog's control of the same id
    // (a button, say) does not make the dialog a box.
    static bool IsMessageText(HWND control)
    {
        wchar_t name[16] = {};
        return control != nullptr && GetClassNameW(control, name, 16) > 0 && std::wstring(name) == L"Static";
    }

private:
    static constexpr UINT_PTR kTimerId = 0x7A11;

    void AnswerFront()
    {
        HWND box = GetActiveWindow();
        if (box == nullptr || box == m_hAnswered || !IsMessageText(GetDlgItem(box, kMessageTextId)))
            return;
        m_hAnswered = box;
        m_arrTexts.push_back(UiTest::TextOf(GetDlgItem(box, kMessageTextId)));
        UiTest::CDialogDriver driver(box);
        driver.PumpUntilIdle();
        if (m_arrSteps.empty()) {
            ++m_nUnplanned;
            CloseUnplanned(driver);
            return;
        }
        Step step = std::move(m_arrSteps.front());
        m_arrSteps.pop_front();
        step(driver);
    }

    static void CloseUnplanned(UiTest::CDialogDriver& driver)
    {
        for (int id : {IDCANCEL, IDNO, IDABORT, IDOK}) {
            if (driver.Control(id) != nullptr) {
                driver.Click(id);
                return;
            }
        }
    }

    UiTest::Handler m_Handler;
    HWND m_hWindow = nullptr;
    HWND m_hAnswered = nullptr;
    std::deque<Step> m_arrSteps;
    std::vector<std::wstring> m_arrTexts;
    std::size_t m_nUnplanned = 0;
};

}

}  // namespace Corvane
