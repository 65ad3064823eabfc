#include "Products/Corvane/MainDialog/Commands/PostedWorkerPrompt.h"

#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace Corvane {

namespace {

class PostedWorkerPromptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hWindow = UiTest::Create(&m_Handler, WS_POPUP, 0, 0, 10, 10);
        ASSERT_NE(m_hWindow, nullptr);
        m_Handler.m_onMessage = [this](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message != CPostedWorkerPrompt::QuestionMessage())
                return false;
            m_pPrompt->AnswerPending();
            return true;
        };
        m_pPrompt = std::make_unique<CPostedWorkerPrompt>(m_hWindow, [this](const tWorkerQuestion& q) {
            m_arrSeen.push_back(q.message.str());
            return m_nUiAnswer;
        });
    }
    void TearDown() override
    {
        m_Handler.m_onMessage = nullptr;
        if (IsWindow(m_hWindow))
            DestroyWindow(m_hWindow);
        UiTest::Drain();
    }

    // Asks on another thread while this one pumps, as a worker does.
    int AskFromWorker(UINT type, const std::function<void()>& whilePumping = {})
    {
        auto answer = std::async(std::launch::async, [&] { return m_pPrompt->Ask(L"Data set", L"Write?", L"", type); });
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (answer.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready &&
               std::chrono::steady_clock::now() < end) {
            UiTest::Drain();
            if (whilePumping)
                whilePumping();
        }
        EXPECT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready) << "the worker still waits";
        return answer.get();
    }

    UiTest::Handler m_Handler;
    HWND m_hWindow = nullptr;
    std::unique_ptr<CPostedWorkerPrompt> m_pPrompt;
    std::vector<std::wstring> m_arrSeen;
    int m_nUiAnswer = IDYES;
};

TEST_F(PostedWorkerPromptTest, QuestionIsAnsweredOnTheWindowsThread)
{
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDYES);
    ASSERT_EQ(m_arrSeen.size(), 1u);
    EXPECT_EQ(m_arrSeen[0], L"Write?");
    m_nUiAnswer = IDNO;
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDNO);
    EXPECT_EQ(m_arrSeen.size(), 2u);
}

TEST_F(PostedWorkerPromptTest, CancelEndsTheWaitWithNo)
{
    // Nobody answers: the window's thread cancels while the worker waits.
    m_Handler.m_onMessage = nullptr;
    int pumps = 0;
    EXPECT_EQ(AskFromWorker(MB_YESNO, [&] {
                  if (++pumps == 20)
                      m_pPrompt->Cancel();
              }),
              IDNO);
    // Later questions are not asked at all until the prompt reopens.
    EXPECT_EQ(m_pPrompt->Ask(L"", L"Again?", L"", MB_YESNO), IDNO);
    EXPECT_EQ(m_pPrompt->Ask(L"", L"Error", L"", MB_ICONERROR), IDOK);
}

TEST_F(PostedWorkerPromptTest, WindowThatGoesEndsTheWait)
{
    m_Handler.m_onMessage = nullptr;
    int pumps = 0;
    EXPECT_EQ(AskFromWorker(MB_YESNO, [&] {
                  if (++pumps == 20 && IsWindow(m_hWindow))
                      DestroyWindow(m_hWindow);
              }),
              IDNO);
    EXPECT_EQ(m_pPrompt->Ask(L"", L"Gone?", L"", MB_YESNO), IDNO);
}

TEST_F(PostedWorkerPromptTest, ReopenedPromptAsksAgain)
{
    m_pPrompt->Cancel();
    EXPECT_EQ(m_pPrompt->Ask(L"", L"Skipped", L"", MB_YESNO), IDNO);
    m_pPrompt->Reopen();
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDYES);
    ASSERT_EQ(m_arrSeen.size(), 1u);
    EXPECT_EQ(m_arrSeen[0], L"Write?");
}

TEST_F(PostedWorkerPromptTest, AnswerWithoutAQuestionDoesNothing)
{
    m_pPrompt->AnswerPending();
    EXPECT_TRUE(m_arrSeen.empty());
}

TEST_F(PostedWorkerPromptTest, QuestionOnTheWindowsThreadIsShownAtOnce)
{
    m_nUiAnswer = IDNO;
    EXPECT_EQ(m_pPrompt->Ask(L"", L"Here?", L"", MB_YESNO), IDNO);
    ASSERT_EQ(m_arrSeen.size(), 1u);
    EXPECT_EQ(m_arrSeen[0], L"Here?");
}

}

}  // namespace Corvane
