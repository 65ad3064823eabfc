// The RS232 settings element of the serial connection: XML text, file, registry.

#include "Common/Communication/RS232Connection.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/FileSystemPath.h"

#include <cwchar>
#include <fstream>
#include <sstream>

namespace ZELL {

namespace {

constexpr const wchar_t* kElement = L"RS232";

// The sum is two bytes wide; any other width would run past the frame.
bool IsValidChecksumLength(std::uint32_t length)
{
    return length == 0 || length == 2;
}

std::string NarrowPath(const std::wstring& path)
{
    return Text::WideToFileName(path);
}

}

// The element's attributes, in the order the XML text carries them.
SettingsFieldTable<CRS232Connection::Settings> CRS232Connection::Fields()
{
    using S = Settings;
    static const tSettingsField<S> kFields[] = {
        {L"device", &S::device},
        {L"baudrate", &S::baudRate},
        {L"parity", &S::parity},
        {L"databits", &S::dataBits},
        {L"stopbits", &S::stopBits},
        {L"timeout", &S::timeout},
        {L"inbuf-size", &S::inputQueue},
        {L"outbuf-size", &S::outputQueue},
        {L"dsr_flow", &S::dsrFlow},
        {L"cts_flow", &S::ctsFlow},
        {L"dtr_control", &S::dtrControl},
        {L"rts_control", &S::rtsControl},
        {L"asynchron", &S::asynchron},
        {L"RestartTimeoutSeconds", &S::restartTimeout},
        {L"ChecksumLength", &S::checksumLength, kStoredEverywhere, &IsValidChecksumLength},
    };
    return kFields;
}

// Reads into a copy: a number that does not parse, or a checksum length
// other than 0 or 2, throws before anything is committed.
CRS232Connection::Settings CRS232Connection::ReadSettings(const Xml::CXmlNode& element) const
{
    Settings s = m_settings;
    ReadSettingsFields(Fields(), element, s);
    return s;
}

void CRS232Connection::TraceSettingsError(const std::wstring& function, const std::wstring& error) const
{
    WriteSettingsErrorBox([](const std::wstring& line) { DebugTrace(L"%s", line.c_str()); }, L"CRS232Connection",
                          function, error);
}

bool CRS232Connection::SetSettingsXML(std::wstring xml)
{
    return ApplySettingsXML(
        xml, kElement, [this](const Xml::CXmlNode& element) { m_settings = ReadSettings(element); },
        [this](const std::wstring& function, const std::wstring& error) { TraceSettingsError(function, error); });
}

std::wstring CRS232Connection::GetSettingsXML() const
{
    CSettingsElementWriter writer(kElement);
    WriteSettingsFields(Fields(), m_settings, writer);
    return writer.Finish();
}

std::wstring CRS232Connection::GetSettingsValue(const wchar_t* name)
{
    return SettingsValueOrError(
        GetSettingsXML(), kElement, name,
        [this](const std::wstring& function, const std::wstring& error) { TraceSettingsError(function, error); });
}

std::wstring CRS232Connection::GetSettingsString() const
{
    const Settings& s = m_settings;
    const std::wstring parity = s.parity.empty() ? std::wstring() : s.parity.substr(0, 1);
    return FormatW(L"%s: %u, %s, %u, %s", s.device.c_str(), s.baudRate, parity.c_str(), unsigned{s.dataBits},
                   s.stopBits.c_str());
}

unsigned int CRS232Connection::GetCommunicationTimeout()
{
    const long milliseconds = std::wcstol(GetSettingsValue(L"timeout").c_str(), nullptr, 10);
    return milliseconds < 0 ? 0u : static_cast<unsigned int>(milliseconds / 1000);
}

void CRS232Connection::SetCommunicationTimeout(unsigned int seconds)
{
    SetSettingsXML(FormatW(L"<?xml version='1.0'?> <%s timeout='%u' />", kElement, seconds * 1000u));
}

bool CRS232Connection::LoadSettingsRegistry(std::wstring key)
{
    Settings s = m_settings;
    LoadSettingsFields(Fields(), CSettingsRegistryKey(key, kElement), s);
    m_settings = s;
    return true;
}

bool CRS232Connection::SaveSettingsRegistry(std::wstring key)
{
    return SaveSettingsFields(Fields(), CSettingsRegistryKey(key, kElement), m_settings);
}

// The file is UTF-8; its lines are joined without separators.
bool CRS232Connection::LoadSettingsXML(std::wstring file)
{
    std::ifstream stream(NarrowPath(file), std::ios::binary);
    if (!stream)
        return false;
    std::string text;
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        text += line;
    }
    if (stream.bad())
        return false;
    return SetSettingsXML(Text::Utf8ToWide(text));
}

bool CRS232Connection::SaveSettingsXML(std::wstring file)
{
    std::ofstream stream(NarrowPath(file), std::ios::binary | std::ios::trunc);
    if (!stream)
        return false;
    stream << Text::WideToUtf8(GetSettingsXML());
    stream.flush();
    return static_cast<bool>(stream);
}

}
