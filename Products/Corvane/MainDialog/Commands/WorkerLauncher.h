#pragma once
// Starts the main dialog's device workers, one at a time, and keeps the
// running one until it has ended. Closing the dialog stops a running worker
// and waits for it, so nothing it uses goes away under it.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Workers/DeviceWorker.h"
#include "Products/Corvane/Workers/WorkerParams.h"

#include <memory>

namespace Corvane {

class CWorkerBusyFlag;
class CWorkerJob;

enum class ENWorkerKind { Read, Write, FactoryDefaults, SoftwareReset, ResetFileSystem };

class CWorkerLauncher {
public:
    CWorkerLauncher() = default;
    virtual ~CWorkerLauncher();
    CWorkerLauncher(const CWorkerLauncher&) = delete;
    CWorkerLauncher& operator=(const CWorkerLauncher&) = delete;

    // Takes the busy flag of the block and starts the worker. False when
    // another worker holds the flag or the thread cannot start; in the
    // second case the flag is free again and nothing runs.
    bool Launch(ENWorkerKind kind, const tWorkerParams& params);
    // Asks a running worker to stop and waits until it has ended.
    void StopAndWait();
    // Waits for a worker that has reported its end.
    void ReleaseEnded();
    bool IsRunning() const;

    // The key of the text the active page shows while the worker runs.
    static CString StartTextKey(ENWorkerKind kind, bool controller);
    static std::unique_ptr<CWorkerJob> MakeJob(ENWorkerKind kind);

protected:
    // Starts the worker's thread; a hook so that a start failure can be
    // brought about.
    virtual bool StartThread(CDeviceWorker& worker) { return worker.Start(); }

private:
    static CWorkerBusyFlag& BusyOf(const tWorkerParams& params);

    std::unique_ptr<CDeviceWorker> m_pWorker;
};

}  // namespace Corvane
