#pragma once
// The state page's model: which of the device's state words it shows, the
// constant terminal-bus speed bit (device-block word 69 bit 4, one bit of the
// device that the transmission page edits too: it is written into the block
// at once, the last change wins) and the blink-code text.

#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Corvane {

class CStateCodec {
public:
    static constexpr std::size_t kFieldbusActive = 0;
    static constexpr std::size_t kWriteAccess = 2;
    static constexpr std::size_t kMonitorMode = 3;
    static constexpr std::size_t kControlMode = 4;
    static constexpr std::size_t kErrorCode = 5;
    static constexpr std::size_t kErrorArgument = 6;
    static constexpr std::size_t kTestMode = 7;
    static constexpr std::size_t kTerminalBusExtension = 8;
    static constexpr std::size_t kMinStateCount = 8;
    static constexpr DWORD kSpeedWord = 69;
    static constexpr WORD kConstantSpeedBit = 0x0010;

    // Language text of a key; a text that begins with "##" means no text.
    using Translator = std::function<std::wstring(const std::wstring& key)>;

    static bool HasEnoughStates(const std::vector<WORD>& states) { return states.size() >= kMinStateCount; }
    static bool ShowsTerminalBusExtension(const std::vector<WORD>& states, bool controller);
    static bool IsOn(const std::vector<WORD>& states, std::size_t index);
    // False, and nothing changed, for a word beyond the list.
    static bool SetState(std::vector<WORD>& states, std::size_t index, bool on);
    static std::wstring InvalidStateCountMessage(std::size_t count);

    static std::optional<bool> ReadConstantSpeed(const CDeviceBlock& block);
    static bool WriteConstantSpeed(CDeviceBlock& block, bool on);

    // Control mode can be switched unless monitor mode is on, or, over a
    // serial connection, while the fieldbus is active.
    static bool CanSwitchControlMode(bool monitorOn, bool tcpipConnection, bool fieldbusActive);
    static bool CanSwitchMonitorMode(bool controlOn) { return !controlOn; }

    // The explanation of the blink code: the most specific defined text.
    static std::wstring BlinkCodeText(const Translator& translate, const std::wstring& articlePart, bool wideFormat,
                                      int code, int argument);
    // "\r\n" and "\n" both become "\r\n".
    static std::wstring NormalizeLineEnds(const std::wstring& text);
};

}  // namespace Corvane
