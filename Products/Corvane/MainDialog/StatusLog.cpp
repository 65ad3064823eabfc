#include "Products/Corvane/MainDialog/StatusLog.h"

#include "Platform/Controls/EditClipboard.h"

void CStatusLog::Add(const CString& line, const CString& readyText)
{
    CString trimmed = line;
    trimmed.TrimLeft();
    if (trimmed == readyText)
        return;
    if (!m_text.IsEmpty())
        m_text += L"\r\n";
    m_text += line;
}

bool CStatusLog::CopyToClipboard(HWND owner) const { return ZELL::Controls::PutClipboardText(owner, m_text.str()); }
