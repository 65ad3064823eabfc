#pragma once
// The questions of a device worker, asked on the user-interface thread.
// The worker posts its question to the window and waits; the window shows
// it and hands the answer back. The wait ends with the default answer when
// the window has gone or the owner cancels (before it stops the worker),
// so a worker never waits on a thread that is waiting for it.

#include "Products/Corvane/Workers/WorkerPrompt.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

namespace Corvane {

struct tWorkerQuestion {
    CString caption;
    CString message;
    CString details;
    UINT type = 0;
};

class CPostedWorkerPrompt : public CWorkerPrompt {
public:
    // The message the question is posted with.
    static UINT QuestionMessage();

    using tShow = std::function<int(const tWorkerQuestion&)>;

    // `show` asks the user on the window's thread.
    CPostedWorkerPrompt(HWND window, tShow show) : m_hWindow(window), m_Show(std::move(show)) {}

    // Worker thread: posts the question and waits for the answer. On the
    // window's own thread the question is shown at once.
    int Ask(const CString& caption, const CString& message, const CString& details, UINT type) override;

    // User-interface thread, on QuestionMessage: shows the waiting question
    // and hands its answer to the worker.
    void AnswerPending();
    // Ends a waiting question, and every later one, with the default.
    void Cancel();
    // Lets questions through again (for the next worker).
    void Reopen();

private:
    int DefaultAnswer(UINT type) { return CWorkerPrompt::Ask(CString(), CString(), CString(), type); }

    bool IsWindowThread() const;

    HWND m_hWindow = nullptr;
    tShow m_Show;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::optional<tWorkerQuestion> m_Question;
    std::optional<int> m_nAnswer;
    // Tells an answer to an earlier question from one to the waiting one.
    unsigned long m_ulQuestionNumber = 0;
    bool m_bCanceled = false;
};

}  // namespace Corvane
