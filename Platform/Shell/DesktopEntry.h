#pragma once
// The text rules of desktop entry files: the key file with its value escapes
// and the Exec line with its argument quoting. The value escapes apply before
// the quoting, so a backslash inside a quoted argument is four in the file.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ZELL::Shell::DesktopEntry {

// \s for a leading blank, \n, \t, \r and \\.
std::wstring EscapeValue(const std::wstring& value);
std::wstring UnescapeValue(const std::wstring& value);

// Each argument as the Exec line needs it: quoted when it holds a reserved
// character, "%" doubled in every case.
std::wstring BuildExec(const std::vector<std::wstring>& arguments);
// The arguments of an (unescaped) Exec line; field codes such as %f are
// dropped. Nothing for an unclosed quote or an empty line.
std::optional<std::vector<std::wstring>> ParseExec(const std::wstring& exec);

// The unlocalised keys of the "[Desktop Entry]" group, which must be the
// first group. Nothing when the text is no desktop entry.
std::optional<std::map<std::wstring, std::wstring>> ParseEntry(const std::string& fileText);

}  // namespace ZELL::Shell::DesktopEntry
