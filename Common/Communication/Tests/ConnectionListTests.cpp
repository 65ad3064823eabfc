#include "Common/Communication/ConnectionList.h"
#include "Common/Communication/Tests/FakeConnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::_;
using ::testing::Return;
using ZELL::CConnectionList;
using ZELL::IConnection;
using ZELL::Testing::CFakeConnection;

namespace {

class MockProtocol : public ZELL::IProtocol {
public:
    MOCK_METHOD(void, SetConnection, (IConnection*), (override));
    MOCK_METHOD(IConnection*, GetConnection, (), (const, override));
    MOCK_METHOD(bool, Request,
                (unsigned char*, unsigned int, unsigned char**, unsigned int&, ZELL::ProgressCallback, void*),
                (override));
    MOCK_METHOD(bool, Request,
                (unsigned short, unsigned char*, unsigned int, unsigned char**, unsigned int&, ZELL::ProgressCallback,
                 void*),
                (override));
    MOCK_METHOD(unsigned short, GetLastCommandError, (), (override));
    MOCK_METHOD(const wchar_t*, GetLastErrorMessage, (), (const, override));
};

}

TEST(ConnectionList, NamesAreExactAndReplaced)
{
    MockProtocol protocol;
    CFakeConnection first;
    CFakeConnection second;
    CConnectionList list(&protocol);
    list.AddConnection(L"A", &first);
    list.AddConnection(L"A", &second);
    EXPECT_EQ(list.GetConnection(L"A"), &second);
    EXPECT_EQ(list.GetConnection(L"a"), nullptr);
    EXPECT_EQ(list.GetConnection(L"A "), nullptr);
}

TEST(ConnectionList, DeletingTheCurrentConnectionDetachesIt)
{
    MockProtocol protocol;
    CFakeConnection tcp;
    CFakeConnection serial;
    CConnectionList list(&protocol);
    list.AddConnection(L"TCPIP", &tcp);
    list.AddConnection(L"RS232", &serial);

    EXPECT_CALL(protocol, GetConnection()).WillOnce(Return(&tcp)).WillOnce(Return(&tcp));
    EXPECT_CALL(protocol, SetConnection(nullptr)).Times(1);
    EXPECT_TRUE(list.DeleteConnection(L"RS232"));
    EXPECT_TRUE(list.DeleteConnection(L"TCPIP"));
    EXPECT_EQ(list.GetConnection(L"TCPIP"), nullptr);
    EXPECT_FALSE(tcp.IsOpen());
}

TEST(ConnectionList, DeleteOnEmptyOrUnknownAsksNothing)
{
    MockProtocol protocol;
    EXPECT_CALL(protocol, GetConnection()).Times(0);
    EXPECT_CALL(protocol, SetConnection(_)).Times(0);
    CConnectionList list(&protocol);
    EXPECT_FALSE(list.DeleteConnection(L"A"));
    CFakeConnection connection;
    list.AddConnection(L"A", &connection);
    EXPECT_FALSE(list.DeleteConnection(L"B"));
}

TEST(ConnectionList, CopiesShareThePointersOnly)
{
    MockProtocol protocol;
    CFakeConnection connection;
    CConnectionList list(&protocol);
    list.AddConnection(L"A", &connection);
    CConnectionList copy(list);
    EXPECT_CALL(protocol, GetConnection()).WillOnce(Return(nullptr));
    EXPECT_TRUE(copy.DeleteConnection(L"A"));
    EXPECT_EQ(list.GetConnection(L"A"), &connection);
    EXPECT_EQ(copy.GetConnection(L"A"), nullptr);
}

TEST(ConnectionList, WorksWithoutProtocol)
{
    CConnectionList list(nullptr);
    CFakeConnection connection;
    list.AddConnection(L"A", &connection);
    EXPECT_TRUE(list.DeleteConnection(L"A"));
}
