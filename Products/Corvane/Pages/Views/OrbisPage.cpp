#include "Products/Corvane/Pages/Views/OrbisPage.h"

#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

namespace Corvane {

using namespace DevicePageIds;

BEGIN_MESSAGE_MAP(COrbisPage, CTextedSettingsPage)
    ON_BN_CLICKED(kResetOutputsBox, OnSwitchClicked)
    ON_BN_CLICKED(kAlternativeTargetIdBox, OnSwitchClicked)
    ON_CBN_SELCHANGE(kRuntimeSystemList, OnRuntimeSystemChanged)
END_MESSAGE_MAP()

COrbisPage::COrbisPage() : CTextedSettingsPage(kOrbisTemplate, 0)
{
    m_strPageKey = kPageKey;
}

void COrbisPage::LoadFromDeviceData()
{
    if (!DeviceBlock().IsPresent())
        return;
    m_Codec.Load(ExtraBlock(), CPageAppServices::IsPlcController(GetDeviceData()));
    RefreshView();
}

bool COrbisPage::StoreToDeviceData()
{
    if (!DeviceBlock().IsPresent())
        return false;
    ApplyView();
    CDeviceBlock extra = ExtraBlock();
    m_Codec.Store(extra, CPageAppServices::IsPlcController(GetDeviceData()));
    return ValidateAll();
}

bool COrbisPage::ShowValues()
{
    ShowControlsForDevice();
    FillRuntimeSystems();
    CheckDlgButton(kResetOutputsBox, m_Codec.ResetOutputs ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kAlternativeTargetIdBox, m_Codec.AlternativeTargetId ? BST_CHECKED : BST_UNCHECKED);
    return true;
}

bool COrbisPage::ReadValues()
{
    m_Codec.ResetOutputs = IsDlgButtonChecked(kResetOutputsBox) == BST_CHECKED;
    m_Codec.AlternativeTargetId = IsDlgButtonChecked(kAlternativeTargetIdBox) == BST_CHECKED;
    return true;
}

void COrbisPage::ShowControlsForDevice()
{
    const bool hasList = !RuntimeSystems().empty();
    const CFBCData* data = GetDeviceData();
    const bool alternative = !hasList && data != nullptr && COrbisCodec::OffersAlternativeTargetId(data->ArticleNo);
    const std::pair<int, bool> shown[] = {{kRuntimeSystemLabel, hasList},
                                          {kRuntimeSystemList, hasList},
                                          {kResetOutputsBox, !hasList},
                                          {kAlternativeTargetIdBox, alternative}};
    for (const auto& [id, show] : shown)
        GetDlgItem(id)->ShowWindow(show ? SW_SHOW : SW_HIDE);
    GetDlgItem(kAlternativeTargetIdBox)->EnableWindow(alternative);
}

std::vector<WORD> COrbisPage::RuntimeSystems() const
{
    const CFBCData* data = GetDeviceData();
    return data != nullptr ? data->RuntimeSystems : std::vector<WORD>{};
}

COrbisCodec::Translator COrbisPage::Translator() const
{
    return [](const std::wstring& key) { return Text(key.c_str()).str(); };
}

void COrbisPage::FillRuntimeSystems()
{
    m_RuntimeSystems.ResetContent();
    const COrbisCodec::Translator translate = Translator();
    for (const std::wstring& text : COrbisCodec::RuntimeSystemTexts(RuntimeSystems(), translate))
        m_RuntimeSystems.AddString(text.c_str());
    const CFBCData* data = GetDeviceData();
    if (data == nullptr || data->ActiveRuntimeSystem == COrbisCodec::kNoRuntimeSystem)
        return;
    const std::wstring active = translate(COrbisCodec::RuntimeSystemKey(data->ActiveRuntimeSystem));
    if (COrbisCodec::IsDefinedText(active))
        m_RuntimeSystems.SelectString(-1, active.c_str());
}

void COrbisPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Control(dx, kRuntimeSystemList, m_RuntimeSystems);
}

BOOL COrbisPage::UpdateLanguageTexts()
{
    const BOOL pending = CTextedSettingsPage::UpdateLanguageTexts();
    if (IsActive())
        ShowValues();
    return pending;
}

void COrbisPage::ApplyTexts()
{
    SetDlgItemText(kRuntimeSystemLabel, Text(L"LBL_RUNTIME_SYSTEM"));
    SetDlgItemText(kResetOutputsBox, Text(L"LBL_RESET_OUTPUT"));
    SetDlgItemText(kAlternativeTargetIdBox, Text(L"LBL_USE_ALT_TARGET_ID"));
    for (int id : {kRuntimeSystemLabel, kRuntimeSystemList, kResetOutputsBox, kAlternativeTargetIdBox})
        GetDlgItem(id)->SetFont(&GetPageFont());
    AddTooltip(kRuntimeSystemList, L"TT_RUNTIME_SYSTEM_BODY", L"TXT_RUNTIME_SYSTEM");
    AddTooltip(kResetOutputsBox, L"TT_RESET_OUTPUT_BODY", L"TT_RESET_OUTPUT_HDR");
    AddTooltip(kAlternativeTargetIdBox, L"TT_USE_ALT_TARGET_ID_BODY", L"TT_USE_ALT_TARGET_ID_HDR");
}

void COrbisPage::OnSwitchClicked()
{
    ApplyView();
    NotifySettingsChanged(TRUE);
}

void COrbisPage::OnRuntimeSystemChanged()
{
    CFBCData* data = GetDeviceData();
    const int selected = m_RuntimeSystems.GetCurSel();
    if (data == nullptr || selected < 0)
        return;
    CString text;
    m_RuntimeSystems.GetLBText(selected, text);
    const WORD id = COrbisCodec::RuntimeSystemOfText(RuntimeSystems(), text.str(), Translator());
    if (COrbisCodec::ChooseRuntimeSystem(*data, id))
        NotifySettingsChanged(TRUE);
}

}  // namespace Corvane
