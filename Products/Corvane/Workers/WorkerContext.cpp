#include "Products/Corvane/Workers/WorkerContext.h"

#include "Common/Communication/TCPIPConnection.h"
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
    return dynamic_cast<const ZELL::CTCPIPConnection*>(m_Params.connection) != nullptr;
}

bool CWorkerContext::IsComplete() const
{
    return m_Params.connection != nullptr && m_Params.service != nullptr && m_Params.data != nullptr &&
           m_Params.capabilities != nullptr;
}

bool CWorkerContext::Check(bool ok, const wchar_t* key) const
{
    if (!ok)
        Fail(GetLanguageText(key));
    return ok;
}

void CWorkerContext::Fail(const CString& text) const { m_Params.data->Description = text; }

bool CWorkerContext::CheckReachable(bool ok) const
{
    if (!ok)
        Fail(UnreachableText());
    return ok;
}

CString CWorkerContext::UnreachableText() const
{
    const bool tcpIp = IsTcpIp();
    const std::wstring where = m_Params.connection->GetSettingsValue(tcpIp ? L"IP-Address" : L"device");
    CString text;
    text.Format(GetLanguageText(tcpIp ? L"STATE_DEVICE_UNREACHABLE_TCPIP" : L"STATE_DEVICE_UNREACHABLE_RS232"),
                where.c_str());
    return text;
}

}  // namespace Corvane
