#include "Products/Corvane/Pages/Codecs/ModbusParamCodec.h"

#include <array>
#include <iterator>

namespace {

constexpr std::array<int, 6> FrameCodes = {0, 1, 2, 3, 4, 7};
constexpr std::array<int, 8> EndOfFrameCodes = {0, 5, 6, 7, 1, 2, 3, 4};

constexpr WORD BaudMask = 0x000F;
constexpr WORD FrameMask = 0x0070;
constexpr WORD EndOfFrameMask = 0x0380;
constexpr WORD ModeBit = 0x0400;
constexpr WORD ErrorCheckBit = 0x0800;
constexpr WORD WatchdogOffBit = 0x1000;
constexpr WORD LibraryOrCompatibilityBit = 0x2000;

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
    const std::optional<WORD> word = block.Read(ParamWord);
    if (!word)
        return;
    const int baud = *word & BaudMask;
    Values.BaudIndex = baud < BaudCount ? baud : -1;
    Values.FrameIndex = FrameIndexOfCode((*word & FrameMask) >> 4);
    Values.EndOfFrameIndex = EndOfFrameIndexOfCode((*word & EndOfFrameMask) >> 7);
    Values.ModeIndex = (*word & ModeBit) ? 1 : 0;
    Values.ErrorCheck = *word & ErrorCheckBit;
    Values.Watchdog = !(*word & WatchdogOffBit);
    Values.UseLibrary = !(*word & LibraryOrCompatibilityBit);
    Values.Compatibility = *word & LibraryOrCompatibilityBit;
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
            block.WriteBits(ParamWord, field.Mask, *field.Bits);
    }
    if (const std::optional<WORD> word = block.Read(ParamWord))
        m_wLoadedWord = word;
    return true;
}

std::array<CModbusParamCodec::CBits, 7> CModbusParamCodec::FieldBits(const CFields& fields, bool controller)
{
    const bool bit13 = controller ? !fields.UseLibrary : fields.Compatibility;
    const bool baudKnown = fields.BaudIndex < BaudCount;
    const bool modeKnown = fields.ModeIndex < ModeCount;
    return {{
        {BaudMask, baudKnown ? Shifted(fields.BaudIndex, 0) : std::nullopt},
        {FrameMask, Shifted(FrameCodeOfIndex(fields.FrameIndex), 4)},
        {EndOfFrameMask, Shifted(EndOfFrameCodeOfIndex(fields.EndOfFrameIndex), 7)},
        {ModeBit, modeKnown ? Shifted(fields.ModeIndex, 10) : std::nullopt},
        {ErrorCheckBit, Flag(fields.ErrorCheck, ErrorCheckBit)},
        {WatchdogOffBit, Flag(!fields.Watchdog, WatchdogOffBit)},
        {LibraryOrCompatibilityBit, Flag(bit13, LibraryOrCompatibilityBit)},
    }};
}

int CModbusParamCodec::FrameIndexOfCode(int code)
{
    return IndexOf(FrameCodes, code);
}

int CModbusParamCodec::FrameCodeOfIndex(int index)
{
    return CodeAt(FrameCodes, index);
}

int CModbusParamCodec::EndOfFrameIndexOfCode(int code)
{
    return IndexOf(EndOfFrameCodes, code);
}

int CModbusParamCodec::EndOfFrameCodeOfIndex(int index)
{
    return CodeAt(EndOfFrameCodes, index);
}
