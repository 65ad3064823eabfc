#include "Products/Corvane/Workers/WorkerConnection.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/ArticleCompare.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <string>

namespace Corvane {

namespace {

bool OpenConnection(ZELL::CConnectionBase& connection)
{
    try {
        connection.Open();
        return true;
    } catch (...) {
        return false;
    }
}

bool CloseConnection(ZELL::CConnectionBase& connection)
{
    try {
        if (connection.IsOpen())
            connection.Close();
        return true;
    } catch (...) {
        return false;
    }
}

}

CWorkerConnection::~CWorkerConnection() { CloseIfOpenedHere(); }

bool CWorkerConnection::CheckConnection(unsigned short tries, bool subStep)
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::ConnectDevice, ENThreadState::Working);
    const bool ok = m_Context.Service().CheckCommunication(tries);
    reporter.ShowResult(ENThreadAction::ConnectDevice, ok, subStep);
    return ok;
}

bool CWorkerConnection::CheckAndOpen(unsigned short tries)
{
    // A device that answered the check but cannot be opened is as
    // unreachable as one that did not answer.
    return m_Context.CheckReachable(CheckConnection(tries, true) && OpenIfClosed());
}

bool CWorkerConnection::OpenIfClosed()
{
    ZELL::CConnectionBase& connection = m_Context.Connection();
    if (connection.IsOpen())
        return true;
    if (!OpenConnection(connection))
        return false;
    m_bOpenedHere = true;
    return true;
}

bool CWorkerConnection::CloseIfOpenedHere()
{
    if (!m_bOpenedHere)
        return true;
    m_bOpenedHere = false;
    return CloseConnection(m_Context.Connection());
}

bool CWorkerConnection::Close()
{
    m_bOpenedHere = false;
    return CloseConnection(m_Context.Connection());
}

bool CWorkerConnection::ConnectAndCheckDataset()
{
    CString deviceArticle;
    CString deviceFirmware;
    if (!IdentifyConnectedDevice(deviceArticle, deviceFirmware))
        return false;
    const CFBCData& data = m_Context.Data();
    if (!IsSameArticleNumber(data.ArticleNo, deviceArticle)) {
        m_Context.Prompt().Ask(GetLanguageText(L"INADMISSIBLE_DATASET"),
                               GetLanguageText(L"DATASET_ARTNO_DONT_MATCH_CONNECTED_ARTNO"),
                               Details(deviceArticle, deviceFirmware), MB_ICONERROR);
        return false;
    }
    return ConfirmFirmware(deviceArticle, deviceFirmware);
}

bool CWorkerConnection::IdentifyConnectedDevice(CString& article, CString& firmware)
{
    // Its own opening, so that the check leaves the connection as it was
    // on every way out.
    CWorkerConnection opening(m_Context);
    if (!opening.OpenIfClosed()) {
        ShowError(L"STATE_CHECK_CONNECTION_FAILED");
        return false;
    }
    std::wstring order, description, hardware, software;
    if (!m_Context.Service().IdentifyDevice(order, description, hardware, software)) {
        ShowError(L"STATE_IDENTIFY_FAILED");
        return false;
    }
    article = order.c_str();
    firmware = software.c_str();
    return true;
}

bool CWorkerConnection::ConfirmFirmware(const CString& deviceArticle, const CString& deviceFirmware)
{
    const CString& firmware = m_Context.Data().SWVersion;
    const int order = firmware.CompareNoCase(deviceFirmware);
    if (order == 0)
        return true;
    const wchar_t* message = order < 0 ? L"DATASETVER_SMALLER_DEVICEVER" : L"DATASETVER_LARGER_DEVICEVER";
    return m_Context.Prompt().Ask(GetLanguageText(L"FIRMWARE_MISSMATCH"), GetLanguageText(message),
                                  Details(deviceArticle, deviceFirmware), MB_YESNO) == IDYES;
}

CString CWorkerConnection::Details(const CString& deviceArticle, const CString& deviceFirmware) const
{
    const CFBCData& data = m_Context.Data();
    CString details;
    details.Format(GetLanguageText(L"DETAILS_DATASET_CONNECETD"), ArticleText(data.ArticleNo).GetString(),
                   data.SWVersion.GetString(), ArticleText(deviceArticle).GetString(), deviceFirmware.GetString());
    return details;
}

void CWorkerConnection::ShowError(const wchar_t* messageKey)
{
    CString details;
    details.Format(L"%s 0x%08X", GetLanguageText(L"LBL_ERROR_CODE").GetString(),
                   static_cast<unsigned int>(m_Context.Connection().GetLastErrorCode()));
    m_Context.Prompt().Ask(GetLanguageText(L"COMMUNICATION_ERROR"), GetLanguageText(messageKey), details,
                           MB_ICONERROR);
}

}  // namespace Corvane
