#include "Common/PelorusDLL/Dialogs/ScanWorker.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/Communication/IdentificationAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Dialogs/DeviceInfo.h"
#include "Common/PelorusDLL/Dialogs/SocketsScope.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Base/Format.h"
#include "Platform/Framework/App/WinThread.h"
#include "Platform/Shell/ComInit.h"

#include <chrono>
#include <cstring>
#include <cwctype>
#include <thread>

namespace {

// Pairs the thread's object-library start with its end.
class CComScope {
public:
    CComScope() : m_initialised(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~CComScope()
    {
        if (m_initialised)
            ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_initialised = false;
};

void CloseQuietly(ZELL::CTCPIPConnection& connection)
{
    try {
        connection.Close();
    } catch (...) {
    }
}

bool OpenQuietly(ZELL::CTCPIPConnection& connection)
{
    try {
        if (!connection.IsOpen())
            connection.Open();
        return true;
    } catch (...) {
        return false;
    }
}

// The device names its MAC as twelve hex digits; the scan shows it the way
// ARP gives it, as six pairs joined by ":".
std::wstring ColonSeparatedMac(const std::wstring& mac)
{
    if (mac.size() != 12 || mac.find_first_not_of(L"0123456789ABCDEFabcdef") != std::wstring::npos)
        return mac;
    std::wstring result;
    for (std::size_t i = 0; i < 12; i += 2) {
        if (!result.empty())
            result += L':';
        result += static_cast<wchar_t>(std::towupper(mac[i]));
        result += static_cast<wchar_t>(std::towupper(mac[i + 1]));
    }
    return result;
}

}

bool CScanWorker::Start(tScanThreadParam* param)
{
    std::shared_ptr<CScanContext> scan = param->scan;
    scan->WorkerStarted();
    if (AfxBeginThread(&CScanWorker::ThreadProc, param) != nullptr)
        return true;
    delete param->record;
    delete param;
    scan->ResultArrived();
    scan->WorkerEnded();
    return false;
}

UINT CScanWorker::ThreadProc(LPVOID param)
{
    std::shared_ptr<CScanContext> scan;
    {
        CComScope com;
        CSocketsScope sockets;
        std::unique_ptr<tScanThreadParam> block(static_cast<tScanThreadParam*>(param));
        scan = block->scan;
        CScanWorker worker(*block);
        block.reset();
        worker.Run();
    }
    scan->WorkerEnded();
    return 0;
}

CScanWorker::CScanWorker(const tScanThreadParam& param)
    : m_dialog(param.dialog), m_record(param.record), m_scan(param.scan)
{
}

void CScanWorker::Run()
{
    bool found = false;
    if (m_scan->m_pingEnabled) {
        found = !m_scan->IsCancelled() && Probe();
    } else {
        m_record->m_zellDevice2 = true;
        m_record->m_macAddress.clear();
        found = true;
    }
    if (!m_scan->IsCancelled() && found && m_record->m_zellDevice2)
        found = IdentifyOverTcp();
    else if (!m_scan->IsCancelled() && found && m_record->m_macAddress.empty())
        IdentifyWithoutMac();
    HandOver(found);
}

bool CScanWorker::Probe()
{
    CDeviceInfo& record = *m_record;
    record.m_identified = record.m_zellDevice = record.m_zellDevice2 = record.m_usable = false;
    record.m_macAddress.clear();
    record.m_stateText.clear();
    const bool answered = m_scan->m_probe->Ping(record.m_ipAddress, m_scan->m_pingTimeoutMs);
    record.m_answered = answered;
    if (answered) {
        const std::wstring mac = m_scan->m_probe->MacAddress(record.m_ipAddress);
        if (mac.empty()) {
            record.m_stateText = m_scan->m_texts.noMacId;
        } else {
            record.m_macAddress = mac;
            const bool ours = mac.compare(0, 8, kZellMacPrefix) == 0;
            record.m_zellDevice = record.m_zellDevice2 = record.m_usable = ours;
            if (!ours)
                record.m_stateText = m_scan->m_texts.noZellDevice;
        }
    } else {
        record.m_stateText = m_scan->m_texts.deviceNotFound;
    }
    if (record.m_resolveHostName)
        record.m_hostName = m_scan->m_probe->HostName(record.m_ipAddress, m_scan->m_servicePort);
    return answered;
}

std::unique_ptr<ZELL::CTCPIPConnection> CScanWorker::MakeConnection() const
{
    auto connection = std::make_unique<ZELL::CTCPIPConnection>();
    if (m_scan->HasTemplate()) {
        connection->SetStorageProperties(m_scan->StorageName(), m_scan->StorageType());
        connection->LoadSettings();
    }
    connection->SetSettingsXML(FormatW(L"<?xml version='1.0'?><TCPIP IP-Address='%s' ServicePort='%u' />",
                                       m_record->m_ipAddress.c_str(), unsigned{m_scan->m_servicePort}));
    return connection;
}

bool CScanWorker::OpenWithRetry(ZELL::CTCPIPConnection& connection)
{
    if (OpenQuietly(connection))
        return true;
    CloseQuietly(connection);
    // The wait before the one retry ends early when the scan is cancelled.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(m_record->m_waitSeconds);
    while (!m_scan->IsCancelled() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !m_scan->IsCancelled() && OpenQuietly(connection);
}

bool CScanWorker::IdentifyOverTcp()
{
    CDeviceInfo& record = *m_record;
    std::unique_ptr<ZELL::CTCPIPConnection> connection = MakeConnection();
    if (!OpenWithRetry(*connection)) {
        record.m_zellDevice = record.m_usable = false;
        record.m_stateText = m_scan->m_texts.notSupported;
        return false;
    }
    return Identify(*connection);
}

// Something answers but shows no hardware address: this machine itself (a
// loopback address, or a simulated device on one of its own addresses). The
// prefix cannot tell whether it is one of ours, so its service port may: one
// attempt, without the retry meant for devices known to be ours. When nothing
// listens there, the record keeps its state.
void CScanWorker::IdentifyWithoutMac()
{
    std::unique_ptr<ZELL::CTCPIPConnection> connection = MakeConnection();
    if (OpenQuietly(*connection))
        Identify(*connection);
    else
        CloseQuietly(*connection);
}

bool CScanWorker::Identify(ZELL::CTCPIPConnection& connection)
{
    bool identified = false;
    {
        CTCPIPService service(&connection);
        identified = ReadIdentification(service);
    }
    if (!identified)
        AskArticleNumberOnly(connection);
    CloseQuietly(connection);
    return identified;
}

bool CScanWorker::ReadIdentification(CTCPIPService& service)
{
    std::wstring order, description, hardware, software, serial, networkId, mac;
    const bool read = m_scan->IsCancelled() || service.IdentifyDevice(order, description, hardware, software);
    if (!read || !service.GetSerialNumber(serial) || !service.GetNetworkID(networkId, mac))
        return false;
    CDeviceInfo& record = *m_record;
    CArticleNumber article(order);
    record.m_articleNumber = article.GetText(false);
    record.m_description = description;
    record.m_softwareVersion = software;
    record.m_serialNumber = serial;
    record.m_zellDevice = record.m_zellDevice2 = record.m_usable = record.m_identified = true;
    if (record.m_macAddress.empty())
        record.m_macAddress = ColonSeparatedMac(mac);
    return true;
}

void CScanWorker::AskArticleNumberOnly(ZELL::CTCPIPConnection& connection)
{
    std::wstring order;
    try {
        ZELL::CServiceProtocol protocol(&connection);
        protocol.SetSettingsXML(L"<?xml version='1.0'?> <ServiceProtocol ChecksumLength='0' />");
        ZELL::CIdentificationAPI identification(&protocol);
        char* text = nullptr;
        if (identification.GetOrderNumber(&text) && text)
            order.assign(text, text + std::strlen(text));
        delete[] text;
    } catch (...) {
        order.clear();
    }
    CDeviceInfo& record = *m_record;
    record.m_identified = false;
    record.m_stateText = m_scan->m_texts.identifyFailed;
    if (order.empty())
        return;
    CArticleNumber article(order);
    if (article.GetPart(0, true) != L"0629")
        return;
    record.m_zellDevice = record.m_usable = false;
    record.m_articleNumber = article.GetText(false);
    record.m_stateText = m_scan->m_texts.notSupported;
}

void CScanWorker::HandOver(bool found)
{
    CDeviceInfo* record = m_record.release();
    record->m_scan = m_scan.get();
    const LRESULT answer = ::SendMessageW(m_dialog, CScanContext::DeviceIdentifiedMessage(), found ? 1 : 0,
                                          reinterpret_cast<LPARAM>(record));
    if (answer == CScanContext::kRecordTaken)
        return;
    // Nobody took it (the dialog is gone, or it was another scan's window).
    delete record;
    m_scan->ResultArrived();
}
