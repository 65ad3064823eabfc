#include "Common/Communication/Tests/FakeConnection.h"
#include "Platform/Base/Tests/DebugOutputFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <vector>

using ZELL::Testing::CFakeConnection;

namespace {

std::vector<unsigned char> Frame(std::uint16_t lengthField, std::size_t bodyBytes)
{
    std::vector<unsigned char> bytes(18, 0xAA);
    bytes[16] = static_cast<unsigned char>(lengthField & 0xFF);
    bytes[17] = static_cast<unsigned char>(lengthField >> 8);
    for (std::size_t i = 0; i < bodyBytes; ++i)
        bytes.push_back(static_cast<unsigned char>(i));
    return bytes;
}

struct FragmentBuffer {
    ~FragmentBuffer() { delete[] data; }
    unsigned char* data = nullptr;
};

}

TEST(ConnectionBaseErrors, LastErrorIsReadAndCleared)
{
    CFakeConnection connection;
    connection.SetLastErrorCode(0x3000274C);
    EXPECT_EQ(connection.GetLastErrorCode(), 0x3000274Cu);
    EXPECT_EQ(connection.GetLastErrorCode(), 0u);
    connection.SetLastErrorCode(5);
    connection.ResetLastErrorCode();
    EXPECT_EQ(connection.GetLastErrorCode(), 0u);
}

TEST(ConnectionBaseLogging, NameKeptUnlessNull)
{
    CFakeConnection connection;
    EXPECT_FALSE(connection.IsLogging());
    connection.EnableLogging(true, L"trace");
    EXPECT_TRUE(connection.IsLogging());
    connection.EnableLogging(false, nullptr);
    EXPECT_FALSE(connection.IsLogging());
    EXPECT_EQ(connection.GetLogName(), L"trace");
}

TEST(ConnectionBaseFragment, WholeFrameWithTwoByteLength)
{
    CFakeConnection connection;
    connection.m_input = Frame(0x0102, 0x0102);
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(length, 18u + 258u);
    EXPECT_EQ(buffer.data[16], 0x02);
    EXPECT_EQ(buffer.data[17], 0x01);
    EXPECT_EQ(buffer.data[18 + 257], 257 & 0xFF);
    EXPECT_EQ(connection.m_reads, 2);
}

TEST(ConnectionBaseFragment, ZeroLengthReadsHeaderOnly)
{
    CFakeConnection connection;
    connection.m_input = Frame(0, 0);
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(length, 18u);
    EXPECT_EQ(connection.m_reads, 1);
}

TEST(ConnectionBaseFragment, CorrectionThatCancelsLengthNeedsNoSecondRead)
{
    CFakeConnection connection;
    connection.m_input = Frame(7, 7);
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, 16, 2, -7, &length));
    EXPECT_EQ(length, 18u);
    EXPECT_EQ(connection.m_reads, 1);
}

TEST(ConnectionBaseFragment, PositiveCorrectionCoversTrailer)
{
    CFakeConnection connection;
    connection.m_input = Frame(4, 6);
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, 16, 2, 2, &length));
    EXPECT_EQ(length, 24u);
}

TEST(ConnectionBaseFragment, WidthAboveFourReadsNothing)
{
    CFakeConnection connection;
    connection.m_input = Frame(0, 0);
    unsigned char* sentinel = new unsigned char[3];
    unsigned char* buffer = sentinel;
    unsigned int length = 99;
    EXPECT_FALSE(connection.ReadFragment(&buffer, 16, 5, 0, &length));
    EXPECT_EQ(buffer, sentinel);
    EXPECT_EQ(length, 99u);
    EXPECT_EQ(connection.m_reads, 0);
    delete[] sentinel;
}

TEST(ConnectionBaseFragment, FourByteAndZeroWidthFields)
{
    CFakeConnection connection;
    connection.m_input = {3, 0, 0, 0, 'a', 'b', 'c'};
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, 0, 4, 0, &length));
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(buffer.data[6], 'c');

    CFakeConnection fixed;
    fixed.m_input = {1, 2, 3, 4, 5};
    FragmentBuffer other;
    ASSERT_TRUE(fixed.ReadFragment(&other.data, 2, 0, 3, &length));
    EXPECT_EQ(length, 5u);
}

TEST(ConnectionBaseFragmentFaults, NegativeRestFailsWithoutOverrun)
{
    CFakeConnection connection;
    connection.m_input = Frame(2, 2);
    FragmentBuffer buffer;
    unsigned int length = 77;
    EXPECT_FALSE(connection.ReadFragment(&buffer.data, 16, 2, -3, &length));
    EXPECT_EQ(length, 77u);
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_NE(connection.GetLastErrorCode(), 0u);
}

TEST(ConnectionBaseFragmentFaults, ShortHeaderFails)
{
    CFakeConnection connection;
    connection.m_input = {1, 2, 3, 4, 5};
    FragmentBuffer buffer;
    unsigned int length = 0;
    EXPECT_FALSE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_EQ(connection.GetLastErrorCode(), 0x20010200u);
}

TEST(ConnectionBaseFragmentFaults, PeerClosingMidFrameFails)
{
    CFakeConnection connection;
    connection.m_input = Frame(100, 40);
    FragmentBuffer buffer;
    unsigned int length = 0;
    EXPECT_FALSE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_EQ(connection.GetLastErrorCode(), 0x20010200u);
}

TEST(ConnectionBaseFragmentFaults, HugeLengthFieldIsRefused)
{
    CFakeConnection connection;
    connection.m_input = {0xFF, 0xFF, 0xFF, 0xFF};
    FragmentBuffer buffer;
    unsigned int length = 0;
    EXPECT_FALSE(connection.ReadFragment(&buffer.data, 0, 4, 0, &length));
    EXPECT_EQ(connection.m_reads, 1);
    EXPECT_NE(connection.GetLastErrorCode(), 0u);
}

TEST(ConnectionBaseFragmentFaults, FailedReadKeepsItsError)
{
    CFakeConnection connection;
    connection.m_throwOnRead = true;
    connection.m_readError = 0x30002746;
    FragmentBuffer buffer;
    unsigned int length = 0;
    EXPECT_FALSE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(connection.GetLastErrorCode(), 0x30002746u);
}

TEST(ConnectionBaseFragment, OldBufferIsReplaced)
{
    CFakeConnection connection;
    connection.m_input = Frame(1, 1);
    auto more = Frame(2, 2);
    connection.m_input.insert(connection.m_input.end(), more.begin(), more.end());
    FragmentBuffer buffer;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, &length));
    ASSERT_TRUE(connection.ReadFragment(&buffer.data, &length));
    EXPECT_EQ(length, 20u);
    EXPECT_EQ(buffer.data[19], 1);
}

namespace {

class LoggingConnection : public CFakeConnection {
public:
    using CFakeConnection::Log;
};

}

TEST(ConnectionBaseLogging, TraceOnlyWhileEnabledAndCut)
{
    TestSupport::CDebugOutputFile capture;
    LoggingConnection connection;
    connection.Log(L"hidden %d\n", 1);
    connection.EnableLogging(true, nullptr);
    connection.Log(L"shown %s %d\n", L"text", 2);
    connection.Log(L"%s", std::wstring(6000, L'x').c_str());
    connection.EnableLogging(false, nullptr);
    connection.Log(L"hidden again\n");

    const std::string text = capture.Read();
    EXPECT_EQ(text.find("hidden"), std::string::npos);
    EXPECT_NE(text.find("CConnectionBase - Logging enabled!"), std::string::npos);
    EXPECT_EQ(text.find("Logging disabled"), std::string::npos);
    EXPECT_NE(text.find("shown text 2"), std::string::npos);
    const std::size_t run = text.find_last_not_of("x\n");
    const std::size_t xs = std::count(text.begin() + static_cast<std::ptrdiff_t>(run + 1), text.end(), 'x');
    EXPECT_EQ(xs, 4095u);
}
