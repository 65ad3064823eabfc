#include "Common/Skin/Markup/MarkupEntities.h"

#include "Platform/Base/CodePage.h"

#include <utility>

namespace ZELL::Skin {

namespace {

// The single-byte entities name their characters by the Windows-1252 code
// point; in wide text each becomes the character at that code point, so the
// euro sign (0x80) is U+20AC and never a stray control or accent.
std::wstring FromCodePage1252(unsigned char byte)
{
    const char narrow = static_cast<char>(byte);
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_WINDOWS_1252, 0, &narrow, 1, &wide, 1) != 1)
        return L"?";
    return std::wstring(1, wide);
}

// Builds a new text rather than replacing in place, so a text full of
// entities costs linear time.
void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    std::wstring result;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, start)) {
        result.append(text, start, at - start);
        result += to;
        start = at + from.size();
    }
    if (start == 0)
        return;
    result.append(text, start, std::wstring::npos);
    text = std::move(result);
}

} // namespace

CMarkupEntities::CMarkupEntities()
{
    m_entities[L"&amp;"] = L"&";
    m_entities[L"&bull;"] = FromCodePage1252(0x95);
    m_entities[L"&copy;"] = FromCodePage1252(0xA9);
    m_entities[L"&euro;"] = FromCodePage1252(0x80);
    m_entities[L"&gt;"] = L">";
    m_entities[L"&iquest;"] = FromCodePage1252(0xBF);
    // A doubled "<" is the tokenizer's literal "<".
    m_entities[L"&lt;"] = L"<<";
    m_entities[L"&nbsp;"] = L" ";
    m_entities[L"&para;"] = FromCodePage1252(0xB6);
    m_entities[L"&pound;"] = FromCodePage1252(0xA3);
    m_entities[L"&quot;"] = L"\"";
    m_entities[L"&reg;"] = FromCodePage1252(0xAE);
    m_entities[L"&trade;"] = FromCodePage1252(0x99);
}

std::wstring CMarkupEntities::Replace(std::wstring text) const
{
    if (text.find(L'&') == std::wstring::npos)
        return text;
    for (const auto& [entity, replacement] : m_entities)
        ReplaceAll(text, entity, replacement);
    return text;
}

}  // namespace ZELL::Skin
