#pragma once
// The device steps that save, restart, reset and re-create the file system,
// with their polling of the device's service state. Shared by the write
// worker and the factory-defaults, reset-file-system and restart workers.
// Every poll ends after a generous time as failed, so a device that stays
// busy cannot hold a worker for ever.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

namespace Corvane {

class CWorkerContext;
class CWorkerConnection;

// How a store of the parameters ended.
enum class ENStoreOutcome {
    Stored,
    NotSupported, // the device has no store service: it keeps its parameters by itself, unconfirmed
    Refused,      // the device answered the store with a status of its own: nothing was stored
    Unknown       // the store went out, but no valid answer (or no end of it) came back
};

struct tStoreResult {
    ENStoreOutcome outcome = ENStoreOutcome::Stored;
    DWORD errorCode = 0; // the service's error when not stored
};

class CDeviceResetSteps {
public:
    // The longest a poll loop keeps asking a busy device.
    static constexpr DWORD kMaxPollMs = 10 * 60 * 1000;
    // The most state requests of one poll loop, whatever their interval.
    static constexpr int kMaxPollRequests = 2000;

    CDeviceResetSteps(CWorkerContext& context, CWorkerConnection& connection)
        : m_Context(context), m_Connection(connection)
    {
    }

    // True when stored, or when the device has no store service.
    bool SaveDeviceParameters();
    tStoreResult StoreParameters();
    bool PollServiceState(DWORD intervalMs);
    // Raises the connection's restart time-out to the article's boot delay;
    // returns the time-out it had.
    int SetRestartTimeout(const CString& article);
    void RestoreRestartTimeout(int seconds);
    // Restarts and waits for the device; a device that answers again after
    // a reported failure counts as restarted.
    bool SoftwareReset(const CString& article);
    // Restarts without waiting on TCP/IP and without a check afterwards.
    bool RestartDevice(const CString& article);
    bool ResetToFactoryDefaults(const CString& article);
    bool FormatFlashDiskWithPolling();
    bool ExtractFilesWithPolling();

private:
    bool Restart(const CString& article, bool withoutWaiting, bool checkAfterFailure);
    bool LastErrorIs(DWORD code) const;
    void ApplyRestartTimeout(int seconds);

    CWorkerContext& m_Context;
    CWorkerConnection& m_Connection;
};

}  // namespace Corvane
