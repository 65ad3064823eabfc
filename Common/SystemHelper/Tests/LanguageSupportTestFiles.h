#pragma once
// A scratch folder per test and writers for GUI XML and binary text files.

#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

// The base layer's temporary folder, its files named by the wide paths that
// the text functions take.
class ScratchFolder : public TestSupport::CTempFolder {
public:
    ScratchFolder() : CTempFolder("zell-texts") {}

    std::wstring Write(const std::string& name, const std::string& bytes) const
    {
        return Text::Utf8ToWide(CTempFolder::Write(name, bytes).string());
    }
    using CTempFolder::Path;
    std::wstring Path(const std::string& name) const { return Text::Utf8ToWide((Path() / name).string()); }
};

// Little-endian records of the binary text file.
class BinaryTextFile {
public:
    explicit BinaryTextFile(std::uint32_t header) { Put32(header); }

    BinaryTextFile& Record(const std::u16string& key, const std::u16string& text)
    {
        String(key);
        String(text);
        return *this;
    }
    BinaryTextFile& String(const std::u16string& text, bool terminator = true)
    {
        return String(text, static_cast<std::uint32_t>(text.size()), terminator);
    }
    BinaryTextFile& String(const std::u16string& text, std::uint32_t announced, bool terminator)
    {
        Put32(announced);
        for (char16_t unit : text)
            Put16(unit);
        if (terminator)
            Put16(0);
        return *this;
    }
    BinaryTextFile& Raw(const std::string& bytes)
    {
        m_bytes += bytes;
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    void Put16(std::uint16_t value)
    {
        m_bytes += static_cast<char>(value & 0xFF);
        m_bytes += static_cast<char>(value >> 8);
    }
    void Put32(std::uint32_t value)
    {
        Put16(static_cast<std::uint16_t>(value & 0xFFFF));
        Put16(static_cast<std::uint16_t>(value >> 16));
    }

    std::string m_bytes;
};

inline const char* kGuiXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<gui>
  <languages>
    <!-- the offered languages -->
    <language lcid="1031" code="de"/>
    <language lcid="1033" code="en"/>
    <language lcid="1036" code="fr"/>
  </languages>
  <texts>
    <text key="LBL_OK"><locale code="de">Übernehmen</locale><locale code="en">Apply</locale></text>
    <text key="MSG_LINES"><locale code="en">One\nTwo\r\tThree</locale></text>
    <text key="MSG_AMP"><locale code="en">Save &amp; close, R&amp;D</locale></text>
    <text key="MSG_ARGS"><locale code="en">{0} of {1}, again {0}</locale></text>
    <text key="DUP"><locale code="en">first</locale></text>
    <text key="DUP"><locale code="en">second</locale></text>
    <locale code="en">orphan without key</locale>
  </texts>
</gui>
)";
