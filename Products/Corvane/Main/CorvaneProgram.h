#pragma once
// The application object of the executable: it knows the main dialog and
// the settings pages, which the application library below it does not.
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/MainDialog/CorvanePageCatalog.h"

#include <functional>
#include <string>

namespace Corvane {

class CCorvaneDlg;

class CCorvaneProgram : public CCorvaneApp {
public:
    CCorvaneProgram();

    // Every settings page the program has, by page key.
    static void RegisterPages(CCorvanePageCatalog& catalog);

    // Called with the main dialog before it opens (the start-up benchmark
    // and tests watch it through this).
    void SetDialogObserver(std::function<void(CCorvaneDlg&)> observer) { m_fnDialogObserver = std::move(observer); }

    // Runs the program on the user's display; without one it says so on the
    // terminal in one line and ends at once.
    BOOL InitInstance() override;

    // The main dialog is the program's largest window: where the desktop's
    // scale would make it larger than the screen's work area, the program is
    // drawn at the largest scale step at which it fits. Runs before start-up
    // makes any font or window.
    void FitScaleToScreen() const;

    // 1 when the user quit while a device command ran, kNoDisplayExit when
    // there was no display, else what the framework gives.
    int ExitInstance() override;

    static constexpr int kNoDisplayExit = 2;

protected:
    void RunMainDialog() override;
    void HandFontToPages(const LOGFONTW& font) override;
    void LoadInvalidIPAddresses() override;

private:
    void ApplyDialogHooks(CCorvaneDlg& dialog);
    // The line that tells which display did not open, in this run's language.
    CString NoDisplayLine(const std::string& unreachable) const;

    std::function<void(CCorvaneDlg&)> m_fnDialogObserver;
    int m_nExitCode = 0;
};

}  // namespace Corvane
