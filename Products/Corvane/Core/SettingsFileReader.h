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

// Why a file was not taken, so that the user is told in his language what
// is wrong with it.
enum class ENSettingsFileError {
    None,
    // The file does not exist.
    Missing,
    // The file exists but cannot be read (no permission, a device error).
    Unreadable,
    // Not well-formed XML: empty, cut short, random bytes, a picture, a bad
    // encoding. GetErrorLine() tells where the parser stopped.
    Damaged,
    // Well-formed XML, but no application/device element: another
    // program's file.
    NotSettings,
    // A value the data set cannot take: GetErrorElement() holds it.
    BadValue,
};

class CSettingsFileReader {
public:
    // False with GetError() for a file that is missing, not XML, has no
    // device element or holds a value the data set cannot take.
    bool Load(const std::filesystem::path& path, CFBCData& data);
    // The same for a loaded document.
    bool ReadDocument(Xml::CXmlDocument& document, CFBCData& data);

    // The cause in English, with the parser's words, for the debug output.
    const CString& GetError() const { return m_strError; }
    ENSettingsFileError GetErrorKind() const { return m_eErrorKind; }
    // The line the parser stopped at, from 1; 0 where no line tells anything.
    std::size_t GetErrorLine() const { return m_nErrorLine; }
    // For a bad value: the element (or attribute) and the text it holds.
    const CString& GetErrorElement() const { return m_strErrorElement; }
    const CString& GetErrorValue() const { return m_strErrorValue; }
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
    bool FailKind(ENSettingsFileError kind, const std::wstring& text, std::size_t line = 0);
    bool FailValue(const std::wstring& element, const std::wstring& value, const std::wstring& text);
    void ResetError();

    CString m_strError;
    ENSettingsFileError m_eErrorKind = ENSettingsFileError::None;
    std::size_t m_nErrorLine = 0;
    CString m_strErrorElement;
    CString m_strErrorValue;
    CSettingsFileHeader m_Header;
};

}  // namespace Corvane
