#include "Products/Corvane/Core/CorvaneCommandLine.h"

#include "Common/PelorusDLL/ConnectionTypes.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Net/WinSock.h"

#include <cstdint>
#include <cwctype>
#include <limits>
#include <string>
#include <vector>

namespace Corvane {

namespace {

// The first `length` characters of the switch, without regard to case.
bool HasPrefix(const CString& argument, const wchar_t* name, int length)
{
    return argument.GetLength() >= length && argument.Left(length).CompareNoCase(CString(name).Left(length)) == 0;
}

bool IsHexDigits(const std::wstring& text)
{
    return !text.empty() && text.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos;
}

// A piece of the window rectangle: decimal, or hexadecimal with "0x".
bool IsNumberText(const std::wstring& text)
{
    const std::size_t hex = text.find(L"0x") != std::wstring::npos ? text.find(L"0x") : text.find(L"0X");
    if (hex != std::wstring::npos)
        return hex == 0 && IsHexDigits(text.substr(2));
    const std::size_t digits = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    return text.size() > digits && text.find_first_not_of(L"0123456789", digits) == std::wstring::npos;
}

bool IsLanguageCode(const CString& code)
{
    if (code.IsEmpty() || code.GetLength() > 16)
        return false;
    for (const wchar_t ch : code.str()) {
        const bool plain = ch < 0x80 && (std::iswalnum(static_cast<wint_t>(ch)) != 0 || ch == L'-' || ch == L'_');
        if (!plain)
            return false;
    }
    return true;
}

}

void CCorvaneCommandLine::Parse(const std::vector<CString>& arguments)
{
    for (const CString& argument : arguments)
        ParseArgument(argument);
}

void CCorvaneCommandLine::ParseArgument(const CString& argument)
{
    ParseEngineeringSwitch(argument);
    if (argument == L"/NONLATINTEST")
        m_Options.NonLatinTest = true;
    if (argument.CompareNoCase(L"/CHILD") == 0 || argument.CompareNoCase(L"/PlugIn:1") == 0)
        m_Options.ChildMode = true;
    ParseValueSwitches(argument);
}

void CCorvaneCommandLine::ParseEngineeringSwitch(const CString& argument)
{
    if (argument == L"-v!ANVIL")
        m_Options.StartedByEngineeringTool = true;
    if (argument == L"-v!ANVIL/ChangeIP") {
        m_Options.StartedByEngineeringTool = true;
        m_Options.ChangeIPMode = true;
    }
}

void CCorvaneCommandLine::ParseValueSwitches(const CString& argument)
{
    struct tTextSwitch {
        const wchar_t* name;
        int length;
        CString* target;
    };
    const tTextSwitch textSwitches[] = {
        {L"/PARAMFILE:", 11, &m_Options.ParamFile},
        {L"/ArticleNumber:", 15, &m_Options.ArticleNumber},
        {L"/FirmwareVersion:", 17, &m_Options.FirmwareVersion},
        {L"/ConnectionSettings:", 20, &m_strConnectionSettings},
    };
    for (const tTextSwitch& entry : textSwitches) {
        if (HasPrefix(argument, entry.name, entry.length))
            *entry.target = argument.Mid(entry.length);
    }
    if (HasPrefix(argument, L"/MainW", 5))
        ParseWindowRectangle(argument);
    if (HasPrefix(argument, L"/LANG", 5))
        ParseLanguage(argument);
    if (HasPrefix(argument, L"/ConnectionType:", 16))
        ParseConnectionType(argument.Mid(16));
    if (HasPrefix(argument, L"/Connection:", 12))
        ParseConnection(argument.Mid(12));
    if (HasPrefix(argument, L"/CurrentIP:", 11))
        m_Options.CurrentIP = NormalizeIpText(argument.Mid(11).str()).c_str();
}

void CCorvaneCommandLine::ParseWindowRectangle(const CString& argument)
{
    int first = -1;
    if (argument.GetAt(8) == L':')
        first = 9;
    else if (argument.GetAt(15) == L':')
        first = 16;
    if (first < 0)
        return;

    std::vector<std::wstring> pieces;
    SplitString(argument.Mid(first).str(), L",", pieces, true, false);
    std::int32_t values[4] = {};
    bool valid = pieces.size() == 4;
    for (std::size_t i = 0; valid && i < pieces.size(); ++i) {
        valid = IsNumberText(pieces[i]);
        std::int64_t value = 0;
        try {
            value = valid ? StrToInt64(pieces[i]) : 0;
        } catch (const std::string&) {
            // Digits beyond the 64-bit range: refused like any other bad number.
            valid = false;
        }
        valid = valid && value >= std::numeric_limits<std::int32_t>::min() &&
                value <= std::numeric_limits<std::int32_t>::max();
        values[i] = static_cast<std::int32_t>(value);
    }
    if (!valid) {
        OnInvalidArgument(L"Invalid window rectangle (four integers expected): " + argument);
        return;
    }
    for (int i = 0; i < 4; ++i)
        m_Options.ParentWindow[i] = values[i];
}

void CCorvaneCommandLine::ParseLanguage(const CString& argument)
{
    // Only the first switch notes the profile language, so that a second
    // one cannot make this run's language the one restored at exit.
    if (m_strLanguageBeforeSwitch.IsEmpty())
        m_strLanguageBeforeSwitch = m_strLanguage;
    CString language;
    if (argument.GetAt(5) == L':')
        language = argument.Mid(6);
    else if (argument.GetAt(9) == L':')
        language = argument.Mid(10);
    else
        return;
    if (!IsLanguageCode(language)) {
        OnInvalidArgument(L"Invalid language: " + argument);
        return;
    }
    m_strLanguage = language;
    m_strLanguage.MakeLower();
}

void CCorvaneCommandLine::ParseConnectionType(const CString& value)
{
    const ZELL::tConnectionType* type = ZELL::CConnectionTypes::Find(value.str());
    if (type == nullptr || !type->offered) {
        OnInvalidArgument(CString(L"Invalid connection type (") + ZELL::CConnectionTypes::OfferedWords(L" or ").c_str() +
                          L" expected): " + value);
        return;
    }
    m_strConnectionType = value;
}

void CCorvaneCommandLine::ParseConnection(const CString& value)
{
    for (const ZELL::tConnectionType& type : ZELL::CConnectionTypes::All()) {
        const CString prefix = CString(type.word) + L":";
        if (!type.offered || !HasPrefix(value, prefix.GetString(), prefix.GetLength()))
            continue;
        m_strConnectionType = type.word;
        const std::wstring address = value.Mid(prefix.GetLength()).str();
        m_strConnectionSettings = (type.commandLineAddress ? type.commandLineAddress(address) : address).c_str();
        return;
    }
    FallBackToRS232(kInvalidSettingsText);
}

void CCorvaneCommandLine::FallBackToRS232(const CString& reason)
{
    OnInvalidArgument(reason + kFallbackToRS232Text);
    m_strConnectionType = L"RS232";
    m_strConnectionSettings = L"COM1";
}

bool CCorvaneCommandLine::ResolveConnection()
{
    if (m_strConnectionType.IsEmpty() || m_strConnectionSettings.IsEmpty())
        return false;
    // Only the type's exact word starts the sockets again: "tcpip" selects
    // the same connection but trusts the start at the program's start.
    const ZELL::tConnectionType* type = ZELL::CConnectionTypes::Find(m_strConnectionType.str());
    const bool exact = type != nullptr && m_strConnectionType == type->word;
    if (exact && ZELL::CConnectionTypes::IsNetworkType(*type) && !StartSockets())
        FallBackToRS232(L"Failed to init windows sockets!");
    return true;
}

bool CCorvaneCommandLine::StoreLanguage(Registry::CProfileStore& profile) const
{
    return profile.WriteString(L"Common", L"Language", m_strLanguage.GetString());
}

bool CCorvaneCommandLine::RestoreLanguage(Registry::CProfileStore& profile) const
{
    if (m_strLanguageBeforeSwitch.IsEmpty())
        return true;
    return profile.WriteString(L"Common", L"Language", m_strLanguageBeforeSwitch.GetString());
}

bool CCorvaneCommandLine::StartSockets()
{
    WSADATA data{};
    return WSAStartup(0x0101, &data) == 0;
}

}  // namespace Corvane
