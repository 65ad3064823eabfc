#pragma once
// Links as text: telling a link from a path, and the percent encoding of
// their parts (UTF-8 bytes as %XX).

#include <string>

namespace ZELL::Shell {

// "scheme:..." with a scheme of at least two characters (one letter would be
// a drive, not a scheme).
bool IsUrl(const std::wstring& text);
// Every character but the unreserved ones (letters, digits, "-._~") and
// those in `keep` is encoded.
std::wstring PercentEncode(const std::wstring& text, const std::wstring& keep = {});
// Malformed escapes stay as they stand.
std::wstring PercentDecode(const std::wstring& text);
std::wstring FileUrlFromPath(const std::wstring& absolutePath);
// Empty for a link that is not a local file:// link.
std::wstring PathFromFileUrl(const std::wstring& url);

}  // namespace ZELL::Shell
