#include "Platform/Ui/ResourceKey.h"

#include <cwctype>

namespace Ui {

CResourceKey CResourceKey::From(LPCWSTR name)
{
    if (reinterpret_cast<std::uintptr_t>(name) >> 16 == 0)
        return CResourceKey(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
    return FromText(name);
}

CResourceKey CResourceKey::FromText(const wchar_t* text)
{
    CResourceKey key;
    if (!text || !*text)
        return key;
    if (text[0] == L'#' && text[1]) {
        unsigned long value = 0;
        const wchar_t* p = text + 1;
        for (; *p >= L'0' && *p <= L'9' && value <= 0xFFFF; ++p)
            value = value * 10 + static_cast<unsigned long>(*p - L'0');
        if (!*p && value <= 0xFFFF)
            return CResourceKey(static_cast<WORD>(value));
    }
    for (const wchar_t* p = text; *p; ++p)
        key.m_text.push_back(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(*p))));
    return key;
}

}
