#include "Tests/DeviceSimulator/FaultPlan.h"

namespace DevSim {

void CFaultPlan::Add(const tFaultRule& rule)
{
    std::lock_guard lock(mutex_);
    rules_.push_back(rule);
}

void CFaultPlan::AddForService(ENFault kind, uint16_t serviceCode, int times)
{
    tFaultRule rule;
    rule.kind = kind;
    rule.match.serviceCode = serviceCode;
    rule.times = times;
    Add(rule);
}

void CFaultPlan::Clear()
{
    std::lock_guard lock(mutex_);
    rules_.clear();
}

uint32_t CFaultPlan::NextFrameNumber()
{
    std::lock_guard lock(mutex_);
    return ++frameCounter_;
}

bool CFaultPlan::AnswerLevel(ENFault kind)
{
    return kind == ENFault::ServiceStatus || kind == ENFault::WrongServiceEcho || kind == ENFault::ZeroAnswerTotal ||
           kind == ENFault::LongAnswer;
}

bool CFaultPlan::Matches(const tFaultMatch& match, const tFrameFacts& facts)
{
    if (match.frameNumber && *match.frameNumber != facts.frameNumber)
        return false;
    if (match.command && *match.command != facts.command)
        return false;
    if (match.serviceCode && *match.serviceCode != facts.serviceCode)
        return false;
    if (match.fragmentNumber && *match.fragmentNumber != facts.fragmentNumber)
        return false;
    if (match.readBack && *match.readBack != facts.readBack)
        return false;
    return true;
}

std::optional<tFaultRule> CFaultPlan::Take(const tFrameFacts& facts)
{
    std::lock_guard lock(mutex_);
    for (auto& rule : rules_) {
        if (rule.times == 0 || !Matches(rule.match, facts) || (AnswerLevel(rule.kind) && !facts.completesRequest))
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.times > 0)
            --rule.times;
        ++fired_;
        return rule;
    }
    return std::nullopt;
}

unsigned CFaultPlan::FiredCount() const
{
    std::lock_guard lock(mutex_);
    return fired_;
}

} // namespace DevSim
