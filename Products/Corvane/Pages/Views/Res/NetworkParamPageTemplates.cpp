// The network-parameters page's template, in dialog units: the port buttons
// and the page's commands above the grid, the interface mode below it. Its
// texts come from the GUI XML file when the page opens.
#include "Products/Corvane/Pages/Views/Res/NetworkParamPageIds.h"
#include "Products/Corvane/Pages/Views/Res/PageTemplate.h"

#include "Common/Grid/ZellGrid.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

using namespace ZELL::Grid;

namespace {

using namespace NetworkParamPageIds;

constexpr DWORD kPortButton = BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP;

std::vector<BYTE> NetworkParamTemplate()
{
    CPageTemplate page(L"Network");
    page.Item(Ui::kClassButton, kPortX1Button, kPortButton, 7, 6, 40, 14, L"X1");
    page.Item(Ui::kClassButton, kPortX2Button, kPortButton, 50, 6, 40, 14, L"X2");
    page.Item(Ui::kClassButton, kWebManagementButton, kPushButton, 96, 6, 80, 14);
    page.Item(Ui::kClassButton, kDipPollButton, kPushButton, 180, 6, 89, 14).Hidden();
    page.Item(Ui::kClassStatic, kDipSeparator, SS_ETCHEDHORZ, 7, 23, 262, 1).Hidden();
    page.Item(CZellGrid::kClassName, kNetworkParamGrid, WS_TABSTOP | WS_BORDER, 7, 26, 262, 174);
    page.Group(kInterfaceGroup, 7, 203, 262, 31).Hidden();
    page.Item(Ui::kClassButton, kSwitchedRadio, kRadio | WS_GROUP, 15, 216, 120, 10).Hidden();
    page.Item(Ui::kClassButton, kSeparatedRadio, kRadio, 140, 216, 120, 10).Hidden();
    page.Item(Ui::kClassButton, kGetModeButton, kPushButton, 0, 0, 10, 10, L"Get").Hidden();
    page.Item(Ui::kClassButton, kSetModeButton, kPushButton, 0, 0, 10, 10, L"Set").Hidden();
    return page.Image();
}

using namespace Ui::Res;

const Data kNetworkParam{RT_DIALOG, kNetworkParamTemplate, LANG_NEUTRAL, {}, &NetworkParamTemplate};
const ResourceTable kTable{.data = {&kNetworkParam}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
