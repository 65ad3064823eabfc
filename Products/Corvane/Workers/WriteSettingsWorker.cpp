#include "Products/Corvane/Workers/WriteSettingsWorker.h"

#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/DeviceDataWriter.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

UINT CWriteSettingsWorker::DoneMessage() const { return CWorkerMessages::Get().WriteSettingsDone; }

WPARAM CWriteSettingsWorker::Run(CWorkerContext& context)
{
    CWorkerConnection connection(context);
    if (const auto refused = OpenForChange(context, connection, ENThreadAction::WriteSettings))
        return *refused;
    CDeviceResetSteps steps(context, connection);
    CDeviceDataWriter writer(context, steps);
    if (!writer.WriteAll())
        return kResultFailed;

    const CFBCData& data = context.Data();
    connection.CloseIfOpenedHere();
    if (data.HasNetworkParams && data.NetworkParamsModified && context.IsTcpIp())
        writer.ReconnectWithNewIPAddress();
    else if (!data.IPAddrAfterRestart.IsEmpty() && context.IsTcpIp())
        writer.ReconnectAt(data.IPAddrAfterRestart.str());
    // The settings are on the device: a device that does not answer after
    // its restart makes the write no failure. The data set keeps what was
    // written, and the dialog says where the device was looked for.
    if (!connection.CheckConnection(10, true) || !connection.OpenIfClosed())
        return kResultWrittenNotReached;
    return CDeviceDataReader(context).ReadAllDeviceData() ? kResultSucceeded : kResultFailed;
}

}  // namespace Corvane
