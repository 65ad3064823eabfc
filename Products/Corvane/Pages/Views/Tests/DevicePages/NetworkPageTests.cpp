// The network identification page over its two name fields of the device
// block: shown, edited, reported and stored without touching other words.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/NetworkPage.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

void PutName(CPageViewRig& rig, DWORD offset, const std::string& name)
{
    for (std::size_t i = 0; i < name.size(); ++i)
        rig.m_Block.Block().WriteByte(offset + static_cast<DWORD>(i), static_cast<BYTE>(name[i]));
}

std::string NameAt(const CPageViewRig& rig, DWORD offset)
{
    std::string name;
    for (DWORD i = 0; i < CNetworkIdCodec::kFieldBytes; ++i) {
        const WORD word = rig.m_Block[(offset + i) / 2];
        const char byte = static_cast<char>((offset + i) % 2 == 0 ? word & 0xFF : word >> 8);
        if (byte == 0)
            break;
        name.push_back(byte);
    }
    return name;
}

}

TEST(NetworkPage, ShowsTheNamesAndStoresAnEditIntoItsOwnFieldOnly)
{
    CPageViewRig rig;
    GetLanguageSupport().SetText(L"LBL_HOSTNAME", L"Host name");
    for (std::size_t i = 0; i < CPageViewRig::kBlockWords; ++i)
        rig.m_Block[i] = static_cast<WORD>(0x1100 + i);
    for (std::size_t word = 25; word <= 56; ++word)
        rig.m_Block[word] = 0;
    PutName(rig, CNetworkIdCodec::kHostNameOffset, "coupler-7");
    PutName(rig, CNetworkIdCodec::kDomainNameOffset, "plant.local");
    CDriven<CNetworkPage> page;
    rig.Show(page);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_EQ(driver.Text(kHostNameEdit), L"coupler-7");
    EXPECT_EQ(driver.Text(kDomainNameEdit), L"plant.local");
    EXPECT_EQ(driver.Text(kHostNameLabel), L"Host name");
    EXPECT_EQ(rig.Changes(), 0) << "showing the values is no change of the user";

    const std::vector<WORD> before = rig.Words();
    rig.Replace(kDomainNameEdit, L"line2.example");
    EXPECT_EQ(rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kDomainNameOffset), "line2.example");
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kHostNameOffset), "coupler-7");
    for (std::size_t word : rig.ChangedWords(before))
        EXPECT_TRUE(word >= 41 && word <= 47) << "word " << word << " is not the domain name's";
}

TEST(NetworkPage, TypingStopsAt31CharactersAndTheFieldKeepsItsEndingZero)
{
    CPageViewRig rig;
    CDriven<CNetworkPage> page;
    rig.Show(page);
    UiTest::CDialogDriver driver = rig.Driver();
    const std::wstring typed(40, L'h');
    ASSERT_TRUE(driver.TypeInto(kHostNameEdit, typed));
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Text(kHostNameEdit), typed.substr(0, 31));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kHostNameOffset), std::string(31, 'h'));
    EXPECT_EQ(rig.m_Block[40] >> 8, 0) << "byte 81 ends the host name";
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kDomainNameOffset), "") << "an empty domain stays 32 zero bytes";
}

TEST(NetworkPage, ALanguageSwitchRelabelsTheActivePageAtOnce)
{
    CPageViewRig rig;
    GetLanguageSupport().SetText(L"LBL_DOMAINNAME", L"Domain name");
    CDriven<CNetworkPage> page;
    rig.Show(page);
    EXPECT_EQ(rig.Driver().Text(kDomainNameLabel), L"Domain name");
    GetLanguageSupport().SetText(L"LBL_DOMAINNAME", L"Domänenname");
    EXPECT_FALSE(page.UpdateLanguageTexts()) << "nothing left for the next activation";
    EXPECT_EQ(rig.Driver().Text(kDomainNameLabel), L"Domänenname");
}

TEST(NetworkPage, AFieldFilledTo32BytesIsKeptWholeUntilTheUserChangesIt)
{
    CPageViewRig rig;
    PutName(rig, CNetworkIdCodec::kHostNameOffset, std::string(32, 'n'));
    PutName(rig, CNetworkIdCodec::kDomainNameOffset, "d");
    CDriven<CNetworkPage> page;
    rig.Show(page);
    EXPECT_EQ(rig.Driver().Text(kHostNameEdit), std::wstring(32, L'n')) << "never past the field into the domain";
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kHostNameOffset), std::string(32, 'n'));
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kDomainNameOffset), "d");

    rig.Replace(kHostNameEdit, std::wstring(31, L'm'));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(NameAt(rig, CNetworkIdCodec::kHostNameOffset), std::string(31, 'm'));
}

}  // namespace Corvane
