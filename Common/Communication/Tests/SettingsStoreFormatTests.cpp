// The stored forms of the connection settings, attribute by attribute: the
// XML text (names, order, number and truth forms) and the registry values
// (names and value types), written and read. Profiles and files of earlier
// runs must read the same, so each row pins one attribute in both stores.

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/SystemHelper/System/RegistryEx.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Format.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

enum class ENStored { Text, Number, ReadOnly };

// One attribute set to a value other than its default. `Text` values are
// registry strings, `Number` values registry DWORDs; `ReadOnly` ones are
// read from a DWORD but never written to the registry.
struct tStoredAttribute {
    const wchar_t* name;
    std::wstring text;
    ENStored stored;
    DWORD number;
};

const std::wstring kHostile = L"O'Brien & <S\u00f6hne> \"\u03a9\"";

// In the order the XML text carries them.
const std::vector<tStoredAttribute> kTcpIpAttributes = {
    {L"IP-Address", L"10.20.30.40", ENStored::Text, 0},
    {L"ServicePort", L"502", ENStored::Number, 502},
    {L"CloseWaitTime", L"333", ENStored::Number, 333},
    {L"ConnectTimeoutSeconds", L"21", ENStored::Number, 21},
    {L"SendTimeoutSeconds", L"22", ENStored::Number, 22},
    {L"ReceiveTimeoutSeconds", L"23", ENStored::Number, 23},
    {L"RestartTimeoutSeconds", L"24", ENStored::Number, 24},
    {L"LengthPos", L"3", ENStored::ReadOnly, 3},
    {L"SizeOfLength", L"1", ENStored::ReadOnly, 1},
    {L"LengthCorrection", L"-2", ENStored::ReadOnly, 0xFFFFFFFEu},
    {L"IdentifyByName", L"true", ENStored::Number, 1},
    {L"NameResolution", L"true", ENStored::Number, 1},
    {L"NetworkName", kHostile, ENStored::Text, 0},
    {L"IP-AddressFrom", L"10.0.0.1", ENStored::Text, 0},
    {L"IP-AddressTo", L"10.0.0.9", ENStored::Text, 0},
    {L"DefaultServicePort", L"false", ENStored::Number, 0},
};

const std::vector<tStoredAttribute> kSerialAttributes = {
    {L"device", kHostile, ENStored::Text, 0},
    {L"baudrate", L"57600", ENStored::Number, 57600},
    {L"parity", L"odd", ENStored::Text, 0},
    {L"databits", L"7", ENStored::Number, 7},
    {L"stopbits", L"1.5", ENStored::Text, 0},
    {L"timeout", L"4000", ENStored::Number, 4000},
    {L"inbuf-size", L"777", ENStored::Number, 777},
    {L"outbuf-size", L"888", ENStored::Number, 888},
    {L"dsr_flow", L"true", ENStored::Number, 1},
    {L"cts_flow", L"true", ENStored::Number, 1},
    {L"dtr_control", L"enable", ENStored::Text, 0},
    {L"rts_control", L"toggle", ENStored::Text, 0},
    {L"asynchron", L"false", ENStored::Number, 0},
    {L"RestartTimeoutSeconds", L"33", ENStored::Number, 33},
    {L"ChecksumLength", L"2", ENStored::Number, 2},
};

struct tStoreCase {
    const char* label;
    const wchar_t* element;
    std::function<std::unique_ptr<ZELL::CConnectionBase>()> make;
    const std::vector<tStoredAttribute>* attributes;
};

std::wstring UniqueKey()
{
    static std::atomic<int> counter{0};
    return FormatW(L"HKEY_CURRENT_USER\\Software\\Zell Software\\Store %d %d\\Communication",
                   static_cast<int>(getpid()), ++counter);
}

std::wstring ElementText(const tStoreCase& c)
{
    std::wstring text = L"<?xml version='1.0'?> <" + std::wstring(c.element) + L" ";
    for (const tStoredAttribute& attribute : *c.attributes)
        text += std::wstring(attribute.name) + L"='" + XmlEscape(attribute.text) + L"' ";
    return text + L"/>";
}

constexpr DWORD kAbsent = 0xABCD1234u;
const std::wstring kAbsentText = L"<absent>";

class SettingsStoreFormat : public testing::TestWithParam<tStoreCase> {};

TEST_P(SettingsStoreFormat, XmlTextNamesEveryAttributeInItsPlace)
{
    const tStoreCase& c = GetParam();
    auto connection = c.make();
    ASSERT_TRUE(connection->SetSettingsXML(ElementText(c)));
    EXPECT_EQ(connection->GetSettingsXML(), ElementText(c));
    for (const tStoredAttribute& attribute : *c.attributes)
        EXPECT_EQ(connection->GetSettingsValue(attribute.name), attribute.text) << attribute.name;
}

TEST_P(SettingsStoreFormat, RegistryHoldsEachAttributeAsOneValueOfItsType)
{
    const tStoreCase& c = GetParam();
    const std::wstring key = UniqueKey();
    auto connection = c.make();
    ASSERT_TRUE(connection->SetSettingsXML(ElementText(c)));
    ASSERT_TRUE(connection->SaveSettingsRegistry(key));
    const wutils::CRegistryEx registry(key);
    for (const tStoredAttribute& attribute : *c.attributes) {
        const DWORD number = registry.GetDWordValue(c.element, attribute.name, kAbsent);
        const std::wstring text = registry.GetStringValue(c.element, attribute.name, kAbsentText);
        switch (attribute.stored) {
        case ENStored::Text:
            EXPECT_EQ(text, attribute.text) << attribute.name;
            EXPECT_EQ(number, kAbsent) << attribute.name;
            break;
        case ENStored::Number:
            EXPECT_EQ(number, attribute.number) << attribute.name;
            EXPECT_EQ(text, kAbsentText) << attribute.name;
            break;
        case ENStored::ReadOnly:
            EXPECT_EQ(number, kAbsent) << attribute.name;
            EXPECT_EQ(text, kAbsentText) << attribute.name;
            break;
        }
    }
}

TEST_P(SettingsStoreFormat, RegistryValuesOfAnEarlierRunReadBack)
{
    const tStoreCase& c = GetParam();
    const std::wstring key = UniqueKey();
    const wutils::CRegistryEx registry(key);
    for (const tStoredAttribute& attribute : *c.attributes) {
        if (attribute.stored == ENStored::Text)
            ASSERT_TRUE(registry.SetStringValue(c.element, attribute.name, attribute.text));
        else
            ASSERT_TRUE(registry.SetDWordValue(c.element, attribute.name, attribute.number));
    }
    auto connection = c.make();
    ASSERT_TRUE(connection->LoadSettings(key, ZELL::ISettings::Registry));
    EXPECT_EQ(connection->GetSettingsXML(), ElementText(c));

    // And what one run writes, the next one reads.
    auto next = c.make();
    ASSERT_TRUE(connection->SaveSettings(key, ZELL::ISettings::Registry));
    ASSERT_TRUE(next->LoadSettings(key, ZELL::ISettings::Registry));
    EXPECT_EQ(next->GetSettingsXML(), connection->GetSettingsXML());
}

INSTANTIATE_TEST_SUITE_P(
    Connections, SettingsStoreFormat,
    testing::Values(tStoreCase{"TcpIp", L"TCPIP", [] { return std::make_unique<ZELL::CTCPIPConnection>(); },
                               &kTcpIpAttributes},
                    tStoreCase{"Serial", L"RS232", [] { return std::make_unique<ZELL::CRS232Connection>(); },
                               &kSerialAttributes}),
    [](const testing::TestParamInfo<tStoreCase>& info) { return std::string(info.param.label); });

}
