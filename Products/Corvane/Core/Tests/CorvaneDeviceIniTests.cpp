#include "Products/Corvane/Core/CorvaneDeviceIni.h"

#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvane {

namespace {

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

}

}  // namespace Corvane
