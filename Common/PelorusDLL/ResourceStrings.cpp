#include "Common/PelorusDLL/ResourceStrings.h"

#include "Common/SystemHelper/Desktop/SystemInfo.h"

#include <algorithm>
#include <atomic>

namespace Pelorus {

namespace {

constexpr LANGID kGermanPrimary = 0x07;
constexpr LANGID kUnset = 0;

std::atomic<LANGID> g_language{kUnset};

bool IsGerman(LANGID language)
{
    return (language & 0x3FF) == kGermanPrimary;
}

}

void SetResourceLanguage(LANGID language)
{
    g_language = language;
}

LANGID GetResourceLanguage()
{
    const LANGID chosen = g_language;
    return chosen != kUnset ? chosen : UserDefaultLanguageId();
}

CString LoadResourceString(UINT id)
{
    std::size_t count = 0;
    const ResourceString* table = ResourceStringTable(count);
    const ResourceString* end = table + count;
    const ResourceString* found =
        std::lower_bound(table, end, id, [](const ResourceString& row, UINT key) { return row.id < key; });
    if (found == end || found->id != id)
        return CString();
    const wchar_t* text = IsGerman(GetResourceLanguage()) ? (found->german ? found->german : found->english)
                                                          : (found->english ? found->english : found->german);
    return CString(text ? text : L"");
}

}
