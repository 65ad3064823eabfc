#include "Products/Corvane/MainDialog/StatusLog.h"

#include "Platform/Base/GlobalMemory.h"
#include "Platform/Ui/Clipboard.h"

#include <cstring>

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

bool CStatusLog::CopyToClipboard(HWND owner) const
{
    const std::size_t bytes = (static_cast<std::size_t>(m_text.GetLength()) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* target = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (target == nullptr) {
        if (memory != nullptr)
            GlobalFree(memory);
        return false;
    }
    std::memcpy(target, m_text.GetString(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the block once it took it.
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!placed)
        GlobalFree(memory);
    CloseClipboard();
    return placed;
}
