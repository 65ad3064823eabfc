#include "Products/Corvane/Pages/Views/ClockPage.h"

#include "Common/Tessel/TesselExports.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/SystemTime.h"
#include "Platform/Framework/App/WaitCursor.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

#include <ctime>

namespace Corvane {

using namespace DevicePageIds;

namespace {

constexpr COLORREF kActiveTime = 0x800000;
constexpr COLORREF kInactive = 0x808080;
constexpr COLORREF kCalendarTitle = RGB(0x53, 0xB1, 0x00);

SYSTEMTIME ToSystemTime(const CClockCodec::CDateTime& value)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(value.Year);
    time.wMonth = static_cast<WORD>(value.Month);
    time.wDay = static_cast<WORD>(value.Day);
    time.wHour = static_cast<WORD>(value.Hour);
    time.wMinute = static_cast<WORD>(value.Minute);
    time.wSecond = static_cast<WORD>(value.Second);
    return time;
}

CString FormatTm(const wchar_t* format, const std::tm& time)
{
    wchar_t buffer[64] = {};
    std::wcsftime(buffer, std::size(buffer), format, &time);
    return buffer;
}

// The PC's zone east of UTC in minutes, without daylight saving.
int PcZoneMinutes()
{
    long secondsWest = 0;
    _get_timezone(&secondsWest);
    return static_cast<int>(-secondsWest / 60);
}

}

BEGIN_MESSAGE_MAP(CClockPage, CTextedSettingsPage)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_WM_TIMECHANGE()
    ON_BN_CLICKED(kSyncButton, OnSynchronise)
    ON_BN_CLICKED(kDeviceDaylightBox, OnDaylightBoxClicked)
    ON_CONTROL(STN_CLICKED, kDeviceDaylightLabel, OnDaylightLabelClicked)
    ON_CBN_DROPDOWN(kDeviceZoneList, OnZoneListDropDown)
    ON_CBN_SELCHANGE(kDeviceZoneList, OnZoneChanged)
    ON_NOTIFY(DTN_DROPDOWN, kDeviceDatePicker, OnDateDropDown)
    ON_NOTIFY(DTN_CLOSEUP, kDeviceDatePicker, OnDateCloseUp)
    ON_NOTIFY(DTN_DATETIMECHANGE, kDeviceDatePicker, OnDateChanged)
    ON_NOTIFY(DTN_WMKEYDOWN, kDeviceTimePicker, OnTimeKeyDown)
    ON_NOTIFY(DTN_DATETIMECHANGE, kDeviceTimePicker, OnTimeChanged)
END_MESSAGE_MAP()

CClockPage::CClockPage() : CTextedSettingsPage(kClockTemplate, 0)
{
    m_strPageKey = kPageKey;
}

void CClockPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Control(dx, kSyncButton, m_SyncButton);
    DDX_Control(dx, kDeviceZoneList, m_ZoneList);
    DDX_Control(dx, kDeviceDatePicker, m_DatePicker);
    DDX_Control(dx, kDeviceTimePicker, m_TimePicker);
}

BOOL CClockPage::OnInitDialog()
{
    CTextedSettingsPage::OnInitDialog();
    return FALSE;
}

void CClockPage::SetUpControls()
{
    m_DatePicker.SetFont(&GetPageFont());
    m_TimePicker.SetFont(&GetPageFont());
    m_DatePicker.SetFormat(L" ''yyyy'-'MM'-'dd'");
    m_TimePicker.SetFormat(L" ''HH' : 'mm' : 'ss");
    // The device counts unsigned 32-bit seconds: nothing outside can be picked.
    const SYSTEMTIME range[2] = {ToSystemTime(CClockCodec::PickerMinimum()),
                                 ToSystemTime(CClockCodec::PickerMaximum())};
    m_DatePicker.SetRange(&range[0], &range[1]);
    m_TimePicker.SetRange(&range[0], &range[1]);
    m_DatePicker.SetMonthCalColor(MCSC_TITLEBK, kCalendarTitle);
    m_ZoneList.SetFont(&GetPageFont());
    for (const CClockCodec::CZone& zone : CClockCodec::Zones())
        m_ZoneList.AddString(zone.Text);
}

void CClockPage::ApplyTexts()
{
    m_SyncButton.SetWindowText(Text(L"BTN_APPLY"));
    m_SyncButton.EnableWindow(!IsOfflineConfig());
    GetDlgItem(kPcGroup)->SetFont(&GetPageFont());
    GetDlgItem(kDeviceGroup)->SetFont(&GetPageFont());
    SetDlgItemText(kPcGroup, Text(L"GRP_DATE_TIME_PC"));
    SetDlgItemText(kDeviceGroup, Text(L"GRP_DATE_TIME_FBC"));
    CString daylight;
    daylight.Format(GetGroupLabelFormat(), Text(L"TXT_DAYLIGHT_SAVING_TIME").GetString());
    SetDlgItemText(kPcDaylightLabel, daylight);
    SetDlgItemText(kDeviceDaylightLabel, daylight);
    const std::pair<int, const wchar_t*> fitted[] = {{kPcZoneLabel, L"TXT_TIMEZONE"}, {kDeviceZoneLabel, L"TXT_TIMEZONE"},
                                                     {kPcUtcLabel, L"TXT_UTC"},       {kDeviceUtcLabel, L"TXT_UTC"}};
    for (const auto& [id, key] : fitted)
        FitStaticToText(GetDlgItem(id), Text(key), &GetPageFont());
    const std::tuple<int, const wchar_t*, const wchar_t*> tips[] = {
        {kSyncButton, L"TT_RTC_BTN_APPLY_BODY", L"TT_RTC_BTN_APPLY_HDR"},
        {kPcZoneLabel, L"TT_RTC_TZ_WIKI_BODY", L"TXT_TIMEZONE"},
        {kDeviceZoneLabel, L"TT_RTC_TZ_WIKI_BODY", L"TXT_TIMEZONE"},
        {kPcUtcLabel, L"TT_RTC_UTC_WIKI_BODY", L"TT_RTC_UTC_WIKI_HDR"},
        {kDeviceUtcLabel, L"TT_RTC_UTC_WIKI_BODY", L"TT_RTC_UTC_WIKI_HDR"},
        {kPcDate, L"TT_RTC_DATE_PC_BODY", L"TT_RTC_DATE_PC_HDR"},
        {kPcTime, L"TT_RTC_TIME_PC_BODY", L"TT_RTC_TIME_PC_HDR"},
        {kPcDaylightLabel, L"TT_RTC_DST_PC_BODY", L"TT_RTC_DST_PC_HDR"},
        {kPcZone, L"TT_RTC_TZ_PC_BODY", L"TT_RTC_TZ_PC_HDR"},
        {kPcUtcDate, L"TT_RTC_UTC_PC_BODY", L"TT_RTC_UTC_PC_HDR"},
        {kDeviceDaylightLabel, L"TT_RTC_DST_FBC_BODY", L"TT_RTC_DST_FBC_HDR"},
        {kDeviceZoneList, L"TT_RTC_TZ_FBC_BODY", L"TT_RTC_TZ_FBC_HDR"},
        {kDeviceDatePicker, L"TT_RTC_UTC_DATE_FBC_BODY", L"TT_RTC_UTC_DATE_FBC_HDR"},
        {kDeviceTimePicker, L"TT_RTC_UTC_TIME_FBC_BODY", L"TT_RTC_UTC_TIME_FBC_HDR"}};
    for (const auto& [id, body, header] : tips)
        AddTooltip(id, body, header);
}

BOOL CClockPage::OnSetActive()
{
    m_bDateEditing = m_bTimeEditing = m_bZoneEditing = false;
    const BOOL active = CCouplerSettingsPageBase::OnSetActive();
    if (active) {
        EnableDeviceClock(true);
        ReadDeviceClock();
        ShowPcClock();
        SetTimer(kRefreshTimer, kRefreshMs, nullptr);
    }
    return active;
}

BOOL CClockPage::OnKillActive()
{
    KillTimer(kRefreshTimer);
    if (!IsOfflineConfig())
        PrepareConnection(false);
    return CCouplerSettingsPageBase::OnKillActive();
}

void CClockPage::SetLabelColour(int id, COLORREF colour)
{
    m_mapLabelColours[id] = colour;
    if (CWnd* label = GetDlgItem(id))
        label->Invalidate();
}

HBRUSH CClockPage::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    if (kind == CTLCOLOR_STATIC)
        dc->SetBkMode(TRANSPARENT);
    HBRUSH brush = CCouplerSettingsPageBase::OnCtlColor(dc, control, kind);
    const auto colour = control != nullptr ? m_mapLabelColours.find(control->GetDlgCtrlID()) : m_mapLabelColours.end();
    if (colour != m_mapLabelColours.end())
        dc->SetTextColor(colour->second);
    return brush;
}

void CClockPage::OnTimer(UINT_PTR id)
{
    if (id != kRefreshTimer) {
        CCouplerSettingsPageBase::OnTimer(id);
        return;
    }
    ReadDeviceClock();
    ShowPcClock();
}

void CClockPage::OnTimeChange()
{
    Default();
    ShowPcClock();
}

void CClockPage::EnableDeviceClock(bool on)
{
    const bool offline = IsOfflineConfig();
    EnableDeviceControls(offline ? false : on);
    if (!offline)
        PrepareConnection(on);
}

void CClockPage::EnableDeviceControls(bool on)
{
    if (on == m_bDeviceControlsEnabled && !IsOfflineConfig())
        return;
    m_bDeviceControlsEnabled = on;
    SetDlgItemText(kDeviceDate, L"xxxx-xx-xx");
    SetDlgItemText(kDeviceTime, L"--:--:--");
    SetLabelColour(kDeviceDate, on ? kActiveTime : kInactive);
    SetLabelColour(kDeviceTime, on ? kActiveTime : kInactive);
    for (int id : {kDeviceDaylightLabel, kDeviceZoneLabel, kDeviceUtcLabel})
        SetLabelColour(id, on ? 0 : kInactive);
    for (int id : {kDeviceDaylightLabel, kDeviceDatePicker, kDeviceTimePicker, kDeviceZoneList, kDeviceDaylightBox})
        GetDlgItem(id)->EnableWindow(on);
}

void CClockPage::ShowPcClock()
{
    _tzset();
    const __time64_t now = _time64(nullptr);
    std::tm local{};
    std::tm utc{};
    _localtime64_s(&local, &now);
    _gmtime64_s(&utc, &now);
    SetDlgItemText(kPcTime, FormatTm(L"%H:%M:%S", local));
    SetDlgItemText(kPcDate, FormatTm(L"%Y-%m-%d", local));
    CheckDlgButton(kPcDaylightBox, local.tm_isdst > 0 ? BST_CHECKED : BST_UNCHECKED);
    // Hours and minutes with the sign, so that a zone such as UTC-03:30 reads right.
    SetDlgItemText(kPcZone, CClockCodec::PcZoneText(PcZoneMinutes()).c_str());
    SetDlgItemText(kPcUtcTime, FormatTm(L"%H : %M : %S", utc));
    SetDlgItemText(kPcUtcDate, FormatTm(L"%Y-%m-%d", utc));
}

void CClockPage::ReadDeviceClock()
{
    if (!IsConnectionPrepared())
        return;
    tDateTime record;
    CServiceBase* service = GetService();
    if (service == nullptr || !service->GetDateTimeSettings(record)) {
        EnableDeviceClock(false);
        return;
    }
    ShowDaylightSupport(record);
    ShowDeviceTime(record);
}

void CClockPage::ShowDaylightSupport(const tDateTime& record)
{
    m_bHasDaylightSaving = CClockCodec::HasDaylightSaving(record);
    CWnd* box = GetDlgItem(kDeviceDaylightBox);
    if (!m_bHasDaylightSaving) {
        AddTooltip(kDeviceDate, L"TT_RTC_DATE_FBC_NO_DST_BODY", L"TT_RTC_DATE_FBC_HDR");
        AddTooltip(kDeviceTime, L"TT_RTC_TIME_FBC_NO_DST_BODY", L"TT_RTC_TIME_FBC_HDR");
        AddTooltip(kDeviceDaylightLabel, L"TT_NO_RTC_DST_FBC_BODY", L"TT_RTC_DST_FBC_HDR");
        SetLabelColour(kDeviceDaylightLabel, kInactive);
        SetDlgItemText(kDeviceDaylightLabel, Text(L"TXT_NOT_AVAILABLE"));
        box->EnableWindow(FALSE);
        CheckDlgButton(kDeviceDaylightBox, BST_UNCHECKED);
        box->ShowWindow(SW_HIDE);
        return;
    }
    AddTooltip(kDeviceDate, L"TT_RTC_DATE_FBC_WITH_DST_BODY", L"TT_RTC_DATE_FBC_HDR");
    AddTooltip(kDeviceTime, L"TT_RTC_TIME_FBC_WITH_DST_BODY", L"TT_RTC_TIME_FBC_HDR");
    m_bDaylightSavingOn = record.sDaylightSaving > 0;
    box->EnableWindow(TRUE);
    box->ShowWindow(SW_SHOW);
    CheckDlgButton(kDeviceDaylightBox, m_bDaylightSavingOn ? BST_CHECKED : BST_UNCHECKED);
}

void CClockPage::ShowDeviceTime(const tDateTime& record)
{
    const SYSTEMTIME utc = ToSystemTime(CClockCodec::FromSeconds(record.dwSeconds));
    if (!m_bTimeEditing)
        m_TimePicker.SetTime(&utc);
    if (!m_bDateEditing)
        m_DatePicker.SetTime(&utc);
    const CClockCodec::CDateTime local = CClockCodec::FromSeconds(CClockCodec::DeviceLocalSeconds(record));
    SetDlgItemText(kDeviceTime, FormatW(L"%02d:%02d:%02d", local.Hour, local.Minute, local.Second).c_str());
    SetDlgItemText(kDeviceDate, FormatW(L"%04d-%02d-%02d", local.Year, local.Month, local.Day).c_str());
    if (!m_bZoneEditing)
        m_ZoneList.SetCurSel(CClockCodec::FindZone(record.sZoneMinutes));
}

void CClockPage::OnSynchronise()
{
    CWaitCursor wait;
    SetRedraw(FALSE);
    EnableDeviceClock(false);
    EnsureConnectionOpen();
    _tzset();
    std::tm local{};
    const __time64_t now = _time64(nullptr);
    _localtime64_s(&local, &now);
    const std::optional<tDateTime> record = CClockCodec::SyncRecord(now, PcZoneMinutes(), local.tm_isdst > 0);
    CServiceBase* service = GetService();
    if (service == nullptr || !record || !service->SetDateTimeSettings(*record))
        ShowFailure(L"MSG_SYNC_RTC_FAILED_FMT");
    EnableDeviceClock(true);
    SetRedraw(TRUE);
    Invalidate();
}

void CClockPage::ShowFailure(const wchar_t* formatKey)
{
    CServiceBase* service = GetService();
    const DWORD code = service != nullptr ? service->GetLastErrorCode() : PELORUS_ERROR_NO_CONNECTION;
    CString text;
    text.Format(Text(formatKey), code);
    ZELLMessageBox(text, MB_OK | MB_ICONERROR, nullptr, 0);
}

bool CClockPage::WriteDeviceField(const std::function<void(tDateTime&)>& change)
{
    CServiceBase* service = GetService();
    tDateTime record;
    if (service == nullptr || !service->GetDateTimeSettings(record))
        return false;
    change(record);
    return service->SetDateTimeSettings(record);
}

void CClockPage::OnDaylightBoxClicked()
{
    WriteDaylightSaving();
}

void CClockPage::OnDaylightLabelClicked()
{
    if (!GetDlgItem(kDeviceDaylightBox)->IsWindowEnabled())
        return;
    CheckDlgButton(kDeviceDaylightBox, IsDlgButtonChecked(kDeviceDaylightBox) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    WriteDaylightSaving();
}

void CClockPage::WriteDaylightSaving()
{
    const short on = IsDlgButtonChecked(kDeviceDaylightBox) == BST_CHECKED ? 1 : 0;
    if (WriteDeviceField([on](tDateTime& record) { record.sDaylightSaving = on; }))
        return;
    const CString text = FormatW(L"Writing daylight saving time failed!\nErrorcode: 0x%08X", GetLastError());
    ZELLMessageBox(text, MB_OK | MB_ICONERROR, nullptr, 0);
}

void CClockPage::OnZoneListDropDown()
{
    m_bZoneEditing = true;
}

void CClockPage::OnZoneChanged()
{
    m_bZoneEditing = true;
    const int selected = m_ZoneList.GetCurSel();
    if (selected >= 0 && selected < static_cast<int>(CClockCodec::kZoneCount)) {
        const short minutes = static_cast<short>(CClockCodec::Zones()[static_cast<std::size_t>(selected)].Minutes);
        if (!WriteDeviceField([minutes](tDateTime& record) { record.sZoneMinutes = minutes; }))
            ShowFailure(L"MSG_WRITE_TZ_FAILED_FMT");
    }
    m_bZoneEditing = false;
}

void CClockPage::OnDateDropDown(NMHDR*, LRESULT* result)
{
    m_bDateEditing = true;
    *result = 0;
}

void CClockPage::OnDateCloseUp(NMHDR*, LRESULT* result)
{
    WritePickerTime();
    *result = 0;
}

void CClockPage::OnDateChanged(NMHDR*, LRESULT* result)
{
    // While the calendar is open, the date is written when it closes.
    if (!m_bDateEditing)
        WritePickerTime();
    *result = 0;
}

void CClockPage::OnTimeKeyDown(NMHDR*, LRESULT* result)
{
    m_bTimeEditing = true;
    *result = 0;
}

void CClockPage::OnTimeChanged(NMHDR*, LRESULT* result)
{
    m_bTimeEditing = true;
    WritePickerTime();
    *result = 0;
}

CClockCodec::CDateTime CClockPage::PickerDateTime() const
{
    SYSTEMTIME date{};
    SYSTEMTIME time{};
    m_DatePicker.GetTime(&date);
    m_TimePicker.GetTime(&time);
    return {date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute, time.wSecond};
}

void CClockPage::SetPickers(const CClockCodec::CDateTime& value)
{
    const SYSTEMTIME time = ToSystemTime(value);
    m_DatePicker.SetTime(&time);
    m_TimePicker.SetTime(&time);
}

void CClockPage::WritePickerTime()
{
    m_bDateEditing = true;
    const CClockCodec::CDateTime value = PickerDateTime();
    const std::optional<DWORD> seconds = CClockCodec::DeviceSeconds(value);
    // The pickers' range keeps the value inside what the device counts.
    if (seconds) {
        SetPickers(value);
        if (!WriteDeviceField([&seconds](tDateTime& record) { record.dwSeconds = *seconds; }))
            ShowFailure(L"MSG_WRITE_UTC_FAILED_FMT");
    }
    m_bDateEditing = false;
    m_bTimeEditing = false;
}

}  // namespace Corvane
