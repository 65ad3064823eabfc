#include "Products/Corvane/MainDialog/Commands/PostedWorkerPrompt.h"

#include "Platform/Base/Thread.h"

#include <chrono>

UINT CPostedWorkerPrompt::QuestionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"CorvaneWorkerQuestion");
    return message;
}

int CPostedWorkerPrompt::Ask(const CString& caption, const CString& message, const CString& details, UINT type)
{
    std::unique_lock lock(m_mutex);
    if (m_canceled || m_window == nullptr || !IsWindow(m_window))
        return DefaultAnswer(type);
    if (IsWindowThread()) {
        lock.unlock();
        return m_show(tWorkerQuestion{caption, message, details, type});
    }
    m_question = tWorkerQuestion{caption, message, details, type};
    ++m_questionNumber;
    m_answer.reset();
    if (!PostMessageW(m_window, QuestionMessage(), 0, 0)) {
        m_question.reset();
        return DefaultAnswer(type);
    }
    // The window is checked now and then: a window that went without
    // answering leaves the default.
    while (!m_answer && !m_canceled) {
        m_changed.wait_for(lock, std::chrono::milliseconds(200));
        if (!m_answer && !IsWindow(m_window))
            break;
    }
    m_question.reset();
    const int answer = m_answer.value_or(DefaultAnswer(type));
    m_answer.reset();
    return answer;
}

void CPostedWorkerPrompt::AnswerPending()
{
    std::optional<tWorkerQuestion> question;
    unsigned long number = 0;
    {
        std::lock_guard lock(m_mutex);
        question = m_question;
        number = m_questionNumber;
    }
    if (!question)
        return;
    // The box runs without the lock, so a cancel during it gets through.
    const int answer = m_show(*question);
    std::lock_guard lock(m_mutex);
    if (m_question && number == m_questionNumber) {
        m_answer = answer;
        m_changed.notify_all();
    }
}

void CPostedWorkerPrompt::Cancel()
{
    std::lock_guard lock(m_mutex);
    m_canceled = true;
    m_changed.notify_all();
}

void CPostedWorkerPrompt::Reopen()
{
    std::lock_guard lock(m_mutex);
    m_canceled = false;
}

bool CPostedWorkerPrompt::IsWindowThread() const
{
    return m_window != nullptr && IsWindow(m_window) &&
           GetWindowThreadProcessId(m_window, nullptr) == GetCurrentThreadId();
}
