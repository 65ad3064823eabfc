#include "Platform/Xml/XmlWriter.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Xml/XmlDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Xml {
namespace {

// The loader takes a malformed declaration as it stands; written back it
// would keep the output from loading (a quote or a byte of another encoding
// in the version hides the encoding name from the next reader).
bool IsVersionNumber(const char* text)
{
    if (text[0] != '1' || text[1] != '.' || text[2] == '\0')
        return false;
    for (const char* c = text + 2; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return false;
    }
    return true;
}

bool HasTextChild(const pugi::xml_node& node)
{
    for (auto child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            return true;
    }
    return false;
}

std::wstring Wide(const char* utf8)
{
    return Text::Utf8ToWide(utf8 ? utf8 : "");
}

}

CXmlWriter::CXmlWriter(const CSaveOptions& options, std::optional<std::wstring> encodingName)
    : m_options(options), m_encodingName(std::move(encodingName))
{
}

const wchar_t* CXmlWriter::EncodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return L"UTF-8";
    case Encoding::Utf16: return L"UTF-16";
    case Encoding::Latin1: return L"ISO-8859-1";
    }
    return L"UTF-8";
}

bool CXmlWriter::CanEncode(char32_t c) const
{
    return !m_encodingName || m_options.encoding != Encoding::Latin1 || c <= 0xFF;
}

void CXmlWriter::Put(char32_t c, Context context)
{
    if (!IsXmlChar(c)) {
        m_out += L'?';
        ++m_replaced;
        return;
    }
    if (!CanEncode(c)) {
        if (context == Context::Name)
            m_nameUnwritable = true;
        if ((context == Context::Text || context == Context::Attribute) && m_options.unrepresentable == Unrepresentable::CharacterReference) {
            m_out += L"&#" + std::to_wstring(static_cast<unsigned long>(c)) + L";";
        } else {
            m_out += L'?';
            ++m_replaced;
        }
        return;
    }
    if (context == Context::Text || context == Context::Attribute) {
        switch (c) {
        case '&': m_out += L"&amp;"; return;
        case '<': m_out += L"&lt;"; return;
        case '>': m_out += L"&gt;"; return;
        case '"': m_out += L"&quot;"; return;
        case '\'': m_out += L"&apos;"; return;
        case '\r': m_out += L"&#13;"; return;
        default: break;
        }
        if (context == Context::Attribute && (c == '\n' || c == '\t')) {
            // A reader would turn them into blanks.
            m_out += c == '\n' ? L"&#10;" : L"&#9;";
            return;
        }
    }
    if (c == '\n') {
        m_out += m_options.lineEnd;
        return;
    }
    m_out += static_cast<wchar_t>(c);
}

void CXmlWriter::PutText(const char* utf8, Context context)
{
    for (const wchar_t c : Wide(utf8))
        Put(static_cast<char32_t>(c), context);
}

void CXmlWriter::NewLine(std::size_t depth)
{
    // Indentation grows with the square of the depth; past this level lines
    // are indented no further, so a hostile nesting cannot blow up the output.
    constexpr std::size_t kMaxIndentDepth = 64;
    if (!m_out.empty())
        m_out += m_options.lineEnd;
    for (std::size_t i = 0; i < std::min(depth, kMaxIndentDepth); ++i)
        m_out += m_options.indent;
}

void CXmlWriter::Declaration(const pugi::xml_node& declaration)
{
    Literal(L"<?xml version=\"");
    const char* version = declaration ? declaration.attribute("version").value() : "";
    PutText(IsVersionNumber(version) ? version : "1.0", Context::Attribute);
    Literal(L"\"");
    std::wstring encoding;
    if (m_encodingName)
        encoding = *m_encodingName;
    else if (declaration)
        encoding = Wide(declaration.attribute("encoding").value());
    if (!encoding.empty()) {
        Literal(L" encoding=\"");
        for (const wchar_t c : encoding)
            Put(static_cast<char32_t>(c), Context::Attribute);
        Literal(L"\"");
    }
    const char* standalone = declaration ? declaration.attribute("standalone").value() : "";
    if (std::strcmp(standalone, "yes") == 0 || std::strcmp(standalone, "no") == 0) {
        Literal(L" standalone=\"");
        PutText(standalone, Context::Attribute);
        Literal(L"\"");
    }
    Literal(L"?>");
}

void CXmlWriter::Leaf(const pugi::xml_node& node)
{
    switch (node.type()) {
    case pugi::node_pcdata: PutText(node.value(), Context::Text); break;
    case pugi::node_cdata: {
        // "]]>" cannot stand inside a CDATA section: it is split across two.
        std::string value = node.value();
        for (std::size_t at = value.find("]]>"); at != std::string::npos; at = value.find("]]>", at + 15))
            value.replace(at, 3, "]]]]><![CDATA[>");
        Literal(L"<![CDATA[");
        PutText(value.c_str(), Context::Markup);
        Literal(L"]]>");
        break;
    }
    case pugi::node_comment: {
        // "--" would end the comment early.
        std::string value = node.value();
        for (std::size_t at = value.find("--"); at != std::string::npos; at = value.find("--", at))
            value.replace(at, 2, "- -");
        if (!value.empty() && value.back() == '-')
            value += ' ';
        Literal(L"<!--");
        PutText(value.c_str(), Context::Markup);
        Literal(L"-->");
        break;
    }
    case pugi::node_pi:
        Literal(L"<?");
        PutText(node.name(), Context::Name);
        if (*node.value()) {
            Literal(L" ");
            PutText(node.value(), Context::Name);
        }
        Literal(L"?>");
        break;
    case pugi::node_doctype:
        Literal(L"<!DOCTYPE ");
        PutText(node.value(), Context::Name);
        Literal(L">");
        break;
    case pugi::node_declaration: Declaration(node); break;
    default: break;
    }
}

void CXmlWriter::StartTag(const pugi::xml_node& element)
{
    Literal(L"<");
    PutText(element.name(), Context::Name);
    for (auto attribute = element.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        Literal(L" ");
        PutText(attribute.name(), Context::Name);
        Literal(L"=\"");
        PutText(attribute.value(), Context::Attribute);
        Literal(L"\"");
    }
}

// Walks the subtree with an explicit stack: each element is opened when
// reached and closed when its last child is done.
void CXmlWriter::Tree(const pugi::xml_node& top, bool pretty)
{
    struct Frame {
        pugi::xml_node node;
        std::size_t depth = 0;
        bool pretty = false;
        bool closing = false;
    };
    std::vector<Frame> stack;
    stack.push_back({top, 0, pretty, false});
    bool first = true;
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        const pugi::xml_node node = frame.node;
        if (frame.closing) {
            if (frame.pretty)
                NewLine(frame.depth);
            Literal(L"</");
            PutText(node.name(), Context::Name);
            Literal(L">");
            continue;
        }
        if (frame.pretty && !first)
            NewLine(frame.depth);
        first = false;
        if (node.type() != pugi::node_element) {
            Leaf(node);
            continue;
        }
        StartTag(node);
        if (!node.first_child()) {
            Literal(L"/>");
            continue;
        }
        Literal(L">");
        // Text inside an element is kept exactly: no indentation is added
        // next to it.
        const bool childPretty = frame.pretty && !HasTextChild(node);
        stack.push_back({node, frame.depth, childPretty, true});
        std::vector<pugi::xml_node> children;
        for (auto child = node.first_child(); child; child = child.next_sibling())
            children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back({*it, frame.depth + 1, childPretty, false});
    }
}

std::wstring CXmlWriter::WriteDocument(const pugi::xml_node& document)
{
    m_out.clear();
    m_replaced = 0;
    m_nameUnwritable = false;
    pugi::xml_node declaration;
    for (auto child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration) {
            declaration = child;
            break;
        }
    }
    if (m_encodingName ? m_options.declaration : static_cast<bool>(declaration))
        Declaration(declaration);
    const bool pretty = !m_options.indent.empty();
    for (auto child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration)
            continue;
        if (!m_out.empty())
            m_out += m_options.lineEnd;
        std::wstring saved;
        saved.swap(m_out);
        Tree(child, pretty);
        saved += m_out;
        m_out.swap(saved);
    }
    if (!m_out.empty())
        m_out += m_options.lineEnd;
    return m_out;
}

std::wstring CXmlWriter::WriteNode(const pugi::xml_node& node)
{
    m_out.clear();
    m_replaced = 0;
    m_nameUnwritable = false;
    if (node.type() == pugi::node_document)
        return WriteDocument(node);
    Tree(node, !m_options.indent.empty());
    return m_out;
}

std::wstring CXmlWriter::WriteAttribute(const pugi::xml_attribute& attribute)
{
    m_out.clear();
    m_replaced = 0;
    m_nameUnwritable = false;
    PutText(attribute.name(), Context::Name);
    Literal(L"=\"");
    PutText(attribute.value(), Context::Attribute);
    Literal(L"\"");
    return m_out;
}

std::string CXmlWriter::Encode(std::wstring_view text, const CSaveOptions& options)
{
    switch (options.encoding) {
    case Encoding::Utf8: return (options.byteOrderMark ? "\xEF\xBB\xBF" : "") + Text::WideToUtf8(text);
    case Encoding::Utf16: {
        const auto bytes = Text::WideToUtf16Le(text);
        std::string out("\xFF\xFE");
        out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return out;
    }
    case Encoding::Latin1: return Text::WideToLatin1(text);
    }
    return {};
}

}
