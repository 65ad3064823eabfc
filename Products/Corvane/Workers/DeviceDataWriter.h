#pragma once
// Writes the changed parts of the data set to the device in a fixed order,
// saves them there and restarts a coupler. The first failing step leaves its
// text in the description and skips every later one.

#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/Types.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"

namespace Corvane {

class CWorkerContext;
class CDeviceResetSteps;

class CDeviceDataWriter {
public:
    // Words below this index of register table 0 are the device's own.
    static constexpr WORD kCommonWritableIndex = 26;

    CDeviceDataWriter(CWorkerContext& context, CDeviceResetSteps& steps) : m_Context(context), m_Steps(steps) {}

    // Every writing step, from enabling the parameter writes to the restart.
    bool WriteAll();
    // Points the connection at a port's new static address when the program
    // talks to the device through that port's current one.
    void ReconnectWithNewIPAddress();
    // Points the connection at another address.
    void ReconnectAt(const std::wstring& address);

    bool EnableParameterWriting();
    bool WriteCommonRegister();
    bool WriteRegisterTable();
    bool WriteTerminalBusExtension();
    bool WriteNetworkParameters();
    bool WriteStaticNetworkParams(unsigned short port, const CServiceBase::tNetworkParams& record);
    bool WritePLCRootLocation();
    bool WriteEthernetInterfaceMode();
    bool WriteActiveRuntimeSystem();

private:
    bool WriteSntpServer(unsigned short port, const CServiceBase::tNetworkParams& record);
    // True when the device refused the interface mode for good.
    bool WaitWhileInterfaceBusy(ENThreadAction action);
    bool NotSupported();

    CWorkerContext& m_Context;
    CDeviceResetSteps& m_Steps;
};

}  // namespace Corvane
