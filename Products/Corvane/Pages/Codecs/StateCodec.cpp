#include "Products/Corvane/Pages/Codecs/StateCodec.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace Corvane {

namespace {
bool IsDefined(const std::wstring& text)
{
    return text.rfind(L"##", 0) != 0;
}
}

bool CStateCodec::ShowsTerminalBusExtension(const std::vector<WORD>& states, bool controller)
{
    return states.size() > kTerminalBusExtension && !controller;
}

bool CStateCodec::IsOn(const std::vector<WORD>& states, std::size_t index)
{
    return index < states.size() && states[index] != 0;
}

bool CStateCodec::SetState(std::vector<WORD>& states, std::size_t index, bool on)
{
    if (index >= states.size())
        return false;
    states[index] = on ? 1 : 0;
    return true;
}

std::wstring CStateCodec::InvalidStateCountMessage(std::size_t count)
{
    return L"Invalid number of FBC states!\n" +
           FormatString(L"(count: %d, min. count: %d)", static_cast<int>(count), static_cast<int>(kMinStateCount)) +
           L"\n\nPlease update the firmware of your device.";
}

std::optional<bool> CStateCodec::ReadConstantSpeed(const CDeviceBlock& block)
{
    return block.ReadFlag(kSpeedWord, kConstantSpeedBit);
}

bool CStateCodec::WriteConstantSpeed(CDeviceBlock& block, bool on)
{
    return block.WriteFlag(kSpeedWord, kConstantSpeedBit, on);
}

bool CStateCodec::CanSwitchControlMode(bool monitorOn, bool tcpipConnection, bool fieldbusActive)
{
    return !monitorOn && (tcpipConnection || !fieldbusActive);
}

std::wstring CStateCodec::BlinkCodeText(const Translator& translate, const std::wstring& articlePart, bool wideFormat,
                                        int code, int argument)
{
    std::wstring text = translate(FormatString(L"BC_%s_%03d_%03d", articlePart.c_str(), code, argument));
    if (!IsDefined(text))
        text = translate(FormatString(wideFormat ? L"BC_32BIT_%03d_%03d" : L"BC_16BIT_%03d_%03d", code, argument));
    if (!IsDefined(text)) {
        text = translate(FormatString(L"BC_ERROR_%03d_%03d", code, argument));
        if (!IsDefined(text))
            text = translate(FormatString(L"BC_ERROR_%03d_00X", code));
        if (IsDefined(text))
            text = FormatString(text, argument);
        else
            text = FormatString(translate(L"TXT_UNKNOWN_BLINKCODE"), code, argument);
    }
    return NormalizeLineEnds(text);
}

std::wstring CStateCodec::NormalizeLineEnds(const std::wstring& text)
{
    return ReplaceAll(ReplaceAll(text, L"\r\n", L"\n"), L"\n", L"\r\n");
}

}  // namespace Corvane
