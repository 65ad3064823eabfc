#pragma once
// Paths between wide text and the file system, always through UTF-8: the
// standard library's own conversion depends on the locale and throws for
// names outside it.

#include "Platform/Base/TextConversion.h"

#include <filesystem>
#include <string>

namespace ZELL::Shell {

inline std::filesystem::path FsPath(const std::wstring& text) { return std::filesystem::path(Text::WideToUtf8(text)); }
inline std::wstring WidePath(const std::filesystem::path& path) { return Text::Utf8ToWide(path.string()); }

}  // namespace ZELL::Shell
