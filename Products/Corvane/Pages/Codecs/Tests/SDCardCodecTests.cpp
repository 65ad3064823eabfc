#include "Products/Corvane/Pages/Codecs/SDCardCodec.h"

#include <gtest/gtest.h>

namespace Corvane {

TEST(SDCardCodec, TextsOfTheCardRecord)
{
    CSDCardCodec::tSDCardInfo info;
    EXPECT_EQ(CSDCardCodec::StatusKey(info), L"SDCARD_STATUS_NO_CARD");
    info.bInserted = true;
    EXPECT_EQ(CSDCardCodec::StatusKey(info), L"SDCARD_STATUS_READY");
    info.bWriteProtected = true;
    EXPECT_EQ(CSDCardCodec::StatusKey(info), L"SDCARD_STATUS_PROTECTED");
    EXPECT_EQ(CSDCardCodec::TypeKey(3), L"SDCARD_TYPE_03");
    EXPECT_EQ(CSDCardCodec::FormatMegabytes(8), L"08 MB");
    EXPECT_EQ(CSDCardCodec::FormatMegabytes(2048), L"2048 MB");
    EXPECT_EQ(CSDCardCodec::FormatSerialNumber(0xFFFFFFFF), L"4294967295");
}

TEST(SDCardCodec, StatusReplyNeedsEveryWordItUses)
{
    CSDCardCodec::tSDCardInfo info;
    info.wCapacity = 77;
    EXPECT_FALSE(CSDCardCodec::ParseStatusReply({1, 2, 1, 64, 32, 0x5678}, info));
    EXPECT_EQ(info.wCapacity, 77);
    EXPECT_FALSE(CSDCardCodec::ParseStatusReply({}, info));
    ASSERT_TRUE(CSDCardCodec::ParseStatusReply({1, 2, 1, 64, 32, 0x5678, 0x1234, 9}, info));
    EXPECT_TRUE(info.bInserted);
    EXPECT_EQ(info.wCardType, 2);
    EXPECT_TRUE(info.bWriteProtected);
    EXPECT_EQ(info.wCapacity, 64);
    EXPECT_EQ(info.wFreeMemory, 32);
    EXPECT_EQ(info.dwSerialNumber, 0x12345678u);
    ASSERT_TRUE(CSDCardCodec::ParseStatusReply({2, 0, 2, 0, 0, 0, 0}, info));
    EXPECT_FALSE(info.bInserted);
    EXPECT_FALSE(info.bWriteProtected);
}

TEST(SDCardCodec, RootLocationChoice)
{
    CFBCData data;
    EXPECT_TRUE(CSDCardCodec::ChooseRootLocation(data, 1));
    EXPECT_EQ(data.SDCardInfo.wRootLocation, 1);
    EXPECT_FALSE(CSDCardCodec::ChooseRootLocation(data, -1));
    EXPECT_FALSE(CSDCardCodec::ChooseRootLocation(data, 2));
    EXPECT_EQ(data.SDCardInfo.wRootLocation, 1);
}

TEST(SDCardCodec, WaitWhileTheDeviceCreatesTheRootFolder)
{
    int pauses = 0;
    const auto pause = [&pauses] { ++pauses; };
    std::vector<WORD> states = {0x821D, 0x821D, 0};
    std::size_t next = 0;
    const auto query = [&](WORD& state) {
        state = states[next++];
        return true;
    };
    CSDCardCodec::CWaitResult result = CSDCardCodec::WaitWhileBusy(query, pause);
    EXPECT_EQ(result.Outcome, CSDCardCodec::EWaitOutcome::Done);
    EXPECT_EQ(result.Polls, 3);
    EXPECT_EQ(pauses, 3);

    states = {0x821D, 5};
    next = 0;
    result = CSDCardCodec::WaitWhileBusy(query, pause);
    EXPECT_EQ(result.Outcome, CSDCardCodec::EWaitOutcome::InvalidState);
    EXPECT_EQ(CSDCardCodec::WaitResultText(result, 0), L"PLC Root Location nicht eingestellt! - Invalid state: 5");

    result = CSDCardCodec::WaitWhileBusy([](WORD&) { return false; }, pause);
    EXPECT_EQ(result.Outcome, CSDCardCodec::EWaitOutcome::QueryFailed);
    EXPECT_EQ(CSDCardCodec::WaitResultText(result, 0x20080001),
              L"PLC Root Location nicht eingestellt! - Errorcode: 0x20080001");
}

TEST(SDCardCodec, EndlessBusyDeviceEndsTheWait)
{
    int polls = 0;
    const CSDCardCodec::CWaitResult result = CSDCardCodec::WaitWhileBusy(
        [&polls](WORD& state) {
            ++polls;
            state = CSDCardCodec::kBusyState;
            return true;
        },
        [] {});
    EXPECT_EQ(result.Outcome, CSDCardCodec::EWaitOutcome::TimedOut);
    EXPECT_EQ(polls, CSDCardCodec::kMaxWaitPolls);
    EXPECT_FALSE(CSDCardCodec::WaitResultText(result, 0).empty());
}

}  // namespace Corvane
