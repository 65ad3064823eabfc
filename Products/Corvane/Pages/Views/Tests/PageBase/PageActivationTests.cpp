// A page in the sheet: what entering and leaving it does to its controls,
// its device block and the main window, and the balloon that keeps it.
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/EditStyles.h"

#include <gtest/gtest.h>

namespace Corvane {

using namespace PageBaseTest;
using namespace ZELL::Skin;

namespace {

class PageActivation : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TXT_FIRST", L"Watchdog time");
        GetLanguageSupport().SetText(L"ERROR_OUT_OF_RANGE_DEZ", L"Enter a value from %d to %d.");
        GetLanguageSupport().SetText(L"ERROR_OUT_OF_RANGE_HEX", L"Enter a value from 0x%X to 0x%X.");
    }
    void TearDown() override { CCouplerSettingsPageBase::SetPagesSuspended(true); }

    std::pair<int, int> Selection(int id) const
    {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(m_Rig.Driver().Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    CPageRig m_Rig;
};

}

TEST_F(PageActivation, EnteringLoadsTheBlockAndShowsItWithoutBalloonsEvenOutOfRange)
{
    m_Rig.m_arrWords[0] = 500;
    m_Rig.Show();
    const UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kDecimalField), L"500");
    EXPECT_EQ(driver.Text(kHexField), L"0x17");
    EXPECT_TRUE(m_Rig.m_pPage->IsActive());
    EXPECT_TRUE(m_Rig.m_pPage->m_arrBalloons.empty()) << "a device value is shown, not refused";
    EXPECT_EQ(m_Rig.m_Main.Count(m_Rig.m_Main.Ids().FbcSettingsChanged), 0)
        << "the page's own refresh is not a change of the user";
}

TEST_F(PageActivation, LeavingStoresOnlyTheOwnedBitsAndTypingReportsChanges)
{
    m_Rig.Show();
    m_Rig.Replace(kDecimalField, L"77");
    m_Rig.Replace(kHexField, L"0x5C");
    EXPECT_GE(m_Rig.m_Main.Count(m_Rig.m_Main.Ids().FbcSettingsChanged), 2);
    EXPECT_EQ(m_Rig.m_Main.WParams(m_Rig.m_Main.Ids().FbcSettingsChanged).front(), 1u);

    ASSERT_TRUE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.m_arrWords[0], 77);
    EXPECT_EQ(m_Rig.m_arrWords[1], 0xAB5C) << "the high byte of the shared word is kept";
    EXPECT_EQ(m_Rig.m_arrWords[2], 7);
    EXPECT_FALSE(m_Rig.m_pPage->IsActive());
    EXPECT_TRUE(m_Rig.m_pOther->IsActive());
}

TEST_F(PageActivation, AValueOutOfRangeKeepsThePageWithOneBalloonAtTheSelectedField)
{
    m_Rig.Show();
    m_Rig.Replace(kDecimalField, L"101");
    m_Rig.Replace(kHexField, L"0x1FF");
    EXPECT_FALSE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.ActiveIndex(), 0);
    ASSERT_EQ(m_Rig.m_pPage->m_arrBalloons.size(), 1u) << "the checks stop at the first failure";
    const tBalloon& balloon = m_Rig.m_pPage->m_arrBalloons.front();
    EXPECT_EQ(balloon.title, L"Watchdog time");
    EXPECT_EQ(balloon.text, L"Enter a value from 1 to 100.");
    EXPECT_EQ(balloon.field, static_cast<UINT>(kDecimalField));
    EXPECT_EQ(m_Rig.Driver().FocusId(), kDecimalField);
    EXPECT_EQ(Selection(kDecimalField), std::make_pair(0, 3));
    EXPECT_EQ(m_Rig.m_arrWords[0], 42) << "nothing is stored";
}

TEST_F(PageActivation, AHexadecimalFieldIsReadInBase16AndALoneZeroXCountsAsZero)
{
    m_Rig.Show();
    m_Rig.Replace(kHexField, L"0x");
    EXPECT_TRUE(m_Rig.m_pPage->ValidateAll());
    m_Rig.Replace(kHexField, L"100");
    EXPECT_FALSE(m_Rig.m_pPage->ValidateAll());
    ASSERT_EQ(m_Rig.m_pPage->m_arrBalloons.size(), 1u);
    EXPECT_EQ(m_Rig.m_pPage->m_arrBalloons[0].text, L"Enter a value from 0x0 to 0xFF.");

    // "0x" is 0, which is below this field's minimum.
    m_Rig.Replace(kDecimalField, L"0x");
    EXPECT_FALSE(m_Rig.m_pPage->ValidateAll());
    m_Rig.Replace(kDecimalField, L"zwei");
    EXPECT_FALSE(m_Rig.m_pPage->ValidateAll()) << "text that is no number always fails";
    EXPECT_EQ(m_Rig.m_pPage->m_arrBalloons.size(), 3u);
}

TEST_F(PageActivation, AFailedStoreKeepsThePageSoTheEditsAreNotLost)
{
    m_Rig.Show();
    m_Rig.Replace(kDecimalField, L"55");
    m_Rig.m_pPage->m_bStoreResult = false;
    EXPECT_FALSE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.ActiveIndex(), 0);
    EXPECT_TRUE(m_Rig.m_pPage->IsActive());
    EXPECT_EQ(m_Rig.Driver().Text(kDecimalField), L"55");

    m_Rig.m_pPage->m_bStoreResult = true;
    EXPECT_TRUE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.m_arrWords[0], 55);
}

TEST_F(PageActivation, APageOutsideTheSheetRefusesToBeEnteredAndStoresNothing)
{
    m_Rig.Show();
    m_Rig.m_pOther->SetInSheet(false);
    EXPECT_FALSE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.ActiveIndex(), 0);
    const int stores = m_Rig.m_pOther->m_nStores;
    EXPECT_TRUE(m_Rig.m_pOther->StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_pOther->m_nStores, stores);
}

TEST_F(PageActivation, WhileSuspendedNothingIsShownReadOrReportedAndChecksUseTheMembers)
{
    m_Rig.Show();
    CCouplerSettingsPageBase::SetPagesSuspended(true);
    m_Rig.m_arrWords[0] = 9;
    m_Rig.m_pPage->AttachDeviceData(m_Rig.m_arrWords.data(), 4, 0, 0);
    EXPECT_FALSE(m_Rig.m_pPage->RefreshView());
    EXPECT_EQ(m_Rig.Driver().Text(kDecimalField), L"42");
    m_Rig.Replace(kDecimalField, L"500");
    EXPECT_FALSE(m_Rig.m_pPage->ApplyView());
    EXPECT_EQ(m_Rig.m_pPage->m_nDecimal, 9);
    EXPECT_EQ(m_Rig.m_Main.Count(m_Rig.m_Main.Ids().FbcSettingsChanged), 0);
    EXPECT_TRUE(m_Rig.m_pPage->ValidateAll()) << "the member 9 is in range, whatever the field shows";
    m_Rig.m_pPage->m_nDecimal = 0;
    EXPECT_FALSE(m_Rig.m_pPage->ValidateAll());
    EXPECT_TRUE(m_Rig.m_pPage->m_arrBalloons.empty());
}

TEST_F(PageActivation, TextsOfAnInactivePageWaitForItsNextActivation)
{
    m_Rig.Show();
    EXPECT_FALSE(m_Rig.m_pPage->UpdateLanguageTexts()) << "the active page reloads at once";
    EXPECT_EQ(m_Rig.m_pPage->m_nTextUpdates, 1);
    EXPECT_TRUE(m_Rig.m_pOther->UpdateLanguageTexts());
    EXPECT_EQ(m_Rig.m_pOther->m_nTextUpdates, 0);
    ASSERT_TRUE(m_Rig.SwitchTo(1));
    EXPECT_EQ(m_Rig.m_pOther->m_nTextUpdates, 1);
    EXPECT_FALSE(m_Rig.m_pOther->AreTextsPending());
    EXPECT_TRUE(m_Rig.m_pPage->UpdateLanguageTexts()) << "the page left waits now";
}

TEST_F(PageActivation, APageWhoseWindowWentIsNoLongerTheShownOne)
{
    m_Rig.Show();
    ASSERT_TRUE(m_Rig.m_pPage->IsActive());
    m_Rig.m_pPage->DestroyWindow();
    EXPECT_FALSE(m_Rig.m_pPage->IsActive());
    EXPECT_TRUE(m_Rig.m_pPage->UpdateLanguageTexts()) << "its texts wait for its next showing";
}

// A tip on screen when its page is replaced (a failed read takes the pages
// away) goes with the page.
TEST_F(PageActivation, ATipShownGoesWithItsPage)
{
    m_Rig.Show();
    CSuperTooltip* tip = m_Rig.m_pPage->m_Tooltip.Tooltip();
    ASSERT_NE(tip, nullptr);
    const HWND window = tip->GetSafeHwnd();
    RECT field{};
    ::GetWindowRect(m_Rig.Driver().Control(kDecimalField), &field);
    tip->ShowHelpTip(POINT{field.left, field.bottom}, std::wstring(L"Fixed terminal bus speed"));
    m_Rig.Driver().PumpUntilIdle();
    ASSERT_TRUE(::IsWindowVisible(window));
    m_Rig.m_pPage->DestroyWindow();
    UiTest::CDialogDriver(nullptr).PumpUntilIdle();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(m_Rig.m_pPage->m_Tooltip.Tooltip(), nullptr);
}

TEST_F(PageActivation, KeysGoToTheMainWindowsShortcutsFirst)
{
    m_Rig.Show();
    const UINT shortcuts = m_Rig.m_Main.Ids().EvaluateShortcuts;
    MSG key{m_Rig.Driver().Control(kDecimalField), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_FALSE(m_Rig.m_pPage->PreTranslateMessage(&key));
    m_Rig.m_Main.Answer(shortcuts, 1);
    EXPECT_TRUE(m_Rig.m_pPage->PreTranslateMessage(&key));
    const std::vector<WPARAM> keys = m_Rig.m_Main.WParams(shortcuts);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], static_cast<WPARAM>(VK_F5));
}

TEST_F(PageActivation, TheBalloonOfTheLibraryShowsTheFormattedTextAndGoesWithThePage)
{
    m_Rig.Show();
    m_Rig.m_pPage->m_bRealBalloon = true;
    m_Rig.Replace(kDecimalField, L"0");
    EXPECT_FALSE(m_Rig.SwitchTo(1));
    const HWND host = ::FindWindowW(L"ZellBalloonHost", nullptr);
    ASSERT_NE(host, nullptr);
    m_Rig.Replace(kDecimalField, L"10");
    ASSERT_TRUE(m_Rig.SwitchTo(1));
    m_Rig.Driver().PumpUntilIdle();
    EXPECT_EQ(::FindWindowW(L"ZellBalloonHost", nullptr), nullptr) << "leaving the page closes the balloon";
}

TEST_F(PageActivation, EnableAllChildrenReachesEveryControl)
{
    m_Rig.Show();
    m_Rig.m_pPage->EnableAllChildren(FALSE);
    const UiTest::CDialogDriver driver = m_Rig.Driver();
    for (int id : {kDecimalField, kHexField, kAddressField, 1200})
        EXPECT_FALSE(driver.IsEnabled(id)) << id;
    m_Rig.m_pPage->EnableAllChildren(TRUE);
    EXPECT_TRUE(driver.IsEnabled(kHexField));
}

TEST_F(PageActivation, ATooltipCarriesTheTranslatedHeaderAndBodyOfItsControl)
{
    GetLanguageSupport().SetText(L"TT_FIRST_HDR", L"Watchdog");
    GetLanguageSupport().SetText(L"TT_FIRST_BODY", L"Time until the outputs fall back");
    m_Rig.Show();
    m_Rig.m_pPage->AddTooltip(kDecimalField, L"TT_FIRST_BODY", L"TT_FIRST_HDR");
    CSuperTooltip* tip = m_Rig.m_pPage->m_Tooltip.Tooltip();
    ASSERT_NE(tip, nullptr);
    CRichToolTip::ToolInfo tool;
    ASSERT_TRUE(tip->GetTool(m_Rig.Driver().Control(kDecimalField), kDecimalField, tool));
    EXPECT_NE(tool.text.find(L"Watchdog"), std::wstring::npos);
    EXPECT_NE(tool.text.find(L"Time until the outputs fall back"), std::wstring::npos);
    EXPECT_FALSE(tip->GetTool(m_Rig.Driver().Control(kHexField), kHexField, tool));
}

TEST_F(PageActivation, WithoutAThemeControlsGetTheSystemColoursNotTheWhiteBrush)
{
    m_Rig.Show();
    const HWND page = m_Rig.m_pPage->GetSafeHwnd();
    const HWND field = m_Rig.Driver().Control(1200);
    const HDC dc = ::GetDC(field);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(field)));
    ::ReleaseDC(field, dc);
    LOGBRUSH colour{};
    ASSERT_NE(brush, nullptr);
    ASSERT_NE(::GetObjectW(brush, sizeof(colour), &colour), 0);
    EXPECT_NE(colour.lbColor, RGB(255, 255, 255)) << "the classic look keeps the dialog's face colour";
    EXPECT_EQ(m_Rig.m_pPage->GetBackgroundColour(), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(PageActivation, ALabelFittedToItsTextKeepsItsLeftEdgeAndVerticalCentre)
{
    m_Rig.Show();
    CWnd* label = m_Rig.m_pPage->GetDlgItem(1200);
    ASSERT_NE(label, nullptr);
    const auto place = [&] {
        CRect rect;
        label->GetWindowRect(&rect);
        m_Rig.m_pPage->ScreenToClient(&rect);
        return rect;
    };
    const CRect before = place();
    m_Rig.m_pPage->FitStaticToText(label, L"Hi", &m_Rig.m_pPage->GetPageFont());
    const CRect shortText = place();
    EXPECT_EQ(shortText.left, before.left);
    EXPECT_LT(shortText.Width(), before.Width());
    EXPECT_GT(shortText.Width(), 4);
    EXPECT_LE(std::abs((shortText.top + shortText.bottom) - (before.top + before.bottom)), 1);

    m_Rig.m_pPage->FitStaticToText(label, L"A label text far longer than the label was made for", &m_Rig.m_pPage->GetPageFont());
    EXPECT_GT(place().Width(), before.Width());
    EXPECT_EQ(place().Height(), shortText.Height()) << "one line of the same font";
    m_Rig.m_pPage->FitStaticToText(nullptr, L"nothing", nullptr);
}

}  // namespace Corvane
