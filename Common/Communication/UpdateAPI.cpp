#include "Common/Communication/UpdateAPI.h"

#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

namespace ZELL {

namespace {

constexpr WORD kUpload = 5;
constexpr WORD kCommandState = 0x666;

WORD Get16(const std::vector<BYTE>& reply, std::size_t offset)
{
    return static_cast<WORD>(reply[offset] | (reply[offset + 1] << 8));
}

void Put16(std::vector<BYTE>& bytes, WORD value)
{
    bytes.push_back(static_cast<BYTE>(value & 0xFF));
    bytes.push_back(static_cast<BYTE>(value >> 8));
}

// The command word followed by the raw data; nullopt for a negative length
// or missing data, checked before anything is allocated for it.
std::optional<std::vector<BYTE>> CommandRequest(WORD command, const BYTE* data, LONG length)
{
    if (length < 0 || (length > 0 && !data))
        return std::nullopt;
    std::vector<BYTE> request;
    request.reserve(static_cast<std::size_t>(length) + 2);
    Put16(request, command);
    if (length > 0)
        request.insert(request.end(), data, data + length);
    return request;
}

}

CUpdateAPI::CUpdateAPI(IProtocol* protocol_) : CDeviceAPIBase(protocol_) {}

bool CUpdateAPI::Connect()
{
    try {
        IConnection* connection = m_protocol ? m_protocol->GetConnection() : nullptr;
        if (!connection)
            throw std::runtime_error("no connection");
        if (!connection->IsOpen())
            connection->Open();
        return true;
    } catch (...) {
        m_lastCommandError = 1;
        return false;
    }
}

bool CUpdateAPI::Disconnect()
{
    try {
        IConnection* connection = m_protocol ? m_protocol->GetConnection() : nullptr;
        if (!connection)
            throw std::runtime_error("no connection");
        connection->Close();
        return true;
    } catch (...) {
        m_lastCommandError = 2;
        return false;
    }
}

bool CUpdateAPI::Send(unsigned short error, const BYTE* request, std::size_t length, ProgressCallback progress,
                      void* context, const std::function<bool(const Reply&)>& handler)
{
    unsigned char* raw = nullptr;
    try {
        if (!m_protocol || !m_protocol->GetConnection() || !m_protocol->GetConnection()->IsOpen()) {
            m_lastCommandError = error;
            return false;
        }
        unsigned int rawLength = 0;
        const bool sent = m_protocol->Request(kUpdateCommand, const_cast<BYTE*>(request),
                                            static_cast<unsigned int>(length), &raw, rawLength, progress, context);
        const Reply reply(raw, raw ? raw + rawLength : raw);
        delete[] raw;
        raw = nullptr;
        if (sent && (!handler || handler(reply)))
            return true;
    } catch (...) {
        delete[] raw;
    }
    m_lastCommandError = error;
    return false;
}

bool CUpdateAPI::Command(unsigned short error, WORD command, const std::function<bool(const Reply&)>& handler)
{
    std::vector<BYTE> request;
    Put16(request, command);
    return Send(error, request.data(), request.size(), nullptr, nullptr, handler);
}

// A reply too short for the word is a failure, not a word read past its end.
bool CUpdateAPI::CommandWord(unsigned short error, WORD command, WORD& value)
{
    return Command(error, command, [&value](const Reply& reply) {
        if (reply.size() < 6)
            return false;
        value = Get16(reply, 4);
        return true;
    });
}

bool CUpdateAPI::IdentifyDevice(WORD& a, WORD& b, WORD& c, char** text)
{
    return Command(3, 1, [&](const Reply& reply) {
        if (reply.size() < 11)
            return true;
        a = Get16(reply, 4);
        b = Get16(reply, 6);
        c = Get16(reply, 8);
        if (text) {
            const std::size_t size = reply.size() - 10;
            auto copy = std::make_unique<char[]>(size + 1);
            std::memcpy(copy.get(), reply.data() + 10, size);
            delete[] *text;
            *text = copy.release();
        }
        return true;
    });
}

bool CUpdateAPI::ShutdownPrograms(WORD& value)
{
    return CommandWord(4, 2, value);
}

bool CUpdateAPI::RestartMinimalSystem(WORD& value)
{
    return CommandWord(5, 3, value);
}

bool CUpdateAPI::UploadRawHexFileToDevice(const BYTE* data, LONG length, ProgressCallback progress, void* context)
{
    try {
        const auto request = CommandRequest(kUpload, data, length);
        if (request)
            return UploadHexFileWithCommandToDevice(request->data(), length, progress, context);
    } catch (...) {
    }
    m_lastCommandError = 9;
    return false;
}

bool CUpdateAPI::UploadHexFileWithCommandToDevice(const BYTE* request, LONG dataLength, ProgressCallback progress,
                                                  void* context)
{
    if (!request || dataLength < 0 || (request[0] | (request[1] << 8)) != kUpload) {
        m_lastCommandError = 9;
        return false;
    }
    return Send(9, request, static_cast<std::size_t>(dataLength) + 2, progress, context, {});
}

bool CUpdateAPI::SaveDataToFlash()
{
    return Command(6, 6, {});
}

bool CUpdateAPI::GetSaveDataToFlashState(WORD& state, WORD& result)
{
    return Command(6, 7, [&](const Reply& reply) {
        if (reply.size() != 8)
            return false;
        state = Get16(reply, 4);
        result = Get16(reply, 6);
        return result == 0;
    });
}

bool CUpdateAPI::RestartSystem(WORD& value)
{
    return CommandWord(7, 8, value);
}

bool CUpdateAPI::FormatFileSystem(WORD& value)
{
    return CommandWord(12, 9, value);
}

bool CUpdateAPI::ExtractFiles(WORD& value)
{
    return CommandWord(13, 10, value);
}

bool CUpdateAPI::GetExtractFilesState(WORD& value1, WORD& value2)
{
    return Command(13, 11, [&](const Reply& reply) {
        if (reply.size() < 8)
            return false;
        value1 = Get16(reply, 4);
        value2 = Get16(reply, 6);
        return true;
    });
}

bool CUpdateAPI::RefreshFilesystem(WORD& value)
{
    return CommandWord(14, 12, value);
}

bool CUpdateAPI::EraseFlash(WORD& value)
{
    return CommandWord(31, 31, value);
}

bool CUpdateAPI::GetCommandState(WORD command, WORD& state)
{
    std::vector<BYTE> request;
    Put16(request, kCommandState);
    Put16(request, command);
    return Send(8, request.data(), request.size(), nullptr, nullptr, [&](const Reply& reply) {
        if (reply.size() < 8 || Get16(reply, 0) != kCommandState || Get16(reply, 2) != 0
            || Get16(reply, 4) != command)
            return false;
        state = Get16(reply, 6);
        return true;
    });
}

bool CUpdateAPI::TransmitRawDataToDevice(WORD command, const BYTE* data, LONG length)
{
    try {
        const auto request = CommandRequest(command, data, length);
        if (request)
            return Send(9, request->data(), request->size(), nullptr, nullptr, {});
    } catch (...) {
    }
    m_lastCommandError = 9;
    return false;
}

}
