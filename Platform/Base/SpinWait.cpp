#include "Platform/Base/SpinWait.h"

#include <sched.h>

namespace Platform {

int CurrentProcessor()
{
    return sched_getcpu();
}

bool IsOtherProcessor(int processor)
{
    return processor >= 0 && processor != CurrentProcessor();
}

void RelaxProcessor()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

}
