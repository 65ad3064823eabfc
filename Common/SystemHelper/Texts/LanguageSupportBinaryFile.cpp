#include "Common/SystemHelper/Texts/LanguageSupportBinaryFile.h"

#include "Platform/Base/Format.h"
#include "Platform/Base/TextConversion.h"

#include <cstdint>
#include <optional>

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kLengthSize = 4;

DWORD ReadLittleEndian32(const BYTE* bytes)
{
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16)
        | (static_cast<DWORD>(bytes[3]) << 24);
}

class RecordReader {
public:
    RecordReader(const BYTE* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

    // One length-prefixed string; nullopt (with the reason) when it does not fit.
    std::optional<std::wstring> ReadString(std::wstring& stopReason)
    {
        if (m_size - m_position < kLengthSize + 1) {
            if (m_position != m_size)
                stopReason = FormatW(L"%u bytes at offset %u are too short for a record", Remaining(), Position());
            return std::nullopt;
        }
        const std::uint64_t units = ReadLittleEndian32(m_bytes + m_position);
        const std::uint64_t textStart = m_position + kLengthSize;
        // The position after the last code unit must lie before the end.
        const std::uint64_t textEnd = textStart + 2 * units;
        if (textEnd >= m_size) {
            stopReason = FormatW(L"the record at offset %u announces %u code units past the end", Position(),
                                 static_cast<DWORD>(units));
            return std::nullopt;
        }
        std::size_t length = 0;
        while (length < units && (m_bytes[textStart + 2 * length] | m_bytes[textStart + 2 * length + 1]) != 0)
            ++length;
        m_position = static_cast<std::size_t>(textEnd + 2);
        return Text::Utf16LeToWide(m_bytes + textStart, 2 * length);
    }

    // The terminator of the last string may reach one byte past the end.
    bool AtEnd() const { return m_position >= m_size; }

private:
    DWORD Remaining() const { return static_cast<DWORD>(m_size - m_position); }
    DWORD Position() const { return static_cast<DWORD>(m_position); }

    const BYTE* m_bytes = nullptr;
    std::size_t m_size = 0;
    std::size_t m_position = kHeaderSize;
};

}

CLanguageSupportBinaryFile CLanguageSupportBinaryFile::Parse(const BYTE* bytes, std::size_t size)
{
    CLanguageSupportBinaryFile file;
    if (!bytes || size <= kHeaderSize)
        return file;
    file.hasHeader = true;
    file.header = ReadLittleEndian32(bytes);
    RecordReader reader(bytes, size);
    while (!reader.AtEnd()) {
        std::optional<std::wstring> key = reader.ReadString(file.stopReason);
        if (!key || reader.AtEnd()) {
            if (key)
                file.stopReason = L"the last record has a key but no text";
            break;
        }
        std::optional<std::wstring> text = reader.ReadString(file.stopReason);
        if (!text)
            break;
        file.records.emplace_back(std::move(*key), std::move(*text));
    }
    return file;
}
