#pragma once
// Checks of what code relies on but its types cannot say ("the caller holds
// the lock", "the loop is not running yet"). In debug and sanitized builds a
// broken one is reported with its place and ends the process, so that the
// test reaching it fails loudly; release builds do not evaluate the condition.

namespace Platform {

[[noreturn]] void InvariantBroken(const char* what, const char* file, int line);

}

#ifdef NDEBUG
#define ZELL_INVARIANT(condition, what) static_cast<void>(sizeof(static_cast<bool>(condition)))
#else
#define ZELL_INVARIANT(condition, what) \
    ((condition) ? static_cast<void>(0) : ::Platform::InvariantBroken(what, __FILE__, __LINE__))
#endif
