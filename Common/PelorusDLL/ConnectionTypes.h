#pragma once
// The connection types the library offers, one row each: the word that names
// the type (its connection's GetType and settings element, the profile's
// last connection, the command line's connection type) and what makes its
// connection and its service. Callers ask this table, or the connection's
// own capabilities (ZELL::CConnectionBase), instead of naming a connection
// class; the connection-settings dialog adds each type's form
// (Dialogs/ConnectionTypeForms.h).

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/ServiceBase.h"

#include <memory>
#include <span>
#include <string>

namespace ZELL {

struct tConnectionType {
    const wchar_t* word;
    // Offered to the user, in the settings dialog's choice and on the command
    // line. A type that is not offered has no settings of its own: another
    // type's connection stands in for it.
    bool offered;
    std::unique_ptr<CConnectionBase> (*makeConnection)();
    std::unique_ptr<CServiceBase> (*makeService)(IConnection* connection);
    // The debug-output line when the program makes the service.
    const wchar_t* serviceTrace;
    // How the command line's device text becomes the connection's address; null: as it is.
    std::wstring (*commandLineAddress)(const std::wstring& text);
};

class CConnectionTypes {
public:
    // Every row; a row's index is the type's number in the settings dialog,
    // and the first row (the serial line) is the type of an unknown word.
    static std::span<const tConnectionType> All();
    // Without regard to case; null for an unknown word.
    static const tConnectionType* Find(const std::wstring& word);
    static const tConnectionType& OfWord(const std::wstring& word);
    // The row of the connection's own type.
    static const tConnectionType& Of(const CConnectionBase& connection);
    static std::size_t IndexOf(const tConnectionType& type);

    static std::unique_ptr<CConnectionBase> MakeConnection(const std::wstring& word);
    static std::unique_ptr<CServiceBase> MakeService(CConnectionBase& connection);
    // Whether the type's connection goes over the network (and needs sockets).
    static bool IsNetworkType(const tConnectionType& type);
    // The offered words joined by `separator`: "RS232 or TCPIP".
    static std::wstring OfferedWords(const wchar_t* separator);
};

}
