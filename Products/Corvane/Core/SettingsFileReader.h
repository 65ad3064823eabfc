#pragma once
// Reads a settings file into the device data set. The file is read into a
// copy of the set, which replaces the set only when the whole file was read:
// a file that fails part-way leaves the set as it was.

#include "Platform/Base/CString.h"
#include "Platform/Xml/XmlDocument.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/SettingsFileHeader.h"

#include <cstdint>
#include <filesystem>

namespace Corvane {

class CSettingsFileReader {
public:
    // False with GetError() for a file that is missing, not XML, has no
    // device element or holds a value the data set cannot take.
    bool Load(const std::filesystem::path& path, CFBCData& data);
    // The same for a loaded document.
    bool ReadDocument(Xml::CXmlDocument& document, CFBCData& data);

    const CString& GetError() const { return m_strError; }
    // The application element's attributes, "not found" where absent.
    const CSettingsFileHeader& GetHeader() const { return m_Header; }
    // What was loaded, as plain text for the debug output.
    static CString Summary(const CSettingsFileHeader& header, const CFBCData& data);

private:
    bool ReadInto(Xml::CXmlDocument& document, CFBCData& data);
    void ReadHeader(const Xml::CXmlNode& application);
    bool ReadChild(const Xml::CXmlNode& child, CFBCData& data);
    bool ReadWords(const Xml::CXmlNode& element, std::vector<WORD>& words);
    bool ReadTable(const Xml::CXmlNode& element, CRegisterTable& table);
    bool ReadNetworkParams(const Xml::CXmlNode& element, CFBCData& data);
    bool ReadPort(const Xml::CXmlNode& element, const std::wstring& kind, CFBCData& data);
    bool ReadSDCard(const Xml::CXmlNode& element, CFBCData::tSDCardInfo& card);
    bool ReadRuntimeSystems(const Xml::CXmlNode& element, CFBCData& data);
    bool Number(const Xml::CXmlNode& node, std::uint64_t limit, std::uint64_t& value);
    template<typename T>
    bool NumberInto(const Xml::CXmlNode& node, T& field);
    bool Fail(const std::wstring& text);

    CString m_strError;
    CSettingsFileHeader m_Header;
};

}  // namespace Corvane
