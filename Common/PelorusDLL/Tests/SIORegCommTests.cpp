#include "Common/PelorusDLL/SIORegComm.h"
#include "Common/PelorusDLL/Tests/SIORegCommFakeLine.h"

#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using SIORegCommFake::CFakeLine;
using SIORegCommFake::Response;

namespace {

std::vector<unsigned short> Sequence(unsigned short first, std::size_t count)
{
    std::vector<unsigned short> words(count);
    std::iota(words.begin(), words.end(), first);
    return words;
}

class SIORegCommTest : public ::testing::Test {
protected:
    void SetUp() override { SetLastError(0); }
    CFakeLine m_line;
    CSIORegComm m_comm{&m_line};
};

} // namespace

TEST_F(SIORegCommTest, ReadRequestHasTheWireLayoutAndChecksum)
{
    m_line.Answer(Response(1, {0x1234}));
    unsigned short word = 0;
    ASSERT_TRUE(m_comm.ReadRegister(0, 9, 5, 1, &word));
    EXPECT_EQ(word, 0x1234);
    ASSERT_EQ(m_line.m_requests.size(), 1u);
    const std::vector<unsigned char> expected{0xFD, 0x02, 0x0C, 0x00, 0x00, 0x01, 0x52, 0x00, 0x09, 0x05, 0x6C, 0x01};
    EXPECT_EQ(m_line.m_requests[0], expected);
}

TEST_F(SIORegCommTest, WriteRequestSetsTableBitAndCarriesTheWords)
{
    m_line.Answer(Response(2, {}));
    const unsigned short words[2] = {0xA1B2, 0x0003};
    ASSERT_TRUE(m_comm.WriteRegister(7, 3, 10, 2, words));
    ASSERT_EQ(m_line.m_requests.size(), 1u);
    const auto& t = m_line.m_requests[0];
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[2], 16);
    EXPECT_EQ(t[5], 2);
    EXPECT_EQ(t[7], 7);
    EXPECT_EQ(t[8], 0x83);
    EXPECT_EQ(t[9], 10);
    EXPECT_EQ(t[10], 0xB2);
    EXPECT_EQ(t[11], 0xA1);
    EXPECT_EQ(t[12], 0x03);
    unsigned short sum = 0;
    for (std::size_t i = 0; i < 14; ++i)
        sum = static_cast<unsigned short>(sum + t[i]);
    EXPECT_EQ(t[14] | (t[15] << 8), sum);
}

TEST_F(SIORegCommTest, LongReadRunsInFragmentsOf44)
{
    const auto all = Sequence(1000, 100);
    m_line.Answer(Response(44, {all.begin(), all.begin() + 44}));
    m_line.Answer(Response(44, {all.begin() + 44, all.begin() + 88}));
    m_line.Answer(Response(12, {all.begin() + 88, all.end()}));
    std::vector<unsigned short> data(100);
    ASSERT_TRUE(m_comm.ReadRegister(0, 0, 0, 100, data.data()));
    EXPECT_EQ(data, all);
    ASSERT_EQ(m_line.m_requests.size(), 3u);
    EXPECT_EQ(m_line.m_requests[0][5], 44);
    EXPECT_EQ(m_line.m_requests[1][5], 44);
    EXPECT_EQ(m_line.m_requests[2][5], 12);
    EXPECT_EQ(m_line.m_requests[0][9], 0);
    EXPECT_EQ(m_line.m_requests[1][9], 44);
    EXPECT_EQ(m_line.m_requests[2][9], 88);
}

TEST_F(SIORegCommTest, LongWriteTakesEachFragmentFromItsPlaceInTheBuffer)
{
    m_comm.SetFragmentSize(10);
    const auto words = Sequence(1, 25);
    for (int i = 0; i < 3; ++i)
        m_line.Answer(Response(0, {}));
    ASSERT_TRUE(m_comm.WriteRegister(1, 2, 100, 25, words.data()));
    ASSERT_EQ(m_line.m_requests.size(), 3u);
    EXPECT_EQ(m_line.m_requests[2][5], 5);
    EXPECT_EQ(m_line.m_requests[2][9], 120);
    EXPECT_EQ(m_line.m_requests[2][10], 21); // first word of the third fragment
}

TEST_F(SIORegCommTest, FragmentSizeOutsideItsRangeBecomes44)
{
    m_comm.SetFragmentSize(0);
    EXPECT_EQ(m_comm.GetFragmentSize(), 44);
    m_comm.SetFragmentSize(45);
    EXPECT_EQ(m_comm.GetFragmentSize(), 44);
    m_comm.SetFragmentSize(-3);
    EXPECT_EQ(m_comm.GetFragmentSize(), 44);
    m_comm.SetFragmentSize(1);
    EXPECT_EQ(m_comm.GetFragmentSize(), 1);
}

TEST_F(SIORegCommTest, ArgumentChecksRefuseBeforeAnythingIsSent)
{
    unsigned short data[4] = {};
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, nullptr));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidArgument);
    EXPECT_FALSE(m_comm.ReadRegister(256, 0, 0, 1, data));
    EXPECT_FALSE(m_comm.ReadRegister(0, 128, 0, 1, data));
    EXPECT_FALSE(m_comm.WriteRegister(0, 0, 256, 1, data));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidArgument);
    EXPECT_TRUE(m_line.m_requests.empty());
}

TEST_F(SIORegCommTest, AccessBeyondRegister255IsRefusedInsteadOfWrapping)
{
    std::vector<unsigned short> data(256);
    EXPECT_FALSE(m_comm.ReadRegister(0, 1, 250, 7, data.data()));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidArgument);
    EXPECT_FALSE(m_comm.WriteRegister(0, 1, 1, 256, data.data()));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidArgument);
    EXPECT_FALSE(m_comm.ReadRegister(0, 1, 0, 0xFFFFFFFFu, data.data()));
    EXPECT_TRUE(m_line.m_requests.empty());

    // Up to the last register is fine.
    m_line.Answer(Response(6, Sequence(1, 6)));
    EXPECT_TRUE(m_comm.ReadRegister(0, 1, 250, 6, data.data()));
    ASSERT_EQ(m_line.m_requests.size(), 1u);
    EXPECT_EQ(m_line.m_requests[0][9], 250);
}

TEST_F(SIORegCommTest, ZeroCountSucceedsWithoutTraffic)
{
    unsigned short word = 0;
    EXPECT_TRUE(m_comm.ReadRegister(0, 0, 0, 0, &word));
    EXPECT_TRUE(m_line.m_requests.empty());
}

TEST_F(SIORegCommTest, MissingOrClosedConnectionFails)
{
    unsigned short word = 0;
    CSIORegComm none(nullptr);
    EXPECT_FALSE(none.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidArgument);
    m_line.m_open = false;
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kPortNotOpen);
    EXPECT_TRUE(m_line.m_requests.empty());
}

TEST_F(SIORegCommTest, ConnectionExceptionsKeepTheConnectionsCode)
{
    unsigned short word = 0;
    m_line.m_throwOnWrite = true;
    m_line.m_writeError = 0x20010005u;
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), 0x20010005u);

    m_line.m_throwOnWrite = false;
    m_line.m_throwWhenEmpty = true;
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), 0x20010200u);
}

TEST_F(SIORegCommTest, ResponseStartAndLengthErrors)
{
    unsigned short word = 0;
    m_line.Answer({0x00, 0x00, 0x0C, 0, 0, 1, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kNoReply);

    for (const auto& start : {std::vector<unsigned char>{0x05, 0x06}, std::vector<unsigned char>{0x02, 0x00},
                              std::vector<unsigned char>{0x00, 0xFD}}) {
        m_line.m_input.clear();
        m_line.Answer({start[0], start[1], 0x0C, 0, 0, 1, 0, 0, 0, 0, 0, 0});
        EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
        EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidStart) << int(start[0]) << " " << int(start[1]);
    }

    m_line.m_input.clear();
    m_line.Answer({0x02, 0xFD, 11, 0, 0, 1, 0, 0, 0, 0, 0});
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidLength);
}

TEST_F(SIORegCommTest, LengthByteBelowThreeReadsNothingMore)
{
    for (unsigned char length : {0, 1, 2, 3}) {
        m_line.m_input.clear();
        m_line.m_reads = 0;
        m_line.Answer({0x02, 0xFD, length, 0xAA, 0xBB});
        unsigned short word = 0x5555;
        EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word)) << int(length);
        EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidLength) << int(length);
        EXPECT_EQ(m_line.m_reads, 1) << int(length);
        EXPECT_EQ(m_line.m_input.size(), 2u) << int(length);
        EXPECT_EQ(word, 0x5555);
    }
}

TEST_F(SIORegCommTest, OverlongResponseIsDrainedAndRefused)
{
    std::vector<unsigned char> t{0x02, 0xFD, 120};
    t.resize(120, 0x11);
    m_line.Answer(t);
    m_line.Answer({0x77});
    unsigned short word = 0;
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidLength);
    ASSERT_EQ(m_line.m_input.size(), 1u); // the next telegram's byte stays
    EXPECT_EQ(m_line.m_input.front(), 0x77);
}

TEST_F(SIORegCommTest, ShortDeliveryIsNoReply)
{
    auto t = Response(1, {0x4242});
    t.pop_back();
    m_line.Answer(t);
    unsigned short word = 0;
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kNoReply);
}

TEST_F(SIORegCommTest, ChecksumAndDeviceErrors)
{
    unsigned short word = 0;
    m_line.Answer(Response(1, {0x1111}, 0, 1));
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidChecksum);

    m_line.Answer(Response(1, {0x8212}, 0x80));
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 1, &word));
    EXPECT_EQ(GetLastError(), 0x20088212u);
}

TEST_F(SIORegCommTest, WordCountEchoIsCheckedExceptForTheMailbox)
{
    unsigned short words[3] = {};
    m_line.Answer(Response(2, {1, 2, 3}));
    EXPECT_FALSE(m_comm.ReadRegister(0, 5, 0, 3, words));
    EXPECT_EQ(GetLastError(), CSIORegComm::kWordCountMismatch);

    m_line.Answer(Response(2, {1, 2, 3}));
    EXPECT_TRUE(m_comm.ReadRegister(0, 99, 0, 3, words));
    EXPECT_EQ(words[2], 3);
    // Position other than 0 is an ordinary table 99.
    m_line.Answer(Response(2, {1, 2, 3}));
    EXPECT_FALSE(m_comm.ReadRegister(1, 99, 0, 3, words));
}

TEST_F(SIORegCommTest, AnswerThatEchoesTheCountButCarriesFewerWordsIsRefused)
{
    // Count byte says 3 words, the telegram holds one.
    m_line.Answer(Response(3, {0x0101}));
    unsigned short words[3] = {7, 7, 7};
    EXPECT_FALSE(m_comm.ReadRegister(0, 5, 0, 3, words));
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidLength);
    EXPECT_EQ(words[1], 7);
}

TEST_F(SIORegCommTest, MailboxReadCopiesOnlyTheWordsTheAnswerCarries)
{
    // A first answer leaves its words in the channel's buffers ...
    const auto first = Sequence(0x100, 44);
    m_line.Answer(Response(44, first));
    std::vector<unsigned short> data(44, 0);
    ASSERT_TRUE(m_comm.ReadRegister(0, 99, 0, 44, data.data()));
    // ... a shorter second answer must not hand them out again.
    m_line.Answer(Response(5, {0x0601, 2, 0, 0xABCD, 0xEEEE}));
    std::vector<unsigned short> again(44, 0x9999);
    ASSERT_TRUE(m_comm.ReadRegister(0, 99, 0, 44, again.data()));
    EXPECT_EQ(again[0], 0x0601);
    EXPECT_EQ(again[4], 0xEEEE);
    for (std::size_t i = 5; i < again.size(); ++i)
        ASSERT_EQ(again[i], 0) << i;
}

TEST_F(SIORegCommTest, FirstFailingFragmentEndsTheAccess)
{
    m_line.Answer(Response(44, Sequence(0, 44)));
    m_line.Answer(Response(44, Sequence(0, 44), 0, 3));
    std::vector<unsigned short> data(132);
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 0, 132, data.data()));
    EXPECT_EQ(m_line.m_requests.size(), 2u);
    EXPECT_EQ(GetLastError(), CSIORegComm::kInvalidChecksum);
}

TEST(ZELLHelpFunktionsTest, SumsWrap)
{
    const unsigned char bytes[] = {0xFF, 0xFF, 0x03};
    EXPECT_EQ(CZELLHelpFunktions::CalculateChecksum(bytes, 3ul), 0x0201);
    const unsigned short words[] = {0xFFFF, 0x0002};
    EXPECT_EQ(CZELLHelpFunktions::CalculateChecksum(words, 2ul), 0x0001);
    EXPECT_EQ(CZELLHelpFunktions::CalculateChecksum(static_cast<const unsigned char*>(nullptr), 5ul), 0);
}
