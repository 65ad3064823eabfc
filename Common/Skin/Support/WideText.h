#pragma once
// Narrow text handed in by the program, as the wide text the controls keep:
// converted with the thread's code page (a malformed byte shows as a
// replacement character). Text that cannot be converted at all
// becomes no text (null), never a half-converted one.
#include "Platform/Base/Types.h"

#include <optional>
#include <string>

namespace ZELL::Skin {

class CWideText {
public:
    explicit CWideText(LPCSTR text);

    // Null for a null or unconvertible text; valid while this object lives.
    LPCWSTR Get() const { return m_text ? m_text->c_str() : nullptr; }

    // Wide text back to narrow with the thread's code page ("" when it cannot be).
    static std::string Narrow(const std::wstring& text);

private:
    std::optional<std::wstring> m_text;
};

}  // namespace ZELL::Skin
