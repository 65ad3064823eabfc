#pragma once
// Writes a document or a node as XML text: every text and attribute value
// escaped (& < > " '), line ends and indentation as asked, and characters
// that the target encoding cannot hold replaced or written as character
// references. Works without recursion, so any depth of nesting is safe.

#include "Platform/Xml/XmlTypes.h"

#include <pugixml.hpp>

#include <optional>
#include <string>

namespace Xml {

class CXmlWriter {
public:
    // With an encoding name the declaration is written with it (a file
    // save); without, the document's own declaration is copied (a text).
    CXmlWriter(const CSaveOptions& options, std::optional<std::wstring> encodingName);

    std::wstring WriteDocument(const pugi::xml_node& document);
    std::wstring WriteNode(const pugi::xml_node& node);
    std::wstring WriteAttribute(const pugi::xml_attribute& attribute);
    std::size_t Replaced() const { return m_replaced; }
    // An element, attribute or instruction name the encoding cannot hold:
    // the text written is not well-formed then.
    bool NameUnwritable() const { return m_nameUnwritable; }

    // The text as bytes of the options' encoding (with its byte-order mark).
    // Characters the encoding cannot hold must have been dealt with already.
    static std::string Encode(std::wstring_view text, const CSaveOptions& options);
    static const wchar_t* EncodingName(Encoding encoding);

private:
    enum class Context { Name, Markup, Text, Attribute };

    void Put(char32_t c, Context context);
    void PutText(const char* utf8, Context context);
    void Literal(std::wstring_view text) { m_out += text; }
    void NewLine(std::size_t depth);
    void Declaration(const pugi::xml_node& declaration);
    void StartTag(const pugi::xml_node& element);
    void Leaf(const pugi::xml_node& node);
    void Tree(const pugi::xml_node& top, bool pretty);
    bool CanEncode(char32_t c) const;

    CSaveOptions m_options;
    std::optional<std::wstring> m_encodingName;
    std::wstring m_out;
    std::size_t m_replaced = 0;
    bool m_nameUnwritable = false;
};

}
