#pragma once
// What the lookups of a start take from a GUI XML file: its language list
// and the texts of one language. Each is taken from the parsed file once per
// process and shared by every deliverable (see Platform::CSharedFileTables),
// so a start parses the file once and walks it once per language in use.

#include "Platform/Base/SharedFileTables.h"
#include "Platform/Xml/XmlDocument.h"

#include <memory>
#include <optional>
#include <string>

class CGuiXmlTables {
public:
    using Table = std::shared_ptr<const Platform::CTextTable>;

    struct tLanguages {
        // The children of the languages element as (lcid, code) in file
        // order; null when the file does not load or has no such element.
        Table list;
        // Why the file does not load; `loads` tells the file loaded.
        bool loads = false;
        Xml::CParseError error;
        // The failure is new: the file did not load in this state before.
        bool firstFailure = false;
    };

    static tLanguages Languages(const std::wstring& path);
    // The texts of `code` as (key, text) sorted by key, a key once (its last
    // entry in the file wins); null when the file does not load.
    static Table Texts(const std::wstring& path, const std::wstring& code);

    // The same from a parsed document.
    static Table LanguagesOf(const Xml::CXmlDocument& document);
    static Table TextsOf(const Xml::CXmlDocument& document, const std::wstring& code);

    // The code that `lcid` has in the list (compared exactly).
    static std::optional<std::wstring> CodeOf(const Platform::CTextTable& languages, const std::wstring& lcid);
    // The text of `key` in a table made by Texts; null when it has none.
    static const std::wstring* Find(const Platform::CTextTable& texts, const std::wstring& key);
};
