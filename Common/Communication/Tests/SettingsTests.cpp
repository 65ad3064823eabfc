#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/SettingsElement.h"
#include "Common/Communication/SettingsRegistryKey.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/Communication/Tests/FakeConnection.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using ZELL::CRS232Connection;
using ZELL::CTCPIPConnection;
using ZELL::ISettings;

namespace {

const std::wstring kHostile = L"O'Brien & <Söhne> \"Ω\" 東京";

std::wstring UniqueKey(const wchar_t* name)
{
    static std::atomic<int> counter{0};
    return FormatW(L"HKEY_CURRENT_USER\\Software\\Zell Software\\Tests %d %d\\%s\\Communication",
                   static_cast<int>(getpid()), ++counter, name);
}

std::filesystem::path TempFile(const char* name)
{
    return std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name);
}

// Records which storage the dispatch reached.
class RecordingSettings : public ZELL::Testing::CFakeConnection {
public:
    bool LoadSettingsRegistry(std::wstring name) override { return Record(L"load-registry " + name); }
    bool SaveSettingsRegistry(std::wstring name) override { return Record(L"save-registry " + name); }
    bool LoadSettingsXML(std::wstring name) override { return Record(L"load-xml " + name); }
    bool SaveSettingsXML(std::wstring name) override { return Record(L"save-xml " + name); }
    bool SetSettingsXML(std::wstring xml) override { return Record(L"set " + xml); }

    std::wstring m_last;

private:
    bool Record(const std::wstring& call)
    {
        m_last = call;
        return true;
    }
};

}

TEST(SettingsBaseDispatch, StorageTypesReachTheirOperations)
{
    RecordingSettings settings;
    EXPECT_TRUE(settings.LoadSettings(L"key", ISettings::Registry));
    EXPECT_EQ(settings.m_last, L"load-registry key");
    EXPECT_TRUE(settings.SaveSettings(L"file", ISettings::XMLFile));
    EXPECT_EQ(settings.m_last, L"save-xml file");

    settings.SetStorageProperties(L"stored", ISettings::XMLFile);
    EXPECT_TRUE(settings.LoadSettings());
    EXPECT_EQ(settings.m_last, L"load-xml stored");
    std::wstring name;
    ISettings::ENStorageType type = ISettings::Registry;
    settings.GetStorageProperties(name, type);
    EXPECT_EQ(name, L"stored");
    EXPECT_EQ(type, ISettings::XMLFile);

    settings.m_last.clear();
    EXPECT_FALSE(settings.LoadSettings(L"x", static_cast<ISettings::ENStorageType>(3)));
    EXPECT_FALSE(settings.SaveSettings(L"x", static_cast<ISettings::ENStorageType>(0)));
    EXPECT_EQ(settings.m_last, L"");

    EXPECT_TRUE(settings.SetDefaultSettings(L"<X/>"));
    EXPECT_EQ(settings.m_last, L"set <X/>");
    EXPECT_EQ(settings.GetDefaultSettings(), L"<X/>");
}

TEST(TCPIPSettings, DefaultsAndSummary)
{
    CTCPIPConnection connection;
    EXPECT_EQ(connection.GetSettingsString(), L"0.0.0.0; 6626; 200; 15; 15; 15; 15; 16; 2; 0; ");
    EXPECT_EQ(connection.GetSettingsValue(L"ServicePort"), L"6626");
    EXPECT_EQ(connection.GetSettingsValue(L"timeout"), L"ERROR");
    EXPECT_EQ(connection.GetSettingsValue(L"IP-AddressTo"), L"192.168.1.254");
    EXPECT_EQ(connection.GetCommunicationTimeout(), 15u);
    EXPECT_EQ(connection.GetRestartTimeout(), 15u);
    EXPECT_EQ(connection.GetType(), L"TCPIP");
}

TEST(TCPIPSettings, MillisecondTimeoutFillsMissingSeconds)
{
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<?xml version='1.0'?><TCPIP timeout='2500'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"ConnectTimeoutSeconds"), L"2");
    EXPECT_EQ(connection.GetSettingsValue(L"SendTimeoutSeconds"), L"2");
    EXPECT_EQ(connection.GetSettingsValue(L"ReceiveTimeoutSeconds"), L"2");
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP timeout='500' SendTimeoutSeconds='7'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"ConnectTimeoutSeconds"), L"1");
    EXPECT_EQ(connection.GetSettingsValue(L"SendTimeoutSeconds"), L"7");
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP ConnectTimeoutSeconds='0'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"ConnectTimeoutSeconds"), L"1");
}

TEST(TCPIPSettings, CommunicationTimeoutSetsAllThree)
{
    CTCPIPConnection connection;
    connection.SetCommunicationTimeout(4);
    EXPECT_EQ(connection.GetSettingsString(), L"0.0.0.0; 6626; 200; 4; 4; 4; 15; 16; 2; 0; ");
    connection.SetCommunicationTimeout(0);
    EXPECT_EQ(connection.GetCommunicationTimeout(), 4u);
}

TEST(TCPIPSettings, PartialElementKeepsTheRest)
{
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP IP-Address='10.1.2.3' LengthCorrection='-2' NetworkName='dev'/>"));
    const std::wstring before = connection.GetSettingsXML();
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP ServicePort='502'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"ServicePort"), L"502");
    EXPECT_EQ(ReplaceAll(connection.GetSettingsXML(), L"'502'", L"'6626'"), before);
    EXPECT_EQ(connection.GetSettingsValue(L"LengthCorrection"), L"-2");
}

TEST(TCPIPSettings, BadTextOrNumberCommitsNothing)
{
    CTCPIPConnection connection;
    const std::wstring before = connection.GetSettingsXML();
    EXPECT_FALSE(connection.SetSettingsXML(L"<TCPIP IP-Address='1.2.3.4"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<Other/>"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<TCPIP IP-Address='9.9.9.9' ServicePort='abc'/>"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<TCPIP NetworkName='x' CloseWaitTime='-5'/>"));
    EXPECT_EQ(connection.GetSettingsXML(), before);
}

TEST(TCPIPSettings, HostileTextsSurviveTheElement)
{
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP NetworkName='" + XmlEscape(kHostile) + L"'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"NetworkName"), kHostile);
    CTCPIPConnection other;
    ASSERT_TRUE(other.SetSettingsXML(connection.GetSettingsXML()));
    EXPECT_EQ(other.GetSettingsValue(L"NetworkName"), kHostile);
    EXPECT_EQ(other.GetSettingsXML(), connection.GetSettingsXML());
}

TEST(TCPIPSettings, RegistryRoundTripWithoutFragmentLayout)
{
    const std::wstring key = UniqueKey(L"tcp");
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP IP-Address='127.0.0.9' ServicePort='502' CloseWaitTime='0' "
                                          L"IdentifyByName='true' LengthPos='3' SizeOfLength='1' NetworkName='" +
                                          XmlEscape(kHostile) + L"'/>"));
    ASSERT_TRUE(connection.SaveSettingsRegistry(key));

    CTCPIPConnection loaded;
    ASSERT_TRUE(loaded.LoadSettingsRegistry(key));
    EXPECT_EQ(loaded.GetSettingsValue(L"IP-Address"), L"127.0.0.9");
    EXPECT_EQ(loaded.GetSettingsValue(L"ServicePort"), L"502");
    EXPECT_EQ(loaded.GetSettingsValue(L"IdentifyByName"), L"true");
    EXPECT_EQ(loaded.GetSettingsValue(L"NetworkName"), kHostile);
    EXPECT_EQ(loaded.GetSettingsValue(L"LengthPos"), L"16");
    EXPECT_EQ(loaded.GetSettingsValue(L"SizeOfLength"), L"2");

    CTCPIPConnection untouched;
    ASSERT_TRUE(untouched.LoadSettingsRegistry(UniqueKey(L"never-written")));
    EXPECT_EQ(untouched.GetSettingsXML(), CTCPIPConnection().GetSettingsXML());
}

TEST(TCPIPSettings, XmlFileFormIsRefused)
{
    CTCPIPConnection connection;
    EXPECT_FALSE(connection.SaveSettingsXML(TempFile("tcp.xml").wstring()));
    EXPECT_FALSE(connection.LoadSettingsXML(TempFile("tcp.xml").wstring()));
    EXPECT_FALSE(connection.LoadSettings(L"x", ISettings::XMLFile));
}

TEST(SettingsRegistryKey, UnknownHiveFailsTheSave)
{
    CTCPIPConnection tcp;
    EXPECT_FALSE(tcp.SaveSettingsRegistry(L"HKEY_NOWHERE\\Software\\Zell"));
    CRS232Connection serial;
    EXPECT_FALSE(serial.SaveSettingsRegistry(L""));
    EXPECT_TRUE(serial.LoadSettingsRegistry(L"HKEY_NOWHERE\\x"));
    EXPECT_TRUE(ZELL::CSettingsRegistryKey(L"hkcu\\A\\B", L"TCPIP").IsValid());
}

TEST(SettingsRegistryKey, ValueOfWrongTypeIsIgnored)
{
    const std::wstring key = UniqueKey(L"types");
    {
        const ZELL::CSettingsRegistryKey writer(key, L"TCPIP");
        ASSERT_TRUE(writer.WriteString(L"ServicePort", L"502"));
        ASSERT_TRUE(writer.WriteDword(L"IP-Address", 7));
    }
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.LoadSettingsRegistry(key));
    EXPECT_EQ(connection.GetSettingsValue(L"ServicePort"), L"6626");
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"0.0.0.0");
}

TEST(RS232Settings, DefaultsAndSummary)
{
    CRS232Connection connection;
    EXPECT_EQ(connection.GetSettingsString(), L"COM1: 19200, e, 8, 1");
    EXPECT_EQ(connection.GetSettingsValue(L"asynchron"), L"true");
    EXPECT_EQ(connection.GetSettingsValue(L"inbuf-size"), L"4096");
    EXPECT_EQ(connection.GetCommunicationTimeout(), 15u);
    EXPECT_EQ(connection.GetRestartTimeout(), 10u);
    connection.SetCommunicationTimeout(3);
    EXPECT_EQ(connection.GetSettingsValue(L"timeout"), L"3000");
    EXPECT_EQ(connection.GetCommunicationTimeout(), 3u);
}

TEST(RS232Settings, ChecksumLengthOnlyZeroOrTwo)
{
    CRS232Connection connection;
    EXPECT_TRUE(connection.SetSettingsXML(L"<RS232 ChecksumLength='2'/>"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<RS232 device='COM9' ChecksumLength='1'/>"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<RS232 ChecksumLength='4'/>"));
    EXPECT_EQ(connection.GetSettingsValue(L"ChecksumLength"), L"2");
    EXPECT_EQ(connection.GetSettingsValue(L"device"), L"COM1");
}

TEST(RS232Settings, BadNumberCommitsNothing)
{
    CRS232Connection connection;
    const std::wstring before = connection.GetSettingsXML();
    EXPECT_FALSE(connection.SetSettingsXML(L"<RS232 device='COM5' baudrate='fast'/>"));
    EXPECT_FALSE(connection.SetSettingsXML(L"<RS232 device='COM5' timeout='99999999999'/>"));
    EXPECT_EQ(connection.GetSettingsXML(), before);
}

TEST(RS232Settings, FileRoundTripWithHostileTexts)
{
    const auto path = TempFile("rs232.xml");
    CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='" + XmlEscape(kHostile) +
                                          L"' parity='odd' baudrate='57600' ChecksumLength='2' asynchron='false'/>"));
    ASSERT_TRUE(connection.SaveSettingsXML(path.wstring()));

    CRS232Connection loaded;
    ASSERT_TRUE(loaded.LoadSettings(path.wstring(), ISettings::XMLFile));
    EXPECT_EQ(loaded.GetSettingsXML(), connection.GetSettingsXML());
    EXPECT_EQ(loaded.GetSettingsValue(L"device"), kHostile);
    std::filesystem::remove(path);

    EXPECT_FALSE(loaded.LoadSettingsXML(TempFile("missing.xml").wstring()));
    EXPECT_FALSE(connection.SaveSettingsXML(L"/nonexistent-folder/x.xml"));
}

TEST(RS232Settings, FileWithLineBreaksAndBadContent)
{
    const auto path = TempFile("rs232-lines.xml");
    {
        std::ofstream file(path);
        file << "<?xml version='1.0'?>\r\n<RS232 device='COM3'\r\n baudrate='9600'\n/>\n";
    }
    CRS232Connection connection;
    ASSERT_TRUE(connection.LoadSettingsXML(path.wstring()));
    EXPECT_EQ(connection.GetSettingsString(), L"COM3: 9600, e, 8, 1");
    {
        std::ofstream file(path, std::ios::trunc);
        file << "<RS232 device='COM4' databits='x'/>";
    }
    EXPECT_FALSE(connection.LoadSettingsXML(path.wstring()));
    EXPECT_EQ(connection.GetSettingsValue(L"device"), L"COM3");
    std::filesystem::remove(path);
}

TEST(RS232Settings, RegistryRoundTrip)
{
    const std::wstring key = UniqueKey(L"serial");
    CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='" + XmlEscape(kHostile) +
                                          L"' stopbits='1.5' cts_flow='true' rts_control='toggle' inbuf-size='777' "
                                          L"ChecksumLength='2' RestartTimeoutSeconds='33'/>"));
    ASSERT_TRUE(connection.SaveSettings(key, ISettings::Registry));
    CRS232Connection loaded;
    ASSERT_TRUE(loaded.LoadSettings(key, ISettings::Registry));
    EXPECT_EQ(loaded.GetSettingsXML(), connection.GetSettingsXML());
}
