#pragma once
// An XML document with the operations of the DOM that the system uses:
// load from a file or a text, parse errors with reason and position, XPath
// selection, building, and writing as text or to a file in UTF-8, UTF-16 or
// ISO-8859-1.

#include "Platform/Xml/XmlNode.h"
#include "Platform/Xml/XmlTypes.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace Xml {

class CXmlDocument {
public:
    CXmlDocument();

    // The file's bytes in the encoding its byte-order mark or declaration
    // names. False on any error (ParseError tells which); the document is
    // empty then. A reference to an entity other than the five XML defines,
    // and a DOCTYPE that declares entities, fail the load (XmlReferences.h).
    bool Load(const std::filesystem::path& path);
    bool LoadBytes(std::string_view bytes);
    // A text already decoded: a declared encoding is not applied to it.
    bool LoadXml(std::wstring_view text);
    const CParseError& ParseError() const { return m_error; }

    // Keeps white-space-only text and the blanks around texts (off by default,
    // as in the DOM). Applies to later loads and to Text().
    void SetPreserveWhiteSpace(bool preserve);
    // "SelectionLanguage" = "XPath" is accepted (it is the only language);
    // everything else is refused.
    bool SetProperty(std::wstring_view name, std::wstring_view value);

    // Replaces the content with an empty document holding only the
    // declaration (no declaration for an empty version).
    void CreateNew(std::wstring_view version = L"1.0", std::wstring_view encoding = L"UTF-8");

    CXmlNode Root() const;
    CXmlNode DocumentElement() const;
    CXmlNode SelectSingleNode(std::wstring_view xpath) const { return Root().SelectSingleNode(xpath); }
    std::vector<CXmlNode> SelectNodes(std::wstring_view xpath) const { return Root().SelectNodes(xpath); }

    // The document as text: its own declaration, no indentation, CR LF
    // between the top-level nodes.
    std::wstring Xml() const;
    // The document as the bytes of a file; the declaration names the encoding.
    CSaveResult SaveToBytes(std::string& bytes, const CSaveOptions& options) const;
    // Written to a temporary file beside the target and renamed over it, so a
    // failed save leaves the old file as it was.
    CSaveResult Save(const std::filesystem::path& path, const CSaveOptions& options) const;

private:
    bool Parse(std::wstring_view text);
    bool Fail(std::wstring reason, std::size_t offset, std::wstring_view text);

    std::shared_ptr<CDocumentData> m_data;
    CParseError m_error;
    bool m_preserveWhiteSpace = false;
};

}
