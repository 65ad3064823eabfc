#include "Platform/Serial/ComPortMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;
using Serial::ComPortDevice;
using Serial::ComPortMap;

namespace {

// A small /sys/class/tty of our own.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("zell-sysfs-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "devices");
        fs::create_directories(m_root / "tty");
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path Tty(const std::string& name)
    {
        fs::create_directories(m_root / "tty" / name);
        return m_root / "tty" / name;
    }
    static void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text << "\n"; }
    // A device folder with a driver link, as the kernel makes them.
    fs::path Device(const fs::path& tty, const std::string& path, const std::string& driver)
    {
        const fs::path device = m_root / "devices" / path;
        fs::create_directories(device);
        fs::create_directories(m_root / "drivers" / driver);
        fs::create_directory_symlink(m_root / "drivers" / driver, device / "driver");
        fs::create_directory_symlink(device, tty / "device");
        return device;
    }
    ComPortMap Map(std::string_view variable = "") const { return ComPortMap((m_root / "tty").string(), "/dev", variable); }

    fs::path m_root;
};

const ComPortDevice* Find(const ComPortMap& map, int number)
{
    for (const ComPortDevice& device : map.Devices()) {
        if (device.number == number)
            return &device;
    }
    return nullptr;
}

}

TEST_F(FakeSysfs, UartsKeepTheirNumbersAndPlaceholdersAreLeftOut)
{
    Write(Tty("ttyS0") / "type", "4");
    Write(Tty("ttyS1") / "type", "0");
    Write(Tty("ttyS2") / "port", "0x2F8");
    Device(Tty("ttyS3"), "platform/serial8250/tty/ttyS3", "serial8250");
    Device(Tty("ttyS4"), "pnp/00:05/tty/ttyS4", "serial");
    Tty("tty0");
    Tty("ttyS12345");

    const ComPortMap map = Map();
    ASSERT_EQ(map.Devices().size(), 3u);
    EXPECT_EQ(map.Devices()[0].name, L"COM1");
    EXPECT_EQ(map.Devices()[0].devicePath, "/dev/ttyS0");
    EXPECT_EQ(map.Devices()[1].name, L"COM3");
    EXPECT_EQ(map.Devices()[1].devicePath, "/dev/ttyS2");
    EXPECT_EQ(map.Devices()[2].name, L"COM5");
    EXPECT_EQ(map.Devices()[2].devicePath, "/dev/ttyS4");
    EXPECT_FALSE(map.Devices()[0].usb);
}

TEST_F(FakeSysfs, AdaptersFollowInAStableOrderWithTheirProductText)
{
    Write(Tty("ttyS0") / "type", "4");
    const fs::path usb = Device(Tty("ttyUSB1"), "usb1/1-2/1-2:1.0/ttyUSB1", "ftdi_sio");
    Write(usb.parent_path().parent_path() / "product", "ZS-232 USB UART");
    Device(Tty("ttyUSB0"), "usb1/1-3/1-3:1.0/ttyUSB0", "pl2303");
    Device(Tty("ttyACM0"), "usb1/1-4/1-4:1.0", "cdc_acm");
    Tty("rfcomm0");

    const ComPortMap map = Map();
    ASSERT_EQ(map.Devices().size(), 5u);
    EXPECT_EQ(Find(map, 1)->devicePath, "/dev/ttyS0");
    EXPECT_EQ(Find(map, 2)->devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(Find(map, 3)->devicePath, "/dev/ttyUSB1");
    EXPECT_EQ(Find(map, 3)->description, L"ZS-232 USB UART");
    EXPECT_TRUE(Find(map, 3)->usb);
    EXPECT_EQ(Find(map, 4)->devicePath, "/dev/ttyACM0");
    EXPECT_TRUE(Find(map, 4)->usb);
    EXPECT_EQ(Find(map, 5)->devicePath, "/dev/rfcomm0");
    EXPECT_TRUE(Find(map, 5)->bluetooth);
    EXPECT_FALSE(Find(map, 5)->usb);
    EXPECT_FALSE(Find(map, 2)->description.empty());
}

TEST_F(FakeSysfs, TheVariableAddsAndReplacesPorts)
{
    Write(Tty("ttyS0") / "type", "4");
    Device(Tty("ttyUSB0"), "usb1/1-3/1-3:1.0/ttyUSB0", "pl2303");

    const ComPortMap map = Map(" COM7=/dev/pts/3; com1=/dev/pts/9 ,COM9=/dev/ttyUSB0;bad;COM0=/dev/x;COM8=relative;=/x;COM05=/y");
    ASSERT_EQ(map.Devices().size(), 4u);
    EXPECT_EQ(Find(map, 1)->devicePath, "/dev/pts/9");
    EXPECT_TRUE(Find(map, 1)->fromVariable);
    EXPECT_EQ(Find(map, 2)->devicePath, "/dev/ttyS0") << "the UART moves to the next free number";
    EXPECT_EQ(Find(map, 7)->devicePath, "/dev/pts/3");
    EXPECT_EQ(Find(map, 9)->devicePath, "/dev/ttyUSB0") << "a device the variable names is listed once";
    EXPECT_EQ(Find(map, 8), nullptr);
}

TEST_F(FakeSysfs, MissingSysfsGivesOnlyTheVariablesPorts)
{
    const ComPortMap map((m_root / "absent").string(), "/dev", "COM4=/dev/pts/1");
    ASSERT_EQ(map.Devices().size(), 1u);
    EXPECT_EQ(map.Devices()[0].name, L"COM4");
}

TEST(ComPortNames, NumbersAndPaths)
{
    EXPECT_EQ(ComPortMap::ComNumber(L"COM5"), 5);
    EXPECT_EQ(ComPortMap::ComNumber(L"com12"), 12);
    EXPECT_EQ(ComPortMap::ComNumber(L"\\\\.\\COM256"), 256);
    EXPECT_EQ(ComPortMap::ComNumber(L"COM0"), 0);
    EXPECT_EQ(ComPortMap::ComNumber(L"COM05"), 0);
    EXPECT_EQ(ComPortMap::ComNumber(L"COM"), 0);
    EXPECT_EQ(ComPortMap::ComNumber(L"COM1x"), 0);
    EXPECT_EQ(ComPortMap::ComNumber(L"COM12345"), 0);
    EXPECT_EQ(ComPortMap::ComNumber(L"LPT1"), 0);

    const ComPortMap map("/nonexistent", "/dev", "COM3=/dev/pts/7");
    EXPECT_EQ(map.DevicePathOf(L"\\\\.\\COM3"), "/dev/pts/7");
    EXPECT_EQ(map.DevicePathOf(L"COM3"), "/dev/pts/7");
    EXPECT_EQ(map.DevicePathOf(L"/dev/ttyUSB3"), "/dev/ttyUSB3");
    EXPECT_EQ(map.DevicePathOf(L"\\\\.\\/dev/ttyUSB3"), "/dev/ttyUSB3");
    EXPECT_FALSE(map.DevicePathOf(L"COM4"));
    EXPECT_FALSE(map.DevicePathOf(L"dev/ttyUSB3"));
    EXPECT_FALSE(map.DevicePathOf(L""));
}
