#include "Platform/Base/Invariant.h"

#include <cstdio>
#include <cstdlib>

namespace Platform {

void InvariantBroken(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

}
