#include "Platform/Registry/RegistryNames.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace Registry {
namespace {

// A private locale, so that folding does not depend on (or change) the
// process locale; falls back to ASCII folding where C.UTF-8 is missing.
locale_t FoldingLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

wchar_t FoldChar(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    const locale_t locale = FoldingLocale();
    if (locale == static_cast<locale_t>(nullptr))
        return c;
    return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), locale));
}

}

std::wstring FoldName(std::wstring_view name)
{
    std::wstring folded(name);
    for (auto& c : folded)
        c = FoldChar(c);
    return folded;
}

bool NamesEqual(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    }
    return true;
}

}
