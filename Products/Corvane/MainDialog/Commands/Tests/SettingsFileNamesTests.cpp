#include "Products/Corvane/MainDialog/Commands/SettingsFileNames.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Products/Corvane/Core/FBCData.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

TEST(SettingsFileNamesTest, DefaultNameJoinsArticleAndNetworkId)
{
    EXPECT_EQ(CSettingsFileNames::DefaultSaveName(L"0614-0392/0000-0100", L"123456"),
              L"0614-0392_0000-0100_123456.wes");
    EXPECT_EQ(CSettingsFileNames::DefaultSaveName(L"612-001", L""), L"612-001_.wes");
}

TEST(SettingsFileNamesTest, InitialPathPutsTheNameIntoTheFolder)
{
    EXPECT_EQ(CSettingsFileNames::InitialPath(L"/home/tec/Documents", L"", L"wes"), L"/home/tec/Documents/*.wes");
    EXPECT_EQ(CSettingsFileNames::InitialPath(L"/home/tec/Documents/", L"dev.wes", L"wes"),
              L"/home/tec/Documents/dev.wes");
    // Every ".wes" goes, so the extension is never doubled.
    EXPECT_EQ(CSettingsFileNames::InitialPath(L"/data", L"a.wes.wes", L"wes"), L"/data/a.wes");
    EXPECT_EQ(CSettingsFileNames::InitialPath(L"/data", L"", L"txt"), L"/data/*.txt");
}

TEST(SettingsFileNamesTest, PathsLoseDoubledSeparatorsAndGiveTheirFolder)
{
    EXPECT_EQ(CSettingsFileNames::CleanPath(L"/a///b//c.wes"), L"/a/b/c.wes");
    EXPECT_EQ(CSettingsFileNames::FolderOf(L"/a/b/c.wes"), L"/a/b");
    EXPECT_EQ(CSettingsFileNames::FolderOf(L"c.wes"), L"");
}

CFBCData TwoPorts(const wchar_t* actual1, const wchar_t* static1, const wchar_t* actual2, const wchar_t* static2)
{
    CFBCData data;
    data.HasNetworkParams = true;
    data.SetEthernetPortCount(2);
    data.GetActualNetworkParams(0)->strIPAddress = actual1;
    data.GetStaticNetworkParams(0)->strIPAddress = static1;
    data.GetActualNetworkParams(1)->strIPAddress = actual2;
    data.GetStaticNetworkParams(1)->strIPAddress = static2;
    return data;
}

TEST(SettingsFileNamesTest, CurrentAddressIsThePortConnectedTo)
{
    const CFBCData data = TwoPorts(L"192.168.1.10", L"192.168.1.11", L"10.0.0.20", L"10.0.0.21");
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L" 192.168.1.10 ", data), L"192.168.1.10");
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L"10.0.0.20", data), L"10.0.0.20");
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L"10.9.9.9", data), L"0.0.0.0");
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L"", data), L"0.0.0.0");
}

TEST(SettingsFileNamesTest, SerialLineTakesTheConfiguredAddressOfAnUnsetPort)
{
    const CFBCData data = TwoPorts(L"0.0.0.0", L"192.168.1.11", L"10.0.0.20", L"10.0.0.21");
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L"", data), L"192.168.1.11");
}

TEST(SettingsFileNamesTest, DataSetWithoutPortsGivesNoAddress)
{
    const CFBCData data;
    EXPECT_EQ(CSettingsFileNames::CurrentIPAddress(L"192.168.1.10", data), L"0.0.0.0");
}

}

}  // namespace Corvane
