#include "Tests/DeviceSimulator/FaultRuleText.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <utility>

namespace DevSim {

namespace {

const std::pair<const char*, ENFault> kKindNames[] = {
    {"Delay", ENFault::Delay},
    {"Busy", ENFault::Busy},
    {"ErrorStatus", ENFault::ErrorStatus},
    {"ServiceStatus", ENFault::ServiceStatus},
    {"WrongServiceEcho", ENFault::WrongServiceEcho},
    {"WrongCommandEcho", ENFault::WrongCommandEcho},
    {"WrongTransaction", ENFault::WrongTransaction},
    {"WrongFragmentNumber", ENFault::WrongFragmentNumber},
    {"ZeroFragmentCount", ENFault::ZeroFragmentCount},
    {"ZeroAnswerTotal", ENFault::ZeroAnswerTotal},
    {"BadChecksum", ENFault::BadChecksum},
    {"ShortFrame", ENFault::ShortFrame},
    {"Close", ENFault::Close},
    {"Reset", ENFault::Reset},
    {"CloseAfterAnswer", ENFault::CloseAfterAnswer},
    {"ResendRequest", ENFault::ResendRequest},
    {"NoAnswer", ENFault::NoAnswer},
    {"MailboxBusy", ENFault::MailboxBusy},
    {"WrongWordCount", ENFault::WrongWordCount},
    {"MailboxOverCount", ENFault::MailboxOverCount},
    {"RegisterError", ENFault::RegisterError},
    {"AnnouncedLength", ENFault::AnnouncedLength},
    {"GarbageAnswer", ENFault::GarbageAnswer},
    {"LongAnswer", ENFault::LongAnswer},
};

bool ParseNumber(const std::string& text, long long low, long long high, long long& number)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 0);
    return errno == 0 && end && *end == '\0' && number >= low && number <= high;
}

bool ApplyKey(const std::string& key, const std::string& text, tFaultRule& rule, std::string& error)
{
    constexpr long long kWord = std::numeric_limits<uint16_t>::max();
    constexpr long long kLong = std::numeric_limits<uint32_t>::max();
    long long number = 0;
    const bool isTimes = key == "times";
    if (!ParseNumber(text, isTimes ? -1 : 0, (key == "frame" || key == "delay" || isTimes) ? kLong : kWord, number)) {
        error = "invalid value '" + text + "' for " + key;
        return false;
    }
    if (key == "service")
        rule.match.serviceCode = static_cast<uint16_t>(number);
    else if (key == "command")
        rule.match.command = static_cast<uint16_t>(number);
    else if (key == "fragment")
        rule.match.fragmentNumber = static_cast<uint16_t>(number);
    else if (key == "frame")
        rule.match.frameNumber = static_cast<uint32_t>(number);
    else if (key == "readback")
        rule.match.readBack = number != 0;
    else if (isTimes)
        rule.times = number < 0 ? -1 : static_cast<int>(std::min<long long>(number, std::numeric_limits<int>::max()));
    else if (key == "delay")
        rule.delayMs = static_cast<uint32_t>(number);
    else if (key == "status")
        rule.status = static_cast<uint16_t>(number);
    else if (key == "value")
        rule.value = static_cast<uint16_t>(number);
    else {
        error = "unknown key '" + key + "'";
        return false;
    }
    return true;
}

} // namespace

bool ParseFaultRule(const std::string& text, tFaultRule& rule, std::string& error)
{
    rule = tFaultRule{};
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    bool known = false;
    for (const auto& [name, value] : kKindNames)
        if (kind == name) {
            rule.kind = value;
            known = true;
        }
    if (!known) {
        error = "unknown fault '" + kind + "' (one of " + FaultKindNames() + ")";
        return false;
    }
    if (colon == std::string::npos)
        return true;
    size_t at = colon + 1;
    while (at <= text.size()) {
        const auto comma = std::min(text.find(',', at), text.size());
        const std::string pair = text.substr(at, comma - at);
        const auto equals = pair.find('=');
        if (equals == std::string::npos) {
            error = "expected key=value, found '" + pair + "'";
            return false;
        }
        if (!ApplyKey(pair.substr(0, equals), pair.substr(equals + 1), rule, error))
            return false;
        at = comma + 1;
    }
    return true;
}

std::string FaultKindNames()
{
    std::string names;
    for (const auto& [name, value] : kKindNames)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return names;
}

} // namespace DevSim
