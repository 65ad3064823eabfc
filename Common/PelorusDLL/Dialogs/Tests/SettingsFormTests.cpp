// The two connection forms: what they show of a connection's settings, the
// settings texts they write back, and the time-outs they refuse.
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormRS232.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormTCPIP.h"
#include "Common/PelorusDLL/Dialogs/Tests/ScanTestSupport.h"

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Shell/Tests/ModalScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PelorusIds;

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class CTestRS232Form : public CSettingsFormRS232 {
public:
    using CSettingsFormRS232::CSettingsFormRS232;

protected:
    std::vector<SerialPortInfo> EnumeratePorts() const override
    {
        SerialPortInfo com1, com3, com10;
        com1.name = L"COM1";
        com3.name = L"COM3";
        com3.description = L"USB serial adapter of the workshop's test bench";
        com3.special = true;
        com10.name = L"COM10";
        return {com1, com3, com10};
    }
};

// A form shown inside the script's owner window.
template <typename Form>
class FormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"CSD_MSG_INVALID_TIMOUT_MIN", L"Enter a time-out of at least one second");
    }
    void TearDown() override
    {
        if (m_form && m_form->GetSafeHwnd())
            m_form->DestroyWindow();
        m_form.reset();
    }
    Form& Show(ZELL::CConnectionBase* connection, UINT templateId)
    {
        m_form = std::make_unique<Form>(connection, CWnd::FromHandle(m_script.Owner()));
        EXPECT_TRUE(m_form->Create(templateId, CWnd::FromHandle(m_script.Owner())));
        m_form->ShowWindow(SW_SHOW);
        Driver().PumpUntilIdle();
        return *m_form;
    }
    UiTest::CDialogDriver Driver() const { return UiTest::CDialogDriver(m_form->GetSafeHwnd()); }
    std::wstring SelectedText(int id) const
    {
        const HWND list = Driver().Control(id);
        const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (index < 0)
            return L"<none>";
        wchar_t text[64] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Enters the text as it grows character by character; each step is a
    // change the form sees.
    void Replace(int id, const std::wstring& text)
    {
        UiTest::CDialogDriver driver = Driver();
        driver.Click(id);
        for (std::size_t n = 1; n <= text.size(); ++n) {
            ::SetWindowTextW(driver.Control(id), text.substr(0, n).c_str());
            driver.PumpUntilIdle();
        }
    }
    // Answers each refusal box, noting its text.
    void ExpectBoxes(int count)
    {
        for (int i = 0; i < count; ++i)
            m_script.Then([this](UiTest::CDialogDriver& box) {
                m_boxes.push_back(ShellTest::ModalScript::BoxText(box.Dialog()));
                box.Click(IDOK);
            });
    }

    ShellTest::ModalScript m_script;
    std::unique_ptr<Form> m_form;
    std::vector<std::wstring> m_boxes;
};

using RS232Form = FormFixture<CTestRS232Form>;
using TCPIPForm = FormFixture<CSettingsFormTCPIP>;

}

TEST(SettingsXml, SerialTextsLeaveOutWhatIsNotShownAndEscapeValues)
{
    CSettingsFormRS232::tValues values{L"COM3", 0, L"19200", L"Even", L"8", L"1", 5, 15};
    EXPECT_EQ(CSettingsFormRS232::SettingsXml(values),
              L"<?xml version=\"1.0\"?><RS232 device=\"COM3\" virtual=\"0\" baudrate=\"19200\" parity=\"Even\" "
              L"databits=\"8\" stopbits=\"1\" timeout=\"5000\" RestartTimeoutSeconds=\"15\" />");
    values = {L"", -1, L"", L"a\"<b", L"", L"", 1000000, 1};
    EXPECT_EQ(CSettingsFormRS232::SettingsXml(values),
              L"<?xml version=\"1.0\"?><RS232 parity=\"a&quot;&lt;b\" timeout=\"1000000000\" "
              L"RestartTimeoutSeconds=\"1\" />");
}

TEST(SettingsXml, TcpTextsCarryOneTimeOutForAllThreeAndEscapeTheName)
{
    CSettingsFormTCPIP::tValues values{L"192.168.1.17", 15, 10, false, true, L""};
    EXPECT_EQ(CSettingsFormTCPIP::SettingsXml(values),
              L"<?xml version='1.0'?><TCPIP IP-Address='192.168.1.17' ConnectTimeoutSeconds='15' "
              L"SendTimeoutSeconds='15' ReceiveTimeoutSeconds='15' RestartTimeoutSeconds='10' IdentifyByName='false' "
              L"NameResolution='true' NetworkName='' />");
    ZELL::CTCPIPConnection connection;
    values.networkName = L"R&D's <box>";
    ASSERT_TRUE(connection.SetSettingsXML(CSettingsFormTCPIP::SettingsXml(values)));
    EXPECT_EQ(connection.GetSettingsValue(L"NetworkName"), L"R&D's <box>");
    ASSERT_TRUE(connection.SetSettingsXML(CSettingsFormTCPIP::ChosenDeviceXml(L"10.0.0.2", L"a'b", false)));
    EXPECT_EQ(connection.GetSettingsValue(L"NetworkName"), L"a'b");
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"10.0.0.2");
}

TEST_F(RS232Form, ShowsTheExactPortAndOptionsIgnoringCaseAndWritesWholeSeconds)
{
    ZELL::CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='COM1' baudrate='19200' parity='even' databits='8' "
                                          L"stopbits='1' timeout='12345' RestartTimeoutSeconds='7' />"));
    CTestRS232Form& form = Show(&connection, kRS232Form);
    EXPECT_EQ(SelectedText(kPortList), L"COM1");
    EXPECT_EQ(SelectedText(kParityList), L"Even");
    EXPECT_EQ(SelectedText(kStopBitsList), L"1");
    EXPECT_EQ(Driver().Text(kTimeoutEdit), L"12");
    EXPECT_EQ(Driver().Text(kRestartEdit), L"7");
    EXPECT_FALSE(Driver().IsEnabled(kBaudList));

    ::SendMessageW(Driver().Control(kPortList), CB_SETCURSEL, 1, 0);
    ASSERT_TRUE(form.BuildSettingsXml());
    EXPECT_EQ(connection.GetSettingsValue(L"device"), L"COM3");
    EXPECT_EQ(connection.GetSettingsValue(L"timeout"), L"12000");
    // The virtual-port flag is no setting of the connection.
    EXPECT_EQ(connection.GetSettingsXML().find(L"virtual"), std::wstring::npos);
    EXPECT_TRUE(m_boxes.empty());
}

// The lists speak the user's language and show a port's whole name when
// opened; the settings keep the names the connection reads.
TEST_F(RS232Form, ListsShowTheUsersWordsAndWholePortNamesWhileTheSettingsKeepTheirOwn)
{
    GetLanguageSupport().SetText(L"CSD_TXT_PARITY_EVEN", L"Gerade");
    ZELL::CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='COM3' parity='Even' timeout='5000' />"));
    CTestRS232Form& form = Show(&connection, kRS232Form);
    EXPECT_EQ(SelectedText(kParityList), L"Gerade");
    ASSERT_TRUE(form.BuildSettingsXml());
    EXPECT_EQ(connection.GetSettingsValue(L"parity"), L"Even");
    GetLanguageSupport().SetText(L"CSD_TXT_PARITY_EVEN", L"Even");

    const HWND ports = Driver().Control(kPortList);
    const HDC dc = ::GetDC(ports);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(ports, WM_GETFONT, 0, 0)));
    const std::wstring longest = L"COM3: USB serial adapter of the workshop's test bench";
    SIZE text{};
    ::GetTextExtentPoint32W(dc, longest.c_str(), static_cast<int>(longest.size()), &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(ports, dc);
    RECT box{};
    ::GetWindowRect(ports, &box);
    ASSERT_GT(text.cx, box.right - box.left) << "the name is longer than the box";
    EXPECT_GT(::SendMessageW(ports, CB_GETDROPPEDWIDTH, 0, 0), text.cx);
}

TEST_F(RS232Form, ATimeOutOutsideItsRangeIsRefusedAtOnceAndOnBuilding)
{
    ZELL::CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='COM10' timeout='5000' RestartTimeoutSeconds='7' />"));
    CTestRS232Form& form = Show(&connection, kRS232Form);
    EXPECT_EQ(SelectedText(kPortList), L"COM10");
    ExpectBoxes(3);
    Replace(kRestartEdit, L"101"); // "1", "10" pass, "101" is above the spin's maximum
    EXPECT_EQ(m_boxes.size(), 1u) << Narrow(Driver().Text(kRestartEdit));
    EXPECT_EQ(Driver().FocusId(), kRestartEdit);
    EXPECT_FALSE(form.BuildSettingsXml());
    EXPECT_EQ(connection.GetSettingsValue(L"RestartTimeoutSeconds"), L"7");
    Replace(kRestartEdit, L"0");
    EXPECT_EQ(m_boxes, std::vector<std::wstring>(3, L"Enter a time-out of at least one second"));
}

TEST_F(TCPIPForm, ShowsTheLargestTimeOutAndWritesItForAllThree)
{
    ZELL::CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(
        L"<TCPIP IP-Address='192.168.1.17' ConnectTimeoutSeconds='5' SendTimeoutSeconds='30' "
        L"ReceiveTimeoutSeconds='20' RestartTimeoutSeconds='10' IdentifyByName='TRUE' NameResolution='false' "
        L"NetworkName='coupler' />"));
    CSettingsFormTCPIP& form = Show(&connection, kTCPIPForm);
    EXPECT_EQ(Driver().Text(kTimeoutEdit), L"30");
    EXPECT_TRUE(Driver().IsChecked(kByName)) << Narrow(connection.GetSettingsValue(L"IdentifyByName"));
    EXPECT_FALSE(Driver().IsChecked(kResolveHostNames));
    EXPECT_EQ(Driver().Text(kNetworkName), L"coupler");
    ASSERT_TRUE(form.BuildSettingsXml());
    for (const wchar_t* name : {L"ConnectTimeoutSeconds", L"SendTimeoutSeconds", L"ReceiveTimeoutSeconds"})
        EXPECT_EQ(connection.GetSettingsValue(name), L"30") << name;
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"192.168.1.17");

    ExpectBoxes(1);
    Replace(kTimeoutEdit, L"1001");
    EXPECT_EQ(m_boxes.size(), 1u) << Narrow(Driver().Text(kTimeoutEdit));
}

TEST_F(TCPIPForm, WithoutAConnectionNothingIsBuilt)
{
    CSettingsFormTCPIP& form = Show(nullptr, kTCPIPForm);
    EXPECT_FALSE(form.BuildSettingsXml());
    form.ResetToDefault();
}

// The search starts from the form's connection: a device on the port that
// connection talks to is found (here one without a hardware address, as on
// this machine), and the chosen one fills the form.
TEST_F(TCPIPForm, TheSearchLooksOnTheConnectionsPortAndTheChosenDeviceFillsTheForm)
{
    PelorusTest::CSimulatedDevices devices({61});
    ZELL::CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(
        L"<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='" + std::to_wstring(devices.Port()) + L"' />"));
    CSettingsFormTCPIP& form = Show(&connection, kTCPIPForm);
    auto probe = std::make_shared<PelorusTest::CFakeProbe>();
    probe->m_answering = {{L"127.0.0.61", L""}};
    unsigned short port = 0;
    form.m_prepareScan = [&](CScanNetworkDlg& scan) {
        port = scan.m_servicePort;
        scan.m_probe = probe;
    };
    CHostProfile().WriteString(L"Settings", L"AddrSearchFirst", L"127.0.0.61");
    CHostProfile().WriteString(L"Settings", L"AddrSearchLast", L"127.0.0.61");
    m_script.Then([&](UiTest::CDialogDriver& scan) {
        scan.Click(kSearch);
        scan.PumpUntilIdle();
        ASSERT_TRUE(scan.PumpUntil([&] { return scan.IsEnabled(kSearch); }, 20000));
        PelorusTest::ClickRow(scan.Control(kDeviceList), 0);
        scan.PumpUntilIdle();
        scan.Click(IDOK);
    });
    Driver().Click(kSearchDevice);
    Driver().PumpUntilIdle();
    EXPECT_EQ(port, devices.Port());
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"127.0.0.61");
    EXPECT_EQ(connection.GetSettingsValue(L"ServicePort"), std::to_wstring(devices.Port()));
    EXPECT_EQ(CSettingsFormTCPIP::ServicePortOf(connection), devices.Port());
    ASSERT_TRUE(connection.SetSettingsXML(L"<?xml version='1.0'?><TCPIP ServicePort='0' />"));
    EXPECT_EQ(CSettingsFormTCPIP::ServicePortOf(connection), CSettingsFormTCPIP::kDefaultServicePort);
}
