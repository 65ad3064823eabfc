#pragma once
// The Ethernet link mode, bandwidth limit, activation time and task priority
// of the transmission page, kept in device-block words 69 to 71.
//
// Bit 4 of word 69 is one bit of the device that the state page edits too.
// A change of it is written into the block at once (CommitBandwidthLimit),
// and Store writes it only when this page changed it since its last load, so
// a page that was not looked at never puts back a stale value.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <optional>
#include <vector>

namespace Corvane {

class CTransmissionCodec {
public:
    static constexpr DWORD kModeWord = 69;
    static constexpr DWORD kActivationTimeWord = 70;
    static constexpr DWORD kPriorityWord = 71;
    static constexpr WORD kAutoNegotiationBit = 0x0001;
    static constexpr WORD kSpeed100Bit = 0x0002;
    static constexpr WORD kFullDuplexBit = 0x0004;
    static constexpr WORD kBandwidthLimitBit = 0x0010;
    static constexpr WORD kLinkModeBits = kAutoNegotiationBit | kSpeed100Bit | kFullDuplexBit;
    static constexpr int kSpeedIndexCount = 5;
    static constexpr int kPriorityCount = 3;
    static constexpr UINT kActivationTimeControl = 1106;

    CTransmissionCodec() = default;
    // The limits are in section "SNTP" of the file, not in the page's own.
    explicit CTransmissionCodec(const CDeviceCapabilityFile& file);

    void Load(const CDeviceBlock& block);
    // Writes all three words whatever the checks say and returns their result.
    bool Store(CDeviceBlock& block);
    // The bandwidth-limit bit into the block now.
    bool CommitBandwidthLimit(CDeviceBlock& block);

    std::vector<CFieldRange> RangeChecks() const;
    bool Validate() const { return CFieldRange::AllPass(RangeChecks()); }

    // The link-mode bits of a speed index; none for an unknown index.
    static std::optional<WORD> LinkModeOfIndex(int speedIndex);
    static int IndexOfLinkMode(WORD word69);
    // Full duplex without auto-negotiation risks a duplex mismatch.
    static bool WarnsOfDuplexMismatch(int speedIndex);

    bool BandwidthLimit = true;
    int SpeedIndex = 0;
    CDeviceCapabilityFile::CLimits ActivationTimeLimits{0, 0xFFFF, 30};
    int ActivationTime = 30;
    // -1 none, else 0 to 2 (word 71 holds 1 to 3).
    int PriorityIndex = -1;

private:
    std::optional<bool> m_bLoadedBandwidthLimit;
};

}  // namespace Corvane
