#include "Products/Corvane/Core/SettingsFileWriter.h"

#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/FileSystemPath.h"

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace Corvane {

namespace {

const std::wstring kAsteriskLine = L"<!-- " + std::wstring(80, L'*') + L" -->";

std::wstring Indent(int blanks)
{
    return std::wstring(static_cast<std::size_t>(blanks), L' ');
}

std::wstring Hex(unsigned int value)
{
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"0x%04X", value);
    return text;
}

std::wstring Numbered(const wchar_t* format, std::size_t index)
{
    wchar_t text[64] = {};
    std::swprintf(text, 64, format, static_cast<unsigned int>(index));
    return text;
}

std::wstring Bool(bool value)
{
    return value ? L"true" : L"false";
}

// A comment must not hold "--"; a name with one is still recognisable.
std::wstring CommentText(std::wstring text)
{
    for (std::size_t pos = text.find(L"--"); pos != std::wstring::npos; pos = text.find(L"--", pos))
        text.replace(pos, 2, L"- -");
    return text;
}

class CTextBuilder {
public:
    void Line(int indent, const std::wstring& text) { m_strText += Indent(indent) + text + L"\n"; }
    void Element(int indent, const std::wstring& name, const std::wstring& value)
    {
        Line(indent, L"<" + name + L">" + value + L"</" + name + L">");
    }
    void Text(int indent, const std::wstring& name, const CString& value)
    {
        Element(indent, name, CSettingsFileWriter::Escape(value.str()));
    }
    void Text(int indent, const std::wstring& name, const std::wstring& value)
    {
        Element(indent, name, CSettingsFileWriter::Escape(value));
    }
    void OptionalText(int indent, const std::wstring& name, const std::wstring& value)
    {
        if (!value.empty())
            Text(indent, name, value);
    }
    void Words(int indent, const std::wstring& name, const wchar_t* childFormat, const std::vector<WORD>& words)
    {
        Line(indent, L"<" + name + L">");
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::wstring child = Numbered(childFormat, i);
            Element(indent + 4, child, Hex(words[i]));
        }
        Line(indent, L"</" + name + L">");
    }
    std::wstring& Result() { return m_strText; }

private:
    std::wstring m_strText;
};

void WriteHeader(CTextBuilder& out, const CSettingsFileHeader& header)
{
    out.Line(0, L"<?xml version='1.0' encoding='ISO-8859-1'?>");
    out.Line(0, kAsteriskLine);
    out.Line(0, L"<!-- Created by " + CommentText(header.ApplicationName.str()) + L" Version " +
                    CommentText(header.ApplicationVersion.str()) + L" -->");
    out.Line(0, L"<!-- Saved on " + CommentText(header.SavedOn.str()) + L" -->");
    out.Line(0, kAsteriskLine);
    std::wstring warning = L"WARNING: Manual changes to this file may cause damage to your devices!";
    warning.resize(80, L' ');
    out.Line(0, L"<!-- " + warning + L" -->");
    out.Line(0, kAsteriskLine);
    std::wstring application = L"<application";
    const std::pair<const wchar_t*, const CString*> attributes[] = {
        {L"application-name", &header.ApplicationName},
        {L"application-ver", &header.ApplicationVersion},
        {L"application-date", &header.ApplicationDate},
        {L"application-lang", &header.ApplicationLanguage},
    };
    for (const auto& [name, value] : attributes)
        application += L" " + std::wstring(name) + L"=\"" + CSettingsFileWriter::Escape(value->str()) + L"\"";
    out.Line(0, application + L" >");
}

void WritePort(CTextBuilder& out, const std::wstring& kind, DWORD port, const CFBCData::tNetworkParams& params)
{
    const std::wstring element = kind + L"NetworkParams";
    out.Line(12, L"<" + element + L" Port=\"" + std::to_wstring(port) + L"\">");
    out.Element(16, kind + L"IPAddressSource", std::to_wstring(params.wIPAddressSource));
    out.Text(16, kind + L"IPAddress", params.strIPAddress);
    out.Text(16, kind + L"SubnetMask", params.strSubnetMask);
    out.Text(16, kind + L"GatewayAddress", params.strGatewayAddress);
    out.Text(16, kind + L"FirstDNSServer", params.strPreferredDNSServer);
    out.Text(16, kind + L"SecondDNSServer", params.strAlternativeDNSServer);
    out.Text(16, kind + L"SNTPServer", params.strParameter6);
    out.Text(16, kind + L"HostName", params.strHostName);
    out.Text(16, kind + L"DomainName", params.strDomainName);
    out.Text(16, kind + L"SwitchBaseAddr", params.strParameter9);
    // Written only where known, so that a file of an older version is
    // written back as it was; older versions skip both.
    out.OptionalText(16, kind + L"MACAddress", params.strMACAddress);
    out.OptionalText(16, kind + L"SNTPServerName", params.strSNTPHostName);
    out.Line(12, L"</" + element + L">");
}

void WriteNetworkParams(CTextBuilder& out, const CFBCData& data)
{
    const DWORD count = data.GetEthernetPortCount();
    out.Line(8, L"<NetworkParams EthernetPortCount=\"" + std::to_wstring(count) + L"\">");
    for (DWORD port = 0; port < count; ++port) {
        WritePort(out, L"Actual", port, *data.GetActualNetworkParams(port));
        WritePort(out, L"Static", port, *data.GetStaticNetworkParams(port));
    }
    out.Line(8, L"</NetworkParams>");
}

void WriteSDCard(CTextBuilder& out, const CFBCData::tSDCardInfo& card)
{
    out.Line(8, L"<SDCardInformation>");
    out.Element(12, L"SDCardInserted", Bool(card.bInserted));
    out.Element(12, L"SDCardWriteProtected", Bool(card.bWriteProtected));
    out.Element(12, L"SDCardType", std::to_wstring(card.wCardType));
    out.Element(12, L"SDCardCapacity", std::to_wstring(card.wCapacity));
    out.Element(12, L"SDCardFreeMemory", std::to_wstring(card.wFreeMemory));
    out.Element(12, L"SDCardSerialNumber", std::to_wstring(card.dwSerialNumber));
    out.Element(12, L"PLCRootLocation", std::to_wstring(card.wRootLocation));
    out.Line(8, L"</SDCardInformation>");
}

void WriteIdentification(CTextBuilder& out, const CFBCData& data, const CString* currentIPAddress)
{
    out.Text(8, L"ArticleNo", data.ArticleNo);
    out.Text(8, L"Description", data.Description);
    out.Text(8, L"HWVersion", data.HWVersion);
    out.Text(8, L"SWVersion", data.SWVersion);
    out.Text(8, L"FWLVersion", data.FWLVersion);
    out.Text(8, L"SerialNo", data.SerialNo);
    // Only a modem's number: "--" says the device has none.
    if (data.IMEI != CFBCData::kNoIMEI)
        out.OptionalText(8, L"IMEI", data.IMEI.str());
    out.Text(8, L"NetIDName", data.NetIDName);
    out.Text(8, L"NetworkID", data.NetworkID);
    if (!data.HasNetworkParams) {
        out.Text(8, L"IPAddrCurrent", data.IPAddrCurrent);
        out.Text(8, L"IPAddrEEPROM", data.IPAddrEEPROM);
        out.Text(8, L"SubnetMask", data.SubnetMask);
        out.Text(8, L"GatewayAddr", data.GatewayAddr);
    }
    out.Element(8, L"HasClock", Bool(data.HasClock));
    out.Element(8, L"HasDIPSwitches", Bool(data.HasDIPSwitches));
    if (data.HasDIPSwitches)
        out.Element(8, L"DIPSwitchValue", Hex(data.DIPSwitchValue));
    if (currentIPAddress)
        out.Text(8, L"CurrentIPAddress", *currentIPAddress);
}

void WriteDevice(CTextBuilder& out, const CFBCData& data, const CString* currentIPAddress)
{
    out.Line(4, L"<device>");
    WriteIdentification(out, data, currentIPAddress);
    out.Words(8, L"Status", L"Status%02u", data.StatusWords);
    out.Words(8, L"CommonTable", L"CommonReg%03u", data.CommonTable.Words());
    out.Words(8, L"SpecificTable", L"SpecificReg%03u", data.SpecificTable.Words());
    out.Element(8, L"EthernetInterfaceMode", Hex(data.EthernetInterfaceMode));
    out.Element(8, L"HasNetworkParams", Bool(data.HasNetworkParams));
    if (data.HasNetworkParams)
        WriteNetworkParams(out, data);
    out.Element(8, L"HasSDCardSlot", Bool(data.HasSDCardSlot));
    if (data.HasSDCardSlot)
        WriteSDCard(out, data.SDCardInfo);
    out.Line(8, L"<RuntimeSystems ActiveSystem=\"" + Hex(data.ActiveRuntimeSystem) + L"\">");
    for (std::size_t i = 0; i < data.RuntimeSystems.size(); ++i) {
        const std::wstring child = Numbered(L"System%02u", i);
        out.Element(12, child, Hex(data.RuntimeSystems[i]));
    }
    out.Line(8, L"</RuntimeSystems>");
    out.Line(4, L"</device>");
}

}

std::wstring CSettingsFileWriter::Escape(const std::wstring& text)
{
    const std::wstring escaped = XmlEscape(text);
    std::wstring out;
    out.reserve(escaped.size());
    for (const wchar_t c : escaped) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code == L'\r') {
            // A raw CR would merge into the line end on loading.
            out += L"&#13;";
        } else if (code < 0x20 && code != L'\t' && code != L'\n') {
            out += L'?'; // XML 1.0 cannot carry these at all
        } else if (code <= 0xFF) {
            out += c;
        } else if (code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
            out += L"&#" + std::to_wstring(code) + L";";
        } else {
            out += L'?';
        }
    }
    return out;
}

std::wstring CSettingsFileWriter::BuildText(const CFBCData& data, const CSettingsFileHeader& header,
                                            const CString* currentIPAddress)
{
    CTextBuilder out;
    WriteHeader(out, header);
    WriteDevice(out, data, currentIPAddress);
    out.Line(0, L"</application>");
    return std::move(out.Result());
}

std::string CSettingsFileWriter::Encode(const std::wstring& text)
{
    std::wstring crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const wchar_t c : text) {
        if (c == L'\n')
            crlf += L'\r';
        crlf += c;
    }
    return Text::WideToLatin1(crlf);
}

bool CSettingsFileWriter::Save(const std::filesystem::path& path, const CFBCData& data,
                               const CSettingsFileHeader& header, const CString* currentIPAddress)
{
    m_strError.Empty();
    const std::string bytes = Encode(BuildText(data, header, currentIPAddress));
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out || !out.flush()) {
            const int error = errno;
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            m_strError = (Text::WidePath(path) + L": " + Text::Utf8ToWide(std::strerror(error ? error : EIO))).c_str();
            return false;
        }
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        m_strError = (Text::WidePath(path) + L": " + Text::Utf8ToWide(renameError.message())).c_str();
        return false;
    }
    return true;
}

}  // namespace Corvane
