#pragma once
// The device data set: everything the program knows about the connected
// coupler or controller. The read worker and the settings file fill it, the
// pages edit it, the write worker and the settings file take it back out.
// The order of the members is the element order of the settings file.

#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"
#include "Products/Corvane/Core/RegisterTable.h"

#include <functional>
#include <vector>

namespace Corvane {

class CFBCData {
public:
    using tNetworkParams = CServiceBase::tNetworkParams;
    using tSDCardInfo = CServiceBase::tSDCardInfo;

    // The IMEI of a device without a modem number: no IMEI row is shown.
    static constexpr const wchar_t* kNoIMEI = L"--";
    // A device has at most two Ethernet ports with parameters of their own.
    static constexpr DWORD kMaxEthernetPortCount = 2;

    CFBCData() { Clear(); }
    virtual ~CFBCData() = default;
    // Copies exist only so that a load can be read into a scratch set and
    // taken over whole when it succeeds.
    CFBCData(const CFBCData&) = default;
    CFBCData& operator=(const CFBCData&) = default;
    CFBCData(CFBCData&&) = default;
    CFBCData& operator=(CFBCData&&) = default;

    // Back to the state of a new set, except IMEI, StatusWords, SDCardInfo and
    // RuntimeSystems, which the next read replaces.
    void Clear();

    DWORD GetEthernetPortCount() const { return static_cast<DWORD>(m_arrActualNetworkParams.size()); }
    // Both port arrays anew with `count` empty records. False for more than
    // kMaxEthernetPortCount ports; the set is then left as it was.
    bool SetEthernetPortCount(DWORD count);
    // Null for a port beyond the count.
    tNetworkParams* GetActualNetworkParams(DWORD port);
    const tNetworkParams* GetActualNetworkParams(DWORD port) const;
    tNetworkParams* GetStaticNetworkParams(DWORD port);
    const tNetworkParams* GetStaticNetworkParams(DWORD port) const;

    CString ArticleNo;
    CString Description;
    // Says a failure's Description again in the language shown when it is
    // called (a language switch); empty where Description is the device's.
    std::function<CString()> DescriptionInLanguage;
    CString HWVersion;
    CString SWVersion;
    CString FWLVersion;
    CString SerialNo;
    CString IMEI;
    CString NetIDName;
    CString NetworkID;
    CString ClockState;
    CString IPAddrCurrent;
    CString IPAddrEEPROM;
    CString SubnetMask;
    CString GatewayAddr;
    // Where a write moves the device the program is connected through (its
    // new fixed address), for the reconnect after the restart; empty when
    // the device keeps its address.
    CString IPAddrAfterRestart;
    bool HasClock = true;
    bool HasDIPSwitches = false;
    WORD DIPSwitchValue = 0xFFFF;
    CRegisterTable CommonTable;
    CRegisterTable SpecificTable;
    std::vector<WORD> StatusWords;
    bool HasTerminalBusExtension = false;
    bool NetworkParamsModified = false;
    bool HasNetworkParams = false;
    // EthernetPortCount, ActualNetworkParams and StaticNetworkParams: the
    // accessors above keep the three in step.
    bool HasSDCardSlot = false;
    tSDCardInfo SDCardInfo;
    bool InterfaceModeToWrite = false;
    // 0 switched, any other value separated, 0xFFFF none read.
    WORD EthernetInterfaceMode = 0xFFFF;
    bool ActiveRuntimeSystemToWrite = false;
    WORD ActiveRuntimeSystem = 0xFFFF;
    std::vector<WORD> RuntimeSystems;

private:
    std::vector<tNetworkParams> m_arrActualNetworkParams;
    std::vector<tNetworkParams> m_arrStaticNetworkParams;
};

}  // namespace Corvane
