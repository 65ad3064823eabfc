#include "Platform/Base/CodePage.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>

namespace {

enum class Encoding { Utf8, Latin1, Windows1252 };

std::optional<Encoding> EncodingOf(UINT codePage)
{
    switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case CP_UTF8: return Encoding::Utf8;
    case CP_ISO_8859_1: return Encoding::Latin1;
    case CP_WINDOWS_1252: return Encoding::Windows1252;
    default: return std::nullopt;
    }
}

// 0x80 to 0x9F of Windows-1252; the five bytes it leaves undefined map to the
// control characters of the same value, as on the platform.
constexpr wchar_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

wchar_t ByteToWide(unsigned char byte, Encoding encoding)
{
    if (encoding == Encoding::Windows1252 && byte >= 0x80 && byte <= 0x9F)
        return k1252High[byte - 0x80];
    return static_cast<wchar_t>(byte);
}

std::optional<unsigned char> WideToByte(wchar_t ch, Encoding encoding)
{
    const auto value = static_cast<std::uint32_t>(ch);
    if (encoding == Encoding::Windows1252) {
        for (unsigned i = 0; i < 32; ++i) {
            if (static_cast<std::uint32_t>(k1252High[i]) == value)
                return static_cast<unsigned char>(0x80 + i);
        }
        if (value >= 0x80 && value <= 0x9F)
            return std::nullopt;
    }
    if (value <= 0xFF)
        return static_cast<unsigned char>(value);
    return std::nullopt;
}

bool IsValidCodePoint(wchar_t ch)
{
    const auto value = static_cast<std::uint32_t>(ch);
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

int Fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

// Copies the result, or reports its size when `capacity` is 0.
template<typename CharT>
int Deliver(const std::basic_string<CharT>& result, CharT* out, int capacity)
{
    if (result.size() > static_cast<std::size_t>(INT32_MAX))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    const int size = static_cast<int>(result.size());
    if (capacity == 0)
        return size;
    if (size > capacity)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy_n(result.data(), result.size(), out);
    return size;
}

}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount)
{
    const auto encoding = EncodingOf(codePage);
    if (!encoding || !multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0
        || (wideCount > 0 && !wide))
        return Fail(ERROR_INVALID_PARAMETER);
    const DWORD allowed = *encoding == Encoding::Utf8
        ? MB_ERR_INVALID_CHARS
        : (MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS);
    if ((flags & ~allowed) != 0)
        return Fail(ERROR_INVALID_FLAGS);
    const std::size_t length = multiByteCount == -1 ? std::strlen(multiByte) + 1
                                                    : static_cast<std::size_t>(multiByteCount);
    const std::string_view input(multiByte, length);
    std::wstring result;
    if (*encoding == Encoding::Utf8) {
        if ((flags & MB_ERR_INVALID_CHARS) == 0)
            result = Text::Utf8ToWide(input);
        else if (!Text::TryUtf8ToWide(input, result))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else {
        result.reserve(length);
        for (char byte : input)
            result += ByteToWide(static_cast<unsigned char>(byte), *encoding);
    }
    return Deliver(result, wide, wideCount);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    const auto encoding = EncodingOf(codePage);
    if (!encoding || !wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0
        || (multiByteCount > 0 && !multiByte))
        return Fail(ERROR_INVALID_PARAMETER);
    const bool utf8 = *encoding == Encoding::Utf8;
    if (utf8 && (defaultChar || usedDefaultChar))
        return Fail(ERROR_INVALID_PARAMETER);
    const DWORD allowed = utf8 ? WC_ERR_INVALID_CHARS
                               : (WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR
                                  | WC_NO_BEST_FIT_CHARS);
    if ((flags & ~allowed) != 0)
        return Fail(ERROR_INVALID_FLAGS);
    const std::size_t length = wideCount == -1 ? std::wcslen(wide) + 1 : static_cast<std::size_t>(wideCount);
    const std::wstring_view input(wide, length);
    std::string result;
    if (utf8) {
        if ((flags & WC_ERR_INVALID_CHARS) != 0 && !std::all_of(input.begin(), input.end(), IsValidCodePoint))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
        result = Text::WideToUtf8(input);
    } else {
        const char fallback = defaultChar ? *defaultChar : '?';
        bool used = false;
        result.reserve(length);
        for (wchar_t ch : input) {
            const auto byte = WideToByte(ch, *encoding);
            used = used || !byte;
            result += byte ? static_cast<char>(*byte) : fallback;
        }
        if (usedDefaultChar)
            *usedDefaultChar = used ? TRUE : FALSE;
    }
    return Deliver(result, multiByte, multiByteCount);
}

BOOL GetCPInfo(UINT codePage, LPCPINFO info)
{
    const auto encoding = EncodingOf(codePage);
    if (!encoding || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *info = CPINFO{};
    info->MaxCharSize = *encoding == Encoding::Utf8 ? 4 : 1;
    info->DefaultChar[0] = '?';
    return TRUE;
}
