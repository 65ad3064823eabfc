#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include "Common/Application/ZellWinApp.h"
#include "Common/Communication/ConnectionBase.h"
#include "Common/Skin/Support/ThemeHelper.h"
#include "Common/PelorusDLL/ServiceBase.h"
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

#include <algorithm>
#include <string>

namespace Corvane {

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
    m_strGroupLabelFormat = app ? app->m_labelFormat : CString(L"    %s");
    // Asked once: the answer comes from a library loaded for the question.
    m_bThemed = IsApplicationThemed();
    m_clrBackgroundColour = m_bThemed ? RGB(255, 255, 255) : ::GetSysColor(COLOR_BTNFACE);
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
    if (!m_bActive || ArePagesSuspended())
        return FALSE;
    m_bUpdating = true;
    const BOOL result = UpdateData(FALSE);
    ShowDeviceControls(SW_SHOW);
    EnableControls(1);
    ShowValues();
    m_bUpdating = false;
    return result;
}

BOOL CCouplerSettingsPageBase::ApplyView()
{
    if (!m_bActive || ArePagesSuspended())
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
    if (m_bUpdating || !m_bActive || ArePagesSuspended())
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
    m_bTextsPending = !m_bActive;
    return m_bTextsPending;
}

void CCouplerSettingsPageBase::HideTooltip() { m_Tooltip.Hide(); }

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

bool CCouplerSettingsPageBase::IsConnectionPrepared() { return m_bConnectionPrepared; }

void CCouplerSettingsPageBase::EnableAllChildren(BOOL enable)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ::EnableWindow(child, enable);
}

std::wstring CCouplerSettingsPageBase::GetPageKey() { return m_strPageKey.GetString(); }

void CCouplerSettingsPageBase::SetTitle(const CString& title) { m_strTitle = title; }

// --- what the main dialog hands over ------------------------------------------

void CCouplerSettingsPageBase::AttachDeviceData(WORD* block, unsigned length, int wideFormat, int controller)
{
    m_pDeviceBlock = block;
    m_dwDeviceBlockLength = block ? length : 0;
    SetDeviceKind(wideFormat, controller);
    LoadFromDeviceData();
}

void CCouplerSettingsPageBase::DetachData()
{
    m_pDeviceBlock = nullptr;
    m_dwDeviceBlockLength = 0;
    m_pExtraBlock = nullptr;
    m_dwExtraBlockLength = 0;
}

void CCouplerSettingsPageBase::AttachExtraData(WORD* block, unsigned length, int wideFormat, int controller)
{
    m_pExtraBlock = block;
    m_dwExtraBlockLength = block ? length : 0;
    SetDeviceKind(wideFormat, controller);
    OnExtraDataAttached();
}

// A page taken out of the sheet goes without a kill-active: it is not the
// shown page any more, and a language switch must not text its dead controls.
// Its tips are top-level windows of the main window: they go with the page
// rather than stay over the page that replaced it.
void CCouplerSettingsPageBase::OnDestroy()
{
    m_bActive = FALSE;
    m_Tooltip.Destroy();
    CPropertyPage::OnDestroy();
}

void CCouplerSettingsPageBase::SetDeviceKind(int wideFormat, int controller)
{
    m_nWideFormat = wideFormat;
    m_nController = controller;
}

void CCouplerSettingsPageBase::SetConnection(ZELL::CConnectionBase* connection, CServiceBase* service)
{
    m_pConnection = connection;
    m_pService = service;
    if (m_pConnection)
        m_strSavedConnectionSettings = m_pConnection->GetSettingsXML();
}

bool CCouplerSettingsPageBase::StoreIfDataPresent()
{
    m_strRefusedField.Empty();
    if (!m_nInSheet || !HasDeviceBlock())
        return true;
    return StoreToDeviceData();
}

void CCouplerSettingsPageBase::SetPageTitle(const CString& title)
{
    if (title.IsEmpty())
        return;
    m_strSheetTitle = title;
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_strSheetTitle.GetString();
}

// --- activation ------------------------------------------------------------------

BOOL CCouplerSettingsPageBase::OnSetActive()
{
    if (!m_nInSheet)
        return FALSE;
    m_bActive = CPropertyPage::OnSetActive();
    if (m_bTextsPending)
        UpdateLanguageTexts();
    if (HasDeviceBlock())
        AttachDeviceData(m_pDeviceBlock, m_dwDeviceBlockLength, m_nWideFormat, m_nController);
    RefreshView();
    // The values come from the device: a page is entered without balloons.
    m_bUpdating = true;
    ValidateAll();
    m_bUpdating = false;
    return m_bActive;
}

BOOL CCouplerSettingsPageBase::OnKillActive()
{
    if (!ValidateAll())
        return FALSE;
    if (m_bStoreOnLeave) {
        ApplyView();
        // A page whose values do not go into the block stays, so the user
        // can mend them instead of losing them.
        if (HasDeviceBlock() && !StoreIfDataPresent())
            return FALSE;
    }
    m_bActive = FALSE;
    HideTooltip();
    CloseBalloon();
    return CPropertyPage::OnKillActive();
}

BOOL CCouplerSettingsPageBase::PreTranslateMessage(MSG* msg)
{
    if (m_Tooltip.RelayEvent(msg))
        return TRUE;
    if (msg->message == WM_KEYDOWN &&
        SendToMainWindow(Messages().EvaluateShortcuts, LOWORD(msg->wParam), 0) != 0)
        return TRUE;
    return CPropertyPage::PreTranslateMessage(msg);
}

// --- look --------------------------------------------------------------------------

BOOL CCouplerSettingsPageBase::OnInitDialog()
{
    m_BackgroundBrush.DeleteObject();
    m_BackgroundBrush.CreateSolidBrush(RGB(255, 255, 255));
    CDialog::OnInitDialog();
    m_Tooltip.Create(this, FALSE);
    return TRUE;
}

HBRUSH CCouplerSettingsPageBase::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (!m_bThemed)
        return CPropertyPage::OnCtlColor(dc, wnd, ctlColor);
    return static_cast<HBRUSH>(m_BackgroundBrush.GetSafeHandle());
}

BOOL CCouplerSettingsPageBase::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_hPageCursor == nullptr)
        return CPropertyPage::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(m_hPageCursor);
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
    if (font == nullptr || ::GetObjectW(font, sizeof(m_PageLogFont), &m_PageLogFont) == 0) {
        ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof(m_PageLogFont), &m_PageLogFont);
        NONCLIENTMETRICSW metrics{};
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
            m_PageLogFont = metrics.lfMessageFont;
    }
    if (s_defaultFontGiven)
        m_PageLogFont = s_defaultFont;
    m_PageFont.DeleteObject();
    m_PageFont.CreateFontIndirect(&m_PageLogFont);
}

void CCouplerSettingsPageBase::AddTooltip(UINT ctrlId, LPCWSTR bodyKey, LPCWSTR headerKey)
{
    m_Tooltip.AddTool(this, static_cast<int>(ctrlId), Text(bodyKey).GetString(), Text(headerKey).GetString(), {});
    m_Tooltip.SetMaxWidth(0);
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
    m_hPageCursor = busy ? ::LoadCursorW(nullptr, IDC_HAND) : nullptr;
    SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CCouplerSettingsPageBase::FocusAddressField(UINT ctrlId, int field)
{
    SendDlgItemMessage(static_cast<int>(ctrlId), IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
}

// --- the connection -------------------------------------------------------------

void CCouplerSettingsPageBase::PrepareConnection(bool open)
{
    m_bConnectionPrepared = open;
    if (open)
        m_bConnectionPrepared = EnsureConnectionOpen();
    else
        FinishConnection();
    Pause(kSettlePauseMs);
}

bool CCouplerSettingsPageBase::EnsureConnectionOpen()
{
    if (m_pConnection == nullptr)
        return false;
    try {
        if (m_pConnection->IsOpen())
            return true;
        ReportConnectionState(kConnectionOpening);
        Pause(kOpeningPauseMs);
        m_strSavedConnectionSettings = m_pConnection->GetSettingsXML();
        const CString shortTimeout(FormatW(L"<?xml version='1.0'?> <%s timeout='%u'/>",
                                           m_pConnection->GetType().c_str(), kPageTimeoutMs)
                                       .c_str());
        m_pConnection->SetSettingsXML(shortTimeout.GetString());
        // Whether it opened shows in the page's first call.
        m_pConnection->Open();
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
    if (m_pConnection == nullptr)
        return;
    try {
        m_pConnection->Close();
    } catch (...) {
        // The user's settings go back whether or not the line closed cleanly.
    }
    m_pConnection->SetSettingsXML(m_strSavedConnectionSettings);
    ReportConnectionState(kConnectionClosed);
}

bool CCouplerSettingsPageBase::IsTCPIPConnection() const
{
    return m_pConnection != nullptr && m_pConnection->IsNetworkConnection();
}

bool CCouplerSettingsPageBase::HasSeveralPorts() const
{
    return m_pDeviceData != nullptr && m_pDeviceData->GetEthernetPortCount() > 1;
}

// The device needs the pause, the screen does not: what the command changed
// before it (the busy indicator, the connection icon, the page's text) is
// painted meanwhile. Only paints are handled, so no input or timer runs a
// command in between.
void CCouplerSettingsPageBase::Pause(DWORD milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&message);
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return;
        ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(end - now, kPaintPollMs)));
    }
}

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
    if (m_bUpdating)
        return true;
    if (!m_bActive || ArePagesSuspended()) {
        const bool inside = value != nullptr && *value >= min && *value <= max;
        if (!inside)
            NoteRefusedField(Text(headerKey));
        return inside;
    }
    int number = 0;
    if (ReadFieldNumber(ctrlId, mode, number) && number >= min && number <= max)
        return true;
    NoteRefusedField(Text(headerKey));
    // The field takes the focus first: the balloon closes when its page
    // loses the focus, which it may hold itself. A field the user is typing
    // in keeps its text and caret: selecting it would let the next key
    // replace all that was typed.
    if (!m_bTyping)
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
    const bool wasTyping = m_bTyping;
    m_bTyping = true;
    bool passed = true;
    for (const CFieldRange& check : checks) {
        if ((id == 0 || check.ControlId == id) && !CheckRange(check)) {
            passed = false;
            break;
        }
    }
    m_bTyping = wasTyping;
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
    if (m_bUpdating)
        return true;
    const bool live = m_bActive && !ArePagesSuspended();
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
    NoteRefusedField(LoadResourceString(nameStringId));
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

}  // namespace Corvane
