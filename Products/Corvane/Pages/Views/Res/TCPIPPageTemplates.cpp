// The dialog template of the TCP/IP page, in dialog units, and the picture
// of its web-management button (our own art, drawn by DrawPageImages.py).
// Its texts come from the GUI XML file when the page opens.
#include "Products/Corvane/Pages/Views/Res/TCPIPPageIds.h"
#include "Products/Corvane/Pages/Views/Res/PageTemplate.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Ui/ResourceTable.h"

#include "Embedded/WebManagement16.png.h"
#include "Embedded/WebManagement32.png.h"
#include "Embedded/WebManagement48.png.h"

namespace Corvane {

namespace {

using namespace TCPIPPageIds;

constexpr DWORD kHiddenItem = 0x80000000u;

struct tItem {
    const wchar_t* className;
    WORD atom;
    int id;
    DWORD style;
    short x, y, cx, cy;
};

// The items in tab order, the group boxes last so that they lie beneath
// the controls they frame; kHiddenItem marks those the page shows only on
// the devices that have them.
const tItem kItems[] = {
    {nullptr, Ui::kClassStatic, kCurrentAddress, 0, 14, 13, 150, 10},
    {nullptr, Ui::kClassStatic, kAddressSourceText, 0, 14, 25, 200, 10},
    {nullptr, Ui::kClassButton, kWebManagementButton, BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 222, 13, 40, 14},
    {nullptr, Ui::kClassButton, kDipPollBox, BS_AUTOCHECKBOX | WS_TABSTOP | kHiddenItem, 14, 50, 10, 10},
    {nullptr, Ui::kClassStatic, kDipCaption, SS_NOTIFY | kHiddenItem, 26, 50, 90, 10},
    {nullptr, Ui::kClassStatic, kDipAddressFrame, SS_ETCHEDFRAME | kHiddenItem, 120, 47, 100, 15},
    {nullptr, Ui::kClassStatic, kDipAddress, kHiddenItem, 123, 50, 94, 10},
    {nullptr, Ui::kClassButton, kDipApplyButton, BS_PUSHBUTTON | WS_TABSTOP | kHiddenItem, 224, 47, 40, 14},
    {nullptr, Ui::kClassStatic, kDipHint, kHiddenItem, 14, 63, 250, 10},
    {nullptr, Ui::kClassStatic, kOldFirmwareText, kHiddenItem, 14, 50, 250, 22},
    {nullptr, Ui::kClassButton, kAutomaticRadio, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 14, 89, 110, 10},
    {nullptr, Ui::kClassComboBox, kSourceList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 130, 87, 90, 60},
    {nullptr, Ui::kClassButton, kFixedRadio, BS_AUTORADIOBUTTON | WS_TABSTOP, 14, 103, 200, 10},
    {nullptr, Ui::kClassButton, kUseBootPBox, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 89, 110, 10},
    {nullptr, Ui::kClassStatic, kEepromCaption, 0, 14, 103, 200, 10},
    {nullptr, Ui::kClassStatic, kFixedAddressLabel, 0, 22, 118, 100, 10},
    {WC_IPADDRESSW, 0, kFixedAddressField, WS_TABSTOP | WS_GROUP, 130, 117, 90, 12},
    {nullptr, Ui::kClassStatic, kSubnetMaskLabel, 0, 22, 132, 100, 10},
    {WC_IPADDRESSW, 0, kSubnetMaskField, WS_TABSTOP | WS_GROUP, 130, 131, 90, 12},
    {nullptr, Ui::kClassStatic, kGatewayLabel, 0, 22, 146, 100, 10},
    {WC_IPADDRESSW, 0, kGatewayField, WS_TABSTOP | WS_GROUP, 130, 145, 90, 12},
    {nullptr, Ui::kClassStatic, kFirstDnsLabel, kHiddenItem, 22, 160, 100, 10},
    {WC_IPADDRESSW, 0, kFirstDnsField, WS_TABSTOP | WS_GROUP | kHiddenItem, 130, 159, 90, 12},
    {nullptr, Ui::kClassStatic, kSecondDnsLabel, kHiddenItem, 22, 174, 100, 10},
    {WC_IPADDRESSW, 0, kSecondDnsField, WS_TABSTOP | WS_GROUP | kHiddenItem, 130, 173, 90, 12},
    {nullptr, Ui::kClassButton, kCurrentGroup, BS_GROUPBOX, 7, 2, 262, 38},
    {nullptr, Ui::kClassButton, kDipGroup, BS_GROUPBOX | kHiddenItem, 7, 40, 262, 36},
    {nullptr, Ui::kClassButton, kSettingsGroup, BS_GROUPBOX, 7, 77, 262, 112},
};

std::vector<BYTE> TCPIPTemplate()
{
    CPageTemplate page(L"TCP/IP");
    for (const tItem& item : kItems) {
        const DWORD style = item.style & ~kHiddenItem;
        if (item.className != nullptr)
            page.Item(item.className, item.id, style, item.x, item.y, item.cx, item.cy);
        else
            page.Item(item.atom, item.id, style, item.x, item.y, item.cx, item.cy);
        if (item.style & kHiddenItem)
            page.Hidden();
    }
    return page.Image();
}

using namespace Ui::Res;

const Data kTCPIP{RT_DIALOG, kTCPIPTemplate, LANG_NEUTRAL, {}, &TCPIPTemplate};
const Image kWebIcon{ImageKind::Icon, kWebManagementIcon,
                     {Bytes(WebManagement16_png), Bytes(WebManagement32_png), Bytes(WebManagement48_png)}};
const ResourceTable kTable{.images = {&kWebIcon}, .data = {&kTCPIP}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
