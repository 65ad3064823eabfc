#include "Common/PelorusDLL/FieldbusBaudrate.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/PelorusDLL/Tests/DebugCapture.h"
#include "Common/PelorusDLL/Tests/FakeService.h"

#include "Common/Communication/ZellException.h"
#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace {

class ServiceLastError : public ::testing::Test {
protected:
    CFakeConnection m_connection;
    CFakeService m_service{&m_connection};
};

TEST_F(ServiceLastError, ReadingConsumesTheCode)
{
    m_service.SetLastErrorCode(0x20088212);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(ServiceLastError, StoredCodeIsNeverOverwrittenAndPublished)
{
    m_service.SetLastErrorCode(0x20088213);
    m_connection.m_code = 0x20010200;
    m_service.SetLastErrorCode(0x20088214);
    EXPECT_EQ(GetLastError(), 0x20088213u);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088213u);
}

TEST_F(ServiceLastError, ConnectionCodeComesBeforeTheGivenOne)
{
    m_connection.m_code = 0x20010200;
    m_service.SetLastErrorCode(0x20088212);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    m_connection.m_code = 0;
    m_service.SetLastErrorCode(0x20088212);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
}

TEST_F(ServiceLastError, ResetClearsTheThreadValueToo)
{
    m_service.SetLastErrorCode(0x20088212);
    m_service.ResetLastErrorCode();
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST(ServiceWithoutConnection, SetLastErrorCodeReportsTheMissingConnection)
{
    CFakeService service(nullptr);
    service.SetLastErrorCode(0x20088212);
    EXPECT_EQ(GetLastError(), PELORUS_ERROR_NO_CONNECTION);
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_NO_CONNECTION);
}

TEST(ServiceWithoutConnection, OperationsFailWithoutRunning)
{
    CFakeService service(nullptr);
    bool ran = false;
    EXPECT_FALSE(service.Operation([&] {
        ran = true;
        return true;
    }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_NO_CONNECTION);
}

TEST_F(ServiceLastError, OperationResetsAnOldCodeOnEntry)
{
    m_service.SetLastErrorCode(0x20088212);
    EXPECT_TRUE(m_service.Operation([] { return true; }));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(ServiceLastError, MalformedDeviceTextBecomesInvalidArgument)
{
    // What the number conversion throws on a text such as "BAUD".
    EXPECT_FALSE(m_service.Operation([]() -> bool { throw std::wstring(L"GenStrToNumber failed: 'BAUD'"); }));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.Operation([]() -> bool { throw std::invalid_argument("stod"); }));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

TEST_F(ServiceLastError, LibraryExceptionKeepsItsCode)
{
    EXPECT_FALSE(m_service.Operation([]() -> bool { throw CZellException(L"timeout", 0x20010200); }));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    EXPECT_FALSE(m_service.Operation([]() -> bool { throw CZellException(L"no code", 0); }));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

TEST(ServiceObject, CannotBeCopied)
{
    EXPECT_FALSE(std::is_copy_constructible_v<CServiceBase>);
    EXPECT_FALSE(std::is_copy_assignable_v<CServiceBase>);
}

TEST(ServiceLogging, SilentWhileSwitchedOff)
{
    CDebugCapture capture;
    CFakeConnection connection;
    CFakeService service(&connection);
    service.Operation([] { return false; });
    service.Trace(L"text %d\n", 1);
    EXPECT_EQ(capture.Text(), L"");
}

TEST(ServiceLogging, TracesEnterAndLeaveWithTheCode)
{
    CDebugCapture capture;
    CFakeConnection connection;
    CFakeService service(&connection);
    service.EnableLogging(true, L"device");
    service.Operation([&] {
        service.SetLastErrorCode(0x20088212);
        return false;
    });
    service.Operation([] { return true; });
    const std::wstring text = capture.Text();
    EXPECT_NE(text.find(L"CServiceBase - Logging enabled!\n"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### ENTER - CFakeService::Operation (Line 42)\n"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CFakeService::Operation with error 0x20088212 (Line 42)\n"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CFakeService::Operation with true (Line 42)\n"), std::wstring::npos);
}

TEST(ServiceLogging, CaughtExceptionIsTracedWithItsCode)
{
    CDebugCapture capture;
    CFakeConnection connection;
    CFakeService service(&connection);
    service.EnableLogging(true, nullptr);
    service.Operation([]() -> bool { throw std::wstring(L"GenStrToNumber failed: 'BAUD'"); });
    const std::wstring text = capture.Text();
    EXPECT_NE(text.find(L"  ## CATCH - CFakeService::Operation error code = 0x20200008 (Line 42)\n"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CFakeService::Operation with error 0x20200008 (Line 42)\n"), std::wstring::npos);
}

TEST(ServiceLogging, SwitchingOffIsSilentFromThenOn)
{
    CDebugCapture capture;
    CFakeConnection connection;
    CFakeService service(&connection);
    service.EnableLogging(true, L"first");
    service.EnableLogging(false, nullptr);
    service.Trace(L"after\n");
    const std::wstring text = capture.Text();
    EXPECT_NE(text.find(L"CServiceBase - Logging enabled!\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"CServiceBase - Logging disabled!"), std::wstring::npos);
    EXPECT_EQ(text.find(L"after"), std::wstring::npos);
    EXPECT_FALSE(service.IsLoggingEnabled());
    EXPECT_EQ(service.GetLogName(), L"first");
}

TEST(ServiceLogging, OverlongLineIsCutNotOverrun)
{
    CDebugCapture capture;
    CFakeConnection connection;
    CFakeService service(&connection);
    service.EnableLogging(true, nullptr);
    const std::wstring huge(10000, L'x');
    service.Trace(L"%s\n", huge.c_str());
    const std::wstring text = capture.Text();
    const std::size_t run = text.find(std::wstring(4095, L'x'));
    EXPECT_NE(run, std::wstring::npos);
    EXPECT_EQ(text.find(std::wstring(4096, L'x')), std::wstring::npos);
}

TEST(ServiceRecords, MonitorEntriesHaveTheDeviceLayout)
{
    EXPECT_EQ(sizeof(tKBMonEntry), 12u);
    EXPECT_EQ(offsetof(tKBMonEntry, sErrorCode), 4u);
    EXPECT_EQ(offsetof(tKBMonEntry, byFlags), 7u);
    EXPECT_EQ(offsetof(tKBMonEntry, dwReferenceTime), 8u);
    EXPECT_EQ(sizeof(tKBMonEntryEx), 29u);
    EXPECT_EQ(offsetof(tKBMonEntryEx, wErrorCode), 24u);
    EXPECT_EQ(offsetof(tKBMonEntryEx, byAbsoluteTimes), 28u);
}

TEST(ServiceRecords, ExtendedEntriesLieWithoutGapsInAVector)
{
    std::vector<tKBMonEntryEx> entries(3);
    entries[1].llEventTime = 0x0102030405060708;
    entries[1].byAbsoluteTimes = 1;
    entries[2].wErrorCode = 0xBEEF;
    const auto* bytes = reinterpret_cast<const unsigned char*>(entries.data());
    long long event = 0;
    std::memcpy(&event, bytes + 29, sizeof(event));
    EXPECT_EQ(event, 0x0102030405060708);
    EXPECT_EQ(bytes[29 + 28], 1);
    unsigned short code = 0;
    std::memcpy(&code, bytes + 58 + 24, sizeof(code));
    EXPECT_EQ(code, 0xBEEF);
}

TEST(ServiceRecords, DefaultsBeforeAnythingIsRead)
{
    const tFbcIdentification id;
    EXPECT_EQ(id.strOrderNumber, L"--");
    EXPECT_EQ(id.strIMEI, L"--");
    const CServiceBase::tDateTime time;
    EXPECT_EQ(time.sDaylightSaving, -1);
    const CServiceBase::tNetworkParams params;
    EXPECT_TRUE(params.strSNTPHostName.empty());
    EXPECT_STREQ(CServiceBase::SERVICE_NOT_SUPPORTED, L"Not supported!");
}

struct BaudCase {
    const wchar_t* text;
    double expected;
};

class FieldbusBaudrateText : public ::testing::TestWithParam<BaudCase> {};

TEST_P(FieldbusBaudrateText, ReadsNumberAndUnit)
{
    double baud = -1;
    ASSERT_TRUE(ZELL::ParseFieldbusBaudrate(GetParam().text, baud)) << GetParam().text;
    EXPECT_DOUBLE_EQ(baud, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Units, FieldbusBaudrateText,
                         ::testing::Values(BaudCase{L"12 MBaud", 12e6}, BaudCase{L"1.5 MBaud", 1.5e6},
                                           BaudCase{L"12Mbit/s", 12e6}, BaudCase{L"500 kBaud", 5e5},
                                           BaudCase{L"187.5 kbit/s", 187500}, BaudCase{L"1 GBaud", 1e9},
                                           BaudCase{L"2 Gbit/s", 2e9}, BaudCase{L" 9600", 9600},
                                           BaudCase{L"0", 0}));

TEST(FieldbusBaudrateText, RefusesWhatIsNoNumber)
{
    for (const wchar_t* text : {L"--", L"BAUD", L"", L"MBaud 12", L".", L"-5 kBaud", L"  "}) {
        double baud = 7;
        EXPECT_FALSE(ZELL::ParseFieldbusBaudrate(text, baud)) << text;
        EXPECT_EQ(baud, 7);
    }
}

}
