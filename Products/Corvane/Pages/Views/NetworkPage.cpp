#include "Products/Corvane/Pages/Views/NetworkPage.h"

#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

using namespace DevicePageIds;

BEGIN_MESSAGE_MAP(CNetworkPage, CTextedSettingsPage)
    ON_EN_CHANGE(kHostNameEdit, OnNameChanged)
    ON_EN_CHANGE(kDomainNameEdit, OnNameChanged)
END_MESSAGE_MAP()

CNetworkPage::CNetworkPage() : CTextedSettingsPage(kNetworkTemplate, 0)
{
    m_pageKey = L"NETWORK";
}

void CNetworkPage::LoadFromDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_codec.Load(block);
    // A field the device filled to all 32 bytes is cut to the 31 characters
    // the page stores, so that it never fails the edit's length check.
    m_hostName = CString(m_codec.HostName.substr(0, CNetworkIdCodec::MaxChars).c_str());
    m_domainName = CString(m_codec.DomainName.substr(0, CNetworkIdCodec::MaxChars).c_str());
    RefreshView();
}

bool CNetworkPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return false;
    ApplyView();
    m_codec.HostName = m_hostName.str();
    m_codec.DomainName = m_domainName.str();
    return m_codec.Store(block);
}

void CNetworkPage::DoDataExchange(CDataExchange* dx)
{
    CCouplerSettingsPageBase::DoDataExchange(dx);
    const int maxChars = static_cast<int>(CNetworkIdCodec::MaxChars);
    DDX_Text(dx, kHostNameEdit, m_hostName);
    DDV_MaxChars(dx, m_hostName, maxChars);
    DDX_Text(dx, kDomainNameEdit, m_domainName);
    DDV_MaxChars(dx, m_domainName, maxChars);
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
