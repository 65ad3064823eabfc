#include "Products/Corvane/Pages/Codecs/EthernetIPCodec.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace Corvane {

namespace {
constexpr wchar_t kSection[] = L"ETHERNETIP";
}

CEthernetIPCodec::CEthernetIPCodec(const CDeviceCapabilityFile& file)
    : InputAdditionalLimits(file.GetLimits(kSection, L"BkFbInpVarCnt", {0, 512, 0})),
      OutputAdditionalLimits(file.GetLimits(kSection, L"BkFbOutVarCnt", {0, 512, 0})),
      InputBytesLimits(file.GetLimits(kSection, L"BkFbInpPlcOnlyVarCnt", {0, 512, 4})),
      InputOffsetLimits(file.GetLimits(kSection, L"BkFbInpStartPlcVarCnt", {0, 512, 0})),
      OutputBytesLimits(file.GetLimits(kSection, L"BkFbOutPlcOnlyVarCnt", {0, 512, 4})),
      OutputOffsetLimits(file.GetLimits(kSection, L"BkFbOutStartPlcVarCnt", {0, 512, 0}))
{
    InputAdditional = InputAdditionalLimits.Def;
    OutputAdditional = OutputAdditionalLimits.Def;
    InputBytes111 = InputBytes113 = InputBytesLimits.Def;
    InputOffset111 = InputOffset113 = InputOffsetLimits.Def;
    OutputBytes110 = OutputBytes112 = OutputBytesLimits.Def;
    OutputOffset110 = OutputOffset112 = OutputOffsetLimits.Def;
}

const std::vector<CEthernetIPCodec::CNumberWord>& CEthernetIPCodec::NumberWords()
{
    static const std::vector<CNumberWord> words = {
        {kInputAdditionalWord, &CEthernetIPCodec::InputAdditional},
        {kOutputAdditionalWord, &CEthernetIPCodec::OutputAdditional},
        {kInputBytes111Word, &CEthernetIPCodec::InputBytes111},
        {kInputOffset111Word, &CEthernetIPCodec::InputOffset111},
        {kOutputBytes110Word, &CEthernetIPCodec::OutputBytes110},
        {kOutputOffset110Word, &CEthernetIPCodec::OutputOffset110},
        {kInputBytes113Word, &CEthernetIPCodec::InputBytes113},
        {kInputOffset113Word, &CEthernetIPCodec::InputOffset113},
        {kOutputBytes112Word, &CEthernetIPCodec::OutputBytes112},
        {kOutputOffset112Word, &CEthernetIPCodec::OutputOffset112},
    };
    return words;
}

void CEthernetIPCodec::Load(const CDeviceBlock& block)
{
    if (!block.IsPresent())
        return;
    for (const CNumberWord& number : NumberWords())
        if (const std::optional<WORD> word = block.Read(number.Word))
            this->*number.Value = *word;
    if (const std::optional<WORD> word = block.Read(kRunIdleO2TWord))
        RunIdleO2T = RunIdleOfWord(*word);
    if (const std::optional<WORD> word = block.Read(kRunIdleT2OWord))
        RunIdleT2O = RunIdleOfWord(*word);
    if (const std::optional<WORD> word = block.Read(kFeatureWord)) {
        WordAlignmentAvailable = *word & kWordAlignmentAvailableBit;
        WordAlignmentOn = *word & kWordAlignmentOnBit;
    }
}

int CEthernetIPCodec::RunIdleOfWord(WORD word)
{
    if (word > 1)
        return -1;
    return word == 0 ? 1 : 0;
}

bool CEthernetIPCodec::Store(CDeviceBlock& block, bool controller) const
{
    if (!block.IsPresent())
        return false;
    const bool valid = Validate(controller);
    if (valid) {
        for (const CNumberWord& number : NumberWords())
            block.Write(number.Word, static_cast<WORD>(this->*number.Value));
        StoreRunIdle(block, kRunIdleO2TWord, RunIdleO2T);
        StoreRunIdle(block, kRunIdleT2OWord, RunIdleT2O);
    }
    block.WriteFlag(kFeatureWord, kWordAlignmentOnBit, WordAlignmentOn);
    return valid;
}

void CEthernetIPCodec::StoreRunIdle(CDeviceBlock& block, DWORD index, int runIdle)
{
    if (runIdle == 1)
        block.Write(index, 0);
    else if (runIdle == 0)
        block.Write(index, 1);
}

std::vector<CFieldRange> CEthernetIPCodec::RangeChecks(bool typing) const
{
    constexpr int Dec = CFieldRange::kDecimalMode;
    const auto inputOffset = [&](UINT control, LPCWSTR title, int value, int bytes) -> CFieldRange {
        if (typing)
            return {control, title, Dec, value, 0, kTypingTotal - bytes};
        return {control, title, Dec, value, InputOffsetLimits.Min, InputOffsetLimits.Max - bytes};
    };
    return {
        {1121, L"TT_PLC_INVAR_ADDITIONAL_101_103_HDR", Dec, InputAdditional, InputAdditionalLimits.Min,
         InputAdditionalLimits.Max},
        {1123, L"TT_PLC_INVAR_ADDITIONAL_104_109_HDR", Dec, OutputAdditional, OutputAdditionalLimits.Min,
         OutputAdditionalLimits.Max},
        {1125, L"TT_PLC_INVAR_ASSEMBLY_111_HDR", Dec, InputBytes111, InputBytesLimits.Min,
         InputBytesLimits.Max - InputOffset111},
        inputOffset(1126, L"TT_PLC_INVAR_OFFSET_ASSEMBLY_111_HDR", InputOffset111, InputBytes111),
        {1128, L"TT_PLC_INVAR_ASSEMBLY_113_HDR", Dec, InputBytes113, InputBytesLimits.Min,
         InputBytesLimits.Max - InputOffset113},
        inputOffset(1129, L"TT_PLC_INVAR_OFFSET_ASSEMBLY_113_HDR", InputOffset113, InputBytes113),
        {1131, L"TT_PLC_OUTVAR_ASSEMBLY_110_HDR", Dec, OutputBytes110, OutputBytesLimits.Min,
         OutputBytesLimits.Max - OutputOffset110},
        {1132, L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_110_HDR", Dec, OutputOffset110, OutputOffsetLimits.Min,
         OutputOffsetLimits.Max - OutputBytes110},
        {1134, L"TT_PLC_OUTVAR_ASSEMBLY_112_HDR", Dec, OutputBytes112, OutputBytesLimits.Min,
         OutputBytesLimits.Max - OutputOffset112},
        {1135, L"TT_PLC_OUTVAR_OFFSET_ASSEMBLY_112_HDR", Dec, OutputOffset112, OutputOffsetLimits.Min,
         OutputOffsetLimits.Max - OutputBytes112},
    };
}

bool CEthernetIPCodec::Validate(bool controller) const
{
    return !controller || CFieldRange::AllPass(RangeChecks(false));
}

bool CEthernetIPCodec::ShowsWordAlignment(bool available, bool hasIsis, const std::wstring& firmwareVersion)
{
    const unsigned int firmwareIndex = ParseNumberInParentheses(firmwareVersion);
    return available && hasIsis && (firmwareIndex == 0 || firmwareIndex >= 8);
}

bool CEthernetIPCodec::ShowsExtensionAssemblies(bool controller, DWORD blockLength, bool hasExtension)
{
    return controller && blockLength > kInputBytes113Word && hasExtension;
}

}  // namespace Corvane
