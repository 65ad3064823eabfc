#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Products/Corvane/Pages/Views/Res/PageTemplate.h"

#include <filesystem>
#include <unistd.h>

namespace Corvane {

namespace PageViewTest {

namespace {

std::vector<BYTE> HostImage()
{
    return ControlTest::DialogImage(
        L"Host", 300, 276,
        {PageBaseTest::Placeholder(5, 5, 290, 256),
         ControlTest::Button(L"OK", IDOK, BS_PUSHBUTTON, 240, 260, 50, 14)},
        WS_POPUP | WS_CAPTION | WS_VISIBLE);
}

}

CMessageBoxCloser::CMessageBoxCloser(const CWnd& host) : m_Host(host)
{
    constexpr UINT_PTR kTick = 1;
    m_Handler.m_onMessage = [this](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        return message == WM_TIMER && OnTick();
    };
    m_hWindow = UiTest::Create(&m_Handler, WS_POPUP, 0, 0, 10, 10);
    ::SetTimer(m_hWindow, kTick, 20, nullptr);
}

CMessageBoxCloser::~CMessageBoxCloser()
{
    ::DestroyWindow(m_hWindow);
}

bool CMessageBoxCloser::OnTick()
{
    // A modal box is the active dialog while it runs.
    HWND box = ::GetActiveWindow();
    wchar_t className[32] = {};
    if (box == nullptr || box == m_Host.GetSafeHwnd() || ::GetClassNameW(box, className, 32) == 0 ||
        std::wstring(className) != L"#32770")
        return true;
    std::wstring texts;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        texts += UiTest::TextOf(child) + L'|';
    m_arrBoxes.push_back(texts);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
}

CPageViewRig::CPageViewRig()
{
    ZELL::Controls::RegisterStandardControls();
    m_App.DeviceIni() = CCorvaneDeviceIni(CString(m_Files.Write(kCapabilities).GetIniPath()));
    m_App.m_pMainWnd = CWnd::FromHandlePermanent(m_Main.Handle());
    m_data.ArticleNo = CString(kCouplerArticle);
    m_data.SetEthernetPortCount(1);
}

CPageViewRig::~CPageViewRig()
{
    if (m_Host.GetSafeHwnd())
        m_Host.DestroyWindow();
    UiTest::Drain();
    m_App.m_pMainWnd = nullptr;
    CCouplerSettingsPageBase::SetPagesSuspended(true);
    m_pService.reset();
    if (m_pConnection && m_pConnection->IsOpen())
        m_pConnection->Close();
    m_pConnection.reset();
    m_Device.Stop();
    if (m_bSockets)
        WSACleanup();
}

void CPageViewRig::ConnectDevice()
{
    WSADATA winsock{};
    m_bSockets = WSAStartup(MAKEWORD(2, 2), &winsock) == 0;
    ASSERT_TRUE(m_bSockets);
    ASSERT_TRUE(m_Device.Start()) << m_Device.LastError();
    m_pConnection = std::make_unique<ZELL::CTCPIPConnection>();
    ASSERT_TRUE(m_pConnection->SetSettingsXML(
        FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
                L"ReceiveTimeoutSeconds='2' CloseWaitTime='0'/>",
                unsigned{m_Device.Port()})));
    m_pService = std::make_unique<CTCPIPService>(m_pConnection.get());
}

void CPageViewRig::SetOffline(bool offline)
{
    m_Main.Answer(m_Main.Ids().IsOfflineConfig, offline ? 1 : 0);
}

void CPageViewRig::Show(CCouplerSettingsPageBase& page, bool wideFormat, bool controller)
{
    page.SetDeviceData(&m_data);
    page.SetConnection(m_pConnection.get(), m_pService.get());
    page.AttachExtraData(&m_Extra[0], static_cast<unsigned>(kExtraWords), wideFormat, controller);
    page.AttachDeviceData(&m_Block[0], static_cast<unsigned>(kBlockWords), wideFormat, controller);
    page.SetInSheet(true);
    m_Host.m_arrPages = {&page};
    m_arrHostImage = HostImage();
    ASSERT_TRUE(m_Host.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrHostImage.data())));
    CCouplerSettingsPageBase::SetPagesSuspended(false);
    page.RefreshView();
    Driver().PumpUntilIdle();
}

void CPageViewRig::Replace(int id, const std::wstring& text)
{
    ::SetWindowTextW(Driver().Control(id), text.c_str());
    Driver().PumpUntilIdle();
}

void CPageViewRig::Click(int id)
{
    UiTest::CDialogDriver driver = Driver();
    ASSERT_TRUE(driver.Click(id));
    driver.PumpUntilIdle();
}

std::vector<WORD> CPageViewRig::Words() const
{
    std::vector<WORD> words;
    for (std::size_t i = 0; i < kBlockWords; ++i)
        words.push_back(m_Block[i]);
    return words;
}

std::vector<std::size_t> CPageViewRig::ChangedWords(const std::vector<WORD>& before) const
{
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < kBlockWords; ++i)
        if (m_Block[i] != before[i])
            changed.push_back(i);
    EXPECT_TRUE(m_Block.GuardIntact()) << "a word past the block was written";
    return changed;
}

std::vector<int> CPageViewRig::ControlsOutsidePageArea(CWnd& page)
{
    // The page as the sheet gives it, at least the pages' template size
    // (grids take what lies beyond).
    CRect least(0, 0, CPageTemplate::kWidth, CPageTemplate::kHeight);
    ::MapDialogRect(page.GetSafeHwnd(), least);
    CRect area;
    page.GetClientRect(area);
    EXPECT_GE(area.Width(), least.Width());
    EXPECT_GE(area.Height(), least.Height());
    std::vector<int> outside;
    for (CWnd* control = page.GetWindow(GW_CHILD); control != nullptr; control = control->GetWindow(GW_HWNDNEXT)) {
        if (!control->IsWindowVisible())
            continue;
        CRect bounds;
        control->GetWindowRect(bounds);
        page.ScreenToClient(bounds);
        CRect inside;
        inside.IntersectRect(bounds, area);
        if (inside != bounds)
            outside.push_back(control->GetDlgCtrlID());
    }
    return outside;
}

::testing::AssertionResult CPageViewRig::LooksAsGolden(const std::string& name, const std::string& goldenFolder) const
{
    HWND host = m_Host.GetSafeHwnd();
    ::RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Driver().PumpUntilIdle();
    const std::filesystem::path png =
        std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".png");
    if (!UiTest::Headless().SaveAsPng(NativeWindowOf(host), png.string()))
        return ::testing::AssertionFailure() << "the host's picture was not saved";
    ::testing::AssertionResult same = UiTest::MatchesGolden(png.string(), name, goldenFolder);
    std::filesystem::remove(png);
    return same;
}

}

}  // namespace Corvane
