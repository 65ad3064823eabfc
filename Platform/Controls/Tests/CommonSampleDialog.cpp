#include "CommonSampleDialog.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"
#include "TemplateItems.h"

#include <cstdlib>
#include <vector>

namespace ControlTest {

namespace {

using namespace CommonSampleIds;

constexpr SYSTEMTIME kShownDate{2026, 3, 0, 12, 0, 0, 0, 0};
constexpr SYSTEMTIME kToday{2026, 3, 0, 20, 0, 0, 0, 0};

void FillList(HWND list)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const wchar_t* titles[] = {L"Device", L"Address", L"Serial"};
    const int widths[] = {80, 90, 60};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNW column;
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(titles[c]);
        column.cx = widths[c];
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* rows[][3] = {{L"Coupler A", L"192.168.1.10", L"1001"},
                                {L"Coupler B", L"192.168.1.11", L"1002"},
                                {L"Coupler C", L"192.168.1.12", L"1003"},
                                {L"Coupler D", L"192.168.1.13", L"1004"}};
    for (int row = 0; row < 4; ++row) {
        LVITEMW item;
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<LPWSTR>(rows[row][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int sub = 1; sub < 3; ++sub) {
            item.iSubItem = sub;
            item.pszText = const_cast<LPWSTR>(rows[row][sub]);
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
    }
    LVITEMW state;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    // Sorted by the device name, ascending.
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    HDITEMW arrow;
    arrow.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&arrow));
    arrow.fmt |= HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&arrow));
}

void FillTabs(HWND tabs)
{
    const wchar_t* titles[] = {L"General", L"Network", L"Serial line", L"Time", L"Diagnosis", L"Memory card"};
    for (int i = 0; i < 6; ++i) {
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(titles[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    // A tab of the first row: its row moves to the front.
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
}

INT_PTR CommonSampleProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    FillList(GetDlgItem(dialog, kList));
    FillTabs(GetDlgItem(dialog, kTabs));
    SendDlgItemMessageW(dialog, kAddress, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
    SendDlgItemMessageW(dialog, kPicker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd'.'MM'.'yyyy"));
    SendDlgItemMessageW(dialog, kPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&kShownDate));
    return TRUE;
}

// The calendar drops down below its picker as a click on the button opens it.
HWND OpenCalendar(HWND dialog)
{
    HWND picker = GetDlgItem(dialog, kPicker);
    SetFocus(picker);
    SendMessageW(picker, WM_KEYDOWN, VK_F4, 0);
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    if (calendar != nullptr) {
        SendMessageW(calendar, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&kToday));
        UpdateWindow(calendar);
    }
    return calendar;
}

HWND ShowBalloon(HWND dialog)
{
    HWND balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, 0, 0,
                                   0, 0, dialog, nullptr, nullptr, nullptr);
    if (balloon == nullptr)
        return nullptr;
    TTTOOLINFOW tool;
    tool.uFlags = TTF_TRACK | TTF_IDISHWND;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, kAddress));
    tool.lpszText = const_cast<LPWSTR>(L"The coupler takes this address after its next restart.");
    SendMessageW(balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(balloon, TTM_SETMAXTIPWIDTH, 0, 220);
    SendMessageW(balloon, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(L"IP address"));
    RECT address{};
    GetWindowRect(GetDlgItem(dialog, kAddress), &address);
    SendMessageW(balloon, TTM_TRACKPOSITION, 0, MAKELPARAM((address.left + address.right) / 2, address.bottom));
    SendMessageW(balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    UpdateWindow(balloon);
    return balloon;
}

}

Ui::CDialogTemplate CommonSampleTemplate()
{
    Ui::CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_ABSALIGN;
    dt.x = 40;
    dt.y = 30;
    dt.cx = 260;
    dt.cy = 200;
    dt.caption = L"Common controls";
    dt.pointSize = 8;
    dt.faceName = L"MS Shell Dlg";
    dt.items = {
        Common(WC_LISTVIEWW, kList, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 7, 7,
               246, 62),
        Common(WC_TABCONTROLW, kTabs, WS_TABSTOP | TCS_MULTILINE, 7, 75, 130, 70),
        Static(L"&Address:", SS_LEFT, 145, 78, 50, 8),
        Common(WC_IPADDRESSW, kAddress, WS_TABSTOP, 145, 88, 108, 13),
        Static(L"&Date:", SS_LEFT, 145, 110, 50, 8),
        Common(DATETIMEPICK_CLASSW, kPicker, WS_TABSTOP | DTS_SHORTDATEFORMAT, 145, 120, 108, 14),
        Button(L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 149, 179, 50, 14),
        Button(L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 203, 179, 50, 14),
    };
    return dt;
}

CommonSample CreateCommonSample()
{
    CommonSample sample;
    // Month and day names as the C conventions have them, whatever the user's locale.
    unsetenv("LC_ALL");
    setenv("LC_TIME", "C.UTF-8", 1);
    if (!ZELL::Controls::RegisterStandardControls())
        return sample;
    static const std::vector<BYTE> image = CommonSampleTemplate().ToImage();
    sample.dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), nullptr,
                                               &CommonSampleProc, 0);
    if (sample.dialog == nullptr)
        return sample;
    ShowWindow(sample.dialog, SW_SHOW);
    SetActiveWindow(sample.dialog);
    UpdateWindow(sample.dialog);
    sample.calendar = OpenCalendar(sample.dialog);
    sample.balloon = ShowBalloon(sample.dialog);
    return sample;
}

void DestroyCommonSample(CommonSample& sample)
{
    if (sample.balloon != nullptr && IsWindow(sample.balloon))
        DestroyWindow(sample.balloon);
    if (sample.dialog != nullptr && IsWindow(sample.dialog))
        DestroyWindow(sample.dialog);
    sample = CommonSample{};
}

}
