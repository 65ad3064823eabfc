// The connection-settings dialog with each of its forms, and the scan dialog
// with the devices it found, as a program for the screen comparison:
//   X11PelorusDialogs --settings-tcpip|--settings-rs232|--scan [--headless PNG]
#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/PelorusDLL/Dialogs/Tests/ScanTestSupport.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/Tests/X11/ModalScreenRun.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/DialogDriver.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr LPCWSTR kStorage = L"HKEY_CURRENT_USER\\Software\\Zell Software\\X11PelorusDialogs\\Communication";

void UseTexts()
{
    const std::pair<LPCWSTR, LPCWSTR> texts[] = {
        {L"CSD_LBL_TITLE", L"Communication settings"}, {L"CSD_TXT_CONNECTION", L"Connection"},
        {L"CSD_TXT_SETTINGS", L"Settings"}, {L"CSD_BTN_DEFAULT", L"Default"}, {L"CSD_BTN_TEST", L"Test"},
        {L"CSD_BTN_CANCEL", L"Cancel"}, {L"SND_BTN_APPLY", L"OK"}, {L"CSD_LBL_IPADDRESS", L"IP address"},
        {L"CSD_LBL_HOSTNAME", L"Network name"}, {L"CSD_LBL_RESOLVE_HOSTNAMES", L"Resolve network names"},
        {L"CSD_LBL_TIMEOUT", L"Time-out (s)"}, {L"CSD_LBL_RESTART_TO", L"Restart time-out (s)"},
        {L"CSD_BTN_SEARCH_DEVICE", L"..."}, {L"CSD_LBL_COMMPORT", L"Port"}, {L"CSD_LBL_BAUDRATE", L"Baud rate"},
        {L"CSD_LBL_PARITY", L"Parity"}, {L"CSD_LBL_DATABITS", L"Data bits"}, {L"CSD_LBL_STOPBITS", L"Stop bits"}};
    for (const auto& [key, text] : texts)
        GetLanguageSupport().SetText(key, text);
}

void UseScanTexts()
{
    const std::pair<LPCWSTR, LPCWSTR> texts[] = {
        {L"SND_TITLE", L"Search devices"}, {L"SND_GRP_ADDRESS_RANGE", L"Address range"}, {L"SND_LBL_FROM", L"From"},
        {L"SND_LBL_TO", L"To"}, {L"SND_BTN_SEARCH", L"Search"}, {L"SND_LBL_CHECK_SHOW_ALL", L"Show all devices"},
        {L"SND_GRP_DEVICE_LIST", L"Devices"}, {L"SND_HDR_IP_ADDRESS", L"IP address"},
        {L"SND_HDR_ARTICLE_NO", L"Article"}, {L"SND_HDR_MAC_ADDRESS", L"MAC address"}, {L"SND_BTN_APPLY", L"Apply"},
        {L"SND_BTN_CANCEL", L"Cancel"}, {L"CSD_LBL_RESOLVE_HOSTNAMES", L"Resolve network names"}};
    for (const auto& [key, text] : texts)
        GetLanguageSupport().SetText(key, text);
}

// The scan over simulated devices, pictured once it has listed them.
int RunScan(ScreenTest::CModalScreenRun& run)
{
    UseScanTexts();
    PelorusTest::CSimulatedDevices devices({2, 3, 5});
    const CHostProfile profile;
    profile.WriteString(L"Settings", L"AddrSearchFirst", L"127.0.0.2");
    profile.WriteString(L"Settings", L"AddrSearchLast", L"127.0.0.5");
    auto probe = std::make_shared<PelorusTest::CFakeProbe>();
    probe->m_answering = {{L"127.0.0.2", L"02:5A:E1:00:00:12"}, {L"127.0.0.3", L"02:5A:E1:00:00:13"}};
    CScanNetworkDlg dialog;
    dialog.m_probe = probe;
    dialog.m_servicePort = devices.Port();
    dialog.m_retryWaitSeconds = 0;
    bool searched = false;
    const int result = run.Run([&dialog] { dialog.DoModal(); }, [&](HWND shown) {
        if (!searched) {
            searched = true;
            PostMessageW(shown, WM_COMMAND, MAKEWPARAM(PelorusIds::kSearch, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(shown, PelorusIds::kSearch)));
            return false;
        }
        return !dialog.IsScanning() && dialog.m_hWnd != nullptr &&
               SendDlgItemMessageW(shown, PelorusIds::kDeviceList, LVM_GETITEMCOUNT, 0, 0) == 2;
    });
    // The workers end before the devices go.
    const UiTest::CDialogDriver idle(nullptr);
    return idle.PumpUntil([&dialog] { return dialog.Scan()->WaitForWorkers(0); }, 30000) ? result : 7;
}

std::unique_ptr<ZELL::CConnectionBase> Connection(bool serial)
{
    std::unique_ptr<ZELL::CConnectionBase> connection;
    if (serial)
        connection = std::make_unique<ZELL::CRS232Connection>();
    else
        connection = std::make_unique<ZELL::CTCPIPConnection>();
    connection->SetStorageProperties(kStorage, ZELL::ISettings::Registry);
    const bool set = connection->SetSettingsXML(
        serial ? L"<RS232 device='COM1' baudrate='19200' parity='Even' databits='8' stopbits='1' timeout='7000' "
                 L"RestartTimeoutSeconds='20' />"
               : L"<TCPIP IP-Address='192.168.1.17' ServicePort='6626' ConnectTimeoutSeconds='3' "
                 L"SendTimeoutSeconds='3' ReceiveTimeoutSeconds='3' RestartTimeoutSeconds='10' />");
    return set ? std::move(connection) : nullptr;
}

}

// Fontconfig's caches live as long as the process: no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    const std::string option = argc >= 2 ? argv[1] : "";
    if (option != "--settings-tcpip" && option != "--settings-rs232" && option != "--scan")
        return 1;
    ScreenTest::CModalScreenRun run(argc, argv);
    if (!ZELL::Controls::RegisterStandardControls())
        return 3;
    if (option == "--scan")
        return RunScan(run);
    UseTexts();
    // The dialog replaces (and frees) the connection when its kind changes:
    // the slot always holds the one alive.
    ZELL::CConnectionBase* slot = Connection(std::strcmp(argv[1], "--settings-rs232") == 0).release();
    if (slot == nullptr)
        return 6;
    const int result = run.Run([&slot] { PelorusSettings(&slot, L"1033", nullptr, L"", 0); });
    delete slot;
    return result;
}
