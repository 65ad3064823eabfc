// The TCPIP settings element of the TCP/IP connection: XML text, registry.

#include "Common/Communication/SettingsElement.h"
#include "Common/Communication/SettingsRegistryKey.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"

#include <algorithm>
#include <cwchar>

namespace ZELL {

namespace {

constexpr const wchar_t* kElement = L"TCPIP";

// The seconds attribute when set, else the share of the millisecond time-out
// when that is set, else the current value.
std::uint32_t TimeoutSeconds(std::uint16_t seconds, std::uint32_t timeoutMs, std::uint32_t current)
{
    if (seconds != 0)
        return seconds;
    if (timeoutMs != 0)
        return std::max<std::uint32_t>(1, static_cast<std::uint16_t>(timeoutMs / 1000));
    return current;
}

}

CTCPIPConnection::Settings CTCPIPConnection::CurrentSettings() const
{
    Settings settings = m_settings;
    settings.lengthPos = lengthPos;
    settings.sizeOfLength = sizeOfLength;
    settings.lengthCorrection = lengthCorrection;
    return settings;
}

void CTCPIPConnection::ApplySettings(const Settings& settings)
{
    m_settings = settings;
    lengthPos = settings.lengthPos;
    sizeOfLength = settings.sizeOfLength;
    lengthCorrection = settings.lengthCorrection;
}

// Reads into a copy: a number that does not parse throws before anything is
// committed.
CTCPIPConnection::Settings CTCPIPConnection::ReadSettings(const Xml::CXmlNode& element) const
{
    Settings s = CurrentSettings();
    s.ipAddress = XmlGetAttributeString(element, L"IP-Address", s.ipAddress);
    s.port = XmlGetAttributeUShort(element, L"ServicePort", s.port);
    const std::uint16_t connect = XmlGetAttributeUShort(element, L"ConnectTimeoutSeconds", 0);
    const std::uint16_t send = XmlGetAttributeUShort(element, L"SendTimeoutSeconds", 0);
    const std::uint16_t receive = XmlGetAttributeUShort(element, L"ReceiveTimeoutSeconds", 0);
    const std::uint32_t timeout = XmlGetAttributeUInt32(element, L"timeout", 0);
    s.connectTimeout = TimeoutSeconds(connect, timeout, s.connectTimeout);
    s.sendTimeout = TimeoutSeconds(send, timeout, s.sendTimeout);
    s.receiveTimeout = TimeoutSeconds(receive, timeout, s.receiveTimeout);
    s.restartTimeout = XmlGetAttributeUInt32(element, L"RestartTimeoutSeconds", s.restartTimeout);
    s.closeWaitTime = XmlGetAttributeUInt32(element, L"CloseWaitTime", s.closeWaitTime);
    s.lengthPos = XmlGetAttributeUInt32(element, L"LengthPos", s.lengthPos);
    s.sizeOfLength = XmlGetAttributeUShort(element, L"SizeOfLength", s.sizeOfLength);
    s.lengthCorrection =
        static_cast<std::int16_t>(XmlGetAttributeInt(element, L"LengthCorrection", s.lengthCorrection));
    s.identifyByName = XmlGetAttributeBool(element, L"IdentifyByName", s.identifyByName);
    s.nameResolution = XmlGetAttributeBool(element, L"NameResolution", s.nameResolution);
    s.networkName = XmlGetAttributeString(element, L"NetworkName", s.networkName);
    s.scanFrom = XmlGetAttributeString(element, L"IP-AddressFrom", s.scanFrom);
    s.scanTo = XmlGetAttributeString(element, L"IP-AddressTo", s.scanTo);
    s.defaultPort = XmlGetAttributeBool(element, L"DefaultServicePort", s.defaultPort);
    return s;
}

void CTCPIPConnection::TraceSettingsError(const std::wstring& function, const std::wstring& error) const
{
    WriteSettingsErrorBox([this](const std::wstring& line) { Log(L"%s", line.c_str()); }, L"CTCPIPConnection",
                          function, error);
}

bool CTCPIPConnection::SetSettingsXML(std::wstring xml)
{
    return ApplySettingsXML(
        xml, kElement, [this](const Xml::CXmlNode& element) { ApplySettings(ReadSettings(element)); },
        [this](const std::wstring& function, const std::wstring& error) { TraceSettingsError(function, error); });
}

std::wstring CTCPIPConnection::GetSettingsXML() const
{
    const Settings s = CurrentSettings();
    CSettingsElementWriter writer(kElement);
    writer.Add(L"IP-Address", s.ipAddress);
    writer.Add(L"ServicePort", std::uint32_t{s.port});
    writer.Add(L"CloseWaitTime", s.closeWaitTime);
    writer.Add(L"ConnectTimeoutSeconds", s.connectTimeout);
    writer.Add(L"SendTimeoutSeconds", s.sendTimeout);
    writer.Add(L"ReceiveTimeoutSeconds", s.receiveTimeout);
    writer.Add(L"RestartTimeoutSeconds", s.restartTimeout);
    writer.Add(L"LengthPos", s.lengthPos);
    writer.Add(L"SizeOfLength", std::uint32_t{s.sizeOfLength});
    writer.Add(L"LengthCorrection", std::int32_t{s.lengthCorrection});
    writer.AddBool(L"IdentifyByName", s.identifyByName);
    writer.AddBool(L"NameResolution", s.nameResolution);
    writer.Add(L"NetworkName", s.networkName);
    writer.Add(L"IP-AddressFrom", s.scanFrom);
    writer.Add(L"IP-AddressTo", s.scanTo);
    writer.AddBool(L"DefaultServicePort", s.defaultPort);
    return writer.Finish();
}

std::wstring CTCPIPConnection::GetSettingsValue(const wchar_t* name)
{
    return SettingsValueOrError(
        GetSettingsXML(), kElement, name,
        [this](const std::wstring& function, const std::wstring& error) { TraceSettingsError(function, error); });
}

std::wstring CTCPIPConnection::GetSettingsString() const
{
    const Settings s = CurrentSettings();
    return FormatW(L"%s; %u; %u; %u; %u; %u; %u; %u; %u; %d; ", s.ipAddress.c_str(), unsigned{s.port},
                   s.closeWaitTime, s.connectTimeout, s.sendTimeout, s.receiveTimeout, s.restartTimeout, s.lengthPos,
                   unsigned{s.sizeOfLength}, int{s.lengthCorrection});
}

unsigned int CTCPIPConnection::GetCommunicationTimeout()
{
    const auto number = [this](const wchar_t* name) { return std::wcstol(GetSettingsValue(name).c_str(), nullptr, 10); };
    const long largest = std::max({number(L"ConnectTimeoutSeconds"), number(L"SendTimeoutSeconds"),
                                   number(L"ReceiveTimeoutSeconds")});
    return largest < 0 ? 0u : static_cast<unsigned int>(largest);
}

void CTCPIPConnection::SetCommunicationTimeout(unsigned int seconds)
{
    SetSettingsXML(FormatW(L"<?xml version='1.0'?> <%s ConnectTimeoutSeconds='%d' SendTimeoutSeconds='%d' "
                           L"ReceiveTimeoutSeconds='%d' />",
                           kElement, seconds, seconds, seconds));
}

bool CTCPIPConnection::LoadSettingsRegistry(std::wstring key)
{
    const CSettingsRegistryKey registry(key, kElement);
    Settings s = CurrentSettings();
    registry.ReadString(L"IP-Address", s.ipAddress);
    registry.ReadNarrow(L"ServicePort", s.port);
    registry.ReadDword(L"CloseWaitTime", s.closeWaitTime);
    registry.ReadDword(L"ConnectTimeoutSeconds", s.connectTimeout);
    registry.ReadDword(L"SendTimeoutSeconds", s.sendTimeout);
    registry.ReadDword(L"ReceiveTimeoutSeconds", s.receiveTimeout);
    registry.ReadDword(L"RestartTimeoutSeconds", s.restartTimeout);
    registry.ReadDword(L"LengthPos", s.lengthPos);
    registry.ReadNarrow(L"SizeOfLength", s.sizeOfLength);
    registry.ReadNarrow(L"LengthCorrection", s.lengthCorrection);
    registry.ReadBool(L"IdentifyByName", s.identifyByName);
    registry.ReadBool(L"NameResolution", s.nameResolution);
    registry.ReadString(L"NetworkName", s.networkName);
    registry.ReadString(L"IP-AddressFrom", s.scanFrom);
    registry.ReadString(L"IP-AddressTo", s.scanTo);
    registry.ReadBool(L"DefaultServicePort", s.defaultPort);
    ApplySettings(s);
    return true;
}

// The fragment layout is fixed by the protocol, so it is not stored.
bool CTCPIPConnection::SaveSettingsRegistry(std::wstring key)
{
    const CSettingsRegistryKey registry(key, kElement);
    const Settings s = CurrentSettings();
    bool ok = registry.IsValid();
    ok = registry.WriteString(L"IP-Address", s.ipAddress) && ok;
    ok = registry.WriteDword(L"ServicePort", s.port) && ok;
    ok = registry.WriteDword(L"CloseWaitTime", s.closeWaitTime) && ok;
    ok = registry.WriteDword(L"ConnectTimeoutSeconds", s.connectTimeout) && ok;
    ok = registry.WriteDword(L"SendTimeoutSeconds", s.sendTimeout) && ok;
    ok = registry.WriteDword(L"ReceiveTimeoutSeconds", s.receiveTimeout) && ok;
    ok = registry.WriteDword(L"RestartTimeoutSeconds", s.restartTimeout) && ok;
    ok = registry.WriteBool(L"IdentifyByName", s.identifyByName) && ok;
    ok = registry.WriteBool(L"NameResolution", s.nameResolution) && ok;
    ok = registry.WriteString(L"NetworkName", s.networkName) && ok;
    ok = registry.WriteString(L"IP-AddressFrom", s.scanFrom) && ok;
    ok = registry.WriteString(L"IP-AddressTo", s.scanTo) && ok;
    ok = registry.WriteBool(L"DefaultServicePort", s.defaultPort) && ok;
    return ok;
}

// Settings files are kept for the serial connection only; a call is
// reported and refused.
void CTCPIPConnection::TraceNoSettingsFile(const wchar_t* function, const std::wstring& file,
                                           const wchar_t* message) const
{
    Log(L"\n*************************** INFO ****************************\n");
    Log(L"  Class:\t\tCTCPIPConnection\n");
    Log(L"  Function:\t%s(%s )\n", function, file.c_str());
    Log(L"  Message:\t%s\n", message);
    Log(L"*************************************************************\n\n");
}

bool CTCPIPConnection::LoadSettingsXML(std::wstring file)
{
    TraceNoSettingsFile(L"LoadSettingsXML", file, L"Loading settings from XML-File not yet implemented!");
    return false;
}

bool CTCPIPConnection::SaveSettingsXML(std::wstring file)
{
    TraceNoSettingsFile(L"SaveSettingsXML", file, L"Saving settings to XML-File not yet implemented!");
    return false;
}

}
