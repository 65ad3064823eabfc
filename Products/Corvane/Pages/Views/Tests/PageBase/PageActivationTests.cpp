// A page in the sheet: what entering and leaving it does to its controls,
// its device block and the main window, and the balloon that keeps it.
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/EditStyles.h"

#include <gtest/gtest.h>

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
        ::SendMessageW(m_rig.Driver().Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    CPageRig m_rig;
};

}

TEST_F(PageActivation, EnteringLoadsTheBlockAndShowsItWithoutBalloonsEvenOutOfRange)
{
    m_rig.m_words[0] = 500;
    m_rig.Show();
    const UiTest::CDialogDriver driver = m_rig.Driver();
    EXPECT_EQ(driver.Text(kDecimalField), L"500");
    EXPECT_EQ(driver.Text(kHexField), L"0x17");
    EXPECT_TRUE(m_rig.m_page->IsActive());
    EXPECT_TRUE(m_rig.m_page->m_balloons.empty()) << "a device value is shown, not refused";
    EXPECT_EQ(m_rig.m_main.Count(m_rig.m_main.Ids().FbcSettingsChanged), 0)
        << "the page's own refresh is not a change of the user";
}

TEST_F(PageActivation, LeavingStoresOnlyTheOwnedBitsAndTypingReportsChanges)
{
    m_rig.Show();
    m_rig.Replace(kDecimalField, L"77");
    m_rig.Replace(kHexField, L"0x5C");
    EXPECT_GE(m_rig.m_main.Count(m_rig.m_main.Ids().FbcSettingsChanged), 2);
    EXPECT_EQ(m_rig.m_main.WParams(m_rig.m_main.Ids().FbcSettingsChanged).front(), 1u);

    ASSERT_TRUE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.m_words[0], 77);
    EXPECT_EQ(m_rig.m_words[1], 0xAB5C) << "the high byte of the shared word is kept";
    EXPECT_EQ(m_rig.m_words[2], 7);
    EXPECT_FALSE(m_rig.m_page->IsActive());
    EXPECT_TRUE(m_rig.m_other->IsActive());
}

TEST_F(PageActivation, AValueOutOfRangeKeepsThePageWithOneBalloonAtTheSelectedField)
{
    m_rig.Show();
    m_rig.Replace(kDecimalField, L"101");
    m_rig.Replace(kHexField, L"0x1FF");
    EXPECT_FALSE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.ActiveIndex(), 0);
    ASSERT_EQ(m_rig.m_page->m_balloons.size(), 1u) << "the checks stop at the first failure";
    const tBalloon& balloon = m_rig.m_page->m_balloons.front();
    EXPECT_EQ(balloon.title, L"Watchdog time");
    EXPECT_EQ(balloon.text, L"Enter a value from 1 to 100.");
    EXPECT_EQ(balloon.field, static_cast<UINT>(kDecimalField));
    EXPECT_EQ(m_rig.Driver().FocusId(), kDecimalField);
    EXPECT_EQ(Selection(kDecimalField), std::make_pair(0, 3));
    EXPECT_EQ(m_rig.m_words[0], 42) << "nothing is stored";
}

TEST_F(PageActivation, AHexadecimalFieldIsReadInBase16AndALoneZeroXCountsAsZero)
{
    m_rig.Show();
    m_rig.Replace(kHexField, L"0x");
    EXPECT_TRUE(m_rig.m_page->ValidateAll());
    m_rig.Replace(kHexField, L"100");
    EXPECT_FALSE(m_rig.m_page->ValidateAll());
    ASSERT_EQ(m_rig.m_page->m_balloons.size(), 1u);
    EXPECT_EQ(m_rig.m_page->m_balloons[0].text, L"Enter a value from 0x0 to 0xFF.");

    // "0x" is 0, which is below this field's minimum.
    m_rig.Replace(kDecimalField, L"0x");
    EXPECT_FALSE(m_rig.m_page->ValidateAll());
    m_rig.Replace(kDecimalField, L"zwei");
    EXPECT_FALSE(m_rig.m_page->ValidateAll()) << "text that is no number always fails";
    EXPECT_EQ(m_rig.m_page->m_balloons.size(), 3u);
}

TEST_F(PageActivation, AFailedStoreKeepsThePageSoTheEditsAreNotLost)
{
    m_rig.Show();
    m_rig.Replace(kDecimalField, L"55");
    m_rig.m_page->m_storeResult = false;
    EXPECT_FALSE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.ActiveIndex(), 0);
    EXPECT_TRUE(m_rig.m_page->IsActive());
    EXPECT_EQ(m_rig.Driver().Text(kDecimalField), L"55");

    m_rig.m_page->m_storeResult = true;
    EXPECT_TRUE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.m_words[0], 55);
}

TEST_F(PageActivation, APageOutsideTheSheetRefusesToBeEnteredAndStoresNothing)
{
    m_rig.Show();
    m_rig.m_other->SetInSheet(false);
    EXPECT_FALSE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.ActiveIndex(), 0);
    const int stores = m_rig.m_other->m_stores;
    EXPECT_TRUE(m_rig.m_other->StoreIfDataPresent());
    EXPECT_EQ(m_rig.m_other->m_stores, stores);
}

TEST_F(PageActivation, WhileSuspendedNothingIsShownReadOrReportedAndChecksUseTheMembers)
{
    m_rig.Show();
    CCouplerSettingsPageBase::SetPagesSuspended(true);
    m_rig.m_words[0] = 9;
    m_rig.m_page->AttachDeviceData(m_rig.m_words.data(), 4, 0, 0);
    EXPECT_FALSE(m_rig.m_page->RefreshView());
    EXPECT_EQ(m_rig.Driver().Text(kDecimalField), L"42");
    m_rig.Replace(kDecimalField, L"500");
    EXPECT_FALSE(m_rig.m_page->ApplyView());
    EXPECT_EQ(m_rig.m_page->m_decimal, 9);
    EXPECT_EQ(m_rig.m_main.Count(m_rig.m_main.Ids().FbcSettingsChanged), 0);
    EXPECT_TRUE(m_rig.m_page->ValidateAll()) << "the member 9 is in range, whatever the field shows";
    m_rig.m_page->m_decimal = 0;
    EXPECT_FALSE(m_rig.m_page->ValidateAll());
    EXPECT_TRUE(m_rig.m_page->m_balloons.empty());
}

TEST_F(PageActivation, TextsOfAnInactivePageWaitForItsNextActivation)
{
    m_rig.Show();
    EXPECT_FALSE(m_rig.m_page->UpdateLanguageTexts()) << "the active page reloads at once";
    EXPECT_EQ(m_rig.m_page->m_textUpdates, 1);
    EXPECT_TRUE(m_rig.m_other->UpdateLanguageTexts());
    EXPECT_EQ(m_rig.m_other->m_textUpdates, 0);
    ASSERT_TRUE(m_rig.SwitchTo(1));
    EXPECT_EQ(m_rig.m_other->m_textUpdates, 1);
    EXPECT_FALSE(m_rig.m_other->AreTextsPending());
    EXPECT_TRUE(m_rig.m_page->UpdateLanguageTexts()) << "the page left waits now";
}

TEST_F(PageActivation, APageWhoseWindowWentIsNoLongerTheShownOne)
{
    m_rig.Show();
    ASSERT_TRUE(m_rig.m_page->IsActive());
    m_rig.m_page->DestroyWindow();
    EXPECT_FALSE(m_rig.m_page->IsActive());
    EXPECT_TRUE(m_rig.m_page->UpdateLanguageTexts()) << "its texts wait for its next showing";
}

TEST_F(PageActivation, KeysGoToTheMainWindowsShortcutsFirst)
{
    m_rig.Show();
    const UINT shortcuts = m_rig.m_main.Ids().EvaluateShortcuts;
    MSG key{m_rig.Driver().Control(kDecimalField), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_FALSE(m_rig.m_page->PreTranslateMessage(&key));
    m_rig.m_main.Answer(shortcuts, 1);
    EXPECT_TRUE(m_rig.m_page->PreTranslateMessage(&key));
    const std::vector<WPARAM> keys = m_rig.m_main.WParams(shortcuts);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], static_cast<WPARAM>(VK_F5));
}

TEST_F(PageActivation, TheBalloonOfTheLibraryShowsTheFormattedTextAndGoesWithThePage)
{
    m_rig.Show();
    m_rig.m_page->m_realBalloon = true;
    m_rig.Replace(kDecimalField, L"0");
    EXPECT_FALSE(m_rig.SwitchTo(1));
    const HWND host = ::FindWindowW(L"ZellBalloonHost", nullptr);
    ASSERT_NE(host, nullptr);
    m_rig.Replace(kDecimalField, L"10");
    ASSERT_TRUE(m_rig.SwitchTo(1));
    m_rig.Driver().PumpUntilIdle();
    EXPECT_EQ(::FindWindowW(L"ZellBalloonHost", nullptr), nullptr) << "leaving the page closes the balloon";
}

TEST_F(PageActivation, EnableAllChildrenReachesEveryControl)
{
    m_rig.Show();
    m_rig.m_page->EnableAllChildren(FALSE);
    const UiTest::CDialogDriver driver = m_rig.Driver();
    for (int id : {kDecimalField, kHexField, kAddressField, 1200})
        EXPECT_FALSE(driver.IsEnabled(id)) << id;
    m_rig.m_page->EnableAllChildren(TRUE);
    EXPECT_TRUE(driver.IsEnabled(kHexField));
}

TEST_F(PageActivation, ATooltipCarriesTheTranslatedHeaderAndBodyOfItsControl)
{
    GetLanguageSupport().SetText(L"TT_FIRST_HDR", L"Watchdog");
    GetLanguageSupport().SetText(L"TT_FIRST_BODY", L"Time until the outputs fall back");
    m_rig.Show();
    m_rig.m_page->AddTooltip(kDecimalField, L"TT_FIRST_BODY", L"TT_FIRST_HDR");
    CSuperTooltip* tip = m_rig.m_page->m_tooltip.Tooltip();
    ASSERT_NE(tip, nullptr);
    CRichToolTip::ToolInfo tool;
    ASSERT_TRUE(tip->GetTool(m_rig.Driver().Control(kDecimalField), kDecimalField, tool));
    EXPECT_NE(tool.text.find(L"Watchdog"), std::wstring::npos);
    EXPECT_NE(tool.text.find(L"Time until the outputs fall back"), std::wstring::npos);
    EXPECT_FALSE(tip->GetTool(m_rig.Driver().Control(kHexField), kHexField, tool));
}

TEST_F(PageActivation, WithoutAThemeControlsGetTheSystemColoursNotTheWhiteBrush)
{
    m_rig.Show();
    const HWND page = m_rig.m_page->GetSafeHwnd();
    const HWND field = m_rig.Driver().Control(1200);
    const HDC dc = ::GetDC(field);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(field)));
    ::ReleaseDC(field, dc);
    LOGBRUSH colour{};
    ASSERT_NE(brush, nullptr);
    ASSERT_NE(::GetObjectW(brush, sizeof(colour), &colour), 0);
    EXPECT_NE(colour.lbColor, RGB(255, 255, 255)) << "the classic look keeps the dialog's face colour";
    EXPECT_EQ(m_rig.m_page->GetBackgroundColour(), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(PageActivation, ALabelFittedToItsTextKeepsItsLeftEdgeAndVerticalCentre)
{
    m_rig.Show();
    CWnd* label = m_rig.m_page->GetDlgItem(1200);
    ASSERT_NE(label, nullptr);
    const auto place = [&] {
        CRect rect;
        label->GetWindowRect(&rect);
        m_rig.m_page->ScreenToClient(&rect);
        return rect;
    };
    const CRect before = place();
    m_rig.m_page->FitStaticToText(label, L"Hi", &m_rig.m_page->GetPageFont());
    const CRect shortText = place();
    EXPECT_EQ(shortText.left, before.left);
    EXPECT_LT(shortText.Width(), before.Width());
    EXPECT_GT(shortText.Width(), 4);
    EXPECT_LE(std::abs((shortText.top + shortText.bottom) - (before.top + before.bottom)), 1);

    m_rig.m_page->FitStaticToText(label, L"A label text far longer than the label was made for", &m_rig.m_page->GetPageFont());
    EXPECT_GT(place().Width(), before.Width());
    EXPECT_EQ(place().Height(), shortText.Height()) << "one line of the same font";
    m_rig.m_page->FitStaticToText(nullptr, L"nothing", nullptr);
}
