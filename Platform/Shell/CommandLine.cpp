#include "Platform/Shell/CommandLine.h"

namespace ZELL::Shell {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

void SkipBlanks(std::wstring_view text, std::size_t& at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
}

std::wstring ReadProgram(std::wstring_view text, std::size_t& at)
{
    std::wstring program;
    if (text[at] == L'"') {
        const std::size_t end = text.find(L'"', at + 1);
        const std::size_t stop = end == std::wstring_view::npos ? text.size() : end;
        program.assign(text.substr(at + 1, stop - at - 1));
        at = stop == text.size() ? stop : stop + 1;
        return program;
    }
    while (at < text.size() && !IsBlank(text[at]))
        program += text[at++];
    return program;
}

std::wstring ReadArgument(std::wstring_view text, std::size_t& at)
{
    std::wstring argument;
    bool quoted = false;
    while (at < text.size() && (quoted || !IsBlank(text[at]))) {
        std::size_t backslashes = 0;
        while (at < text.size() && text[at] == L'\\') {
            ++backslashes;
            ++at;
        }
        if (at < text.size() && text[at] == L'"') {
            argument.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 1) {
                argument += L'"';
            } else if (quoted && at + 1 < text.size() && text[at + 1] == L'"') {
                argument += L'"';
                ++at;
            } else {
                quoted = !quoted;
            }
            ++at;
            continue;
        }
        argument.append(backslashes, L'\\');
        if (at < text.size() && (quoted || !IsBlank(text[at])))
            argument += text[at++];
    }
    return argument;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine, bool startsWithProgram)
{
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    SkipBlanks(commandLine, at);
    if (startsWithProgram && at < commandLine.size()) {
        arguments.push_back(ReadProgram(commandLine, at));
        SkipBlanks(commandLine, at);
    }
    while (at < commandLine.size()) {
        arguments.push_back(ReadArgument(commandLine, at));
        SkipBlanks(commandLine, at);
    }
    return arguments;
}

std::wstring QuoteCommandArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // Those before the closing quote are doubled too.
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring JoinCommandArguments(const std::vector<std::wstring>& arguments)
{
    std::wstring text;
    for (const std::wstring& argument : arguments) {
        if (!text.empty())
            text += L' ';
        text += QuoteCommandArgument(argument);
    }
    return text;
}

}  // namespace ZELL::Shell
