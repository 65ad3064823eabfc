#include "Products/Corvane/Core/SettingsFileReader.h"

#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/FileSystemPath.h"

#include <cwctype>
#include <exception>
#include <fstream>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

namespace Corvane {

namespace {

std::vector<Xml::CXmlNode> ChildElements(const Xml::CXmlNode& node)
{
    std::vector<Xml::CXmlNode> elements;
    for (const Xml::CXmlNode& child : node.ChildNodes()) {
        if (child.Type() == Xml::NodeType::Element)
            elements.push_back(child);
    }
    return elements;
}

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

bool IsTrue(const Xml::CXmlNode& node)
{
    return Trimmed(node.Text()) == L"true";
}

// Hexadecimal after "0x" or "0X", decimal otherwise. A decimal number may
// carry a sign; a negative one (down to the smallest 64-bit one) becomes its
// two's complement, so cut to a field it is what that field holds for it
// ("-1" is 0xFFFF in a word). False for anything that is not a number or
// does not fit 64 bits.
bool ParseNumber(const std::wstring& text, std::uint64_t& value)
{
    std::size_t pos = 0;
    unsigned int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        pos = 2;
    } else if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
        negative = text[0] == L'-';
        pos = 1;
    }
    if (pos >= text.size())
        return false;
    value = 0;
    for (; pos < text.size(); ++pos) {
        const wchar_t c = text[pos];
        unsigned int digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned int>(c - L'0');
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = static_cast<unsigned int>(c - L'a' + 10);
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = static_cast<unsigned int>(c - L'A' + 10);
        else
            return false;
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / base)
            return false;
        value = value * base + digit;
    }
    constexpr std::uint64_t LargestNegative = std::uint64_t{1} << 63;
    if (negative && value > LargestNegative)
        return false;
    if (negative)
        value = 0 - value;
    return true;
}

struct CTextField {
    const wchar_t* name;
    CString CFBCData::*field;
};

constexpr CTextField kTextFields[] = {
    {L"ArticleNo", &CFBCData::ArticleNo},         {L"Description", &CFBCData::Description},
    {L"HWVersion", &CFBCData::HWVersion},         {L"SWVersion", &CFBCData::SWVersion},
    {L"FWLVersion", &CFBCData::FWLVersion},       {L"SerialNo", &CFBCData::SerialNo},
    {L"IMEI", &CFBCData::IMEI},
    {L"NetIDName", &CFBCData::NetIDName},         {L"NetworkID", &CFBCData::NetworkID},
    {L"IPAddrCurrent", &CFBCData::IPAddrCurrent}, {L"IPAddrEEPROM", &CFBCData::IPAddrEEPROM},
    {L"SubnetMask", &CFBCData::SubnetMask},       {L"GatewayAddr", &CFBCData::GatewayAddr},
};

struct CBoolField {
    const wchar_t* name;
    bool CFBCData::*field;
};

constexpr CBoolField kBoolFields[] = {
    {L"HasClock", &CFBCData::HasClock},
    {L"HasNetworkParams", &CFBCData::HasNetworkParams},
    {L"HasSDCardSlot", &CFBCData::HasSDCardSlot},
    {L"HasDIPSwitches", &CFBCData::HasDIPSwitches},
};

struct CPortField {
    const wchar_t* name;
    std::wstring CFBCData::tNetworkParams::*field;
};

constexpr CPortField kPortFields[] = {
    {L"IPAddress", &CFBCData::tNetworkParams::strIPAddress},
    {L"SubnetMask", &CFBCData::tNetworkParams::strSubnetMask},
    {L"GatewayAddress", &CFBCData::tNetworkParams::strGatewayAddress},
    {L"FirstDNSServer", &CFBCData::tNetworkParams::strPreferredDNSServer},
    {L"SecondDNSServer", &CFBCData::tNetworkParams::strAlternativeDNSServer},
    {L"SNTPServer", &CFBCData::tNetworkParams::strParameter6},
    {L"HostName", &CFBCData::tNetworkParams::strHostName},
    {L"DomainName", &CFBCData::tNetworkParams::strDomainName},
    {L"SwitchBaseAddr", &CFBCData::tNetworkParams::strParameter9},
    // Files of older versions carry neither of these two.
    {L"MACAddress", &CFBCData::tNetworkParams::strMACAddress},
    {L"SNTPServerName", &CFBCData::tNetworkParams::strSNTPHostName},
};

}

void CSettingsFileReader::ResetError()
{
    m_strError.Empty();
    m_eErrorKind = ENSettingsFileError::None;
    m_nErrorLine = 0;
    m_strErrorElement.Empty();
    m_strErrorValue.Empty();
}

bool CSettingsFileReader::FailKind(ENSettingsFileError kind, const std::wstring& text, std::size_t line)
{
    m_eErrorKind = kind;
    m_nErrorLine = line;
    m_strError = text.c_str();
    return false;
}

bool CSettingsFileReader::FailValue(const std::wstring& element, const std::wstring& value, const std::wstring& text)
{
    m_strErrorElement = element.c_str();
    m_strErrorValue = value.c_str();
    return FailKind(ENSettingsFileError::BadValue, text);
}

bool CSettingsFileReader::Load(const std::filesystem::path& path, CFBCData& data)
{
    ResetError();
    const std::wstring name = Text::WidePath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return FailKind(ENSettingsFileError::Missing, name + L": the file does not exist");
    if (!std::ifstream(path, std::ios::binary))
        return FailKind(ENSettingsFileError::Unreadable, name + L": the file cannot be read");
    // An empty file has no line at which it went wrong.
    if (std::filesystem::file_size(path, error) == 0 && !error)
        return FailKind(ENSettingsFileError::Damaged, name + L": the file is empty");
    Xml::CXmlDocument document;
    // Texts are read as written, blanks included.
    document.SetPreserveWhiteSpace(true);
    if (!document.Load(path)) {
        const Xml::CParseError& parse = document.ParseError();
        return FailKind(ENSettingsFileError::Damaged,
                        name + L": " + parse.reason + L" (line " + std::to_wstring(parse.line) + L", column " +
                            std::to_wstring(parse.column) + L")",
                        parse.line);
    }
    return ReadDocument(document, data);
}

bool CSettingsFileReader::ReadDocument(Xml::CXmlDocument& document, CFBCData& data)
{
    ResetError();
    CFBCData scratch = data;
    try {
        if (!ReadInto(document, scratch))
            return false;
    } catch (const std::exception& exception) {
        return FailKind(ENSettingsFileError::Damaged,
                        L"The settings file could not be read: " + Text::Utf8ToWide(exception.what()));
    }
    data = std::move(scratch);
    OutputDebugStringW(Summary(m_Header, data));
    return true;
}

bool CSettingsFileReader::ReadInto(Xml::CXmlDocument& document, CFBCData& data)
{
    document.SetProperty(L"SelectionLanguage", L"XPath");
    ReadHeader(document.SelectSingleNode(L"//application"));
    const Xml::CXmlNode device = document.SelectSingleNode(L"//application/device");
    if (!device)
        return FailKind(ENSettingsFileError::NotSettings,
                        L"The settings file holds no device element (application/device).");
    for (const Xml::CXmlNode& child : ChildElements(device)) {
        if (!ReadChild(child, data))
            return false;
    }
    return true;
}

void CSettingsFileReader::ReadHeader(const Xml::CXmlNode& application)
{
    const auto attribute = [&](const wchar_t* name) {
        return CString(application.GetAttribute(name).value_or(L"not found"));
    };
    m_Header.ApplicationName = attribute(L"application-name");
    m_Header.ApplicationVersion = attribute(L"application-ver");
    m_Header.ApplicationDate = attribute(L"application-date");
    m_Header.ApplicationLanguage = attribute(L"application-lang");
    m_Header.SavedOn.Empty();
}

bool CSettingsFileReader::ReadChild(const Xml::CXmlNode& child, CFBCData& data)
{
    const std::wstring name = child.Name();
    for (const CTextField& text : kTextFields) {
        if (name == text.name) {
            data.*text.field = child.Text().c_str();
            return true;
        }
    }
    for (const CBoolField& flag : kBoolFields) {
        if (name == flag.name) {
            data.*flag.field = IsTrue(child);
            return true;
        }
    }
    if (name == L"EthernetInterfaceMode") {
        if (!NumberInto(child, data.EthernetInterfaceMode))
            return false;
        data.InterfaceModeToWrite = data.EthernetInterfaceMode != 0xFFFF;
        return true;
    }
    if (name == L"DIPSwitchValue")
        return NumberInto(child, data.DIPSwitchValue);
    if (name == L"Status") {
        if (!ReadWords(child, data.StatusWords))
            return false;
        data.HasTerminalBusExtension = data.StatusWords.size() > 8;
        return true;
    }
    if (name == L"CommonTable")
        return ReadTable(child, data.CommonTable);
    if (name == L"SpecificTable")
        return ReadTable(child, data.SpecificTable);
    if (name == L"NetworkParams")
        return ReadNetworkParams(child, data);
    if (name == L"SDCardInformation")
        return !data.HasSDCardSlot || ReadSDCard(child, data.SDCardInfo);
    if (name == L"RuntimeSystems")
        return ReadRuntimeSystems(child, data);
    return true;
}

bool CSettingsFileReader::Number(const Xml::CXmlNode& node, std::uint64_t limit, std::uint64_t& value)
{
    const std::wstring text = Trimmed(node.Text());
    if (!ParseNumber(text, value))
        return FailValue(node.Name(), text, L"The value \"" + text + L"\" of " + node.Name() + L" is not a number.");
    if (value > limit)
        return FailValue(node.Name(), text, L"The value " + text + L" of " + node.Name() + L" is too large.");
    return true;
}

template<typename T>
bool CSettingsFileReader::NumberInto(const Xml::CXmlNode& node, T& field)
{
    std::uint64_t value = 0;
    if (!Number(node, std::numeric_limits<std::uint64_t>::max(), value))
        return false;
    // Cut to the field's width, as the program always read them.
    field = static_cast<T>(value);
    return true;
}

bool CSettingsFileReader::ReadWords(const Xml::CXmlNode& element, std::vector<WORD>& words)
{
    const std::vector<Xml::CXmlNode> children = ChildElements(element);
    if (children.size() > CRegisterTable::kMaxWords)
        return FailValue(element.Name(), std::to_wstring(children.size()), L"The " + element.Name() + L" element holds " + std::to_wstring(children.size()) +
                    L" words, more than the " + std::to_wstring(CRegisterTable::kMaxWords) + L" a device has.");
    std::vector<WORD> read;
    read.reserve(children.size());
    for (const Xml::CXmlNode& child : children) {
        WORD word = 0;
        if (!NumberInto(child, word))
            return false;
        read.push_back(word);
    }
    words = std::move(read);
    return true;
}

bool CSettingsFileReader::ReadTable(const Xml::CXmlNode& element, CRegisterTable& table)
{
    std::vector<WORD> words;
    if (!ReadWords(element, words))
        return false;
    return table.Assign(std::move(words)) ||
           FailValue(element.Name(), std::to_wstring(words.size()),
                     L"The " + element.Name() + L" element holds too many words.");
}

bool CSettingsFileReader::ReadNetworkParams(const Xml::CXmlNode& element, CFBCData& data)
{
    const auto countText = element.GetAttribute(L"EthernetPortCount");
    std::uint64_t count = 0;
    if (!countText || !ParseNumber(Trimmed(*countText), count))
        return FailValue(L"EthernetPortCount", countText.value_or(L""),
                         L"The NetworkParams element has no valid EthernetPortCount.");
    if (count > CFBCData::kMaxEthernetPortCount)
        return FailValue(L"EthernetPortCount", *countText, L"The NetworkParams element names " + Trimmed(*countText) + L" Ethernet ports; a device has at most " +
                    std::to_wstring(CFBCData::kMaxEthernetPortCount) + L".");
    if (count != data.GetEthernetPortCount())
        data.SetEthernetPortCount(static_cast<DWORD>(count));
    for (const Xml::CXmlNode& child : ChildElements(element)) {
        const std::wstring name = child.Name();
        if (name == L"ActualNetworkParams" && !ReadPort(child, L"Actual", data))
            return false;
        if (name == L"StaticNetworkParams" && !ReadPort(child, L"Static", data))
            return false;
    }
    data.NetworkParamsModified = true;
    return true;
}

bool CSettingsFileReader::ReadPort(const Xml::CXmlNode& element, const std::wstring& kind, CFBCData& data)
{
    const auto portText = element.GetAttribute(L"Port");
    std::uint64_t port = 0;
    if (!portText || !ParseNumber(Trimmed(*portText), port) || port >= data.GetEthernetPortCount())
        return FailValue(element.Name(), portText.value_or(L""),
                         L"The " + element.Name() + L" element names port \"" + portText.value_or(L"") +
                    L"\", which is not one of the " + std::to_wstring(data.GetEthernetPortCount()) + L" ports.");
    CFBCData::tNetworkParams& params = kind == L"Actual" ? *data.GetActualNetworkParams(static_cast<DWORD>(port))
                                                          : *data.GetStaticNetworkParams(static_cast<DWORD>(port));
    for (const Xml::CXmlNode& child : ChildElements(element)) {
        const std::wstring name = child.Name();
        if (name.compare(0, kind.size(), kind) != 0)
            continue;
        const std::wstring field = name.substr(kind.size());
        if (field == L"IPAddressSource") {
            if (!NumberInto(child, params.wIPAddressSource))
                return false;
            continue;
        }
        for (const CPortField& text : kPortFields) {
            if (field == text.name)
                params.*text.field = child.Text();
        }
    }
    return true;
}

bool CSettingsFileReader::ReadSDCard(const Xml::CXmlNode& element, CFBCData::tSDCardInfo& card)
{
    for (const Xml::CXmlNode& child : ChildElements(element)) {
        const std::wstring name = child.Name();
        bool ok = true;
        if (name == L"SDCardInserted")
            card.bInserted = IsTrue(child);
        else if (name == L"SDCardWriteProtected")
            card.bWriteProtected = IsTrue(child);
        else if (name == L"SDCardType")
            ok = NumberInto(child, card.wCardType);
        else if (name == L"SDCardCapacity")
            ok = NumberInto(child, card.wCapacity);
        else if (name == L"SDCardFreeMemory")
            ok = NumberInto(child, card.wFreeMemory);
        else if (name == L"SDCardSerialNumber")
            ok = NumberInto(child, card.dwSerialNumber);
        else if (name == L"PLCRootLocation")
            ok = NumberInto(child, card.wRootLocation);
        if (!ok)
            return false;
    }
    return true;
}

bool CSettingsFileReader::ReadRuntimeSystems(const Xml::CXmlNode& element, CFBCData& data)
{
    const auto active = element.GetAttribute(L"ActiveSystem");
    if (active) {
        std::uint64_t value = 0;
        if (!ParseNumber(Trimmed(*active), value))
            return FailValue(L"ActiveSystem", *active, L"The ActiveSystem value \"" + *active + L"\" is not a number.");
        data.ActiveRuntimeSystem = static_cast<WORD>(value);
        data.ActiveRuntimeSystemToWrite = data.ActiveRuntimeSystem != 0xFFFF;
    }
    return ReadWords(element, data.RuntimeSystems);
}

CString CSettingsFileReader::Summary(const CSettingsFileHeader& header, const CFBCData& data)
{
    std::wstring text = L"Settings file loaded\n";
    text += L"  Application: " + header.ApplicationName.str() + L" " + header.ApplicationVersion.str() + L" (" +
            header.ApplicationDate.str() + L", " + header.ApplicationLanguage.str() + L")\n";
    text += L"  Device: " + data.ArticleNo.str() + L" " + data.Description.str() + L", firmware " +
            data.SWVersion.str() + L", serial " + data.SerialNo.str() + L"\n";
    text += L"  Status words: " + std::to_wstring(data.StatusWords.size()) + L", common table: " +
            std::to_wstring(data.CommonTable.GetCount()) + L" words, specific table: " +
            std::to_wstring(data.SpecificTable.GetCount()) + L" words\n";
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        text += L"  Port " + std::to_wstring(port) + L": actual " + data.GetActualNetworkParams(port)->strIPAddress +
                L", static " + data.GetStaticNetworkParams(port)->strIPAddress + L"\n";
    }
    if (data.HasSDCardSlot)
        text += L"  Memory card: " + std::wstring(data.SDCardInfo.bInserted ? L"inserted" : L"not inserted") + L"\n";
    text += L"  Runtime systems: " + std::to_wstring(data.RuntimeSystems.size()) + L", active " +
            std::to_wstring(data.ActiveRuntimeSystem) + L"\n";
    return CString(text);
}

}  // namespace Corvane
