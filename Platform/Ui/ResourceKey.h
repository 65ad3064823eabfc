#pragma once
// The type or name of a resource as the registry compares it: a number, or
// a text kept upper-case so that names match without regard to case.
#include "Platform/Base/Types.h"

#include <compare>
#include <string>

namespace Ui {

class CResourceKey {
public:
    CResourceKey() = default;
    explicit CResourceKey(WORD number) : m_number(number) {}
    // A number from MAKEINTRESOURCE or "#123"; a text otherwise. Null is
    // the invalid key 0.
    static CResourceKey From(LPCWSTR name);
    static CResourceKey FromText(const wchar_t* text);

    bool IsNumber() const { return m_text.empty(); }
    WORD Number() const { return m_number; }
    const std::wstring& Text() const { return m_text; }
    bool IsValid() const { return !m_text.empty() || m_number != 0; }
    auto operator<=>(const CResourceKey&) const = default;

private:
    WORD m_number = 0;
    std::wstring m_text;
};

}
