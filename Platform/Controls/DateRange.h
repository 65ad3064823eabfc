#pragma once
// The optional earliest and latest time of the picker and the calendar, set
// and read as their range messages carry it: flags GDTR_MIN and GDTR_MAX
// with an array of two SYSTEMTIMEs.
#include "Platform/Base/Types.h"

#include <optional>

namespace ZELL::Controls {

class CDateRange {
public:
    // False for a missing array, an invalid time or a minimum after the maximum.
    bool Set(DWORD flags, const SYSTEMTIME* range);
    // The flags of the ends that are set; an unset end reads as zeros.
    DWORD Get(SYSTEMTIME* range) const;
    bool Contains(const SYSTEMTIME& time) const;
    // The time held to the range, with its day of the week set.
    SYSTEMTIME Clamp(SYSTEMTIME time) const;

    const std::optional<SYSTEMTIME>& Min() const { return m_min; }
    const std::optional<SYSTEMTIME>& Max() const { return m_max; }

private:
    std::optional<SYSTEMTIME> m_min;
    std::optional<SYSTEMTIME> m_max;
};

}
