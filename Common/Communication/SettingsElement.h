#pragma once
// Writing and reading the one-element XML text of a settings object.

#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Platform/Xml/XmlNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ZELL {

// Builds "<?xml version='1.0'?> <Name a='1' b='x' />"; every text is escaped,
// so a quote or ampersand in a name cannot break later reads.
class CSettingsElementWriter {
public:
    explicit CSettingsElementWriter(const wchar_t* element);

    void Add(const wchar_t* name, const std::wstring& text);
    void Add(const wchar_t* name, std::uint32_t number);
    void Add(const wchar_t* name, std::int32_t number);
    void AddBool(const wchar_t* name, bool value);
    std::wstring Finish() const { return m_text + L"/>"; }

private:
    std::wstring m_text;
};

// Parses the text and finds the element by "//" + name; null when the text
// does not parse or holds no such element. The helper keeps the document.
Xml::CXmlNode FindSettingsElement(CXMLDOMHelper& helper, const std::wstring& xml, const wchar_t* element);

// The attribute's text of a settings element text; false when it cannot be read.
bool ReadSettingsAttribute(const std::wstring& xml, const wchar_t* element, const wchar_t* name, std::wstring& value);

// The error report of a connection's settings call: (function, error text).
using SettingsErrorTrace = std::function<void(const std::wstring& function, const std::wstring& error)>;

// Writes the boxed report of a settings error line by line through `line`,
// so that each connection keeps its own trace channel.
void WriteSettingsErrorBox(const std::function<void(const std::wstring&)>& line, const wchar_t* className,
                           const std::wstring& function, const std::wstring& error);

// Hands the settings element of the XML text to `apply`; false, reported to
// `trace`, when the text holds no such element or reading it throws.
bool ApplySettingsXML(const std::wstring& xml, const wchar_t* element,
                      const std::function<void(const Xml::CXmlNode&)>& apply, const SettingsErrorTrace& trace);

// The attribute's text of a settings element text; "ERROR", reported to
// `trace`, when it cannot be read.
std::wstring SettingsValueOrError(const std::wstring& xml, const wchar_t* element, const wchar_t* name,
                                  const SettingsErrorTrace& trace);

// Unsigned 32-bit attribute; a missing one gives the default. A text that is
// no number, or one out of range, throws, so that a caller commits nothing.
std::uint32_t XmlGetAttributeUInt32(const Xml::CXmlNode& node, const std::wstring& name, std::uint32_t defaultValue);

}
