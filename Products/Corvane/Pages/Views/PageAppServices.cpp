#include "Products/Corvane/Pages/Views/PageAppServices.h"

#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"

namespace Corvane {

const CDeviceCapabilityFile& CPageAppServices::Capabilities()
{
    static const CDeviceCapabilityFile none;
    const CCorvaneApp* app = GetCorvaneApp();
    return app != nullptr ? app->DeviceIni() : none;
}

bool CPageAppServices::IsPlcController(const CFBCData* data)
{
    const CCorvaneApp* app = GetCorvaneApp();
    return app != nullptr && data != nullptr && app->IsPlcController(data->ArticleNo);
}

}  // namespace Corvane
