#include "Platform/Base/WideRuntime.h"
#include "Platform/Base/TextConversion.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <string>

namespace Text {
namespace {

// The process locale stays "C" (whose wide case tables know only ASCII), so the
// mapping uses a private UTF-8 locale object instead of touching the global one.
locale_t CaseLocale()
{
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (!l)
            l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
        return l;
    }();
    return locale;
}

// Latin-1 alone, for a system without the UTF-8 locale.
wchar_t FallbackLower(wchar_t ch)
{
    if ((ch >= L'A' && ch <= L'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7))
        return static_cast<wchar_t>(ch + 0x20);
    return ch;
}

wchar_t FallbackUpper(wchar_t ch)
{
    if ((ch >= L'a' && ch <= L'z') || (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7))
        return static_cast<wchar_t>(ch - 0x20);
    return ch;
}

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

template<typename Result, typename CharT>
Result ReadDecimal(const CharT* text)
{
    if (!text)
        return 0;
    while (IsBlank(static_cast<wchar_t>(*text)))
        ++text;
    bool negative = false;
    if (*text == CharT('+') || *text == CharT('-'))
        negative = *text++ == CharT('-');
    constexpr auto maxValue = static_cast<unsigned long long>(std::numeric_limits<Result>::max());
    const unsigned long long limit = negative ? maxValue + 1 : maxValue;
    unsigned long long value = 0;
    for (; *text >= CharT('0') && *text <= CharT('9'); ++text) {
        value = value * 10 + static_cast<unsigned long long>(*text - CharT('0'));
        if (value > limit) {
            value = limit;
            // Saturated: the remaining digits cannot change the result.
            break;
        }
    }
    if (negative)
        return value == maxValue + 1 ? std::numeric_limits<Result>::min() : static_cast<Result>(-static_cast<Result>(value));
    return static_cast<Result>(value);
}

bool IsValidUtf8(const char* text)
{
    const std::string_view view(text);
    const std::wstring wide = Utf8ToWide(view);
    return WideToUtf8(wide) == view;
}

int FoldedDifference(wchar_t a, wchar_t b)
{
    const auto la = static_cast<long long>(ToLowerChar(a));
    const auto lb = static_cast<long long>(ToLowerChar(b));
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

}

wchar_t ToLowerChar(wchar_t ch)
{
    if (ch >= L'A' && ch <= L'Z')
        return static_cast<wchar_t>(ch + 0x20);
    if (ch < 0x80)
        return ch;
    const locale_t locale = CaseLocale();
    return locale ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(ch), locale)) : FallbackLower(ch);
}

wchar_t ToUpperChar(wchar_t ch)
{
    if (ch >= L'a' && ch <= L'z')
        return static_cast<wchar_t>(ch - 0x20);
    if (ch < 0x80)
        return ch;
    const locale_t locale = CaseLocale();
    return locale ? static_cast<wchar_t>(towupper_l(static_cast<wint_t>(ch), locale)) : FallbackUpper(ch);
}

}

int lstrlenW(LPCWSTR text)
{
    return text ? static_cast<int>(std::min<std::size_t>(std::wcslen(text), INT_MAX)) : 0;
}

int lstrlenA(LPCSTR text)
{
    return text ? static_cast<int>(std::min<std::size_t>(std::strlen(text), INT_MAX)) : 0;
}

LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength)
{
    if (!destination || maxLength <= 0)
        return destination;
    int i = 0;
    if (source) {
        for (; i < maxLength - 1 && source[i] != L'\0'; ++i)
            destination[i] = source[i];
    }
    destination[i] = L'\0';
    return destination;
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, std::size_t count)
{
    if (!a)
        a = L"";
    if (!b)
        b = L"";
    for (std::size_t i = 0; i < count; ++i) {
        const int difference = Text::FoldedDifference(a[i], b[i]);
        if (difference != 0 || a[i] == L'\0')
            return difference;
    }
    return 0;
}

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    return _wcsnicmp(a, b, static_cast<std::size_t>(-1));
}

int _stricmp(const char* a, const char* b)
{
    if (!a)
        a = "";
    if (!b)
        b = "";
    if (Text::IsValidUtf8(a) && Text::IsValidUtf8(b)) {
        const std::wstring wa = Text::Utf8ToWide(a);
        const std::wstring wb = Text::Utf8ToWide(b);
        return _wcsicmp(wa.c_str(), wb.c_str());
    }
    for (;; ++a, ++b) {
        auto ca = static_cast<unsigned char>(*a);
        auto cb = static_cast<unsigned char>(*b);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca + 0x20);
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb + 0x20);
        if (ca != cb || ca == 0)
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}

int _wtoi(const wchar_t* text)
{
    return Text::ReadDecimal<int>(text);
}

LONG _wtol(const wchar_t* text)
{
    return Text::ReadDecimal<LONG>(text);
}

INT64 _wtoi64(const wchar_t* text)
{
    return Text::ReadDecimal<INT64>(text);
}
