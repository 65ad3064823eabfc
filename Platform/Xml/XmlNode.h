#pragma once
// A node of an XML document (element, attribute, text, comment ... or the
// document itself), with the DOM operations the system uses. A default or
// failed node is null: every operation on it gives an empty result.

#include "Platform/Xml/XmlTypes.h"

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Xml {

struct CDocumentData;

class CXmlNode {
public:
    CXmlNode() = default;

    bool IsNull() const { return !Valid(); }
    explicit operator bool() const { return Valid(); }

    NodeType Type() const;
    // Element and attribute names; "#text", "#comment" ... for the others.
    std::wstring Name() const;
    // An element's (or the document's) text is the text of all its
    // descendants, without surrounding white space unless the document
    // preserves it; an attribute's is its value.
    std::wstring Text() const;
    // An element's children are replaced by the text.
    bool SetText(std::wstring_view text);

    std::optional<std::wstring> GetAttribute(std::wstring_view name) const;
    bool SetAttribute(std::wstring_view name, std::wstring_view value);
    std::vector<CXmlNode> Attributes() const;

    // XPath relative to this node (an attribute node included). Throw
    // CXPathError for an expression that does not compile or does not select
    // nodes.
    CXmlNode SelectSingleNode(std::wstring_view xpath) const;
    std::vector<CXmlNode> SelectNodes(std::wstring_view xpath) const;

    CXmlNode Parent() const;
    std::vector<CXmlNode> ChildNodes() const;
    CXmlNode FirstChild() const;
    CXmlNode NextSibling() const;

    // A new element as the last child; null for a name that is not an XML
    // name or for a second document element.
    CXmlNode AppendChild(std::wstring_view elementName);
    CXmlNode AppendText(std::wstring_view text);
    CXmlNode AppendComment(std::wstring_view text);

    // The node written as XML, without declaration or indentation.
    std::wstring Xml() const;

    bool operator==(const CXmlNode& other) const;

private:
    friend class CXmlDocument;
    friend class CXmlWriter;

    CXmlNode(std::shared_ptr<CDocumentData> data, pugi::xml_node node);
    CXmlNode(std::shared_ptr<CDocumentData> data, pugi::xml_attribute attribute, pugi::xml_node parent);
    CXmlNode Wrap(pugi::xml_node node) const;
    bool Valid() const;

    std::shared_ptr<CDocumentData> m_data;
    pugi::xml_node m_node;
    pugi::xml_attribute m_attribute;
    std::uint64_t m_epoch = 0;
};

bool IsXmlName(std::wstring_view name);

}
