#include "Platform/Framework/Exceptions/Exception.h"

#include "Platform/Base/DebugOutput.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

IMPLEMENT_DYNAMIC(CException, CObject)

namespace {

constexpr int kAnswerOk = 1;  // IDOK

int WriteToDebugOutput(LPCWSTR text, UINT)
{
    CString line(text);
    line += L"\n";
    OutputDebugStringW(line);
    return kAnswerOk;
}

std::atomic<AfxReportErrorHandler> g_pfnReportError{&WriteToDebugOutput};

}  // namespace

AfxReportErrorHandler AfxSetReportErrorHandler(AfxReportErrorHandler handler)
{
    return g_pfnReportError.exchange(handler ? handler : &WriteToDebugOutput);
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (buffer && maxLength > 0)
        buffer[0] = L'\0';
    return FALSE;
}

BOOL CException::CopyMessage(const CString& text, LPWSTR buffer, UINT maxLength, UINT* helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxLength == 0)
        return FALSE;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(text.GetLength()), maxLength - 1);
    std::wmemcpy(buffer, text.GetString(), count);
    buffer[count] = L'\0';
    return TRUE;
}

CString CException::GetErrorText() const
{
    wchar_t buffer[4096];
    if (GetErrorMessage(buffer, 4096))
        return CString(buffer);
    return CString(L"No error message is available.");
}

int CException::ReportError(UINT type, UINT)
{
    return g_pfnReportError.load()(GetErrorText(), type);
}
