#include "Platform/Controls/DateRange.h"

#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/DateTimeStyles.h"

namespace ZELL::Controls {

bool CDateRange::Set(DWORD flags, const SYSTEMTIME* range)
{
    const bool low = (flags & GDTR_MIN) != 0;
    const bool high = (flags & GDTR_MAX) != 0;
    if ((low || high) && range == nullptr)
        return false;
    if ((low && !IsValidTime(range[0])) || (high && !IsValidTime(range[1])) ||
        (low && high && CompareTimes(range[0], range[1]) > 0))
        return false;
    m_min = low ? std::optional<SYSTEMTIME>(range[0]) : std::nullopt;
    m_max = high ? std::optional<SYSTEMTIME>(range[1]) : std::nullopt;
    return true;
}

DWORD CDateRange::Get(SYSTEMTIME* range) const
{
    if (range == nullptr)
        return 0;
    range[0] = m_min.value_or(SYSTEMTIME{});
    range[1] = m_max.value_or(SYSTEMTIME{});
    return (m_min ? GDTR_MIN : 0) | (m_max ? GDTR_MAX : 0);
}

bool CDateRange::Contains(const SYSTEMTIME& time) const
{
    return !(m_min && CompareTimes(time, *m_min) < 0) && !(m_max && CompareTimes(time, *m_max) > 0);
}

SYSTEMTIME CDateRange::Clamp(SYSTEMTIME time) const
{
    if (m_min && CompareTimes(time, *m_min) < 0)
        time = *m_min;
    if (m_max && CompareTimes(time, *m_max) > 0)
        time = *m_max;
    SetDayOfWeek(time);
    return time;
}

}
