#include "Products/Corvane/Pages/Views/TransmissionPage.h"

#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/PageListField.h"
#include "Products/Corvane/Pages/Views/PageNumberField.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

namespace Corvane {

using namespace ServicePageIds;

namespace {

// In the order of the codec's speed index: the keys of the link modes'
// names, and the names shown where the texts lack a key.
struct tLinkMode {
    LPCWSTR key;
    LPCWSTR fallback;
};
constexpr tLinkMode kLinkModes[] = {{L"TXT_LINK_AUTO_NEGOTIATE", L"Auto Negotiate"},
                                    {L"TXT_LINK_10_HALF_DUPLEX", L"10 MBit / Half Duplex"},
                                    {L"TXT_LINK_10_FULL_DUPLEX", L"10 MBit / Full Duplex"},
                                    {L"TXT_LINK_100_HALF_DUPLEX", L"100 MBit / Half Duplex"},
                                    {L"TXT_LINK_100_FULL_DUPLEX", L"100 MBit / Full Duplex"}};

// The names of the link modes in the current language, set off from the
// list's edge as the other lists' items are.
std::vector<CString> LinkModeNames()
{
    std::vector<CString> names;
    for (const tLinkMode& mode : kLinkModes) {
        const CString text = CCouplerSettingsPageBase::Text(mode.key);
        names.push_back(CString(L"  ") + (text.Left(2) == L"##" ? CString(mode.fallback) : text));
    }
    return names;
}

// The warning's tip sits this far above the middle of the list.
constexpr int kWarningLift = 12;

}

BEGIN_MESSAGE_MAP(CTransmissionPage, CTextedSettingsPage)
    ON_BN_CLICKED(kBandwidthBox, OnBandwidthClicked)
    ON_CONTROL(STN_CLICKED, kBandwidthLabel, OnBandwidthLabelClicked)
    ON_EN_CHANGE(kActivationTimeEdit, OnActivationTimeChanged)
    ON_CBN_SELCHANGE(kPriorityList, OnPriorityChanged)
    ON_CBN_SELCHANGE(kSpeedList, OnSpeedChanged)
END_MESSAGE_MAP()

CTransmissionPage::CTransmissionPage()
    : CTextedSettingsPage(kTransmissionTemplate, 0), m_Codec(CPageAppServices::Capabilities())
{
    m_strPageKey = kPageKey;
}

void CTransmissionPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_Codec.Load(block);
    RefreshView();
}

bool CTransmissionPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return FALSE;
    ApplyView();
    const bool valid = ValidateAll();
    m_Codec.Store(block);
    return valid;
}

bool CTransmissionPage::ShowValues()
{
    CPageNumberField::Show(*this, kActivationTimeEdit, L"%d", m_Codec.ActivationTime);
    CPageListField::Select(*this, kSpeedList, m_Codec.SpeedIndex);
    CPageListField::Select(*this, kPriorityList, m_Codec.PriorityIndex);
    CheckDlgButton(kBandwidthBox, m_Codec.BandwidthLimit ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

bool CTransmissionPage::ReadValues()
{
    m_Codec.BandwidthLimit = IsDlgButtonChecked(kBandwidthBox) == BST_CHECKED;
    m_Codec.SpeedIndex = CPageListField::Selection(*this, kSpeedList);
    m_Codec.PriorityIndex = CPageListField::Selection(*this, kPriorityList);
    return CPageNumberField::Read(*this, kActivationTimeEdit, false, m_Codec.ActivationTime);
}

bool CTransmissionPage::ValidateAll()
{
    return CheckRanges(m_Codec.RangeChecks());
}

void CTransmissionPage::EnableControls(int)
{
    for (int id : {kActivationTimeLabel, kActivationTimeEdit, kPriorityLabel, kPriorityList})
        GetDlgItem(id)->EnableWindow(m_Codec.BandwidthLimit);
}

void CTransmissionPage::ApplyTexts()
{
    SetDlgItemText(kSpeedLabel, Text(L"LBL_SPEED_MODE"));
    SetDlgItemText(kActivationTimeLabel, Text(L"LBL_ACTIVATION_TIME"));
    SetDlgItemText(kPriorityLabel, Text(L"LBL_TASK_PRIORITY"));
    CString group;
    group.Format(GetGroupLabelFormat().GetString(), Text(L"GRP_BANDWIDTH_LIMIT").GetString());
    SetDlgItemText(kBandwidthLabel, group);
    FitStaticToText(GetDlgItem(kBandwidthLabel), group, &GetPageFont());
    // A choice not yet stored survives the new names.
    const int priority = CPageListField::Selection(*this, kPriorityList);
    CPageListField::Fill(*this, kPriorityList,
                         {Text(L"TXT_CMB_TASK_KBUS"), Text(L"TXT_CMB_TASK_KBUS_SPS"), Text(L"TXT_CMB_TASK_ALL")});
    CPageListField::Select(*this, kPriorityList, priority >= 0 ? priority : m_Codec.PriorityIndex);
    const int speed = CPageListField::Selection(*this, kSpeedList);
    CPageListField::Fill(*this, kSpeedList, LinkModeNames());
    CPageListField::Select(*this, kSpeedList, speed >= 0 ? speed : m_Codec.SpeedIndex);
    AddTooltip(kSpeedList, L"TT_SPEED_MODE_BODY", L"TT_SPEED_MODE_HDR");
    AddTooltip(kBandwidthBox, L"TT_BANDWIDTH_LIMIT_BODY", L"GRP_BANDWIDTH_LIMIT");
    AddTooltip(kActivationTimeEdit, L"TT_ACTIVATION_TIME_BODY", L"TT_ACTIVATION_TIME_HDR");
    AddTooltip(kPriorityList, L"TT_TASK_PRIORITY_BODY", L"TT_TASK_PRIORITY_HDR");
}

void CTransmissionPage::ShowDuplexWarning(bool shown)
{
    if (!shown) {
        HideTooltip();
        return;
    }
    CRect list;
    GetDlgItem(kSpeedList)->GetWindowRect(&list);
    const POINT tip{(list.left + list.right) / 2, (list.top + list.bottom) / 2 - kWarningLift};
    m_Tooltip.ShowHelpTip(tip, LoadResourceString(kDuplexWarning).str());
}

void CTransmissionPage::OnBandwidthClicked()
{
    ApplyView();
    // Into the block at once: the state page shows the same bit.
    CDeviceBlock block = DeviceBlock();
    m_Codec.CommitBandwidthLimit(block);
    EnableControls(TRUE);
    NotifySettingsChanged(TRUE);
}

void CTransmissionPage::OnBandwidthLabelClicked()
{
    CheckDlgButton(kBandwidthBox, IsDlgButtonChecked(kBandwidthBox) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    OnBandwidthClicked();
}

void CTransmissionPage::OnActivationTimeChanged()
{
    CheckWhileTyping(m_Codec.RangeChecks());
    NotifySettingsChanged(TRUE);
}

void CTransmissionPage::OnPriorityChanged()
{
    NotifySettingsChanged(TRUE);
}

void CTransmissionPage::OnSpeedChanged()
{
    ApplyView();
    ShowDuplexWarning(CTransmissionCodec::WarnsOfDuplexMismatch(m_Codec.SpeedIndex));
    NotifySettingsChanged(TRUE);
}

}  // namespace Corvane
