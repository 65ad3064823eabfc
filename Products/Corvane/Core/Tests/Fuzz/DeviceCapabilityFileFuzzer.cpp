// Any bytes as the device capability file: every look-up ends with a value,
// every list is bounded.

#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using namespace Corvane;

namespace {

const std::filesystem::path& FuzzFile()
{
    static const std::filesystem::path path = FuzzSupport::ScratchFolder() / "corvane.ini";
    return path;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(FuzzFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const CDeviceCapabilityFile file(CString(FuzzFile().wstring()));
    for (const wchar_t* article : {L"0614-0881", L"0614-0881/0025-0000", L"", L"0000"}) {
        const CString text(article);
        (void)file.ResolveDeviceIniSection(text);
        (void)file.HasAutoIP(text);
        (void)file.IsPlcController(text);
        (void)file.DeviceHasIP(text);
        (void)file.HasSDCardSlotByIni(text);
        (void)file.GetMinimumFirmwareVersion(text);
        (void)file.GetBootDelay(text);
        if (file.GetPageKeys(text).size() > CDeviceCapabilityFile::kMaxListEntries)
            __builtin_trap();
    }
    if (file.GetSupportedDevices().size() > CDeviceCapabilityFile::kMaxListEntries ||
        file.GetInvalidIPAddresses().size() > CDeviceCapabilityFile::kMaxListEntries)
        __builtin_trap();
    (void)file.GetLimits(L"MODBUS", L"WatchdogTimeout", {0, 0xFFFF, 1});
    return 0;
}
