#include "Common/PelorusDLL/Dialogs/CommunicationSettingsDlg.h"

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Dialogs/DialogControls.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormRS232.h"
#include "Common/PelorusDLL/Dialogs/SettingsFormTCPIP.h"
#include "Common/PelorusDLL/Dialogs/SocketsScope.h"
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/PelorusDLL/SIOService.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Format.h"
#include "Platform/Framework/App/WaitCursor.h"

using namespace PelorusIds;

namespace {

std::unique_ptr<ZELL::CConnectionBase> NewConnection(int type)
{
    if (type == CCommunicationSettingsDlg::kTcpIp)
        return std::make_unique<ZELL::CTCPIPConnection>();
    return std::make_unique<ZELL::CRS232Connection>();
}

// A stored time-out of less than a whole second is shown as the default.
void RepairTimeouts(ZELL::CConnectionBase& connection)
{
    if (connection.GetCommunicationTimeout() == 0)
        connection.SetCommunicationTimeout(15);
    if (connection.GetRestartTimeout() == 0)
        connection.SetRestartTimeout(15);
}

}

BEGIN_MESSAGE_MAP(CCommunicationSettingsDlg, CDialog)
    ON_CBN_SELCHANGE(kConnectionList, OnConnectionChanged)
    ON_BN_CLICKED(kDefault, OnDefault)
    ON_BN_CLICKED(kTest, OnTest)
END_MESSAGE_MAP()

const wchar_t* CCommunicationSettingsDlg::TypeWord(int type)
{
    if (type == kTcpIp)
        return L"TCPIP";
    return type == kTramq ? L"TRAMQ" : L"RS232";
}

CCommunicationSettingsDlg::CCommunicationSettingsDlg(ZELL::CConnectionBase** connection, CWnd* parent)
    : CDialog(kSettingsDialog, parent), m_connectionSlot(connection)
{
    CDialogControls::Register();
    if (connection == nullptr)
        throw std::wstring(L"Invalid pointer m_ppConnection");
    if (*connection == nullptr)
        throw std::wstring(L"Invalid pointer value *m_ppConnection");
    (*connection)->GetStorageProperties(m_storageName, m_storageType);
    const CString selection = GetLanguageText(L"CONNECTION_SELECTION");
    m_choiceShown = selection.Left(2) == L"##" || selection == L"ALL";
    if (m_choiceShown)
        m_type = dynamic_cast<ZELL::CTCPIPConnection*>(*connection) ? kTcpIp : kSerial;
    else
        FixChoice(selection.GetString());
    m_startType = m_type;
    ReadStoredTexts();
    (*m_connectionSlot)->SetSettingsXML(m_type == kTcpIp ? m_tcpipText : (m_type == kTramq ? m_tramqText : m_serialText));
}

CCommunicationSettingsDlg::~CCommunicationSettingsDlg() = default;

void CCommunicationSettingsDlg::FixChoice(const std::wstring&)
{
    // Any fixed choice is the serial line (the only one with a form of its own
    // besides TCP/IP that the gateway would use).
    m_type = kSerial;
    if (dynamic_cast<ZELL::CRS232Connection*>(*m_connectionSlot) == nullptr)
        ReplaceConnection(kSerial);
}

void CCommunicationSettingsDlg::ReadStoredTexts()
{
    ZELL::CTCPIPConnection tcpip;
    tcpip.LoadSettings(m_storageName, m_storageType);
    RepairTimeouts(tcpip);
    m_tcpipText = tcpip.GetSettingsXML();
    ZELL::CRS232Connection serial;
    serial.LoadSettings(m_storageName, m_storageType);
    RepairTimeouts(serial);
    m_serialText = serial.GetSettingsXML();
}

void CCommunicationSettingsDlg::ReplaceConnection(int type)
{
    std::unique_ptr<ZELL::CConnectionBase> replacement = NewConnection(type);
    delete *m_connectionSlot;
    *m_connectionSlot = replacement.release();
    (*m_connectionSlot)->SetStorageProperties(m_storageName, m_storageType);
}

BOOL CCommunicationSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    LOGFONTW logFont{};
    TSLX::GetMainLogfont(&logFont);
    if (m_font.CreateFontIndirect(&logFont))
        SetFont(&m_font);
    SetTexts();
    m_connectionList.SubclassDlgItem(kConnectionList, this);
    GetDlgItem(kConnectionGroup)->ShowWindow(m_choiceShown ? SW_SHOW : SW_HIDE);
    m_connectionList.ShowWindow(m_choiceShown ? SW_SHOW : SW_HIDE);
    GetDlgItem(kHiddenStatic)->ShowWindow(SW_HIDE);
    if (m_choiceShown)
        FillConnectionList();
    else
        CloseUpFixedLayout();
    CreateForms();
    m_connectionList.SetCurSel(m_type);
    m_currentForm = FormOf(m_type);
    if (m_currentForm)
        m_currentForm->ShowWindow(SW_SHOW);
    return TRUE;
}

void CCommunicationSettingsDlg::SetTexts()
{
    SetWindowText(GetLanguageText(L"CSD_LBL_TITLE"));
    const std::pair<int, const wchar_t*> texts[] = {
        {kConnectionGroup, L"CSD_TXT_CONNECTION"}, {kSettingsGroup, L"CSD_TXT_SETTINGS"},
        {kDefault, L"CSD_BTN_DEFAULT"},           {kTest, L"CSD_BTN_TEST"},
        {IDOK, L"SND_BTN_APPLY"},                 {IDCANCEL, L"CSD_BTN_CANCEL"}};
    for (const auto& [id, key] : texts)
        SetDlgItemText(id, GetLanguageText(key));
}

void CCommunicationSettingsDlg::FillConnectionList()
{
    const bool german = CompareNoCase(CHostProfile().GetString(L"Common", L"Language", L"en"), L"de") == 0;
    m_connectionList.AddString(german ? L"Serielle Anschl\u00fcsse (COM, USB, Bluetooth,...)"
                                      : L"Serial Ports (COM, USB, Bluetooth,...)");
    m_connectionList.AddString(L"Ethernet (TCP/IP)");
}

void CCommunicationSettingsDlg::CloseUpFixedLayout()
{
    CRect connection, settings, list;
    GetDlgItem(kConnectionGroup)->GetWindowRect(&connection);
    GetDlgItem(kSettingsGroup)->GetWindowRect(&settings);
    m_connectionList.GetWindowRect(&list);
    ScreenToClient(&connection);
    ScreenToClient(&settings);
    ScreenToClient(&list);
    const int shift = settings.top - connection.top;
    GetDlgItem(kSettingsGroup)->SetWindowPos(nullptr, connection.left, connection.top, 0, 0,
                                             SWP_NOSIZE | SWP_NOZORDER);
    CRect placeholder;
    GetDlgItem(kFormPlaceholder)->GetWindowRect(&placeholder);
    ScreenToClient(&placeholder);
    placeholder.top = list.top - 9;
    GetDlgItem(kFormPlaceholder)->MoveWindow(&placeholder);
    CRect cancel;
    for (int id : {kDefault, IDOK, IDCANCEL}) {
        CRect button;
        GetDlgItem(id)->GetWindowRect(&button);
        ScreenToClient(&button);
        button.OffsetRect(0, -shift);
        GetDlgItem(id)->MoveWindow(&button);
        cancel = button;
    }
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() - client.Height() + cancel.bottom + 10,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CCommunicationSettingsDlg::CreateForms()
{
    CRect place;
    GetDlgItem(kFormPlaceholder)->GetWindowRect(&place);
    ScreenToClient(&place);
    m_rs232Form = std::make_unique<CSettingsFormRS232>(dynamic_cast<ZELL::CRS232Connection*>(*m_connectionSlot), this);
    m_tcpipForm = std::make_unique<CSettingsFormTCPIP>(dynamic_cast<ZELL::CTCPIPConnection*>(*m_connectionSlot), this);
    if (!m_rs232Form->Create(kRS232Form, this)) {
        ::OutputDebugStringW(L"CreateSubForm failed for m_pRS232Form!\n");
        AfxMessageBox(L"CreateSubForm failed for m_pRS232Form!\n");
        m_rs232Form.reset();
    }
    if (!m_tcpipForm->Create(kTCPIPForm, this)) {
        AfxMessageBox(L"CreateSubForm failed for m_pTCPIPForm!\n");
        m_tcpipForm.reset();
    }
    // Each form takes the placeholder's place in the tab order too: after
    // the connection list, before the buttons.
    CWnd* placeholder = GetDlgItem(kFormPlaceholder);
    for (CSettingsFormBase* form : {FormOf(kSerial), FormOf(kTcpIp)})
        if (form)
            form->SetWindowPos(placeholder, place.left, place.top, place.Width(), place.Height(), SWP_NOACTIVATE);
    if (!m_rs232Form && !m_tcpipForm)
        ::OutputDebugStringW(L"No subform object created!\n");
}

CSettingsFormBase* CCommunicationSettingsDlg::FormOf(int type) const
{
    if (type == kTcpIp)
        return m_tcpipForm.get();
    return m_rs232Form.get();
}

bool CCommunicationSettingsDlg::ApplyShownForm()
{
    UpdateData(TRUE);
    if (m_currentForm == nullptr || !m_currentForm->BuildSettingsXml()) {
        m_connectionList.SetCurSel(m_type);
        return false;
    }
    (*m_connectionSlot)->SaveSettings(m_storageName, m_storageType);
    const int selected = m_connectionList.GetCurSel();
    if (selected >= 0 && selected != m_type) {
        ReplaceConnection(selected == kTcpIp ? kTcpIp : kSerial);
        m_type = selected;
    }
    (*m_connectionSlot)->SetStorageProperties(m_storageName, m_storageType);
    (*m_connectionSlot)->LoadSettings(m_storageName, m_storageType);
    return true;
}

void CCommunicationSettingsDlg::OnConnectionChanged()
{
    if (!ApplyShownForm())
        return;
    if (m_currentForm)
        m_currentForm->ShowWindow(SW_HIDE);
    m_currentForm = FormOf(m_type);
    if (m_currentForm) {
        m_currentForm->SetConnection(*m_connectionSlot);
        m_currentForm->ShowWindow(SW_SHOW);
    }
}

void CCommunicationSettingsDlg::OnDefault()
{
    if (m_currentForm)
        m_currentForm->ResetToDefault();
}

void CCommunicationSettingsDlg::OnOK()
{
    // Only settings that validated are stored, the kind of connection with them.
    if (m_currentForm == nullptr || !m_currentForm->BuildSettingsXml())
        return;
    CHostProfile().WriteString(L"Communication", L"LastConnection", TypeWord(m_type));
    (*m_connectionSlot)->SaveSettings(m_storageName, m_storageType);
    EndDialog(IDOK);
}

void CCommunicationSettingsDlg::OnCancel()
{
    if (m_type != m_startType)
        ReplaceConnection(m_startType == kTcpIp ? kTcpIp : kSerial);
    (*m_connectionSlot)->SetStorageProperties(m_storageName, m_storageType);
    ZELL::CTCPIPConnection tcpip;
    tcpip.SetSettingsXML(m_tcpipText);
    tcpip.SaveSettings(m_storageName, m_storageType);
    ZELL::CRS232Connection serial;
    serial.SetSettingsXML(m_serialText);
    serial.SaveSettings(m_storageName, m_storageType);
    (*m_connectionSlot)->SetSettingsXML(m_startType == kTcpIp ? m_tcpipText
                                                              : (m_startType == kTramq ? m_tramqText : m_serialText));
    (*m_connectionSlot)->SaveSettings(m_storageName, m_storageType);
    EndDialog(IDCANCEL);
}

void CCommunicationSettingsDlg::OnTest()
{
    RedrawWindow();
    while (RunConnectionTest()) {
    }
}

// One run of the test; true when the user asked to run it again.
bool CCommunicationSettingsDlg::RunConnectionTest()
{
    CWaitCursor wait;
    CSocketsScope sockets;
    if (!ApplyShownForm())
        return false;
    std::unique_ptr<CServiceBase> service;
    if (m_type == kTcpIp)
        service = std::make_unique<CTCPIPService>(*m_connectionSlot);
    else
        service = std::make_unique<CSIOService>(*m_connectionSlot);
    const auto failure = [&](const wchar_t* key) {
        const std::wstring text = std::wstring(GetLanguageText(key).GetString()) + L"\n\n" +
                                  FormatW(GetLanguageText(L"CSD_TXT_ERRORCODE_FMT").GetString(),
                                          static_cast<unsigned>(service->GetLastErrorCode())) +
                                  L"\n\n" + GetLanguageText(L"CSD_MSG_RETRY").GetString();
        return (TSLX::MessageBox(text.c_str(), 0x115, L"", 0) & 0xFF) == IDRETRY;
    };
    if (!service->CheckCommunication(1))
        return failure(L"CSD_MSG_CONNECTION_TEST_FAILED");
    std::wstring order, description, hardware, software;
    std::vector<unsigned short> states;
    bool identified = false;
    try {
        if (!(*m_connectionSlot)->IsOpen())
            (*m_connectionSlot)->Open();
        identified = service->IdentifyDevice(order, description, hardware, software);
        service->GetFBCStates(states);
        (*m_connectionSlot)->Close();
    } catch (...) {
        TSLX::MessageBox(L"Identfication failed!", 0, L"", 0);
        return false;
    }
    // A device that does not identify itself is a failed test, with its code.
    if (!identified)
        return failure(L"CSD_MSG_CONNECTION_TEST_FAILED");
    TSLX::MessageBox(FormatW(GetLanguageText(L"CSD_MSG_CONNECTION_TEST_SUCCESS_FMT").GetString(), order.c_str(),
                             description.c_str(), software.c_str(), hardware.c_str())
                         .c_str(),
                     MB_ICONINFORMATION, L"", 0);
    return false;
}
