// The remembered dialog placement, on one monitor and on two where the
// second lies left of and above the first (negative coordinates), and the
// sub-forms that share one placeholder of their dialog.
#include "Common/Skin/PersistentDialog.h"
#include "Common/Skin/SubFormCollection.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/Tests/TemplateItems.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <vector>

using namespace ZELL::Skin;

using UiTest::Headless;

namespace {

constexpr int kPersistentTemplate = 7301;
constexpr int kHostTemplate = 7302;
constexpr int kFirstFormTemplate = 7303;
constexpr int kSecondFormTemplate = 7304;
constexpr int kMissingTemplate = 7399;
constexpr int kPlaceholder = 7311;
constexpr int kShowFirst = 7312;
constexpr int kShowSecond = 7313;
constexpr int kFirstEdit = 7321;
constexpr int kSecondEdit = 7322;

std::vector<BYTE> PersistentTemplate()
{
    return ControlTest::DialogImage(L"Persistent", 160, 90, {ControlTest::Button(L"OK", IDOK, BS_DEFPUSHBUTTON, 50, 60, 50, 14)},
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
}

std::vector<BYTE> HostTemplate()
{
    return ControlTest::DialogImage(L"Host", 240, 160,
                                    {ControlTest::Static(L"", SS_ETCHEDFRAME, 10, 10, 200, 100, kPlaceholder),
                                     ControlTest::Button(L"First", kShowFirst, BS_PUSHBUTTON, 10, 130, 50, 14),
                                     ControlTest::Button(L"Second", kShowSecond, BS_PUSHBUTTON, 70, 130, 50, 14)},
                                    WS_POPUP | WS_CAPTION | WS_VISIBLE);
}

// The second form's template puts it elsewhere in the parent: it must land
// on the placeholder all the same.
std::vector<BYTE> FormTemplate(int editId, short x, short y)
{
    Ui::CDialogTemplate form;
    form.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    form.pointSize = 8;
    form.faceName = L"MS Shell Dlg";
    form.x = x;
    form.y = y;
    form.cx = 120;
    form.cy = 50;
    form.items = {ControlTest::Predefined(Ui::kClassEdit, editId, WS_BORDER | WS_TABSTOP, 5, 5, 80, 12)};
    return form.ToImage();
}

using namespace Ui::Res;
const Data kPersistent{RT_DIALOG, kPersistentTemplate, LANG_NEUTRAL, {}, &PersistentTemplate};
const Data kHost{RT_DIALOG, kHostTemplate, LANG_NEUTRAL, {}, &HostTemplate};
const Data kFirstForm{RT_DIALOG, kFirstFormTemplate, LANG_NEUTRAL, {}, [] { return FormTemplate(kFirstEdit, 0, 0); }};
const Data kSecondForm{RT_DIALOG, kSecondFormTemplate, LANG_NEUTRAL, {}, [] { return FormTemplate(kSecondEdit, 30, 20); }};
const ResourceTable kTable{.data = {&kPersistent, &kHost, &kFirstForm, &kSecondForm}};
const Registration kRegistration{kTable};

Display::MonitorDesc Monitor(RECT area, bool primary, const wchar_t* name)
{
    Display::MonitorDesc monitor;
    monitor.monitor = area;
    monitor.work = area;
    monitor.primary = primary;
    monitor.name = name;
    return monitor;
}

// An application with a profile of its own, and a monitor layout for the test.
class PersistentDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        m_app.SetRegistryKey(L"Zell Tests");
        m_app.WriteProfileString(CPersistentDialog::kSection, nullptr, nullptr);
    }
    void TearDown() override { Headless().SetMonitors(m_savedMonitors); }

    static void OneScreen() { Headless().SetMonitors({Monitor({0, 0, 1920, 1080}, true, L"MAIN")}); }
    static void TwoScreens()
    {
        Headless().SetMonitors(
            {Monitor({0, 0, 1920, 1080}, true, L"MAIN"), Monitor({-1280, -200, 0, 824}, false, L"LEFT")});
    }
    void Store(const wchar_t* rect) { m_app.WriteProfileString(CPersistentDialog::kSection, L"Rect", rect); }
    CString Stored(const wchar_t* entry) const
    {
        return m_app.GetProfileString(CPersistentDialog::kSection, entry, L"<none>");
    }
    int StoredInt(const wchar_t* entry) const
    {
        return static_cast<int>(m_app.GetProfileInt(CPersistentDialog::kSection, entry, -1));
    }

    // Where the dialog opens with what the profile holds now.
    RECT OpenAndClose()
    {
        CPersistentDialog dialog(kPersistentTemplate);
        EXPECT_TRUE(dialog.Create(kPersistentTemplate));
        UiTest::CDialogDriver(dialog.m_hWnd).PumpUntilIdle();
        RECT place{};
        dialog.GetWindowRect(&place);
        dialog.DestroyWindow();
        return place;
    }
    // Where a centred dialog of the template stands.
    RECT Centred()
    {
        Store(L"");
        return OpenAndClose();
    }

    std::vector<Display::MonitorDesc> m_savedMonitors = Headless().Monitors();
    CWinApp m_app{L"Persistent Dialog Tests"};
};

}

TEST_F(PersistentDialog, PlacementTextIsReadAsBlankSeparatedNumbers)
{
    RECT read{};
    ASSERT_TRUE(CPersistentDialog::ParsePlacement(L"-1000 0100 -0600 0400", read));
    EXPECT_EQ(read.left, -1000);
    EXPECT_EQ(read.top, 100);
    EXPECT_EQ(read.bottom, 400);
    ASSERT_TRUE(CPersistentDialog::ParsePlacement(L"-12345 0007 0100 0200", read));
    EXPECT_EQ(read.left, -12345);
    EXPECT_EQ(read.top, 7) << "a wider first number does not shift the second";
    ASSERT_TRUE(CPersistentDialog::ParsePlacement(L"123456 -005 0100 0200", read));
    EXPECT_EQ(read.top, -5);

    for (const wchar_t* bad : {L"", L"0100 0200 0300", L"left top right bottom", L"99999999999 1 2 3", L"1,2,3,4"})
        EXPECT_FALSE(CPersistentDialog::ParsePlacement(bad, read)) << bad;

    const RECT written{-1000, -5, 12345, 7};
    EXPECT_EQ(CPersistentDialog::FormatPlacement(written), CString(L"-1000 -005 12345 0007"));
    ASSERT_TRUE(CPersistentDialog::ParsePlacement(CPersistentDialog::FormatPlacement(written), read));
    EXPECT_EQ(read.left, written.left);
    EXPECT_EQ(read.top, written.top);
    EXPECT_EQ(read.right, written.right);
    EXPECT_EQ(read.bottom, written.bottom);
}

TEST_F(PersistentDialog, ReopensWhereItStoodOrCentredWhenThatIsOffTheScreen)
{
    OneScreen();
    const RECT centred = Centred();
    const int width = centred.right - centred.left;
    const int height = centred.bottom - centred.top;

    Store(L"1800 0300 2000 0500");
    RECT place = OpenAndClose();
    EXPECT_EQ(place.left, std::min(1800, 1920 - width)) << "moved in only as far as the whole window shows";
    EXPECT_EQ(place.top, 300);
    EXPECT_EQ(place.right - place.left, width) << "the template's size stays";
    EXPECT_EQ(place.bottom - place.top, height);

    // Too little of it would show, or nothing usable was stored.
    for (const wchar_t* stored : {L"1900 0300 2100 0500", L"0000 0000 0000 0000", L"garbage", L"0100 1000 0300 1200",
                                  L"-5000 0100 -4800 0300", L"0100 -4000 0300 -3800"}) {
        Store(stored);
        place = OpenAndClose();
        EXPECT_EQ(place.left, centred.left) << stored;
        EXPECT_EQ(place.top, centred.top) << stored;
    }
}

// A place remembered from another screen or scale that would leave part of
// the window off the work area (under a panel, below the screen's edge) is
// moved until the whole window shows.
TEST_F(PersistentDialog, AWindowHangingOffTheWorkAreaIsMovedInWhole)
{
    Display::MonitorDesc panelled = Monitor({0, 0, 1920, 1080}, true, L"MAIN");
    panelled.work = {0, 30, 1920, 1040};
    Headless().SetMonitors({panelled});
    const RECT centred = Centred();
    const int width = centred.right - centred.left;
    const int height = centred.bottom - centred.top;
    ASSERT_LT(height, 900);
    const struct {
        const wchar_t* stored;
        LONG left, top;
    } cases[] = {
        {L"0100 0950 0300 1150", 100, 1040 - height},  // below the panel at the foot
        {L"0100 0010 0300 0210", 100, 30},             // under the panel at the top
        {L"1800 0500 2000 0700", std::min(1800, 1920 - width), 500},  // over the right edge
        {L"0200 0300 0400 0500", 200, 300},            // whole already
    };
    for (const auto& c : cases) {
        Store(c.stored);
        const RECT place = OpenAndClose();
        EXPECT_EQ(place.left, c.left) << c.stored;
        EXPECT_EQ(place.top, c.top) << c.stored;
        EXPECT_EQ(place.bottom - place.top, height) << c.stored;
    }
}

TEST_F(PersistentDialog, ReopensOnTheMonitorLeftOfThePrimary)
{
    TwoScreens();
    Store(L"-1000 0100 -0600 0400");
    RECT place = OpenAndClose();
    EXPECT_EQ(place.left, -1000);
    EXPECT_EQ(place.top, 100);

    Store(L"-1200 -0150 -0900 0100");
    place = OpenAndClose();
    EXPECT_EQ(place.left, -1200);
    EXPECT_EQ(place.top, -150);

    // Right of the primary is no monitor, however wide the desktop is.
    const RECT centred = Centred();
    Store(L"2500 0100 2800 0300");
    place = OpenAndClose();
    EXPECT_EQ(place.left, centred.left);
    EXPECT_EQ(place.top, centred.top);
}

TEST_F(PersistentDialog, StoresThePlacementWhenSizedMinimisedAndClosed)
{
    TwoScreens();
    Store(L"-1000 0100 -0600 0400");
    {
        CPersistentDialog dialog(kPersistentTemplate);
        ASSERT_TRUE(dialog.Create(kPersistentTemplate));
        UiTest::CDialogDriver driver(dialog.m_hWnd);
        driver.PumpUntilIdle();
        EXPECT_EQ(Stored(L"Rect"), CString(L"-1000 0100 -0600 0400")) << "opening leaves the stored place alone";

        dialog.MoveWindow(-900, 50, 400, 300);
        driver.PumpUntilIdle();
        EXPECT_EQ(Stored(L"Rect"), CString(L"-900 0050 -500 0350"));
        EXPECT_EQ(StoredInt(L"icon"), 0);
        EXPECT_EQ(StoredInt(L"max"), 0);

        dialog.ShowWindow(SW_MINIMIZE);
        driver.PumpUntilIdle();
        EXPECT_EQ(StoredInt(L"icon"), 1);
        EXPECT_EQ(StoredInt(L"max"), 0);
        EXPECT_EQ(Stored(L"Rect"), CString(L"-900 0050 -500 0350")) << "the normal rectangle, not the icon's";

        dialog.ShowWindow(SW_RESTORE);
        dialog.MoveWindow(-800, 60, 400, 300);
        dialog.DestroyWindow();
    }
    EXPECT_EQ(Stored(L"Rect"), CString(L"-800 0060 -400 0360"));
    EXPECT_EQ(StoredInt(L"icon"), 0);

    const RECT place = OpenAndClose();
    EXPECT_EQ(place.left, -800);
    EXPECT_EQ(place.top, 60);
}

namespace {

// A dialog whose two sub-forms share the placeholder; its buttons switch them.
class CHost : public CDialog {
public:
    explicit CHost(BYTE centre) : CDialog(kHostTemplate) { m_forms.m_centre = centre; }

    CSubFormCollection m_forms;
    bool m_created = false;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItem(kPlaceholder)->GetWindowRect(&m_forms.m_placeholder);
        m_created = m_forms.CreateSubForm(kFirstFormTemplate, this) &&
                    m_forms.CreateSubForm(new CDialog(kSecondFormTemplate, this), kSecondFormTemplate, this);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kShowFirst || LOWORD(wParam) == kShowSecond) {
            m_forms.ShowSubForm(LOWORD(wParam) == kShowFirst ? 0 : 1);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

RECT ScreenRect(CWnd* window)
{
    RECT r{};
    window->GetWindowRect(&r);
    return r;
}

}

TEST(SubFormCollection, FormsLieOnThePlaceholderAndTheButtonsSwitchThem)
{
    ZELL::Controls::RegisterStandardControls();
    CHost host(0);
    ASSERT_TRUE(host.Create(kHostTemplate));
    ASSERT_TRUE(host.m_created);
    UiTest::CDialogDriver driver(host.m_hWnd);
    driver.PumpUntilIdle();
    CSubFormCollection& forms = host.m_forms;
    ASSERT_EQ(forms.GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const RECT r = ScreenRect(forms.GetSubForm(i));
        EXPECT_EQ(r.left, forms.m_placeholder.left) << i;
        EXPECT_EQ(r.top, forms.m_placeholder.top) << i;
    }
    EXPECT_FALSE(driver.IsVisible(kFirstEdit));
    EXPECT_FALSE(driver.IsVisible(kSecondEdit));

    // A fresh collection shows its first form for -1; an index past the end changes nothing.
    EXPECT_TRUE(forms.ShowSubForm(-1));
    EXPECT_EQ(forms.GetCurrent(), 0);
    EXPECT_TRUE(driver.IsVisible(kFirstEdit));
    EXPECT_FALSE(forms.ShowSubForm(2));
    EXPECT_EQ(forms.GetCurrent(), 0);
    EXPECT_TRUE(driver.IsVisible(kFirstEdit));

    ASSERT_TRUE(driver.Click(kShowSecond));
    driver.PumpUntilIdle();
    EXPECT_EQ(forms.GetCurrent(), 1);
    EXPECT_FALSE(driver.IsVisible(kFirstEdit));
    EXPECT_TRUE(driver.IsVisible(kSecondEdit));
    EXPECT_TRUE(driver.TypeInto(kSecondEdit, L"10 0 0 1"));
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Text(kSecondEdit), L"10 0 0 1");

    ASSERT_TRUE(driver.Click(kShowFirst));
    driver.PumpUntilIdle();
    EXPECT_TRUE(driver.IsVisible(kFirstEdit));
    EXPECT_FALSE(driver.IsVisible(kSecondEdit));

    // SetCurrent moves the mark only; -2 is a caller's mistake.
    EXPECT_TRUE(forms.SetCurrent(1));
    EXPECT_FALSE(forms.SetCurrent(2));
    EXPECT_TRUE(driver.IsVisible(kFirstEdit));
    EXPECT_FALSE(driver.IsVisible(kSecondEdit));
    for (int wrong : {-2, -100}) {
        bool thrown = false;
        try {
            forms.ShowSubForm(wrong);
        } catch (CInvalidArgException* error) {
            thrown = true;
            error->Delete();
        }
        EXPECT_TRUE(thrown) << wrong;
    }
    host.DestroyWindow();
}

TEST(SubFormCollection, CentredFormsSitInTheMiddleOfThePlaceholder)
{
    ZELL::Controls::RegisterStandardControls();
    CHost host(1);
    ASSERT_TRUE(host.Create(kHostTemplate));
    ASSERT_TRUE(host.m_created);
    const RECT p = host.m_forms.m_placeholder;
    for (int i = 0; i < 2; ++i) {
        const RECT r = ScreenRect(host.m_forms.GetSubForm(i));
        EXPECT_EQ(r.left, p.left + ((p.right - p.left) - (r.right - r.left)) / 2) << i;
        EXPECT_EQ(r.top, p.top + ((p.bottom - p.top) - (r.bottom - r.top)) / 2) << i;
    }
    host.DestroyWindow();
}

TEST(SubFormCollection, FormsThatCannotBeMadeAreNotKept)
{
    ZELL::Controls::RegisterStandardControls();
    CHost host(0);
    ASSERT_TRUE(host.Create(kHostTemplate));
    CSubFormCollection forms;
    EXPECT_FALSE(forms.ShowSubForm(-1)) << "nothing to show";
    EXPECT_FALSE(forms.CreateSubForm(nullptr, kFirstFormTemplate, &host));
    EXPECT_FALSE(forms.CreateSubForm(kMissingTemplate, &host));
    EXPECT_EQ(forms.GetCount(), 0);
    EXPECT_TRUE(forms.CreateSubForm(kFirstFormTemplate, &host));
    // A form whose window went away cannot be hidden or shown.
    ASSERT_TRUE(forms.ShowSubForm(0));
    forms.GetSubForm(0)->DestroyWindow();
    EXPECT_FALSE(forms.ShowSubForm(0));
    EXPECT_FALSE(forms.ShowSubForm(-1));
    host.DestroyWindow();
}
