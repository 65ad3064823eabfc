#include "Products/Corvane/Pages/Codecs/ModbusParamCodec.h"

#include <array>
#include <iterator>

namespace Corvane {

namespace {

constexpr std::array<int, 6> kFrameCodes = {0, 1, 2, 3, 4, 7};
constexpr std::array<int, 8> kEndOfFrameCodes = {0, 5, 6, 7, 1, 2, 3, 4};

constexpr WORD kBaudMask = 0x000F;
constexpr WORD kFrameMask = 0x0070;
constexpr WORD kEndOfFrameMask = 0x0380;
constexpr WORD kModeBit = 0x0400;
constexpr WORD kErrorCheckBit = 0x0800;
constexpr WORD kWatchdogOffBit = 0x1000;
constexpr WORD kLibraryOrCompatibilityBit = 0x2000;

template <std::size_t N>
int IndexOf(const std::array<int, N>& codes, int code)
{
    for (std::size_t i = 0; i < N; ++i)
        if (codes[i] == code)
            return static_cast<int>(i);
    return -1;
}

template <std::size_t N>
int CodeAt(const std::array<int, N>& codes, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? codes[static_cast<std::size_t>(index)] : -1;
}

std::optional<WORD> Shifted(int value, int shift)
{
    if (value < 0)
        return std::nullopt;
    return static_cast<WORD>(value << shift);
}

WORD Flag(bool on, WORD bit)
{
    return on ? bit : 0;
}

}

void CModbusParamCodec::Load(const CDeviceBlock& block)
{
    const std::optional<WORD> word = block.Read(kParamWord);
    if (!word)
        return;
    const int baud = *word & kBaudMask;
    Values.BaudIndex = baud < kBaudCount ? baud : -1;
    Values.FrameIndex = FrameIndexOfCode((*word & kFrameMask) >> 4);
    Values.EndOfFrameIndex = EndOfFrameIndexOfCode((*word & kEndOfFrameMask) >> 7);
    Values.ModeIndex = (*word & kModeBit) ? 1 : 0;
    Values.ErrorCheck = *word & kErrorCheckBit;
    Values.Watchdog = !(*word & kWatchdogOffBit);
    Values.UseLibrary = !(*word & kLibraryOrCompatibilityBit);
    Values.Compatibility = *word & kLibraryOrCompatibilityBit;
    m_wLoadedWord = word;
}

bool CModbusParamCodec::Store(CDeviceBlock& block, bool controller)
{
    if (!block.IsPresent())
        return false;
    for (const CBits& field : FieldBits(Values, controller)) {
        if (!field.Bits)
            continue;
        if (!m_wLoadedWord || *field.Bits != (*m_wLoadedWord & field.Mask))
            block.WriteBits(kParamWord, field.Mask, *field.Bits);
    }
    if (const std::optional<WORD> word = block.Read(kParamWord))
        m_wLoadedWord = word;
    return true;
}

std::array<CModbusParamCodec::CBits, 7> CModbusParamCodec::FieldBits(const CFields& fields, bool controller)
{
    const bool bit13 = controller ? !fields.UseLibrary : fields.Compatibility;
    const bool baudKnown = fields.BaudIndex < kBaudCount;
    const bool modeKnown = fields.ModeIndex < kModeCount;
    return {{
        {kBaudMask, baudKnown ? Shifted(fields.BaudIndex, 0) : std::nullopt},
        {kFrameMask, Shifted(FrameCodeOfIndex(fields.FrameIndex), 4)},
        {kEndOfFrameMask, Shifted(EndOfFrameCodeOfIndex(fields.EndOfFrameIndex), 7)},
        {kModeBit, modeKnown ? Shifted(fields.ModeIndex, 10) : std::nullopt},
        {kErrorCheckBit, Flag(fields.ErrorCheck, kErrorCheckBit)},
        {kWatchdogOffBit, Flag(!fields.Watchdog, kWatchdogOffBit)},
        {kLibraryOrCompatibilityBit, Flag(bit13, kLibraryOrCompatibilityBit)},
    }};
}

int CModbusParamCodec::FrameIndexOfCode(int code)
{
    return IndexOf(kFrameCodes, code);
}

int CModbusParamCodec::FrameCodeOfIndex(int index)
{
    return CodeAt(kFrameCodes, index);
}

int CModbusParamCodec::EndOfFrameIndexOfCode(int code)
{
    return IndexOf(kEndOfFrameCodes, code);
}

int CModbusParamCodec::EndOfFrameCodeOfIndex(int index)
{
    return CodeAt(kEndOfFrameCodes, index);
}

}  // namespace Corvane
