// The connection-settings dialog with each of its forms as a program for
// the screen comparison:
//   X11PelorusDialogs --settings-tcpip|--settings-rs232 [--headless PNG]
#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"
#include "Common/SystemHelper/LanguageTexts.h"
#include "Common/Tessel/Tests/X11/ModalScreenRun.h"
#include "Platform/Controls/StandardControls.h"

#include <cstring>
#include <memory>

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
    if (argc < 2 || (std::strcmp(argv[1], "--settings-tcpip") != 0 && std::strcmp(argv[1], "--settings-rs232") != 0))
        return 1;
    ScreenTest::CModalScreenRun run(argc, argv);
    if (!ZELL::Controls::RegisterStandardControls())
        return 3;
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
