#include "Platform/Shell/DesktopEntry.h"

#include "Platform/Base/TextConversion.h"

namespace ZELL::Shell::DesktopEntry {

namespace {

const std::wstring kReserved = L" \t\n\"'\\><~|&;$*?#()`";

std::wstring QuoteExecArgument(const std::wstring& argument)
{
    std::wstring doubled;
    for (wchar_t c : argument) {
        doubled += c;
        if (c == L'%')
            doubled += L'%';
    }
    if (!argument.empty() && argument.find_first_of(kReserved) == std::wstring::npos)
        return doubled;
    std::wstring quoted = L"\"";
    for (wchar_t c : doubled) {
        if (c == L'"' || c == L'`' || c == L'$' || c == L'\\')
            quoted += L'\\';
        quoted += c;
    }
    return quoted + L'"';
}

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::wstring EscapeValue(const std::wstring& value)
{
    std::wstring result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
        case L'\\': result += L"\\\\"; break;
        case L'\n': result += L"\\n"; break;
        case L'\t': result += L"\\t"; break;
        case L'\r': result += L"\\r"; break;
        case L' ': result += i == 0 ? L"\\s" : L" "; break;
        default: result += value[i];
        }
    }
    return result;
}

std::wstring UnescapeValue(const std::wstring& value)
{
    std::wstring result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != L'\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        switch (value[++i]) {
        case L's': result += L' '; break;
        case L'n': result += L'\n'; break;
        case L't': result += L'\t'; break;
        case L'r': result += L'\r'; break;
        case L'\\': result += L'\\'; break;
        default: result += L'\\'; result += value[i];
        }
    }
    return result;
}

std::wstring BuildExec(const std::vector<std::wstring>& arguments)
{
    std::wstring exec;
    for (const std::wstring& argument : arguments) {
        if (!exec.empty())
            exec += L' ';
        exec += QuoteExecArgument(argument);
    }
    return exec;
}

std::optional<std::vector<std::wstring>> ParseExec(const std::wstring& exec)
{
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    while (at < exec.size()) {
        if (exec[at] == L' ' || exec[at] == L'\t') {
            ++at;
            continue;
        }
        std::wstring argument;
        bool fieldCodeOnly = false;
        if (exec[at] == L'"') {
            for (++at; at < exec.size() && exec[at] != L'"'; ++at) {
                if (exec[at] == L'\\' && at + 1 < exec.size())
                    ++at;
                argument += exec[at];
            }
            if (at >= exec.size())
                return std::nullopt;
            ++at;
        } else {
            while (at < exec.size() && exec[at] != L' ' && exec[at] != L'\t')
                argument += exec[at++];
            // An argument of a field code alone stands for files the caller
            // would pass; a shortcut passes none.
            fieldCodeOnly = argument.size() == 2 && argument[0] == L'%' && argument[1] != L'%';
        }
        std::wstring plain;
        for (std::size_t i = 0; i < argument.size(); ++i) {
            if (argument[i] == L'%' && i + 1 < argument.size()) {
                if (argument[++i] == L'%')
                    plain += L'%';
                continue;
            }
            plain += argument[i];
        }
        if (!fieldCodeOnly)
            arguments.push_back(plain);
    }
    if (arguments.empty())
        return std::nullopt;
    return arguments;
}

std::optional<std::map<std::wstring, std::wstring>> ParseEntry(const std::string& fileText)
{
    std::wstring text;
    if (!Text::TryUtf8ToWide(fileText, text))
        return std::nullopt;
    std::map<std::wstring, std::wstring> keys;
    bool inGroup = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::wstring trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == L'#')
            continue;
        if (trimmed.front() == L'[') {
            if (inGroup)
                break;
            if (trimmed != L"[Desktop Entry]")
                return std::nullopt;
            inGroup = true;
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (!inGroup || equals == std::wstring::npos)
            return std::nullopt;
        const std::wstring key = Trimmed(line.substr(0, equals));
        if (key.find(L'[') != std::wstring::npos)
            continue;  // a translation
        keys[key] = UnescapeValue(Trimmed(line.substr(equals + 1)));
    }
    if (!inGroup)
        return std::nullopt;
    return keys;
}

}  // namespace ZELL::Shell::DesktopEntry
