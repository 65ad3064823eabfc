// Every page of the main dialog as a user sees it after reading a coupler
// and a controller, against its golden picture, each control whole inside
// its page and each grid without scroll bars. The clock page shows the
// running PC clock: it is drawn but has no golden picture.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Common/Grid/ZellGrid.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <unistd.h>

namespace Corvane {

using namespace EndToEnd;
using namespace ZELL::Grid;

namespace {

class CorvanePageScreenshots : public EndToEndTestBase, public ::testing::WithParamInterface<bool> {
protected:
    bool Controller() const { return GetParam(); }
    std::string Prefix() const { return Controller() ? "Controller-" : "Coupler-"; }
};

// The shown controls of the page that lie partly outside it, and its grids
// that need a scroll bar or leave the page's width unused.
std::vector<std::wstring> LayoutFaults(HWND page)
{
    std::vector<std::wstring> faults;
    RECT area{};
    ::GetClientRect(page, &area);
    for (HWND control = ::GetWindow(page, GW_CHILD); control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(control))
            continue;
        RECT bounds{};
        ::GetWindowRect(control, &bounds);
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bounds), 2);
        RECT inside{};
        ::IntersectRect(&inside, &bounds, &area);
        const std::wstring id = std::to_wstring(::GetDlgCtrlID(control));
        if (!::EqualRect(&inside, &bounds))
            faults.push_back(id + L" outside the page");
        if (dynamic_cast<CZellGrid*>(CWnd::FromHandlePermanent(control)) == nullptr)
            continue;
        if ((::GetWindowLongPtrW(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0)
            faults.push_back(id + L" grid scrolls");
        if (area.right - bounds.right > bounds.left)
            faults.push_back(id + L" grid leaves the page's width unused");
    }
    return faults;
}

TEST_P(CorvanePageScreenshots, EveryPageAfterAReadLooksAsItsGoldenPicture)
{
    DevSim::CDeviceSimulator device;
    device.Model().Update(Controller() ? FillController : FillCoupler);
    ASSERT_TRUE(device.Start()) << device.LastError();
    std::vector<std::wstring> drawn;
    const tRunResult run = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        for (const std::wstring& name : ShownPages(dialog)) {
            ASSERT_TRUE(VisitPage(dialog, driver, name));
            ::UpdateWindow(driver.Dialog());
            driver.PumpUntilIdle();
            EXPECT_EQ(LayoutFaults(dialog.ActivePage()->GetSafeHwnd()), std::vector<std::wstring>{}) << name;
            const std::string key = Prefix() + std::string(name.begin(), name.end());
            const std::string png =
                (m_Files.Path() / (key + "-" + std::to_string(::getpid()) + ".png")).string();
            ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(driver.Dialog()), png));
            if (name != L"CLOCK") {
                EXPECT_TRUE(UiTest::MatchesGolden(png, key, CORVANE_GOLDEN_DIR));
            }
            drawn.push_back(name);
        }
    });
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_EQ(drawn.size(), Controller() ? 11u : 10u) << "every page of the device was drawn";
    device.Stop();
}

INSTANTIATE_TEST_SUITE_P(Devices, CorvanePageScreenshots, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Controller" : "Coupler";
                         });

}

}  // namespace Corvane
