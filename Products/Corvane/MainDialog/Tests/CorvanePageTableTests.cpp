// The page table and what comes from it: each row makes the page its key
// names, no two rows share a place of the fill or the check order, and the
// device's page list follows the capability file and the data set through
// the rows' rules.
#include "Products/Corvane/MainDialog/CorvanePageTable.h"

#include "Products/Corvane/Core/CorvaneDeviceIni.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"
#include "Products/Corvane/MainDialog/Tests/MainDialogRig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace Corvane {

namespace {

using ::testing::ElementsAre;

std::vector<std::wstring> Texts(const std::vector<CString>& values)
{
    std::vector<std::wstring> texts;
    for (const CString& value : values)
        texts.push_back(value.str());
    return texts;
}

CString Wide(const std::filesystem::path& path) { return CString(path.wstring()); }

class CorvanePageTableTest : public MainDialogTest::MainDialogTestBase {};

TEST_F(CorvanePageTableTest, EveryRowMakesThePageOfItsKey)
{
    std::set<std::wstring> keys;
    for (const tPageRow& row : CCorvanePageTable::Rows()) {
        const std::unique_ptr<CCouplerSettingsPageBase> page = row.make(m_pApp->TemplateIds());
        ASSERT_TRUE(page != nullptr) << std::wstring(row.key);
        EXPECT_EQ(page->GetPageKey(), row.key);
        EXPECT_TRUE(keys.insert(row.key).second) << "a second row of " << std::wstring(row.key);
        EXPECT_EQ(CCorvanePageTable::Find(row.key), &row);
    }
    EXPECT_EQ(CCorvanePageTable::Find(L"UNKNOWN"), nullptr);
}

TEST(CorvanePageTable, PlacesOfTheFillAndCheckOrdersAreEachOnce)
{
    for (int tPageRow::*place : {&tPageRow::fillPlace, &tPageRow::checkPlace}) {
        std::set<int> places;
        for (const tPageRow& row : CCorvanePageTable::Rows()) {
            const bool once = row.*place == tPageRow::kNever || places.insert(row.*place).second;
            EXPECT_TRUE(once) << std::wstring(row.key);
        }
    }
}

class PageListTest : public ::testing::Test {
protected:
    std::vector<std::wstring> Pages(const std::string& ini, bool networkParams, bool clock, bool card)
    {
        CCorvaneDeviceIni file(Wide(m_Folder.Write("corvane.ini", ini)));
        CFBCData data;
        data.ArticleNo = L"0612-0001";
        data.HasNetworkParams = networkParams;
        data.HasClock = clock;
        data.HasSDCardSlot = card;
        return Texts(file.BuildPageList(data, CCorvanePageTable::ListRules()));
    }

    CTempFolder m_Folder;
};

TEST_F(PageListTest, MissingFileGivesTheDefaultsAndAlwaysStatus)
{
    CCorvaneDeviceIni missing(Wide(m_Folder.Path() / "absent.ini"));
    CFBCData data;
    data.ArticleNo = L"0612-0001";
    EXPECT_THAT(Texts(missing.BuildPageList(data, CCorvanePageTable::ListRules())), ElementsAre(L"COMMON", L"TCPIP", L"NETWORK", L"CLOCK", L"STATUS"));
    data.HasNetworkParams = true;
    data.HasClock = false;
    data.HasSDCardSlot = true;
    EXPECT_THAT(Texts(missing.BuildPageList(data, CCorvanePageTable::ListRules())), ElementsAre(L"COMMON", L"NETWORKPARAM", L"SDCARD", L"STATUS"));
}

TEST_F(PageListTest, DeviceWithoutIPGetsNoNetworkPagesByDefault)
{
    EXPECT_THAT(Pages("[0612-0001]\nNOIP=1\n", false, false, false), ElementsAre(L"COMMON", L"STATUS"));
}

TEST_F(PageListTest, AllFollowsTheDataSet)
{
    EXPECT_THAT(Pages("[0612-0001]\nPAGE01=ALL\nPAGE02=MODBUSPARAM\n", true, true, false),
                ElementsAre(L"COMMON", L"NETWORKPARAM", L"CLOCK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP",
                            L"ETHERNETIP", L"ORBIS", L"STATUS"));
    EXPECT_THAT(Pages("[0612-0001]\nPAGE01=ALL\n", false, false, false),
                ElementsAre(L"COMMON", L"TCPIP", L"NETWORK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP",
                            L"ETHERNETIP", L"ORBIS", L"STATUS"));
}

TEST_F(PageListTest, ListedPagesObeyTheirConditions)
{
    const std::string ini = "[0612-0001]\nPAGE01=TCPIP\nPAGE02=NETWORKPARAM\nPAGE03=CLOCK\nPAGE04=STATUS\n"
                            "PAGE05=UNKNOWN\nPAGE06=MODBUSPARAM\n";
    EXPECT_THAT(Pages(ini, true, false, true), ElementsAre(L"COMMON", L"NETWORKPARAM", L"MODBUSPARAM", L"SDCARD", L"STATUS"));
    EXPECT_THAT(Pages(ini, false, true, false), ElementsAre(L"COMMON", L"TCPIP", L"CLOCK", L"MODBUSPARAM", L"STATUS"));
}

}

}  // namespace Corvane
