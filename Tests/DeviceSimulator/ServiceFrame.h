#pragma once

// Device-side view of one fragment of the service protocol: the 18-byte
// header, an optional Exclusive-ID, the data slice and an optional 16-bit
// byte-sum checksum behind the counted bytes. Written from the wire layout
// alone; it shares nothing with the host's framing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace DevSim {

enum ENFrameFlag : uint16_t {
    FLAG_ERROR = 0x0001,
    FLAG_REPEAT = 0x0002,
    FLAG_ACCEPTED = 0x0004,
    FLAG_EXCLUSIVE = 0x1000,
    FLAG_ROUTING = 0x2000,
    FLAG_CONTINUED = 0x4000, // read-back request / answer continues
    FLAG_SENDING = 0x8000
};

struct tFrameHeader {
    uint16_t command = 0;
    uint16_t transaction = 0;
    uint16_t fragmentNumber = 0;
    uint16_t fragmentCount = 0;
    uint32_t reserved = 0;
    uint16_t status = 0;
    uint16_t flags = 0;
    uint16_t length = 0; // bytes behind the header, checksum excluded
};

struct tServiceFrame {
    tFrameHeader header;
    std::optional<uint32_t> exclusiveId;
    std::vector<uint8_t> data;
};

enum class ENFrameCheck {
    Ok,
    ChecksumMismatch,  // the byte sum differs from the one received
    ExclusiveTooShort, // flag 0x1000 but fewer than 4 counted bytes
    SizeMismatch       // the bytes handed over do not match the length field
};

class CServiceFrame {
public:
    static constexpr size_t kHeaderSize = 18;
    static constexpr size_t kExclusiveSize = 4;

    static tFrameHeader ParseHeader(const uint8_t* bytes); // kHeaderSize bytes
    static void WriteHeader(const tFrameHeader& header, uint8_t* bytes);
    static uint16_t ByteSum(const uint8_t* bytes, size_t count);

    // Bytes that follow the header on the wire.
    static size_t BodySize(const tFrameHeader& header, uint16_t checksumLength);

    // Checks and splits a whole received frame (header, counted bytes and
    // checksum). `out` is filled even on a checksum mismatch.
    static ENFrameCheck Parse(const uint8_t* bytes, size_t size, uint16_t checksumLength, tServiceFrame& out);

    // A frame ready to send: the length field is worked out from the
    // Exclusive-ID and the data, the checksum appended when asked for.
    static std::vector<uint8_t> Build(tFrameHeader header, const std::optional<uint32_t>& exclusiveId,
                                      const std::vector<uint8_t>& data, uint16_t checksumLength);
};

} // namespace DevSim
