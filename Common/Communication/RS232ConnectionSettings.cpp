// The RS232 settings element of the serial connection: XML text, file, registry.

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/SettingsElement.h"
#include "Common/Communication/SettingsRegistryKey.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/FileSystemPath.h"

#include <cwchar>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ZELL {

namespace {

constexpr const wchar_t* kElement = L"RS232";

// The sum is two bytes wide; any other width would run past the frame.
bool IsValidChecksumLength(std::uint16_t length)
{
    return length == 0 || length == 2;
}

std::string NarrowPath(const std::wstring& path)
{
    return Text::WideToFileName(path);
}

}

CRS232Connection::Settings CRS232Connection::ReadSettings(const Xml::CXmlNode& element) const
{
    Settings s = m_settings;
    s.device = XmlGetAttributeString(element, L"device", s.device);
    s.baudRate = XmlGetAttributeUInt32(element, L"baudrate", s.baudRate);
    s.parity = XmlGetAttributeString(element, L"parity", s.parity);
    s.dataBits = XmlGetAttributeUShort(element, L"databits", s.dataBits);
    s.stopBits = XmlGetAttributeString(element, L"stopbits", s.stopBits);
    s.timeout = XmlGetAttributeUInt32(element, L"timeout", s.timeout);
    s.inputQueue = XmlGetAttributeUInt32(element, L"inbuf-size", s.inputQueue);
    s.outputQueue = XmlGetAttributeUInt32(element, L"outbuf-size", s.outputQueue);
    s.dsrFlow = XmlGetAttributeBool(element, L"dsr_flow", s.dsrFlow);
    s.ctsFlow = XmlGetAttributeBool(element, L"cts_flow", s.ctsFlow);
    s.dtrControl = XmlGetAttributeString(element, L"dtr_control", s.dtrControl);
    s.rtsControl = XmlGetAttributeString(element, L"rts_control", s.rtsControl);
    s.asynchron = XmlGetAttributeBool(element, L"asynchron", s.asynchron);
    s.restartTimeout = XmlGetAttributeUInt32(element, L"RestartTimeoutSeconds", s.restartTimeout);
    s.checksumLength = XmlGetAttributeUShort(element, L"ChecksumLength", s.checksumLength);
    if (!IsValidChecksumLength(s.checksumLength))
        throw std::invalid_argument("ChecksumLength must be 0 or 2");
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
    const Settings& s = m_settings;
    CSettingsElementWriter writer(kElement);
    writer.Add(L"device", s.device);
    writer.Add(L"baudrate", s.baudRate);
    writer.Add(L"parity", s.parity);
    writer.Add(L"databits", std::uint32_t{s.dataBits});
    writer.Add(L"stopbits", s.stopBits);
    writer.Add(L"timeout", s.timeout);
    writer.Add(L"inbuf-size", s.inputQueue);
    writer.Add(L"outbuf-size", s.outputQueue);
    writer.AddBool(L"dsr_flow", s.dsrFlow);
    writer.AddBool(L"cts_flow", s.ctsFlow);
    writer.Add(L"dtr_control", s.dtrControl);
    writer.Add(L"rts_control", s.rtsControl);
    writer.AddBool(L"asynchron", s.asynchron);
    writer.Add(L"RestartTimeoutSeconds", s.restartTimeout);
    writer.Add(L"ChecksumLength", std::uint32_t{s.checksumLength});
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
    const CSettingsRegistryKey registry(key, kElement);
    Settings s = m_settings;
    registry.ReadString(L"device", s.device);
    registry.ReadDword(L"baudrate", s.baudRate);
    registry.ReadString(L"parity", s.parity);
    registry.ReadNarrow(L"databits", s.dataBits);
    registry.ReadString(L"stopbits", s.stopBits);
    registry.ReadDword(L"timeout", s.timeout);
    registry.ReadDword(L"inbuf-size", s.inputQueue);
    registry.ReadDword(L"outbuf-size", s.outputQueue);
    registry.ReadBool(L"dsr_flow", s.dsrFlow);
    registry.ReadBool(L"cts_flow", s.ctsFlow);
    registry.ReadString(L"dtr_control", s.dtrControl);
    registry.ReadString(L"rts_control", s.rtsControl);
    registry.ReadBool(L"asynchron", s.asynchron);
    registry.ReadDword(L"RestartTimeoutSeconds", s.restartTimeout);
    std::uint32_t checksum = s.checksumLength;
    registry.ReadDword(L"ChecksumLength", checksum);
    if (checksum <= 0xFFFF && IsValidChecksumLength(static_cast<std::uint16_t>(checksum)))
        s.checksumLength = static_cast<std::uint16_t>(checksum);
    m_settings = s;
    return true;
}

bool CRS232Connection::SaveSettingsRegistry(std::wstring key)
{
    const CSettingsRegistryKey registry(key, kElement);
    const Settings& s = m_settings;
    bool ok = registry.IsValid();
    ok = registry.WriteString(L"device", s.device) && ok;
    ok = registry.WriteDword(L"baudrate", s.baudRate) && ok;
    ok = registry.WriteString(L"parity", s.parity) && ok;
    ok = registry.WriteDword(L"databits", s.dataBits) && ok;
    ok = registry.WriteString(L"stopbits", s.stopBits) && ok;
    ok = registry.WriteDword(L"timeout", s.timeout) && ok;
    ok = registry.WriteDword(L"inbuf-size", s.inputQueue) && ok;
    ok = registry.WriteDword(L"outbuf-size", s.outputQueue) && ok;
    ok = registry.WriteBool(L"dsr_flow", s.dsrFlow) && ok;
    ok = registry.WriteBool(L"cts_flow", s.ctsFlow) && ok;
    ok = registry.WriteString(L"dtr_control", s.dtrControl) && ok;
    ok = registry.WriteString(L"rts_control", s.rtsControl) && ok;
    ok = registry.WriteBool(L"asynchron", s.asynchron) && ok;
    ok = registry.WriteDword(L"RestartTimeoutSeconds", s.restartTimeout) && ok;
    ok = registry.WriteDword(L"ChecksumLength", s.checksumLength) && ok;
    return ok;
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
