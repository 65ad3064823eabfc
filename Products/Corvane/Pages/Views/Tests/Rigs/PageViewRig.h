#pragma once
// The clock, network identification, controller, protocol, memory-card and
// state pages as the main dialog shows them: one page in a sheet inside a
// dialog, over a data set and two guarded device blocks, with a main window
// that answers and notes the pages' registered messages, and, for the pages'
// own device calls, the simulated device over TCP/IP.
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvane {

namespace PageViewTest {

using PageBaseTest::tBalloon;

constexpr char kCouplerArticle[] = "612-001";
constexpr char kControllerArticle[] = "612-8001";
// A coupler and a controller, as the capability file lists them.
constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\n"
                                "[0612-8001]\nFBC=0\nORBIS=32\nSPSCTRL=1\n"
                                "[PROTOCOL]\nHttpPortMin=80\nHttpPortMax=9000\nHttpPortDef=80\n";

// A page as the tests drive it: its range balloons noted instead of shown,
// and the pauses around its connection calls skipped.
template <class TPage>
class CDriven : public TPage {
public:
    std::vector<tBalloon> m_arrBalloons;
    int m_nPauses = 0;

protected:
    void ShowBalloon(const CString& title, const CString& text, UINT ctrlId) override
    {
        m_arrBalloons.push_back({title, text, ctrlId});
    }
    void Pause(DWORD) override { ++m_nPauses; }
};

// Notes the texts of each message box a page shows and ends it with OK, so
// that a page's modal box does not hold the test.
class CMessageBoxCloser {
public:
    // `host` holds the page and is never taken for a box.
    explicit CMessageBoxCloser(const CWnd& host);
    ~CMessageBoxCloser();
    CMessageBoxCloser(const CMessageBoxCloser&) = delete;
    CMessageBoxCloser& operator=(const CMessageBoxCloser&) = delete;

    // The texts of each box's controls, one string per box.
    std::vector<std::wstring> m_arrBoxes;

private:
    bool OnTick();

    const CWnd& m_Host;
    UiTest::Handler m_Handler;
    HWND m_hWindow = nullptr;
};

class CPageViewRig {
public:
    static constexpr std::size_t kBlockWords = 100;
    static constexpr std::size_t kExtraWords = 40;

    CPageViewRig();
    ~CPageViewRig();
    CPageViewRig(const CPageViewRig&) = delete;
    CPageViewRig& operator=(const CPageViewRig&) = delete;

    // Hands the page the data set, the connection, the extra and the device
    // block, as the main dialog does, and shows it as the active page.
    void Show(CCouplerSettingsPageBase& page, bool wideFormat = true, bool controller = false);
    UiTest::CDialogDriver Driver() const { return UiTest::CDialogDriver(m_Host.GetSafeHwnd()); }
    // The simulated device and a connection and service to it (not opened).
    void ConnectDevice();
    // Offline configuration as the main window answers it.
    void SetOffline(bool offline);
    int Changes() const { return m_Main.Count(m_Main.Ids().FbcSettingsChanged); }
    // Sets the edit's text as typing does (one change notification).
    void Replace(int id, const std::wstring& text);
    // Clicks and waits until the click has been handled.
    void Click(int id);
    // The words that differ from `before`, by index.
    std::vector<std::size_t> ChangedWords(const std::vector<WORD>& before) const;
    std::vector<WORD> Words() const;
    // Paints the whole host again, as uncovering it does, and compares its
    // picture with the golden one of that name in `goldenFolder`.
    // The ids of the page's shown controls that reach out of the page area
    // the main dialog's sheet gives every page.
    static std::vector<int> ControlsOutsidePageArea(CWnd& page);
    ::testing::AssertionResult LooksAsGolden(const std::string& name, const std::string& goldenFolder) const;

    CCorvaneApp m_App{L"PageViewTests"};
    PageBaseTest::CMainWindow m_Main;
    CFBCData m_data;
    CGuardedBlock m_Block{kBlockWords};
    CGuardedBlock m_Extra{kExtraWords};
    DevSim::CDeviceSimulator m_Device;
    std::unique_ptr<ZELL::CTCPIPConnection> m_pConnection;
    std::unique_ptr<CTCPIPService> m_pService;
    PageBaseTest::CHostDialog m_Host;

private:
    CCapabilityFileFixture m_Files;
    std::vector<BYTE> m_arrHostImage;
    bool m_bSockets = false;
};

}

}  // namespace Corvane
