// The mailbox mechanics of the serial service: how requests are written,
// how answers are polled, and what a malformed answer gives.
#include "Common/PelorusDLL/MailboxAnswer.h"
#include "Common/PelorusDLL/Tests/SIOServiceFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace DevSim;

namespace {

constexpr DWORD kMalformed = 0x20208404;
constexpr DWORD kInvalidArgument = 0x20200008;

tServiceInfo Info(BYTE group, BYTE service, WORD requestWords, WORD answerWords, DWORD waitMs = 0)
{
    tServiceInfo info;
    info.byGroup = group;
    info.byService = service;
    info.wRequestWords = requestWords;
    info.wAnswerWords = answerWords;
    info.dwWaitMs = waitMs;
    return info;
}

unsigned char* Bytes(std::vector<unsigned short>& words)
{
    return reinterpret_cast<unsigned char*>(words.data());
}

}

TEST(SIOMailboxStatus, DeviceStatusWordsBecomeCodes)
{
    EXPECT_EQ(CMailboxAnswer::StatusToError(0), 0u);
    EXPECT_EQ(CMailboxAnswer::StatusToError(0x8512), 0x20088512u);
    EXPECT_EQ(CMailboxAnswer::StatusToError(0x8212), 0x20088212u);
    EXPECT_EQ(CMailboxAnswer::StatusToError(0x0005), 0x20040005u);
    EXPECT_EQ(CMailboxAnswer::StatusToError(0x8005), 0x20048005u);
}

TEST(SIOMailboxAnswer, CountsMayFillButNotExceedTheDeliveredWords)
{
    // Two texts "ab" and "c": lengths 2 and 1, then the characters.
    const unsigned short twoTexts[] = {0x0102, 0x6261, 0x0063};
    std::vector<std::wstring> texts;
    ASSERT_TRUE(CMailboxAnswer(twoTexts, 3).Texts(2, texts));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"ab", L"c"}));
    EXPECT_FALSE(CMailboxAnswer(twoTexts, 2).Texts(2, texts)); // "c" not delivered
    EXPECT_EQ(texts.size(), 2u) << "a refused answer leaves the result alone";
    EXPECT_FALSE(CMailboxAnswer(twoTexts, 0).Texts(1, texts));

    const unsigned short tables[] = {3, 0x1204, 0x0A10, 0x0040};
    std::vector<tFBCTable> list;
    EXPECT_FALSE(CMailboxAnswer(tables, 3).TableInfo(list));
    ASSERT_TRUE(CMailboxAnswer(tables, 4).TableInfo(list));
    EXPECT_EQ(list, (std::vector<tFBCTable>{0x0040, 0x0A10, 0x1204}));

    const unsigned short parameter[] = {0, 1, 1, 3, 0x0201, 0x0003};
    std::vector<BYTE> bytes;
    ASSERT_TRUE(CMailboxAnswer(parameter, 6).NetworkParameter(bytes));
    EXPECT_EQ(bytes, (std::vector<BYTE>{1, 2, 3}));
    EXPECT_FALSE(CMailboxAnswer(parameter, 5).NetworkParameter(bytes));
    EXPECT_FALSE(CMailboxAnswer(parameter, 3).NetworkParameter(bytes));
}

TEST(SIOMailboxAnswer, HeaderCountOfZeroOrBeyondTheReadIsMalformed)
{
    const unsigned short zero[] = {0x0801, 0, 0};
    EXPECT_EQ(CMailboxAnswer::CheckHeader(zero, 3), kMalformed);
    const unsigned short full[] = {0x0801, 3, 0, 1, 2};
    EXPECT_EQ(CMailboxAnswer::CheckHeader(full, 5), 0u);
    EXPECT_EQ(CMailboxAnswer::CheckHeader(full, 4), kMalformed);
    EXPECT_EQ(CMailboxAnswer::CheckHeader(full, 2), kMalformed);
}

TEST_F(SIOServiceTest, StatusOfTheAnswerIsMapped)
{
    struct {
        uint16_t status;
        DWORD code;
    } cases[] = {{0x8512, 0x20088512}, {0x0005, 0x20040005}, {0x8212, 0x20088212}};
    for (const auto& c : cases) {
        AddFault(ENFault::ServiceStatus, c.status);
        EXPECT_FALSE(m_service->SaveParameter());
        EXPECT_EQ(m_service->GetLastErrorCode(), c.code) << std::hex << c.status;
    }
    EXPECT_TRUE(m_service->SaveParameter());
}

TEST_F(SIOServiceTest, LongRequestWritesRegisterZeroLast)
{
    // 4 header words of the service and 39 data words: 45 words with the mailbox header.
    std::vector<unsigned char> bytes(78, 0x5A);
    ASSERT_TRUE(m_service->EnableTerminalControlMode(1, 2, 3, 78, bytes.data()));
    auto writes = MailboxTelegrams(true);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][9], 1);  // start register
    EXPECT_EQ(writes[0][5], 44); // words
    EXPECT_EQ(writes[1][9], 0);
    EXPECT_EQ(writes[1][5], 1);
    EXPECT_EQ(Device().terminalControlData, bytes);

    // 44 words still go in one telegram from register 0.
    const auto before = MailboxTelegrams(true).size();
    bytes.resize(76);
    ASSERT_TRUE(m_service->EnableTerminalControlMode(1, 2, 3, 76, bytes.data()));
    writes = MailboxTelegrams(true);
    ASSERT_EQ(writes.size(), before + 1);
    EXPECT_EQ(writes.back()[9], 0);
    EXPECT_EQ(writes.back()[5], 44);
}

TEST_F(SIOServiceTest, ExecuteServiceCopiesTheAnswerAndItsCount)
{
    std::vector<unsigned short> words(41, 0xFFFF);
    tServiceInfo info = Info(0x06, 0x01, 0, 41);
    ASSERT_TRUE(m_service->ExecuteService(info, Bytes(words)));
    EXPECT_EQ(info.wAnswerWords, 2);
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(words[1], 3);
    EXPECT_EQ(words[2], 0) << "words the device did not deliver are cleared";

    info.wAnswerWords = 1;
    EXPECT_FALSE(m_service->ExecuteService(info, nullptr));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    info = Info(0x01, 0x05, 0, 0);
    EXPECT_TRUE(m_service->ExecuteService(info, nullptr));
}

TEST_F(SIOServiceTest, RequestsAndAnswersBeyondTheMailboxAreRefusedUnsent)
{
    std::vector<unsigned short> words(256, 0);
    tServiceInfo info = Info(0x01, 0x05, 255, 0);
    EXPECT_FALSE(m_service->ExecuteService(info, Bytes(words)));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    info = Info(0x01, 0x05, 0, 254);
    EXPECT_FALSE(m_service->ExecuteService(info, Bytes(words)));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    EXPECT_TRUE(m_sim.Telegrams().empty());
}

TEST_F(SIOServiceTest, FailedAnswerReadIsRetriedOnlyWithAWait)
{
    std::vector<unsigned short> words(1);
    tServiceInfo info = Info(0x06, 0x02, 0, 1);
    AddFault(ENFault::MailboxBusy, 0, 1, true);
    EXPECT_FALSE(m_service->ExecuteService(info, Bytes(words)));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x2008821Du);
    EXPECT_EQ(MailboxTelegrams(false).size(), 1u);
    EXPECT_EQ(info.wAnswerWords, 1) << "no answer, no count";

    AddFault(ENFault::MailboxBusy, 0, 1, true);
    info.dwWaitMs = 20;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(m_service->ExecuteService(info, Bytes(words)))
        << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(GetTickCount() - start, 40u);
    EXPECT_EQ(MailboxTelegrams(false).size(), 3u);

    // Three polls at most.
    AddFault(ENFault::MailboxBusy, 0, 5, true);
    EXPECT_FALSE(m_service->ExecuteService(info, Bytes(words)));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x2008821Du);
    EXPECT_EQ(MailboxTelegrams(false).size(), 6u);
}

TEST_F(SIOServiceTest, AnswerCountsThatCannotBeTrueAreMalformed)
{
    unsigned short word = 0;
    Update([](tDeviceData& d) { d.serialRawAnswers[0x0602] = {0, 0, 1}; });
    EXPECT_FALSE(m_service->GetActiveRuntimeSystem(word));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);

    AddFault(ENFault::MailboxOverCount, 0, 1, true);
    EXPECT_FALSE(m_service->GetPLCRootLocation(word));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);

    // A fixed answer that lacks words.
    Update([](tDeviceData& d) { d.serialRawAnswers[0x0118] = {2, 0, 0x1234}; });
    unsigned int seconds = 7;
    short zone = 0, dst = 0;
    EXPECT_FALSE(m_service->GetDateTime(seconds, zone, dst));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    EXPECT_EQ(seconds, 7u);
}

TEST_F(SIOServiceTest, CountsInsideAnAnswerBeyondItsDataAreMalformed)
{
    Update([](tDeviceData& d) {
        d.serialRawAnswers[0x010D] = {2, 0, 0x4150};          // 80 characters announced, 1 delivered
        d.serialRawAnswers[0x0110] = {3, 0, 0x0301, 0x4141};  // second text cut short
        d.serialRawAnswers[0x0108] = {3, 0, 0x0101, 0x0101};  // four texts, no characters
        d.serialRawAnswers[0x0113] = {3, 0, 5, 0x0040};       // five tables, one delivered
        d.serialRawAnswers[0x0501] = {6, 0, 0, 1, 1, 10, 0x0201}; // 10 bytes, 2 delivered
    });
    std::wstring serial = L"old", first, second, third, fourth;
    EXPECT_FALSE(m_service->GetSerialNumber(serial));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    EXPECT_EQ(serial, L"old");
    EXPECT_FALSE(m_service->GetProductionMarking(first, second));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    EXPECT_FALSE(m_service->IdentifyDevice(first, second, third, fourth));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    std::vector<tFBCTable> tables{1};
    EXPECT_FALSE(m_service->GetTableInfo(tables));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    EXPECT_EQ(tables, std::vector<tFBCTable>{1});

    unsigned short length = 4;
    unsigned char* data = new unsigned char[4]{9, 9, 9, 9};
    EXPECT_FALSE(m_service->GetNetworkParameter(0, 1, 1, length, &data));
    EXPECT_EQ(m_service->GetLastErrorCode(), kMalformed);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(data[0], 9);
    delete[] data;
}
