#include "Platform/Shell/UrlText.h"

#include "Platform/Base/FileSystemPath.h"

#include <cwctype>

namespace ZELL::Shell {

namespace {

bool IsUnreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

bool IsUrl(const std::wstring& text)
{
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring::npos || colon < 2 || !std::iswalpha(text[0]) || text[0] > 0x7F)
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const wchar_t c = text[i];
        if (c > 0x7F || (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.'))
            return false;
    }
    return true;
}

std::wstring PercentEncode(const std::wstring& text, const std::wstring& keep)
{
    static const char kHex[] = "0123456789ABCDEF";
    const std::string keepBytes = Text::WideToUtf8(keep);
    std::wstring result;
    for (char c : Text::WideToFileName(text)) {
        if (IsUnreserved(c) || (c != '\0' && keepBytes.find(c) != std::string::npos)) {
            result += static_cast<wchar_t>(c);
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        result += L'%';
        result += static_cast<wchar_t>(kHex[byte >> 4]);
        result += static_cast<wchar_t>(kHex[byte & 0xF]);
    }
    return result;
}

std::wstring PercentDecode(const std::wstring& text)
{
    const std::string bytes = Text::WideToFileName(text);
    std::string result;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && HexValue(bytes[i + 1]) >= 0 && HexValue(bytes[i + 2]) >= 0) {
            result += static_cast<char>(HexValue(bytes[i + 1]) * 16 + HexValue(bytes[i + 2]));
            i += 2;
            continue;
        }
        result += bytes[i];
    }
    return Text::FileNameToWide(result);
}

std::wstring FileUrlFromPath(const std::wstring& absolutePath)
{
    return L"file://" + PercentEncode(absolutePath, L"/");
}

std::wstring PathFromFileUrl(const std::wstring& url)
{
    const std::wstring scheme = L"file://";
    if (url.size() <= scheme.size() || url.compare(0, scheme.size(), scheme) != 0)
        return {};
    std::wstring rest = url.substr(scheme.size());
    // "file://localhost/path" names this machine too.
    if (rest.compare(0, 9, L"localhost") == 0)
        rest.erase(0, 9);
    if (rest.empty() || rest.front() != L'/')
        return {};
    return PercentDecode(rest);
}

}  // namespace ZELL::Shell
