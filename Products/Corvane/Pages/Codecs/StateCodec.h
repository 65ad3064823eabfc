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

class CStateCodec {
public:
    static constexpr std::size_t FieldbusActive = 0;
    static constexpr std::size_t WriteAccess = 2;
    static constexpr std::size_t MonitorMode = 3;
    static constexpr std::size_t ControlMode = 4;
    static constexpr std::size_t ErrorCode = 5;
    static constexpr std::size_t ErrorArgument = 6;
    static constexpr std::size_t TestMode = 7;
    static constexpr std::size_t TerminalBusExtension = 8;
    static constexpr std::size_t MinStateCount = 8;
    static constexpr DWORD SpeedWord = 69;
    static constexpr WORD ConstantSpeedBit = 0x0010;

    // Language text of a key; a text that begins with "##" means no text.
    using Translator = std::function<std::wstring(const std::wstring& key)>;

    static bool HasEnoughStates(const std::vector<WORD>& states) { return states.size() >= MinStateCount; }
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
