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
        TextMaker fault = AnswerFault();
        Fail(fault ? fault : [key = CString(key)] { return GetLanguageText(key); });
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

CWorkerContext::TextMaker CWorkerContext::AnswerFault() const
{
    TakeServiceError();
    const DWORD code = m_dwServiceError;
    if (!IsMalformedAnswerCode(code) && code != ZELL::kErrorAnswerTooLong)
        return nullptr;
    return [code, where = Location()] {
        CString text;
        if (IsMalformedAnswerCode(code))
            text.Format(GetLanguageText(L"STATE_MALFORMED_ANSWER"), where().GetString());
        else
            text.Format(GetLanguageText(L"STATE_ANSWER_TOO_LONG"), where().GetString(), ZELL::kMaxServiceAnswerSize);
        return text;
    };
}

// The values are taken now, on the worker; the words when the text is made.
CWorkerContext::TextMaker CWorkerContext::Location() const
{
    const CString address = m_Params.connection->GetSettingsValue(m_Params.connection->AddressSettingName()).c_str();
    if (!IsTcpIp())
        return [address] { return address; };
    const CString port = m_Params.connection->GetSettingsValue(L"ServicePort").c_str();
    return [address, port] {
        CString location;
        location.Format(GetLanguageText(L"TXT_ADDRESS_AND_PORT"), address.GetString(), port.GetString());
        return location;
    };
}

void CWorkerContext::Fail(TextMaker render) const
{
    m_Params.data->Description = render();
    m_Params.data->DescriptionInLanguage = std::move(render);
}

// A device that answered malformed did answer: that is said instead.
bool CWorkerContext::CheckReachable(bool ok) const
{
    if (!ok) {
        TextMaker fault = AnswerFault();
        Fail(fault ? fault : Unreachable());
    }
    return ok;
}

CWorkerContext::TextMaker CWorkerContext::Unreachable() const
{
    const wchar_t* key = IsTcpIp() ? L"STATE_DEVICE_UNREACHABLE_TCPIP" : L"STATE_DEVICE_UNREACHABLE_RS232";
    return [key, where = Location()] {
        CString text;
        text.Format(GetLanguageText(key), where().GetString());
        return text;
    };
}

}  // namespace Corvane
