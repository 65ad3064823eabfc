#include "Common/Communication/IdentificationAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/Tests/ServiceProtocolFakeDevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace ZELL::Testing {
namespace {

struct IdentRig {
    using Service = std::function<Bytes(const Bytes& request)>;

    explicit IdentRig(Service service_)
        : service(std::move(service_))
        , connection([this](const Bytes& frame) {
            commands.push_back(Word(frame, 0));
            const std::size_t skip = (Word(frame, 14) & 0x1000) ? 4 : 0;
            requests.emplace_back(frame.begin() + 18 + static_cast<std::ptrdiff_t>(skip), frame.end());
            return std::vector<Bytes>{AnswerTo(frame, 0x0004, 0, service(requests.back()))};
        })
    {
    }

    std::wstring Message() const { return api.GetLastErrorMessage(); }

    Service service;
    std::vector<Bytes> requests;
    std::vector<unsigned short> commands;
    CFakeDeviceConnection connection;
    CServiceProtocol protocol{&connection};
    CIdentificationAPI api{&protocol};
};

Bytes TextReply(unsigned short service, const std::string& text, int lengthByte = -1)
{
    Bytes bytes;
    AppendWord(bytes, service);
    AppendWord(bytes, 0);
    bytes.push_back(static_cast<unsigned char>(lengthByte < 0 ? text.size() : static_cast<std::size_t>(lengthByte)));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

TEST(IdentificationAPIText, OrderNumberTravelsUnderCommandOne)
{
    IdentRig rig([](const Bytes&) { return TextReply(1, "0614-0352"); });
    char* text = nullptr;
    ASSERT_TRUE(rig.api.GetOrderNumber(&text));
    EXPECT_STREQ(text, "0614-0352");
    delete[] text;
    EXPECT_EQ(rig.commands.at(0), 1);
    EXPECT_EQ(rig.requests.at(0), (Bytes{1, 0}));
}

TEST(IdentificationAPIText, EmptyTextAndLeastLengths)
{
    IdentRig rig([](const Bytes& request) { return TextReply(Word(request, 0), ""); });
    char* text = nullptr;
    ASSERT_TRUE(rig.api.GetOrderNumber(&text));
    EXPECT_STREQ(text, "");
    delete[] text;
    EXPECT_FALSE(rig.api.GetConnectionType(nullptr));
    EXPECT_EQ(rig.api.GetLastErrorCode(), 10);
    EXPECT_NE(rig.Message().find(L"IDENT_GROUP_DATASIZE_LESS"), std::wstring::npos);
}

TEST(IdentificationAPIText, LengthByteMustMatchTheReply)
{
    IdentRig rig([](const Bytes&) { return TextReply(1, "12345678", 10); });
    EXPECT_FALSE(rig.api.GetOrderNumber(nullptr));
    const std::wstring message = rig.Message();
    EXPECT_NE(message.find(L"IDENT_GRP_DATABYTES_EXPEXTED = 10\n"), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"IDENT_GRP_DATABYTES_RECEIVED = 8"), std::wstring::npos) << message;
}

TEST(IdentificationAPIChecks, ConnectionInformationLengths)
{
    Bytes reply{0xFF, 0xFF, 0, 0, 0};
    IdentRig rig([&reply](const Bytes&) { return reply; });
    EXPECT_FALSE(rig.api.SetConnectionInformation(1, 2, 3, 4));
    EXPECT_EQ(rig.api.GetLastErrorCode(), 65535);
    EXPECT_NE(rig.Message().find(L"IDENT_65535!"), std::wstring::npos);
    EXPECT_NE(rig.Message().find(L"IDENT_GROUP_DATASIZE_MORE"), std::wstring::npos);
    reply = {0xFF, 0xFF, 0};
    EXPECT_FALSE(rig.api.SetConnectionInformation(1, 2, 3, 4));
    EXPECT_NE(rig.Message().find(L"IDENT_GROUP_DATASIZE_LESS"), std::wstring::npos);
    reply = {0xFF, 0xFF, 0, 0};
    EXPECT_TRUE(rig.api.SetConnectionInformation(1, 2, 3, 4));
    EXPECT_EQ(rig.requests.back(), (Bytes{0xFF, 0xFF, 1, 0, 2, 0, 3, 0, 4, 0}));
    EXPECT_EQ(rig.api.GetLastErrorCode(), 65535) << "a success keeps the last failure";
}

TEST(IdentificationAPIChecks, StatusAndEcho)
{
    IdentRig rig([](const Bytes&) { return Bytes{5, 0, 0x1A, 0, 1, 0}; });
    USHORT vendor = 0;
    EXPECT_FALSE(rig.api.GetVendorID(&vendor));
    EXPECT_NE(rig.Message().find(L"IDENT_GRP_ERR_RESP_1a."), std::wstring::npos);
    rig.service = [](const Bytes&) { return Bytes{6, 0, 0, 0, 1, 0}; };
    EXPECT_FALSE(rig.api.GetVendorID(&vendor));
    EXPECT_NE(rig.Message().find(L"IDENT_GRP_CMD_ERR_RESP: 6"), std::wstring::npos);
    rig.service = [](const Bytes&) { return Bytes{5, 0, 0, 0, 0x21, 0}; };
    EXPECT_TRUE(rig.api.GetVendorID(&vendor));
    EXPECT_EQ(vendor, 0x21);
}

TEST(IdentificationAPIConnection, ConnectAndClosedConnection)
{
    IdentRig rig([](const Bytes&) { return Bytes{}; });
    EXPECT_FALSE(rig.api.Connect()) << "already open";
    EXPECT_EQ(rig.api.GetLastErrorCode(), 1);
    EXPECT_NE(rig.Message().find(L"IDENT_1!"), std::wstring::npos);
    rig.connection.m_open = false;
    EXPECT_FALSE(rig.api.GetSerialNumber(nullptr));
    EXPECT_EQ(rig.api.GetLastErrorCode(), 7);
    EXPECT_NE(rig.Message().find(L"IDENT_GRP_CONN_NOT_OPEN"), std::wstring::npos);
    EXPECT_TRUE(rig.requests.empty());
    EXPECT_TRUE(rig.api.Connect());
    CIdentificationAPI none(nullptr);
    EXPECT_FALSE(none.Connect());
    EXPECT_EQ(none.GetLastErrorCode(), 0);
}

TEST(IdentificationAPIVersions, RevisionTexts)
{
    IdentRig rig([](const Bytes&) { return Bytes{19, 0, 0, 0, 1, 2, 3, 10, 0, 255, 0, 0, 7}; });
    wchar_t* first = nullptr;
    wchar_t* second = nullptr;
    ASSERT_TRUE(rig.api.GetRevisionAndVersion(&first, &second, nullptr));
    EXPECT_STREQ(first, L"01.02.03");
    EXPECT_STREQ(second, L"10.00.255");
    delete[] first;
    delete[] second;
}

TEST(IdentificationAPISettings, ExclusiveModeAndBufferSizeReachTheProtocol)
{
    IdentRig rig([](const Bytes& request) -> Bytes {
        switch (Word(request, 0)) {
        case 10:
            return {10, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 1, 0, 1};
        case 11:
            return {11, 0, 0, 0, 0, 0, 0, 0, 0};
        default:
            return {13, 0, 0, 0, 0x00, 0x02};
        }
    });
    ULONG ident = 0;
    BYTE state = 0;
    ASSERT_TRUE(rig.api.SetExclusiveMode(0, 1, &ident, &state, nullptr, nullptr));
    EXPECT_EQ(ident, 0x11223344u);
    EXPECT_EQ(rig.protocol.GetSettingsValue(L"Exclusive-ID"), std::to_wstring(0x11223344u));
    ASSERT_TRUE(rig.api.CloseExclusiveMode(ident, &ident, &state));
    EXPECT_EQ(Word(rig.requests.back(), 2), 0x3344) << "the request carries the ident";
    EXPECT_EQ(rig.protocol.GetSettingsValue(L"Exclusive-ID"), L"0");
    USHORT size = 0;
    ASSERT_TRUE(rig.api.GetProtocolBufferSize(&size));
    EXPECT_EQ(size, 512);
    EXPECT_EQ(rig.protocol.GetSettingsValue(L"MaxFragmentDataSize"), L"512");
}

TEST(IdentificationAPISettings, RefusedExclusiveModeStillFillsTheOutputs)
{
    IdentRig rig([](const Bytes&) { return Bytes{10, 0, 0x14, 0x82, 9, 0, 0, 0, 2, 1, 1}; });
    ULONG ident = 0;
    BYTE state = 0;
    EXPECT_FALSE(rig.api.SetExclusiveMode(0, 1, &ident, &state, nullptr, nullptr));
    EXPECT_EQ(ident, 9u);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(rig.api.GetLastErrorCode(), 13);
    EXPECT_EQ(rig.protocol.GetSettingsValue(L"Exclusive-ID"), L"0");
}

}
}
