#include "Common/PelorusDLL/ConnectionTypes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ZELL::CConnectionTypes;
using ZELL::tConnectionType;

// What the dialogs, the command line and the workers rely on when they ask
// the table instead of a connection's class: each type finds itself back
// from its connection, its service works on that connection, and the
// connection's capabilities agree with what its service does.
TEST(ConnectionTypes, EachTypeFindsItselfBackAndItsPartsAgree)
{
    for (const tConnectionType& type : CConnectionTypes::All()) {
        SCOPED_TRACE(std::wstring(type.word));
        auto connection = type.makeConnection();
        ASSERT_NE(connection, nullptr);
        if (type.offered) {
            EXPECT_EQ(connection->GetType(), type.word);
            EXPECT_EQ(&CConnectionTypes::Of(*connection), &type);
        } else {
            EXPECT_NE(CConnectionTypes::Find(connection->GetType()), nullptr) << "stands in with an offered type";
        }
        EXPECT_NE(connection->GetSettingsValue(connection->AddressSettingName()), L"ERROR");

        auto service = CConnectionTypes::MakeService(*connection);
        ASSERT_NE(service, nullptr);
        EXPECT_EQ(service->GetConnection(), connection.get());
        EXPECT_EQ(service->SendsRestartWithoutWaiting(), connection->RestartsByReconnecting());
        EXPECT_EQ(CConnectionTypes::IsNetworkType(type), connection->IsNetworkConnection());
    }
}

TEST(ConnectionTypes, WordsAreFoundWithoutRegardToCaseAndAnUnknownOneIsTheSerialLine)
{
    ASSERT_NE(CConnectionTypes::Find(L"tcpip"), nullptr);
    EXPECT_EQ(std::wstring(CConnectionTypes::Find(L"tcpip")->word), L"TCPIP");
    EXPECT_EQ(CConnectionTypes::Find(L"TCP"), nullptr);
    EXPECT_EQ(CConnectionTypes::Find(L""), nullptr);
    for (const wchar_t* word : {L"", L"X25", L"TRAMQ", L"rs232"})
        EXPECT_EQ(CConnectionTypes::MakeConnection(word)->GetType(), L"RS232") << word;
    EXPECT_TRUE(CConnectionTypes::MakeConnection(L"Tcpip")->IsNetworkConnection());
    EXPECT_EQ(CConnectionTypes::OfferedWords(L" or "), L"RS232 or TCPIP");
    EXPECT_EQ(CConnectionTypes::IndexOf(CConnectionTypes::OfWord(L"TRAMQ")), 2u);
}

}
