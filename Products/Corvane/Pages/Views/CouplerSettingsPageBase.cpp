#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include "Common/Application/ZellWinApp.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/Controls/Support/ThemeHelper.h"
#include "Common/PelorusDLL/TCPIPServiceBase.h"
#include "Common/SystemHelper/Values/Conversions.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Clock.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Framework/Drawing/ClientDC.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/SystemMetrics.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/PageNumberField.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <string>

using namespace ZELL::Skin;

IMPLEMENT_DYNCREATE(CCouplerSettingsPageBase, CPropertyPage)

BEGIN_MESSAGE_MAP(CCouplerSettingsPageBase, CPropertyPage)
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

LOGFONTW CCouplerSettingsPageBase::s_defaultFont{};
bool CCouplerSettingsPageBase::s_defaultFontGiven = false;
std::vector<std::wstring> CCouplerSettingsPageBase::s_invalidAddresses;
int CCouplerSettingsPageBase::s_pagesSuspended = 1;

namespace {

const CWorkerMessages& Messages() { return CWorkerMessages::Get(); }

bool IsApplicationThemed()
{
    CThemeHelper theme;
    return theme.IsAppThemed() != FALSE;
}

bool IsHexMode(int mode) { return mode == 1 || mode == 2; }

}

CCouplerSettingsPageBase::CCouplerSettingsPageBase() { InitMembers(); }

CCouplerSettingsPageBase::CCouplerSettingsPageBase(UINT templateId, UINT captionId)
    : CPropertyPage(templateId, captionId)
{
    InitMembers();
}

CCouplerSettingsPageBase::CCouplerSettingsPageBase(LPCWSTR templateName, UINT captionId)
    : CPropertyPage(templateName, captionId)
{
    InitMembers();
}

CCouplerSettingsPageBase::~CCouplerSettingsPageBase() = default;

void CCouplerSettingsPageBase::InitMembers()
{
    const auto* app = dynamic_cast<const CZellWinApp*>(AfxGetApp());
    m_groupLabelFormat = app ? app->m_labelFormat : CString(L"    %s");
    // Asked once: the answer comes from a library loaded for the question.
    m_themed = IsApplicationThemed();
    m_backgroundColour = m_themed ? RGB(255, 255, 255) : ::GetSysColor(COLOR_BTNFACE);
    // A page made while the dialog fills its pages waits until it is done.
    s_pagesSuspended = 1;
}

// --- the operations pages override ---------------------------------------------

void CCouplerSettingsPageBase::ShowDeviceControls(int) {}
void CCouplerSettingsPageBase::EnableControls(int) {}
void CCouplerSettingsPageBase::OnExtraDataAttached() {}
void CCouplerSettingsPageBase::ReservedHook() {}
void CCouplerSettingsPageBase::LoadFromDeviceData() {}
bool CCouplerSettingsPageBase::StoreToDeviceData() { return true; }
bool CCouplerSettingsPageBase::ShowValues() { return true; }
bool CCouplerSettingsPageBase::ReadValues() { return true; }

BOOL CCouplerSettingsPageBase::RefreshView()
{
    if (!m_active || ArePagesSuspended())
        return FALSE;
    m_updating = true;
    const BOOL result = UpdateData(FALSE);
    ShowDeviceControls(SW_SHOW);
    EnableControls(1);
    ShowValues();
    m_updating = false;
    return result;
}

BOOL CCouplerSettingsPageBase::ApplyView()
{
    if (!m_active || ArePagesSuspended())
        return FALSE;
    const BOOL result = UpdateData(TRUE);
    ShowDeviceControls(SW_SHOW);
    EnableControls(1);
    ReadValues();
    return result;
}

bool CCouplerSettingsPageBase::ValidateAll() { return true; }

void CCouplerSettingsPageBase::NotifySettingsChanged(WPARAM wParam)
{
    if (m_updating || !m_active || ArePagesSuspended())
        return;
    SendToMainWindow(Messages().FbcSettingsChanged, wParam, 0);
}

BOOL CCouplerSettingsPageBase::IsModified()
{
    return static_cast<BOOL>(SendToMainWindow(Messages().IsModified));
}

bool CCouplerSettingsPageBase::IsOfflineConfig() { return SendToMainWindow(Messages().IsOfflineConfig) != 0; }

BOOL CCouplerSettingsPageBase::IsPageInList(LPCWSTR pageKey)
{
    return static_cast<BOOL>(SendToMainWindow(Messages().IsPageInList, 0, reinterpret_cast<LPARAM>(pageKey)));
}

BOOL CCouplerSettingsPageBase::UpdateLanguageTexts()
{
    m_textsPending = !m_active;
    return m_textsPending;
}

void CCouplerSettingsPageBase::HideTooltip() { m_tooltip.Hide(); }

void CCouplerSettingsPageBase::ShowState(int state, UINT stringId)
{
    const CString text = LoadResourceString(stringId);
    BeginWaitState(state, text);
}

void CCouplerSettingsPageBase::BeginWaitState(int state, LPCWSTR)
{
    if (state == 1)
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

bool CCouplerSettingsPageBase::IsConnectionPrepared() { return m_connectionPrepared; }

void CCouplerSettingsPageBase::EnableAllChildren(BOOL enable)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ::EnableWindow(child, enable);
}

std::wstring CCouplerSettingsPageBase::GetPageKey() { return m_pageKey.GetString(); }

void CCouplerSettingsPageBase::SetTitle(const CString& title) { m_title = title; }

// --- what the main dialog hands over ------------------------------------------

void CCouplerSettingsPageBase::AttachDeviceData(WORD* block, unsigned length, int wideFormat, int controller)
{
    m_deviceBlock = block;
    m_deviceBlockLength = block ? length : 0;
    SetDeviceKind(wideFormat, controller);
    LoadFromDeviceData();
}

void CCouplerSettingsPageBase::DetachData()
{
    m_deviceBlock = nullptr;
    m_deviceBlockLength = 0;
    m_extraBlock = nullptr;
    m_extraBlockLength = 0;
}

void CCouplerSettingsPageBase::AttachExtraData(WORD* block, unsigned length, int wideFormat, int controller)
{
    m_extraBlock = block;
    m_extraBlockLength = block ? length : 0;
    SetDeviceKind(wideFormat, controller);
    OnExtraDataAttached();
}

// A page taken out of the sheet goes without a kill-active: it is not the
// shown page any more, and a language switch must not text its dead controls.
void CCouplerSettingsPageBase::OnDestroy()
{
    m_active = FALSE;
    CPropertyPage::OnDestroy();
}

void CCouplerSettingsPageBase::SetDeviceKind(int wideFormat, int controller)
{
    m_wideFormat = wideFormat;
    m_controller = controller;
}

void CCouplerSettingsPageBase::SetConnection(ZELL::CConnectionBase* connection, CServiceBase* service)
{
    m_connection = connection;
    m_service = service;
    if (m_connection)
        m_savedConnectionSettings = m_connection->GetSettingsXML();
}

bool CCouplerSettingsPageBase::StoreIfDataPresent()
{
    if (!m_inSheet || !HasDeviceBlock())
        return true;
    return StoreToDeviceData();
}

void CCouplerSettingsPageBase::SetPageTitle(const CString& title)
{
    if (title.IsEmpty())
        return;
    m_sheetTitle = title;
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_sheetTitle.GetString();
}

// --- activation ------------------------------------------------------------------

BOOL CCouplerSettingsPageBase::OnSetActive()
{
    if (!m_inSheet)
        return FALSE;
    m_active = CPropertyPage::OnSetActive();
    if (m_textsPending)
        UpdateLanguageTexts();
    if (HasDeviceBlock())
        AttachDeviceData(m_deviceBlock, m_deviceBlockLength, m_wideFormat, m_controller);
    RefreshView();
    // The values come from the device: a page is entered without balloons.
    m_updating = true;
    ValidateAll();
    m_updating = false;
    return m_active;
}

BOOL CCouplerSettingsPageBase::OnKillActive()
{
    if (!ValidateAll())
        return FALSE;
    if (m_storeOnLeave) {
        ApplyView();
        // A page whose values do not go into the block stays, so the user
        // can mend them instead of losing them.
        if (HasDeviceBlock() && !StoreIfDataPresent())
            return FALSE;
    }
    m_active = FALSE;
    HideTooltip();
    CloseBalloon();
    return CPropertyPage::OnKillActive();
}

BOOL CCouplerSettingsPageBase::PreTranslateMessage(MSG* msg)
{
    if (m_tooltip.RelayEvent(msg))
        return TRUE;
    if (msg->message == WM_KEYDOWN &&
        SendToMainWindow(Messages().EvaluateShortcuts, LOWORD(msg->wParam), 0) != 0)
        return TRUE;
    return CPropertyPage::PreTranslateMessage(msg);
}

// --- look --------------------------------------------------------------------------

BOOL CCouplerSettingsPageBase::OnInitDialog()
{
    m_backgroundBrush.DeleteObject();
    m_backgroundBrush.CreateSolidBrush(RGB(255, 255, 255));
    CDialog::OnInitDialog();
    m_tooltip.Create(this, FALSE);
    return TRUE;
}

HBRUSH CCouplerSettingsPageBase::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (!m_themed)
        return CPropertyPage::OnCtlColor(dc, wnd, ctlColor);
    return static_cast<HBRUSH>(m_backgroundBrush.GetSafeHandle());
}

BOOL CCouplerSettingsPageBase::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_pageCursor == nullptr)
        return CPropertyPage::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(m_pageCursor);
    return TRUE;
}

void CCouplerSettingsPageBase::PreSubclassWindow()
{
    CPropertyPage::PreSubclassWindow();
    TakePageFont();
}

void CCouplerSettingsPageBase::TakePageFont()
{
    CWnd* source = MainWindow();
    if (source == nullptr)
        source = GetParent();
    if (source == nullptr)
        source = this;
    const auto font = reinterpret_cast<HFONT>(source->SendMessage(WM_GETFONT));
    if (font == nullptr || ::GetObjectW(font, sizeof(m_pageLogFont), &m_pageLogFont) == 0) {
        ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof(m_pageLogFont), &m_pageLogFont);
        NONCLIENTMETRICSW metrics{};
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
            m_pageLogFont = metrics.lfMessageFont;
    }
    if (s_defaultFontGiven)
        m_pageLogFont = s_defaultFont;
    m_pageFont.DeleteObject();
    m_pageFont.CreateFontIndirect(&m_pageLogFont);
}

void CCouplerSettingsPageBase::AddTooltip(UINT ctrlId, LPCWSTR bodyKey, LPCWSTR headerKey)
{
    m_tooltip.AddTool(this, static_cast<int>(ctrlId), Text(bodyKey).GetString(), Text(headerKey).GetString(), {});
    m_tooltip.SetMaxWidth(0);
}

void CCouplerSettingsPageBase::ShowControl(int id, bool shown)
{
    if (CWnd* control = GetDlgItem(id)) {
        control->ShowWindow(shown ? SW_SHOW : SW_HIDE);
        control->EnableWindow(shown);
    }
}

void CCouplerSettingsPageBase::FitStaticToText(CWnd* ctrl, const CString& text, CFont* font)
{
    if (ctrl == nullptr || ctrl->GetSafeHwnd() == nullptr)
        return;
    CRect extent(0, 0, 0, 0);
    {
        CClientDC dc(ctrl->GetSafeHwnd());
        CFont* previous = font ? dc.SelectObject(font) : nullptr;
        dc.DrawText(text, &extent, DT_CALCRECT);
        if (previous)
            dc.SelectObject(previous);
    }
    CRect place;
    ctrl->GetWindowRect(&place);
    if (CWnd* parent = ctrl->GetParent())
        parent->ScreenToClient(&place);
    const int centre = place.top + place.Height() / 2;
    const int height = extent.Height();
    ctrl->MoveWindow(place.left, centre - height / 2, extent.Width() + 4, height);
}

void CCouplerSettingsPageBase::SetPageCursor(bool busy)
{
    m_pageCursor = busy ? ::LoadCursorW(nullptr, IDC_HAND) : nullptr;
    SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CCouplerSettingsPageBase::FocusAddressField(UINT ctrlId, int field)
{
    SendDlgItemMessage(static_cast<int>(ctrlId), IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
}

// --- the connection -------------------------------------------------------------

void CCouplerSettingsPageBase::PrepareConnection(bool open)
{
    m_connectionPrepared = open;
    if (open)
        m_connectionPrepared = EnsureConnectionOpen();
    else
        FinishConnection();
    Pause(kSettlePauseMs);
}

bool CCouplerSettingsPageBase::EnsureConnectionOpen()
{
    if (m_connection == nullptr)
        return false;
    try {
        if (m_connection->IsOpen())
            return true;
        ReportConnectionState(kConnectionOpening);
        Pause(kOpeningPauseMs);
        m_savedConnectionSettings = m_connection->GetSettingsXML();
        const CString shortTimeout(FormatW(L"<?xml version='1.0'?> <%s timeout='%u'/>",
                                           m_connection->GetType().c_str(), kPageTimeoutMs)
                                       .c_str());
        m_connection->SetSettingsXML(shortTimeout.GetString());
        // Whether it opened shows in the page's first call.
        m_connection->Open();
        ReportConnectionState(kConnectionOpen);
        return true;
    } catch (...) {
        // Whatever the connection throws, the page only learns it failed.
        ReportConnectionState(kConnectionFailed);
        return false;
    }
}

void CCouplerSettingsPageBase::FinishConnection()
{
    if (m_connection == nullptr)
        return;
    try {
        m_connection->Close();
    } catch (...) {
        // The user's settings go back whether or not the line closed cleanly.
    }
    m_connection->SetSettingsXML(m_savedConnectionSettings);
    ReportConnectionState(kConnectionClosed);
}

CTCPIPServiceBase* CCouplerSettingsPageBase::GetTcpIpService() const
{
    return dynamic_cast<CTCPIPServiceBase*>(m_service);
}

bool CCouplerSettingsPageBase::IsTCPIPConnection() const
{
    return dynamic_cast<ZELL::CTCPIPConnection*>(m_connection) != nullptr;
}

bool CCouplerSettingsPageBase::HasSeveralPorts() const
{
    return m_deviceData != nullptr && m_deviceData->GetEthernetPortCount() > 1;
}

void CCouplerSettingsPageBase::Pause(DWORD milliseconds) { ::Sleep(milliseconds); }

// --- messages to the main window -------------------------------------------------

CWnd* CCouplerSettingsPageBase::MainWindow()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

LRESULT CCouplerSettingsPageBase::SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) const
{
    CWnd* main = MainWindow();
    return ::SendMessageW(main ? main->GetSafeHwnd() : nullptr, message, wParam, lParam);
}

bool CCouplerSettingsPageBase::ReportConnectionState(WPARAM state)
{
    return SendToMainWindow(Messages().ShowConnectionState, state, 0) != 0;
}

bool CCouplerSettingsPageBase::RequestReadSettings() { return SendToMainWindow(Messages().ReadSettings) != 0; }
bool CCouplerSettingsPageBase::RequestWriteSettings() { return SendToMainWindow(Messages().WriteSettings) != 0; }
bool CCouplerSettingsPageBase::RequestSoftwareReset() { return SendToMainWindow(Messages().SoftwareReset) != 0; }

// --- range checks ------------------------------------------------------------------

bool CCouplerSettingsPageBase::ReadFieldNumber(UINT ctrlId, int mode, int& number) const
{
    CString text;
    GetDlgItemText(static_cast<int>(ctrlId), text);
    if (CPageNumberField::Parse(text, IsHexMode(mode), number))
        return true;
    // A field the user has just begun with "0x" holds nothing yet.
    number = 0;
    return text == L"0x";
}

void CCouplerSettingsPageBase::FocusAndSelect(UINT ctrlId)
{
    CWnd* field = GetDlgItem(static_cast<int>(ctrlId));
    if (field == nullptr)
        return;
    field->SetFocus();
    field->SendMessage(EM_SETSEL, 0, -1);
    field->SendMessage(EM_SCROLLCARET);
}

bool CCouplerSettingsPageBase::CheckRange(UINT ctrlId, LPCWSTR headerKey, int mode, const int* value, int min, int max)
{
    if (m_updating)
        return true;
    if (!m_active || ArePagesSuspended())
        return value != nullptr && *value >= min && *value <= max;
    int number = 0;
    if (ReadFieldNumber(ctrlId, mode, number) && number >= min && number <= max)
        return true;
    // The field takes the focus first: the balloon closes when its page
    // loses the focus, which it may hold itself. A field the user is typing
    // in keeps its text and caret: selecting it would let the next key
    // replace all that was typed.
    if (!m_typing)
        FocusAndSelect(ctrlId);
    ShowRangeBalloon(ctrlId, headerKey, min, max, mode);
    return false;
}

bool CCouplerSettingsPageBase::CheckRange(const CFieldRange& check)
{
    return CheckRange(check.ControlId, check.TitleKey, check.Mode, &check.Value, check.Min, check.Max);
}

bool CCouplerSettingsPageBase::CheckRanges(const std::vector<CFieldRange>& checks)
{
    for (const CFieldRange& check : checks)
        if (!CheckRange(check))
            return false;
    return true;
}

bool CCouplerSettingsPageBase::CheckWhileTyping(const std::vector<CFieldRange>& checks, UINT id)
{
    const bool wasTyping = m_typing;
    m_typing = true;
    bool passed = true;
    for (const CFieldRange& check : checks) {
        if ((id == 0 || check.ControlId == id) && !CheckRange(check)) {
            passed = false;
            break;
        }
    }
    m_typing = wasTyping;
    return passed;
}

void CCouplerSettingsPageBase::ShowRangeBalloon(UINT ctrlId, LPCWSTR titleKey, int min, int max, int mode)
{
    ShowRangeBalloonTitled(ctrlId, Text(titleKey), min, max, mode);
}

void CCouplerSettingsPageBase::ShowRangeBalloonTitled(UINT ctrlId, const CString& title, int min, int max, int mode)
{
    // A translation is a format the program does not control: the checked
    // formatter renders a mismatched one harmlessly.
    CString text;
    text.Format(Text(mode < 3 ? L"ERROR_OUT_OF_RANGE_HEX" : L"ERROR_OUT_OF_RANGE_DEZ").GetString(), min, max);
    ShowBalloon(title, text, ctrlId);
}

bool CCouplerSettingsPageBase::CheckIPAddressRange(UINT ctrlId, UINT nameStringId, const BYTE address[4],
                                                   const int ranges[8])
{
    if (m_updating)
        return true;
    const bool live = m_active && !ArePagesSuspended();
    if (live)
        ApplyView();
    int failing = -1;
    for (int octet = 0; octet < 4; ++octet) {
        const int value = address[3 - octet];
        if (value < ranges[2 * octet] || value > ranges[2 * octet + 1])
            failing = octet;
    }
    if (failing < 0)
        return true;
    if (live) {
        CString title;
        title.Format(LoadResourceString(kInvalidAddressFieldTitleId).GetString(),
                     LoadResourceString(nameStringId).GetString(), failing);
        FocusAddressField(ctrlId, failing);
        ShowRangeBalloonTitled(ctrlId, title, ranges[2 * failing], ranges[2 * failing + 1], kDecimalWording);
    }
    return false;
}

bool CCouplerSettingsPageBase::IsValidNumberText(UINT ctrlId, int type)
{
    CString text;
    GetDlgItemText(static_cast<int>(ctrlId), text);
    return IsValidNumberText(std::wstring(text.GetString()), type);
}

bool CCouplerSettingsPageBase::IsValidNumberText(const std::wstring& text, int type)
{
    if (text.empty())
        return false;
    const bool hex = type == kHex16 || type == kHex32;
    const std::size_t digits = type == kHex16 ? 4 : 8;
    const bool prefixed = text.size() >= 2 && text[0] == L'0' && text[1] == L'x';
    if (hex && !prefixed && text.size() > digits)
        return false;
    if (hex && text.size() > digits + 2)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool decimal = c >= L'0' && c <= L'9';
        if (hex) {
            const bool hexDigit = decimal || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
            if (!hexDigit && !(c == L'x' && i == 1 && text[0] == L'0'))
                return false;
        } else if (!decimal && !(type == kSignedDecimal && i == 0 && (c == L'+' || c == L'-'))) {
            return false;
        }
    }
    return true;
}

CString CCouplerSettingsPageBase::BuildInvalidAddressMessage(int kind) const
{
    if (kind == kInvalidSubnetMask)
        return Text(L"MSG_INVALID_SUBNET_MASK");
    CString message = Text(L"MSG_INVALID_IP_ADDRESS");
    if (kind != kInvalidAddressList)
        return message;
    message += L"\n\n";
    message += Text(L"TXT_INVALID_ADDRESSES");
    for (const std::wstring& address : s_invalidAddresses) {
        message += L"\n- ";
        message += address.c_str();
    }
    return message;
}

bool CCouplerSettingsPageBase::IsAddressAllowed(const std::wstring& address)
{
    for (const std::wstring& invalid : s_invalidAddresses)
        if (invalid == address)
            return false;
    return true;
}

// --- balloons ----------------------------------------------------------------------

void CCouplerSettingsPageBase::ShowBalloon(const CString& title, const CString& text, UINT ctrlId)
{
    CWnd* field = GetDlgItem(static_cast<int>(ctrlId));
    ZELLBalloonMsg(title.GetString(), text.GetString(), field ? field->GetSafeHwnd() : nullptr, m_hWnd,
                   AfxGetInstanceHandle(), kRangeBalloonIcon, FALSE, 0, nullptr, TRUE);
}

void CCouplerSettingsPageBase::CloseBalloon() { DestroyZELLBalloonMsg(); }

// --- class-wide --------------------------------------------------------------------

void CCouplerSettingsPageBase::LoadInvalidIPAddresses(const CDeviceCapabilityFile& capabilities)
{
    s_invalidAddresses.clear();
    for (const CString& address : capabilities.GetInvalidIPAddresses())
        s_invalidAddresses.emplace_back(address.GetString());
}

void CCouplerSettingsPageBase::SetDefaultFont(const LOGFONTW& font)
{
    s_defaultFont = font;
    s_defaultFontGiven = true;
}

CString CCouplerSettingsPageBase::Text(LPCWSTR key) { return GetLanguageText(key); }

CString CCouplerSettingsPageBase::LoadResourceString(UINT id)
{
    if (id == 0)
        return CString();
    wchar_t buffer[512] = {};
    if (::LoadStringW(AfxGetResourceHandle(), id, buffer, 512) <= 0)
        return CString();
    return CString(buffer);
}
