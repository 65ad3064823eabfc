#include "Common/Skin/Markup/MarkupStyleSheet.h"

#include <cwctype>

namespace ZELL::Skin {

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool StartsItem(wchar_t c)
{
    return (c < 0x80 && std::iswalnum(static_cast<wint_t>(c))) || c == L'.';
}

std::size_t SkipToItem(const std::wstring& text, std::size_t position)
{
    while (position < text.size() && !StartsItem(text[position]))
        ++position;
    return position;
}

std::wstring TrimBlanks(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t\n");
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t\n") - first + 1);
}

// The value after ":" up to ";": blanks around it dropped, and a value in
// double quotes taken without them.
std::wstring ReadDeclarationValue(const std::wstring& text, std::size_t& position)
{
    std::size_t end = text.find(L';', position);
    if (end == std::wstring::npos)
        end = text.size();
    std::wstring value = TrimBlanks(text.substr(position, end - position));
    position = end;
    if (value.size() >= 2 && value.front() == L'"') {
        const std::size_t close = value.find(L'"', 1);
        value = value.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    return value;
}

} // namespace

CMarkupStyleSheet::CMarkupStyleSheet()
{
    SetText(nullptr);
}

const wchar_t* CMarkupStyleSheet::DefaultText()
{
    return L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
           L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
           L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
           L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
           L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
           L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
           L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
           L"code {color:#990000; font-family:Arial}\r\n"
           L"a:hover {text-decoration:underline; color:blue}\r\n"
           L"sub {font-size:65%; vertical-align:bottom}\r\n"
           L"sup {font-size:65%; vertical-align:top}\r\n"
           L"big {font-size:125%}\r\n"
           L"small {font-size:75%}\r\n"
           L".cpp-comment {color:green; font-style:italic}\r\n";
}

void CMarkupStyleSheet::SetText(const wchar_t* text)
{
    m_text = text ? text : DefaultText();
    m_rules.clear();
    ParseRules(m_text);
}

void CMarkupStyleSheet::ParseRules(const std::wstring& text)
{
    std::size_t position = SkipToItem(text, 0);
    while (position < text.size()) {
        const std::size_t selectorEnd = text.find_first_of(L" {", position);
        if (selectorEnd == std::wstring::npos)
            return;
        const std::size_t open = text.find(L'{', selectorEnd);
        const std::size_t close = open == std::wstring::npos ? open : text.find(L'}', open);
        if (close == std::wstring::npos)
            return;
        SetRule(text.substr(position, selectorEnd - position), text.substr(open + 1, close - open - 1));
        position = SkipToItem(text, close + 1);
    }
}

void CMarkupStyleSheet::SetRule(const std::wstring& selector, const std::wstring& declarations)
{
    if (!selector.empty())
        m_rules[Lower(selector)] = declarations;
}

void CMarkupStyleSheet::RemoveRule(const std::wstring& selector)
{
    m_rules.erase(Lower(selector));
}

bool CMarkupStyleSheet::HasRule(const std::wstring& selector) const
{
    return m_rules.count(Lower(selector)) != 0;
}

bool CMarkupStyleSheet::Apply(const std::wstring& selector, CMarkupStyle& style,
                              const CMarkupValueReader& reader) const
{
    const auto rule = m_rules.find(Lower(selector));
    if (rule == m_rules.end())
        return false;
    ApplyDeclarations(rule->second, style, reader);
    return true;
}

void CMarkupStyleSheet::ApplyDeclarations(const std::wstring& declarations, CMarkupStyle& style,
                                          const CMarkupValueReader& reader)
{
    const std::wstring text = Lower(declarations);
    std::size_t position = SkipToItem(text, 0);
    while (position < text.size()) {
        const std::size_t nameEnd = text.find_first_of(L" :", position);
        const std::size_t colon = nameEnd == std::wstring::npos ? nameEnd : text.find(L':', nameEnd);
        if (colon == std::wstring::npos)
            return;
        const std::wstring name = text.substr(position, nameEnd - position);
        position = colon + 1;
        ApplyProperty(name, ReadDeclarationValue(text, position), style, reader);
        position = SkipToItem(text, position);
    }
}

void CMarkupStyleSheet::ApplyProperty(const std::wstring& name, const std::wstring& value, CMarkupStyle& style,
                                      const CMarkupValueReader& reader)
{
    if (name == L"font-size") {
        style.fontHeight = reader.Length(value, style.fontHeight, true);
    } else if (name == L"font-family") {
        if (!value.empty())
            style.faceName = value;
    } else if (name == L"font-style") {
        style.italic = reader.FontItalic(value, style.italic);
    } else if (name == L"font-weight") {
        style.fontWeight = reader.FontWeight(value);
    } else if (name == L"text-align") {
        style.align = reader.Align(value, style.align);
    } else if (name == L"text-transform") {
        style.transform = reader.Transform(value, style.transform);
    } else if (name == L"color") {
        style.textColor = reader.Color(value, style.textColor);
    } else if (name == L"background-color") {
        reader.ApplyBackground(value, style);
    } else if (name == L"text-decoration") {
        reader.ApplyDecoration(value, style);
    } else if (name == L"vertical-align") {
        style.vAlign = reader.VAlign(value, style.vAlign);
    } else if (name == L"border-color") {
        style.borderLightColor = style.borderDarkColor = reader.Color(value, style.borderLightColor);
    } else if (name == L"border-width" || name == L"size") {
        style.SetBorderWidth(reader.BorderWidth(value, style.borderWidth));
    } else if (name == L"border-style") {
        style.SetBorderStyle(reader.BorderStyle(value, style.borderStyle));
    } else if (name == L"margin") {
        style.cellPadding = reader.Length(value, style.cellPadding);
    } else if (name == L"padding") {
        style.cellSpacing = reader.Length(value, style.cellSpacing);
    }
}

}  // namespace ZELL::Skin
