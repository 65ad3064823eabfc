#pragma once
// What the collection templates share: the position type of the iterating
// collections, the range check and the translation of allocation failures
// into the framework's exceptions.

#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Exceptions/MemoryException.h"

#include <new>
#include <stdexcept>
#include <utility>

// An opaque place in a list or map; null ends an iteration.
struct __POSITION {};
using POSITION = __POSITION*;

inline void ZellRequireArgument(bool valid)
{
    if (!valid)
        AfxThrowInvalidArgException();
}

// Runs an operation that allocates; running out of memory (or asking for more
// than the library can hold) raises CMemoryException.
template<typename Operation>
decltype(auto) ZellAllocating(Operation&& operation)
{
    try {
        return std::forward<Operation>(operation)();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    } catch (const std::length_error&) {
        AfxThrowMemoryException();
    }
}
