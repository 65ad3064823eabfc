#pragma once
// What one kind of device worker does on its thread: its steps and the
// message that reports its end.

#include "Platform/Ui/WinUser.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"

#include <optional>

namespace Corvane {

class CWorkerConnection;
class CWorkerContext;

class CWorkerJob {
public:
    // Results of the done messages.
    static constexpr WPARAM kResultFailed = 0;
    static constexpr WPARAM kResultSucceeded = 1;
    static constexpr WPARAM kResultCanceled = 5;
    static constexpr WPARAM kResultStarted = 6;
    // Every setting was written, but the device did not answer afterwards
    // where the connection now points (its new address, after a change).
    static constexpr WPARAM kResultWrittenNotReached = 7;
    // Added to a write's result: the device has no store service, so it did
    // not confirm that it keeps the settings.
    static constexpr WPARAM kStoreUnconfirmedFlag = 0x100;

    // The result without its flags.
    static WPARAM Outcome(WPARAM result) { return result & ~kStoreUnconfirmedFlag; }
    static bool StoreUnconfirmed(WPARAM result) { return (result & kStoreUnconfirmedFlag) != 0; }

    virtual ~CWorkerJob() = default;
    // The steps; returns the result of the done message.
    virtual WPARAM Run(CWorkerContext& context) = 0;
    virtual UINT DoneMessage() const = 0;

protected:
    // The opening every job that changes the device shares: shows the job as
    // working, checks and opens the connection and has the user confirm the
    // data set. Empty when the job may go on; otherwise the job's result.
    static std::optional<WPARAM> OpenForChange(CWorkerContext& context, CWorkerConnection& connection,
                                               ENThreadAction action);
};

}  // namespace Corvane
