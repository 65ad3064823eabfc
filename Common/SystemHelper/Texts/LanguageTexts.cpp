#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Common/SystemHelper/Values/StringUtils.h"

#include <string>

namespace {

const wchar_t* NonNull(LPCWSTR text)
{
    return text ? text : L"";
}

void ReplaceFirst(std::wstring& text, const std::wstring& placeholder, LPCWSTR value)
{
    const std::size_t position = text.find(placeholder);
    if (position != std::wstring::npos)
        text.replace(position, placeholder.size(), NonNull(value));
}

}

CLanguageSupportImpl& GetLanguageSupport()
{
    static CLanguageSupportImpl store;
    return store;
}

bool LoadLanguageTexts(const CString& file, CString& language, CString& lcid)
{
    try {
        lcid = language;
        CString code = language;
        CLanguageHelper().GetLanguageInfo(file, lcid, code);
        GetLanguageSupport().LoadXml(file.GetString(), lcid.GetString(), false);
        language = code;
        return true;
    } catch (...) {
        DebugTrace(L"LoadLanguageTexts: the texts of '%s' in '%s' were not loaded", language.GetString(),
                   file.GetString());
        return false;
    }
}

CString GetLanguageText(LPCWSTR key)
{
    CString text(GetLanguageSupport().GetText(NonNull(key)).wstr());
    text.Replace(L"\\n", L"\n");
    text.Replace(L"\\r", L"\r");
    text.Replace(L"\\t", L"\t");
    text.Replace(L" & ", L" && ");
    return text;
}

CString GetAppText(LPCWSTR key)
{
    return GetLanguageText(key);
}

CString GetCurrentLanguage()
{
    return CString(GetLanguageSupport().GetLanguage().wstr());
}

CString FormatText(LPCWSTR key, LPCWSTR first)
{
    std::wstring text = GetLanguageSupport().GetText(NonNull(key)).wstr();
    ReplaceFirst(text, L"{0}", first);
    return CString(text);
}

CString FormatText(LPCWSTR key, LPCWSTR first, LPCWSTR second)
{
    std::wstring text = GetLanguageSupport().GetText(NonNull(key)).wstr();
    ReplaceFirst(text, L"{0}", first);
    ReplaceFirst(text, L"{1}", second);
    return CString(text);
}

void GetTextRaw(LPCWSTR key, _bstr_t& text)
{
    text = GetLanguageSupport().GetText(NonNull(key));
}
