#include "Products/Corvane/Pages/Views/SDCardPage.h"

#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Base/Format.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

namespace Corvane {

using namespace DevicePageIds;

namespace {
constexpr int kValueFields[] = {kCardType, kCardSerial, kCardCapacity, kCardFree};
constexpr int kValueLabels[] = {kCardStatusLabel, kCardTypeLabel, kCardSerialLabel, kCardCapacityLabel,
                                kCardFreeLabel};
constexpr int kServiceButtons[] = {kCardQueryButton, kRootGetButton, kRootSetButton};
constexpr DWORD kPollPauseMs = 1000;
}

BEGIN_MESSAGE_MAP(CSDCardPage, CTextedSettingsPage)
    ON_CBN_SELCHANGE(kRootLocationList, OnRootLocationChanged)
    ON_BN_CLICKED(kCardQueryButton, OnQueryCard)
    ON_BN_CLICKED(kRootGetButton, OnGetRootLocation)
    ON_BN_CLICKED(kRootSetButton, OnSetRootLocation)
END_MESSAGE_MAP()

CSDCardPage::CSDCardPage() : CTextedSettingsPage(kSDCardTemplate, 0)
{
    m_strPageKey = kPageKey;
}

void CSDCardPage::LoadFromDeviceData()
{
    if (HasBothBlocks())
        RefreshView();
}

bool CSDCardPage::StoreToDeviceData()
{
    if (!HasBothBlocks())
        return false;
    // The root location lives in the data set; the list changed it there.
    ApplyView();
    return ValidateAll();
}

bool CSDCardPage::ShowValues()
{
    const CFBCData* data = GetDeviceData();
    if (data == nullptr || !data->HasSDCardSlot) {
        ClearCardFields();
        SetDlgItemText(kCardStatus, CSDCardCodec::kNotSupportedText);
        return true;
    }
    m_RootLocations.SetCurSel(data->SDCardInfo.wRootLocation);
    ShowCard(data->SDCardInfo);
    return true;
}

void CSDCardPage::ShowCard(const CSDCardCodec::tSDCardInfo& info)
{
    SetDlgItemText(kCardStatus, Text(CSDCardCodec::StatusKey(info).c_str()));
    if (!info.bInserted) {
        ClearCardFields();
        return;
    }
    CString type = Text(CSDCardCodec::TypeKey(info.wCardType).c_str());
    if (type.Find(L"##") == 0)
        type = Text(CSDCardCodec::kFallbackTypeKey);
    SetDlgItemText(kCardType, type);
    SetDlgItemText(kCardCapacity, CSDCardCodec::FormatMegabytes(info.wCapacity).c_str());
    SetDlgItemText(kCardFree, CSDCardCodec::FormatMegabytes(info.wFreeMemory).c_str());
    SetDlgItemText(kCardSerial, CSDCardCodec::FormatSerialNumber(info.dwSerialNumber).c_str());
}

void CSDCardPage::ClearCardFields()
{
    for (int id : kValueFields)
        SetDlgItemText(id, L"");
}

void CSDCardPage::EnableCardFields(bool enable)
{
    for (int id : kValueFields)
        GetDlgItem(id)->EnableWindow(enable);
    GetDlgItem(kCardStatus)->EnableWindow(enable);
    for (int id : kValueLabels)
        GetDlgItem(id)->EnableWindow(enable);
}

void CSDCardPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Control(dx, kRootLocationList, m_RootLocations);
}

BOOL CSDCardPage::OnInitDialog()
{
    CTextedSettingsPage::OnInitDialog();
    const bool serviceButtons = Text(L"OEM_NAME").Find(L"TRELLAND") >= 0;
    for (int id : kServiceButtons)
        GetDlgItem(id)->ShowWindow(serviceButtons ? SW_SHOW : SW_HIDE);
    return TRUE;
}

BOOL CSDCardPage::UpdateLanguageTexts()
{
    const BOOL pending = CTextedSettingsPage::UpdateLanguageTexts();
    if (IsActive())
        LoadFromDeviceData();
    return pending;
}

void CSDCardPage::ApplyTexts()
{
    const std::pair<int, const wchar_t*> labels[] = {
        {kCardStatusLabel, L"LBL_STATUS"},     {kCardTypeLabel, L"LBL_SDTYPE"}, {kCardSerialLabel, L"LBL_SERIAL_NUMBER"},
        {kCardCapacityLabel, L"LBL_CAPACITY"}, {kCardFreeLabel, L"LBL_FREEMEMORY"}, {kRootLocationLabel, L"LBL_PLC_ROOT"}};
    for (const auto& [id, key] : labels)
        SetDlgItemText(id, Text(key));
    for (int id : {kCardStatus, kCardType, kCardSerial, kCardCapacity, kCardFree})
        GetDlgItem(id)->SetFont(&GetPageFont());
    FillRootLocations();
}

void CSDCardPage::FillRootLocations()
{
    m_RootLocations.ResetContent();
    m_RootLocations.AddString(Text(L"TXT_INTERNAL_FLASH"));
    m_RootLocations.AddString(Text(L"TXT_SDCARD"));
}

void CSDCardPage::OnRootLocationChanged()
{
    const int selected = m_RootLocations.GetCurSel();
    CFBCData* data = GetDeviceData();
    if (data != nullptr && selected >= 0)
        CSDCardCodec::ChooseRootLocation(*data, selected);
    NotifySettingsChanged(TRUE);
}

void CSDCardPage::SetServiceLine(const CString& text)
{
    SetDlgItemText(kCardServiceLine, text);
    GetDlgItem(kCardServiceLine)->UpdateWindow();
}

void CSDCardPage::OnQueryCard()
{
    SetServiceLine(L"Status der SD-Karte ermitteln ...");
    EnsureConnectionOpen();
    std::vector<unsigned short> reply;
    CSDCardCodec::tSDCardInfo info;
    CServiceBase* service = GetService();
    // A reply shorter than the words read counts as a failure.
    if (service != nullptr && service->GetSDCardStatus(reply) && CSDCardCodec::ParseStatusReply(reply, info)) {
        m_bCardPresent = info.bInserted;
        ShowCard(info);
        SetServiceLine(L"Status der SD-Karte ermittelt");
    } else {
        m_bCardPresent = false;
        const DWORD code = service != nullptr ? service->GetLastErrorCode() : PELORUS_ERROR_NO_CONNECTION;
        SetDlgItemText(kCardStatus, L"");
        ClearCardFields();
        SetServiceLine(FormatW(L"Status der SD-Karte nicht ermittelt! - Errorcode: 0x%08X", code));
    }
    EnableCardFields(m_bCardPresent);
    FinishConnection();
}

void CSDCardPage::OnGetRootLocation()
{
    SetServiceLine(L"Ermitteln der PLC Root Location ...");
    EnsureConnectionOpen();
    CServiceBase* service = GetService();
    unsigned short location = 0;
    if (service != nullptr && service->GetPLCRootLocation(location)) {
        m_RootLocations.SetCurSel(location);
        SetServiceLine(L"PLC Root Location ermittelt");
    } else {
        const DWORD code = service != nullptr ? service->GetLastErrorCode() : PELORUS_ERROR_NO_CONNECTION;
        SetServiceLine(FormatW(L"PLC Root Location nicht ermittelt! - Errorcode: 0x%08X", code));
    }
    FinishConnection();
}

void CSDCardPage::OnSetRootLocation()
{
    const int selected = m_RootLocations.GetCurSel();
    if (selected < 0) {
        SetServiceLine(L"Keine PLC Root Location ausgewählt!");
        return;
    }
    SetServiceLine(L"PLC Root Location einstellen ...");
    EnsureConnectionOpen();
    SetServiceLine(SetRootLocationOnDevice(selected));
    FinishConnection();
}

CString CSDCardPage::SetRootLocationOnDevice(int location)
{
    CServiceBase* service = GetService();
    if (service == nullptr)
        return FormatW(L"PLC Root Location nicht eingestellt! - Errorcode: 0x%08X", PELORUS_ERROR_NO_CONNECTION);
    if (service->SetPLCRootLocation(static_cast<unsigned short>(location)))
        return L"PLC Root Location eingestellt";
    const DWORD code = service->GetLastErrorCode();
    if (code != CSDCardCodec::kBusyErrorCode)
        return FormatW(L"PLC Root Location nicht eingestellt! - Errorcode: 0x%08X", code);
    SetServiceLine(L"PLC Root Ordner wird auf der SD-Karte angelegt ...");
    const auto query = [service](WORD& state) {
        tServiceState answer;
        if (!service->GetServiceState(3, 18, answer))
            return false;
        state = answer.wState;
        return true;
    };
    const CSDCardCodec::CWaitResult result = CSDCardCodec::WaitWhileBusy(query, [this] { Pause(kPollPauseMs); });
    const DWORD lastCode = result.Outcome == CSDCardCodec::EWaitOutcome::QueryFailed ? service->GetLastErrorCode() : 0;
    return CSDCardCodec::WaitResultText(result, lastCode).c_str();
}

}  // namespace Corvane
