#pragma once
// Writes the changed parts of the data set to the device in a fixed order,
// saves them there and restarts a coupler. The first failing step ends the
// write: nothing after it goes to the device (no further setting, no store,
// no restart), and the description says where it stopped and what the
// device may hold now.

#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/Types.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"
#include "Products/Corvane/Workers/WriteStopText.h"

#include <functional>

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
    // Where the last WriteAll stopped; empty step key when it did not.
    const tWriteStop& Stop() const { return m_Stop; }
    // The device has no store service, so it did not confirm that it keeps
    // what was written (the write counts as done).
    bool StoreUnconfirmed() const { return m_bStoreUnconfirmed; }
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
    // Runs one step; a failure records where the write stopped, with the
    // service's error of the failed call.
    bool Step(ENWriteStop stop, const wchar_t* stepKey, const std::function<bool()>& body);
    bool StoreStep();
    bool RestartStep();
    void Stopped(ENWriteStop stop, const CString& stepKey, DWORD errorCode);
    // The service's error of the last failed call (kept until the next step).
    DWORD TakeError();
    bool WriteSntpServer(unsigned short port, const CServiceBase::tNetworkParams& record);
    // True when the device refused the interface mode for good.
    bool WaitWhileInterfaceBusy(ENThreadAction action);
    bool NotSupported();

    CWorkerContext& m_Context;
    CDeviceResetSteps& m_Steps;
    tWriteStop m_Stop;
    DWORD m_dwStepError = 0;
    // The port step that failed last (X1 or X2).
    ENThreadAction m_FailedPort = ENThreadAction::WriteNetworkParametersX1;
    bool m_bStoreUnconfirmed = false;
};

}  // namespace Corvane
