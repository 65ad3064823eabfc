#include "Products/Corvane/Workers/DeviceDataWriter.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <string>

namespace Corvane {

namespace {

constexpr WORD kCommonTableNumber = 0;
constexpr WORD kSpecificTableNumber = 100;
constexpr std::size_t kTerminalBusWord = 8;
constexpr unsigned short kStaticKind = 1;
constexpr WORD kBusyState = 0x821D;
constexpr DWORD kInterfaceModePollMs = 2000;
constexpr wchar_t kNoAddress[] = L"0.0.0.0";

enum ENNetworkParamId : unsigned short {
    IdIPAddress = 1,
    IdSubnetMask = 2,
    IdGateway = 3,
    IdFirstDns = 4,
    IdSecondDns = 5,
    IdSntpServer = 6,
    IdHostName = 7,
    IdDomainName = 8,
    IdSwitchBase = 9,
    IdSntpServerName = 11
};

// A settings file carries no MAC address and no SNTP server name, so a
// record with a MAC address is one the device filled, SNTP name included.
bool NamesFromDevice(const CServiceBase::tNetworkParams& record) { return !record.strMACAddress.empty(); }

}

DWORD CDeviceDataWriter::TakeError()
{
    if (const DWORD code = m_Context.Service().GetLastErrorCode(); code != 0)
        m_dwStepError = code;
    return m_dwStepError;
}

bool CDeviceDataWriter::NotSupported() { return TakeError() == PELORUS_ERROR_SERVICE_NOT_SUPPORTED; }

void CDeviceDataWriter::Stopped(ENWriteStop stop, const CString& stepKey, DWORD errorCode)
{
    m_Stop = tWriteStop{stop, stepKey, errorCode};
    m_Context.Fail([stop = m_Stop] { return CWriteStopText::Text(stop); });
}

bool CDeviceDataWriter::Step(ENWriteStop stop, const wchar_t* stepKey, const std::function<bool()>& body)
{
    m_Context.Service().ResetLastErrorCode();
    m_dwStepError = 0;
    if (body())
        return true;
    Stopped(stop, stepKey, TakeError());
    return false;
}

bool CDeviceDataWriter::WriteAll()
{
    m_Stop = tWriteStop{};
    m_bStoreUnconfirmed = false;
    const CFBCData& data = m_Context.Data();
    constexpr ENWriteStop partly = ENWriteStop::PartlyWritten;
    if (!Step(ENWriteStop::NothingWritten, L"STATE_ENABLE_PARAM", [&] { return EnableParameterWriting(); }) ||
        !Step(partly, L"STATE_WRITE_COMMON", [&] { return WriteCommonRegister(); }) ||
        !Step(partly, L"STATE_WRITE_SPECIFIC", [&] { return WriteRegisterTable(); }))
        return false;
    if (data.HasTerminalBusExtension) {
        const bool on = data.StatusWords.size() > kTerminalBusWord && data.StatusWords[kTerminalBusWord] != 0;
        if (!Step(partly, on ? L"STATE_ENABLE_TERMINALBUS_EXTENSION" : L"STATE_DISABLE_TERMINALBUS_EXTENSION",
                  [&] { return WriteTerminalBusExtension(); }))
            return false;
    }
    if (data.HasNetworkParams && data.NetworkParamsModified && !WriteNetworkParameters()) {
        Stopped(partly, CThreadStateTable::ActionKey(static_cast<int>(m_FailedPort)), TakeError());
        return false;
    }
    if (data.HasSDCardSlot && !Step(partly, L"STATE_SET_PLC_ROOT_LOCATION", [&] { return WritePLCRootLocation(); }))
        return false;
    if (data.EthernetInterfaceMode != 0xFFFF && data.InterfaceModeToWrite) {
        const wchar_t* key = data.EthernetInterfaceMode != 0 ? L"STATE_SET_ETH_INTERFACE_SEPARATED"
                                                             : L"STATE_SET_ETH_INTERFACE_SWITCHED";
        if (!Step(partly, key, [&] { return WriteEthernetInterfaceMode(); }))
            return false;
    }
    if (data.ActiveRuntimeSystem != 0xFFFF && data.ActiveRuntimeSystemToWrite) {
        const wchar_t* key = data.ActiveRuntimeSystem == 0 ? L"STATE_DEACTIVATE_RUNTIME_SYSTEM"
                                                           : L"STATE_CHANGE_RUNTIME_SYSTEM";
        if (!Step(partly, key, [&] { return WriteActiveRuntimeSystem(); }))
            return false;
    }
    if (!StoreStep())
        return false;
    return m_Context.Capabilities().IsPlcController(data.ArticleNo) || RestartStep();
}

bool CDeviceDataWriter::StoreStep()
{
    const tStoreResult stored = m_Steps.StoreParameters();
    switch (stored.outcome) {
    case ENStoreOutcome::Stored:
        return true;
    case ENStoreOutcome::NotSupported:
        m_bStoreUnconfirmed = true;
        return true;
    case ENStoreOutcome::Refused:
        Stopped(ENWriteStop::PartlyWritten, L"STATE_SAVE_PARAMETER", stored.errorCode);
        return false;
    case ENStoreOutcome::Unknown:
        break;
    }
    Stopped(ENWriteStop::StoreUnknown, L"STATE_SAVE_PARAMETER", stored.errorCode);
    return false;
}

bool CDeviceDataWriter::RestartStep()
{
    return Step(ENWriteStop::NotRestarted, L"STATE_SOFTWARE_RESET",
                [&] { return m_Steps.SoftwareReset(m_Context.Data().ArticleNo); });
}

bool CDeviceDataWriter::EnableParameterWriting()
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::EnableParam, ENThreadState::Working);
    const bool ok = m_Context.Service().EnableParamWriting(true);
    reporter.ShowResult(ENThreadAction::EnableParam, ok, true);
    return ok;
}

bool CDeviceDataWriter::WriteCommonRegister()
{
    const CRegisterTable& table = m_Context.Data().CommonTable;
    if (table.IsEmpty() || table.GetCount() != CDeviceDataReader::GetTableLength(m_Context.Service(), kCommonTableNumber))
        return false;
    if (table.GetCount() <= kCommonWritableIndex)
        return true;
    return m_Context.Service().WriteRegister(0, kCommonTableNumber, kCommonWritableIndex, 1,
                                             table.GetData() + kCommonWritableIndex);
}

bool CDeviceDataWriter::WriteRegisterTable()
{
    const CRegisterTable& table = m_Context.Data().SpecificTable;
    if (table.IsEmpty())
        return false;
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::WriteSpecific, ENThreadState::Working);
    const WORD deviceLength = CDeviceDataReader::GetTableLength(m_Context.Service(), kSpecificTableNumber);
    WORD count = table.GetCount();
    ENThreadState state = ENThreadState::Done;
    if (count < deviceLength) {
        state = ENThreadState::NotAllDeviceParamsWritten;
    } else if (count > deviceLength) {
        count = deviceLength;
        state = ENThreadState::NotAllDatasetParamsWritten;
    }
    const bool ok = count > 0 && m_Context.Service().WriteRegister(0, kSpecificTableNumber, 0, count, table.GetData());
    reporter.ShowState(ENThreadAction::WriteSpecific, ok ? state : ENThreadState::Failed, true);
    return ok;
}

bool CDeviceDataWriter::WriteTerminalBusExtension()
{
    const CFBCData& data = m_Context.Data();
    // A set without the ninth status word has no switch to write back.
    if (data.StatusWords.size() <= kTerminalBusWord)
        return false;
    const bool on = data.StatusWords[kTerminalBusWord] != 0;
    const ENThreadAction action = on ? ENThreadAction::EnableTerminalBusExtension
                                     : ENThreadAction::DisableTerminalBusExtension;
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(action, ENThreadState::Working);
    const bool ok = m_Context.Service().EnableTerminalBusExtension(on);
    reporter.ShowResult(action, ok, true);
    return ok;
}

bool CDeviceDataWriter::WriteNetworkParameters()
{
    CFBCData& data = m_Context.Data();
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::WriteNetworkParameters, ENThreadState::Working);
    m_Context.Service().ResetLastErrorCode();
    m_dwStepError = 0;
    const DWORD ports = data.GetEthernetPortCount();
    bool ok = ports > 0;
    // The first port that fails ends the write: a later port written over
    // it would leave the device with a mix the user never asked for.
    for (DWORD port = 0; ok && port < ports; ++port) {
        m_FailedPort = port == 0 ? ENThreadAction::WriteNetworkParametersX1 : ENThreadAction::WriteNetworkParametersX2;
        reporter.ShowState(m_FailedPort, ENThreadState::Working);
        ok = WriteStaticNetworkParams(static_cast<unsigned short>(port), *data.GetStaticNetworkParams(port));
        reporter.ShowResult(m_FailedPort, ok, true);
    }
    reporter.ShowResult(ENThreadAction::WriteNetworkParameters, ok, true);
    return ok;
}

bool CDeviceDataWriter::WriteStaticNetworkParams(unsigned short port, const CServiceBase::tNetworkParams& record)
{
    CServiceBase& service = m_Context.Service();
    if (!service.WriteIPAddressSourceUsingService(port, kStaticKind, record.wIPAddressSource))
        return false;
    const std::pair<unsigned short, const std::wstring*> addresses[] = {
        {IdIPAddress, &record.strIPAddress},
        {IdSubnetMask, &record.strSubnetMask},
        {IdGateway, &record.strGatewayAddress},
        {IdFirstDns, &record.strPreferredDNSServer},
        {IdSecondDns, &record.strAlternativeDNSServer},
    };
    for (const auto& [id, text] : addresses) {
        if (!service.SetIPAddress(port, id, kStaticKind, *text))
            return false;
    }
    return WriteSntpServer(port, record) && service.SetNetworkParamName(port, IdHostName, kStaticKind, record.strHostName) &&
           service.SetNetworkParamName(port, IdDomainName, kStaticKind, record.strDomainName) &&
           service.SetIPAddress(port, IdSwitchBase, kStaticKind, record.strParameter9);
}

bool CDeviceDataWriter::WriteSntpServer(unsigned short port, const CServiceBase::tNetworkParams& record)
{
    CServiceBase& service = m_Context.Service();
    const std::wstring& name = record.strSNTPHostName;
    const bool writeName = NamesFromDevice(record) && name != CServiceBase::SERVICE_NOT_SUPPORTED;
    bool ok = true;
    if (record.strParameter6.empty()) {
        if (writeName)
            ok = service.SetNetworkParamName(port, IdSntpServerName, kStaticKind, name);
        if (name.empty())
            ok = service.SetIPAddress(port, IdSntpServer, kStaticKind, kNoAddress);
        return ok;
    }
    ok = service.SetIPAddress(port, IdSntpServer, kStaticKind, record.strParameter6);
    if (record.strParameter6 == kNoAddress && writeName)
        ok = service.SetNetworkParamName(port, IdSntpServerName, kStaticKind, L"");
    return ok;
}

bool CDeviceDataWriter::WritePLCRootLocation()
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::SetPlcRootLocation, ENThreadState::Working);
    ENThreadState state = ENThreadState::Done;
    if (!m_Context.Service().SetPLCRootLocation(m_Context.Data().SDCardInfo.wRootLocation))
        state = NotSupported() ? ENThreadState::NotAllDatasetParamsWritten : ENThreadState::Failed;
    reporter.ShowState(ENThreadAction::SetPlcRootLocation, state, true);
    return state != ENThreadState::Failed;
}

bool CDeviceDataWriter::WaitWhileInterfaceBusy(ENThreadAction action)
{
    CServiceBase& service = m_Context.Service();
    const ULONGLONG polls = CDeviceResetSteps::kMaxPollMs / kInterfaceModePollMs;
    for (ULONGLONG poll = 0; poll < polls; ++poll) {
        if (!m_Context.Wait().Sleep(kInterfaceModePollMs))
            return false;
        tServiceState state;
        if (!service.GetServiceState(5, 4, state))
            return false;
        if (state.wState != kBusyState)
            return state.wState == 0;
        m_Context.Reporter().ShowState(action, ENThreadState::Working);
    }
    return false;
}

bool CDeviceDataWriter::WriteEthernetInterfaceMode()
{
    CFBCData& data = m_Context.Data();
    CServiceBase& service = m_Context.Service();
    const WORD want = data.EthernetInterfaceMode;
    const ENThreadAction action = want != 0 ? ENThreadAction::SetEthInterfaceSeparated
                                            : ENThreadAction::SetEthInterfaceSwitched;
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(action, ENThreadState::Working);

    unsigned short current = 0xFFFF;
    bool ok = service.GetEthernetInterfaceMode(current);
    if (ok && current != want && !service.SetEthernetInterfaceMode(want)) {
        const unsigned long code = service.GetLastErrorCode();
        ok = code == ZELL::CServiceAPI::kBusy ? WaitWhileInterfaceBusy(action)
                                              : code == PELORUS_ERROR_SERVICE_NOT_SUPPORTED;
        if (!ok || code != ZELL::CServiceAPI::kBusy) {
            data.EthernetInterfaceMode = 0xFFFF;
            data.InterfaceModeToWrite = false;
            reporter.ShowResult(action, ok, true);
            return ok;
        }
    }
    if (ok) {
        current = 0xFFFF;
        ok = service.GetEthernetInterfaceMode(current) && current == want;
        data.InterfaceModeToWrite = false;
    }
    reporter.ShowResult(action, ok, true);
    return ok;
}

bool CDeviceDataWriter::WriteActiveRuntimeSystem()
{
    CFBCData& data = m_Context.Data();
    CServiceBase& service = m_Context.Service();
    const WORD want = data.ActiveRuntimeSystem;
    const ENThreadAction action = want == 0 ? ENThreadAction::DeactivateRuntimeSystem
                                            : ENThreadAction::ChangeRuntimeSystem;
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(action, ENThreadState::Working);

    unsigned short current = 0xFFFF;
    bool ok = service.GetActiveRuntimeSystem(current) && (current == want || service.SetActiveRuntimeSystem(want));
    if (ok) {
        current = 0xFFFF;
        ok = service.GetActiveRuntimeSystem(current) && current == want;
    } else {
        data.RuntimeSystems.clear();
        ok = NotSupported();
    }
    data.ActiveRuntimeSystemToWrite = false;
    reporter.ShowResult(action, ok, true);
    return ok;
}

void CDeviceDataWriter::ReconnectWithNewIPAddress()
{
    const CFBCData& data = m_Context.Data();
    ZELL::CConnectionBase& connection = m_Context.Connection();
    const std::wstring current = connection.GetSettingsValue(L"IP-Address");
    std::wstring newAddress;
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        const std::wstring& actual = data.GetActualNetworkParams(port)->strIPAddress;
        const std::wstring& stored = data.GetStaticNetworkParams(port)->strIPAddress;
        if (current == actual && stored != current && stored != actual)
            newAddress = stored;
    }
    if (!newAddress.empty())
        ReconnectAt(newAddress);
}

void CDeviceDataWriter::ReconnectAt(const std::wstring& address)
{
    m_Context.Connection().SetSettingsXML(L"<?xml version='1.0'?> <TCPIP IP-Address='" + XmlEscape(address) +
                                          L"' />");
}

}  // namespace Corvane
