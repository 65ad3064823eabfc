// What the main dialog shows while it holds no device's settings (a read
// failed, the device was reset to its factory settings, nothing was read
// yet): titles that say no device is connected, the identification page's
// note, and the result's status line; and all of it again in a new language,
// without bringing back what a failed read cleared.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Products/Corvane/MainDialog/Commands/ThreadResult.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"

namespace Corvane {

void CCorvaneDlg::ShowNoDeviceTitles()
{
    SetTitles(AfxGetAppName(), Translate(L"TXT_NO_DEVICE_CONNECTED"));
    SetWindowText(AfxGetAppName());
    m_bNoDeviceTitles = true;
}

void CCorvaneDlg::ShowPageNote(CSettingsPage* page, LPCWSTR key)
{
    m_strPageNoteKey = key;
    if (page != nullptr)
        page->BeginWaitState(CSettingsPage::kWaitStateNote, Translate(key));
}

// The identification page keeps showing its note (it never falls back to
// rows of a device that is gone); a note the dialog gave by its key is
// given again in the new language, and so is a failure's text.
void CCorvaneDlg::ShowNotesInLanguage()
{
    if (m_bNoDeviceTitles)
        ShowNoDeviceTitles();
    auto* common = dynamic_cast<CCommonPage*>(Page(CCommonPage::kPageKey));
    if (common == nullptr || common->ShownState() == 0)
        return;
    if (common->ShownState() == CSettingsPage::kWaitStateError && m_data.DescriptionInLanguage) {
        m_data.Description = m_data.DescriptionInLanguage();
        common->BeginWaitState(CSettingsPage::kWaitStateError, m_data.Description);
    } else if (!m_strPageNoteKey.IsEmpty()) {
        common->BeginWaitState(common->ShownState(), Translate(m_strPageNoteKey));
    }
}

// Without the device's settings the status line keeps saying why: the
// result of the last command, now in the new language. It is no new event
// for the log.
void CCorvaneDlg::ShowResultStatusInLanguage()
{
    if (m_bDataValid || m_nLastResultType == 0) {
        ShowStatus(Translate(L"STATE_READY"));
        return;
    }
    CString line = CThreadResult::StatusText(m_nLastResultType, m_bLastResultOk);
    line.TrimLeft();
    m_StatusLine.SetWindowText(line);
}

void CCorvaneDlg::ForgetIdentification()
{
    if (auto* common = dynamic_cast<CCommonPage*>(Page(CCommonPage::kPageKey)))
        common->ClearIdentification();
}

void CCorvaneDlg::RememberResult(int type, bool ok)
{
    m_nLastResultType = type;
    m_bLastResultOk = ok;
    // A read and the factory settings bring the device's data, which the
    // current file does not hold; a write, a restart and a reset of the
    // file system leave the settings as they were.
    if (type == static_cast<int>(ENThreadResultType::Read) ||
        type == static_cast<int>(ENThreadResultType::FactoryDefaults))
        m_bNotInFile = true;
}

// After the factory settings have started, the device comes back on its own
// and was not read again: the settings the pages held are no longer its.
bool CCorvaneDlg::HoldsDeviceSettings(int type, bool valid)
{
    return valid && type != static_cast<int>(ENThreadResultType::FactoryDefaultsStarted);
}

}  // namespace Corvane
