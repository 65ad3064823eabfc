// The network-parameters page's template, in dialog units: the port buttons
// and the page's commands above the grid, the interface mode below it. Its
// texts come from the GUI XML file when the page opens.
#include "Products/Corvane/Pages/Views/Res/DevicePageIds3.h"

#include "Common/Grid/ZellGrid.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace DevicePageIds3;
using Ui::NameOrOrdinal;

constexpr DWORD kPortButton = BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP;

Ui::DialogItemTemplate Button(int id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text = L"")
{
    return Ui::VisibleControl(NameOrOrdinal::Ordinal(Ui::kClassButton), text, id, style, x, y, cx, cy);
}

Ui::DialogItemTemplate Hidden(Ui::DialogItemTemplate item)
{
    item.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return item;
}

std::vector<BYTE> NetworkParamTemplate()
{
    Ui::CDialogTemplate page;
    page.style = WS_CHILD | DS_CONTROL | DS_SETFONT | WS_CAPTION;
    // As large as the other pages: the main dialog's sheet has room for no more.
    page.cx = 276;
    page.cy = 190;
    page.caption = L"Network";
    page.pointSize = 8;
    page.faceName = L"DejaVu Sans";
    page.items = {
        Button(kPortX1Button, kPortButton, 7, 6, 40, 14, L"X1"),
        Button(kPortX2Button, kPortButton, 50, 6, 40, 14, L"X2"),
        Button(kWebManagementButton, kPushButton, 96, 6, 80, 14),
        Hidden(Button(kDipPollButton, kPushButton, 180, 6, 89, 14)),
        Hidden(Ui::VisibleControl(NameOrOrdinal::Ordinal(Ui::kClassStatic), L"", kDipSeparator, SS_ETCHEDHORZ, 7, 23,
                                  262, 1)),
        Ui::VisibleControl(NameOrOrdinal::Name(CZellGrid::kClassName), L"", kNetworkParamGrid,
                           WS_TABSTOP | WS_BORDER, 7, 26, 262, 124),
        Hidden(Button(kInterfaceGroup, BS_GROUPBOX, 7, 153, 262, 31)),
        Hidden(Button(kSwitchedRadio, kRadio | WS_GROUP, 15, 166, 120, 10)),
        Hidden(Button(kSeparatedRadio, kRadio, 140, 166, 120, 10)),
        Hidden(Button(kGetModeButton, kPushButton, 0, 0, 10, 10, L"Get")),
        Hidden(Button(kSetModeButton, kPushButton, 0, 0, 10, 10, L"Set")),
    };
    return page.ToImage();
}

using namespace Ui::Res;

const Data kNetworkParam{RT_DIALOG, kNetworkParamTemplate, LANG_NEUTRAL, {}, &NetworkParamTemplate};
const ResourceTable kTable{.data = {&kNetworkParam}};
const Registration kRegistration{kTable};

}
