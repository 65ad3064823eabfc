// The TCPIP settings element of the TCP/IP connection: XML text, registry.

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

// The element's attributes, in the order the XML text carries them.
SettingsFieldTable<CTCPIPConnection::Settings> CTCPIPConnection::Fields()
{
    using S = Settings;
    static const tSettingsField<S> kFields[] = {
        {L"IP-Address", &S::ipAddress},
        {L"ServicePort", &S::port},
        {L"CloseWaitTime", &S::closeWaitTime},
        {L"ConnectTimeoutSeconds", &S::connectTimeout, kXmlReadApart},
        {L"SendTimeoutSeconds", &S::sendTimeout, kXmlReadApart},
        {L"ReceiveTimeoutSeconds", &S::receiveTimeout, kXmlReadApart},
        {L"RestartTimeoutSeconds", &S::restartTimeout},
        {L"LengthPos", &S::lengthPos, kNotSavedToRegistry},
        {L"SizeOfLength", &S::sizeOfLength, kNotSavedToRegistry},
        {L"LengthCorrection", &S::lengthCorrection, kNotSavedToRegistry},
        {L"IdentifyByName", &S::identifyByName},
        {L"NameResolution", &S::nameResolution},
        {L"NetworkName", &S::networkName},
        {L"IP-AddressFrom", &S::scanFrom},
        {L"IP-AddressTo", &S::scanTo},
        {L"DefaultServicePort", &S::defaultPort},
    };
    return kFields;
}

// Reads into a copy: a number that does not parse throws before anything is
// committed. The three time-outs in seconds fall back to the one time-out in
// milliseconds of older elements.
CTCPIPConnection::Settings CTCPIPConnection::ReadSettings(const Xml::CXmlNode& element) const
{
    Settings s = CurrentSettings();
    ReadSettingsFields(Fields(), element, s);
    const std::uint16_t connect = XmlGetAttributeUShort(element, L"ConnectTimeoutSeconds", 0);
    const std::uint16_t send = XmlGetAttributeUShort(element, L"SendTimeoutSeconds", 0);
    const std::uint16_t receive = XmlGetAttributeUShort(element, L"ReceiveTimeoutSeconds", 0);
    const std::uint32_t timeout = XmlGetAttributeUInt32(element, L"timeout", 0);
    s.connectTimeout = TimeoutSeconds(connect, timeout, s.connectTimeout);
    s.sendTimeout = TimeoutSeconds(send, timeout, s.sendTimeout);
    s.receiveTimeout = TimeoutSeconds(receive, timeout, s.receiveTimeout);
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
    CSettingsElementWriter writer(kElement);
    WriteSettingsFields(Fields(), CurrentSettings(), writer);
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
    Settings s = CurrentSettings();
    LoadSettingsFields(Fields(), CSettingsRegistryKey(key, kElement), s);
    ApplySettings(s);
    return true;
}

// The fragment layout is fixed by the protocol, so it is not stored.
bool CTCPIPConnection::SaveSettingsRegistry(std::wstring key)
{
    return SaveSettingsFields(Fields(), CSettingsRegistryKey(key, kElement), CurrentSettings());
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
