#include "Common/SystemHelper/Texts/GuiXmlTables.h"

#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Common/SystemHelper/Xml/XmlFileCache.h"
#include "Platform/Base/FileSystemPath.h"

#include <algorithm>
#include <optional>

namespace {

const std::wstring kLanguagesTable = L"languages";

// The first "languages" element in document order; it stands near the top,
// so the walk stops long before a large file's texts.
Xml::CXmlNode FirstLanguagesElement(const Xml::CXmlNode& root)
{
    Xml::CXmlNode node = root.FirstChild();
    while (node) {
        if (node.Type() == Xml::NodeType::Element) {
            if (node.Name() == L"languages")
                return node;
            if (Xml::CXmlNode child = node.FirstChild()) {
                node = child;
                continue;
            }
        }
        while (node && !node.NextSibling()) {
            node = node.Parent();
            if (node == root)
                return {};
        }
        if (node)
            node = node.NextSibling();
    }
    return {};
}

// Sorted by key, the last entry of a key kept.
void SortKeepingLast(Platform::CTextTable& pairs)
{
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    auto out = pairs.begin();
    for (auto in = pairs.begin(); in != pairs.end(); ++in) {
        const auto next = std::next(in);
        if (next != pairs.end() && next->first == in->first)
            continue;
        if (out != in)
            *out = std::move(*in);
        ++out;
    }
    pairs.erase(out, pairs.end());
}

// A settled file's stamp: only such a file's tables may be shared by stamp.
std::optional<Platform::CFileStamp> SettledStamp(const std::string& path)
{
    const auto stamp = Platform::CFileStamp::Of(path);
    return stamp && stamp->IsSettled() ? stamp : std::nullopt;
}

std::optional<Platform::CTextTable> ListOf(const Xml::CXmlDocument& document)
{
    const Xml::CXmlNode languages = FirstLanguagesElement(document.Root());
    if (!languages)
        return std::nullopt;
    Platform::CTextTable list;
    for (const Xml::CXmlNode& child : languages.ChildNodes()) {
        if (child.Type() == Xml::NodeType::Element)
            list.emplace_back(child.GetAttribute(L"lcid").value_or(L""), child.GetAttribute(L"code").value_or(L""));
    }
    return list;
}

Platform::CTextTable TextPairsOf(const Xml::CXmlDocument& document, const std::wstring& code)
{
    // One query, evaluated inside the XML library, finds the locales; the
    // key is read from each locale's parent directly.
    const std::vector<Xml::CXmlNode> locales =
        document.Root().SelectNodes(L"//locale[@code=" + XPathLiteral(code) + L"]");
    Platform::CTextTable texts;
    texts.reserve(locales.size());
    for (const Xml::CXmlNode& locale : locales) {
        if (auto key = locale.Parent().GetAttribute(L"key"))
            texts.emplace_back(std::move(*key), locale.Text());
    }
    SortKeepingLast(texts);
    return texts;
}

// The table shared with the other deliverables when the file held still
// while it was read; else this reader's own.
CGuiXmlTables::Table Share(const std::string& path, const std::wstring& name,
                           const std::optional<Platform::CFileStamp>& stamp, Platform::CTextTable table)
{
    if (!stamp || Platform::CFileStamp::Of(path) != stamp)
        return std::make_shared<const Platform::CTextTable>(std::move(table));
    return Platform::CSharedFileTables::Keep(path, name, *stamp, std::move(table));
}

}

CGuiXmlTables::tLanguages CGuiXmlTables::Languages(const std::wstring& path)
{
    const std::string narrow = Text::WideToFileName(path);
    const auto stamp = SettledStamp(narrow);
    tLanguages result;
    if (stamp) {
        if ((result.list = Platform::CSharedFileTables::Find(narrow, kLanguagesTable, *stamp))) {
            result.loads = true;
            return result;
        }
    }
    const CXmlFileCache::tLoad load = CXmlFileCache::Load(path);
    result.loads = load.document != nullptr;
    if (!result.loads) {
        result.error = load.error;
        result.firstFailure = load.firstFailure;
        return result;
    }
    if (auto list = ListOf(*load.document))
        result.list = Share(narrow, kLanguagesTable, stamp, std::move(*list));
    return result;
}

CGuiXmlTables::Table CGuiXmlTables::Texts(const std::wstring& path, const std::wstring& code)
{
    const std::string narrow = Text::WideToFileName(path);
    const auto stamp = SettledStamp(narrow);
    const std::wstring name = L"texts:" + code;
    if (stamp) {
        if (Table found = Platform::CSharedFileTables::Find(narrow, name, *stamp))
            return found;
    }
    const CXmlFileCache::tLoad load = CXmlFileCache::Load(path);
    if (!load.document)
        return nullptr;
    return Share(narrow, name, stamp, TextPairsOf(*load.document, code));
}

CGuiXmlTables::Table CGuiXmlTables::LanguagesOf(const Xml::CXmlDocument& document)
{
    auto list = ListOf(document);
    return list ? std::make_shared<const Platform::CTextTable>(std::move(*list)) : nullptr;
}

CGuiXmlTables::Table CGuiXmlTables::TextsOf(const Xml::CXmlDocument& document, const std::wstring& code)
{
    return std::make_shared<const Platform::CTextTable>(TextPairsOf(document, code));
}

std::optional<std::wstring> CGuiXmlTables::CodeOf(const Platform::CTextTable& languages, const std::wstring& lcid)
{
    for (const auto& [listedLcid, code] : languages) {
        if (listedLcid == lcid)
            return code;
    }
    return std::nullopt;
}

const std::wstring* CGuiXmlTables::Find(const Platform::CTextTable& texts, const std::wstring& key)
{
    const auto found = std::lower_bound(texts.begin(), texts.end(), key,
                                        [](const auto& pair, const std::wstring& wanted) { return pair.first < wanted; });
    return found != texts.end() && found->first == key ? &found->second : nullptr;
}
