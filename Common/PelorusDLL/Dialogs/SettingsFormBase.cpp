#include "Common/PelorusDLL/Dialogs/SettingsFormBase.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/DialogControls.h"
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include <cwctype>
#include <limits>

BEGIN_MESSAGE_MAP(CSettingsFormBase, CDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CSettingsFormBase::CSettingsFormBase(UINT templateId, ZELL::CConnectionBase* connection, CWnd* parent)
    : CDialog(templateId, parent), m_connection(connection)
{
    CDialogControls::Register();
}

BOOL CSettingsFormBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    ApplyMainFont();
    return TRUE;
}

void CSettingsFormBase::ApplyMainFont()
{
    TSLX::GetMainLogfont(&m_logFont);
    m_font.DeleteObject();
    if (!m_font.CreateFontIndirect(&m_logFont))
        return;
    SetFont(&m_font);
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        child->SetFont(&m_font);
}

void CSettingsFormBase::ResetToDefault()
{
    if (m_connection == nullptr)
        return;
    m_connection->SetSettingsToDefault();
    FillFromSettings();
}

void CSettingsFormBase::SetConnection(ZELL::CConnectionBase* connection) { m_connection = connection; }

void CSettingsFormBase::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
    if (show)
        FillFromSettings();
}

void CSettingsFormBase::SetLabelTexts(std::initializer_list<std::pair<int, const wchar_t*>> texts)
{
    for (const auto& [id, key] : texts)
        SetDlgItemText(id, GetLanguageText(key));
}

bool CSettingsFormBase::ValidateTimeout(int id, int maximum, int& seconds)
{
    CString text;
    GetDlgItemText(id, text);
    const std::wstring digits = text.Trim().GetString();
    long long value = 0;
    bool number = !digits.empty() && digits.size() <= 10;
    for (wchar_t c : digits)
        number = number && std::iswdigit(c);
    if (number)
        value = std::stoll(digits);
    if (number && value >= 1 && value <= maximum) {
        seconds = static_cast<int>(value);
        return true;
    }
    AfxMessageBox(GetLanguageText(L"CSD_MSG_INVALID_TIMOUT_MIN"), MB_OK | MB_ICONWARNING);
    CWnd* edit = GetDlgItem(id);
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
    return false;
}

void CSettingsFormBase::CheckChangedTimeout(int id, int maximum)
{
    int seconds = 0;
    if (!m_initialising)
        ValidateTimeout(id, maximum, seconds);
}
