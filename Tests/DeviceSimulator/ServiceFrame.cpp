#include "Tests/DeviceSimulator/ServiceFrame.h"

#include "Tests/DeviceSimulator/ByteOrder.h"

namespace DevSim {

tFrameHeader CServiceFrame::ParseHeader(const uint8_t* bytes)
{
    tFrameHeader header;
    header.command = GetU16(bytes + 0);
    header.transaction = GetU16(bytes + 2);
    header.fragmentNumber = GetU16(bytes + 4);
    header.fragmentCount = GetU16(bytes + 6);
    header.reserved = GetU32(bytes + 8);
    header.status = GetU16(bytes + 12);
    header.flags = GetU16(bytes + 14);
    header.length = GetU16(bytes + 16);
    return header;
}

void CServiceFrame::WriteHeader(const tFrameHeader& header, uint8_t* bytes)
{
    PutU16(bytes + 0, header.command);
    PutU16(bytes + 2, header.transaction);
    PutU16(bytes + 4, header.fragmentNumber);
    PutU16(bytes + 6, header.fragmentCount);
    PutU32(bytes + 8, header.reserved);
    PutU16(bytes + 12, header.status);
    PutU16(bytes + 14, header.flags);
    PutU16(bytes + 16, header.length);
}

uint16_t CServiceFrame::ByteSum(const uint8_t* bytes, size_t count)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

size_t CServiceFrame::BodySize(const tFrameHeader& header, uint16_t checksumLength)
{
    return static_cast<size_t>(header.length) + checksumLength;
}

ENFrameCheck CServiceFrame::Parse(const uint8_t* bytes, size_t size, uint16_t checksumLength, tServiceFrame& out)
{
    if (size < kHeaderSize)
        return ENFrameCheck::SizeMismatch;
    out = tServiceFrame{};
    out.header = ParseHeader(bytes);
    const size_t counted = kHeaderSize + out.header.length;
    if (size != counted + checksumLength)
        return ENFrameCheck::SizeMismatch;

    size_t dataStart = kHeaderSize;
    // A routing part is never longer than 0 bytes here, so flag 0x2000 moves nothing.
    if (out.header.flags & FLAG_EXCLUSIVE) {
        if (out.header.length < kExclusiveSize)
            return ENFrameCheck::ExclusiveTooShort;
        out.exclusiveId = GetU32(bytes + kHeaderSize);
        dataStart += kExclusiveSize;
    }
    out.data.assign(bytes + dataStart, bytes + counted);

    // Only a 2-byte sum has a defined content; longer checksum fields carry
    // the sum in their first two bytes and zeros behind.
    if (checksumLength >= 2) {
        const uint16_t expected = ByteSum(bytes, counted);
        if (GetU16(bytes + counted) != expected)
            return ENFrameCheck::ChecksumMismatch;
    }
    return ENFrameCheck::Ok;
}

std::vector<uint8_t> CServiceFrame::Build(tFrameHeader header, const std::optional<uint32_t>& exclusiveId,
                                          const std::vector<uint8_t>& data, uint16_t checksumLength)
{
    const size_t counted = (exclusiveId ? kExclusiveSize : 0) + data.size();
    header.length = static_cast<uint16_t>(counted & 0xFFFF);
    if (exclusiveId)
        header.flags |= FLAG_EXCLUSIVE;
    else
        header.flags &= static_cast<uint16_t>(~FLAG_EXCLUSIVE);

    std::vector<uint8_t> frame(kHeaderSize);
    WriteHeader(header, frame.data());
    if (exclusiveId)
        AppendU32(frame, *exclusiveId);
    frame.insert(frame.end(), data.begin(), data.end());
    if (checksumLength >= 2) {
        AppendU16(frame, ByteSum(frame.data(), frame.size()));
        frame.resize(frame.size() + (checksumLength - 2), 0);
    }
    return frame;
}

} // namespace DevSim
