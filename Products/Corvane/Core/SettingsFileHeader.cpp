#include "Products/Corvane/Core/SettingsFileHeader.h"

#include <cwchar>

namespace Corvane {

CString CSettingsFileHeader::FormatSavedOn(std::time_t time)
{
    std::tm local{};
    if (!localtime_r(&time, &local))
        return {};
    wchar_t text[64] = {};
    const std::size_t length = std::wcsftime(text, 64, L"%Y-%m-%d (%H:%M:%S)", &local);
    return CString(text, static_cast<int>(length));
}

}  // namespace Corvane
