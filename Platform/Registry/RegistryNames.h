#pragma once
// Key and value names compare without regard to case, as the platform's
// registry does, while the stored name keeps the case it was created with.

#include <string>
#include <string_view>

namespace Registry {

// The upper-case form used as the lookup key; covers non-Latin letters too.
std::wstring FoldName(std::wstring_view name);
bool NamesEqual(std::wstring_view a, std::wstring_view b);

}
