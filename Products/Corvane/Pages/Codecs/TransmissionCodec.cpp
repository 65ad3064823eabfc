#include "Products/Corvane/Pages/Codecs/TransmissionCodec.h"

CTransmissionCodec::CTransmissionCodec(const CDeviceCapabilityFile& file)
    : ActivationTimeLimits(file.GetLimits(L"SNTP", L"ActivationTime", {0, 0xFFFF, 30})),
      ActivationTime(ActivationTimeLimits.Def)
{
}

void CTransmissionCodec::Load(const CDeviceBlock& block)
{
    if (const std::optional<WORD> mode = block.Read(ModeWord)) {
        SpeedIndex = IndexOfLinkMode(*mode);
        BandwidthLimit = (*mode & BandwidthLimitBit) != 0;
        m_bLoadedBandwidthLimit = BandwidthLimit;
    }
    if (const std::optional<WORD> time = block.Read(ActivationTimeWord))
        ActivationTime = *time;
    if (const std::optional<WORD> priority = block.Read(PriorityWord))
        PriorityIndex = *priority >= 1 && *priority <= PriorityCount ? *priority - 1 : -1;
}

bool CTransmissionCodec::Store(CDeviceBlock& block)
{
    const bool valid = Validate();
    if (const std::optional<WORD> linkMode = LinkModeOfIndex(SpeedIndex))
        block.WriteBits(ModeWord, LinkModeBits, *linkMode);
    if (m_bLoadedBandwidthLimit != BandwidthLimit)
        CommitBandwidthLimit(block);
    block.Write(ActivationTimeWord, static_cast<WORD>(ActivationTime));
    if (PriorityIndex >= 0 && PriorityIndex < PriorityCount)
        block.Write(PriorityWord, static_cast<WORD>(PriorityIndex + 1));
    return valid;
}

bool CTransmissionCodec::CommitBandwidthLimit(CDeviceBlock& block)
{
    if (!block.WriteFlag(ModeWord, BandwidthLimitBit, BandwidthLimit))
        return false;
    m_bLoadedBandwidthLimit = BandwidthLimit;
    return true;
}

std::vector<CFieldRange> CTransmissionCodec::RangeChecks() const
{
    return {{ActivationTimeControl, L"TT_ACTIVATION_TIME_HDR", CFieldRange::DecimalMode, ActivationTime,
             ActivationTimeLimits.Min, ActivationTimeLimits.Max}};
}

std::optional<WORD> CTransmissionCodec::LinkModeOfIndex(int speedIndex)
{
    switch (speedIndex) {
    case 0:
        return LinkModeBits;
    case 1:
        return WORD{0};
    case 2:
        return FullDuplexBit;
    case 3:
        return Speed100Bit;
    case 4:
        return static_cast<WORD>(Speed100Bit | FullDuplexBit);
    default:
        return std::nullopt;
    }
}

int CTransmissionCodec::IndexOfLinkMode(WORD word69)
{
    if (word69 & AutoNegotiationBit)
        return 0;
    return 1 + ((word69 & Speed100Bit) ? 2 : 0) + ((word69 & FullDuplexBit) ? 1 : 0);
}

bool CTransmissionCodec::WarnsOfDuplexMismatch(int speedIndex)
{
    return speedIndex == 2 || speedIndex == 4;
}
