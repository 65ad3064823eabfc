#pragma once
// Command-line texts by the platform's quoting rules: arguments are split at
// blanks and tabs; double quotes group (two of them inside a quoted part give
// one literal quote); 2n backslashes before a quote give n backslashes and the
// quote groups, 2n+1 give n backslashes and a literal quote; other backslashes
// are plain characters. The program name (first argument) knows no escapes:
// it runs to the next quote when it begins with one, else to the next blank.

#include <string>
#include <string_view>
#include <vector>

namespace ZELL::Shell {

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine, bool startsWithProgram);
// One argument quoted so that SplitCommandLine gives it back unchanged.
std::wstring QuoteCommandArgument(const std::wstring& argument);
std::wstring JoinCommandArguments(const std::vector<std::wstring>& arguments);

}  // namespace ZELL::Shell
