// Device blocks and server texts come from devices, settings files and the
// user: every codec loads and stores any block, short or long, without
// touching a word past its end, and the text cleaners take any text.

#include "Products/Corvane/Pages/Codecs/EthernetIPCodec.h"
#include "Products/Corvane/Pages/Codecs/ModbusCodec.h"
#include "Products/Corvane/Pages/Codecs/ModbusParamCodec.h"
#include "Products/Corvane/Pages/Codecs/NetworkIdCodec.h"
#include "Products/Corvane/Pages/Codecs/OrbisCodec.h"
#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"
#include "Products/Corvane/Pages/Codecs/SntpCodec.h"
#include "Products/Corvane/Pages/Codecs/TCPIPCodec.h"
#include "Products/Corvane/Pages/Codecs/TransmissionCodec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace Corvane;

namespace {

void RunBlockCodecs(std::vector<WORD>& words, std::uint8_t flags)
{
    const bool wide = flags & 1;
    const bool controller = flags & 2;
    const bool severalPorts = flags & 4;
    CDeviceBlock block(words.data(), static_cast<DWORD>(words.size()));

    CEthernetIPCodec ethernetIP;
    ethernetIP.Load(block);
    ethernetIP.Store(block, controller);
    CModbusCodec modbus;
    modbus.Load(block, wide);
    modbus.Store(block, wide);
    CModbusParamCodec modbusParam;
    modbusParam.Load(block);
    modbusParam.Store(block, controller);
    CNetworkIdCodec networkId;
    networkId.Load(block);
    networkId.Store(block);
    COrbisCodec orbis;
    orbis.Load(block, controller);
    orbis.Store(block, controller);
    CProtocolCodec protocol;
    protocol.Load(block, wide, severalPorts);
    protocol.Store(block, wide, severalPorts);
    CSntpCodec sntp;
    sntp.Load(block, nullptr, severalPorts);
    sntp.Store(block, nullptr, severalPorts);
    CTCPIPCodec tcpip;
    tcpip.Load(block, wide, controller);
    tcpip.Store(block, wide);
    tcpip.DipAddressText();
    CTransmissionCodec transmission;
    transmission.Load(block);
    transmission.Store(block);
}

void RunTextCleaners(const std::wstring& text)
{
    CSntpCodec::CleanHostName(text, true);
    CSntpCodec::CleanHostName(text, false);
    CSntpCodec::CleanAddressText(text, true);
    CSntpCodec::CleanAddressText(text, false);
    CSntpCodec codec;
    codec.HostNamesAllowed = text.size() % 2 == 0;
    codec.CheckServerText(text, true);
    codec.CheckServerText(text, false);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    // Words sized exactly to the input, so that the sanitizer sees any read past the block.
    std::vector<WORD> words((size - 1) / 2);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<WORD>(data[1 + 2 * i] | (data[2 + 2 * i] << 8));
    RunBlockCodecs(words, flags);

    std::wstring text;
    for (std::size_t i = 1; i < size && text.size() < 1024; ++i)
        text += static_cast<wchar_t>(data[i]);
    RunTextCleaners(text);
    return 0;
}
