#include "Products/Corvane/Core/ProgramVersion.h"
#include "Products/Corvane/Core/SettingsFileReader.h"
#include "Products/Corvane/Core/SettingsFileWriter.h"

#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace Corvane {

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

CSettingsFileHeader Header()
{
    CSettingsFileHeader header;
    header.ApplicationName = L"Corvane";
    header.ApplicationLanguage = L"en";
    header.SavedOn = L"2026-12-08 (23:15:07)";
    return header;
}

void FillTwoPortController(CFBCData& data)
{
    data.ArticleNo = L"0614-8202";
    data.Description = L"Controller CS 2ETH RS";
    data.HWVersion = L"03";
    data.SWVersion = L"03.01.02(05)";
    data.FWLVersion = L"ERROR: Service not supported!";
    data.SerialNo = L"SN123";
    data.NetIDName = L"MAC-ID";
    data.NetworkID = L"025AE1000001";
    data.HasClock = true;
    data.HasDIPSwitches = true;
    data.DIPSwitchValue = 0x00A5;
    data.StatusWords = {0x0001, 0x8000};
    ASSERT_TRUE(data.CommonTable.Assign({0x1234, 0x0000}));
    ASSERT_TRUE(data.SpecificTable.Assign({0, 1, 2, 3, 4, 255}));
    data.EthernetInterfaceMode = 1;
    data.HasNetworkParams = true;
    ASSERT_TRUE(data.SetEthernetPortCount(2));
    for (DWORD port = 0; port < 2; ++port) {
        auto& actual = *data.GetActualNetworkParams(port);
        auto& stat = *data.GetStaticNetworkParams(port);
        actual.wIPAddressSource = 2;
        actual.strIPAddress = L"192.168.1." + std::to_wstring(10 + port);
        actual.strSubnetMask = L"255.255.255.0";
        actual.strGatewayAddress = L"192.168.1.1";
        actual.strPreferredDNSServer = L"192.168.1.2";
        actual.strAlternativeDNSServer = L"192.168.1.3";
        actual.strParameter6 = L"192.168.1.4";
        actual.strHostName = L"plc-" + std::to_wstring(port);
        actual.strDomainName = L"plant.local";
        actual.strParameter9 = L"0.0.0.0";
        actual.strMACAddress = L"025AE100000" + std::to_wstring(port);
        actual.strSNTPHostName = L"time.local";
        stat = actual;
        stat.wIPAddressSource = 0;
        stat.strIPAddress = L"10.0.0." + std::to_wstring(port + 1);
    }
    data.HasSDCardSlot = true;
    data.SDCardInfo.bInserted = true;
    data.SDCardInfo.wCardType = 2;
    data.SDCardInfo.bWriteProtected = false;
    data.SDCardInfo.wCapacity = 3900;
    data.SDCardInfo.wFreeMemory = 1200;
    data.SDCardInfo.dwSerialNumber = 0xCAFEBABE;
    data.SDCardInfo.wRootLocation = 1;
    data.ActiveRuntimeSystem = 3;
    data.RuntimeSystems = {1, 3};
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::wistringstream in(text);
    for (std::wstring line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool HasLine(const std::wstring& text, const std::wstring& line)
{
    for (const auto& candidate : Lines(text)) {
        if (candidate == line)
            return true;
    }
    return false;
}

std::string DeviceFile(const std::string& deviceChildren)
{
    return "<?xml version='1.0' encoding='ISO-8859-1'?>\r\n<application application-name=\"x\" >\r\n"
           "    <device>\r\n" +
           deviceChildren + "    </device>\r\n</application>\r\n";
}

class SettingsFileTest : public ::testing::Test {
protected:
    bool Load(const std::string& bytes, CFBCData& data)
    {
        return m_Reader.Load(m_Folder.Write("load.wes", bytes), data);
    }

    bool SaveAndLoad(const CFBCData& source, CFBCData& target)
    {
        CSettingsFileWriter writer;
        const auto path = m_Folder.Path() / "round.wes";
        if (!writer.Save(path, source, Header()))
            return false;
        return m_Reader.Load(path, target);
    }

    CTempFolder m_Folder;
    CSettingsFileReader m_Reader;
};

}

TEST(SettingsFileLayout, HeaderLinesAsEveryVersionWritesThem)
{
    const CFBCData data;
    const auto lines = Lines(CSettingsFileWriter::BuildText(data, Header()));
    ASSERT_GE(lines.size(), 9u);
    const std::wstring asterisks = L"<!-- " + std::wstring(80, L'*') + L" -->";
    EXPECT_EQ(lines[0], L"<?xml version='1.0' encoding='ISO-8859-1'?>");
    EXPECT_EQ(lines[1], asterisks);
    EXPECT_EQ(lines[2], std::wstring(L"<!-- Created by Corvane Version ") + CProgramVersion::Text() + L" -->");
    EXPECT_EQ(lines[3], L"<!-- Saved on 2026-12-08 (23:15:07) -->");
    EXPECT_EQ(lines[4], asterisks);
    EXPECT_EQ(lines[5], L"<!-- WARNING: Manual changes to this file may cause damage to your devices!           -->");
    EXPECT_EQ(lines[5].size(), asterisks.size());
    EXPECT_EQ(lines[6], asterisks);
    EXPECT_EQ(lines[7], std::wstring(L"<application application-name=\"Corvane\" application-ver=\"") +
                            CProgramVersion::Text() + L"\" application-date=\"" + CProgramVersion::ReleaseDate() +
                            L"\" application-lang=\"en\" >");
    EXPECT_EQ(lines[8], L"    <device>");
    EXPECT_EQ(lines.back(), L"</application>");
}

TEST(SettingsFileLayout, TwoPortDeviceWritesPortElementsAndNoSinglePortAddresses)
{
    CFBCData data;
    FillTwoPortController(data);
    const std::wstring text = CSettingsFileWriter::BuildText(data, Header());
    EXPECT_THAT(text, Not(HasSubstr(L"IPAddrCurrent")));
    EXPECT_THAT(text, Not(HasSubstr(L"IPAddrEEPROM")));
    EXPECT_THAT(text, Not(HasSubstr(L"<SubnetMask>")));
    EXPECT_THAT(text, Not(HasSubstr(L"GatewayAddr>")));
    EXPECT_TRUE(HasLine(text, L"                <StaticMACAddress>025AE1000001</StaticMACAddress>"));
    EXPECT_TRUE(HasLine(text, L"                <ActualSNTPServerName>time.local</ActualSNTPServerName>"));
    EXPECT_TRUE(HasLine(text, L"        <NetworkParams EthernetPortCount=\"2\">"));

    std::vector<std::wstring> ports;
    for (const auto& line : Lines(text)) {
        if (line.find(L"NetworkParams Port=") != std::wstring::npos)
            ports.push_back(line);
    }
    EXPECT_THAT(ports, ::testing::ElementsAre(L"            <ActualNetworkParams Port=\"0\">",
                                              L"            <StaticNetworkParams Port=\"0\">",
                                              L"            <ActualNetworkParams Port=\"1\">",
                                              L"            <StaticNetworkParams Port=\"1\">"));
    EXPECT_TRUE(HasLine(text, L"                <StaticIPAddress>10.0.0.2</StaticIPAddress>"));
    EXPECT_TRUE(HasLine(text, L"                <ActualIPAddressSource>2</ActualIPAddressSource>"));
    EXPECT_TRUE(HasLine(text, L"            <SpecificReg005>0x00FF</SpecificReg005>"));
    EXPECT_TRUE(HasLine(text, L"            <Status01>0x8000</Status01>"));
    EXPECT_TRUE(HasLine(text, L"        <DIPSwitchValue>0x00A5</DIPSwitchValue>"));
    EXPECT_TRUE(HasLine(text, L"        <RuntimeSystems ActiveSystem=\"0x0003\">"));
    EXPECT_TRUE(HasLine(text, L"            <System01>0x0003</System01>"));
    EXPECT_TRUE(HasLine(text, L"            <SDCardSerialNumber>3405691582</SDCardSerialNumber>"));
    EXPECT_TRUE(HasLine(text, L"        <HasClock>true</HasClock>"));
}

TEST(SettingsFileLayout, SinglePortDeviceWritesItsAddressesAndOptionalElementsOnlyWhenSet)
{
    CFBCData data;
    data.IPAddrCurrent = L"192.168.1.10";
    const CString currentIP = L"192.168.1.99";
    const std::wstring text = CSettingsFileWriter::BuildText(data, Header(), &currentIP);
    EXPECT_TRUE(HasLine(text, L"        <IPAddrCurrent>192.168.1.10</IPAddrCurrent>"));
    EXPECT_TRUE(HasLine(text, L"        <CurrentIPAddress>192.168.1.99</CurrentIPAddress>"));
    EXPECT_TRUE(HasLine(text, L"        <HasNetworkParams>false</HasNetworkParams>"));
    EXPECT_TRUE(HasLine(text, L"        <CommonTable>"));
    EXPECT_TRUE(HasLine(text, L"        </CommonTable>"));
    EXPECT_THAT(text, Not(HasSubstr(L"<NetworkParams")));
    EXPECT_THAT(text, Not(HasSubstr(L"DIPSwitchValue")));
    EXPECT_THAT(text, Not(HasSubstr(L"SDCardInformation")));
    EXPECT_THAT(CSettingsFileWriter::BuildText(data, Header()), Not(HasSubstr(L"CurrentIPAddress")));
}

TEST(SettingsFileLayout, BytesAreISO88591WithCRLF)
{
    const std::string bytes = CSettingsFileWriter::Encode(L"<a>M\u00FCller</a>\n<b/>\n");
    EXPECT_EQ(bytes, std::string("<a>M\xFCller</a>\r\n<b/>\r\n"));
}

TEST(SettingsFileEscape, EveryTextValueIsEscapedAndPlainTextStaysAsItIs)
{
    EXPECT_EQ(CSettingsFileWriter::Escape(L"A&B <c> \"d\" 'e'"), L"A&amp;B &lt;c&gt; &quot;d&quot; &apos;e&apos;");
    EXPECT_EQ(CSettingsFileWriter::Escape(L"plain text 1.2.3 \u00E4\u00DF\ttab"), L"plain text 1.2.3 \u00E4\u00DF\ttab");
    EXPECT_EQ(CSettingsFileWriter::Escape(L"\u65E5\u672C"), L"&#26085;&#26412;");

    CFBCData data;
    data.ArticleNo = L"0614-<8202>";
    const std::wstring text = CSettingsFileWriter::BuildText(data, Header());
    EXPECT_TRUE(HasLine(text, L"        <ArticleNo>0614-&lt;8202&gt;</ArticleNo>"));

    CSettingsFileHeader header = Header();
    header.ApplicationName = L"A&B";
    EXPECT_THAT(CSettingsFileWriter::BuildText(data, header), HasSubstr(L"application-name=\"A&amp;B\""));
}

TEST_F(SettingsFileTest, RoundTripGivesBackEveryStoredValue)
{
    CFBCData source;
    FillTwoPortController(source);
    source.Description = L"Tank & pump <2> \"north\" 'A' \u00E4 \u65E5 line1\nline2 cr\rend  ";
    source.GetStaticNetworkParams(1)->strHostName = L"h&st";

    source.IMEI = L"356938035643809";

    CFBCData loaded;
    ASSERT_TRUE(SaveAndLoad(source, loaded)) << m_Reader.GetError().str().c_str();
    EXPECT_EQ(loaded.ArticleNo, source.ArticleNo);
    EXPECT_EQ(loaded.IMEI, source.IMEI);
    EXPECT_EQ(loaded.Description.str(), source.Description.str());
    EXPECT_EQ(loaded.SWVersion, source.SWVersion);
    EXPECT_EQ(loaded.FWLVersion, source.FWLVersion);
    EXPECT_EQ(loaded.NetworkID, source.NetworkID);
    EXPECT_EQ(loaded.DIPSwitchValue, 0x00A5);
    EXPECT_TRUE(loaded.HasDIPSwitches);
    EXPECT_EQ(loaded.StatusWords, source.StatusWords);
    EXPECT_EQ(loaded.CommonTable, source.CommonTable);
    EXPECT_EQ(loaded.SpecificTable, source.SpecificTable);
    EXPECT_EQ(loaded.EthernetInterfaceMode, 1);
    ASSERT_EQ(loaded.GetEthernetPortCount(), 2u);
    for (DWORD port = 0; port < 2; ++port) {
        const auto check = [](const CFBCData::tNetworkParams& a, const CFBCData::tNetworkParams& b) {
            EXPECT_EQ(a.wIPAddressSource, b.wIPAddressSource);
            EXPECT_EQ(a.strIPAddress, b.strIPAddress);
            EXPECT_EQ(a.strSubnetMask, b.strSubnetMask);
            EXPECT_EQ(a.strGatewayAddress, b.strGatewayAddress);
            EXPECT_EQ(a.strPreferredDNSServer, b.strPreferredDNSServer);
            EXPECT_EQ(a.strAlternativeDNSServer, b.strAlternativeDNSServer);
            EXPECT_EQ(a.strParameter6, b.strParameter6);
            EXPECT_EQ(a.strHostName, b.strHostName);
            EXPECT_EQ(a.strDomainName, b.strDomainName);
            EXPECT_EQ(a.strParameter9, b.strParameter9);
            EXPECT_EQ(a.strMACAddress, b.strMACAddress);
            EXPECT_EQ(a.strSNTPHostName, b.strSNTPHostName);
        };
        check(*source.GetActualNetworkParams(port), *loaded.GetActualNetworkParams(port));
        check(*source.GetStaticNetworkParams(port), *loaded.GetStaticNetworkParams(port));
    }
    EXPECT_TRUE(loaded.HasSDCardSlot);
    EXPECT_TRUE(loaded.SDCardInfo.bInserted);
    EXPECT_EQ(loaded.SDCardInfo.wCardType, 2);
    EXPECT_EQ(loaded.SDCardInfo.wCapacity, 3900);
    EXPECT_EQ(loaded.SDCardInfo.wFreeMemory, 1200);
    EXPECT_EQ(loaded.SDCardInfo.dwSerialNumber, 0xCAFEBABEu);
    EXPECT_EQ(loaded.SDCardInfo.wRootLocation, 1);
    EXPECT_EQ(loaded.RuntimeSystems, source.RuntimeSystems);
    EXPECT_EQ(loaded.ActiveRuntimeSystem, 3);

    // A loaded file is meant to be written to a device.
    EXPECT_TRUE(loaded.NetworkParamsModified);
    EXPECT_TRUE(loaded.InterfaceModeToWrite);
    EXPECT_TRUE(loaded.ActiveRuntimeSystemToWrite);
    EXPECT_FALSE(loaded.HasTerminalBusExtension);

    EXPECT_EQ(m_Reader.GetHeader().ApplicationName.str(), L"Corvane");
    EXPECT_EQ(m_Reader.GetHeader().ApplicationLanguage.str(), L"en");
}

TEST(SettingsFileLayout, OnlyKnownModemNumbersAndPortIdentifiersAreWritten)
{
    CFBCData data;
    data.HasNetworkParams = true;
    ASSERT_TRUE(data.SetEthernetPortCount(1));
    for (const wchar_t* none : {L"", CFBCData::kNoIMEI}) {
        data.IMEI = none;
        const std::wstring text = CSettingsFileWriter::BuildText(data, Header());
        EXPECT_THAT(text, Not(HasSubstr(L"IMEI"))) << none;
        // A file of an older version is written back as it was.
        EXPECT_THAT(text, Not(HasSubstr(L"MACAddress")));
        EXPECT_THAT(text, Not(HasSubstr(L"SNTPServerName")));
    }
}

TEST_F(SettingsFileTest, AmpersandInTheDescriptionIsWrittenAsEntityAndReadBack)
{
    CFBCData source;
    source.Description = L"A & B";
    CSettingsFileWriter writer;
    const auto path = m_Folder.Path() / "amp.wes";
    ASSERT_TRUE(writer.Save(path, source, Header()));
    EXPECT_THAT(m_Folder.Read("amp.wes"), HasSubstr("        <Description>A &amp; B</Description>\r\n"));
    CFBCData loaded;
    ASSERT_TRUE(m_Reader.Load(path, loaded));
    EXPECT_EQ(loaded.Description.str(), L"A & B");
    // No port parameters, no runtime system: nothing flagged to be written.
    EXPECT_FALSE(loaded.NetworkParamsModified);
    EXPECT_FALSE(loaded.InterfaceModeToWrite);
    EXPECT_FALSE(loaded.ActiveRuntimeSystemToWrite);
}

TEST_F(SettingsFileTest, LoadKeepsWhatTheFileDoesNotCarry)
{
    CFBCData data;
    data.IMEI = L"351234567890123";
    data.RuntimeSystems = {4, 5};
    data.ActiveRuntimeSystem = 5;
    ASSERT_TRUE(Load(DeviceFile("        <ArticleNo>0614-0352</ArticleNo>\r\n"), data)) << m_Reader.GetError().str().c_str();
    EXPECT_EQ(data.ArticleNo.str(), L"0614-0352");
    EXPECT_EQ(data.IMEI.str(), L"351234567890123");
    EXPECT_EQ(data.RuntimeSystems, (std::vector<WORD>{4, 5}));
    EXPECT_EQ(data.ActiveRuntimeSystem, 5);
}

TEST_F(SettingsFileTest, FlagsAndNumbersReadAsTheProgramAlwaysReadThem)
{
    CFBCData data;
    ASSERT_TRUE(Load(DeviceFile("        <HasClock>TRUE</HasClock>\r\n"
                                "        <Status><A>0x1</A><B>2</B><C>3</C><D>4</D><E>5</E><F>6</F><G>7</G>"
                                "<H>8</H><I>0X0009</I></Status>\r\n"
                                "        <DIPSwitchValue>0x12345</DIPSwitchValue>\r\n"
                                "        <EthernetInterfaceMode>0xFFFF</EthernetInterfaceMode>\r\n"),
                     data))
        << m_Reader.GetError().str().c_str();
    EXPECT_FALSE(data.HasClock);
    EXPECT_EQ(data.StatusWords.size(), 9u);
    EXPECT_EQ(data.StatusWords[8], 9);
    EXPECT_TRUE(data.HasTerminalBusExtension);
    EXPECT_EQ(data.DIPSwitchValue, 0x2345);
    EXPECT_FALSE(data.InterfaceModeToWrite);
}

TEST_F(SettingsFileTest, SignedDecimalNumbersAreCutToTheFieldAsTwosComplement)
{
    CFBCData data;
    ASSERT_TRUE(Load(DeviceFile("        <DIPSwitchValue>-2</DIPSwitchValue>\r\n"
                                "        <EthernetInterfaceMode>-1</EthernetInterfaceMode>\r\n"
                                "        <Status><S>+7</S><S>-32768</S></Status>\r\n"
                                "        <HasSDCardSlot>true</HasSDCardSlot>\r\n"
                                "        <SDCardInformation><SDCardSerialNumber>-1</SDCardSerialNumber>"
                                "</SDCardInformation>\r\n"
                                "        <RuntimeSystems ActiveSystem=\"-1\"><S>-9223372036854775808</S>"
                                "</RuntimeSystems>\r\n"),
                     data))
        << m_Reader.GetError().str().c_str();
    EXPECT_EQ(data.DIPSwitchValue, 0xFFFE);
    EXPECT_EQ(data.EthernetInterfaceMode, 0xFFFF);
    EXPECT_FALSE(data.InterfaceModeToWrite);
    EXPECT_EQ(data.StatusWords, (std::vector<WORD>{7, 0x8000}));
    EXPECT_EQ(data.SDCardInfo.dwSerialNumber, 0xFFFFFFFFu);
    EXPECT_EQ(data.ActiveRuntimeSystem, 0xFFFF);
    EXPECT_FALSE(data.ActiveRuntimeSystemToWrite);
    EXPECT_EQ(data.RuntimeSystems, (std::vector<WORD>{0}));

    // A sign is part of a decimal number only, once, and the number must
    // still fit 64 bits.
    for (const char* text : {"--1", "-", "+-1", "-0x1", "-9223372036854775809"}) {
        EXPECT_FALSE(Load(DeviceFile(std::string("        <DIPSwitchValue>") + text + "</DIPSwitchValue>\r\n"), data))
            << text;
    }
}

TEST_F(SettingsFileTest, MemoryCardBeforeItsSlotFlagIsIgnored)
{
    CFBCData data;
    ASSERT_TRUE(Load(DeviceFile("        <SDCardInformation><SDCardInserted>true</SDCardInserted>"
                                "<SDCardCapacity>77</SDCardCapacity></SDCardInformation>\r\n"
                                "        <HasSDCardSlot>true</HasSDCardSlot>\r\n"),
                     data));
    EXPECT_TRUE(data.HasSDCardSlot);
    EXPECT_FALSE(data.SDCardInfo.bInserted);
    EXPECT_EQ(data.SDCardInfo.wCapacity, 0);
}

TEST_F(SettingsFileTest, SamePortCountKeepsTheRecordsADifferentOneMakesThemAnew)
{
    CFBCData data;
    ASSERT_TRUE(data.SetEthernetPortCount(1));
    data.GetActualNetworkParams(0)->strHostName = L"kept";
    ASSERT_TRUE(Load(DeviceFile("        <NetworkParams EthernetPortCount=\"1\">"
                                "<StaticNetworkParams Port=\"0\"><StaticIPAddress>10.1.1.1</StaticIPAddress>"
                                "<ActualIPAddress>ignored</ActualIPAddress></StaticNetworkParams></NetworkParams>\r\n"),
                     data));
    EXPECT_EQ(data.GetActualNetworkParams(0)->strHostName, L"kept");
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strIPAddress, L"10.1.1.1");
    EXPECT_TRUE(data.GetActualNetworkParams(0)->strIPAddress.empty());
    EXPECT_TRUE(data.NetworkParamsModified);

    ASSERT_TRUE(Load(DeviceFile("        <NetworkParams EthernetPortCount=\"2\"></NetworkParams>\r\n"), data));
    ASSERT_EQ(data.GetEthernetPortCount(), 2u);
    EXPECT_TRUE(data.GetActualNetworkParams(0)->strHostName.empty());
}

TEST_F(SettingsFileTest, RejectedFilesLeaveTheDataSetAsItWas)
{
    CFBCData original;
    FillTwoPortController(original);
    original.IMEI = L"imei";

    std::string tooLong = "        <ArticleNo>0614-9999</ArticleNo>\r\n        <CommonTable>";
    for (std::size_t i = 0; i <= CRegisterTable::kMaxWords; ++i)
        tooLong += "<R>1</R>";
    tooLong += "</CommonTable>\r\n";

    const std::pair<const char*, std::string> cases[] = {
        {"table beyond 65535 words", DeviceFile(tooLong)},
        {"absurd port count", DeviceFile("        <ArticleNo>0614-9999</ArticleNo>\r\n"
                                         "        <NetworkParams EthernetPortCount=\"100000\"></NetworkParams>\r\n")},
        {"three ports", DeviceFile("        <NetworkParams EthernetPortCount=\"3\"></NetworkParams>\r\n")},
        {"port count not a number", DeviceFile("        <NetworkParams EthernetPortCount=\"two\"></NetworkParams>\r\n")},
        {"port outside the count",
         DeviceFile("        <ArticleNo>0614-9999</ArticleNo>\r\n        <NetworkParams EthernetPortCount=\"1\">"
                    "<ActualNetworkParams Port=\"1\"><ActualIPAddress>1.1.1.1</ActualIPAddress>"
                    "</ActualNetworkParams></NetworkParams>\r\n")},
        {"port without number", DeviceFile("        <NetworkParams EthernetPortCount=\"2\">"
                                           "<StaticNetworkParams/></NetworkParams>\r\n")},
        {"number that is none", DeviceFile("        <ArticleNo>0614-9999</ArticleNo>\r\n"
                                           "        <DIPSwitchValue>0xZZ</DIPSwitchValue>\r\n")},
        {"number beyond 64 bits", DeviceFile("        <Status><S>99999999999999999999999</S></Status>\r\n")},
        {"no device element", "<?xml version='1.0'?><application><ArticleNo>1</ArticleNo></application>"},
        {"not XML", "<application><device><ArticleNo>0614-9999</ArticleNo></device>"},
    };
    for (const auto& [what, bytes] : cases) {
        CFBCData data = original;
        EXPECT_FALSE(Load(bytes, data)) << what;
        EXPECT_FALSE(m_Reader.GetError().IsEmpty()) << what;
        EXPECT_EQ(data.ArticleNo, original.ArticleNo) << what;
        EXPECT_EQ(data.CommonTable, original.CommonTable) << what;
        EXPECT_EQ(data.StatusWords, original.StatusWords) << what;
        EXPECT_EQ(data.GetEthernetPortCount(), 2u) << what;
        EXPECT_EQ(data.GetStaticNetworkParams(1)->strIPAddress, L"10.0.0.2") << what;
        EXPECT_FALSE(data.NetworkParamsModified) << what;
    }
}

TEST_F(SettingsFileTest, ErrorsNameTheCause)
{
    CFBCData data;
    EXPECT_FALSE(m_Reader.Load(m_Folder.Path() / "missing.wes", data));
    EXPECT_THAT(m_Reader.GetError().str(), HasSubstr(L"missing.wes"));
    EXPECT_FALSE(Load(DeviceFile("        <NetworkParams EthernetPortCount=\"9\"></NetworkParams>\r\n"), data));
    EXPECT_THAT(m_Reader.GetError().str(), HasSubstr(L"Ethernet ports"));
    EXPECT_FALSE(Load(DeviceFile("        <HasClock>true</HasClock>\r\n").substr(0, 80), data));
    EXPECT_THAT(m_Reader.GetError().str(), HasSubstr(L"line"));
}

TEST_F(SettingsFileTest, ATableOfExactly65535WordsIsAccepted)
{
    CFBCData source;
    ASSERT_TRUE(source.SpecificTable.Allocate(CRegisterTable::kMaxWords));
    source.SpecificTable.SetAt(CRegisterTable::kMaxWords - 1, 0xBEEF);
    CFBCData loaded;
    ASSERT_TRUE(SaveAndLoad(source, loaded)) << m_Reader.GetError().str().c_str();
    EXPECT_EQ(loaded.SpecificTable.GetCount(), 0xFFFF);
    EXPECT_EQ(loaded.SpecificTable.GetAt(0xFFFE), 0xBEEF);
}

TEST_F(SettingsFileTest, SaveThatCannotWriteReportsAndKeepsTheOldFile)
{
    CSettingsFileWriter writer;
    const CFBCData data;
    EXPECT_FALSE(writer.Save(m_Folder.Path() / "no-such-folder" / "x.wes", data, Header()));
    EXPECT_THAT(writer.GetError().str(), HasSubstr(L"x.wes"));

    // A folder in the way of the file: the rename fails, nothing is left behind.
    std::filesystem::create_directories(m_Folder.Path() / "taken.wes" / "inside");
    EXPECT_FALSE(writer.Save(m_Folder.Path() / "taken.wes", data, Header()));
    EXPECT_FALSE(writer.GetError().IsEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(m_Folder.Path() / "taken.wes" / "inside"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_Folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(SettingsFileTest, EightStatusWordsAreNoTerminalBusExtensionNineAre)
{
    const std::string eight = "<S>1</S><S>2</S><S>3</S><S>4</S><S>5</S><S>6</S><S>7</S><S>8</S>";
    CFBCData data;
    data.HasTerminalBusExtension = true;
    ASSERT_TRUE(Load(DeviceFile("        <Status>" + eight + "</Status>\r\n"), data)) << m_Reader.GetError().str().c_str();
    EXPECT_EQ(data.StatusWords.size(), 8u);
    EXPECT_FALSE(data.HasTerminalBusExtension);
    ASSERT_TRUE(Load(DeviceFile("        <Status>" + eight + "<S>0</S></Status>\r\n"), data));
    EXPECT_EQ(data.StatusWords.size(), 9u);
    EXPECT_TRUE(data.HasTerminalBusExtension);
}

TEST_F(SettingsFileTest, EntitiesTheFileDoesNotDefineOrDeclaresLeaveTheDataSetAsItWas)
{
    CFBCData original;
    FillTwoPortController(original);
    const std::string values = "        <ArticleNo>0614-9999</ArticleNo>\r\n"
                               "        <Status><S>7</S></Status>\r\n";
    const std::string nested = "<!ENTITY a \"aaaaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                               "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                               "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">";
    const auto withDoctype = [&](const std::string& subset, const std::string& description) {
        std::string file = DeviceFile(values + "        <Description>" + description + "</Description>\r\n");
        const auto end = file.find("?>") + 2;
        return file.insert(end, "\r\n<!DOCTYPE application [" + subset + "]>");
    };
    const std::pair<std::string, std::string> cases[] = {
        {DeviceFile(values + "        <Description>Koppler f&uuml;r au&szlig;en</Description>\r\n"), "'&uuml;'"},
        {withDoctype("<!ENTITY x \"abc\">", "&x;"), "declares entities"},
        {withDoctype(nested, "&d;"), "declares entities"},
    };
    for (const auto& [bytes, cause] : cases) {
        CFBCData data = original;
        EXPECT_FALSE(Load(bytes, data)) << cause;
        EXPECT_THAT(m_Reader.GetError().str(), HasSubstr(std::wstring(cause.begin(), cause.end())));
        EXPECT_THAT(m_Reader.GetError().str(), HasSubstr(L"load.wes"));
        EXPECT_EQ(data.ArticleNo, original.ArticleNo) << cause;
        EXPECT_EQ(data.Description, original.Description) << cause;
        EXPECT_EQ(data.StatusWords, original.StatusWords) << cause;
    }
    // Character references name their characters outright and are read.
    CFBCData data = original;
    ASSERT_TRUE(Load(DeviceFile("        <Description>Koppler f&#252;r au&#xDF;en</Description>\r\n"), data))
        << m_Reader.GetError().str().c_str();
    EXPECT_EQ(data.Description.str(), L"Koppler f\u00FCr au\u00DFen");
}

}  // namespace Corvane
