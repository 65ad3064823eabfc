// Feeds arbitrary answer frames to the service protocol and the device APIs
// on top of it. Each answer is a chunk of the input; a flag byte in front of
// it decides whether its echo fields are patched to match the request, so
// that the fuzzer also gets past the echo checks into the flag, resend and
// long-answer handling.

#include "Common/Communication/IdentificationAPI.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/Tests/ServiceProtocolFakeDevice.h"
#include "Common/Communication/UpdateAPI.h"

#include <cstddef>
#include <cstdint>

using namespace ZELL;
using namespace ZELL::Testing;

namespace {

class Chunks {
public:
    Chunks(const uint8_t* data, size_t size) : m_bytes(data), m_left(size) {}

    std::vector<Bytes> Next(const Bytes& request)
    {
        if (m_left < 2)
            return {};
        const uint8_t control = Take();
        const size_t length = std::min<size_t>(Take(), m_left);
        Bytes chunk(m_bytes, m_bytes + length);
        m_bytes += length;
        m_left -= length;
        if ((control & 1) && chunk.size() >= 8 && request.size() >= 8)
            std::copy(request.begin(), request.begin() + 8, chunk.begin());
        if ((control & 2) && chunk.size() >= 18)
            PutWord(chunk, 16, static_cast<unsigned short>(chunk.size() - 18));
        return {chunk};
    }

private:
    uint8_t Take()
    {
        --m_left;
        return *m_bytes++;
    }

    const uint8_t* m_bytes;
    size_t m_left;
};

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    Chunks chunks(data + 1, size - 1);
    CFakeDeviceConnection connection([&chunks](const Bytes& request) { return chunks.Next(request); });
    connection.m_maxReads = 2000;
    CServiceProtocol protocol(&connection);
    std::wstring settings = L"<ServiceProtocol MaxFragmentDataSize='" + std::to_wstring(8 + (mode & 0x30)) + L"'";
    if (mode & 1)
        settings += L" ChecksumLength='2'";
    if (mode & 2)
        settings += L" Exclusive-ID='305419896'";
    settings += L" MaxRetries='" + std::to_wstring((mode >> 6) & 3) + L"' />";
    protocol.SetSettingsXML(settings);

    switch ((mode >> 2) & 3) {
    case 0: {
        CServiceAPI api(&protocol);
        t_Table_Details* tables = nullptr;
        WORD count = 0;
        api.GetTableInfo(count, &tables);
        delete[] tables;
        char* text = nullptr;
        api.IdentifyDevice(&text);
        delete[] text;
        WORD words[8] = {};
        api.ReadRegister(0, 0, 0, 8, words);
        BYTE* bytes = nullptr;
        WORD length = 0;
        api.GetNetworkParameter(0, 1, 0, length, &bytes);
        delete[] bytes;
        break;
    }
    case 1: {
        CIdentificationAPI api(&protocol);
        char* text = nullptr;
        api.GetOrderNumber(&text);
        delete[] text;
        wchar_t* versions[3] = {};
        api.GetRevisionAndVersion(&versions[0], &versions[1], &versions[2]);
        for (wchar_t* version : versions)
            delete[] version;
        ULONG ident = 0;
        BYTE state = 0;
        api.SetExclusiveMode(0, 1, &ident, &state, nullptr, nullptr);
        break;
    }
    case 2: {
        CUpdateAPI api(&protocol);
        WORD a = 0, b = 0, c = 0;
        char* text = nullptr;
        api.IdentifyDevice(a, b, c, &text);
        delete[] text;
        const BYTE image[40] = {};
        api.UploadRawHexFileToDevice(image, sizeof image, nullptr, nullptr);
        api.GetSaveDataToFlashState(a, b);
        break;
    }
    default: {
        Bytes request(static_cast<size_t>(mode), 0x5A);
        unsigned char* answer = nullptr;
        unsigned int answerLength = 0;
        protocol.Request(request.data(), static_cast<unsigned int>(request.size()), &answer, answerLength, nullptr,
                         nullptr);
        delete[] answer;
        break;
    }
    }
    return 0;
}
