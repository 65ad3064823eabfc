#pragma once
// How a worker tells the window that started it what it does: progress and
// its end go out as posted registered messages, so the worker never waits
// on the user-interface thread and never touches a window that is gone.

#include "Platform/Ui/WinUser.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"

namespace Corvane {

class CWorkerBusyFlag;

class CWorkerReporter {
public:
    CWorkerReporter(HWND window, CWorkerBusyFlag& busy) : m_hWindow(window), m_Busy(busy) {}

    // A progress line: the action with its state, bit 31 set for a step
    // inside an action.
    void ShowState(ENThreadAction action, ENThreadState state, bool subStep = false) const;
    void ShowState(ENThreadAction action, WORD state, bool subStep) const;
    // The working, done or failed state of a step by its result.
    void ShowResult(ENThreadAction action, bool ok, bool subStep) const;
    // Clears the busy flag, then posts the end message with the result.
    void Done(UINT message, WPARAM result, LPARAM data) const;

private:
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_hWindow = nullptr;
    CWorkerBusyFlag& m_Busy;
};

}  // namespace Corvane
