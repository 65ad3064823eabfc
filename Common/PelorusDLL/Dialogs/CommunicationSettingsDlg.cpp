#include "Common/PelorusDLL/Dialogs/CommunicationSettingsDlg.h"

#include "Common/PelorusDLL/ConnectionTypes.h"
#include "Common/PelorusDLL/Dialogs/ConnectionTypeForms.h"
#include "Common/PelorusDLL/Dialogs/DialogControls.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/SocketsScope.h"
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Format.h"
#include "Platform/Framework/App/WaitCursor.h"

using namespace PelorusIds;

namespace {

using ZELL::CConnectionTypes;

// A number that names no type is the first one.
const ZELL::tConnectionType& TypeAt(int type)
{
    const auto types = CConnectionTypes::All();
    return type >= 0 && static_cast<std::size_t>(type) < types.size() ? types[static_cast<std::size_t>(type)]
                                                                       : types[0];
}

int TypeOf(const ZELL::CConnectionBase& connection)
{
    return static_cast<int>(CConnectionTypes::IndexOf(CConnectionTypes::Of(connection)));
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

const wchar_t* CCommunicationSettingsDlg::TypeWord(int type) { return TypeAt(type).word; }

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
        m_type = TypeOf(**connection);
    else
        FixChoice(selection.GetString());
    m_startType = m_type;
    ReadStoredTexts();
    (*m_connectionSlot)->SetSettingsXML(m_storedTexts[static_cast<std::size_t>(m_type)]);
}

CCommunicationSettingsDlg::~CCommunicationSettingsDlg() = default;

void CCommunicationSettingsDlg::FixChoice(const std::wstring&)
{
    // Any fixed choice is the serial line, the first type (the only one with
    // a form of its own besides TCP/IP that the gateway would use).
    m_type = 0;
    if (TypeOf(**m_connectionSlot) != m_type)
        ReplaceConnection(m_type);
}

void CCommunicationSettingsDlg::ReadStoredTexts()
{
    m_storedTexts.clear();
    for (const ZELL::tConnectionType& type : CConnectionTypes::All()) {
        std::wstring text;
        if (type.offered) {
            const std::unique_ptr<ZELL::CConnectionBase> stored = type.makeConnection();
            stored->LoadSettings(m_storageName, m_storageType);
            RepairTimeouts(*stored);
            text = stored->GetSettingsXML();
        }
        m_storedTexts.push_back(text);
    }
}

void CCommunicationSettingsDlg::ReplaceConnection(int type)
{
    std::unique_ptr<ZELL::CConnectionBase> replacement = TypeAt(type).makeConnection();
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
    m_connectionList.SetCurSel(ListIndexOf(m_type));
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
    m_choices.clear();
    for (const ZELL::tConnectionType& type : CConnectionTypes::All()) {
        const tConnectionTypeForm* form = CConnectionTypeForms::Find(type.word);
        if (!type.offered || form == nullptr)
            continue;
        m_connectionList.AddString(german ? form->choiceTextGerman : form->choiceText);
        m_choices.push_back(static_cast<int>(CConnectionTypes::IndexOf(type)));
    }
}

int CCommunicationSettingsDlg::ListIndexOf(int type) const
{
    for (std::size_t index = 0; index < m_choices.size(); ++index) {
        if (m_choices[index] == type)
            return static_cast<int>(index);
    }
    return -1;
}

// The type of the list's selection; -1 without one.
int CCommunicationSettingsDlg::SelectedType() const
{
    const int selected = m_connectionList.GetCurSel();
    return selected >= 0 && static_cast<std::size_t>(selected) < m_choices.size()
               ? m_choices[static_cast<std::size_t>(selected)]
               : -1;
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
    // A form edits the connection only when that is of the form's type.
    const std::wstring current = (*m_connectionSlot)->GetType();
    m_forms.clear();
    bool any = false;
    for (const ZELL::tConnectionType& type : CConnectionTypes::All()) {
        m_forms.emplace_back();
        const tConnectionTypeForm* row = CConnectionTypeForms::Find(type.word);
        if (row == nullptr)
            continue;
        std::unique_ptr<CSettingsFormBase> form = row->makeForm(current == type.word ? *m_connectionSlot : nullptr, this);
        if (!form->Create(row->templateId, this)) {
            if (row->traced)
                ::OutputDebugStringW(row->createFailure);
            AfxMessageBox(row->createFailure);
            continue;
        }
        // Each form takes the placeholder's place in the tab order too: after
        // the connection list, before the buttons.
        form->SetWindowPos(GetDlgItem(kFormPlaceholder), place.left, place.top, place.Width(), place.Height(),
                           SWP_NOACTIVATE);
        m_forms.back() = std::move(form);
        any = true;
    }
    if (!any)
        ::OutputDebugStringW(L"No subform object created!\n");
}

// A type without a form of its own is edited with the first type's.
CSettingsFormBase* CCommunicationSettingsDlg::FormOf(int type) const
{
    const std::size_t index = static_cast<std::size_t>(type);
    if (type >= 0 && index < m_forms.size() && CConnectionTypeForms::Find(TypeAt(type).word) != nullptr)
        return m_forms[index].get();
    return m_forms.empty() ? nullptr : m_forms[0].get();
}

bool CCommunicationSettingsDlg::ApplyShownForm()
{
    UpdateData(TRUE);
    if (m_currentForm == nullptr || !m_currentForm->BuildSettingsXml()) {
        m_connectionList.SetCurSel(ListIndexOf(m_type));
        return false;
    }
    (*m_connectionSlot)->SaveSettings(m_storageName, m_storageType);
    const int selected = SelectedType();
    if (selected >= 0 && selected != m_type) {
        ReplaceConnection(selected);
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
        ReplaceConnection(m_startType);
    (*m_connectionSlot)->SetStorageProperties(m_storageName, m_storageType);
    const auto types = CConnectionTypes::All();
    for (std::size_t index = 0; index < types.size(); ++index) {
        if (!types[index].offered)
            continue;
        const std::unique_ptr<ZELL::CConnectionBase> stored = types[index].makeConnection();
        stored->SetSettingsXML(m_storedTexts[index]);
        stored->SaveSettings(m_storageName, m_storageType);
    }
    (*m_connectionSlot)->SetSettingsXML(m_storedTexts[static_cast<std::size_t>(m_startType)]);
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
    const std::unique_ptr<CServiceBase> service = TypeAt(m_type).makeService(*m_connectionSlot);
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
