// The dialog templates of the connection dialogs and the network scan, in
// dialog units; their texts come from the GUI XML file when they open.
#include "Common/PelorusDLL/Dialogs/DialogIds.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace PelorusIds;
using Ui::NameOrOrdinal;

Ui::DialogItemTemplate Control(WORD atom, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Ui::VisibleControl(NameOrOrdinal::Ordinal(atom), L"", id, style, x, y, cx, cy);
}

Ui::DialogItemTemplate Control(const wchar_t* className, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Ui::VisibleControl(NameOrOrdinal::Name(className), L"", id, style, x, y, cx, cy);
}

Ui::CDialogTemplate Frame(short cx, short cy, DWORD style)
{
    Ui::CDialogTemplate frame;
    frame.style = style | DS_SETFONT;
    frame.cx = cx;
    frame.cy = cy;
    frame.pointSize = 8;
    frame.faceName = L"DejaVu Sans";
    return frame;
}

// Visible from creation, so that they paint and take input at once.
constexpr DWORD kPopup = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kOctet = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER;

std::vector<BYTE> ScanDialogTemplate()
{
    Ui::CDialogTemplate dialog = Frame(262, 236, kPopup);
    auto& items = dialog.items;
    items.push_back(Control(Ui::kClassButton, kRangeGroup, BS_GROUPBOX, 7, 4, 248, 64));
    items.push_back(Control(Ui::kClassStatic, kFromLabel, 0, 14, 18, 30, 10));
    for (short i = 0; i < 4; ++i)
        items.push_back(Control(Ui::kClassEdit, kStartOctet1 + i, kOctet, static_cast<short>(48 + 26 * i), 16, 22, 12));
    items.push_back(Control(Ui::kClassStatic, kToLabel, 0, 14, 34, 30, 10));
    for (short i = 0; i < 3; ++i)
        items.push_back(Control(Ui::kClassEdit, kEndOctet1 + i, WS_BORDER | ES_READONLY, static_cast<short>(48 + 26 * i),
                                32, 22, 12));
    items.push_back(Control(Ui::kClassEdit, kEndOctet4, kOctet, 126, 32, 22, 12));
    items.push_back(Control(Ui::kClassButton, kSearch, BS_PUSHBUTTON | WS_TABSTOP, 190, 16, 58, 14));
    items.push_back(Control(Ui::kClassButton, kResolveNames, BS_AUTOCHECKBOX | WS_TABSTOP, 14, 50, 110, 10));
    items.push_back(Control(Ui::kClassButton, kShowAll, BS_AUTOCHECKBOX | WS_TABSTOP, 130, 50, 118, 10));
    items.push_back(Control(Ui::kClassButton, kListGroup, BS_GROUPBOX, 7, 72, 248, 128));
    // The row icons are the dialog's: the list only shows them.
    items.push_back(Control(WC_LISTVIEWW, kDeviceList, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                                           LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS, 14, 84, 234, 100));
    items.push_back(Control(PROGRESS_CLASSW, kProgress, 0, 14, 188, 234, 8));
    items.back().style &= ~static_cast<DWORD>(WS_VISIBLE);
    items.push_back(Control(Ui::kClassButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 214, 56, 14));
    items.push_back(Control(Ui::kClassButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 199, 214, 56, 14));
    return dialog.ToImage();
}

constexpr DWORD kChildForm = WS_CHILD | DS_CONTROL | DS_SETFONT;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kSpin = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
constexpr DWORD kNumberEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER;

void AddTimeouts(std::vector<Ui::DialogItemTemplate>& items, short y)
{
    // The labels take the room the numbers do not need: the German ones
    // are long ("Neustart-Zeitlimit (Sekunden):").
    items.push_back(Control(Ui::kClassStatic, kTimeoutLabel, 0, 4, static_cast<short>(y + 2), 136, 10));
    items.push_back(Control(Ui::kClassEdit, kTimeoutEdit, kNumberEdit, 142, y, 44, 12));
    items.push_back(Control(UPDOWN_CLASSW, kTimeoutSpin, kSpin, 186, y, 10, 12));
    items.push_back(Control(Ui::kClassStatic, kRestartLabel, 0, 4, static_cast<short>(y + 18), 136, 10));
    items.push_back(Control(Ui::kClassEdit, kRestartEdit, kNumberEdit, 142, static_cast<short>(y + 16), 44, 12));
    items.push_back(Control(UPDOWN_CLASSW, kRestartSpin, kSpin, 186, static_cast<short>(y + 16), 10, 12));
}

std::vector<BYTE> RS232FormTemplate()
{
    Ui::CDialogTemplate form = Frame(200, 124, kChildForm);
    auto& items = form.items;
    const std::pair<int, int> rows[] = {{kPortLabel, kPortList}, {kBaudLabel, kBaudList}, {kParityLabel, kParityList},
                                        {kDataBitsLabel, kDataBitsList}, {kStopBitsLabel, kStopBitsList}};
    short y = 4;
    for (const auto& [label, list] : rows) {
        // The lists get the width the ports' descriptions ask for.
        items.push_back(Control(Ui::kClassStatic, label, 0, 4, static_cast<short>(y + 2), 70, 10));
        items.push_back(Control(Ui::kClassComboBox, list, kDropList | (list == kPortList ? 0 : WS_DISABLED), 76, y,
                                120, 80));
        y = static_cast<short>(y + 16);
    }
    AddTimeouts(items, y);
    return form.ToImage();
}

std::vector<BYTE> TCPIPFormTemplate()
{
    Ui::CDialogTemplate form = Frame(200, 124, kChildForm);
    auto& items = form.items;
    // The two radio buttons form one group, so they come first.
    items.push_back(Control(Ui::kClassButton, kByAddress, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 4, 6, 100, 10));
    items.push_back(Control(Ui::kClassButton, kByName, BS_AUTORADIOBUTTON, 4, 22, 100, 10));
    items.push_back(Control(WC_IPADDRESSW, kAddress, WS_TABSTOP | WS_GROUP, 104, 4, 76, 12));
    items.push_back(Control(Ui::kClassButton, kSearchDevice, BS_PUSHBUTTON | WS_TABSTOP, 182, 4, 16, 12));
    items.push_back(Control(Ui::kClassEdit, kNetworkName, WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 104, 20,
                            94, 12));
    items.push_back(Control(Ui::kClassButton, kResolveHostNames, BS_AUTOCHECKBOX | WS_TABSTOP, 4, 38, 194, 10));
    AddTimeouts(items, 56);
    return form.ToImage();
}

std::vector<BYTE> SettingsDialogTemplate()
{
    Ui::CDialogTemplate dialog = Frame(222, 214, kPopup);
    auto& items = dialog.items;
    items.push_back(Control(Ui::kClassButton, kConnectionGroup, BS_GROUPBOX, 7, 4, 208, 32));
    items.push_back(Control(Ui::kClassComboBox, kConnectionList, kDropList, 14, 16, 194, 60));
    items.push_back(Control(Ui::kClassButton, kSettingsGroup, BS_GROUPBOX, 7, 40, 208, 148));
    Ui::DialogItemTemplate placeholder = Control(Ui::kClassStatic, kFormPlaceholder, 0, 12, 52, 200, 130);
    placeholder.style &= ~static_cast<DWORD>(WS_VISIBLE);
    items.push_back(placeholder);
    Ui::DialogItemTemplate hidden = Control(Ui::kClassStatic, kHiddenStatic, 0, 7, 192, 10, 10);
    hidden.style &= ~static_cast<DWORD>(WS_VISIBLE);
    items.push_back(hidden);
    items.push_back(Control(Ui::kClassButton, kDefault, BS_PUSHBUTTON | WS_TABSTOP, 7, 194, 50, 14));
    // The connection test stays hidden: the dialog offers it to a caller
    // that shows the button, not to the user.
    Ui::DialogItemTemplate test = Control(Ui::kClassButton, kTest, BS_PUSHBUTTON | WS_TABSTOP, 60, 194, 44, 14);
    test.style &= ~static_cast<DWORD>(WS_VISIBLE);
    items.push_back(test);
    items.push_back(Control(Ui::kClassButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 111, 194, 50, 14));
    items.push_back(Control(Ui::kClassButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 165, 194, 50, 14));
    return dialog.ToImage();
}

using namespace Ui::Res;

const Data kSettingsDialog{RT_DIALOG, PelorusIds::kSettingsDialog, LANG_NEUTRAL, {}, &SettingsDialogTemplate};

const Data kRS232Form{RT_DIALOG, PelorusIds::kRS232Form, LANG_NEUTRAL, {}, &RS232FormTemplate};
const Data kTCPIPForm{RT_DIALOG, PelorusIds::kTCPIPForm, LANG_NEUTRAL, {}, &TCPIPFormTemplate};
const Data kScanDialog{RT_DIALOG, PelorusIds::kScanDialog, LANG_NEUTRAL, {}, &ScanDialogTemplate};
const ResourceTable kTable{.data = {&kSettingsDialog, &kRS232Form, &kTCPIPForm, &kScanDialog}};
const Registration kRegistration{kTable};

}
