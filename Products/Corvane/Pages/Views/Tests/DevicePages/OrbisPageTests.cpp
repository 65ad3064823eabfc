// The controller page: the runtime-system list from the data set, a choice
// marked for writing, and the two switches of extra-block word 26 for
// devices without a list.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/OrbisPage.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

int ItemCount(const UiTest::CDialogDriver& driver, int id)
{
    return static_cast<int>(::SendMessageW(driver.Control(id), CB_GETCOUNT, 0, 0));
}

}

TEST(OrbisPage, ListsTheRuntimeSystemsWithATextAndMarksANewChoiceForWriting)
{
    CPageViewRig rig;
    GetLanguageSupport().SetText(L"RUNTIMESYSTEM_01", L"Runtime one");
    GetLanguageSupport().SetText(L"RUNTIMESYSTEM_03", L"Runtime three");
    rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
    rig.m_data.RuntimeSystems = {1, 2, 3};
    rig.m_data.ActiveRuntimeSystem = 1;
    CDriven<COrbisPage> page;
    rig.Show(page, true, true);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kRuntimeSystemList));
    EXPECT_FALSE(driver.IsVisible(kResetOutputsBox));
    EXPECT_EQ(ItemCount(driver, kRuntimeSystemList), 2) << "runtime system 2 has no text";
    EXPECT_EQ(driver.Text(kRuntimeSystemList), L"Runtime one");

    ::SetFocus(driver.Control(kRuntimeSystemList));
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(rig.m_data.ActiveRuntimeSystem, 3);
    EXPECT_TRUE(rig.m_data.ActiveRuntimeSystemToWrite);
    EXPECT_EQ(rig.Changes(), 1);

    rig.m_data.ActiveRuntimeSystemToWrite = false;
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_FALSE(rig.m_data.ActiveRuntimeSystemToWrite) << "the chosen one again is no change";
    EXPECT_EQ(rig.Changes(), 1);
}

TEST(OrbisPage, WithoutRuntimeSystemsTheSwitchesEditWord26AndKeepItsOtherBits)
{
    CPageViewRig rig;
    rig.m_Extra[COrbisCodec::kOptionsWord] = 0xFF00 | COrbisCodec::kAlternativeTargetIdBit;
    rig.m_data.ArticleNo = L"0614-0392";
    CDriven<COrbisPage> page;
    rig.Show(page, true, false);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_FALSE(driver.IsVisible(kRuntimeSystemList));
    EXPECT_TRUE(driver.IsVisible(kResetOutputsBox));
    EXPECT_TRUE(driver.IsVisible(kAlternativeTargetIdBox)) << "the one article with the alternative target id";
    EXPECT_FALSE(driver.IsChecked(kResetOutputsBox));
    EXPECT_TRUE(driver.IsChecked(kAlternativeTargetIdBox));

    rig.Click(kResetOutputsBox);
    EXPECT_EQ(rig.Changes(), 1);
    const std::vector<WORD> before = rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Extra[COrbisCodec::kOptionsWord],
              0xFF00 | COrbisCodec::kAlternativeTargetIdBit | COrbisCodec::kResetOutputsBit);
    EXPECT_TRUE(rig.ChangedWords(before).empty()) << "the device block is not the controller page's";
    EXPECT_TRUE(rig.m_Extra.GuardIntact());
}

TEST(OrbisPage, OtherArticlesAreNotOfferedTheAlternativeTargetId)
{
    CPageViewRig rig;
    CDriven<COrbisPage> page;
    rig.Show(page, true, false);
    EXPECT_TRUE(rig.Driver().IsVisible(kResetOutputsBox));
    EXPECT_FALSE(rig.Driver().IsVisible(kAlternativeTargetIdBox));
    EXPECT_FALSE(rig.Driver().IsEnabled(kAlternativeTargetIdBox));
}

TEST(OrbisPage, AnExtraBlockWithoutWord26IsNeverWritten)
{
    CPageViewRig rig;
    rig.m_Extra[COrbisCodec::kOptionsWord] = 0x1234;
    CDriven<COrbisPage> page;
    rig.Show(page, true, false);
    // The device's table 0 ends before word 26.
    page.AttachExtraData(&rig.m_Extra[0], COrbisCodec::kOptionsWord, 1, 0);
    rig.Click(kResetOutputsBox);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Extra[COrbisCodec::kOptionsWord], 0x1234);
}

}  // namespace Corvane
