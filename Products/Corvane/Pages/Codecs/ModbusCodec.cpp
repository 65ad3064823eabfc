#include "Products/Corvane/Pages/Codecs/ModbusCodec.h"

namespace {
constexpr wchar_t Section[] = L"MODBUS";

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
    : WatchdogTimeoutLimits(file.GetLimits(Section, L"WatchdogTimeout", {0, 0xFFFF, 1})),
      Mask1Limits(file.GetLimits(Section, L"TriggerMask1", {0, 0xFFFF, 0xFFFF})),
      Mask2Limits(file.GetLimits(Section, L"TriggerMask2", {0, 0xFFFF, 0xFFFF})),
      ConnectionCountLimits(file.GetLimits(Section, L"ConnectionCount", {0, 5, 5})),
      ConnectionWatchdogLimits(file.GetLimits(Section, L"ConnectionWatchdog", {0, 0xFFFF, 0}))
{
    ConnectionWatchdogLimits.Def = file.GetInt(Section, L"ConnectionWatchdogDef32", 600);
    ConnectionWatchdogDef16 = file.GetInt(Section, L"ConnectionWatchdogDef16", 0);
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
        if (const std::optional<bool> close = block.ReadFlag(CloseSocketWord, 0xFFFF))
            CloseSocket = *close;
        LoadWord(block, SharedWord, Configuration);
        LoadWord(block, WatchdogTimeoutWord, WatchdogTimeout);
        LoadWord(block, MaxConnectionsWord, MaxConnections);
        LoadWord(block, ConnectionWatchdogWord, ConnectionWatchdog);
        LoadWord(block, Mask1Word, Mask1);
        LoadWord(block, Mask2Word, Mask2);
    } else {
        LoadWord(block, SharedWord, ConnectionWatchdog);
    }
    m_wLoadedSharedWord = block.Read(SharedWord);
}

bool CModbusCodec::Store(CDeviceBlock& block, bool wideFormat)
{
    const bool valid = Validate(wideFormat);
    if (wideFormat) {
        StoreWord(block, CloseSocketWord, CloseSocket ? 1 : 0);
        StoreWord(block, WatchdogTimeoutWord, WatchdogTimeout);
        StoreWord(block, Mask1Word, Mask1);
        StoreWord(block, Mask2Word, Mask2);
        StoreWord(block, MaxConnectionsWord, MaxConnections);
        StoreWord(block, ConnectionWatchdogWord, ConnectionWatchdog);
    }
    const std::optional<WORD> shared = SharedWordValue(wideFormat);
    if (shared && shared != m_wLoadedSharedWord && block.Write(SharedWord, *shared))
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
    std::vector<CFieldRange> checks{{ConnectionWatchdogControl, L"TT_CONNECTION_WATCHDOG_HDR", CFieldRange::DecimalMode,
                                     ConnectionWatchdog, ConnectionWatchdogLimits.Min, ConnectionWatchdogLimits.Max}};
    if (!wideFormat)
        return checks;
    checks.push_back({WatchdogTimeoutControl, L"TT_WATCHDOG_TIMEOUT_HDR", CFieldRange::DecimalMode, WatchdogTimeout,
                      WatchdogTimeoutLimits.Min, WatchdogTimeoutLimits.Max});
    checks.push_back({Mask1Control, L"TT_CODINGMASK_01_16_HDR", CFieldRange::HexMode, Mask1, Mask1Limits.Min,
                      Mask1Limits.Max});
    checks.push_back({Mask2Control, L"TT_CODINGMASK_17_32_HDR", CFieldRange::HexMode, Mask2, Mask2Limits.Min,
                      Mask2Limits.Max});
    return checks;
}
