#include "Common/SystemHelper/Xml/XmlAccess.h"

#include "Common/SystemHelper/Values/Conversions.h"
#include "Common/SystemHelper/Values/StringUtils.h"

#include <ios>
#include <optional>

namespace {

// The attribute's text when it is there and not empty.
std::optional<std::wstring> NonEmptyAttribute(const Xml::CXmlNode& element, const std::wstring& name)
{
    std::optional<std::wstring> value = element.GetAttribute(name);
    if (!value || value->empty())
        return std::nullopt;
    return value;
}

bool StartsWithHexPrefix(const std::wstring& text)
{
    return text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
}

}

bool XmlGetAttributeBool(const Xml::CXmlNode& element, const std::wstring& name, bool defaultValue)
{
    const std::optional<std::wstring> value = element.GetAttribute(name);
    if (!value)
        return defaultValue;
    const std::wstring lower = ToLower(*value);
    if (lower == L"true")
        return true;
    if (lower == L"false")
        return false;
    return defaultValue;
}

std::int32_t XmlGetAttributeInt(const Xml::CXmlNode& element, const std::wstring& name, std::int32_t defaultValue)
{
    const auto value = NonEmptyAttribute(element, name);
    return value ? StrToInt(*value) : defaultValue;
}

std::uint16_t XmlGetAttributeUShort(const Xml::CXmlNode& element, const std::wstring& name,
                                    std::uint16_t defaultValue)
{
    const auto value = NonEmptyAttribute(element, name);
    return value ? StrToUShort(*value) : defaultValue;
}

std::int64_t XmlGetAttributeInt64(const Xml::CXmlNode& element, const std::wstring& name, std::int64_t defaultValue)
{
    const auto value = NonEmptyAttribute(element, name);
    return value ? StrToInt64(*value) : defaultValue;
}

double XmlGetAttributeDouble(const Xml::CXmlNode& element, const std::wstring& name, double defaultValue)
{
    const auto value = NonEmptyAttribute(element, name);
    return value ? GenStrToNumber<double>(*value, std::dec) : defaultValue;
}

std::wstring XmlGetAttributeString(const Xml::CXmlNode& element, const std::wstring& name,
                                   const std::wstring& defaultValue)
{
    return element.GetAttribute(name).value_or(defaultValue);
}

WORD XmlGetAttributeWord(const Xml::CXmlNode& element, const std::wstring& name, WORD defaultValue)
{
    return static_cast<WORD>(XmlGetAttributeInt(element, name, defaultValue));
}

BYTE XmlGetAttributeByte(const Xml::CXmlNode& element, const std::wstring& name, BYTE defaultValue)
{
    return static_cast<BYTE>(XmlGetAttributeWord(element, name, defaultValue));
}

std::int64_t StrToInt64(const std::wstring& text)
{
    return GenStrToNumber<std::int64_t>(text, StartsWithHexPrefix(text) ? std::hex : std::dec);
}

std::int32_t StrToInt(const std::wstring& text)
{
    return static_cast<std::int32_t>(StrToInt64(text));
}

std::uint16_t StrToUShort(const std::wstring& text)
{
    return static_cast<std::uint16_t>(StrToInt64(text));
}

std::wstring XmlEscape(const std::wstring& text)
{
    std::wstring result = ReplaceAll(text, L"&", L"&amp;");
    result = ReplaceAll(result, L"'", L"&apos;");
    result = ReplaceAll(result, L"<", L"&lt;");
    result = ReplaceAll(result, L">", L"&gt;");
    return ReplaceAll(result, L"\"", L"&quot;");
}

namespace {

std::optional<Xml::Encoding> EncodingFromName(const std::wstring& name)
{
    const std::wstring lower = ToLower(name);
    if (lower == L"utf-8")
        return Xml::Encoding::Utf8;
    if (lower == L"utf-16")
        return Xml::Encoding::Utf16;
    if (lower == L"iso-8859-1")
        return Xml::Encoding::Latin1;
    return std::nullopt;
}

// The writer's declaration with the caller's encoding name and standalone flag.
std::wstring WithDeclaration(const std::wstring& text, const std::wstring& encoding, bool standalone)
{
    std::wstring body = text;
    if (body.compare(0, 5, L"<?xml") == 0) {
        const std::size_t end = body.find(L"?>");
        body.erase(0, end == std::wstring::npos ? body.size() : end + 2);
        while (!body.empty() && (body.front() == L'\r' || body.front() == L'\n'))
            body.erase(0, 1);
    }
    std::wstring declaration = L"<?xml version=\"1.0\" encoding=\"" + encoding + L"\"";
    if (standalone)
        declaration += L" standalone=\"yes\"";
    return declaration + L"?>\r\n" + body;
}

}

bool XmlPrettyPrint(Xml::CXmlDocument& document, const std::wstring& encoding, bool standalone, bool indent)
{
    if (!EncodingFromName(encoding))
        return false;
    Xml::CSaveOptions options;
    options.encoding = Xml::Encoding::Utf8;
    options.lineEnd = L"\r\n";
    options.indent = indent ? L"\t" : L"";
    options.unrepresentable = Xml::Unrepresentable::CharacterReference;
    std::string bytes;
    if (!document.SaveToBytes(bytes, options).ok)
        return false;
    return document.LoadXml(WithDeclaration(Text::Utf8ToWide(bytes), encoding, standalone));
}

std::wstring ComErrorReport(const _com_error& error)
{
    std::wstring report = L"Report:\n";
    report += L"Description: " + error.Description().wstr() + L"\n";
    report += L"Error Message: " + error.ErrorMessage() + L"\n";
    report += L"Source: " + error.Source().wstr() + L"\n";
    return report;
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& fileName)
{
    std::wstring path = directory.empty() ? L"./" : directory;
    if (path.back() != L'/')
        path += L'/';
    return path + fileName;
}

Xml::CXmlNode XmlFindChild(const std::vector<Xml::CXmlNode>& nodes, const std::wstring& name, Xml::NodeType type)
{
    for (const Xml::CXmlNode& node : nodes) {
        if (node.Type() == type && node.Name() == name)
            return node;
    }
    return {};
}

std::wstring FormatSourceLocation(const std::wstring& text, const std::wstring& sourceName, int line)
{
    return text + L" (" + sourceName + L":" + std::to_wstring(line) + L")";
}

Xml::CXmlNode XmlSelectSingleNode(const Xml::CXmlNode& node, const std::wstring& xpath)
{
    try {
        return node.SelectSingleNode(xpath);
    } catch (const Xml::CXPathError& error) {
        throw _com_error(E_FAIL, Text::Utf8ToWide(error.what()), L"selectSingleNode");
    }
}

std::vector<Xml::CXmlNode> XmlSelectNodes(const Xml::CXmlNode& node, const std::wstring& xpath)
{
    try {
        return node.SelectNodes(xpath);
    } catch (const Xml::CXPathError& error) {
        throw _com_error(E_FAIL, Text::Utf8ToWide(error.what()), L"selectNodes");
    }
}

std::wstring XmlGetNodeText(const Xml::CXmlNode& node)
{
    return node.Text();
}

std::wstring XPathLiteral(const std::wstring& text)
{
    if (text.find(L'\'') == std::wstring::npos)
        return L"'" + text + L"'";
    if (text.find(L'"') == std::wstring::npos)
        return L"\"" + text + L"\"";
    std::wstring result = L"concat(";
    std::size_t start = 0;
    bool first = true;
    while (start <= text.size()) {
        const std::size_t quote = text.find(L'\'', start);
        const std::wstring part = text.substr(start, quote == std::wstring::npos ? std::wstring::npos : quote - start);
        if (!part.empty()) {
            result += (first ? L"" : L", ") + (L"'" + part + L"'");
            first = false;
        }
        if (quote == std::wstring::npos)
            break;
        result += first ? L"\"'\"" : L", \"'\"";
        first = false;
        start = quote + 1;
    }
    return result + L")";
}
