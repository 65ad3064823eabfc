#include "Common/PelorusDLL/ConnectionTypes.h"

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/SIOService.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Values/StringUtils.h"

namespace ZELL {

namespace {

template <typename Connection>
std::unique_ptr<CConnectionBase> Make()
{
    return std::make_unique<Connection>();
}

template <typename Service>
std::unique_ptr<CServiceBase> MakeOn(IConnection* connection)
{
    return std::make_unique<Service>(connection);
}

// Some callers write the port "COM_3".
std::wstring SerialPortName(const std::wstring& text) { return ReplaceAll(text, L"COM_", L"COM"); }

const tConnectionType kTypes[] = {
    {L"RS232", true, &Make<CRS232Connection>, &MakeOn<CSIOService>,
     L"--> Communication with standard RS232 protocol", &SerialPortName},
    {L"TCPIP", true, &Make<CTCPIPConnection>, &MakeOn<CTCPIPService>, L"--> Communication with TCP/IP protocol",
     nullptr},
    // A gateway reached over the serial line, never offered.
    {L"TRAMQ", false, &Make<CRS232Connection>, &MakeOn<CSIOService>,
     L"--> Communication with standard RS232 protocol", nullptr},
};

}

std::span<const tConnectionType> CConnectionTypes::All() { return kTypes; }

const tConnectionType* CConnectionTypes::Find(const std::wstring& word)
{
    for (const tConnectionType& type : kTypes) {
        if (CompareNoCase(word, type.word) == 0)
            return &type;
    }
    return nullptr;
}

const tConnectionType& CConnectionTypes::OfWord(const std::wstring& word)
{
    const tConnectionType* type = Find(word);
    return type != nullptr ? *type : kTypes[0];
}

const tConnectionType& CConnectionTypes::Of(const CConnectionBase& connection) { return OfWord(connection.GetType()); }

std::size_t CConnectionTypes::IndexOf(const tConnectionType& type)
{
    return static_cast<std::size_t>(&type - kTypes);
}

std::unique_ptr<CConnectionBase> CConnectionTypes::MakeConnection(const std::wstring& word)
{
    return OfWord(word).makeConnection();
}

std::unique_ptr<CServiceBase> CConnectionTypes::MakeService(CConnectionBase& connection)
{
    return Of(connection).makeService(&connection);
}

bool CConnectionTypes::IsNetworkType(const tConnectionType& type) { return type.makeConnection()->IsNetworkConnection(); }

std::wstring CConnectionTypes::OfferedWords(const wchar_t* separator)
{
    std::wstring words;
    for (const tConnectionType& type : kTypes) {
        if (!type.offered)
            continue;
        if (!words.empty())
            words += separator;
        words += type.word;
    }
    return words;
}

}
