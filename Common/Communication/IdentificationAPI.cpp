#include "Common/Communication/IdentificationAPI.h"

#include "Common/Communication/IdentificationException.h"
#include "Common/Communication/ProtocolBase.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Format.h"

#include <cstring>
#include <memory>

namespace ZELL {

namespace {

constexpr USHORT kIdentificationCommand = 1;

USHORT Get16(const std::vector<BYTE>& reply, std::size_t offset)
{
    return static_cast<USHORT>(reply[offset] | (reply[offset + 1] << 8));
}

ULONG Get32(const std::vector<BYTE>& reply, std::size_t offset)
{
    return Get16(reply, offset) | (static_cast<ULONG>(Get16(reply, offset + 2)) << 16);
}

void Put16(std::vector<BYTE>& bytes, USHORT value)
{
    bytes.push_back(static_cast<BYTE>(value & 0xFF));
    bytes.push_back(static_cast<BYTE>(value >> 8));
}

std::wstring Qualified(const wchar_t* name)
{
    return std::wstring(L"ZELL::CIdentificationAPI::") + name;
}

std::wstring LanguageText(const std::wstring& key)
{
    return GetLanguageSupport().GetText(_bstr_t(key.c_str())).wstr();
}

// The message of the exception being handled; one of unknown type gets the
// language text, traced under the operation's name.
std::wstring HandledFailureText(const std::wstring& operation)
{
    try {
        throw;
    } catch (CIdentificationException& error) {
        return error.GetText();
    } catch (CZellException& error) {
        const std::wstring text = error.GetText();
        return text.empty() ? std::wstring(error.m_szMessage) : text;
    } catch (...) {
        const std::wstring text = LanguageText(L"IDENT_UNKNOWN_EXCEPTION");
        DebugTrace(L"%s: %s\n", operation.c_str(), text.c_str());
        return text;
    }
}

}

CIdentificationAPI::CIdentificationAPI(IProtocol* protocol_) : m_protocol(protocol_) {}

void CIdentificationAPI::SetProtocol(IProtocol* protocol_)
{
    m_protocol = protocol_;
}

IProtocol* CIdentificationAPI::GetProtocol() const
{
    return m_protocol;
}

bool CIdentificationAPI::IsConnected() const
{
    return m_protocol && m_protocol->GetConnection() && m_protocol->GetConnection()->IsOpen();
}

bool CIdentificationAPI::Connect()
{
    try {
        if (IsConnected())
            throw CIdentificationException((Qualified(L"Connect") + L" failed!").c_str(), 1, 0, 0, 0);
        if (!m_protocol || !m_protocol->GetConnection())
            return false;
        m_protocol->GetConnection()->Open();
        return true;
    } catch (...) {
        m_lastErrorMessage = HandledFailureText(Qualified(L"Connect"));
    }
    m_lastError = 1;
    return false;
}

bool CIdentificationAPI::Disconnect()
{
    try {
        if (!m_protocol || !m_protocol->GetConnection())
            return false;
        m_protocol->GetConnection()->Close();
        return true;
    } catch (...) {
        m_lastError = 2;
        m_lastErrorMessage = LanguageText(L"PARAM_HANDLING_2");
        return false;
    }
}

bool CIdentificationAPI::Run(const wchar_t* name, USHORT number, USHORT service, const std::vector<BYTE>& arguments,
                             Shape shape, unsigned int length, const std::function<bool(const Reply&)>& handler,
                             bool statusAfterHandler)
{
    const std::wstring op = Qualified(name);
    const std::wstring message = op + L" failed!";
    unsigned char* raw = nullptr;
    try {
        auto fail = [&](USHORT group, LONG actual, ULONG expected = 0) {
            throw CIdentificationException(message.c_str(), number, group, actual, expected);
        };
        if (!IsConnected())
            fail(CIdentificationException::GroupConnectionNotOpen, 0);
        std::vector<BYTE> request;
        Put16(request, service);
        request.insert(request.end(), arguments.begin(), arguments.end());
        unsigned int rawLength = 0;
        if (!m_protocol->Request(kIdentificationCommand, request.data(), static_cast<unsigned int>(request.size()),
                               &raw, rawLength, nullptr, nullptr)) {
            delete[] raw;
            m_lastError = number;
            m_lastErrorMessage = m_protocol->GetLastErrorMessage();
            return false;
        }
        const Reply reply(raw, raw ? raw + rawLength : raw);
        delete[] raw;
        raw = nullptr;
        const auto size = static_cast<LONG>(reply.size());
        if (shape == Shape::Text) {
            if (reply.size() < length)
                fail(CIdentificationException::GroupDataSizeLess, size);
            if (Get16(reply, 0) != service)
                fail(CIdentificationException::GroupCommandError, Get16(reply, 0));
            if (Get16(reply, 2) != 0)
                fail(CIdentificationException::GroupErrorResponse, Get16(reply, 2));
            const unsigned int n = reply[4];
            if (reply.size() != 5u + n)
                fail(CIdentificationException::GroupWrongNumberOfDataBytes, size - 5, n);
        } else if (shape == Shape::Revision) {
            if (reply.size() < length)
                fail(CIdentificationException::GroupDataSizeLess, size);
            if (reply.size() > length)
                fail(CIdentificationException::GroupDataSizeMore, size);
            if (Get16(reply, 0) != service)
                fail(CIdentificationException::GroupCommandError, Get16(reply, 0));
            if (Get16(reply, 2) != 0)
                fail(CIdentificationException::GroupErrorResponse, Get16(reply, 2));
        } else {
            if (reply.size() < length)
                fail(CIdentificationException::GroupDataSizeLess, size);
            if (Get16(reply, 0) != service)
                fail(CIdentificationException::GroupCommandError, Get16(reply, 0));
            if (reply.size() > length)
                fail(CIdentificationException::GroupDataSizeMore, size);
            // The exclusive-mode answers are handed out even when the device
            // refuses, so the caller sees who holds the mode.
            if (Get16(reply, 2) != 0 && !statusAfterHandler)
                fail(CIdentificationException::GroupErrorResponse, Get16(reply, 2));
        }
        if (statusAfterHandler && Get16(reply, 2) != 0) {
            handler(reply);
            fail(CIdentificationException::GroupErrorResponse, Get16(reply, 2));
        }
        return handler(reply);
    } catch (...) {
        m_lastErrorMessage = HandledFailureText(op);
    }
    delete[] raw;
    m_lastError = number;
    return false;
}

bool CIdentificationAPI::Text(const wchar_t* name, USHORT number, USHORT service, unsigned int least, char** text)
{
    return Run(name, number, service, {}, Shape::Text, least, [text](const Reply& reply) {
        if (text) {
            const unsigned int n = reply[4];
            auto copy = std::make_unique<char[]>(n + 1);
            std::memcpy(copy.get(), reply.data() + 5, n);
            delete[] *text;
            *text = copy.release();
        }
        return true;
    });
}

bool CIdentificationAPI::StoreSettings(const std::wstring& attribute, ULONG value)
{
    auto* settings = dynamic_cast<CProtocolBase*>(m_protocol);
    if (!settings)
        return false;
    return settings->SetSettingsXML(FormatW(L"<?xml version='1.0'?><ServiceProtocol %s='%u' />", attribute.c_str(),
                                            static_cast<unsigned int>(value)));
}

bool CIdentificationAPI::Word(const wchar_t* name, USHORT number, USHORT service, const std::vector<BYTE>& arguments,
                              USHORT* value, const wchar_t* settingsAttribute)
{
    return Run(name, number, service, arguments, Shape::Exact, 6, [&](const Reply& reply) {
        const USHORT word = Get16(reply, 4);
        if (value)
            *value = word;
        return settingsAttribute ? StoreSettings(settingsAttribute, word) : true;
    });
}

bool CIdentificationAPI::GetOrderNumber(char** text)
{
    return Text(L"GetOrderNumber", 4, 1, 5, text);
}

bool CIdentificationAPI::GetUserDescription(char** text)
{
    return Text(L"GetUserDescription", 5, 2, 5, text);
}

bool CIdentificationAPI::GetMediaAddress(char** text)
{
    return Text(L"GetMediaAddress", 6, 3, 5, text);
}

bool CIdentificationAPI::GetSerialNumber(char** text)
{
    return Text(L"GetSerialNumber", 7, 4, 5, text);
}

bool CIdentificationAPI::GetVendorID(USHORT* value)
{
    return Word(L"GetVendorID", 8, 5, {}, value);
}

bool CIdentificationAPI::GetDeviceState(USHORT* value)
{
    return Word(L"GetDeviceState", 9, 6, {}, value);
}

bool CIdentificationAPI::GetConnectionType(char** text)
{
    return Text(L"GetConnectionType", 10, 7, 6, text);
}

bool CIdentificationAPI::GetSupportedProtocols(char** text)
{
    return Text(L"GetSupportedProtocols", 11, 8, 5, text);
}

bool CIdentificationAPI::GetExclusiveModeState(ULONG* ident, BYTE* state, BYTE* permanentMode, BYTE* exclusiveMode)
{
    return Run(L"GetExclusiveModeState", 12, 9, {}, Shape::Exact, 11, [&](const Reply& reply) {
        if (ident)
            *ident = Get32(reply, 4);
        if (state)
            *state = reply[8];
        if (permanentMode)
            *permanentMode = reply[9];
        if (exclusiveMode)
            *exclusiveMode = reply[10];
        DebugTrace(L"%s: ulExclusiveIdent = 0x%08x, state = %u, permanent mode = %u, exclusive mode = %u, "
                   L"bSuccess = true\n",
                   Qualified(L"GetExclusiveModeState").c_str(), static_cast<unsigned int>(Get32(reply, 4)),
                   static_cast<unsigned int>(reply[8]), static_cast<unsigned int>(reply[9]),
                   static_cast<unsigned int>(reply[10]));
        return true;
    });
}

bool CIdentificationAPI::SetExclusiveMode(BYTE first, BYTE second, ULONG* ident, BYTE* state, BYTE* permanentMode,
                                          BYTE* exclusiveMode)
{
    return Run(
        L"SetExclusiveMode", 13, 10, {first, second}, Shape::Exact, 11,
        [&](const Reply& reply) {
            if (ident)
                *ident = Get32(reply, 4);
            if (state)
                *state = reply[8];
            if (permanentMode)
                *permanentMode = reply[9];
            if (exclusiveMode)
                *exclusiveMode = reply[10];
            const bool success = Get16(reply, 2) == 0 && StoreSettings(L"Exclusive-ID", Get32(reply, 4));
            DebugTrace(L"%s: ulExclusiveIdent = 0x%08x, state = %u, permanent mode = %u, exclusive mode = %u, "
                       L"bSuccess = %s\n",
                       Qualified(L"SetExclusiveMode").c_str(), static_cast<unsigned int>(Get32(reply, 4)),
                       static_cast<unsigned int>(reply[8]), static_cast<unsigned int>(reply[9]),
                       static_cast<unsigned int>(reply[10]), success ? L"true" : L"false");
            return success;
        },
        true);
}

bool CIdentificationAPI::CloseExclusiveMode(ULONG exclusiveIdent, ULONG* ident, BYTE* state)
{
    std::vector<BYTE> arguments;
    Put16(arguments, static_cast<USHORT>(exclusiveIdent & 0xFFFF));
    Put16(arguments, static_cast<USHORT>(exclusiveIdent >> 16));
    return Run(
        L"CloseExclusiveMode", 14, 11, arguments, Shape::Exact, 9,
        [&](const Reply& reply) {
            if (ident)
                *ident = Get32(reply, 4);
            if (state)
                *state = reply[8];
            const bool success = Get16(reply, 2) == 0 && StoreSettings(L"Exclusive-ID", Get32(reply, 4));
            DebugTrace(L"%s: ulExclusiveIdent = 0x%08x, state = %u, bSuccess = %s\n",
                       Qualified(L"CloseExclusiveMode").c_str(), static_cast<unsigned int>(Get32(reply, 4)),
                       static_cast<unsigned int>(reply[8]), success ? L"true" : L"false");
            return success;
        },
        true);
}

bool CIdentificationAPI::GetIdentCollection(char** text)
{
    return Text(L"GetIdentCollection", 15, 12, 5, text);
}

bool CIdentificationAPI::GetProtocolBufferSize(USHORT* size)
{
    return Word(L"GetProtocolBufferSize", 16, 13, {}, size, L"MaxFragmentDataSize");
}

bool CIdentificationAPI::SetProtocolBufferSize(USHORT size, USHORT* result)
{
    std::vector<BYTE> arguments;
    Put16(arguments, size);
    return Word(L"SetProtocolBufferSize", 17, 14, arguments, result, L"MaxFragmentDataSize");
}

bool CIdentificationAPI::GetServerTimeout(USHORT* value)
{
    return Word(L"GetServerTimeout", 18, 15, {}, value);
}

bool CIdentificationAPI::SetServerTimeout(USHORT timeout, USHORT* result)
{
    std::vector<BYTE> arguments;
    Put16(arguments, timeout);
    return Word(L"SetServerTimeout", 19, 16, arguments, result);
}

bool CIdentificationAPI::GetVersion(USHORT* value)
{
    return Word(L"GetVersion", 20, 17, {}, value);
}

bool CIdentificationAPI::GetActiveConnections(char** text)
{
    return Text(L"GetActiveConnections", 21, 18, 5, text);
}

bool CIdentificationAPI::GetRevisionAndVersion(wchar_t** first, wchar_t** second, wchar_t** third)
{
    return Run(L"GetRevisionAndVersion", 22, 19, {}, Shape::Revision, 13, [&](const Reply& reply) {
        wchar_t** targets[] = {first, second, third};
        for (std::size_t group = 0; group < 3; ++group) {
            if (!targets[group])
                continue;
            const std::size_t at = 4 + 3 * group;
            const std::wstring text = FormatW(L"%02u.%02u.%02u", static_cast<unsigned int>(reply[at]),
                                              static_cast<unsigned int>(reply[at + 1]),
                                              static_cast<unsigned int>(reply[at + 2]));
            auto copy = std::make_unique<wchar_t[]>(text.size() + 1);
            std::wmemcpy(copy.get(), text.c_str(), text.size());
            delete[] *targets[group];
            *targets[group] = copy.release();
        }
        return true;
    });
}

bool CIdentificationAPI::SetConnectionInformation(USHORT a, USHORT b, USHORT c, USHORT d)
{
    std::vector<BYTE> arguments;
    for (USHORT value : {a, b, c, d})
        Put16(arguments, value);
    return Run(L"SetConnectionInformation", 65535, 0xFFFF, arguments, Shape::Exact, 4,
               [](const Reply&) { return true; });
}

}
