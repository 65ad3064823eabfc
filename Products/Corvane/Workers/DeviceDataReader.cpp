#include "Products/Corvane/Workers/DeviceDataReader.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/ArticleCompare.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <functional>
#include <string>
#include <vector>

namespace Corvane {

namespace {

constexpr wchar_t kNotSupportedText[] = L"ERROR: Service not supported!";
constexpr wchar_t kNetworkIdNotSupportedText[] = L"ERR: Service not supported!";
constexpr WORD kCommonTableNumber = 0;
constexpr WORD kSpecificTableNumber = 100;
// A table descriptor: the table number in the upper 7 bits, the word count
// in the lower 9.
constexpr WORD kTableCountMask = 0x1FF;
constexpr int kTableNumberShift = 9;
constexpr unsigned int kStaticAddressRegister = 9;
constexpr unsigned int kSubnetMaskRegister = 11;
constexpr unsigned int kGatewayRegister = 13;
constexpr DWORD kAddressRetryMs = 1000;
constexpr unsigned short kActualKind = 0;
constexpr unsigned short kStaticKind = 1;

}

WORD CDeviceDataReader::GetTableLength(CServiceBase& service, WORD table)
{
    std::vector<tFBCTable> tables;
    if (!service.GetTableInfo(tables))
        return 0;
    for (const tFBCTable descriptor : tables) {
        if ((descriptor >> kTableNumberShift) == table)
            return static_cast<WORD>(descriptor & kTableCountMask);
    }
    return 0;
}

bool CDeviceDataReader::NotSupported()
{
    return m_Context.TakeServiceError() == PELORUS_ERROR_SERVICE_NOT_SUPPORTED;
}

bool CDeviceDataReader::ReadAllDeviceData()
{
    if (!m_Context.IsComplete())
        return false;
    m_Context.Data().Clear();
    if (!ReadIdentification()) {
        ForgetAddresses();
        return false;
    }
    return ReadAddresses() && ReadInterfaceMode() && ReadRuntimeSystems() &&
           ReadTable(kCommonTableNumber, true) && ReadTable(kSpecificTableNumber, false);
}

bool CDeviceDataReader::ReadIdentification()
{
    CFBCData& data = m_Context.Data();
    CServiceBase& service = m_Context.Service();
    return Identify() &&
           ReadOptionalText([&](std::wstring& text) { return service.GetFWLVersion(text); }, data.FWLVersion,
                            L"SERVICE_FWL_VERSION_FAILED") &&
           ReadOptionalText([&](std::wstring& text) { return service.GetSerialNumber(text); }, data.SerialNo,
                            L"SERVICE_SERIALNO_FAILED") &&
           ReadImei() && ReadNetworkIdentification() && CheckDeviceSupported() && ReadClock() &&
           ReadAddressSwitch() && ReadStateWords() && ReadMemoryCard();
}

bool CDeviceDataReader::Identify()
{
    std::wstring article, description, hardware, software;
    const bool ok = m_Context.Service().IdentifyDevice(article, description, hardware, software);
    CFBCData& data = m_Context.Data();
    data.ArticleNo = article.c_str();
    data.Description = description.c_str();
    data.HWVersion = hardware.c_str();
    data.SWVersion = software.c_str();
    return m_Context.Check(ok, L"SERVICE_IDENTIFY_FAILED");
}

bool CDeviceDataReader::ReadOptionalText(const std::function<bool(std::wstring&)>& read, CString& target,
                                         const wchar_t* key)
{
    std::wstring text;
    if (read(text)) {
        target = text.c_str();
        return true;
    }
    if (NotSupported()) {
        target = kNotSupportedText;
        return true;
    }
    target.Empty();
    return m_Context.Check(false, key);
}

bool CDeviceDataReader::ReadImei()
{
    std::wstring imei;
    CFBCData& data = m_Context.Data();
    if (m_Context.Service().GetIMEI(imei)) {
        data.IMEI = imei.c_str();
        return true;
    }
    data.IMEI = L"--";
    return m_Context.Check(NotSupported(), L"SERVICE_IMEI_FAILED");
}

bool CDeviceDataReader::ReadNetworkIdentification()
{
    std::wstring name, id;
    CFBCData& data = m_Context.Data();
    if (m_Context.Service().GetNetworkID(name, id)) {
        data.NetIDName = name.c_str();
        data.NetworkID = id.c_str();
        return true;
    }
    data.NetIDName.Empty();
    if (NotSupported()) {
        data.NetworkID = kNetworkIdNotSupportedText;
        return true;
    }
    data.NetworkID.Empty();
    return m_Context.Check(false, L"SERVICE_MACID_FAILED");
}

bool CDeviceDataReader::CheckDeviceSupported()
{
    CFBCData& data = m_Context.Data();
    CString base = data.ArticleNo;
    const int slash = base.Find(L'/');
    if (slash >= 0)
        base = base.Left(slash);
    for (const CString& entry : m_Context.Capabilities().GetSupportedDevices()) {
        if (IsSameArticleNumber(entry, data.ArticleNo) ||
            (entry.Find(L'/') < 0 && IsSameArticleNumber(entry, base)))
            return true;
    }
    if (data.NetIDName.CompareNoCase(L"MAC-ID") == 0)
        return true;
    m_Context.Fail([article = data.ArticleNo] {
        CString text;
        text.Format(GetLanguageText(L"MSG_DEVICE_NOT_SUPPORTED"), article.GetString());
        return text;
    });
    return false;
}

bool CDeviceDataReader::ReadClock()
{
    CFBCData& data = m_Context.Data();
    unsigned int seconds = 0;
    short offset = 0;
    if (m_Context.Service().GetRealTimeClock(seconds, offset)) {
        data.ClockState = L"DONE";
        data.HasClock = true;
        return true;
    }
    data.HasClock = false;
    if (NotSupported()) {
        data.ClockState = kNotSupportedText;
        return true;
    }
    data.ClockState = L"ERROR";
    return m_Context.Check(false, L"SERVICE_GET_RTC_FAILED");
}

bool CDeviceDataReader::ReadAddressSwitch()
{
    CFBCData& data = m_Context.Data();
    data.DIPSwitchValue = 0xFFFF;
    data.HasDIPSwitches = false;
    unsigned short value = 0;
    if (m_Context.Service().GetAddressSwitchSetting(value)) {
        data.DIPSwitchValue = value;
        data.HasDIPSwitches = true;
        return true;
    }
    return m_Context.Check(NotSupported(), L"SERVICE_GET_DIP_FAILED");
}

bool CDeviceDataReader::ReadStateWords()
{
    CFBCData& data = m_Context.Data();
    data.HasTerminalBusExtension = false;
    std::vector<unsigned short> words;
    if (!m_Context.Service().GetFBCStates(words))
        return m_Context.Check(false, L"SERVICE_FBCSTATUS_FAILED");
    data.StatusWords.assign(words.begin(), words.end());
    // The ninth word is the terminal-bus extension switch of a coupler; a
    // controller has none to write back.
    data.HasTerminalBusExtension = data.StatusWords.size() >= 9;
    if (data.HasTerminalBusExtension && m_Context.Capabilities().IsPlcController(data.ArticleNo)) {
        data.HasTerminalBusExtension = false;
        data.StatusWords.pop_back();
    }
    return true;
}

bool CDeviceDataReader::ReadMemoryCard()
{
    CFBCData& data = m_Context.Data();
    if (!m_Context.Capabilities().HasSDCardSlotByIni(data.ArticleNo))
        return true;
    CServiceBase::tSDCardInfo info;
    data.HasSDCardSlot = m_Context.Service().GetSDCardInformation(info);
    if (data.HasSDCardSlot) {
        data.SDCardInfo = info;
        return true;
    }
    return m_Context.Check(NotSupported(), L"SERVICE_SDCARD_INFO_FAILED");
}

void CDeviceDataReader::ForgetAddresses()
{
    CFBCData& data = m_Context.Data();
    data.IPAddrCurrent.Empty();
    data.IPAddrEEPROM.Empty();
    data.NetIDName.Empty();
    data.NetworkID.Empty();
}

bool CDeviceDataReader::ReadAddresses()
{
    CFBCData& data = m_Context.Data();
    if (!m_Context.Capabilities().DeviceHasIP(data.ArticleNo)) {
        ForgetAddresses();
        return true;
    }
    const bool ok = ReadNetworkParametersPerPort() || ReadIPAddressesFromRegisters();
    return m_Context.Check(ok, L"STATE_READ_IP_ADDRESS_FAILED");
}

bool CDeviceDataReader::ReadNetworkParametersPerPort()
{
    CFBCData& data = m_Context.Data();
    CServiceBase& service = m_Context.Service();
    data.NetworkParamsModified = false;
    data.HasNetworkParams = false;
    data.SetEthernetPortCount(0);
    service.ResetLastErrorCode();

    DWORD ports = 0;
    for (unsigned short port = 0; port < CFBCData::kMaxEthernetPortCount; ++port) {
        std::wstring address;
        unsigned short source = 0;
        if (service.GetActualIPAddress(port, address, source)) {
            ++ports;
            continue;
        }
        const unsigned long code = service.GetLastErrorCode();
        if (code != PELORUS_ERROR_PARAMETER_NOT_PRESENT && code != 0 && ports == 0)
            return false;
        break;
    }
    service.ResetLastErrorCode();
    data.SetEthernetPortCount(ports);

    // Every port must be read, or the set would hold a port of empty texts
    // that a write would send back to the device.
    bool ok = ports > 0;
    for (unsigned short port = 0; ok && port < ports; ++port) {
        ok = service.GetNetworkParameters(port, kActualKind, *data.GetActualNetworkParams(port)) &&
             service.GetNetworkParameters(port, kStaticKind, *data.GetStaticNetworkParams(port));
    }
    data.HasNetworkParams = ok;
    service.ResetLastErrorCode();
    return ok;
}

CString CDeviceDataReader::ReadInternalVariable(unsigned short index)
{
    std::wstring name, value;
    if (!m_Context.Service().GetInternalVariable(index, name, value))
        return {};
    return value.c_str();
}

CString CDeviceDataReader::ReadInternalAddress()
{
    CServiceBase& service = m_Context.Service();
    std::wstring name, value;
    bool ok = service.GetInternalVariable(4, name, value);
    if (!ok && service.GetLastErrorCode() == PELORUS_ERROR_PARAMETER_NOT_PRESENT)
        ok = service.GetInternalVariable(1, name, value);
    if (!ok || name.empty() || value.empty())
        return {};
    CString upper(name.c_str());
    upper.MakeUpper();
    if (upper.Find(L"ADDRESS") < 0 || upper.Find(L"IP") < 0)
        return {};
    return value.c_str();
}

CString CDeviceDataReader::ReadCurrentIPAddress()
{
    CString address = ReadInternalAddress();
    if (address.IsEmpty() || address == L"0.0.0.0") {
        if (!m_Context.Wait().Sleep(kAddressRetryMs))
            return address;
        address = ReadInternalAddress();
    }
    return address;
}

CString CDeviceDataReader::ReadRegisterAddress(unsigned int position)
{
    WORD words[2] = {};
    if (!m_Context.Service().ReadRegister(0, kSpecificTableNumber, position, 2, words))
        return {};
    CString text;
    text.Format(L"%d.%d.%d.%d", words[0] & 0xFF, words[0] >> 8, words[1] & 0xFF, words[1] >> 8);
    return text;
}

bool CDeviceDataReader::ReadIPAddressesFromRegisters()
{
    CFBCData& data = m_Context.Data();
    data.IPAddrEEPROM.Empty();
    data.IPAddrCurrent.Empty();
    data.SubnetMask.Empty();
    data.GatewayAddr.Empty();

    data.IPAddrCurrent = ReadCurrentIPAddress();
    data.IPAddrEEPROM = ReadRegisterAddress(kStaticAddressRegister);
    if (data.IPAddrCurrent.IsEmpty())
        data.IPAddrCurrent = data.IPAddrEEPROM;
    if (data.IPAddrEEPROM.IsEmpty())
        data.IPAddrEEPROM = data.IPAddrCurrent;
    data.SubnetMask = ReadRegisterAddress(kSubnetMaskRegister);
    if (data.SubnetMask.IsEmpty())
        data.SubnetMask = ReadInternalVariable(2);
    data.GatewayAddr = ReadRegisterAddress(kGatewayRegister);
    if (data.GatewayAddr.IsEmpty())
        data.GatewayAddr = ReadInternalVariable(3);
    return !data.IPAddrCurrent.IsEmpty() && !data.IPAddrEEPROM.IsEmpty() && !data.SubnetMask.IsEmpty() &&
           !data.GatewayAddr.IsEmpty();
}

bool CDeviceDataReader::ReadInterfaceMode()
{
    CFBCData& data = m_Context.Data();
    data.InterfaceModeToWrite = false;
    data.EthernetInterfaceMode = 0xFFFF;
    unsigned short mode = 0;
    if (m_Context.Service().GetEthernetInterfaceMode(mode)) {
        data.EthernetInterfaceMode = mode;
        return true;
    }
    return m_Context.Check(NotSupported(), L"STATE_GET_ETH_INTERFACE_MODE_FAILED");
}

bool CDeviceDataReader::ReadRuntimeSystems()
{
    CFBCData& data = m_Context.Data();
    CServiceBase& service = m_Context.Service();
    data.ActiveRuntimeSystem = 0xFFFF;
    data.ActiveRuntimeSystemToWrite = false;
    std::vector<unsigned short> systems;
    unsigned short active = 0;
    bool ok = service.GetRuntimeSystems(systems);
    if (ok) {
        data.RuntimeSystems.assign(systems.begin(), systems.end());
        ok = service.GetActiveRuntimeSystem(active);
    }
    if (ok) {
        data.ActiveRuntimeSystem = active;
        return true;
    }
    data.RuntimeSystems.clear();
    data.ActiveRuntimeSystem = 0xFFFF;
    return m_Context.Check(NotSupported(), L"STATE_GET_RUNTIME_SYSTEMS_FAILED");
}

bool CDeviceDataReader::ReadTable(WORD table, bool common)
{
    CFBCData& data = m_Context.Data();
    CRegisterTable& target = common ? data.CommonTable : data.SpecificTable;
    const wchar_t* failure = common ? L"STATE_READ_COMMON_FAILED" : L"STATE_READ_SPECIFIC_FAILED";
    const WORD length = GetTableLength(m_Context.Service(), table);
    if (length == 0 || !target.Allocate(length))
        return m_Context.Check(false, failure);
    const bool ok = m_Context.Service().ReadRegister(0, table, 0, length, target.GetData());
    if (!ok)
        target.Free();
    return m_Context.Check(ok, failure);
}

}  // namespace Corvane
