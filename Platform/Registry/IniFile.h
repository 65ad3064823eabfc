#pragma once
// An initialisation file as the private-profile functions read it: sections
// in brackets, "key=value" lines, ';' comment lines. Names keep their case
// and are matched without regard to it; blanks around keys and values are
// not part of them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Registry {

struct CIniEntry {
    std::wstring key;
    std::wstring value;
    // False for a line without '=' (it still counts as a key).
    bool hasValue = false;
};

struct CIniSection {
    std::wstring name;
    std::vector<CIniEntry> entries;
};

class CIniFile {
public:
    // UTF-8 (with or without its byte-order mark), UTF-16 with a byte-order
    // mark, and otherwise ISO-8859-1 when the bytes are not valid UTF-8.
    static std::wstring DecodeText(std::string_view bytes);
    static CIniFile Parse(std::wstring_view text);
    // False when the file cannot be read (the last error tells why).
    bool Load(const std::filesystem::path& path);

    const std::vector<CIniSection>& Sections() const { return m_sections; }
    // The first section of that name; a later one of the same name is not read.
    const CIniSection* FindSection(std::wstring_view name) const;
    const CIniEntry* FindEntry(std::wstring_view section, std::wstring_view key) const;

private:
    std::vector<CIniSection> m_sections;
};

}
