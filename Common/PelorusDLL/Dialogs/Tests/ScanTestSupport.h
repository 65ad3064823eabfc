#pragma once
// What the scan tests share: simulated devices at several loopback
// addresses on one port, and a probe that answers for loopback addresses
// what the network cannot (which address answers an echo, its MAC).

#include "Common/PelorusDLL/Dialogs/ScanProbe.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace PelorusTest {

class CFakeProbe : public CScanProbe {
public:
    // Addresses that answer, with their MAC (empty: none by ARP).
    std::map<std::wstring, std::wstring> m_answering;
    std::atomic<int> m_pings{0};

    bool Ping(const std::wstring& address, unsigned long) override
    {
        ++m_pings;
        std::lock_guard lock(m_mutex);
        return m_answering.count(address) != 0;
    }
    std::wstring MacAddress(const std::wstring& address) override
    {
        std::lock_guard lock(m_mutex);
        auto it = m_answering.find(address);
        return it == m_answering.end() ? std::wstring() : it->second;
    }
    std::wstring HostName(const std::wstring& address, unsigned short) override { return L"host-" + address; }

private:
    std::mutex m_mutex;
};

// Devices at 127.0.0.<n> for each n given, all on one port.
class CSimulatedDevices {
public:
    explicit CSimulatedDevices(const std::vector<int>& hosts)
    {
        for (int host : hosts) {
            auto device = std::make_unique<DevSim::CDeviceSimulator>();
            device->SetLoopbackAddress(0x7F000000u | static_cast<uint32_t>(host));
            device->Model().Update([host](DevSim::tDeviceData& data) {
                data.identItems[0].second = "0612-00" + std::to_string(10 + host);
                data.networkId = "MAC-ID=025AE10000" + std::to_string(10 + host);
            });
            if (!device->Start(m_port)) {
                ADD_FAILURE() << device->LastError();
                continue;
            }
            m_port = device->Port();
            m_devices.push_back(std::move(device));
        }
    }
    unsigned short Port() const { return m_port; }
    DevSim::CDeviceSimulator& Device(std::size_t index) { return *m_devices.at(index); }

private:
    unsigned short m_port = 0;
    std::vector<std::unique_ptr<DevSim::CDeviceSimulator>> m_devices;
};

// The texts of one column of the device list, top to bottom.
inline std::vector<std::wstring> Column(HWND list, int column)
{
    std::vector<std::wstring> cells;
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t buffer[128] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 128;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        cells.push_back(buffer);
    }
    return cells;
}

inline void ClickRow(HWND list, int row)
{
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT at{rect.left + 8, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &at);
    UiTest::CDialogDriver::ClickAt(at);
}

}
