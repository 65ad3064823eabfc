#include "Common/Skin/Markup/MarkupTag.h"

#include <cwctype>

namespace ZELL::Skin {

namespace {

bool IsNameCharacter(wchar_t c)
{
    return (c < 0x80 && std::iswalnum(static_cast<wint_t>(c))) || c == L'.';
}

std::size_t SkipBlanks(const std::wstring& text, std::size_t position)
{
    while (position < text.size() && text[position] == L' ')
        ++position;
    return position;
}

} // namespace

CMarkupTag::CMarkupTag(const std::wstring& text)
{
    std::size_t start = 0;
    if (!text.empty() && text[0] == L'/') {
        m_closing = true;
        start = 1;
    }
    std::size_t end = text.find_first_of(L" =", start);
    if (end == std::wstring::npos)
        end = text.size();
    m_name = text.substr(start, end - start);
    if (end + 1 < text.size())
        m_argument = text.substr(end + 1);
    ReadAttributes(text, end);
}

void CMarkupTag::ReadAttributes(const std::wstring& text, std::size_t position)
{
    while (position < text.size()) {
        if (!IsNameCharacter(text[position])) {
            ++position;
            continue;
        }
        const std::size_t nameStart = position;
        while (position < text.size() && IsNameCharacter(text[position]))
            ++position;
        Attribute attribute{text.substr(nameStart, position - nameStart), std::wstring()};
        position = SkipBlanks(text, position);
        if (position < text.size() && text[position] == L'=')
            position = ReadValue(text, SkipBlanks(text, position + 1), attribute.second);
        m_attributes.push_back(std::move(attribute));
    }
}

std::size_t CMarkupTag::ReadValue(const std::wstring& text, std::size_t position, std::wstring& value)
{
    if (position >= text.size())
        return position;
    const wchar_t quote = text[position];
    if (quote == L'"' || quote == L'\'') {
        std::size_t end = text.find(quote, position + 1);
        if (end == std::wstring::npos)
            end = text.size();
        value = text.substr(position + 1, end - position - 1);
        return end + 1;
    }
    std::size_t end = text.find(L' ', position);
    if (end == std::wstring::npos)
        end = text.size();
    value = text.substr(position, end - position);
    return end;
}

bool CMarkupTag::Has(const std::wstring& name) const
{
    for (const Attribute& attribute : m_attributes) {
        if (attribute.first == name)
            return true;
    }
    return false;
}

std::wstring CMarkupTag::Value(const std::wstring& name) const
{
    for (const Attribute& attribute : m_attributes) {
        if (attribute.first == name)
            return attribute.second;
    }
    return std::wstring();
}

}  // namespace ZELL::Skin
