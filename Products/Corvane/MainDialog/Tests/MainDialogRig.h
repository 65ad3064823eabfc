#pragma once
// What the main dialog's tests share: an application object over a GUI XML
// file the test writes, settings pages made from a small in-memory
// template, and a catalog of them.
#include "Common/Application/Tests/TestApp.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Registry/RegistryTypes.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Corvane {

namespace MainDialogTest {

constexpr wchar_t kAppName[] = L"CorvaneMainDialogTests";

inline std::string Texts()
{
    using AppTest::Keyed;
    return AppTest::GuiXml("<text key=\"BTN_READ\"><locale code=\"de\">Lesen</locale><locale code=\"en\">Read"
                           "</locale></text>\n" + Keyed("STATE_READY", "Ready") + Keyed("BTN_WRITE", "Write") +
                           Keyed("BTN_RESTART", "Restart") + Keyed("TITLE_COMMON", "Identification") +
                           Keyed("TITLE_STATUS", "State") + Keyed("STATE_TS_WORKING", "%s ...") +
                           Keyed("STATE_TS_DONE", "%s done") + Keyed("STATE_TS_FAILED", "%s failed") +
                           Keyed("STATE_IDENTIFY_DEVICE", "Identify device") +
                           Keyed("STATE_CONNECT_DEVICE", "Connect device") + Keyed("TXT_EDITOR", "Editor"));
}

// Pages of one edit field, each with its own caption.
inline std::vector<BYTE> PageImage(const std::wstring& caption)
{
    Ui::CDialogTemplate page;
    page.style = WS_CHILD | DS_SETFONT | DS_CONTROL;
    page.cx = 200;
    page.cy = 120;
    page.pointSize = 8;
    page.faceName = L"DejaVu Sans";
    page.caption = caption;
    page.items.push_back(Ui::VisibleControl(Ui::NameOrOrdinal::Ordinal(Ui::kClassEdit), L"", 3001,
                                            WS_BORDER | WS_TABSTOP, 7, 7, 90, 12));
    return page.ToImage();
}

class CTestPage : public CCouplerSettingsPageBase {
public:
    explicit CTestPage(const std::wstring& caption) : m_arrImage(PageImage(caption))
    {
        ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrImage.data()));
    }

private:
    std::vector<BYTE> m_arrImage;
};

inline CCorvanePageCatalog TestCatalog(const std::vector<std::wstring>& keys)
{
    CCorvanePageCatalog catalog;
    for (const std::wstring& key : keys)
        catalog.Register(key, [key](const CCorvaneApp::tTemplateIds&) { return std::make_unique<CTestPage>(key); });
    return catalog;
}

// Answers the dialog's questions from a list (No once it is used up) and
// notes them.
class CTestDlg : public CCorvaneDlg {
public:
    using CCorvaneDlg::CCorvaneDlg;
    void SetExtendedPages(bool extended) { m_bExtendedPages = extended; }
    std::vector<std::wstring> m_arrQuestions;
    std::vector<int> m_arrAnswers;
    std::vector<UINT> m_arrCommands;
    // Runs while each question is open, as the user's other input would.
    std::function<void()> m_fnWhileAsking;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_arrCommands.push_back(LOWORD(wParam));
        return CCorvaneDlg::OnCommand(wParam, lParam);
    }

    int AskUser(const CString& text, UINT) override
    {
        m_arrQuestions.push_back(text.str());
        if (m_fnWhileAsking)
            std::exchange(m_fnWhileAsking, nullptr)();
        if (m_arrAnswers.empty())
            return IDNO;
        const int answer = m_arrAnswers.front();
        m_arrAnswers.erase(m_arrAnswers.begin());
        return answer;
    }
};

// A key as the dialog's own modal loop handles it: through the windows'
// PreTranslateMessage first (the driver's pump leaves that out).
inline void PressInDialog(UiTest::CDialogDriver& driver, UINT key, unsigned modifiers = UiTest::kNoModifier)
{
    driver.Press(key, modifiers);
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        bool reached = false;
        if (CWnd::WalkPreTranslateTree(driver.Dialog(), &msg, &reached))
            continue;
        if (!::IsDialogMessageW(driver.Dialog(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    driver.PumpUntilIdle();
}

class CTestApp : public CCorvaneApp {
public:
    explicit CTestApp(std::wstring guiXml) : CCorvaneApp(kAppName), m_strGuiXml(std::move(guiXml)) {}
    void InitGuiXmlFile() override { m_guiXmlFile = m_strGuiXml.c_str(); }

protected:
    void HandGuiXmlFileToLibrary(const CString&, WORD) override {}
    void HandAppNameToLibrary(const CString&) override {}

private:
    std::wstring m_strGuiXml;
};

class MainDialogTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        GetLanguageSupport().Clear();
        Registry::DeleteKeyTree(HKEY_CURRENT_USER, std::wstring(L"Software\\Zell Software\\") + kAppName);
        g_StartupOptions = {};
        m_pApp = std::make_unique<CTestApp>(m_Folder.Write("Corvane.GUI.XML", Texts()));
        m_pApp->InitFramework(L"en", L"1033");
    }
    void TearDown() override
    {
        GetWorkerBusyFlag().Release();
        m_pApp->ExitInstance();
        m_pApp.reset();
        GetLanguageSupport().Clear();
    }

    static Registry::CProfileStore Profile() { return {L"Zell Software", kAppName}; }

    ScratchFolder m_Folder;
    std::unique_ptr<CTestApp> m_pApp;
};

}

}  // namespace Corvane
