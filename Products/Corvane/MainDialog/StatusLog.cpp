#include "Products/Corvane/MainDialog/StatusLog.h"

#include "Platform/Controls/EditClipboard.h"

namespace Corvane {

void CStatusLog::Add(const CString& line, const CString& readyText)
{
    CString trimmed = line;
    trimmed.TrimLeft();
    if (trimmed == readyText)
        return;
    if (!m_strText.IsEmpty())
        m_strText += L"\r\n";
    m_strText += line;
}

bool CStatusLog::CopyToClipboard(HWND owner) const { return ZELL::Controls::PutClipboardText(owner, m_strText.str()); }

}  // namespace Corvane
