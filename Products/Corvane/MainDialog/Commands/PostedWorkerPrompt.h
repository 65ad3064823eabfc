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

    explicit CPostedWorkerPrompt(HWND window) : m_window(window) {}

    // Worker thread: posts the question and waits for the answer.
    int Ask(const CString& caption, const CString& message, const CString& details, UINT type) override;

    // User-interface thread, on QuestionMessage: shows the waiting question
    // with `show` and hands its answer to the worker.
    void AnswerPending(const std::function<int(const tWorkerQuestion&)>& show);
    // Ends a waiting question, and every later one, with the default.
    void Cancel();
    // Lets questions through again (for the next worker).
    void Reopen();

private:
    int DefaultAnswer(UINT type) { return CWorkerPrompt::Ask(CString(), CString(), CString(), type); }

    HWND m_window = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<tWorkerQuestion> m_question;
    std::optional<int> m_answer;
    // Tells an answer to an earlier question from one to the waiting one.
    unsigned long m_questionNumber = 0;
    bool m_canceled = false;
};
