#pragma once
// The style sheet of the tooltip mark-up: rules from a selector (an element
// name, a "." class name, "a:link" or "a:hover") to a declaration list. Both
// are compared in lower case, so "H1 {COLOR:RED}" styles "<h1>".

#include "Common/Skin/Markup/MarkupStyle.h"
#include "Common/Skin/Markup/MarkupValueReader.h"

#include <map>
#include <string>

namespace ZELL::Skin {

class CMarkupStyleSheet {
public:
    CMarkupStyleSheet();

    // Replaces every rule by those of the text; a null text installs the
    // default sheet.
    void SetText(const wchar_t* text);
    const std::wstring& Text() const { return m_text; }
    static const wchar_t* DefaultText();

    void SetRule(const std::wstring& selector, const std::wstring& declarations);
    void RemoveRule(const std::wstring& selector);
    bool HasRule(const std::wstring& selector) const;

    // Applies the rule of the selector to the style; false when there is none.
    bool Apply(const std::wstring& selector, CMarkupStyle& style, const CMarkupValueReader& reader) const;
    // Applies one declaration list ("color:red; font-size:9pt").
    static void ApplyDeclarations(const std::wstring& declarations, CMarkupStyle& style,
                                  const CMarkupValueReader& reader);

private:
    void ParseRules(const std::wstring& text);
    static void ApplyProperty(const std::wstring& name, const std::wstring& value, CMarkupStyle& style,
                              const CMarkupValueReader& reader);

    std::wstring m_text;
    std::map<std::wstring, std::wstring> m_rules;
};

}  // namespace ZELL::Skin
