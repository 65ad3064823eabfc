#include "Products/Corvane/Pages/Views/NetworkPage.h"

#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

namespace Corvane {

using namespace DevicePageIds;

BEGIN_MESSAGE_MAP(CNetworkPage, CTextedSettingsPage)
    ON_EN_CHANGE(kHostNameEdit, OnNameChanged)
    ON_EN_CHANGE(kDomainNameEdit, OnNameChanged)
END_MESSAGE_MAP()

CNetworkPage::CNetworkPage() : CTextedSettingsPage(kNetworkTemplate, 0)
{
    m_strPageKey = kPageKey;
}

void CNetworkPage::LoadFromDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_Codec.Load(block);
    // A field the device filled to all 32 bytes is shown and kept whole
    // until the user changes it.
    m_strHostName = CString(m_Codec.HostName.c_str());
    m_strDomainName = CString(m_Codec.DomainName.c_str());
    RefreshView();
}

bool CNetworkPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return false;
    ApplyView();
    m_Codec.HostName = m_strHostName.str();
    m_Codec.DomainName = m_strDomainName.str();
    return m_Codec.Store(block);
}

void CNetworkPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    DDX_Text(dx, kHostNameEdit, m_strHostName);
    CheckNameLength(dx, m_strHostName, m_Codec.LoadedHostName());
    DDX_Text(dx, kDomainNameEdit, m_strDomainName);
    CheckNameLength(dx, m_strDomainName, m_Codec.LoadedDomainName());
}

// The edit holds typing to 31 characters; the name the device gave is no
// typing of the user's and passes as it is.
void CNetworkPage::CheckNameLength(CDataExchange* dx, const CString& name, const std::wstring& deviceName)
{
    if (dx->m_bSaveAndValidate && name.str() == deviceName)
        return;
    DDV_MaxChars(dx, name, static_cast<int>(CNetworkIdCodec::kMaxChars));
}

void CNetworkPage::ApplyTexts()
{
    SetDlgItemText(kHostNameLabel, Text(L"LBL_HOSTNAME"));
    SetDlgItemText(kDomainNameLabel, Text(L"LBL_DOMAINNAME"));
    SetDlgItemText(kNetworkInfo, Text(L"LBL_NETID_INFO"));
    for (int edit : {kHostNameEdit, kDomainNameEdit})
        GetDlgItem(edit)->SetFont(&GetPageFont());
    AddTooltip(kHostNameEdit, L"TT_HOSTNAME_BODY", L"TT_HOSTNAME_HDR");
    AddTooltip(kDomainNameEdit, L"TT_DOMAINNAME_BODY", L"TT_DOMAINNAME_HDR");
}

void CNetworkPage::OnNameChanged()
{
    NotifySettingsChanged(1);
}

}  // namespace Corvane
