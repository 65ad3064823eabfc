#pragma once
// A sheet of two pages inside a dialog, as the main dialog holds them, and a
// main window that answers the pages' registered messages and notes them.
// The first page edits word 0 of its block (decimal, 1..100) and the low
// byte of word 1 (hexadecimal, 0..0xFF); the second has one edit only.
#include "Common/Skin/PropSheetInDlg.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Corvane {

namespace PageBaseTest {

constexpr int kPlaceholder = 900;
constexpr int kDecimalField = 1001;
constexpr int kHexField = 1002;
constexpr int kAddressField = 1003;

// The place of the sheet in a host dialog's template.
Ui::DialogItemTemplate Placeholder(short x, short y, short cx, short cy);
constexpr int kOtherField = 1101;
constexpr UINT kAddressNameId = 9001;

struct tBalloon {
    CString title;
    CString text;
    UINT field = 0;
};

class CTestPage : public CCouplerSettingsPageBase {
public:
    // A page without a hexadecimal field passes 0.
    CTestPage(std::vector<BYTE> image, int decimalId, int hexId);

    int m_nDecimal = 0;
    int m_nHex = 0;
    bool m_bStoreResult = true;
    bool m_bRealBalloon = false;
    int m_nLoads = 0;
    int m_nStores = 0;
    int m_nTextUpdates = 0;
    std::vector<tBalloon> m_arrBalloons;
    std::vector<DWORD> m_arrPauses;

    bool ValidateAll() override;
    void LoadFromDeviceData() override;
    bool StoreToDeviceData() override;
    BOOL UpdateLanguageTexts() override;
    // The pause the program makes, where the tests note the others.
    void RealPause(DWORD milliseconds) { CCouplerSettingsPageBase::Pause(milliseconds); }

    using CCouplerSettingsPageBase::m_strPageKey;
    using CCouplerSettingsPageBase::m_Tooltip;
    using CCouplerSettingsPageBase::m_bStoreOnLeave;
    using CCouplerSettingsPageBase::SendToMainWindow;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void ShowBalloon(const CString& title, const CString& text, UINT ctrlId) override;
    void Pause(DWORD milliseconds) override { m_arrPauses.push_back(milliseconds); }
    void OnFieldChanged(UINT) { NotifySettingsChanged(1); }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<BYTE> m_arrImage;
    int m_nDecimalId = 0;
    int m_nHexId = 0;
};

// The main window: answers each registered message with what the test set
// (0 otherwise) and keeps the page keys it was asked about.
class CMainWindow {
public:
    CMainWindow();
    ~CMainWindow();

    const CWorkerMessages& Ids() const { return CWorkerMessages::Get(); }
    int Count(UINT message) const { return static_cast<int>(m_Handler.Of(message).size()); }
    std::vector<WPARAM> WParams(UINT message) const;
    void Answer(UINT message, LRESULT result) { m_mapAnswers[message] = result; }
    void Clear() { m_Handler.Clear(); }
    HWND Handle() const { return m_hWnd; }

    std::vector<std::wstring> m_arrAskedKeys;

private:
    UiTest::Handler m_Handler;
    std::map<UINT, LRESULT> m_mapAnswers;
    HWND m_hWnd = nullptr;
    CWnd m_Wnd;
};

class CHostDialog : public CDialog {
public:
    CHostDialog() : m_Sheet(this, kPlaceholder) {}
    std::vector<CCouplerSettingsPageBase*> m_arrPages;
    ZELL::Skin::CPropSheetInDlg m_Sheet;

protected:
    BOOL OnInitDialog() override;
};

// The whole rig: an application whose main window is the recording one,
// the two pages over their blocks, and the dialog that shows them.
class CPageRig {
public:
    CPageRig();
    ~CPageRig();

    // Makes the dialog, then ends the suspension and refreshes the active
    // page, as the main dialog does after filling its pages.
    void Show();
    UiTest::CDialogDriver Driver() const { return UiTest::CDialogDriver(m_Host.GetSafeHwnd()); }
    // Asks the sheet for the other page; true when the sheet moved.
    bool SwitchTo(int index);
    int ActiveIndex() const { return m_Host.m_Sheet.GetActiveIndex(); }
    void Replace(int id, const std::wstring& text);

    CWinApp m_App{L"PageBaseTests"};
    CMainWindow m_Main;
    std::vector<WORD> m_arrWords{42, 0xAB17, 7, 0xFFFF};
    std::vector<WORD> m_arrOtherWords{1, 2};
    std::unique_ptr<CTestPage> m_pPage;
    std::unique_ptr<CTestPage> m_pOther;
    CHostDialog m_Host;

private:
    std::vector<BYTE> m_arrHostImage;
};

std::vector<BYTE> FirstPageImage();
std::vector<BYTE> SecondPageImage();

}

}  // namespace Corvane
