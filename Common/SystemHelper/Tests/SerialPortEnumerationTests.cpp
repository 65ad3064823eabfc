#include "Common/SystemHelper/System/SerialPortEnumeration.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

ComInterfaceRecord Device(const std::wstring& path, const std::wstring& friendlyName, const std::wstring& description,
    const std::wstring& location = L"")
{
    return ComInterfaceRecord{path, friendlyName, description, location};
}

ComInterfaceSource SourceOf(std::vector<ComInterfaceRecord> devices)
{
    return [devices](std::vector<ComInterfaceRecord>& records, DWORD& error) {
        records = devices;
        error = 0;
        return true;
    };
}

// A private registry store, trace file and port variable for one test.
class SerialEnumerationTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebugTraceEnabled(true); }
    void TearDown() override { SetDebugTraceEnabled(false); }
    static void MapPort(const wchar_t* valueName, const std::wstring& data, DWORD type = REG_SZ)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Hardware\\DeviceMap\\SerialComm", 0, nullptr, 0, KEY_WRITE,
                      nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, valueName, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                      static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }

    TestSupport::CTempConfigHome m_config{"zell-serialenum"};
    TestSupport::CDebugOutputFile m_trace;
    TestSupport::CScopedVariable m_ports{"ZELL_SERIAL_PORTS", std::nullopt};
};

}

TEST_F(SerialEnumerationTest, UsbAdapterNamedByDescriptionAndPort)
{
    std::vector<SerialPortInfo> ports;
    EnumerateComInterfaces(ports, false,
        SourceOf({Device(L"/dev/ttyUSB0", L"USB Serial Port (COM7)", L"USB Serial Port", L"Port_#0001.Hub_#0002 usb")}));
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].name, L"COM7");
    EXPECT_EQ(ports[0].portNumber, 7);
    EXPECT_TRUE(ports[0].usb);
    EXPECT_TRUE(ports[0].special);
    EXPECT_FALSE(ports[0].bluetooth);
    EXPECT_EQ(ports[0].description, L"USB Serial Port");
    EXPECT_EQ(ports[0].friendlyName, L"USB Serial Port (COM7)");
    EXPECT_EQ(ports[0].devicePath, L"/dev/ttyUSB0");
    EXPECT_EQ(ports[0].fromDeviceMap, 0);
    EXPECT_NE(m_trace.Read().find("USB Serial Port (COM7)\n"), std::string::npos);
}

TEST_F(SerialEnumerationTest, BluetoothPortWhoseNameLacksTheDescription)
{
    std::vector<SerialPortInfo> ports;
    EnumerateComInterfaces(ports, false,
        SourceOf({Device(L"/dev/rfcomm0", L"Standard Serial over Bluetooth link (COM12)", L"Bluetooth-Gerät")}));
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].name, L"COM12");
    EXPECT_EQ(ports[0].portNumber, 12);
    EXPECT_EQ(ports[0].description, L"Standard Serial over Bluetooth link ");
    EXPECT_TRUE(ports[0].bluetooth);
    EXPECT_TRUE(ports[0].special);
    EXPECT_FALSE(ports[0].usb);
    EXPECT_NE(m_trace.Read().find("Error: Description of communication port not found in friendly name!\n"
                           "       Desription   : Bluetooth-Ger\xc3\xa4t\n"),
        std::string::npos);
}

TEST_F(SerialEnumerationTest, DevicesWithoutAPortNameAreSkipped)
{
    std::vector<SerialPortInfo> ports;
    EnumerateComInterfaces(ports, false,
        SourceOf({
            Device(L"/dev/a", L"Serial Thing", L"Other"),          // neither "(COM" nor the description
            Device(L"/dev/b", L"Modem Serial", L"Modem"),          // description there, no COM after it
            Device(L"/dev/c", L"Port (COMx)", L"Port"),            // COM without a number
            Device(L"/dev/d", L"Printer port (LPT1)", L"Printer"), // not a serial device at all
            ComInterfaceRecord{L"/dev/e", std::nullopt, L"No name"},
            ComInterfaceRecord{L"/dev/f", L"Port (COM3)", std::nullopt},
        }));
    EXPECT_TRUE(ports.empty());
    EXPECT_NE(m_trace.Read().find("Error: Prefix 'COM' was not found in friendly name!"), std::string::npos);

    // With include-all the printer port is looked at, but still has no COM number.
    EnumerateComInterfaces(ports, true, SourceOf({Device(L"/dev/d", L"Printer port (LPT1)", L"Printer")}));
    EXPECT_TRUE(ports.empty());
}

TEST_F(SerialEnumerationTest, ClassQueryFailureThrowsText)
{
    std::vector<SerialPortInfo> ports;
    const ComInterfaceSource failing = [](std::vector<ComInterfaceRecord>&, DWORD& error) {
        error = 0xd;
        return false;
    };
    try {
        EnumerateComInterfaces(ports, false, failing);
        ADD_FAILURE() << "did not throw";
    } catch (const std::wstring& text) {
        EXPECT_EQ(text, L"SetupDiGetClassDevs failed. (err=d)");
    }
    EXPECT_NE(m_trace.Read().find("SetupDiGetClassDevs failed. (err=d)"), std::string::npos);
}

TEST_F(SerialEnumerationTest, DeviceMapPortsAndMergeWithInterfaces)
{
    MapPort(L"\\Device\\Serial0", L"COM3");
    MapPort(L"\\Device\\Serial1", L"COM4");
    MapPort(L"\\Device\\VCP0", L"COM20");
    MapPort(L"\\Device\\Bad", L"COM0");       // no port number
    MapPort(L"\\Device\\Huge", L"COM99999999999"); // saturated, not undefined
    MapPort(L"\\Device\\Binary", L"COM5", REG_BINARY);

    std::vector<SerialPortInfo> mapped;
    EnumerateDeviceMapPorts(mapped);
    ASSERT_EQ(mapped.size(), 4u);
    EXPECT_EQ(mapped[0].name, L"COM3");
    EXPECT_EQ(mapped[0].devicePath, L"\\\\.\\COM3");
    EXPECT_EQ(mapped[0].description, L"Serial0");
    EXPECT_EQ(mapped[0].fromDeviceMap, 1);
    EXPECT_FALSE(mapped[0].special);
    EXPECT_EQ(mapped[2].portNumber, 20);
    EXPECT_EQ(mapped[3].portNumber, 2147483647);

    std::vector<SerialPortInfo> ports;
    EnumerateSerialPorts(ports, SourceOf({Device(L"/dev/ttyS2", L"Communications Port (COM3)", L"Communications Port"),
                                    Device(L"/dev/ttyUSB1", L"USB Serial Port (COM10)", L"USB Serial Port", L"USB")}));
    ASSERT_EQ(ports.size(), 5u);
    EXPECT_EQ(ports[0].portNumber, 3);
    EXPECT_EQ(ports[0].devicePath, L"/dev/ttyS2");
    EXPECT_EQ(ports[0].fromDeviceMap, 0);
    EXPECT_EQ(ports[1].portNumber, 4);
    EXPECT_EQ(ports[1].fromDeviceMap, 1);
    EXPECT_EQ(ports[2].portNumber, 10);
    EXPECT_EQ(ports[3].portNumber, 20);
}

TEST_F(SerialEnumerationTest, SortedByNumberNotByText)
{
    std::vector<SerialPortInfo> ports;
    EnumerateSerialPorts(ports, SourceOf({Device(L"/x", L"P (COM10)", L"P"), Device(L"/y", L"P (COM2)", L"P"),
                                    Device(L"/z", L"P (COM1)", L"P")}));
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, L"COM1");
    EXPECT_EQ(ports[1].name, L"COM2");
    EXPECT_EQ(ports[2].name, L"COM10");
}

TEST_F(SerialEnumerationTest, PseudoTerminalsFromTheVariableAreListed)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    char path[128] = {};
    ASSERT_EQ(ptsname_r(master, path, sizeof(path)), 0);
    const std::string variable = std::string("COM57=") + path + ";COM58=" + path;
    ::setenv("ZELL_SERIAL_PORTS", variable.c_str(), 1);

    std::vector<SerialPortInfo> ports;
    EnumerateSerialPorts(ports);
    ::close(master);
    std::vector<int> numbers;
    for (const SerialPortInfo& port : ports)
        numbers.push_back(port.portNumber);
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    const auto found = std::find_if(ports.begin(), ports.end(), [](const SerialPortInfo& p) { return p.portNumber == 57; });
    ASSERT_NE(found, ports.end());
    EXPECT_EQ(found->name, L"COM57");
    EXPECT_EQ(found->devicePath, L"\\\\.\\COM57");
    EXPECT_EQ(found->fromDeviceMap, 1);
    EXPECT_EQ(found->description, std::wstring(path, path + std::strlen(path)));
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 58), 1);
}
