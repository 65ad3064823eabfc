#include "Common/SystemHelper/Texts/LanguageHelper.h"

#include "Common/SystemHelper/Errors/ZellException.h"
#include "Common/SystemHelper/Xml/ComError.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Texts/GuiXmlTables.h"
#include "Platform/Base/Format.h"

#include <optional>

namespace {

struct LanguageRow {
    const wchar_t* threeLetter;
    const wchar_t* twoLetter;
    const wchar_t* lcid;
};

constexpr LanguageRow kLanguages[] = {
    {L"DEU", L"de", L"1031"},
    {L"ENG", L"en", L"1033"},
    {L"FRA", L"fr", L"1036"},
    {L"SPA", L"es", L"1034"},
    {L"JPN", L"ja", L"1041"},
};

void ShowError(const std::wstring& text)
{
    ShowMessageToUser(text.c_str(), CLanguageHelper::kIconError);
}

bool EqualsNoCase(const std::wstring& left, const std::wstring& right)
{
    return CompareNoCase(left, right) == 0;
}

// The two-letter code of a three-letter code of the table.
std::optional<std::wstring> TwoLetterCode(const std::wstring& code)
{
    for (const LanguageRow& row : kLanguages) {
        if (EqualsNoCase(code, row.threeLetter))
            return std::wstring(row.twoLetter);
    }
    return std::nullopt;
}

// A file whose failure the user was shown already: every later lookup in it
// fails quietly until the file changes, so one cause gives one message.
struct CToldBefore {};

struct ListedLanguage {
    std::wstring lcid;
    std::wstring code;
};

// The first language of the file whose code or LCID is the designator.
// Only elements count, and an empty attribute matches nothing, so an empty
// designator never picks an entry by accident.
std::optional<ListedLanguage> FindListedLanguage(const std::wstring& file, const std::wstring& designator)
{
    const CGuiXmlTables::tLanguages loaded = CGuiXmlTables::Languages(file);
    if (!loaded.loads) {
        if (!loaded.firstFailure)
            throw CToldBefore{};
        const Xml::CParseError& error = loaded.error;
        // A file that cannot be opened is named by its reason, and has no
        // line to point at.
        throw _com_error(E_POINTER,
                         error.reason.find(file) != std::wstring::npos
                             ? FormatW(L"%s: %s", file.c_str(), error.reason.c_str())
                             : FormatW(L"%s: %s (line %u, column %u)", file.c_str(), error.reason.c_str(),
                                       static_cast<unsigned>(error.line), static_cast<unsigned>(error.column)),
                         L"load");
    }
    if (!loaded.list)
        throw _com_error(E_POINTER, file + L": no languages element", L"selectSingleNode");
    for (const auto& [lcid, code] : *loaded.list) {
        if ((!code.empty() && EqualsNoCase(code, designator)) || (!lcid.empty() && EqualsNoCase(lcid, designator)))
            return ListedLanguage{lcid, code};
    }
    return std::nullopt;
}

// Grows with its lines, whatever the lengths of the error's texts.
std::wstring ComErrorMessage(const std::wstring& heading, const _com_error& error)
{
    std::wstring text = heading;
    text = FormatW(L"%sCode\t  =  %08lx\n", text.c_str(), static_cast<DWORD>(error.Error()));
    text = FormatW(L"%sMeaning\t  =  %s\n", text.c_str(), error.ErrorMessage().c_str());
    if (error.Source().length() > 0)
        text = FormatW(L"%sSource\t  =  %s\n", text.c_str(), static_cast<const wchar_t*>(error.Source()));
    if (error.Description().length() > 0)
        text = FormatW(L"%sError\t  =  %s\n", text.c_str(), static_cast<const wchar_t*>(error.Description()));
    return text;
}

}

void CLanguageHelper::GetLanguageInfo(const CString& file, CString& designator, CString& code)
{
    const std::wstring heading = L"GetLanguageInfo failed!\n\n";
    try {
        if (const auto twoLetter = TwoLetterCode(code.str()))
            designator = twoLetter->c_str();
        if (const auto listed = FindListedLanguage(file.str(), designator.str())) {
            designator = listed->lcid.c_str();
            code = listed->code.c_str();
        } else {
            designator = L"1033";
            code = L"en";
        }
    } catch (const CToldBefore&) {
    } catch (const _com_error& error) {
        ShowError(ComErrorMessage(heading, error));
    } catch (CZellException& error) {
        ShowError(heading + error.GetText());
    } catch (...) {
        ShowError(heading + L"Unknown exception!");
    }
}

bool CLanguageHelper::IsSupported(const CString& file, const CString& code)
{
    const std::wstring heading = L"CLanguageHelper::IsSupported() failed!\n\n";
    try {
        const std::wstring wanted = TwoLetterCode(code.str()).value_or(code.str());
        return FindListedLanguage(file.str(), wanted).has_value();
    } catch (const CToldBefore&) {
    } catch (CZellException& error) {
        ShowError(heading + error.GetText());
    } catch (...) {
        ShowError(heading + L"Unknown exception!");
    }
    return false;
}
