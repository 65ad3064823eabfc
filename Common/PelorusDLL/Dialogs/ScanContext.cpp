#include "Common/PelorusDLL/Dialogs/ScanContext.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/ScanLock.h"
#include "Common/SystemHelper/System/AutoLock.h"

#include <chrono>

UINT CScanContext::DeviceIdentifiedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"WM_DEVICE_IDENTIFIED");
    return message;
}

void CScanContext::TakeTemplate(ZELL::CConnectionBase* connection)
{
    m_hasTemplate = connection != nullptr;
    if (connection)
        connection->GetStorageProperties(m_storageName, m_storageType);
}

void CScanContext::AddOutstanding(int count)
{
    CAutoLock lock(CScanLock::Section());
    m_outstanding += count;
}

int CScanContext::ResultArrived()
{
    CAutoLock lock(CScanLock::Section());
    if (m_outstanding > 0)
        --m_outstanding;
    return m_outstanding;
}

int CScanContext::Outstanding() const
{
    CAutoLock lock(CScanLock::Section());
    return m_outstanding;
}

void CScanContext::WorkerStarted()
{
    std::lock_guard lock(m_workersMutex);
    ++m_runningWorkers;
}

void CScanContext::WorkerEnded()
{
    std::lock_guard lock(m_workersMutex);
    --m_runningWorkers;
    m_workersEnded.notify_all();
}

bool CScanContext::WaitForWorkers(unsigned long timeoutMs)
{
    std::unique_lock lock(m_workersMutex);
    return m_workersEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_runningWorkers == 0; });
}
