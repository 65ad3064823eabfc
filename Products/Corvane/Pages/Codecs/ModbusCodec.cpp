#include "Products/Corvane/Pages/Codecs/ModbusCodec.h"

namespace Corvane {

namespace {
constexpr wchar_t kSection[] = L"MODBUS";

void LoadWord(const CDeviceBlock& block, DWORD index, int& value)
{
    if (const std::optional<WORD> word = block.Read(index))
        value = *word;
}

void StoreWord(CDeviceBlock& block, DWORD index, int value)
{
    block.Write(index, static_cast<WORD>(value & 0xFFFF));
}
}

CModbusCodec::CModbusCodec(const CDeviceCapabilityFile& file)
    : WatchdogTimeoutLimits(file.GetLimits(kSection, L"WatchdogTimeout", {0, 0xFFFF, 1})),
      Mask1Limits(file.GetLimits(kSection, L"TriggerMask1", {0, 0xFFFF, 0xFFFF})),
      Mask2Limits(file.GetLimits(kSection, L"TriggerMask2", {0, 0xFFFF, 0xFFFF})),
      ConnectionCountLimits(file.GetLimits(kSection, L"ConnectionCount", {0, 5, 5})),
      ConnectionWatchdogLimits(file.GetLimits(kSection, L"ConnectionWatchdog", {0, 0xFFFF, 0}))
{
    ConnectionWatchdogLimits.Def = file.GetInt(kSection, L"ConnectionWatchdogDef32", 600);
    ConnectionWatchdogDef16 = file.GetInt(kSection, L"ConnectionWatchdogDef16", 0);
    WatchdogTimeout = WatchdogTimeoutLimits.Def;
    Mask1 = Mask1Limits.Def;
    Mask2 = Mask2Limits.Def;
    MaxConnections = ConnectionCountLimits.Def;
    ConnectionWatchdog = ConnectionWatchdogLimits.Def;
}

int CModbusCodec::ConnectionWatchdogDefault(bool wideFormat) const
{
    return wideFormat ? ConnectionWatchdogLimits.Def : ConnectionWatchdogDef16;
}

void CModbusCodec::Load(const CDeviceBlock& block, bool wideFormat)
{
    if (!block.IsPresent())
        return;
    if (wideFormat) {
        if (const std::optional<bool> close = block.ReadFlag(kCloseSocketWord, 0xFFFF))
            CloseSocket = *close;
        LoadWord(block, kSharedWord, Configuration);
        LoadWord(block, kWatchdogTimeoutWord, WatchdogTimeout);
        LoadWord(block, kMaxConnectionsWord, MaxConnections);
        LoadWord(block, kConnectionWatchdogWord, ConnectionWatchdog);
        LoadWord(block, kMask1Word, Mask1);
        LoadWord(block, kMask2Word, Mask2);
    } else {
        LoadWord(block, kSharedWord, ConnectionWatchdog);
    }
    m_wLoadedSharedWord = block.Read(kSharedWord);
}

bool CModbusCodec::Store(CDeviceBlock& block, bool wideFormat)
{
    const bool valid = Validate(wideFormat);
    if (wideFormat) {
        StoreWord(block, kCloseSocketWord, CloseSocket ? 1 : 0);
        StoreWord(block, kWatchdogTimeoutWord, WatchdogTimeout);
        StoreWord(block, kMask1Word, Mask1);
        StoreWord(block, kMask2Word, Mask2);
        StoreWord(block, kMaxConnectionsWord, MaxConnections);
        StoreWord(block, kConnectionWatchdogWord, ConnectionWatchdog);
    }
    const std::optional<WORD> shared = SharedWordValue(wideFormat);
    if (shared && shared != m_wLoadedSharedWord && block.Write(kSharedWord, *shared))
        m_wLoadedSharedWord = shared;
    return valid;
}

std::optional<WORD> CModbusCodec::SharedWordValue(bool wideFormat) const
{
    if (!wideFormat)
        return static_cast<WORD>(ConnectionWatchdog & 0xFFFF);
    if (Configuration < 0)
        return std::nullopt;
    return static_cast<WORD>(Configuration & 0xFFFF);
}

std::vector<CFieldRange> CModbusCodec::RangeChecks(bool wideFormat) const
{
    std::vector<CFieldRange> checks{{kConnectionWatchdogControl, L"TT_CONNECTION_WATCHDOG_HDR", CFieldRange::kDecimalMode,
                                     ConnectionWatchdog, ConnectionWatchdogLimits.Min, ConnectionWatchdogLimits.Max}};
    if (!wideFormat)
        return checks;
    checks.push_back({kWatchdogTimeoutControl, L"TT_WATCHDOG_TIMEOUT_HDR", CFieldRange::kDecimalMode, WatchdogTimeout,
                      WatchdogTimeoutLimits.Min, WatchdogTimeoutLimits.Max});
    checks.push_back({kMask1Control, L"TT_CODINGMASK_01_16_HDR", CFieldRange::kHexMode, Mask1, Mask1Limits.Min,
                      Mask1Limits.Max});
    checks.push_back({kMask2Control, L"TT_CODINGMASK_17_32_HDR", CFieldRange::kHexMode, Mask2, Mask2Limits.Min,
                      Mask2Limits.Max});
    return checks;
}

}  // namespace Corvane
