#include "Products/Corvane/Core/FBCData.h"

namespace Corvane {

void CFBCData::Clear()
{
    for (CString* text : {&ArticleNo, &Description, &HWVersion, &SWVersion, &FWLVersion, &SerialNo, &NetIDName,
                          &NetworkID, &ClockState, &IPAddrCurrent, &IPAddrEEPROM, &SubnetMask, &GatewayAddr,
                          &IPAddrAfterRestart})
        text->Empty();
    DescriptionInLanguage = nullptr;
    HasClock = true;
    HasDIPSwitches = false;
    DIPSwitchValue = 0xFFFF;
    CommonTable.Free();
    SpecificTable.Free();
    HasTerminalBusExtension = false;
    NetworkParamsModified = false;
    HasNetworkParams = false;
    SetEthernetPortCount(0);
    HasSDCardSlot = false;
    InterfaceModeToWrite = false;
    EthernetInterfaceMode = 0xFFFF;
    ActiveRuntimeSystemToWrite = false;
    ActiveRuntimeSystem = 0xFFFF;
}

bool CFBCData::SetEthernetPortCount(DWORD count)
{
    if (count > kMaxEthernetPortCount)
        return false;
    m_arrActualNetworkParams.assign(count, tNetworkParams());
    m_arrStaticNetworkParams.assign(count, tNetworkParams());
    return true;
}

CFBCData::tNetworkParams* CFBCData::GetActualNetworkParams(DWORD port)
{
    return port < m_arrActualNetworkParams.size() ? &m_arrActualNetworkParams[port] : nullptr;
}

const CFBCData::tNetworkParams* CFBCData::GetActualNetworkParams(DWORD port) const
{
    return port < m_arrActualNetworkParams.size() ? &m_arrActualNetworkParams[port] : nullptr;
}

CFBCData::tNetworkParams* CFBCData::GetStaticNetworkParams(DWORD port)
{
    return port < m_arrStaticNetworkParams.size() ? &m_arrStaticNetworkParams[port] : nullptr;
}

const CFBCData::tNetworkParams* CFBCData::GetStaticNetworkParams(DWORD port) const
{
    return port < m_arrStaticNetworkParams.size() ? &m_arrStaticNetworkParams[port] : nullptr;
}

}  // namespace Corvane
