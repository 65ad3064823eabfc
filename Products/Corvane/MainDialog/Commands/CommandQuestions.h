#pragma once
// The questions the device commands ask before they change a device, with
// text, caption and message box type.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

namespace Corvane {

struct tCommandQuestion {
    CString text;
    CString caption;
    UINT type = 0;
};

class CCommandQuestions {
public:
    static constexpr UINT kYesNo = 4;
    static constexpr UINT kYesNoWarning = 0x34;

    // `article` is the number the common page shows, `address` the
    // connection's "IP-Address"; `tcpConnection` false over a serial line.
    static tCommandQuestion FactoryDefaults(bool controller, bool tcpConnection, const CString& article,
                                            const CString& address);
    // A worker runs: the connection settings cannot change now.
    static CString WorkerRunsForSettings();
};

}  // namespace Corvane
