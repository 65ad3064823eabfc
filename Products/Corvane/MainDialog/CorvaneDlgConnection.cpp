// The connection-settings command and the about box of the main dialog.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/TesselExports.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/ProgramVersion.h"
#include "Products/Corvane/MainDialog/Commands/CommandQuestions.h"
#include "Products/Corvane/MainDialog/Commands/ConnectionSettingsError.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"

namespace Corvane {

void CCorvaneDlg::OnConnectionSettings()
{
    // As every command, it starts by hiding the tips: one left shown would
    // stand over the dialog, which takes the pointer's place.
    HideTooltips();
    if (PageRefusesCommands(true))
        return;
    if (GetWorkerBusyFlag().IsSet()) {
        ZELLMessageBox(CCommandQuestions::WorkerRunsForSettings(), 0, L"", 0);
        return;
    }
    INT_PTR result = IDCANCEL;
    CString error;
    try {
        const CZellWinApp* app = dynamic_cast<CZellWinApp*>(AfxGetApp());
        const std::wstring guiXml = app != nullptr ? app->GetGuiXmlFile().str() : std::wstring();
        // The dialog may replace the connection behind the pointer.
        ZELL::CConnectionBase* connection = m_pConnection.release();
        m_pService.reset();
        try {
            result = PelorusSettings(&connection, GetCurrentLanguage().str(), this, guiXml,
                                     app != nullptr && app->IsOemMode() ? 1 : 0);
        } catch (...) {
            m_pConnection.reset(connection);
            throw;
        }
        m_pConnection.reset(connection);
    } catch (...) {
        error = CConnectionSettingsError::MessageOfCurrent();
    }
    // Whatever the dialog did, the service works on the connection it left.
    CreateService();
    HandConnectionToPages();
    ShowConnectionText();
    if (!error.IsEmpty()) {
        ShowConnectionSettingsError(error);
        return;
    }
    if (result == IDOK)
        OnReadDevice();
}

void CCorvaneDlg::ShowConnectionSettingsError(const CString& text)
{
    GetWorkerBusyFlag().Release();
    if (m_Sheet.GetSafeHwnd() != nullptr) {
        m_Sheet.SetRedraw(TRUE);
        m_Sheet.Invalidate();
    }
    StopBusy();
    SetFocus();
    ZELLMessageBox(text, MB_ICONERROR, L"", 0);
}

void CCorvaneDlg::OnAboutBox()
{
    // The user-interface library is bound at load time, as for the message
    // boxes: its about box is there whenever the program runs.
    const CWinApp* app = AfxGetApp();
    const CString exeName = CString(app != nullptr ? app->m_pszExeName : L"") + L".EXE";
    ZELLAboutDialog(exeName, CProgramVersion::FileVersion(), CProgramVersion::ReleaseDate(), AfxGetAppName(),
                    CProgramVersion::Text(), nullptr, -1);
}

}  // namespace Corvane
