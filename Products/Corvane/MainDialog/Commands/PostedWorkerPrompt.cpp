#include "Products/Corvane/MainDialog/Commands/PostedWorkerPrompt.h"

#include "Platform/Base/Thread.h"

#include <chrono>

namespace Corvane {

UINT CPostedWorkerPrompt::QuestionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"CorvaneWorkerQuestion");
    return message;
}

int CPostedWorkerPrompt::Ask(const CString& caption, const CString& message, const CString& details, UINT type)
{
    std::unique_lock lock(m_Mutex);
    if (m_bCanceled || m_hWindow == nullptr || !IsWindow(m_hWindow))
        return DefaultAnswer(type);
    if (IsWindowThread()) {
        lock.unlock();
        return m_Show(tWorkerQuestion{caption, message, details, type});
    }
    m_Question = tWorkerQuestion{caption, message, details, type};
    ++m_ulQuestionNumber;
    m_nAnswer.reset();
    if (!PostMessageW(m_hWindow, QuestionMessage(), 0, 0)) {
        m_Question.reset();
        return DefaultAnswer(type);
    }
    // The window is checked now and then: a window that went without
    // answering leaves the default.
    while (!m_nAnswer && !m_bCanceled) {
        m_Changed.wait_for(lock, std::chrono::milliseconds(200));
        if (!m_nAnswer && !IsWindow(m_hWindow))
            break;
    }
    m_Question.reset();
    const int answer = m_nAnswer.value_or(DefaultAnswer(type));
    m_nAnswer.reset();
    return answer;
}

void CPostedWorkerPrompt::AnswerPending()
{
    std::optional<tWorkerQuestion> question;
    unsigned long number = 0;
    {
        std::lock_guard lock(m_Mutex);
        question = m_Question;
        number = m_ulQuestionNumber;
    }
    if (!question)
        return;
    // The box runs without the lock, so a cancel during it gets through.
    const int answer = m_Show(*question);
    std::lock_guard lock(m_Mutex);
    if (m_Question && number == m_ulQuestionNumber) {
        m_nAnswer = answer;
        m_Changed.notify_all();
    }
}

void CPostedWorkerPrompt::Cancel()
{
    std::lock_guard lock(m_Mutex);
    m_bCanceled = true;
    m_Changed.notify_all();
}

void CPostedWorkerPrompt::Reopen()
{
    std::lock_guard lock(m_Mutex);
    m_bCanceled = false;
}

bool CPostedWorkerPrompt::IsWindowThread() const
{
    return m_hWindow != nullptr && IsWindow(m_hWindow) &&
           GetWindowThreadProcessId(m_hWindow, nullptr) == GetCurrentThreadId();
}

}  // namespace Corvane
