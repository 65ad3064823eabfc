#include "Products/Corvane/Core/CommandLineConnection.h"
#include "Products/Corvane/Core/CorvaneCommandLine.h"

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Platform/Registry/ProfileStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace Corvane {

namespace {

using ::testing::HasSubstr;

class CRecordingCommandLine : public CCorvaneCommandLine {
public:
    using CCorvaneCommandLine::CCorvaneCommandLine;
    std::vector<std::wstring> m_arrMessages;
    bool m_bSocketsStart = true;
    int m_nSocketStarts = 0;

protected:
    void OnInvalidArgument(const CString& message) override { m_arrMessages.push_back(message.str()); }
    bool StartSockets() override
    {
        ++m_nSocketStarts;
        return m_bSocketsStart;
    }
};

std::vector<CString> Args(std::initializer_list<const wchar_t*> texts)
{
    std::vector<CString> args;
    for (const wchar_t* text : texts)
        args.emplace_back(text);
    return args;
}

// One row: the arguments, and what they must leave in the parsed state.
struct tSwitchCase {
    const char* name;
    std::vector<const wchar_t*> args;
    std::function<void(const CRecordingCommandLine&)> check;
    std::size_t messages = 0;
};

void Rect(const CRecordingCommandLine& line, int l, int t, int r, int b)
{
    const auto& rect = line.Options().ParentWindow;
    EXPECT_EQ(rect[0], l);
    EXPECT_EQ(rect[1], t);
    EXPECT_EQ(rect[2], r);
    EXPECT_EQ(rect[3], b);
}

const std::vector<tSwitchCase>& SwitchCases()
{
    using L = const CRecordingCommandLine&;
    static const std::vector<tSwitchCase> cases = {
        {"engineering tool", {L"-v!ANVIL"}, [](L l) {
             EXPECT_TRUE(l.Options().StartedByEngineeringTool);
             EXPECT_FALSE(l.Options().ChangeIPMode);
         }},
        {"engineering tool change-IP", {L"-v!ANVIL/ChangeIP"}, [](L l) {
             EXPECT_TRUE(l.Options().StartedByEngineeringTool);
             EXPECT_TRUE(l.Options().ChangeIPMode);
         }},
        {"engineering tool is case-sensitive", {L"-V!ANVIL", L"-v!anvil/changeip"}, [](L l) {
             EXPECT_FALSE(l.Options().StartedByEngineeringTool);
             EXPECT_FALSE(l.Options().ChangeIPMode);
         }},
        {"parameter file keeps its value's case", {L"/paramfile:/Home/A b.wes"}, [](L l) {
             EXPECT_EQ(l.Options().ParamFile.str(), L"/Home/A b.wes");
         }},
        {"article number", {L"/ARTICLENUMBER:0612-0001"}, [](L l) {
             EXPECT_EQ(l.Options().ArticleNumber.str(), L"0612-0001");
         }},
        {"firmware version", {L"/FirmwareVersion:01.02.03(04)"}, [](L l) {
             EXPECT_EQ(l.Options().FirmwareVersion.str(), L"01.02.03(04)");
         }},
        {"non-latin test is case-sensitive", {L"/nonlatintest"}, [](L l) { EXPECT_FALSE(l.Options().NonLatinTest); }},
        {"non-latin test", {L"/NONLATINTEST"}, [](L l) { EXPECT_TRUE(l.Options().NonLatinTest); }},
        {"child", {L"/child"}, [](L l) { EXPECT_TRUE(l.Options().ChildMode); }},
        {"plug-in", {L"/PLUGIN:1"}, [](L l) { EXPECT_TRUE(l.Options().ChildMode); }},
        {"plug-in other value", {L"/PlugIn:2"}, [](L l) { EXPECT_FALSE(l.Options().ChildMode); }},
        {"window short form", {L"/MainWnd:10, 20 ,810,620"}, [](L l) { Rect(l, 10, 20, 810, 620); }},
        {"window long form with hex", {L"/MainWindowRect:0x10,-5,0X20,30"}, [](L l) { Rect(l, 16, -5, 32, 30); }},
        {"window with three values", {L"/MainWnd:10,20,810"}, [](L l) { Rect(l, 0, 0, 0, 0); }, 1},
        {"window with a word", {L"/MainWnd:10,20,abc,4"}, [](L l) { Rect(l, 0, 0, 0, 0); }, 1},
        {"window beyond 32 bits", {L"/MainWnd:1,2,3,0x1FFFFFFFF"}, [](L l) { Rect(l, 0, 0, 0, 0); }, 1},
        {"window beyond 64 bits", {L"/MainWnd:1,2,3,99999999999999999999"}, [](L l) { Rect(l, 0, 0, 0, 0); }, 1},
        {"window without colon", {L"/MainWnd=1,2,3,4"}, [](L l) { Rect(l, 0, 0, 0, 0); }},
        {"language short form", {L"/LANG:FR"}, [](L l) {
             EXPECT_EQ(l.Language().str(), L"fr");
             EXPECT_EQ(l.LanguageBeforeSwitch().str(), L"de");
         }},
        {"language long form", {L"/LANGUAGE:Es"}, [](L l) { EXPECT_EQ(l.Language().str(), L"es"); }},
        {"second language keeps the first before-switch language", {L"/LANG:fr", L"/LANG:en"}, [](L l) {
             EXPECT_EQ(l.Language().str(), L"en");
             EXPECT_EQ(l.LanguageBeforeSwitch().str(), L"de");
         }},
        {"empty language refused", {L"/LANG:"}, [](L l) { EXPECT_EQ(l.Language().str(), L"de"); }, 1},
        {"language with a path refused", {L"/LANG:../x"}, [](L l) { EXPECT_EQ(l.Language().str(), L"de"); }, 1},
        {"connection type alone", {L"/connectiontype:tcpip"}, [](L l) {
             EXPECT_EQ(l.ConnectionType().str(), L"tcpip");
             EXPECT_TRUE(l.ConnectionSettings().IsEmpty());
         }},
        {"unknown connection type refused", {L"/ConnectionType:USB"}, [](L l) {
             EXPECT_TRUE(l.ConnectionType().IsEmpty());
         }, 1},
        {"connection settings", {L"/ConnectionSettings:10.0.0.5"}, [](L l) {
             EXPECT_EQ(l.ConnectionSettings().str(), L"10.0.0.5");
         }},
        {"serial connection", {L"/Connection:rs232:COM_4"}, [](L l) {
             EXPECT_EQ(l.ConnectionType().str(), L"RS232");
             EXPECT_EQ(l.ConnectionSettings().str(), L"COM4");
         }},
        {"TCP/IP connection", {L"/CONNECTION:TCPIP:192.168.1.7"}, [](L l) {
             EXPECT_EQ(l.ConnectionType().str(), L"TCPIP");
             EXPECT_EQ(l.ConnectionSettings().str(), L"192.168.1.7");
         }},
        {"bad connection falls back to COM1", {L"/Connection:USB:1"}, [](L l) {
             EXPECT_EQ(l.ConnectionType().str(), L"RS232");
             EXPECT_EQ(l.ConnectionSettings().str(), L"COM1");
             EXPECT_THAT(l.m_arrMessages[0], HasSubstr(L"Invalid communication settings!--> Set connection to RS232."));
         }, 1},
        {"current IP normalised", {L"/CurrentIP:300.1.x2"}, [](L l) {
             EXPECT_EQ(l.Options().CurrentIP.str(), L"255.1.2.0");
         }},
        {"unknown switch changes nothing", {L"/Whatever", L"plain"}, [](L l) {
             EXPECT_FALSE(l.Options().ChildMode);
             EXPECT_TRUE(l.ConnectionType().IsEmpty());
             EXPECT_TRUE(l.LanguageBeforeSwitch().IsEmpty());
         }},
        {"everything combined", {L"-v!ANVIL/ChangeIP", L"/PARAMFILE:p.wes", L"/ArticleNumber:0612-0001",
                                 L"/FirmwareVersion:01(02)", L"/CHILD", L"/MainWnd:1,2,3,4", L"/LANG:en",
                                 L"/Connection:TCPIP:10.1.1.1", L"/CurrentIP:10.1.1.2"},
         [](L l) {
             EXPECT_TRUE(l.Options().ChangeIPMode);
             EXPECT_EQ(l.Options().ParamFile.str(), L"p.wes");
             EXPECT_TRUE(l.Options().ChildMode);
             Rect(l, 1, 2, 3, 4);
             EXPECT_EQ(l.Language().str(), L"en");
             EXPECT_EQ(l.ConnectionSettings().str(), L"10.1.1.1");
             EXPECT_EQ(l.Options().CurrentIP.str(), L"10.1.1.2");
         }},
    };
    return cases;
}

TEST(CorvaneCommandLine, EverySwitchAloneAndCombined)
{
    for (const tSwitchCase& row : SwitchCases()) {
        SCOPED_TRACE(row.name);
        CRecordingCommandLine line(L"de");
        std::vector<CString> args;
        for (const wchar_t* text : row.args)
            args.emplace_back(text);
        line.Parse(args);
        EXPECT_EQ(line.m_arrMessages.size(), row.messages);
        if (line.m_arrMessages.size() == row.messages)
            row.check(line);
    }
}

TEST(CorvaneCommandLine, OnlyTheExactTypeTextStartsTheSocketsAgain)
{
    CRecordingCommandLine lower(L"en");
    lower.Parse(Args({L"/ConnectionType:tcpip", L"/ConnectionSettings:10.0.0.1"}));
    EXPECT_TRUE(lower.ResolveConnection());
    EXPECT_EQ(lower.m_nSocketStarts, 0);

    CRecordingCommandLine exact(L"en");
    exact.m_bSocketsStart = false;
    exact.Parse(Args({L"/Connection:TCPIP:10.0.0.1"}));
    EXPECT_TRUE(exact.ResolveConnection());
    EXPECT_EQ(exact.m_nSocketStarts, 1);
    EXPECT_EQ(exact.ConnectionType().str(), L"RS232");
    EXPECT_EQ(exact.ConnectionSettings().str(), L"COM1");
    ASSERT_EQ(exact.m_arrMessages.size(), 1u);
    EXPECT_EQ(exact.m_arrMessages[0], L"Failed to init windows sockets!--> Set connection to RS232.");
}

TEST(CorvaneCommandLine, TypeWithoutSettingsNamesNoConnection)
{
    CRecordingCommandLine line(L"en");
    line.Parse(Args({L"/ConnectionType:TCPIP"}));
    EXPECT_FALSE(line.ResolveConnection());
    EXPECT_EQ(line.m_nSocketStarts, 0);
}

TEST(CorvaneCommandLine, LanguageOfTheCommandLineLastsForOneRun)
{
    Registry::CProfileStore profile(L"Zell Software", L"CorvaneLanguageRun");
    ASSERT_TRUE(profile.WriteString(L"Common", L"Language", L"de"));
    const CString before = profile.GetString(L"Common", L"Language", L"en").c_str();
    CRecordingCommandLine line(before);
    line.Parse(Args({L"/LANGUAGE:FR", L"/LANG:es"}));
    EXPECT_TRUE(line.StoreLanguage(profile));
    EXPECT_EQ(profile.GetString(L"Common", L"Language"), L"es");
    EXPECT_TRUE(line.RestoreLanguage(profile));
    EXPECT_EQ(profile.GetString(L"Common", L"Language"), L"de");

    // Without a switch the language chosen during the run stays.
    CRecordingCommandLine plain(L"de");
    plain.Parse(Args({L"/CHILD"}));
    ASSERT_TRUE(profile.WriteString(L"Common", L"Language", L"fr"));
    EXPECT_TRUE(plain.RestoreLanguage(profile));
    EXPECT_EQ(profile.GetString(L"Common", L"Language"), L"fr");
}

TEST(CommandLineSettingsXml, OneValueBecomesTheElementAndOthersAreRefused)
{
    EXPECT_EQ(CCommandLineConnection::MakeSettingsXml(L"RS232", L"COM4").str(),
              L"<?xml version='1.0'?><RS232 device='COM4' />");
    EXPECT_EQ(CCommandLineConnection::MakeSettingsXml(L"tcpip", L" 10.0.0.1 ").str(),
              L"<?xml version='1.0'?><TCPIP IP-Address='10.0.0.1' />");
    // An address with a port is two pieces.
    EXPECT_TRUE(CCommandLineConnection::MakeSettingsXml(L"TCPIP", L"10.0.0.1,6626").IsEmpty());
    EXPECT_TRUE(CCommandLineConnection::MakeSettingsXml(L"TCPIP", L",").IsEmpty());
    // A quote cannot break out of the attribute.
    EXPECT_EQ(CCommandLineConnection::MakeSettingsXml(L"TCPIP", L"a'b").str(),
              L"<?xml version='1.0'?><TCPIP IP-Address='a&apos;b' />");
    const CString document = L"<?xml version='1.0'?><RS232 device='COM2' BaudRate='9600'/>";
    EXPECT_EQ(CCommandLineConnection::MakeSettingsXml(L"RS232", document), document);
}

class CRecordingConnection : public CCommandLineConnection {
public:
    using CCommandLineConnection::CCommandLineConnection;
    std::vector<std::wstring> m_arrMessages;

protected:
    void OnInvalidSettings(const CString& message) override { m_arrMessages.push_back(message.str()); }
};

// Each test its own application key, so that the cases share no profile.
class CommandLineConnectionTest : public ::testing::Test {
protected:
    CommandLineConnectionTest()
    {
        static std::atomic<int> counter{0};
        m_strApplication = CString(L"CorvaneCmd") + std::to_wstring(counter++).c_str();
    }

    CString Path() const { return L"HKEY_CURRENT_USER\\Software\\Zell Software\\" + m_strApplication + L"\\Communication"; }
    Registry::CProfileStore Profile() const { return {L"Zell Software", m_strApplication.str()}; }
    std::wstring LastConnection() const { return Profile().GetString(L"Communication", L"LastConnection"); }

    void StoreTcp(const wchar_t* address)
    {
        ZELL::CTCPIPConnection tcp;
        ASSERT_TRUE(tcp.SetSettingsXML(std::wstring(L"<TCPIP IP-Address='") + address + L"' />"));
        ASSERT_TRUE(tcp.SaveSettings(Path().str(), ZELL::ISettings::Registry));
    }
    void StoreSerial(const wchar_t* device)
    {
        ZELL::CRS232Connection serial;
        ASSERT_TRUE(serial.SetSettingsXML(std::wstring(L"<RS232 device='") + device + L"' />"));
        ASSERT_TRUE(serial.SaveSettings(Path().str(), ZELL::ISettings::Registry));
    }
    std::wstring StoredTcp() const
    {
        ZELL::CTCPIPConnection tcp;
        tcp.LoadSettings(Path().str(), ZELL::ISettings::Registry);
        return tcp.GetSettingsValue(L"IP-Address");
    }
    std::wstring StoredSerial() const
    {
        ZELL::CRS232Connection serial;
        serial.LoadSettings(Path().str(), ZELL::ISettings::Registry);
        return serial.GetSettingsValue(L"device");
    }

    CString m_strApplication;
};

TEST_F(CommandLineConnectionTest, SameTypeLastsForOneRun)
{
    StoreTcp(L"10.0.0.1");
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"TCPIP"));
    CRecordingConnection connection(L"Zell Software", m_strApplication);
    ASSERT_TRUE(connection.Create(L"TCPIP", L"192.168.5.5"));
    EXPECT_EQ(StoredTcp(), L"192.168.5.5");
    EXPECT_EQ(LastConnection(), L"TCPIP");
    connection.Restore();
    EXPECT_EQ(StoredTcp(), L"10.0.0.1");
    EXPECT_EQ(LastConnection(), L"TCPIP");
}

TEST_F(CommandLineConnectionTest, OtherTypeKeepsTheStoredSettingsOfBothTypes)
{
    StoreTcp(L"10.0.0.1");
    StoreSerial(L"COM7");
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"RS232"));
    CRecordingConnection connection(L"Zell Software", m_strApplication);
    ASSERT_TRUE(connection.Create(L"TCPIP", L"192.168.5.5"));
    EXPECT_EQ(StoredTcp(), L"192.168.5.5");
    EXPECT_EQ(LastConnection(), L"TCPIP");
    connection.Restore();
    EXPECT_EQ(StoredTcp(), L"10.0.0.1");
    EXPECT_EQ(StoredSerial(), L"COM7");
    EXPECT_EQ(LastConnection(), L"RS232");
}

TEST_F(CommandLineConnectionTest, RefusedSettingsLeaveTheRegistryAlone)
{
    StoreTcp(L"10.0.0.1");
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"RS232"));
    CRecordingConnection connection(L"Zell Software", m_strApplication);
    EXPECT_FALSE(connection.Create(L"TCPIP", L"10.0.0.9,6626"));
    ASSERT_EQ(connection.m_arrMessages.size(), 1u);
    EXPECT_EQ(connection.m_arrMessages[0], L"Invalid parameters for communication settings!");
    EXPECT_FALSE(connection.Create(L"TCPIP", L"<?xml version='1.0'?><TCPIP IP-Address='1.2.3.4'"));
    EXPECT_EQ(StoredTcp(), L"10.0.0.1");
    EXPECT_EQ(LastConnection(), L"RS232");
    connection.Restore();
    EXPECT_EQ(LastConnection(), L"RS232");
}

TEST_F(CommandLineConnectionTest, SerialDeviceReachesTheRegistry)
{
    CRecordingConnection connection(L"Zell Software", m_strApplication);
    ASSERT_TRUE(connection.Create(L"RS232", L"COM4"));
    EXPECT_EQ(StoredSerial(), L"COM4");
    EXPECT_EQ(LastConnection(), L"RS232");
    EXPECT_EQ(connection.RegistryPath(), Path());
}

}

}  // namespace Corvane
