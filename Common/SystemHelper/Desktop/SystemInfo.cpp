#include "Common/SystemHelper/Desktop/SystemInfo.h"

#include "Common/SystemHelper/System/RegistryEx.h"

#include <cctype>
#include <cstdlib>

#include <unistd.h>

namespace {

const wchar_t* const kExplorerKey = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t* const kAdvanced = L"Advanced";
const wchar_t* const kBalloonTips = L"EnableBalloonTips";

constexpr LANGID kNeutral = 0x0400;

struct LanguageEntry {
    const char* code;
    LANGID primary;
};

struct CountryEntry {
    const char* code;
    LANGID id;
};

}

bool IsBalloonTipsEnabled()
{
    return wutils::CRegistryEx(kExplorerKey).GetDWordValue(kAdvanced, kBalloonTips, 1) != 0;
}

bool SetBalloonTipsEnabled(bool enabled)
{
    const wutils::CRegistryEx registry(kExplorerKey);
    const bool before = registry.GetDWordValue(kAdvanced, kBalloonTips, 0) != 0;
    registry.SetDWordValue(kAdvanced, kBalloonTips, enabled ? 1 : 0);
    return before;
}

bool IsUserAdmin()
{
    return ::geteuid() == 0;
}

LANGID LanguageIdOfLocale(const std::string& locale)
{
    // "de_DE.UTF-8@euro": language, country, then what follows.
    std::string language;
    std::string country;
    std::size_t position = 0;
    while (position < locale.size() && std::isalpha(static_cast<unsigned char>(locale[position])) && language.size() < 8)
        language += static_cast<char>(std::tolower(static_cast<unsigned char>(locale[position++])));
    if (position < locale.size() && locale[position] == '_') {
        ++position;
        while (position < locale.size() && std::isalpha(static_cast<unsigned char>(locale[position]))
            && country.size() < 8)
            country += static_cast<char>(std::toupper(static_cast<unsigned char>(locale[position++])));
    }
    if (locale.empty() || locale == "C" || locale.rfind("C.", 0) == 0 || locale == "POSIX")
        return 0x0409;

    static const CountryEntry kCountries[] = {
        {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
        {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
        {"en_IE", 0x1809}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C},
        {"fr_LU", 0x140C},
    };
    const std::string both = language + "_" + country;
    for (const CountryEntry& entry : kCountries) {
        if (both == entry.code)
            return entry.id;
    }
    static const LanguageEntry kLanguages[] = {{"de", 0x07}, {"en", 0x09}, {"fr", 0x0C}};
    for (const LanguageEntry& entry : kLanguages) {
        if (language == entry.code)
            return static_cast<LANGID>(0x0400 | entry.primary);
    }
    return kNeutral;
}

LANGID UserDefaultLanguageId()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageIdOfLocale(value);
    }
    return LanguageIdOfLocale("C");
}

bool IsSupportedUserLanguage()
{
    const LANGID id = UserDefaultLanguageId();
    return id == 1031 || id == 1033 || id == 1036;
}
