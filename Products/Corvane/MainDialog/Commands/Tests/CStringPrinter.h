#pragma once
// Failed expectations on texts show the text, not the object's bytes.

#include "Platform/Base/CString.h"

#include <ostream>
#include <string>

namespace Corvane {

inline void PrintTo(const CString& text, std::ostream* out)
{
    *out << '"';
    for (wchar_t c : text.str())
        *out << (c < 0x80 ? static_cast<char>(c) : '?');
    *out << '"';
}

}  // namespace Corvane
