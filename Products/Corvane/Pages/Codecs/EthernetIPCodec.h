#pragma once
// The EtherNet/IP settings of the device block: additional I/O bytes (words
// 60, 61), size and offset of the controller's assemblies 111 and 110 (62-65)
// and, in longer blocks, 113 and 112 (213-216), the run/idle headers (66, 67)
// and word alignment (word 68 bit 5 available, bit 6 on).

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <string>
#include <vector>

namespace Corvane {

class CEthernetIPCodec {
public:
    using CLimits = CDeviceCapabilityFile::CLimits;

    static constexpr DWORD kInputAdditionalWord = 60;
    static constexpr DWORD kOutputAdditionalWord = 61;
    static constexpr DWORD kInputBytes111Word = 62;
    static constexpr DWORD kInputOffset111Word = 63;
    static constexpr DWORD kOutputBytes110Word = 64;
    static constexpr DWORD kOutputOffset110Word = 65;
    static constexpr DWORD kRunIdleO2TWord = 66;
    static constexpr DWORD kRunIdleT2OWord = 67;
    static constexpr DWORD kFeatureWord = 68;
    static constexpr DWORD kInputBytes113Word = 213;
    static constexpr DWORD kInputOffset113Word = 214;
    static constexpr DWORD kOutputBytes112Word = 215;
    static constexpr DWORD kOutputOffset112Word = 216;
    static constexpr WORD kWordAlignmentAvailableBit = 0x0020;
    static constexpr WORD kWordAlignmentOnBit = 0x0040;
    // While typing, an offset of an input assembly is bound by this total.
    static constexpr int kTypingTotal = 512;

    CEthernetIPCodec() = default;
    explicit CEthernetIPCodec(const CDeviceCapabilityFile& file);

    void Load(const CDeviceBlock& block);
    // False without a block. The numbers and run/idle words only when every
    // check passes; word 68's alignment bit in any case.
    bool Store(CDeviceBlock& block, bool controller) const;

    // In validation order. While typing, the offsets of the input assemblies
    // are bound by 0 and 512 minus their size instead of their own limits.
    std::vector<CFieldRange> RangeChecks(bool typing) const;
    // Only controllers have these fields.
    bool Validate(bool controller) const;

    static bool ShowsWordAlignment(bool available, bool hasIsis, const std::wstring& firmwareVersion);
    static bool ShowsExtensionAssemblies(bool controller, DWORD blockLength, bool hasExtension);

    CLimits InputAdditionalLimits{0, 512, 0};
    CLimits OutputAdditionalLimits{0, 512, 0};
    CLimits InputBytesLimits{0, 512, 4};
    CLimits InputOffsetLimits{0, 512, 0};
    CLimits OutputBytesLimits{0, 512, 4};
    CLimits OutputOffsetLimits{0, 512, 0};

    int InputAdditional = 0;
    int OutputAdditional = 0;
    int InputBytes111 = 4;
    int InputOffset111 = 0;
    int InputBytes113 = 4;
    int InputOffset113 = 0;
    int OutputBytes110 = 4;
    int OutputOffset110 = 0;
    int OutputBytes112 = 4;
    int OutputOffset112 = 0;
    // 1 on, 0 off, -1 undetermined (a device word above 1, never written back).
    int RunIdleO2T = 1;
    int RunIdleT2O = 1;
    bool WordAlignmentAvailable = false;
    bool WordAlignmentOn = false;

private:
    struct CNumberWord {
        DWORD Word;
        int CEthernetIPCodec::*Value;
    };
    static const std::vector<CNumberWord>& NumberWords();
    static int RunIdleOfWord(WORD word);
    static void StoreRunIdle(CDeviceBlock& block, DWORD index, int runIdle);
};

}  // namespace Corvane
