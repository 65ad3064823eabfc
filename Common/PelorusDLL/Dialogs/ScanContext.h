#pragma once
// What one network scan shares between its dialog and its workers: the
// cancel flag, the count of results still to come, and what the workers
// need of the dialog's thread (texts, profile values, the template
// connection's storage), copied there before any worker starts. Dialog and
// workers each hold it, so it outlives whichever of them ends last.

#include "Common/Communication/ISettings.h"
#include "Common/PelorusDLL/Dialogs/ScanProbe.h"
#include "Platform/Ui/WinUser.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace ZELL {
class CConnectionBase;
}

struct tScanTexts {
    std::wstring noZellDevice;
    std::wstring noMacId;
    std::wstring notSupported;
    std::wstring identifyFailed;
    std::wstring deviceNotFound = L"Device not found!";
};

class CScanContext {
public:
    CScanContext() = default;
    CScanContext(const CScanContext&) = delete;
    CScanContext& operator=(const CScanContext&) = delete;
    virtual ~CScanContext() = default;

    // The registered message that carries a result (wParam found, lParam the
    // record); the handler answers kRecordTaken when the record is its own now.
    static UINT DeviceIdentifiedMessage();
    static constexpr LRESULT kRecordTaken = 0x5CA7;

    // Copies the storage of the connection whose settings the workers' own
    // connections start from (none: they start from the defaults).
    void TakeTemplate(ZELL::CConnectionBase* connection);
    bool HasTemplate() const { return m_hasTemplate; }
    const std::wstring& StorageName() const { return m_storageName; }
    ZELL::ISettings::ENStorageType StorageType() const { return m_storageType; }

    void Cancel() { m_cancel = true; }
    bool IsCancelled() const { return m_cancel; }

    // Results still to come. Changed under the scan lock; the count can only
    // go down to 0.
    void AddOutstanding(int count);
    // Lowers the count when it is above 0; the new count.
    int ResultArrived();
    int Outstanding() const;

    // Worker threads that have not finished yet (also those whose result is in).
    void WorkerStarted();
    void WorkerEnded();
    // Waits until every worker thread of the scan has ended; false on time-out.
    bool WaitForWorkers(unsigned long timeoutMs);

    tScanTexts m_texts;
    bool m_pingEnabled = true;
    unsigned long m_pingTimeoutMs = 5000;
    unsigned short m_servicePort = 6626;
    std::shared_ptr<CScanProbe> m_probe = std::make_shared<CScanProbe>();

private:
    std::atomic<bool> m_cancel{false};
    int m_outstanding = 0;
    bool m_hasTemplate = false;
    std::wstring m_storageName;
    ZELL::ISettings::ENStorageType m_storageType = ZELL::ISettings::Registry;

    std::mutex m_workersMutex;
    std::condition_variable m_workersEnded;
    int m_runningWorkers = 0;
};
