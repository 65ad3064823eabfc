#include "Platform/Xml/XmlReferences.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Xml/XmlDecoder.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Xml {
namespace {

// Longer than any reference a document can sensibly hold; a longer run after
// '&' is reported as an '&' that starts no reference.
constexpr std::size_t kMaxReferenceLength = 64;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

struct CPredefinedEntity {
    std::string_view name;
    char value;
};

constexpr CPredefinedEntity kPredefinedEntities[] = {
    {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};

bool EndsReferenceScan(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '&' || c == '<' || c == '"' || c == '\'';
}

// Length of the reference at the start of `text` (which starts with '&'),
// its ';' included; 0 when the '&' starts none.
std::size_t ReferenceLength(std::string_view text)
{
    const std::size_t limit = std::min(text.size(), kMaxReferenceLength);
    for (std::size_t i = 1; i < limit; ++i) {
        if (text[i] == ';')
            return i > 1 ? i + 1 : 0;
        if (EndsReferenceScan(text[i]))
            return 0;
    }
    return 0;
}

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The character of "#228" or "#xE4"; false when the digits are none or the
// character is one XML does not allow.
bool CharacterOf(std::string_view body, char32_t& character)
{
    const bool hex = body.size() > 1 && body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty())
        return false;
    char32_t value = 0;
    for (const char c : digits) {
        const int digit = DigitValue(c, hex);
        if (digit < 0)
            return false;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > kMaxCodePoint)
            return false;
    }
    character = value;
    return IsXmlChar(value);
}

std::wstring Quoted(std::string_view text)
{
    return L"'" + Text::Utf8ToWide(text) + L"'";
}

bool Refuse(CReferenceFault& fault, std::wstring reason, std::string_view faultyText)
{
    fault.reason = std::move(reason);
    fault.faultyText = std::string(faultyText);
    return false;
}

bool AppendReferenced(std::string_view reference, std::string& out, CReferenceFault& fault)
{
    const std::string_view body = reference.substr(1, reference.size() - 2);
    if (body.front() == '#') {
        char32_t character = 0;
        if (!CharacterOf(body, character))
            return Refuse(fault, L"the character reference " + Quoted(reference) + L" names no character XML allows",
                reference);
        out += Text::WideToUtf8(std::wstring(1, static_cast<wchar_t>(character)));
        return true;
    }
    for (const CPredefinedEntity& entity : kPredefinedEntities) {
        if (body == entity.name) {
            out += entity.value;
            return true;
        }
    }
    return Refuse(fault, L"the entity " + Quoted(reference) + L" is not defined", reference);
}

bool ResolveText(std::string_view text, std::string& out, CReferenceFault& fault)
{
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t amp = std::min(text.find('&', i), text.size());
        out.append(text, i, amp - i);
        if (amp == text.size())
            break;
        const std::size_t length = ReferenceLength(text.substr(amp));
        if (length == 0)
            return Refuse(fault, L"an '&' that starts no reference (a plain '&' is written &amp;)",
                text.substr(amp, std::min<std::size_t>(text.size() - amp, 16)));
        if (!AppendReferenced(text.substr(amp, length), out, fault))
            return false;
        i = amp + length;
    }
    return true;
}

// Resolves the references of one value in place; a value without '&' is
// left untouched.
template <typename Holder>
bool ResolveValue(Holder holder, const char* value, std::ptrdiff_t nodeOffset, std::string& scratch,
    CReferenceFault& fault)
{
    if (!std::strchr(value, '&'))
        return true;
    if (!ResolveText(value, scratch, fault)) {
        fault.nodeOffset = nodeOffset;
        return false;
    }
    holder.set_value(scratch.c_str());
    return true;
}

std::size_t SkipPast(std::string_view text, std::size_t from, std::string_view end)
{
    const std::size_t at = text.find(end, from);
    return at == std::string_view::npos ? text.size() : at + end.size();
}

// Whether the DOCTYPE (its value as the parser keeps it: name, external
// id, internal subset) declares an entity. Literals, comments and
// instructions are skipped, so a declaration named in them does not count.
bool DeclaresEntity(std::string_view doctype)
{
    for (std::size_t i = 0; i < doctype.size();) {
        const std::string_view rest = doctype.substr(i);
        if (rest.starts_with("<!ENTITY"))
            return true;
        if (rest.front() == '"' || rest.front() == '\'')
            i = SkipPast(doctype, i + 1, rest.substr(0, 1));
        else if (rest.starts_with("<!--"))
            i = SkipPast(doctype, i + 4, "-->");
        else if (rest.starts_with("<?"))
            i = SkipPast(doctype, i + 2, "?>");
        else
            ++i;
    }
    return false;
}

pugi::xml_node NextInDocumentOrder(pugi::xml_node node)
{
    if (node.first_child())
        return node.first_child();
    for (; node && node.type() != pugi::node_document; node = node.parent()) {
        if (node.next_sibling())
            return node.next_sibling();
    }
    return {};
}

bool ResolveNode(pugi::xml_node node, std::string& scratch, CReferenceFault& fault)
{
    switch (node.type()) {
    case pugi::node_doctype:
        if (DeclaresEntity(node.value())) {
            fault.nodeOffset = node.offset_debug();
            return Refuse(fault, L"the document declares entities in its DOCTYPE, which are not accepted",
                "<!ENTITY");
        }
        return true;
    case pugi::node_pcdata:
        return ResolveValue(node, node.value(), node.offset_debug(), scratch, fault);
    case pugi::node_element:
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (!ResolveValue(attribute, attribute.value(), node.offset_debug(), scratch, fault))
                return false;
        }
        return true;
    default:
        return true;
    }
}

}

bool ResolveReferences(pugi::xml_document& document, CReferenceFault& fault)
{
    std::string scratch;
    for (pugi::xml_node node = document.first_child(); node; node = NextInDocumentOrder(node)) {
        if (!ResolveNode(node, scratch, fault))
            return false;
    }
    return true;
}

}
