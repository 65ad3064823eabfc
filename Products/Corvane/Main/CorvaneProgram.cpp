#include "Products/Corvane/Main/CorvaneProgram.h"

#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/MainDialog/CorvanePageTable.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include "Common/SystemHelper/Texts/GuiXmlTables.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Display/DisplayBackend.h"
#include "Platform/Ui/DpiFit.h"

#include <memory>

#include <unistd.h>

namespace Corvane {

CCorvaneProgram::CCorvaneProgram() : CCorvaneApp(L"Corvane") {}

namespace {

// The main dialog's template of each DPI class of the application's hooks.
int DpiHookIndexOf(int dpi)
{
    return dpi <= 100 ? 0 : dpi <= 120 ? 1 : dpi <= 144 ? 2 : 3;
}

}

void CCorvaneProgram::FitScaleToScreen() const
{
    const bool supported = IsUserLanguageSupported();
    Ui::FitLayerDpi([supported](int dpi) {
        const int id = TemplateIdsFor(DpiHookIndexOf(dpi), supported).mainDialog;
        return Ui::DialogResourceSizeAt(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), dpi);
    });
}

void CCorvaneProgram::RegisterPages(CCorvanePageCatalog& catalog)
{
    for (const tPageRow& row : CCorvanePageTable::Rows())
        catalog.Register(row.key, row.make);
}

void CCorvaneProgram::RunMainDialog()
{
    CCorvanePageCatalog catalog;
    RegisterPages(catalog);
    CCorvaneDlg dialog(static_cast<UINT>(TemplateIds().mainDialog), catalog);
    ApplyDialogHooks(dialog);
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == CCorvaneDlg::kQuitDuringCommand)
        m_nExitCode = 1;
    m_pMainWnd = nullptr;
}

BOOL CCorvaneProgram::InitInstance()
{
    std::string unreachable;
    if (Display::OpenUserDisplay(unreachable)) {
        FitScaleToScreen();
        return CCorvaneApp::InitInstance();
    }
    const std::string line = Text::WideToUtf8(NoDisplayLine(unreachable).str()) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    m_nExitCode = kNoDisplayExit;
    return FALSE;
}

// The framework's texts are not loaded (loading them may ask the user), so
// the line is looked up in the text file directly.
CString CCorvaneProgram::NoDisplayLine(const std::string& unreachable) const
{
    const LPCWSTR key = unreachable.empty() ? L"MSG_NO_DISPLAY_SET" : L"MSG_NO_DISPLAY";
    const std::wstring file = GetGuiXmlPath().str();
    auto texts = CGuiXmlTables::Texts(file, ExpectedLanguage().str());
    const std::wstring* text = texts ? CGuiXmlTables::Find(*texts, key) : nullptr;
    if (text == nullptr && (texts = CGuiXmlTables::Texts(file, L"en")))
        text = CGuiXmlTables::Find(*texts, key);
    CString line = GetExeBaseName() + L": ";
    if (text == nullptr)
        return line + L"##" + key + L" " + Text::FileNameToWide(unreachable).c_str();
    CString message;
    message.Format(text->c_str(), Text::FileNameToWide(unreachable).c_str());
    return line + message;
}

int CCorvaneProgram::ExitInstance()
{
    const int code = CCorvaneApp::ExitInstance();
    return code != 0 ? code : m_nExitCode;
}

void CCorvaneProgram::HandFontToPages(const LOGFONTW& font) { CCouplerSettingsPageBase::SetDefaultFont(font); }

void CCorvaneProgram::LoadInvalidIPAddresses() { CCouplerSettingsPageBase::LoadInvalidIPAddresses(DeviceIni()); }

void CCorvaneProgram::ApplyDialogHooks(CCorvaneDlg& dialog)
{
    if (m_fnDialogObserver)
        m_fnDialogObserver(dialog);
}

}  // namespace Corvane
