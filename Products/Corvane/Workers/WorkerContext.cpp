#include "Products/Corvane/Workers/WorkerContext.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"

namespace Corvane {

CWorkerContext::CWorkerContext(const tWorkerParams& params, CWorkerWait& wait)
    : m_Params(params),
      m_Reporter(params.window, params.busy != nullptr ? *params.busy : GetWorkerBusyFlag()),
      m_Wait(wait)
{
}

bool CWorkerContext::IsTcpIp() const
{
    return m_Params.connection != nullptr && m_Params.connection->IsNetworkConnection();
}

bool CWorkerContext::IsComplete() const
{
    return m_Params.connection != nullptr && m_Params.service != nullptr && m_Params.data != nullptr &&
           m_Params.capabilities != nullptr;
}

bool CWorkerContext::Check(bool ok, const wchar_t* key) const
{
    if (!ok) {
        const CString fault = AnswerFaultText();
        Fail(fault.IsEmpty() ? GetLanguageText(key) : fault);
    }
    return ok;
}

DWORD CWorkerContext::TakeServiceError() const
{
    const DWORD code = static_cast<DWORD>(Service().GetLastErrorCode());
    if (code != 0)
        m_dwServiceError = code;
    return code;
}

CString CWorkerContext::AnswerFaultText() const
{
    TakeServiceError();
    CString text;
    if (IsMalformedAnswerCode(m_dwServiceError))
        text.Format(GetLanguageText(L"STATE_MALFORMED_ANSWER"), DeviceLocation().GetString());
    else if (m_dwServiceError == ZELL::kErrorAnswerTooLong)
        text.Format(GetLanguageText(L"STATE_ANSWER_TOO_LONG"), DeviceLocation().GetString(),
                    ZELL::kMaxServiceAnswerSize);
    return text;
}

CString CWorkerContext::DeviceLocation() const
{
    const wchar_t* address = m_Params.connection->AddressSettingName();
    if (!IsTcpIp())
        return m_Params.connection->GetSettingsValue(address).c_str();
    CString location;
    location.Format(GetLanguageText(L"TXT_ADDRESS_AND_PORT"), m_Params.connection->GetSettingsValue(address).c_str(),
                    m_Params.connection->GetSettingsValue(L"ServicePort").c_str());
    return location;
}

void CWorkerContext::Fail(const CString& text) const { m_Params.data->Description = text; }

// A device that answered malformed did answer: that is said instead.
bool CWorkerContext::CheckReachable(bool ok) const
{
    if (!ok) {
        const CString fault = AnswerFaultText();
        Fail(fault.IsEmpty() ? UnreachableText() : fault);
    }
    return ok;
}

CString CWorkerContext::UnreachableText() const
{
    CString text;
    text.Format(GetLanguageText(IsTcpIp() ? L"STATE_DEVICE_UNREACHABLE_TCPIP" : L"STATE_DEVICE_UNREACHABLE_RS232"),
                DeviceLocation().GetString());
    return text;
}

}  // namespace Corvane
