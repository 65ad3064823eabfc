#include "Products/Corvane/Workers/WriteSettingsWorker.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
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
    const WPARAM flags = writer.StoreUnconfirmed() ? kStoreUnconfirmedFlag : 0;

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
        return kResultWrittenNotReached | flags;
    if (CDeviceDataReader(context).ReadAllDeviceData())
        return kResultSucceeded | flags;
    // Everything went to the device; only the read-back failed. The user
    // must not take the write for one that stopped halfway.
    context.Fail([why = data.DescriptionInLanguage, said = data.Description] {
        CString text;
        text.Format(GetLanguageText(L"MSG_WRITE_DONE_READ_BACK_FAILED"), (why ? why() : said).GetString());
        return text;
    });
    return kResultFailed;
}

}  // namespace Corvane
