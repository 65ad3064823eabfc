#pragma once
// Free functions over the XML documents of CXMLDOMHelper: typed attribute
// getters with defaults, number readers, escaping, a pretty printer, the
// text of a _com_error, a path join and small node helpers.

#include "Common/SystemHelper/Xml/ComError.h"
#include "Platform/Base/Types.h"
#include "Platform/Xml/XmlDocument.h"
#include "Platform/Xml/XmlNode.h"

#include <cstdint>
#include <string>
#include <vector>

// The getters never fail for a missing attribute. A number text that does
// not parse lets GenStrToNumber's std::string exception through.
bool XmlGetAttributeBool(const Xml::CXmlNode& element, const std::wstring& name, bool defaultValue);
std::int32_t XmlGetAttributeInt(const Xml::CXmlNode& element, const std::wstring& name, std::int32_t defaultValue);
std::uint16_t XmlGetAttributeUShort(const Xml::CXmlNode& element, const std::wstring& name,
                                    std::uint16_t defaultValue);
std::int64_t XmlGetAttributeInt64(const Xml::CXmlNode& element, const std::wstring& name, std::int64_t defaultValue);
double XmlGetAttributeDouble(const Xml::CXmlNode& element, const std::wstring& name, double defaultValue);
std::wstring XmlGetAttributeString(const Xml::CXmlNode& element, const std::wstring& name,
                                   const std::wstring& defaultValue);
WORD XmlGetAttributeWord(const Xml::CXmlNode& element, const std::wstring& name, WORD defaultValue);
BYTE XmlGetAttributeByte(const Xml::CXmlNode& element, const std::wstring& name, BYTE defaultValue);

// Hexadecimal when the text starts with "0x" or "0X" (at position 0 only),
// decimal otherwise; Int and UShort keep the low 32 and 16 bits.
std::int64_t StrToInt64(const std::wstring& text);
std::int32_t StrToInt(const std::wstring& text);
std::uint16_t StrToUShort(const std::wstring& text);

// & first, so the entities put in afterwards are not escaped again.
std::wstring XmlEscape(const std::wstring& text);

// Writes the document with the encoding name in its declaration (UTF-8,
// UTF-16 or ISO-8859-1), indented when asked, and loads the result back.
// False for another encoding or when the text does not load again.
bool XmlPrettyPrint(Xml::CXmlDocument& document, const std::wstring& encoding, bool standalone, bool indent);

std::wstring ComErrorReport(const _com_error& error);

// Joins with "/"; an empty directory is the current one ("./name").
std::wstring JoinPath(const std::wstring& directory, const std::wstring& fileName);

Xml::CXmlNode XmlFindChild(const std::vector<Xml::CXmlNode>& nodes, const std::wstring& name, Xml::NodeType type);

std::wstring FormatSourceLocation(const std::wstring& text, const std::wstring& sourceName, int line);

// An expression that does not compile raises _com_error (E_FAIL).
Xml::CXmlNode XmlSelectSingleNode(const Xml::CXmlNode& node, const std::wstring& xpath);
std::vector<Xml::CXmlNode> XmlSelectNodes(const Xml::CXmlNode& node, const std::wstring& xpath);
std::wstring XmlGetNodeText(const Xml::CXmlNode& node);

// The text as an XPath string literal, quoted so that no quote in it can end
// the literal early (concat() when it holds both kinds).
std::wstring XPathLiteral(const std::wstring& text);
