#pragma once
// The one road between wide path text and std::filesystem::path. The standard
// library's own wide conversions (path(std::wstring), path::wstring()) go
// through the C library's locale and throw for names outside it; these go
// through the file-name conversion of TextConversion.h, whatever the locale.

#include "Platform/Base/TextConversion.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace Text {

// File names: the file system's names are bytes, mostly but not always UTF-8.
// Each byte that is not part of a valid UTF-8 sequence becomes a lone
// surrogate U+DC80..U+DCFF, which no valid name decodes to, and turns back
// into that byte; so every name the file system lists can be shown, kept and
// opened again. Never goes through the C library's locale.
std::wstring FileNameToWide(std::string_view bytes);
std::string WideToFileName(std::wstring_view wide);

inline std::filesystem::path FsPath(std::wstring_view wide) { return std::filesystem::path(WideToFileName(wide)); }
inline std::wstring WidePath(const std::filesystem::path& path) { return FileNameToWide(path.native()); }

}
