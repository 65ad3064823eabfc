// The EtherNet/IP page: run/idle headers and word alignment stored into their
// words alone, the controller's assembly sizes and offsets bounding each
// other while typing and before a write, and the extension assemblies only
// in the longer blocks of the devices that have them.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/EthernetIPPage.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace ServicePageIds;
using PageViewTest::CDriven;

namespace {

using Codec = CEthernetIPCodec;

constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\n"
                                 "[0612-8001]\nFBC=0\nORBIS=32\nSPSCTRL=1\nETHIPEX=1\nISIS=1\n";
constexpr WORD kOtherFeatureBits = 0x8001;
constexpr std::size_t kLongBlock = 220;

class EthernetIPPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TT_PLC_INVAR_ASSEMBLY_111_HDR", L"Assembly 111");
        GetLanguageSupport().SetText(L"TT_PLC_OUTVAR_ASSEMBLY_110_HDR", L"Assembly 110");
        m_Rig.UseCapabilities(kCapabilities);
        m_Rig.m_Block[Codec::kInputBytes111Word] = 16;
        m_Rig.m_Block[Codec::kInputOffset111Word] = 20;
        m_Rig.m_Block[Codec::kOutputBytes110Word] = 8;
        m_Rig.m_Block[Codec::kRunIdleO2TWord] = 0;
        m_Rig.m_Block[Codec::kRunIdleT2OWord] = 1;
        m_Rig.m_Block[Codec::kFeatureWord] = kOtherFeatureBits;
    }

    void ShowController(CEthernetIPPage& page)
    {
        m_Rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
        m_Rig.Show(page, true, true);
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(EthernetIPPage, ACouplerShowsOnlyTheRunIdleHeadersAndStoresAClickIntoItsWord)
{
    CDriven<CEthernetIPPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kRunIdleO2TBox)) << "word 66 = 0 is the header on";
    EXPECT_FALSE(driver.IsChecked(kRunIdleT2OBox));
    for (int id : {kInputAdditionalEdit, kAssembly111Bytes, kAssembly110Offset, kAssembly113Bytes, kWordAlignBox})
        EXPECT_FALSE(driver.IsVisible(id)) << id;

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Click(kRunIdleO2TBox);
    m_Rig.Click(kRunIdleT2OBox);
    EXPECT_EQ(m_Rig.Changes(), 2);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kRunIdleO2TWord], 1);
    EXPECT_EQ(m_Rig.m_Block[Codec::kRunIdleT2OWord], 0);
    EXPECT_EQ(m_Rig.ChangedWords(before), (std::vector<std::size_t>{Codec::kRunIdleO2TWord, Codec::kRunIdleT2OWord}));
}

TEST_F(EthernetIPPage, AnUndeterminedRunIdleWordIsNeverWrittenBack)
{
    m_Rig.m_Block[Codec::kRunIdleO2TWord] = 2;
    CDriven<CEthernetIPPage> page;
    m_Rig.Show(page);
    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty());
}

TEST_F(EthernetIPPage, AControllerBoundsAnAssemblySizeByItsOffsetWhileTyping)
{
    CDriven<CEthernetIPPage> page;
    ShowController(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kAssembly111Bytes), L"16");
    EXPECT_EQ(driver.Text(kAssembly111Offset), L"20");
    EXPECT_TRUE(driver.IsVisible(kAssembly110Bytes));
    EXPECT_FALSE(driver.IsVisible(kAssembly113Bytes)) << "a block of 100 words has no assembly 113";
    EXPECT_TRUE(page.m_arrBalloons.empty());

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Replace(kAssembly111Bytes, L"493");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u) << "512 less the offset of 20 is 492";
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Assembly 111"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kAssembly111Bytes));
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty()) << "no number is stored while one is out of range";

    m_Rig.Replace(kAssembly111Bytes, L"492");
    EXPECT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kInputBytes111Word], 492);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kInputBytes111Word});
}

TEST_F(EthernetIPPage, AnOutOfRangeDeviceValueIsShownQuietlyAndRefusedBeforeTheWrite)
{
    m_Rig.m_Block[Codec::kOutputOffset110Word] = 600;
    CDriven<CEthernetIPPage> page;
    ShowController(page);
    EXPECT_EQ(m_Rig.Driver().Text(kAssembly110Offset), L"600") << "the device's value, not the page's default";
    EXPECT_TRUE(page.m_arrBalloons.empty()) << "no balloon while the page is entered";
    EXPECT_FALSE(page.StoreIfDataPresent());
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    // The size comes first, and an offset of 600 leaves it no room.
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Assembly 110"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kAssembly110Bytes));
    EXPECT_EQ(m_Rig.m_Block[Codec::kOutputOffset110Word], 600);
}

TEST_F(EthernetIPPage, ALongBlockOfAnExtendedControllerCarriesAssemblies113And112AndWordAlignment)
{
    CGuardedBlock block(kLongBlock);
    block[Codec::kFeatureWord] = Codec::kWordAlignmentAvailableBit;
    block[Codec::kInputBytes113Word] = 12;
    block[Codec::kOutputOffset112Word] = 4;
    m_Rig.m_data.SWVersion = CString(L"01.02.03(08)");
    CDriven<CEthernetIPPage> page;
    ShowController(page);
    ServicePageTest::CRig::Reattach(page, block, kLongBlock, true, true);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kAssembly113Bytes));
    EXPECT_TRUE(driver.IsVisible(kAssembly112Offset));
    EXPECT_EQ(driver.Text(kAssembly113Bytes), L"12");
    EXPECT_EQ(driver.Text(kAssembly112Offset), L"4");
    ASSERT_TRUE(driver.IsVisible(kWordAlignBox)) << "available, ISIS and firmware index 8";
    EXPECT_FALSE(driver.IsChecked(kWordAlignBox));

    m_Rig.Click(kWordAlignBox);
    m_Rig.Replace(kAssembly112Offset, L"40");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(block[Codec::kFeatureWord], Codec::kWordAlignmentAvailableBit | Codec::kWordAlignmentOnBit);
    EXPECT_EQ(block[Codec::kOutputOffset112Word], 40);
    EXPECT_EQ(block[Codec::kInputBytes113Word], 12);
    EXPECT_TRUE(block.GuardIntact());
}

TEST_F(EthernetIPPage, WordAlignmentStaysHiddenOnAnOldFirmware)
{
    m_Rig.m_Block[Codec::kFeatureWord] = Codec::kWordAlignmentAvailableBit;
    m_Rig.m_data.SWVersion = CString(L"01.02.03(05)");
    CDriven<CEthernetIPPage> page;
    ShowController(page);
    EXPECT_FALSE(m_Rig.Driver().IsVisible(kWordAlignBox));
}

}  // namespace Corvane
