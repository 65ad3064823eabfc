#include "Products/Corvane/Core/DeviceCapabilityFile.h"

#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvane {

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::wstring> Texts(const std::vector<CString>& values)
{
    std::vector<std::wstring> texts;
    for (const CString& value : values)
        texts.push_back(value.str());
    return texts;
}

class DeviceCapabilityFileTest : public ::testing::Test {
protected:
    CDeviceCapabilityFile Load(const std::string& content)
    {
        const auto path = m_Folder.Write("corvane.ini", content);
        return CDeviceCapabilityFile(CString(path.wstring()));
    }

    CTempFolder m_Folder;
};

constexpr char kFamilyAndVariant[] =
    "[0614-0881]\n"
    "FBC=1\n"
    "AUTOIP=2\n"
    "DIP=0\n"
    "SPSCTRL=1\n"
    "Version=03.01.02(05)\n"
    "BOOTDELAY=45\n"
    "PAGE01=NETWORKPARAM\n"
    "PAGE02=CLOCK\n"
    "PAGE03=STATUS\n"
    "[0614-0881/0025-0000]\n"
    "FBC=1\n"
    "AUTOIP=0\n"
    "FILESYS=1\n"
    "PAGE01=ALL\n"
    "[0614-0881/0040-0000]\n"
    "FILESYS=1\n"
    "NOIP=1\n";

}

TEST(DeviceCapabilityPath, TakesTheExecutableFolderAndBaseName)
{
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/opt/zell/bin/corvane").str(), L"/opt/zell/bin/corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/opt/Zell/Corvane.exe").str(), L"/opt/Zell/Corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"corvane").str(), L"corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/corvane").str(), L"/corvane.ini");
    // A dot in a folder is not an extension of the program.
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/opt/v1.2/corvane").str(), L"/opt/v1.2/corvane.ini");
}

TEST(DeviceCapabilityPath, BuildFoldersAreLeftOutAndCaseIsKept)
{
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/Corvane/RELEASE/Corvane").str(), L"/src/Corvane/Corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/Corvane/DEBUG/corvane").str(), L"/src/Corvane/corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/RELEASEUNICODE/x/corvane").str(), L"/src/x/corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/DEBUGUNICODE/corvane").str(), L"/src/corvane.ini");
    // Only the upper-case build folder names count.
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/Release/corvane").str(), L"/src/Release/corvane.ini");
    EXPECT_EQ(CDeviceCapabilityFile::MakeIniPath(L"/src/RELEASED/corvane").str(), L"/src/RELEASED/corvane.ini");
}

TEST(DeviceCapabilityPath, ExecutableIniPathSitsBesideTheTestProgram)
{
    const CString path = CDeviceCapabilityFile::ExecutableIniPath();
    EXPECT_EQ(path.Right(21).str(), L"/CorvaneCoreTests.ini");
}

TEST_F(DeviceCapabilityFileTest, FullSectionWinsOnlyWhenItCarriesFBC)
{
    const CDeviceCapabilityFile file = Load(kFamilyAndVariant);
    EXPECT_EQ(file.ResolveDeviceIniSection(L"0614-0881/0025-0000").str(), L"0614-0881/0025-0000");
    EXPECT_EQ(file.ResolveDeviceIniSection(L"0614-0881/0040-0000").str(), L"0614-0881");
    EXPECT_EQ(file.ResolveDeviceIniSection(L"0614-0881").str(), L"0614-0881");
    // Leading zeros are added back before the section is looked up.
    EXPECT_EQ(file.ResolveDeviceIniSection(L"614-881/25-0").str(), L"0614-0881/0025-0000");
    EXPECT_EQ(file.ResolveDeviceIniSection(L"0614-0999").str(), L"0614-0999");
}

TEST_F(DeviceCapabilityFileTest, VariantWithoutFBCTakesEveryKeyFromTheFamily)
{
    const CDeviceCapabilityFile file = Load(kFamilyAndVariant);
    const CString variant = L"0614-0881/0040-0000";
    EXPECT_FALSE(file.HasFileSystem(variant));
    EXPECT_TRUE(file.IsPlcController(variant));
    EXPECT_EQ(file.GetBootDelay(variant), 45);
    EXPECT_EQ(file.GetMinimumFirmwareVersion(variant).str(), L"03.01.02(05)");
}

TEST_F(DeviceCapabilityFileTest, FeatureTestsCountEveryNonZeroValue)
{
    const CDeviceCapabilityFile file = Load(kFamilyAndVariant);
    EXPECT_TRUE(file.HasAutoIP(L"0614-0881"));
    EXPECT_FALSE(file.HasDIPSwitch(L"0614-0881"));
    EXPECT_FALSE(file.HasISIS(L"0614-0881"));
    EXPECT_FALSE(file.HasAutoIP(L"0614-0881/0025-0000"));
    EXPECT_TRUE(file.HasFileSystem(L"0614-0881/0025-0000"));
    EXPECT_FALSE(file.IsPlcController(L"0614-0881/0025-0000"));
    EXPECT_EQ(file.GetDeviceIniInt(L"0614-0881", L"ORBIS", -1), -1);
}

TEST_F(DeviceCapabilityFileTest, EmptyArticleHasNoFeatureEvenWhenASectionMatchesIt)
{
    // An empty article parses to "0000"; such a section must still not count.
    const CDeviceCapabilityFile file =
        Load("[0000]\nFBC=1\nAUTOIP=1\nDIP=1\nETHIPEX=1\nFILESYS=1\nSDCARD=1\nISIS=1\nSPSCTRL=1\n");
    EXPECT_TRUE(file.HasAutoIP(L"0"));
    EXPECT_FALSE(file.HasAutoIP(L""));
    EXPECT_FALSE(file.HasDIPSwitch(L""));
    EXPECT_FALSE(file.HasEthernetIPExtension(L""));
    EXPECT_FALSE(file.HasFileSystem(L""));
    EXPECT_FALSE(file.HasSDCard(L""));
    EXPECT_FALSE(file.HasISIS(L""));
    EXPECT_FALSE(file.IsPlcController(L""));
}

TEST_F(DeviceCapabilityFileTest, NoIPAndSlotCountOnlyTheValueOneInFullThenBase)
{
    const CDeviceCapabilityFile file = Load(
        "[0614-0100]\nNOIP=2\nSDCARD=2\n"
        "[0614-0200]\nNOIP=1\nSDCARD=1\n"
        "[0614-0300/0001-0000]\nNOIP=1\nSDCARD=1\n");
    EXPECT_TRUE(file.DeviceHasIP(L"0614-0100"));
    EXPECT_FALSE(file.HasSDCardSlotByIni(L"0614-0100"));
    // The feature test counts the 2 that the slot test does not.
    EXPECT_TRUE(file.HasSDCard(L"0614-0100"));
    // Base section gives 1 for a variant without a section of its own.
    EXPECT_FALSE(file.DeviceHasIP(L"0614-0200/0005-0000"));
    EXPECT_TRUE(file.HasSDCardSlotByIni(L"0614-0200/0005-0000"));
    // The full section counts without any "FBC" key.
    EXPECT_FALSE(file.DeviceHasIP(L"0614-0300/0001-0000"));
    EXPECT_TRUE(file.HasSDCardSlotByIni(L"0614-0300/0001-0000"));
    EXPECT_TRUE(file.DeviceHasIP(L"0614-0300"));
}

TEST_F(DeviceCapabilityFileTest, PageListOfTheResolvedSection)
{
    const CDeviceCapabilityFile file = Load(kFamilyAndVariant);
    EXPECT_THAT(Texts(file.GetPageKeys(L"0614-0881")), ElementsAre(L"NETWORKPARAM", L"CLOCK", L"STATUS"));
    EXPECT_THAT(Texts(file.GetPageKeys(L"0614-0881/0025-0000")), ElementsAre(L"ALL"));
    EXPECT_THAT(Texts(file.GetPageKeys(L"0614-0881/0040-0000")), ElementsAre(L"NETWORKPARAM", L"CLOCK", L"STATUS"));
}

TEST_F(DeviceCapabilityFileTest, ListsEndAtTheFirstMissingKeyOrALiteralEOL)
{
    const CDeviceCapabilityFile file = Load(
        "[SUPPORTED_FBC]\nS00=0614-0881\nS01=0614-0352\nS03=0614-0999\n"
        "[InvalidIPAddresses]\nInvalidIP_00=0.0.0.0\nInvalidIP_01=EOL\nInvalidIP_02=255.255.255.255\n"
        "[0614-0400]\nPAGE00=CLOCK\nPAGE01=MODBUS\n");
    EXPECT_THAT(Texts(file.GetSupportedDevices()), ElementsAre(L"0614-0881", L"0614-0352"));
    EXPECT_THAT(Texts(file.GetInvalidIPAddresses()), ElementsAre(L"0.0.0.0"));
    // Pages are counted from 01.
    EXPECT_THAT(Texts(file.GetPageKeys(L"0614-0400")), ElementsAre(L"MODBUS"));
}

TEST_F(DeviceCapabilityFileTest, ListsStopAfterTheLastTwoDigitKey)
{
    std::string content = "[SUPPORTED_FBC]\n";
    for (int n = 0; n <= 120; ++n)
        content += "S" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "=0614-" + std::to_string(1000 + n) + "\n";
    const CDeviceCapabilityFile file = Load(content);
    const auto devices = file.GetSupportedDevices();
    ASSERT_EQ(devices.size(), 100u);
    EXPECT_EQ(devices.back().str(), L"0614-1099");
}

TEST_F(DeviceCapabilityFileTest, TextsAreCutToTheBuffer)
{
    const CDeviceCapabilityFile file = Load("[SUPPORTED_FBC]\nS00=" + std::string(100, 'x') + "\n");
    const auto devices = file.GetSupportedDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].GetLength(), 63);
}

TEST_F(DeviceCapabilityFileTest, LimitsReadTheirThreeKeysWithDefaults)
{
    const CDeviceCapabilityFile file = Load(
        "[modbus]\nwatchdogtimeoutmin=10\nWatchdogTimeoutMax=1000\n"
        "[PROTOCOL]\nHttpPortMin=1\nHttpPortMax=65535\nHttpPortDef=8080\n");
    const auto watchdog = file.GetLimits(L"MODBUS", L"WatchdogTimeout", {0, 0xFFFF, 1});
    EXPECT_EQ(watchdog.Min, 10);
    EXPECT_EQ(watchdog.Max, 1000);
    EXPECT_EQ(watchdog.Def, 1);
    const auto http = file.GetLimits(L"PROTOCOL", L"HttpPort", {0, 0xFFFF, 80});
    EXPECT_EQ(http.Min, 1);
    EXPECT_EQ(http.Max, 65535);
    EXPECT_EQ(http.Def, 8080);
    const auto sntp = file.GetLimits(L"SNTP", L"ActivationTime", {0, 0xFFFF, 30});
    EXPECT_EQ(sntp.Min, 0);
    EXPECT_EQ(sntp.Max, 0xFFFF);
    EXPECT_EQ(sntp.Def, 30);
}

TEST_F(DeviceCapabilityFileTest, IntegersAreTheLeadingSignedDecimalOfTheValue)
{
    // A variant whose "FBC" is no number still carries the key (it reads 0).
    const CDeviceCapabilityFile file = Load(
        "[0614-0500]\nFBC = 16\nBOOTDELAY=\t 45 seconds\nDIP=+1\nAUTOIP=-1\nISIS=x1\n"
        "[0614-0500/0001-0000]\nFBC=none\nBOOTDELAY=-5\n");
    EXPECT_EQ(file.GetDeviceIniInt(L"0614-0500", L"FBC", -1), 16);
    EXPECT_EQ(file.GetBootDelay(L"0614-0500"), 45);
    EXPECT_TRUE(file.HasDIPSwitch(L"0614-0500"));
    EXPECT_TRUE(file.HasAutoIP(L"0614-0500"));
    EXPECT_FALSE(file.HasISIS(L"0614-0500"));
    EXPECT_EQ(file.ResolveDeviceIniSection(L"0614-0500/0001-0000").str(), L"0614-0500/0001-0000");
    EXPECT_EQ(file.GetBootDelay(L"0614-0500/0001-0000"), -5);
}

TEST_F(DeviceCapabilityFileTest, MinimumFirmwareAndBootDelayDefaults)
{
    const CDeviceCapabilityFile file = Load("[0614-0352]\nFBC=1\n");
    EXPECT_EQ(file.GetMinimumFirmwareVersion(L"0614-0352").str(), L"00.00.00(00)");
    EXPECT_EQ(file.GetBootDelay(L"0614-0352"), -1);
}

TEST(DeviceCapabilityMissingFile, EveryReadGivesItsDefault)
{
    CTempFolder folder;
    const CDeviceCapabilityFile file(CString((folder.Path() / "absent.ini").wstring()));
    const CString article = L"0614-0881/0025-0000";
    EXPECT_FALSE(file.HasAutoIP(article));
    EXPECT_FALSE(file.HasDIPSwitch(article));
    EXPECT_FALSE(file.HasEthernetIPExtension(article));
    EXPECT_FALSE(file.HasFileSystem(article));
    EXPECT_FALSE(file.HasSDCard(article));
    EXPECT_FALSE(file.HasISIS(article));
    EXPECT_FALSE(file.IsPlcController(article));
    EXPECT_TRUE(file.DeviceHasIP(article));
    EXPECT_FALSE(file.HasSDCardSlotByIni(article));
    EXPECT_EQ(file.ResolveDeviceIniSection(article).str(), L"0614-0881");
    EXPECT_THAT(file.GetPageKeys(article), IsEmpty());
    EXPECT_THAT(file.GetSupportedDevices(), IsEmpty());
    EXPECT_THAT(file.GetInvalidIPAddresses(), IsEmpty());
    EXPECT_EQ(file.GetMinimumFirmwareVersion(article).str(), L"00.00.00(00)");
    EXPECT_EQ(file.GetBootDelay(article), -1);
    // A data set without a known path reads nothing at all.
    EXPECT_TRUE(CDeviceCapabilityFile().DeviceHasIP(article));
}

}  // namespace Corvane
