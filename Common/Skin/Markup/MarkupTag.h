#pragma once
// One tag of the tooltip mark-up as written between "<" and ">": its name,
// whether it closes, and its attributes. Names and values keep their case;
// the mark-up compares them with lower-case names.

#include <string>
#include <utility>
#include <vector>

namespace ZELL::Skin {

class CMarkupTag {
public:
    using Attribute = std::pair<std::wstring, std::wstring>;

    // The text between "<" and ">".
    explicit CMarkupTag(const std::wstring& text);

    const std::wstring& Name() const { return m_name; }
    bool IsClosing() const { return m_closing; }
    // The text after the name with its first character dropped: the count of
    // "br=3" and "t=2".
    const std::wstring& Argument() const { return m_argument; }
    const std::vector<Attribute>& Attributes() const { return m_attributes; }

    bool Has(const std::wstring& name) const;
    // The value of the first attribute of that name, or an empty text.
    std::wstring Value(const std::wstring& name) const;

private:
    void ReadAttributes(const std::wstring& text, std::size_t position);
    static std::size_t ReadValue(const std::wstring& text, std::size_t position, std::wstring& value);

    std::wstring m_name;
    bool m_closing = false;
    std::wstring m_argument;
    std::vector<Attribute> m_attributes;
};

}  // namespace ZELL::Skin
