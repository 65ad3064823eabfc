#pragma once
// WM_GETTEXT answered from a text the control makes itself: as much as fits
// the caller's buffer of `size` characters, ended by a NUL; the count copied.
#include "Platform/Ui/WinUser.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace ZELL::Controls {

inline LRESULT AnswerGetText(const std::wstring& text, WPARAM size, LPARAM buffer)
{
    if (size == 0 || buffer == 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(reinterpret_cast<LPWSTR>(buffer), text.c_str(), n);
    reinterpret_cast<LPWSTR>(buffer)[n] = L'\0';
    return static_cast<LRESULT>(n);
}

}
