#include "Common/PelorusDLL/ServiceBase.h"

#include "Common/Communication/ZellException.h"
#include "Platform/Base/LastError.h"

const wchar_t CServiceBase::SERVICE_NOT_SUPPORTED[] = L"Not supported!";
const unsigned char CServiceBase::MAXSTATES_FBC = 9;
const unsigned char CServiceBase::MAXSTATES_KBUS = 9;

CServiceBase::~CServiceBase() = default;

void CServiceBase::EnableLogging(bool on, const wchar_t* logName)
{
    m_bLogging = on;
    if (logName != nullptr)
        m_strLogName = logName;
    Log(L"CServiceBase - Logging %s!\n", on ? L"enabled" : L"disabled");
}

unsigned long CServiceBase::GetLastErrorCode()
{
    const DWORD code = m_dwLastError;
    m_dwLastError = 0;
    return code;
}

void CServiceBase::ResetLastErrorCode()
{
    m_dwLastError = 0;
    SetLastError(0);
}

void CServiceBase::SetLastErrorCode(unsigned long code)
{
    if (m_dwLastError == 0) {
        ZELL::IConnection* connection = GetConnection();
        if (connection == nullptr) {
            m_dwLastError = PELORUS_ERROR_NO_CONNECTION;
        } else {
            m_dwLastError = static_cast<DWORD>(connection->GetLastErrorCode());
            if (m_dwLastError == 0)
                m_dwLastError = static_cast<DWORD>(code);
        }
    }
    PublishLastError();
}

void CServiceBase::PublishLastError()
{
    SetLastError(m_dwLastError);
}

void CServiceBase::StoreCaughtException(const wchar_t* name, int line)
{
    DWORD code = PELORUS_ERROR_INVALID_ARGUMENT;
    try {
        throw;
    } catch (CZellException& error) {
        if (error.m_lCode != 0)
            code = static_cast<DWORD>(error.m_lCode);
    } catch (...) {
        // A malformed text from the device ends here as well.
    }
    SetLastErrorCode(code);
    Log(L"  ## CATCH - %s error code = 0x%08X (Line %d)\n", name, m_dwLastError, line);
}
