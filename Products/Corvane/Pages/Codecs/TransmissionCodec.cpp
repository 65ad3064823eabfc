#include "Products/Corvane/Pages/Codecs/TransmissionCodec.h"

namespace Corvane {

CTransmissionCodec::CTransmissionCodec(const CDeviceCapabilityFile& file)
    : ActivationTimeLimits(file.GetLimits(L"SNTP", L"ActivationTime", {0, 0xFFFF, 30})),
      ActivationTime(ActivationTimeLimits.Def)
{
}

void CTransmissionCodec::Load(const CDeviceBlock& block)
{
    if (const std::optional<WORD> mode = block.Read(kModeWord)) {
        SpeedIndex = IndexOfLinkMode(*mode);
        BandwidthLimit = (*mode & kBandwidthLimitBit) != 0;
        m_bLoadedBandwidthLimit = BandwidthLimit;
    }
    if (const std::optional<WORD> time = block.Read(kActivationTimeWord))
        ActivationTime = *time;
    if (const std::optional<WORD> priority = block.Read(kPriorityWord))
        PriorityIndex = *priority >= 1 && *priority <= kPriorityCount ? *priority - 1 : -1;
}

bool CTransmissionCodec::Store(CDeviceBlock& block)
{
    const bool valid = Validate();
    if (const std::optional<WORD> linkMode = LinkModeOfIndex(SpeedIndex))
        block.WriteBits(kModeWord, kLinkModeBits, *linkMode);
    if (m_bLoadedBandwidthLimit != BandwidthLimit)
        CommitBandwidthLimit(block);
    block.Write(kActivationTimeWord, static_cast<WORD>(ActivationTime));
    if (PriorityIndex >= 0 && PriorityIndex < kPriorityCount)
        block.Write(kPriorityWord, static_cast<WORD>(PriorityIndex + 1));
    return valid;
}

bool CTransmissionCodec::CommitBandwidthLimit(CDeviceBlock& block)
{
    if (!block.WriteFlag(kModeWord, kBandwidthLimitBit, BandwidthLimit))
        return false;
    m_bLoadedBandwidthLimit = BandwidthLimit;
    return true;
}

std::vector<CFieldRange> CTransmissionCodec::RangeChecks() const
{
    return {{kActivationTimeControl, L"TT_ACTIVATION_TIME_HDR", CFieldRange::kDecimalMode, ActivationTime,
             ActivationTimeLimits.Min, ActivationTimeLimits.Max}};
}

std::optional<WORD> CTransmissionCodec::LinkModeOfIndex(int speedIndex)
{
    switch (speedIndex) {
    case 0:
        return kLinkModeBits;
    case 1:
        return WORD{0};
    case 2:
        return kFullDuplexBit;
    case 3:
        return kSpeed100Bit;
    case 4:
        return static_cast<WORD>(kSpeed100Bit | kFullDuplexBit);
    default:
        return std::nullopt;
    }
}

int CTransmissionCodec::IndexOfLinkMode(WORD word69)
{
    if (word69 & kAutoNegotiationBit)
        return 0;
    return 1 + ((word69 & kSpeed100Bit) ? 2 : 0) + ((word69 & kFullDuplexBit) ? 1 : 0);
}

bool CTransmissionCodec::WarnsOfDuplexMismatch(int speedIndex)
{
    return speedIndex == 2 || speedIndex == 4;
}

}  // namespace Corvane
