#include "Platform/Base/HandleTable.h"

namespace Platform {
namespace {

constexpr std::uint32_t kSlotShift = 2;
constexpr std::uint32_t kGenerationShift = kSlotShift + HandleNumber::kSlotBits;
constexpr std::uint32_t kKindShift = kGenerationShift + HandleNumber::kGenerationBits;
constexpr std::uint32_t kGenerationMask = (1u << HandleNumber::kGenerationBits) - 1;

int DigitValue(wchar_t c, int base)
{
    int value = -1;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'f')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        value = c - L'A' + 10;
    return value < base ? value : -1;
}

}

std::uint32_t HandleNumber::Encode() const
{
    return (static_cast<std::uint32_t>(kind) << kKindShift) | ((generation & kGenerationMask) << kGenerationShift)
        | ((slot & kMaxSlot) << kSlotShift);
}

std::optional<HandleNumber> HandleNumber::Decode(std::uint64_t number)
{
    if (number == 0 || number > UINT32_MAX || (number & 3u) != 0)
        return std::nullopt;
    const auto value = static_cast<std::uint32_t>(number);
    HandleNumber parts;
    parts.kind = static_cast<HandleKind>(value >> kKindShift);
    parts.generation = (value >> kGenerationShift) & kGenerationMask;
    parts.slot = (value >> kSlotShift) & kMaxSlot;
    if (parts.slot == 0 || parts.kind == HandleKind{0})
        return std::nullopt;
    return parts;
}

std::wstring FormatHandleNumber(std::uint64_t number)
{
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring digits;
    do {
        digits.insert(digits.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    return L"0x" + digits;
}

std::optional<std::uint64_t> ParseHandleNumber(std::wstring_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0 || value > (UINT64_MAX - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return value;
}

}
