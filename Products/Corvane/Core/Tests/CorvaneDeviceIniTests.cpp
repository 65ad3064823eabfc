#include "Products/Corvane/Core/CorvaneDeviceIni.h"

#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST(CorvaneDeviceIniLocation, BesideTheExecutableWinsOverTheInstalledCopy)
{
    CTempFolder folder;
    folder.Write("bin/Corvane.ini", "[0612-0001]\nFBC=1\n");
    folder.Write("share/Corvane/Corvane.ini", "[0612-0001]\nFBC=2\n");
    CCorvaneDeviceIni ini;
    ini.Locate(Wide(folder.Path() / "bin/Corvane"));
    EXPECT_EQ(ini.GetIniPath(), Wide(folder.Path() / "bin/Corvane.ini"));
    EXPECT_EQ(ini.GetDeviceIniInt(L"0612-0001", L"FBC", -1), 1);
}

TEST(CorvaneDeviceIniLocation, InstalledShareFolderWhenNoneIsBeside)
{
    CTempFolder folder;
    folder.Write("share/Corvane/Corvane.ini", "[0612-0001]\nFBC=2\n");
    CCorvaneDeviceIni ini;
    ini.Locate(Wide(folder.Path() / "bin/Corvane"));
    EXPECT_EQ(ini.GetIniPath(), Wide(folder.Path() / "share/Corvane/Corvane.ini"));
    EXPECT_EQ(ini.GetDeviceIniInt(L"0612-0001", L"FBC", -1), 2);
}

TEST(CorvaneDeviceIniLocation, BuildFolderIsLeftOutOfTheRealPathWithItsCase)
{
    CTempFolder folder;
    folder.Write("Src/Mixed Case/Corvane.ini", "[0612-0001]\nFBC=3\n");
    CCorvaneDeviceIni ini;
    ini.Locate(Wide(folder.Path() / "Src/Mixed Case/RELEASE/Corvane"));
    EXPECT_EQ(ini.GetIniPath(), Wide(folder.Path() / "Src/Mixed Case/Corvane.ini"));
    EXPECT_EQ(ini.GetDeviceIniInt(L"0612-0001", L"FBC", -1), 3);
    // The installed copy of a build-folder program is looked up above the
    // folder that remains.
    EXPECT_EQ(CCorvaneDeviceIni::InstalledIniPath(L"/opt/Zell/bin/DEBUG/Corvane").str(),
              L"/opt/Zell/share/Corvane/Corvane.ini");
}

TEST(CorvaneDeviceIniLocation, MissingEverywhereKeepsThePathBesideTheProgram)
{
    CTempFolder folder;
    CCorvaneDeviceIni ini;
    ini.Locate(Wide(folder.Path() / "bin/corvane"));
    EXPECT_EQ(ini.GetIniPath(), Wide(folder.Path() / "bin/corvane.ini"));
    EXPECT_FALSE(ini.IsPlcController(L"0612-0001"));
    EXPECT_TRUE(ini.DeviceHasIP(L"0612-0001"));
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
        return Texts(file.BuildPageList(data));
    }

    CTempFolder m_Folder;
};

TEST_F(PageListTest, MissingFileGivesTheDefaultsAndAlwaysStatus)
{
    CCorvaneDeviceIni missing(Wide(m_Folder.Path() / "absent.ini"));
    CFBCData data;
    data.ArticleNo = L"0612-0001";
    EXPECT_THAT(Texts(missing.BuildPageList(data)), ElementsAre(L"COMMON", L"TCPIP", L"NETWORK", L"CLOCK", L"STATUS"));
    data.HasNetworkParams = true;
    data.HasClock = false;
    data.HasSDCardSlot = true;
    EXPECT_THAT(Texts(missing.BuildPageList(data)), ElementsAre(L"COMMON", L"NETWORKPARAM", L"SDCARD", L"STATUS"));
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
