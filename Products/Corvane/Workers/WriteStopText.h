#pragma once
// What the user learns when a write stops before its end: the step it
// stopped at, why (the device's refusal with its status, or no valid
// answer), and what the device may hold now. A write never goes on after a
// failed step, so the device holds at most what came before it.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

namespace Corvane {

// How far the write had come when it stopped.
enum class ENWriteStop {
    NothingWritten, // before the first setting went out
    PartlyWritten,  // some settings went out; none were stored
    StoreUnknown,   // the store went out, but whether the device stored is not known
    NotRestarted    // everything was written and stored; the restart failed
};

struct tWriteStop {
    ENWriteStop stop = ENWriteStop::PartlyWritten;
    // Text key naming the step (the progress line's name of it).
    CString stepKey;
    // The service's error of the failed call; 0 when the step failed
    // without one (a read-back that differs, a table that does not fit).
    DWORD errorCode = 0;
};

class CWriteStopText {
public:
    // The message for a write that stopped.
    static CString Text(const tWriteStop& stop);
    // Why a step failed, from its error code.
    static CString Cause(DWORD errorCode);
    // The device answered the request with a status of its own (it refused
    // it), as against no answer, a broken one or a lost connection.
    static bool IsDeviceStatus(DWORD errorCode);
};

}  // namespace Corvane
