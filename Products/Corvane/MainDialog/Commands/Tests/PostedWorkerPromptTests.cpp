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
        window = UiTest::Create(&handler, WS_POPUP, 0, 0, 10, 10);
        ASSERT_NE(window, nullptr);
        handler.m_onMessage = [this](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message != CPostedWorkerPrompt::QuestionMessage())
                return false;
            prompt->AnswerPending();
            return true;
        };
        prompt = std::make_unique<CPostedWorkerPrompt>(window, [this](const tWorkerQuestion& q) {
            seen.push_back(q.message.str());
            return uiAnswer;
        });
    }
    void TearDown() override
    {
        handler.m_onMessage = nullptr;
        if (IsWindow(window))
            DestroyWindow(window);
        UiTest::Drain();
    }

    // Asks on another thread while this one pumps, as a worker does.
    int AskFromWorker(UINT type, const std::function<void()>& whilePumping = {})
    {
        auto answer = std::async(std::launch::async, [&] { return prompt->Ask(L"Data set", L"Write?", L"", type); });
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

    UiTest::Handler handler;
    HWND window = nullptr;
    std::unique_ptr<CPostedWorkerPrompt> prompt;
    std::vector<std::wstring> seen;
    int uiAnswer = IDYES;
};

TEST_F(PostedWorkerPromptTest, QuestionIsAnsweredOnTheWindowsThread)
{
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDYES);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], L"Write?");
    uiAnswer = IDNO;
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDNO);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(PostedWorkerPromptTest, CancelEndsTheWaitWithNo)
{
    // Nobody answers: the window's thread cancels while the worker waits.
    handler.m_onMessage = nullptr;
    int pumps = 0;
    EXPECT_EQ(AskFromWorker(MB_YESNO, [&] {
                  if (++pumps == 20)
                      prompt->Cancel();
              }),
              IDNO);
    // Later questions are not asked at all until the prompt reopens.
    EXPECT_EQ(prompt->Ask(L"", L"Again?", L"", MB_YESNO), IDNO);
    EXPECT_EQ(prompt->Ask(L"", L"Error", L"", MB_ICONERROR), IDOK);
}

TEST_F(PostedWorkerPromptTest, WindowThatGoesEndsTheWait)
{
    handler.m_onMessage = nullptr;
    int pumps = 0;
    EXPECT_EQ(AskFromWorker(MB_YESNO, [&] {
                  if (++pumps == 20 && IsWindow(window))
                      DestroyWindow(window);
              }),
              IDNO);
    EXPECT_EQ(prompt->Ask(L"", L"Gone?", L"", MB_YESNO), IDNO);
}

TEST_F(PostedWorkerPromptTest, ReopenedPromptAsksAgain)
{
    prompt->Cancel();
    EXPECT_EQ(prompt->Ask(L"", L"Skipped", L"", MB_YESNO), IDNO);
    prompt->Reopen();
    EXPECT_EQ(AskFromWorker(MB_YESNO), IDYES);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], L"Write?");
}

TEST_F(PostedWorkerPromptTest, AnswerWithoutAQuestionDoesNothing)
{
    prompt->AnswerPending();
    EXPECT_TRUE(seen.empty());
}

TEST_F(PostedWorkerPromptTest, QuestionOnTheWindowsThreadIsShownAtOnce)
{
    uiAnswer = IDNO;
    EXPECT_EQ(prompt->Ask(L"", L"Here?", L"", MB_YESNO), IDNO);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], L"Here?");
}

}

}  // namespace Corvane
