#pragma once
// The desktop's folder settings: the XDG base folders from their variables
// (relative values are ignored, as the base-folder rules say) and the user
// folders of user-dirs.dirs.

#include <optional>
#include <string>
#include <string_view>

namespace ZELL::Shell::Xdg {

// $HOME, else the home folder of the user's account; empty when neither is known.
std::wstring HomeFolder();
// The variable's absolute value, else home + fallback (fallback starts with "/").
std::wstring BaseFolder(const wchar_t* variable, const wchar_t* homeFallback);
// The first absolute entry of a colon list variable, else the fallback.
std::wstring FirstOfList(const wchar_t* variable, const wchar_t* fallback);
// The value of a user folder such as XDG_DESKTOP_DIR, read from the text of
// user-dirs.dirs: "$HOME/..." or an absolute path in double quotes, with
// backslash escapes. Nothing for a missing or malformed entry.
std::optional<std::wstring> ParseUserFolder(std::string_view fileText, std::string_view name, const std::wstring& home);
// The user folder, else home + fallback.
std::wstring UserFolder(std::string_view name, const wchar_t* homeFallback);

}  // namespace ZELL::Shell::Xdg
