#include "Products/Corvane/Pages/Views/SntpPage.h"

#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/StandardIcon.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/PageNumberField.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

#include <algorithm>

namespace Corvane {

using namespace ServicePageIds;

namespace {

// Enabled exactly while the time client is on.
constexpr int kClientControls[] = {kCurrentServerLabel, kCurrentServerEdit, kServerLabel,  kServerEdit,
                                   kIntervalLabel,      kIntervalEdit,      kTimeoutLabel, kTimeoutEdit};

constexpr wchar_t kDnsWarningTitle[] = L"Es ist kein Domain Name Server angegeben!";
constexpr wchar_t kDnsWarningText[] =
    L"Wenn Sie hier einen Hostnamen f\u00FCr den Zeitserver eingeben, m\u00FCssen Sie sicherstellen,\n"
    L"dass ein DNS angegeben ist oder die IP-Adresse des Ger\u00E4tes von einem DHCP Server\n"
    L"bezogen wird, damit die Namensaufl\u00F6sung des Hostnamens erfolgen kann!";

}

BEGIN_MESSAGE_MAP(CSntpPage, CTextedSettingsPage)
    ON_WM_MOUSEMOVE()
    ON_BN_CLICKED(kSntpBox, OnSntpClicked)
    // The interval and time-out fields; the label between them sends nothing.
    ON_CONTROL_RANGE(EN_CHANGE, kIntervalEdit, kTimeoutEdit, OnNumberChanged)
    ON_EN_CHANGE(kServerEdit, OnServerChanged)
END_MESSAGE_MAP()

CSntpPage::CSntpPage() : CTextedSettingsPage(kSntpTemplate, 0), m_Codec(CPageAppServices::Capabilities())
{
    m_strPageKey = kPageKey;
}

void CSntpPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_Codec.Load(block, GetDeviceData(), HasSeveralPorts());
    RefreshView();
}

bool CSntpPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return FALSE;
    ApplyView();
    const bool valid = ValidateAll();
    m_Codec.Store(block, GetDeviceData(), HasSeveralPorts());
    return valid;
}

bool CSntpPage::ShowValues()
{
    CheckDlgButton(kSntpBox, m_Codec.SntpOn ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kCurrentServerEdit, m_Codec.CurrentServerText.c_str());
    SetDlgItemText(kServerEdit, m_Codec.ServerText.c_str());
    CPageNumberField::Show(*this, kIntervalEdit, L"%d", m_Codec.Interval);
    CPageNumberField::Show(*this, kTimeoutEdit, L"%d", m_Codec.Timeout);
    return TRUE;
}

bool CSntpPage::ReadValues()
{
    m_Codec.SntpOn = IsDlgButtonChecked(kSntpBox) == BST_CHECKED;
    m_Codec.ServerText = ServerFieldText().str();
    const bool interval = CPageNumberField::Read(*this, kIntervalEdit, false, m_Codec.Interval);
    const bool timeout = CPageNumberField::Read(*this, kTimeoutEdit, false, m_Codec.Timeout);
    return interval && timeout;
}

CString CSntpPage::ServerFieldText() const
{
    CString text;
    GetDlgItemText(kServerEdit, text);
    return text;
}

bool CSntpPage::ValidateAll()
{
    // While the page fills its fields the server check stays quiet, as the
    // range checks do.
    if (!m_bUpdating) {
        const std::wstring server = IsLive() ? ServerFieldText().str() : m_Codec.ServerText;
        if (!ApplyServerCheck(m_Codec.CheckServerText(server, false)))
            return false;
    }
    return CheckRanges(m_Codec.RangeChecks());
}

bool CSntpPage::ApplyServerCheck(const CSntpCodec::CServerCheck& check)
{
    if (check.Replace && !check.LeaveEditAlone)
        PutServerText(check.Text, check.LengthChange);
    switch (check.Failure) {
    case CSntpCodec::EFailure::TooLong: {
        NoteRefusedField(Text(L"TT_SNTP_SERVER_HDR"));
        CString text;
        text.Format(Text(L"MSG_INVALID_SNTP_ADDRESS_LENGTH").GetString(), int{CSntpCodec::kMaxServerLength});
        ShowServerBalloon(Text(L"TT_SNTP_SERVER_HDR"), text, kErrorIcon);
        return false;
    }
    case CSntpCodec::EFailure::NotAnAddress:
        NoteRefusedField(Text(L"TT_SNTP_SERVER_HDR"));
        ShowServerBalloon(Text(L"TT_SNTP_SERVER_HDR"), Text(L"MSG_INVALID_IP_ADDRESS"), kErrorIcon);
        return false;
    case CSntpCodec::EFailure::None:
        break;
    }
    if (IsActive() && m_Codec.HostNamesAllowed) {
        GetDlgItem(kDnsWarningIcon)->ShowWindow(check.WarnNoNameServer ? SW_SHOW : SW_HIDE);
        if (check.WarnNoNameServer) {
            ShowDnsWarning();
            // The balloon stays up only while the pointer is over the icon.
            m_bDnsWarningShown = false;
        }
    }
    return check.Passed;
}

void CSntpPage::PutServerText(const std::wstring& text, int lengthChange)
{
    if (!IsLive())
        return;
    DWORD start = 0;
    DWORD end = 0;
    SendDlgItemMessage(kServerEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // The field's own change notice is not a new entry of the user.
    m_bUpdating = true;
    SetDlgItemText(kServerEdit, text.c_str());
    m_bUpdating = false;
    const auto moved = [&](DWORD position) {
        const long long shifted = static_cast<long long>(position) + lengthChange;
        return static_cast<LPARAM>(std::clamp<long long>(shifted, 0, static_cast<long long>(text.size())));
    };
    SendDlgItemMessage(kServerEdit, EM_SETSEL, static_cast<WPARAM>(moved(start)), moved(end));
    SendDlgItemMessage(kServerEdit, EM_SCROLLCARET);
}

void CSntpPage::ShowDnsWarning()
{
    if (m_bDnsWarningShown || !IsIconShown())
        return;
    ShowServerBalloon(kDnsWarningTitle, kDnsWarningText, kWarningIcon);
    m_bDnsWarningShown = true;
}

bool CSntpPage::IsIconShown() const
{
    const CWnd* icon = GetDlgItem(kDnsWarningIcon);
    return icon != nullptr && (icon->GetStyle() & WS_VISIBLE) != 0;
}

void CSntpPage::ShowServerBalloon(const CString& title, const CString& text, UINT icon)
{
    if (!IsLive())
        return;
    CWnd* field = GetDlgItem(kServerEdit);
    ZELLBalloonMsg(title.GetString(), text.GetString(), field ? field->GetSafeHwnd() : nullptr, m_hWnd,
                   AfxGetInstanceHandle(), icon, TRUE, 0, nullptr, TRUE);
}

void CSntpPage::CloseServerBalloon()
{
    DestroyZELLBalloonMsg();
}

void CSntpPage::EnableControls(int)
{
    for (int id : kClientControls)
        GetDlgItem(id)->EnableWindow(m_Codec.SntpOn);
}

BOOL CSntpPage::OnInitDialog()
{
    CTextedSettingsPage::OnInitDialog();
    SendDlgItemMessage(kDnsWarningIcon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)));
    return TRUE;
}

void CSntpPage::ApplyTexts()
{
    SetDlgItemText(kSntpBox, Text(L"LBL_CHECK_SNTP"));
    SetDlgItemText(kCurrentServerLabel, Text(L"LBL_SNTP_SERVER_ACTUAL"));
    SetDlgItemText(kServerLabel, Text(L"LBL_SNTP_SERVER"));
    SetDlgItemText(kIntervalLabel, Text(L"LBL_SNTP_CLIENT_INTERVAL"));
    SetDlgItemText(kTimeoutLabel, Text(L"LBL_SNTP_CLIENT_TIMEOUT"));
    for (int id : kClientControls)
        GetDlgItem(id)->SetFont(&GetPageFont());
    GetDlgItem(kSntpBox)->SetFont(&GetPageFont());
    AddTooltip(kSntpBox, L"LBL_CHECK_SNTP", L"TT_CHECK_SNTP_HDR");
    AddTooltip(kServerEdit, L"TT_SNTP_SERVER_BODY", L"TT_SNTP_SERVER_HDR");
    AddTooltip(kIntervalEdit, L"TT_SNTP_CLIENT_INTERVAL_BODY", L"TT_SNTP_CLIENT_INTERVAL_HDR");
    AddTooltip(kTimeoutEdit, L"TT_SNTP_CLIENT_TIMEOUT_BODY", L"TT_SNTP_CLIENT_TIMEOUT_HDR");
}

void CSntpPage::OnSntpClicked()
{
    ApplyView();
    EnableControls(TRUE);
    NotifySettingsChanged(TRUE);
}

void CSntpPage::OnNumberChanged(UINT id)
{
    CheckWhileTyping(m_Codec.RangeChecks(), id);
    NotifySettingsChanged(TRUE);
}

void CSntpPage::OnServerChanged()
{
    if (m_bUpdating)
        return;
    const CString text = ServerFieldText();
    if (ApplyServerCheck(m_Codec.CheckServerText(text.str(), true)))
        NotifySettingsChanged(TRUE);
}

void CSntpPage::OnMouseMove(UINT, CPoint point)
{
    CRect icon;
    GetDlgItem(kDnsWarningIcon)->GetWindowRect(&icon);
    ScreenToClient(&icon);
    if (IsIconShown() && icon.PtInRect(point)) {
        ShowDnsWarning();
    } else if (m_bDnsWarningShown) {
        CloseServerBalloon();
        m_bDnsWarningShown = false;
    }
}

}  // namespace Corvane
