#include "Products/Corvane/Pages/Views/StatePage.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Format.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"

namespace Corvane {

using namespace DevicePageIds;

namespace {

struct tStateRow {
    int box;
    int label;
    const wchar_t* key;
    const wchar_t* bodyKey;
};

constexpr tStateRow kRows[] = {
    {kFieldbusBox, kFieldbusLabel, L"LBL_FIELDBUS_ACTIVE", L"TT_FIELDBUS_BODY"},
    {kWriteAccessBox, kWriteAccessLabel, L"LBL_WRITE_ACCESS_ENABLED", L"TT_WRITE_ACCESS_BODY"},
    {kMonitorModeBox, kMonitorModeLabel, L"LBL_MONITOR_MODE_ACTIVE", L"TT_MONITOR_MODE_BODY"},
    {kControlModeBox, kControlModeLabel, L"LBL_CONTROL_MODE_ACTIVE", L"TT_CONTROL_MODE_BODY"},
    {kTestModeBox, kTestModeLabel, L"LBL_TEST_MODE_ACTIVE", L"TT_TEST_MODE_BODY"},
    {kExtensionBox, kExtensionLabel, L"LBL_KBUS_EXTENSION_ACTIVE", L"TT_KBUS_EXTENSION_BODY"},
    {kConstantSpeedBox, kConstantSpeedLabel, L"LBL_KBUS_STATIC_SPEED_ACTIVE", L"TT_KBUS_STATIC_SPEED_BODY"},
};

// The boxes that only show a state word (the commands send it themselves).
constexpr int kDisplayedBoxes[] = {kFieldbusBox, kWriteAccessBox, kMonitorModeBox, kControlModeBox, kTestModeBox};

constexpr UINT kShortListStyle = 0x50;
// The mode the device's production test runs in.
constexpr unsigned short kFactoryTestMode = 3;

}

BEGIN_MESSAGE_MAP(CStatePage, CTextedSettingsPage)
    ON_BN_CLICKED(kFieldbusBox, OnFieldbusClicked)
    ON_CONTROL(STN_CLICKED, kExtensionLabel, OnExtensionLabelClicked)
    ON_CONTROL(STN_CLICKED, kConstantSpeedLabel, OnConstantSpeedLabelClicked)
    ON_BN_CLICKED(kWriteAccessBox, OnWriteAccessClicked)
    ON_BN_CLICKED(kMonitorModeBox, OnMonitorModeClicked)
    ON_BN_CLICKED(kControlModeBox, OnControlModeClicked)
    ON_BN_CLICKED(kTestModeBox, OnTestModeClicked)
    ON_BN_CLICKED(kExtensionBox, OnExtensionClicked)
    ON_BN_CLICKED(kConstantSpeedBox, OnConstantSpeedClicked)
END_MESSAGE_MAP()

CStatePage::CStatePage() : CTextedSettingsPage(kStateTemplate, 0)
{
    m_strPageKey = kPageKey;
}

BOOL CStatePage::OnInitDialog()
{
    CTextedSettingsPage::OnInitDialog();
    return FALSE;
}

BOOL CStatePage::OnSetActive()
{
    const BOOL active = CCouplerSettingsPageBase::OnSetActive();
    if (active)
        ShowStateWords();
    return active;
}

void CStatePage::ApplyTexts()
{
    for (const tStateRow& row : kRows) {
        CString label;
        label.Format(GetGroupLabelFormat(), Text(row.key).GetString());
        SetDlgItemText(row.label, label);
        AddTooltip(row.box, row.bodyKey, row.key);
        AddTooltip(row.label, row.bodyKey, row.key);
    }
    SetDlgItemText(kStatesGroup, Text(L"GRP_STATES"));
    SetDlgItemText(kBlinkCodeGroup, Text(L"GRP_BLINKCODES"));
    GetDlgItem(kStatesGroup)->SetFont(&GetPageFont());
    GetDlgItem(kBlinkCodeGroup)->SetFont(&GetPageFont());
    SetDlgItemText(kErrorCodeLabel, Text(L"LBL_ERROR_CODE"));
    SetDlgItemText(kErrorArgumentLabel, Text(L"LBL_ERROR_ARG"));
    AddTooltip(kErrorCode, L"TT_ERROR_CODE_BODY", L"TT_ERROR_CODE_HDR");
    AddTooltip(kErrorArgument, L"TT_ERROR_ARG_BODY", L"TT_ERROR_ARG_HDR");
    for (int id : kDisplayedBoxes)
        GetDlgItem(id)->EnableWindow(FALSE);
    const bool coupler = !CPageAppServices::IsPlcController(GetDeviceData());
    for (int id : {kExtensionBox, kExtensionLabel, kConstantSpeedBox, kConstantSpeedLabel})
        ShowAndEnable(id, coupler);
}

void CStatePage::ShowAndEnable(int id, bool on)
{
    CWnd* control = GetDlgItem(id);
    control->ShowWindow(on ? SW_SHOW : SW_HIDE);
    control->EnableWindow(on);
}

std::vector<WORD>* CStatePage::StateWords()
{
    CFBCData* data = GetDeviceData();
    return data != nullptr ? &data->StatusWords : nullptr;
}

void CStatePage::ShowStateWords()
{
    static const std::vector<WORD> none;
    const std::vector<WORD>* words = StateWords();
    const std::vector<WORD>& states = words != nullptr ? *words : none;
    if (!CStateCodec::HasEnoughStates(states)) {
        for (int id : kDisplayedBoxes)
            GetDlgItem(id)->EnableWindow(FALSE);
        GetDlgItem(kExtensionBox)->EnableWindow(FALSE);
        ZELLMessageBox(CStateCodec::InvalidStateCountMessage(states.size()).c_str(), kShortListStyle,
                       L"FBC Device Error", 0);
        return;
    }
    SetBox(kFieldbusBox, CStateCodec::IsOn(states, CStateCodec::kFieldbusActive));
    SetBox(kWriteAccessBox, CStateCodec::IsOn(states, CStateCodec::kWriteAccess));
    SetBox(kMonitorModeBox, CStateCodec::IsOn(states, CStateCodec::kMonitorMode));
    SetBox(kControlModeBox, CStateCodec::IsOn(states, CStateCodec::kControlMode));
    SetBox(kTestModeBox, CStateCodec::IsOn(states, CStateCodec::kTestMode));
    ShowBlinkCode(states);
    const bool extension = CStateCodec::ShowsTerminalBusExtension(states, CPageAppServices::IsPlcController(GetDeviceData()));
    ShowAndEnable(kExtensionBox, extension);
    ShowAndEnable(kExtensionLabel, extension);
    SetBox(kExtensionBox, extension && CStateCodec::IsOn(states, CStateCodec::kTerminalBusExtension));
    // The speed bit is shared with the transmission page: always the block's value.
    SetBox(kConstantSpeedBox, CStateCodec::ReadConstantSpeed(DeviceBlock()).value_or(false));
}

void CStatePage::ShowBlinkCode(const std::vector<WORD>& states)
{
    const int code = states[CStateCodec::kErrorCode];
    const int argument = states[CStateCodec::kErrorArgument];
    SetDlgItemText(kErrorCode, FormatW(L"%d", code).c_str());
    SetDlgItemText(kErrorArgument, FormatW(L"%d", argument).c_str());
    const CFBCData* data = GetDeviceData();
    const std::wstring articlePart = data != nullptr ? CArticleNumber(data->ArticleNo.str()).GetPart(1, true) : L"";
    const auto translate = [](const std::wstring& key) { return Text(key.c_str()).str(); };
    const std::wstring text = CStateCodec::BlinkCodeText(translate, articlePart, IsWideFormat(), code, argument);
    SetDlgItemText(kBlinkCodeText, text.c_str());
}

void CStatePage::OnFieldbusClicked()
{
    // Display only: the device decides whether its fieldbus runs.
    SetBox(kFieldbusBox, !IsBoxChecked(kFieldbusBox));
}

void CStatePage::OnExtensionLabelClicked()
{
    SetBox(kExtensionBox, !IsBoxChecked(kExtensionBox));
    OnExtensionClicked();
}

void CStatePage::OnConstantSpeedLabelClicked()
{
    SetBox(kConstantSpeedBox, !IsBoxChecked(kConstantSpeedBox));
    OnConstantSpeedClicked();
}

bool CStatePage::SwitchMode(int box, std::size_t word, const std::function<bool(bool on)>& command)
{
    const bool on = IsBoxChecked(box);
    std::vector<WORD>* states = StateWords();
    bool done = false;
    if (states != nullptr && OpenForCommand()) {
        CStateCodec::SetState(*states, word, on);
        done = command(on);
        FinishConnection();
    }
    if (!done) {
        if (states != nullptr)
            CStateCodec::SetState(*states, word, !on);
        SetBox(box, !on);
    }
    return done;
}

bool CStatePage::OpenForCommand()
{
    return GetService() != nullptr && EnsureConnectionOpen();
}

void CStatePage::OnWriteAccessClicked()
{
    // A refused write access is reverted like the modes, so that the box
    // never shows a state the device does not have.
    SwitchMode(kWriteAccessBox, CStateCodec::kWriteAccess,
               [this](bool on) { return GetService()->EnableParamWriting(on); });
}

void CStatePage::OnMonitorModeClicked()
{
    if (!SwitchMode(kMonitorModeBox, CStateCodec::kMonitorMode,
                    [this](bool on) { return GetService()->EnableBKMonitorMode(on); }))
        return;
    const bool control = CStateCodec::CanSwitchControlMode(IsBoxChecked(kMonitorModeBox), IsTCPIPConnection(),
                                                           IsBoxChecked(kFieldbusBox));
    GetDlgItem(kControlModeBox)->EnableWindow(control);
}

void CStatePage::OnControlModeClicked()
{
    if (!SwitchMode(kControlModeBox, CStateCodec::kControlMode,
                    [this](bool on) { return GetService()->EnableBKControlMode(on); }))
        return;
    GetDlgItem(kMonitorModeBox)->EnableWindow(CStateCodec::CanSwitchMonitorMode(IsBoxChecked(kControlModeBox)));
}

void CStatePage::OnTestModeClicked()
{
    const bool on = IsBoxChecked(kTestModeBox);
    bool done = false;
    // The production test mode is reached only over the service cable.
    if (!IsTCPIPConnection() && OpenForCommand()) {
        done = GetService()->SetFactoryTestMode(on ? kFactoryTestMode : 0);
        if (done)
            SaveAfterTestMode();
        FinishConnection();
    }
    if (!done)
        SetBox(kTestModeBox, !on);
}

void CStatePage::SaveAfterTestMode()
{
    tWorkerParams params;
    params.window = m_hWnd;
    params.connection = GetConnection();
    params.service = GetService();
    params.data = GetDeviceData();
    CWorkerWait wait;
    CWorkerContext context(params, wait);
    CWorkerConnection connection(context);
    CDeviceResetSteps(context, connection).SaveDeviceParameters();
}

void CStatePage::OnExtensionClicked()
{
    NotifySettingsChanged(TRUE);
    std::vector<WORD>* states = StateWords();
    const bool on = IsBoxChecked(kExtensionBox);
    if (states != nullptr)
        CStateCodec::SetState(*states, CStateCodec::kTerminalBusExtension, on);
    if (!IsOfflineConfig() && OpenForCommand()) {
        GetService()->EnableTerminalBusExtension(on);
        FinishConnection();
    }
}

void CStatePage::OnConstantSpeedClicked()
{
    NotifySettingsChanged(TRUE);
    // Into the block first: offline, or with the device unreachable, the
    // change is still written with the next write of the settings.
    CDeviceBlock block = DeviceBlock();
    CStateCodec::WriteConstantSpeed(block, IsBoxChecked(kConstantSpeedBox));
    const std::optional<WORD> word = block.Read(CStateCodec::kSpeedWord);
    if (!word || IsOfflineConfig() || !OpenForCommand())
        return;
    CServiceBase* service = GetService();
    const WORD value = *word;
    service->EnableParamWriting(true);
    service->WriteRegister(0, 100, CStateCodec::kSpeedWord, 1, &value);
    service->EnableParamWriting(false);
    FinishConnection();
}

}  // namespace Corvane
