#include "Tests/DeviceSimulator/FrameLog.h"

namespace DevSim {

void CFrameLog::Add(tFrameRecord record)
{
    std::lock_guard lock(mutex_);
    if (records_.size() >= kMaxRecords)
        records_.pop_front();
    records_.push_back(std::move(record));
}

std::vector<tFrameRecord> CFrameLog::Records() const
{
    std::lock_guard lock(mutex_);
    return {records_.begin(), records_.end()};
}

size_t CFrameLog::Size() const
{
    std::lock_guard lock(mutex_);
    return records_.size();
}

void CFrameLog::Clear()
{
    std::lock_guard lock(mutex_);
    records_.clear();
}

} // namespace DevSim
