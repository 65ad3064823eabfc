// The clock page against the simulated device: the device clock shown in
// its local time and zone, each edit written to the device at once, the
// synchronisation with the PC, and the pickers held to what the device's
// 32-bit seconds count.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/SystemTime.h"
#include "Products/Corvane/Pages/Views/ClockPage.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

#include <cstdlib>

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

// 2026-12-09 10:20:30 UTC.
constexpr uint32_t kDeviceSeconds = 1796811630u;

class ClockPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        m_strSavedZone = zone != nullptr ? zone : "";
        m_bHadZone = zone != nullptr;
        // Three and a half hours west of UTC, without daylight saving.
        ::setenv("TZ", "XYZ3:30", 1);
        _tzset();
        GetLanguageSupport().SetText(L"TXT_NOT_AVAILABLE", L"not available");
        m_Rig.ConnectDevice();
        m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) {
            d.clockSeconds = kDeviceSeconds;
            d.zoneMinutes = 60;
            d.daylightSaving = 0;
        });
    }
    void TearDown() override
    {
        if (m_bHadZone)
            ::setenv("TZ", m_strSavedZone.c_str(), 1);
        else
            ::unsetenv("TZ");
        _tzset();
    }

    int ZoneSelection() const
    {
        return static_cast<int>(::SendMessageW(m_Rig.Driver().Control(kDeviceZoneList), CB_GETCURSEL, 0, 0));
    }

    CPageViewRig m_Rig;
    std::string m_strSavedZone;
    bool m_bHadZone = false;
};

}

TEST_F(ClockPage, ShowsTheDeviceClockInItsLocalTimeAndZoneBesideThePcClock)
{
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kDeviceTime), L"11:20:30");
    EXPECT_EQ(driver.Text(kDeviceDate), L"2026-12-09");
    EXPECT_EQ(driver.Text(kDeviceZoneList), L"UTC +01:00");
    EXPECT_TRUE(driver.IsVisible(kDeviceDaylightBox));
    EXPECT_FALSE(driver.IsChecked(kDeviceDaylightBox));
    EXPECT_TRUE(driver.IsEnabled(kSyncButton));
    EXPECT_EQ(driver.Text(kPcZone), L"UTC -03:30") << "hours and minutes with the sign";
    EXPECT_TRUE(page.IsConnectionPrepared());
    SYSTEMTIME picked{};
    ::SendMessageW(driver.Control(kDeviceTimePicker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_EQ(picked.wHour, 10) << "the pickers hold UTC";
    EXPECT_EQ(picked.wMinute, 20);
}

TEST_F(ClockPage, AnUnlistedZoneAndAClockWithoutDaylightSavingShowNothingForThem)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) {
        d.zoneMinutes = 90;
        d.daylightSaving = -1;
    });
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(ZoneSelection(), CB_ERR);
    EXPECT_FALSE(driver.IsVisible(kDeviceDaylightBox));
    EXPECT_EQ(driver.Text(kDeviceDaylightLabel), L"not available");
    EXPECT_EQ(driver.Text(kDeviceTime), L"11:50:30");
}

TEST_F(ClockPage, ChoosingAZoneAndDaylightSavingWritesEachToTheDeviceAtOnce)
{
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ::SetFocus(driver.Control(kDeviceZoneList));
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    DevSim::tDeviceData device = m_Rig.m_Device.Model().Get();
    EXPECT_EQ(device.zoneMinutes, 120);
    EXPECT_EQ(device.clockSeconds, kDeviceSeconds) << "only the zone was written";

    m_Rig.Click(kDeviceDaylightLabel);
    EXPECT_TRUE(driver.IsChecked(kDeviceDaylightBox));
    device = m_Rig.m_Device.Model().Get();
    EXPECT_EQ(device.daylightSaving, 1);
    EXPECT_EQ(device.zoneMinutes, 120);
}

TEST_F(ClockPage, SteppingTheUtcHourWritesTheNewTimeToTheDevice)
{
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ::SetFocus(driver.Control(kDeviceTimePicker));
    driver.Press(VK_UP);
    driver.PumpUntilIdle();
    const DevSim::tDeviceData device = m_Rig.m_Device.Model().Get();
    EXPECT_EQ(device.clockSeconds, kDeviceSeconds + 3600);
    EXPECT_EQ(device.zoneMinutes, 60);
    // The once-a-second reading shows the device's new local time.
    EXPECT_TRUE(driver.PumpUntil([&driver] { return driver.Text(kDeviceTime) == L"12:20:30"; }, 3000))
        << "still " << std::string(driver.Text(kDeviceTime).begin(), driver.Text(kDeviceTime).end());
}

TEST_F(ClockPage, WhileTheCalendarIsOpenTheReadingLeavesTheDateAndTheChosenDayIsWritten)
{
    constexpr uint32_t kDay = 86400;
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ::SetFocus(driver.Control(kDeviceDatePicker));
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.clockSeconds = kDeviceSeconds + 10 * kDay; });
    ASSERT_TRUE(driver.PumpUntil([&driver] { return driver.Text(kDeviceDate) == L"2026-12-19"; }, 3000))
        << "the once-a-second reading goes on";
    SYSTEMTIME picked{};
    ::SendMessageW(driver.Control(kDeviceDatePicker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_EQ(picked.wDay, 9) << "the open calendar's date is the user's";

    driver.Press(VK_RIGHT);
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_Rig.m_Device.Model().Get().clockSeconds, kDeviceSeconds + kDay);
}

TEST_F(ClockPage, AZoneTheDeviceRefusesIsReportedWithItsErrorCode)
{
    GetLanguageSupport().SetText(L"MSG_WRITE_TZ_FAILED_FMT", L"Zone not written (0x%08X)");
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x119] = DevSim::STATUS_REJECTED; });
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    PageViewTest::CMessageBoxCloser closer(m_Rig.m_Host);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ::SetFocus(driver.Control(kDeviceZoneList));
    driver.Press(VK_DOWN);
    driver.PumpUntil([&closer] { return !closer.m_arrBoxes.empty(); });
    ASSERT_EQ(closer.m_arrBoxes.size(), 1u);
    EXPECT_NE(closer.m_arrBoxes[0].find(L"Zone not written (0x20088214)"), std::wstring::npos) << closer.m_arrBoxes[0];
    EXPECT_EQ(m_Rig.m_Device.Model().Get().zoneMinutes, 60);
}

TEST_F(ClockPage, SynchronisingSetsTheDeviceToThePcClockAndZone)
{
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    const __time64_t before = _time64(nullptr);
    m_Rig.Click(kSyncButton);
    const __time64_t after = _time64(nullptr);
    const DevSim::tDeviceData device = m_Rig.m_Device.Model().Get();
    EXPECT_GE(static_cast<__time64_t>(device.clockSeconds), before);
    EXPECT_LE(static_cast<__time64_t>(device.clockSeconds), after);
    EXPECT_EQ(device.zoneMinutes, -210);
    EXPECT_EQ(device.daylightSaving, 0);
    EXPECT_TRUE(m_Rig.Driver().IsEnabled(kDeviceZoneList)) << "the device side is back";
}

TEST_F(ClockPage, ThePickersAreHeldToWhatTheDeviceCounts)
{
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    SYSTEMTIME range[2] = {};
    const DWORD limits =
        static_cast<DWORD>(::SendMessageW(m_Rig.Driver().Control(kDeviceDatePicker), DTM_GETRANGE, 0,
                                          reinterpret_cast<LPARAM>(range)));
    ASSERT_EQ(limits, GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(range[0].wYear, 1970);
    EXPECT_EQ(range[1].wYear, 2106);
    EXPECT_EQ(range[1].wMonth, 2);
    EXPECT_EQ(range[1].wDay, 7);
}

TEST_F(ClockPage, OfflineTheDeviceSideAndTheSynchronisationAreDisabled)
{
    m_Rig.SetOffline(true);
    CDriven<CClockPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_FALSE(driver.IsEnabled(kSyncButton));
    EXPECT_FALSE(driver.IsEnabled(kDeviceZoneList));
    EXPECT_FALSE(driver.IsEnabled(kDeviceDatePicker));
    EXPECT_EQ(driver.Text(kDeviceTime), L"--:--:--");
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
}

}  // namespace Corvane
