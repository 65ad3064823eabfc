#include "Platform/Xml/XmlNode.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Xml/XmlDocumentData.h"
#include "Platform/Xml/XmlWriter.h"

#include <cwctype>

namespace Xml {
namespace {

std::string Narrow(std::wstring_view text)
{
    return Text::WideToUtf8(text);
}

std::wstring Wide(const char* utf8)
{
    return Text::Utf8ToWide(utf8 ? utf8 : "");
}

bool IsNameStart(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':'
        || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF));
}

bool IsNameChar(wchar_t c)
{
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7;
}

std::wstring TrimWhite(std::wstring text)
{
    const auto isWhite = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; };
    std::size_t start = 0;
    while (start < text.size() && isWhite(text[start]))
        ++start;
    std::size_t end = text.size();
    while (end > start && isWhite(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

pugi::xpath_node_set Evaluate(const pugi::xpath_node& context, std::wstring_view xpath)
{
    try {
        const pugi::xpath_query query(Narrow(xpath).c_str());
        if (query.return_type() != pugi::xpath_type_node_set)
            throw CXPathError("XPath '" + Narrow(xpath) + "' does not select nodes");
        pugi::xpath_node_set nodes = query.evaluate_node_set(context);
        nodes.sort();
        return nodes;
    } catch (const pugi::xpath_exception& error) {
        throw CXPathError("invalid XPath '" + Narrow(xpath) + "': " + error.what());
    }
}

}

bool IsXmlName(std::wstring_view name)
{
    if (name.empty() || !IsNameStart(name.front()))
        return false;
    for (const wchar_t c : name) {
        if (!IsNameChar(c))
            return false;
    }
    return true;
}

CXmlNode::CXmlNode(std::shared_ptr<CDocumentData> data, pugi::xml_node node)
    : m_data(std::move(data)), m_node(node)
{
    if (m_data)
        m_epoch = m_data->epoch;
}

CXmlNode::CXmlNode(std::shared_ptr<CDocumentData> data, pugi::xml_attribute attribute, pugi::xml_node parent)
    : m_data(std::move(data)), m_node(parent), m_attribute(attribute)
{
    if (m_data)
        m_epoch = m_data->epoch;
}

bool CXmlNode::Valid() const
{
    return m_data && m_data->epoch == m_epoch && (m_node || m_attribute);
}

CXmlNode CXmlNode::Wrap(pugi::xml_node node) const
{
    if (!node)
        return {};
    return CXmlNode(m_data, node);
}

NodeType CXmlNode::Type() const
{
    if (!Valid())
        return NodeType::Null;
    if (m_attribute)
        return NodeType::Attribute;
    switch (m_node.type()) {
    case pugi::node_element: return NodeType::Element;
    case pugi::node_pcdata: return NodeType::Text;
    case pugi::node_cdata: return NodeType::CData;
    case pugi::node_comment: return NodeType::Comment;
    case pugi::node_pi:
    case pugi::node_declaration: return NodeType::ProcessingInstruction;
    case pugi::node_document: return NodeType::Document;
    case pugi::node_doctype: return NodeType::DocumentType;
    default: return NodeType::Null;
    }
}

std::wstring CXmlNode::Name() const
{
    switch (Type()) {
    case NodeType::Attribute: return Wide(m_attribute.name());
    case NodeType::Element:
    case NodeType::ProcessingInstruction: return Wide(m_node.name());
    case NodeType::Text: return L"#text";
    case NodeType::CData: return L"#cdata-section";
    case NodeType::Comment: return L"#comment";
    case NodeType::Document: return L"#document";
    case NodeType::DocumentType: return Wide(m_node.value());
    default: return {};
    }
}

std::wstring CXmlNode::Text() const
{
    const NodeType type = Type();
    if (type == NodeType::Null)
        return {};
    if (type == NodeType::Attribute)
        return Wide(m_attribute.value());
    if (type != NodeType::Element && type != NodeType::Document)
        return Wide(m_node.value());
    std::string text;
    // Iterative walk over the descendants in document order.
    pugi::xml_node current = m_node.first_child();
    while (current) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
            text += current.value();
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current && current != m_node && !current.next_sibling())
            current = current.parent();
        if (!current || current == m_node)
            break;
        current = current.next_sibling();
    }
    std::wstring wide = Text::Utf8ToWide(text);
    return m_data->preserveWhiteSpace ? wide : TrimWhite(std::move(wide));
}

bool CXmlNode::SetText(std::wstring_view text)
{
    const NodeType type = Type();
    const std::string value = Narrow(text);
    switch (type) {
    case NodeType::Attribute: return m_attribute.set_value(value.c_str());
    case NodeType::Text:
    case NodeType::CData:
    case NodeType::Comment: return m_node.set_value(value.c_str());
    case NodeType::Element: break;
    default: return false;
    }
    pugi::xml_node first = m_node.first_child();
    if (first && !first.next_sibling() && first.type() == pugi::node_pcdata && !text.empty())
        return first.set_value(value.c_str());
    if (first) {
        // Children go away: nodes taken from this document before are void now.
        while (m_node.first_child())
            m_node.remove_child(m_node.first_child());
        ++m_data->epoch;
        m_epoch = m_data->epoch;
    }
    if (text.empty())
        return true;
    return m_node.append_child(pugi::node_pcdata).set_value(value.c_str());
}

std::optional<std::wstring> CXmlNode::GetAttribute(std::wstring_view name) const
{
    if (Type() != NodeType::Element)
        return std::nullopt;
    const pugi::xml_attribute attribute = m_node.attribute(Narrow(name).c_str());
    if (!attribute)
        return std::nullopt;
    return Wide(attribute.value());
}

bool CXmlNode::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (Type() != NodeType::Element || !IsXmlName(name))
        return false;
    const std::string narrowName = Narrow(name);
    pugi::xml_attribute attribute = m_node.attribute(narrowName.c_str());
    if (!attribute)
        attribute = m_node.append_attribute(narrowName.c_str());
    return attribute.set_value(Narrow(value).c_str());
}

std::vector<CXmlNode> CXmlNode::Attributes() const
{
    std::vector<CXmlNode> attributes;
    if (Type() != NodeType::Element)
        return attributes;
    for (auto attribute = m_node.first_attribute(); attribute; attribute = attribute.next_attribute())
        attributes.push_back(CXmlNode(m_data, attribute, m_node));
    return attributes;
}

CXmlNode CXmlNode::SelectSingleNode(std::wstring_view xpath) const
{
    const auto nodes = SelectNodes(xpath);
    return nodes.empty() ? CXmlNode() : nodes.front();
}

std::vector<CXmlNode> CXmlNode::SelectNodes(std::wstring_view xpath) const
{
    std::vector<CXmlNode> result;
    if (!Valid())
        return result;
    const pugi::xpath_node context = m_attribute ? pugi::xpath_node(m_attribute, m_node) : pugi::xpath_node(m_node);
    for (const auto& found : Evaluate(context, xpath)) {
        if (found.attribute())
            result.push_back(CXmlNode(m_data, found.attribute(), found.parent()));
        else if (found.node())
            result.push_back(CXmlNode(m_data, found.node()));
    }
    return result;
}

CXmlNode CXmlNode::Parent() const
{
    if (!Valid())
        return {};
    if (m_attribute)
        return Wrap(m_node);
    return Wrap(m_node.parent());
}

std::vector<CXmlNode> CXmlNode::ChildNodes() const
{
    std::vector<CXmlNode> children;
    if (!Valid() || m_attribute)
        return children;
    for (auto child = m_node.first_child(); child; child = child.next_sibling())
        children.push_back(Wrap(child));
    return children;
}

CXmlNode CXmlNode::FirstChild() const
{
    return Valid() && !m_attribute ? Wrap(m_node.first_child()) : CXmlNode();
}

CXmlNode CXmlNode::NextSibling() const
{
    return Valid() && !m_attribute ? Wrap(m_node.next_sibling()) : CXmlNode();
}

CXmlNode CXmlNode::AppendChild(std::wstring_view elementName)
{
    const NodeType type = Type();
    if ((type != NodeType::Element && type != NodeType::Document) || !IsXmlName(elementName))
        return {};
    if (type == NodeType::Document) {
        for (auto child = m_node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element)
                return {};
        }
    }
    return Wrap(m_node.append_child(Narrow(elementName).c_str()));
}

CXmlNode CXmlNode::AppendText(std::wstring_view text)
{
    if (Type() != NodeType::Element)
        return {};
    pugi::xml_node node = m_node.append_child(pugi::node_pcdata);
    node.set_value(Narrow(text).c_str());
    return Wrap(node);
}

CXmlNode CXmlNode::AppendComment(std::wstring_view text)
{
    const NodeType type = Type();
    if (type != NodeType::Element && type != NodeType::Document)
        return {};
    pugi::xml_node node = m_node.append_child(pugi::node_comment);
    node.set_value(Narrow(text).c_str());
    return Wrap(node);
}

std::wstring CXmlNode::Xml() const
{
    if (!Valid())
        return {};
    CSaveOptions options;
    options.indent.clear();
    options.lineEnd = L"\r\n";
    CXmlWriter writer(options, std::nullopt);
    return m_attribute ? writer.WriteAttribute(m_attribute) : writer.WriteNode(m_node);
}

bool CXmlNode::operator==(const CXmlNode& other) const
{
    if (!Valid() || !other.Valid())
        return !Valid() && !other.Valid();
    return m_data == other.m_data && m_node == other.m_node && m_attribute == other.m_attribute;
}

}
