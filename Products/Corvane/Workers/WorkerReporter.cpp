#include "Products/Corvane/Workers/WorkerReporter.h"

#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

void CWorkerReporter::ShowState(ENThreadAction action, ENThreadState state, bool subStep) const
{
    ShowState(action, static_cast<WORD>(state), subStep);
}

void CWorkerReporter::ShowState(ENThreadAction action, WORD state, bool subStep) const
{
    Post(CWorkerMessages::Get().ShowThreadState, CThreadStateTable::MakeWParam(action),
         CThreadStateTable::MakeLParam(state, subStep));
}

void CWorkerReporter::ShowResult(ENThreadAction action, bool ok, bool subStep) const
{
    ShowState(action, ok ? ENThreadState::Done : ENThreadState::Failed, subStep);
}

void CWorkerReporter::Done(UINT message, WPARAM result, LPARAM data) const
{
    m_Busy.Release();
    Post(message, result, data);
}

void CWorkerReporter::Post(UINT message, WPARAM wParam, LPARAM lParam) const
{
    // A window that has gone takes no more reports; the handle check makes
    // the post fail harmlessly instead of reaching another window.
    if (m_hWindow != nullptr && IsWindow(m_hWindow))
        PostMessageW(m_hWindow, message, wParam, lParam);
}

}  // namespace Corvane
