// The library as its users load it: which classes it exports, which helpers
// stay its own, where it finds its error texts, and one service call through
// it against the simulated device.

#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/PelorusErrorsLookup.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/Communication/Tests/LoopbackServer.h"
#include "Common/PelorusDLL/PelorusErrorHandler.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Tests/ExportedSymbols.h"
#include "Platform/Net/WinSock.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

TEST(PelorusLibrary, ExportsItsClassesAndKeepsItsHelpersToItself)
{
    const std::string symbols = TestSupport::ExportedSymbols(PELORUS_LIBRARY_FILE);
    ASSERT_FALSE(symbols.empty()) << "nm could not read " << PELORUS_LIBRARY_FILE;
    for (const char* exported : {"CServiceBase::GetLastErrorCode()", "CSIORegComm::", "CTCPIPService::CTCPIPService(",
                                 "CTCPIPServiceBase::", "CSIOService::ExecuteService", "CParamComRegComBase::", "CPelorusErrorHandler::Evaluate",
                                 "CPing::PingUsingICMP", "ZELL::CTCPIPConnection::Open()",
                                 "ZELL::CRS232Connection::", "ZELL::CServiceProtocol::", "ZELL::CServiceAPI::",
                                 "ZELL::CConnectionList::", "CArticleNumber::", "typeinfo for CZellException"})
        EXPECT_NE(symbols.find(exported), std::string::npos) << exported << " is not exported";
    // The system helpers are the library's own copy; the program has another.
    for (const char* hidden : {"CConversions::", "CLanguageHelper::", "CDefaultLogger::", "wutils::", "CNibble::"})
        EXPECT_EQ(symbols.find(hidden), std::string::npos) << hidden << " leaks out of the library";
}

TEST(PelorusLibrary, FindsItsErrorTextsBesideItself)
{
    const std::filesystem::path library(PELORUS_LIBRARY_FILE);
    ASSERT_TRUE(std::filesystem::exists(library.parent_path() / "PelorusErrors.en"));
    ASSERT_TRUE(std::filesystem::exists(library.parent_path() / "PelorusErrors.de"));
    // The test program lies elsewhere: only the library's own folder has them.
    ZELL::CPelorusErrorsLookup lookup;
    EXPECT_EQ(lookup.GetShortDescription(0x202008CA, true), L"Not connected");
}

TEST(PelorusLibrary, SharesTheThreadsLastErrorWithTheProgram)
{
    // The program sets the code, the library's handler reads it: both see
    // the one platform, as both see the one system.
    CPelorusErrorHandler handler;
    tErrorMessage message;
    SetLastError(0x20010200);
    EXPECT_EQ(handler.Evaluate(&message), 0x20010200u);
    EXPECT_FALSE(message.strText.IsEmpty());
}

TEST(PelorusLibrary, IdentifiesTheSimulatedDeviceThroughTheLibrary)
{
    ZELL::Testing::WinsockScope winsock;
    DevSim::CDeviceSimulator device;
    ASSERT_TRUE(device.Start()) << device.LastError();

    ZELL::CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(
        FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
                L"ReceiveTimeoutSeconds='2' CloseWaitTime='0'/>",
                unsigned{device.Port()})));
    connection.Open();
    {
        ZELL::CServiceProtocol protocol(&connection);
        ZELL::CServiceAPI api(&protocol);
        char* text = nullptr;
        ASSERT_TRUE(api.IdentifyDevice(&text));
        ASSERT_NE(text, nullptr);
        EXPECT_NE(std::string(text).find("ORDER=0612-0001"), std::string::npos) << text;
        delete[] text;
    }
    // The service the program holds, created and deleted through the library.
    std::unique_ptr<CServiceBase> service = std::make_unique<CTCPIPService>(&connection);
    std::wstring order, description, hardware, software;
    ASSERT_TRUE(service->IdentifyDevice(order, description, hardware, software)) << std::hex
                                                                                 << service->GetLastErrorCode();
    EXPECT_EQ(order, L"0612-0001");
    EXPECT_EQ(description, L"Simulated coupler");
    service.reset();
    connection.Close();
}

TEST(PelorusLibrary, ConnectionFailuresArriveAsTheirExceptionTypes)
{
    ZELL::Testing::WinsockScope winsock;
    DevSim::CDeviceSimulator device;
    ASSERT_TRUE(device.Start()) << device.LastError();
    const unsigned port = device.Port();
    device.Stop(); // nothing listens there any more

    ZELL::CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(
        FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='1'/>", port)));
    bool caught = false;
    try {
        connection.Open();
    } catch (ZELL::CConnectionException& error) {
        caught = true;
        EXPECT_NE(error.m_lCode, 0);
    }
    EXPECT_TRUE(caught);
    EXPECT_FALSE(connection.IsOpen());
}
