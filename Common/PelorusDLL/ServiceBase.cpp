#include "Common/PelorusDLL/ServiceBase.h"

#include "Common/Communication/ISettings.h"
#include "Common/Communication/ZellException.h"
#include "Common/PelorusDLL/ParamComRegComBase.h"
#include "Common/PelorusDLL/SIORegComm.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/CodePage.h"
#include "Platform/Base/LastError.h"

#include <algorithm>
#include <cwchar>

const wchar_t CServiceBase::SERVICE_NOT_SUPPORTED[] = L"Not supported!";

bool IsMalformedAnswerCode(DWORD code)
{
    switch (code) {
    case PELORUS_ERROR_MALFORMED_ANSWER:
    case PELORUS_ERROR_INVALID_ANSWER_LENGTH:
    case CSIORegComm::kInvalidStart:
    case CSIORegComm::kInvalidLength:
    case CSIORegComm::kInvalidChecksum:
        return true;
    default:
        return false;
    }
}
const unsigned char CServiceBase::MAXSTATES_FBC = 9;
const unsigned char CServiceBase::MAXSTATES_KBUS = 9;

CServiceBase::CServiceBase() : m_paramCom(std::make_unique<CParamComRegComBase>(this)) {}

CServiceBase::~CServiceBase() = default;

void CServiceBase::EnableLogging(bool on, const wchar_t* logName)
{
    m_logging = on;
    if (logName != nullptr)
        m_logName = logName;
    Log(L"CServiceBase - Logging %s!\n", on ? L"enabled" : L"disabled");
}

unsigned long CServiceBase::GetLastErrorCode()
{
    const DWORD code = m_lastError;
    m_lastError = 0;
    return code;
}

void CServiceBase::ResetLastErrorCode()
{
    m_lastError = 0;
    SetLastError(0);
}

void CServiceBase::SetLastErrorCode(unsigned long code)
{
    if (m_lastError == 0) {
        ZELL::IConnection* connection = GetConnection();
        if (connection == nullptr) {
            m_lastError = PELORUS_ERROR_NO_CONNECTION;
        } else {
            m_lastError = static_cast<DWORD>(connection->GetLastErrorCode());
            if (m_lastError == 0)
                m_lastError = static_cast<DWORD>(code);
        }
    }
    PublishLastError();
}

void CServiceBase::PublishLastError()
{
    SetLastError(m_lastError);
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
    Log(L"  ## CATCH - %s error code = 0x%08X (Line %d)\n", name, m_lastError, line);
}

unsigned long CServiceBase::RestartTimeoutFromSettings()
{
    constexpr unsigned long kMaxRestartSeconds = 86400;
    auto* settings = dynamic_cast<ZELL::ISettings*>(GetConnection());
    if (settings == nullptr)
        return 0;
    return std::min(std::wcstoul(settings->GetSettingsValue(L"RestartTimeoutSeconds").c_str(), nullptr, 10),
                    kMaxRestartSeconds);
}

void CServiceBase::WaitForRestart(unsigned short seconds, bool force)
{
    static const wchar_t name[] = L"CServiceBase::WaitForRestart";
    Log(L" ###       - wait time from device   = %d seconds\n", static_cast<int>(seconds));
    const unsigned long fromSettings = RestartTimeoutFromSettings();
    Log(L" ###       - wait time from settings = %d seconds\n", static_cast<int>(fromSettings));
    const unsigned long wait = (force || seconds >= fromSettings) ? seconds : fromSettings;
    Log(L" ###       - wait for %d seconds\n", static_cast<int>(wait));
    Sleep(static_cast<DWORD>(wait * 1000));
    Log(L" ### LEAVE - %s (Line %d)\n", name, __LINE__);
}

std::wstring CServiceBase::AnsiToWide(const unsigned char* bytes, std::size_t count)
{
    if (bytes == nullptr || count == 0)
        return std::wstring();
    const auto* text = reinterpret_cast<LPCSTR>(bytes);
    const int length = static_cast<int>(std::min<std::size_t>(count, 0x7FFFFFFF));
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), needed);
    return wide;
}

std::string CServiceBase::WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}
