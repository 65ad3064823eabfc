#include "Common/Communication/PelorusErrorsLookup.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/FileSystemPath.h"

#include <array>
#include <sys/stat.h>

namespace ZELL {

namespace {

struct LanguageRow {
    unsigned int lcid;
    const wchar_t* code;
};

constexpr std::array<LanguageRow, 5> kLanguages{{
    {1031, L"de"},
    {1033, L"en"},
    {1036, L"fr"},
    {1034, L"es"},
    {1041, L"ja"},
}};

constexpr DWORD kMaxModulePath = 520;

bool FileExists(const std::wstring& file)
{
    struct stat status {};
    return ::stat(Text::WideToFileName(file).c_str(), &status) == 0;
}

// One pass from the left; the search goes on behind the inserted text.
std::wstring ReplaceOnce(const std::wstring& text, const std::wstring& search, const std::wstring& replacement)
{
    std::wstring result;
    std::size_t from = 0;
    for (std::size_t found = text.find(search); found != std::wstring::npos; found = text.find(search, from)) {
        result.append(text, from, found - from);
        result += replacement;
        from = found + search.size();
    }
    result.append(text, from, std::wstring::npos);
    return result;
}

}

CPelorusErrorsLookup::CPelorusErrorsLookup()
{
    SetPath(L"");
    SetLanguage(std::wstring(L"en"));
}

CPelorusErrorsLookup::CPelorusErrorsLookup(unsigned int lcid, const std::wstring& directory) : m_path(directory)
{
    SetPath(directory);
    SetLanguage(lcid);
}

CPelorusErrorsLookup::CPelorusErrorsLookup(const std::wstring& code, const std::wstring& directory) : m_path(directory)
{
    SetPath(directory);
    SetLanguage(code);
}

CPelorusErrorsLookup::CPelorusErrorsLookup(const CPelorusErrorsLookup& other)
    : m_language(other.m_language)
    , m_path(other.m_path)
{
}

CPelorusErrorsLookup& CPelorusErrorsLookup::operator=(const CPelorusErrorsLookup& other)
{
    m_language = other.m_language;
    m_path = other.m_path;
    return *this;
}

// The directory of the module that holds this code: the shared library when
// the lookup is part of it, the program when it is linked in statically.
// Paths keep their case here, unlike on a case-blind file system.
std::wstring CPelorusErrorsLookup::LibraryDirectory()
{
    HMODULE module = Platform::GetModuleOfAddress(reinterpret_cast<const void*>(&CPelorusErrorsLookup::LibraryDirectory));
    if (!module)
        return {};
    wchar_t name[kMaxModulePath] = {};
    const DWORD length = GetModuleFileNameW(module, name, kMaxModulePath);
    if (length == 0 || length >= kMaxModulePath)
        return {};
    std::wstring file(name, length);
    const std::size_t slash = file.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

void CPelorusErrorsLookup::SetPath(const std::wstring& directory)
{
    m_path = directory.empty() ? LibraryDirectory() : directory;
}

void CPelorusErrorsLookup::SetLanguage(const std::wstring& code)
{
    m_language = code;
    std::wstring file = m_path + L"/PelorusErrors." + m_language;
    if (!FileExists(file)) {
        m_language = L"en";
        file = m_path + L"/PelorusErrors." + m_language;
    }
    GetLanguageSupport().SetLanguage(_bstr_t(file.c_str()), true);
}

void CPelorusErrorsLookup::SetLanguage(unsigned int lcid)
{
    SetLanguage(GetLangIDFromLCID(lcid));
}

unsigned int CPelorusErrorsLookup::GetLCID() const
{
    return GetLCIDFromLangID(m_language);
}

std::wstring CPelorusErrorsLookup::GetShortDescription(ULONG code, bool expand)
{
    return GetDescription(code, L"SHORT", expand);
}

std::wstring CPelorusErrorsLookup::GetLongDescription(ULONG code, bool expand)
{
    return GetDescription(code, L"LONG", expand);
}

void CPelorusErrorsLookup::GetDescriptions(ULONG code, std::wstring& shortText, std::wstring& longText, bool expand)
{
    shortText = GetShortDescription(code, expand);
    longText = GetLongDescription(code, expand);
}

std::wstring CPelorusErrorsLookup::GetDescription(ULONG code, const std::wstring& kind, bool expand)
{
    std::wstring text = LocaleString(FormatW(L"0x%08X_%s", static_cast<unsigned int>(code), kind.c_str()), expand);
    if (text.starts_with(L"##"))
        text = LocaleString(FormatW(L"ERROR_UNKNOWN_%s", kind.c_str()), expand);
    return text;
}

std::wstring CPelorusErrorsLookup::LocaleString(const std::wstring& key, bool expand)
{
    std::wstring text = GetLanguageSupport().GetText(_bstr_t(key.c_str())).wstr();
    if (expand) {
        text = ReplaceOnce(text, L"\\r", L"\r");
        text = ReplaceOnce(text, L"\\n", L"\n");
        text = ReplaceOnce(text, L"{crlf}", L"\r\n");
    } else {
        text = ReplaceOnce(text, L"\\r", L"");
        text = ReplaceOnce(text, L"\\n", L" ");
        text = ReplaceOnce(text, L"{crlf}", L" ");
    }
    return ReplaceOnce(text, L"  ", L" ");
}

unsigned int CPelorusErrorsLookup::GetLCIDFromLangID(const std::wstring& code)
{
    for (const LanguageRow& row : kLanguages)
        if (CompareNoCase(code, row.code) == 0)
            return row.lcid;
    return 1033;
}

std::wstring CPelorusErrorsLookup::GetLangIDFromLCID(unsigned int lcid)
{
    for (const LanguageRow& row : kLanguages)
        if (row.lcid == lcid)
            return row.code;
    return L"en";
}

}
