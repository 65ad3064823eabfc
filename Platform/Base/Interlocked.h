#pragma once
// The interlocked operations on 32-bit LONG values (LONG is 32 bits here
// whatever `long` is). Each returns what the platform's does: the new value
// for Increment/Decrement, the old value for Exchange/CompareExchange.

#include "Platform/Base/Types.h"

inline LONG InterlockedIncrement(LONG volatile* target)
{
    return __atomic_add_fetch(target, 1, __ATOMIC_SEQ_CST);
}

inline LONG InterlockedDecrement(LONG volatile* target)
{
    return __atomic_sub_fetch(target, 1, __ATOMIC_SEQ_CST);
}

inline LONG InterlockedExchange(LONG volatile* target, LONG value)
{
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

inline LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand)
{
    __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return comparand;
}
