// The dialog template of the TCP/IP page, in dialog units. Its texts come
// from the GUI XML file when the page opens.
#include "Products/Corvane/Pages/Views/Res/DevicePageIds4.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace DevicePageIds4;
using Ui::NameOrOrdinal;

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
    {nullptr, Ui::kClassStatic, kCurrentAddress, 0, 14, 16, 150, 10},
    {nullptr, Ui::kClassStatic, kAddressSourceText, 0, 14, 30, 200, 10},
    {nullptr, Ui::kClassButton, kWebManagementButton, BS_PUSHBUTTON | WS_TABSTOP, 230, 16, 32, 14},
    {nullptr, Ui::kClassButton, kDipPollBox, BS_AUTOCHECKBOX | WS_TABSTOP | kHiddenItem, 14, 62, 10, 10},
    {nullptr, Ui::kClassStatic, kDipCaption, SS_NOTIFY | kHiddenItem, 26, 62, 90, 10},
    {nullptr, Ui::kClassStatic, kDipAddressFrame, SS_ETCHEDFRAME | kHiddenItem, 120, 59, 100, 15},
    {nullptr, Ui::kClassStatic, kDipAddress, kHiddenItem, 123, 62, 94, 10},
    {nullptr, Ui::kClassButton, kDipApplyButton, BS_PUSHBUTTON | WS_TABSTOP | kHiddenItem, 224, 59, 40, 14},
    {nullptr, Ui::kClassStatic, kDipHint, kHiddenItem, 14, 76, 250, 10},
    {nullptr, Ui::kClassStatic, kOldFirmwareText, kHiddenItem, 14, 62, 250, 24},
    {nullptr, Ui::kClassButton, kAutomaticRadio, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 14, 107, 110, 10},
    {nullptr, Ui::kClassComboBox, kSourceList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 130, 105, 90, 60},
    {nullptr, Ui::kClassButton, kFixedRadio, BS_AUTORADIOBUTTON | WS_TABSTOP, 14, 123, 200, 10},
    {nullptr, Ui::kClassButton, kUseBootPBox, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 107, 110, 10},
    {nullptr, Ui::kClassStatic, kEepromCaption, 0, 14, 123, 200, 10},
    {nullptr, Ui::kClassStatic, kFixedAddressLabel, 0, 22, 141, 100, 10},
    {WC_IPADDRESSW, 0, kFixedAddressField, WS_TABSTOP | WS_GROUP, 130, 139, 90, 12},
    {nullptr, Ui::kClassStatic, kSubnetMaskLabel, 0, 22, 159, 100, 10},
    {WC_IPADDRESSW, 0, kSubnetMaskField, WS_TABSTOP | WS_GROUP, 130, 157, 90, 12},
    {nullptr, Ui::kClassStatic, kGatewayLabel, 0, 22, 177, 100, 10},
    {WC_IPADDRESSW, 0, kGatewayField, WS_TABSTOP | WS_GROUP, 130, 175, 90, 12},
    {nullptr, Ui::kClassStatic, kFirstDnsLabel, kHiddenItem, 22, 195, 100, 10},
    {WC_IPADDRESSW, 0, kFirstDnsField, WS_TABSTOP | WS_GROUP | kHiddenItem, 130, 193, 90, 12},
    {nullptr, Ui::kClassStatic, kSecondDnsLabel, kHiddenItem, 22, 213, 100, 10},
    {WC_IPADDRESSW, 0, kSecondDnsField, WS_TABSTOP | WS_GROUP | kHiddenItem, 130, 211, 90, 12},
    {nullptr, Ui::kClassButton, kCurrentGroup, BS_GROUPBOX, 7, 4, 262, 42},
    {nullptr, Ui::kClassButton, kDipGroup, BS_GROUPBOX | kHiddenItem, 7, 50, 262, 40},
    {nullptr, Ui::kClassButton, kSettingsGroup, BS_GROUPBOX, 7, 94, 262, 142},
};

std::vector<BYTE> TCPIPTemplate()
{
    Ui::CDialogTemplate page;
    page.style = WS_CHILD | DS_CONTROL | DS_SETFONT | WS_CAPTION;
    page.cx = 276;
    page.cy = 240;
    page.caption = L"TCP/IP";
    page.pointSize = 8;
    page.faceName = L"DejaVu Sans";
    for (const tItem& item : kItems) {
        const NameOrOrdinal windowClass =
            item.className != nullptr ? NameOrOrdinal::Name(item.className) : NameOrOrdinal::Ordinal(item.atom);
        Ui::DialogItemTemplate control = Ui::VisibleControl(windowClass, L"", item.id, item.style & ~kHiddenItem,
                                                            item.x, item.y, item.cx, item.cy);
        if (item.style & kHiddenItem)
            control.style &= ~static_cast<DWORD>(WS_VISIBLE);
        page.items.push_back(std::move(control));
    }
    return page.ToImage();
}

using namespace Ui::Res;

const Data kTCPIP{RT_DIALOG, kTCPIPTemplate, LANG_NEUTRAL, {}, &TCPIPTemplate};
const ResourceTable kTable{.data = {&kTCPIP}};
const Registration kRegistration{kTable};

}
